// Swedish (sv-SE, sv-FI): the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

const char Texts[] =
    // The tray menu
    "&Extra rad…\0"
    "&Placering av extra rad\0"
    "&Inledande nolla\0"
    "&Textfärger\0"
    "Tec&kensnitt\0"
    "&Starta med Windows\0"
    "&Uppdatera\0"
    "&Om Kivet…\0"
    "&Avsluta\0"
    // Additional line position
    "&Ovanför\0"
    "&Nedanför\0"
    "&Dold\0"
    // Leading zero
    "&På\0"
    "A&v\0"
    // Text colours
    "&Svart text / vit kant\0"
    "&Vit text / svart kant\0"
    "Som &aktivitetsfältet\0"
    "A&npassad textfärg…\0"
    "&Bakgrundsfärg…\0"
    "&Ingen bakgrund\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Annat…\0"
    // Start with Windows
    "&Ja\0"
    "&Nej\0"
    // The input window: title, prompt, buttons
    "Extra rad i Kivet\0"
    "Text för den extra raden:\0"
    "OK\0"
    "Avbryt\0"
    // The About box, the start-up entry's error
    "Om Kivet\0"
    "En liten indikator för aktuell ISO-vecka i meddelandefältet i Windows.\0"
    "Kivet kunde inte uppdatera startinställningen i Windows.\0"
    // The calendar flyout: window, footer, accessible names
    "Kivet-kalender\0"
    "Vecka %d: %ls – %ls\0"
    "Gå till vecka %d\0"
    "Föregående månad\0"
    "Nästa månad\0"
    "%ls, vecka %d\0"
    "I dag\0";

} // namespace

extern const LanguageTable Swedish = {"sv", Texts, sizeof(Texts)};
