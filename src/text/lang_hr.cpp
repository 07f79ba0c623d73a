// Croatian: the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

constexpr char Source[] =
    // The tray menu
    "&Dodatni redak…\0"
    "&Položaj dodatnog retka\0"
    "&Vodeća nula\0"
    "&Boje teksta\0"
    "&Font\0"
    "Pok&reni sa sustavom Windows\0"
    "O&svježi\0"
    "&O programu Kivet…\0"
    "&Izlaz\0"
    // Additional line position
    "&Iznad\0"
    "Isp&od\0"
    "&Skriveno\0"
    // Leading zero
    "&Uključeno\0"
    "&Isključeno\0"
    // Text colours
    "&Crni tekst / bijeli obrub\0"
    "&Bijeli tekst / crni obrub\0"
    "&Kao programska traka\0"
    "&Prilagođena boja teksta…\0"
    "B&oja pozadine…\0"
    "B&ez pozadine\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Drugi…\0"
    // Start with Windows
    "&Da\0"
    "&Ne\0"
    // The input window: title, prompt, buttons
    "Kivet – dodatni redak\0"
    "Tekst dodatnog retka:\0"
    "U redu\0"
    "Odustani\0"
    // The About box, the start-up entry's error
    "O programu Kivet\0"
    "Mali pokazatelj trenutačnog ISO tjedna u području obavijesti sustava Windows.\0"
    "Kivet nije mogao ažurirati postavku pokretanja sustava Windows.\0"
    // The calendar flyout: window, footer, accessible names
    "Kalendar Kivet\0"
    "%d. tjedan: %ls – %ls\0"
    "Idi na %d. tjedan\0"
    "Prethodni mjesec\0"
    "Sljedeći mjesec\0"
    "%ls, %d. tjedan\0"
    "Danas\0";

constexpr char32_t Block = BestBlock(Source, sizeof(Source) - 1);
constexpr size_t PackedSize = PackTextsInto(Source, sizeof(Source) - 1, Block, nullptr);
constexpr PackedTexts<PackedSize> Packed = PackTexts<PackedSize>(Source, sizeof(Source) - 1, Block);

} // namespace

extern const LanguageTable Croatian = {"hr", Packed.bytes, PackedSize, Block};
