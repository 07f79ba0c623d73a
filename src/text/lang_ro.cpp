// Romanian: the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

constexpr char Source[] =
    // The tray menu
    "&Linie suplimentară…\0"
    "&Poziția liniei suplimentare\0"
    "&Zero inițial\0"
    "&Culorile textului\0"
    "&Font\0"
    "Pornire odată cu &Windows\0"
    "&Reîmprospătare\0"
    "&Despre Kivet…\0"
    "&Ieșire\0"
    // Additional line position
    "&Deasupra\0"
    "D&edesubt\0"
    "&Ascunsă\0"
    // Leading zero
    "&Activat\0"
    "&Dezactivat\0"
    // Text colours
    "&Text negru / contur alb\0"
    "Text &alb / contur negru\0"
    "&Ca bara de activități\0"
    "Cu&loare text particularizată…\0"
    "C&uloare de fundal…\0"
    "&Fără fundal\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Altul…\0"
    // Start with Windows
    "&Da\0"
    "&Nu\0"
    // The input window: title, prompt, buttons
    "Linie suplimentară Kivet\0"
    "Textul liniei suplimentare:\0"
    "OK\0"
    "Anulare\0"
    // The About box, the start-up entry's error
    "Despre Kivet\0"
    "Un mic indicator al săptămânii ISO curente în zona de notificare Windows.\0"
    "Kivet nu a putut actualiza setarea de pornire Windows.\0"
    // The calendar flyout: window, footer, accessible names
    "Calendar Kivet\0"
    "Săptămâna %d: %ls – %ls\0"
    "Salt la săptămâna %d\0"
    "Luna anterioară\0"
    "Luna următoare\0"
    "%ls, săptămâna %d\0"
    "Astăzi\0";

constexpr char32_t Block = BestBlock(Source, sizeof(Source) - 1);
constexpr size_t PackedSize = PackTextsInto(Source, sizeof(Source) - 1, Block, nullptr);
constexpr PackedTexts<PackedSize> Packed = PackTexts<PackedSize>(Source, sizeof(Source) - 1, Block);

} // namespace

extern const LanguageTable Romanian = {"ro", Packed.bytes, PackedSize, Block};
