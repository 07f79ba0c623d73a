// Slovak: the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

constexpr char Source[] =
    // The tray menu
    "&Doplnkový riadok…\0"
    "&Umiestnenie doplnkového riadka\0"
    "&Úvodná nula\0"
    "&Farby textu\0"
    "&Písmo\0"
    "&Spúšťať so systémom Windows\0"
    "&Obnoviť\0"
    "O &aplikácii Kivet…\0"
    "&Koniec\0"
    // Additional line position
    "&Nad\0"
    "&Pod\0"
    "&Skrytý\0"
    // Leading zero
    "&Zapnuté\0"
    "&Vypnuté\0"
    // Text colours
    "&Čierny text / biely okraj\0"
    "&Biely text / čierny okraj\0"
    "&Podľa panela úloh\0"
    "&Vlastná farba textu…\0"
    "&Farba pozadia…\0"
    "&Žiadne pozadie\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Iné…\0"
    // Start with Windows
    "&Áno\0"
    "&Nie\0"
    // The input window: title, prompt, buttons
    "Doplnkový riadok Kivet\0"
    "Text doplnkového riadka:\0"
    "OK\0"
    "Zrušiť\0"
    // The About box, the start-up entry's error
    "O aplikácii Kivet\0"
    "Malý ukazovateľ aktuálneho týždňa ISO v oblasti oznámení systému Windows.\0"
    "Kivet nemohol aktualizovať nastavenie spúšťania systému Windows.\0"
    // The calendar flyout: window, footer, accessible names
    "Kalendár Kivet\0"
    "%d. týždeň: %ls – %ls\0"
    "Prejsť na %d. týždeň\0"
    "Predchádzajúci mesiac\0"
    "Nasledujúci mesiac\0"
    "%ls, %d. týždeň\0"
    "Dnes\0";

constexpr char32_t Block = BestBlock(Source, sizeof(Source) - 1);
constexpr size_t PackedSize = PackTextsInto(Source, sizeof(Source) - 1, Block, nullptr);
constexpr PackedTexts<PackedSize> Packed = PackTexts<PackedSize>(Source, sizeof(Source) - 1, Block);

} // namespace

extern const LanguageTable Slovak = {"sk", Packed.bytes, PackedSize, Block};
