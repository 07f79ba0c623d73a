// Hungarian: the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

const char Texts[] =
    // The tray menu
    "&További sor…\0"
    "További sor &helye\0"
    "&Vezető nulla\0"
    "&Szövegszínek\0"
    "&Betűtípus\0"
    "&Indítás a Windows rendszerrel\0"
    "&Frissítés\0"
    "A Kivet &névjegye…\0"
    "&Kilépés\0"
    // Additional line position
    "&Felül\0"
    "&Alul\0"
    "&Rejtett\0"
    // Leading zero
    "&Be\0"
    "&Ki\0"
    // Text colours
    "&Fekete szöveg / fehér szegély\0"
    "F&ehér szöveg / fekete szegély\0"
    "&A tálcához igazítva\0"
    "&Saját szövegszín…\0"
    "&Háttérszín…\0"
    "&Nincs háttér\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Egyéb…\0"
    // Start with Windows
    "&Igen\0"
    "&Nem\0"
    // The input window: title, prompt, buttons
    "Kivet – további sor\0"
    "A további sor szövege:\0"
    "OK\0"
    "Mégse\0"
    // The About box, the start-up entry's error
    "A Kivet névjegye\0"
    "Apró jelző a Windows értesítési területén, amely az aktuális ISO-hetet mutatja.\0"
    "A Kivet nem tudta frissíteni a Windows indítási beállítását.\0"
    // The calendar flyout: window, footer, accessible names
    "Kivet-naptár\0"
    "%d. hét: %ls – %ls\0"
    "Ugrás a(z) %d. hétre\0"
    "Előző hónap\0"
    "Következő hónap\0"
    "%ls, %d. hét\0"
    "Ma\0";

} // namespace

extern const LanguageTable Hungarian = {"hu", Texts, sizeof(Texts)};
