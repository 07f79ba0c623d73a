// Danish: the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

const char Texts[] =
    // The tray menu
    "&Ekstra linje…\0"
    "&Placering af ekstra linje\0"
    "&Foranstillet nul\0"
    "&Tekstfarver\0"
    "&Skrifttype\0"
    "Start med &Windows\0"
    "&Opdater\0"
    "O&m Kivet…\0"
    "&Afslut\0"
    // Additional line position
    "&Over\0"
    "&Under\0"
    "S&kjult\0"
    // Leading zero
    "&Til\0"
    "&Fra\0"
    // Text colours
    "&Sort tekst / hvid kant\0"
    "&Hvid tekst / sort kant\0"
    "Som &proceslinjen\0"
    "&Egen tekstfarve…\0"
    "&Baggrundsfarve…\0"
    "&Ingen baggrund\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Anden…\0"
    // Start with Windows
    "&Ja\0"
    "&Nej\0"
    // The input window: title, prompt, buttons
    "Ekstra linje i Kivet\0"
    "Tekst til den ekstra linje:\0"
    "OK\0"
    "Annuller\0"
    // The About box, the start-up entry's error
    "Om Kivet\0"
    "En lille indikator for den aktuelle ISO-uge i meddelelsesområdet i Windows.\0"
    "Kivet kunne ikke opdatere startindstillingen i Windows.\0"
    // The calendar flyout: window, footer, accessible names
    "Kivet-kalender\0"
    "Uge %d: %ls – %ls\0"
    "Gå til uge %d\0"
    "Forrige måned\0"
    "Næste måned\0"
    "%ls, uge %d\0"
    "I dag\0";

} // namespace

extern const LanguageTable Danish = {"da", Texts, sizeof(Texts)};
