// Catalan: the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

constexpr char Source[] =
    // The tray menu
    "&Línia addicional…\0"
    "&Posició de la línia addicional\0"
    "&Zero a l'esquerra\0"
    "&Colors del text\0"
    "&Tipus de lletra\0"
    "&Inicia amb el Windows\0"
    "&Actualitza\0"
    "&Quant al Kivet…\0"
    "&Surt\0"
    // Additional line position
    "&Damunt\0"
    "&Sota\0"
    "&Amagada\0"
    // Leading zero
    "&Activat\0"
    "&Desactivat\0"
    // Text colours
    "&Text negre / vora blanca\0"
    "Text &blanc / vora negra\0"
    "&Com la barra de tasques\0"
    "C&olor de text personalitzat…\0"
    "Color de &fons…\0"
    "&Sense fons\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Altres…\0"
    // Start with Windows
    "&Sí\0"
    "&No\0"
    // The input window: title, prompt, buttons
    "Línia addicional del Kivet\0"
    "Text de la línia addicional:\0"
    "D'acord\0"
    "Cancel·la\0"
    // The About box, the start-up entry's error
    "Quant al Kivet\0"
    "Un petit indicador de la setmana ISO actual a l'àrea de notificació del Windows.\0"
    "El Kivet no ha pogut actualitzar la configuració d'inici del Windows.\0"
    // The calendar flyout: window, footer, accessible names
    "Calendari del Kivet\0"
    "Setmana %d: %ls – %ls\0"
    "Vés a la setmana %d\0"
    "Mes anterior\0"
    "Mes següent\0"
    "%ls, setmana %d\0"
    "Avui\0";

constexpr char32_t Block = BestBlock(Source, sizeof(Source) - 1);
constexpr size_t PackedSize = PackTextsInto(Source, sizeof(Source) - 1, Block, nullptr);
constexpr PackedTexts<PackedSize> Packed = PackTexts<PackedSize>(Source, sizeof(Source) - 1, Block);

} // namespace

extern const LanguageTable Catalan = {"ca", Packed.bytes, PackedSize, Block};
