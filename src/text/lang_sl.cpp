// Slovenian: the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

const char Texts[] =
    // The tray menu
    "&Dodatna vrstica…\0"
    "&Položaj dodatne vrstice\0"
    "&Vodilna ničla\0"
    "&Barve besedila\0"
    "P&isava\0"
    "&Zaženi ob zagonu sistema Windows\0"
    "&Osveži\0"
    "O p&rogramu Kivet…\0"
    "Iz&hod\0"
    // Additional line position
    "Z&goraj\0"
    "&Spodaj\0"
    "S&krita\0"
    // Leading zero
    "V&klopljeno\0"
    "I&zklopljeno\0"
    // Text colours
    "Č&rno besedilo / bela obroba\0"
    "&Belo besedilo / črna obroba\0"
    "&Kot opravilna vrstica\0"
    "Barva besedila po &meri…\0"
    "Barva &ozadja…\0"
    "Bre&z ozadja\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Druga…\0"
    // Start with Windows
    "&Da\0"
    "&Ne\0"
    // The input window: title, prompt, buttons
    "Dodatna vrstica Kivet\0"
    "Besedilo dodatne vrstice:\0"
    "V redu\0"
    "Prekliči\0"
    // The About box, the start-up entry's error
    "O programu Kivet\0"
    "Majhen kazalnik trenutnega tedna ISO v območju za obvestila sistema Windows.\0"
    "Kivet ni mogel posodobiti nastavitve zagona sistema Windows.\0"
    // The calendar flyout: window, footer, accessible names
    "Koledar Kivet\0"
    "Teden %d: %ls – %ls\0"
    "Pojdi na teden %d\0"
    "Prejšnji mesec\0"
    "Naslednji mesec\0"
    "%ls, teden %d\0"
    "Danes\0";

} // namespace

extern const LanguageTable Slovenian = {"sl", Texts, sizeof(Texts)};
