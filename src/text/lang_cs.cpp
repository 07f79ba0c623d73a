// Czech: the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

const char Texts[] =
    // The tray menu
    "&Další řádek…\0"
    "&Umístění dalšího řádku\0"
    "Úvodní &nula\0"
    "&Barvy textu\0"
    "&Písmo\0"
    "&Spouštět se systémem Windows\0"
    "&Aktualizovat\0"
    "&O aplikaci Kivet…\0"
    "&Konec\0"
    // Additional line position
    "&Nad\0"
    "&Pod\0"
    "&Skrytý\0"
    // Leading zero
    "&Zapnuto\0"
    "&Vypnuto\0"
    // Text colours
    "Č&erný text / bílý okraj\0"
    "&Bílý text / černý okraj\0"
    "&Podle hlavního panelu\0"
    "&Vlastní barva textu…\0"
    "B&arva pozadí…\0"
    "Be&z pozadí\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Jiné…\0"
    // Start with Windows
    "&Ano\0"
    "&Ne\0"
    // The input window: title, prompt, buttons
    "Další řádek Kivet\0"
    "Text dalšího řádku:\0"
    "OK\0"
    "Zrušit\0"
    // The About box, the start-up entry's error
    "O aplikaci Kivet\0"
    "Malý ukazatel aktuálního týdne ISO v oznamovací oblasti systému Windows.\0"
    "Kivet nemohl aktualizovat nastavení spouštění systému Windows.\0"
    // The calendar flyout: window, footer, accessible names
    "Kalendář Kivet\0"
    "Týden %d: %ls – %ls\0"
    "Přejít na týden %d\0"
    "Předchozí měsíc\0"
    "Další měsíc\0"
    "%ls, týden %d\0"
    "Dnes\0";

} // namespace

extern const LanguageTable Czech = {"cs", Texts, sizeof(Texts)};
