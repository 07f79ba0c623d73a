// Slovak: the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

const char Texts[] =
    // The tray menu
    "Ď&alší riadok…\0"
    "&Umiestnenie ďalšieho riadka\0"
    "Úvodná &nula\0"
    "&Farby textu\0"
    "&Písmo\0"
    "&Spúšťať so systémom Windows\0"
    "&Obnoviť\0"
    "O apl&ikácii Kivet…\0"
    "&Koniec\0"
    // Additional line position
    "&Nad\0"
    "&Pod\0"
    "&Skrytý\0"
    // Leading zero
    "&Zapnuté\0"
    "&Vypnuté\0"
    // Text colours
    "Č&ierny text / biely okraj\0"
    "&Biely text / čierny okraj\0"
    "P&odľa panela úloh\0"
    "&Vlastná farba textu…\0"
    "&Farba pozadia…\0"
    "Bez po&zadia\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Iné…\0"
    // Start with Windows
    "Á&no\0"
    "N&ie\0"
    // The input window: title, prompt, buttons
    "Ďalší riadok Kivet\0"
    "Text ďalšieho riadka:\0"
    "OK\0"
    "Zrušiť\0"
    // The About box, the start-up entry's error
    "O aplikácii Kivet\0"
    "Malý ukazovateľ aktuálneho týždňa ISO v oblasti oznámení systému Windows.\0"
    "Kivet nemohol aktualizovať nastavenie spúšťania systému Windows.\0"
    // The calendar flyout: window, footer, accessible names
    "Kalendár Kivet\0"
    "Týždeň %d: %ls – %ls\0"
    "Prejsť na týždeň %d\0"
    "Predchádzajúci mesiac\0"
    "Nasledujúci mesiac\0"
    "%ls, týždeň %d\0"
    "Dnes\0";

} // namespace

extern const LanguageTable Slovak = {"sk", Texts, sizeof(Texts)};
