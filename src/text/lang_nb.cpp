// Norwegian Bokmål; also for Nynorsk (nn) and plain Norwegian (no): the interface's words in the
// order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

const char Texts[] =
    // The tray menu
    "&Ekstra linje…\0"
    "&Plassering av ekstra linje\0"
    "&Innledende null\0"
    "&Tekstfarger\0"
    "&Skrift\0"
    "Start med &Windows\0"
    "&Oppdater\0"
    "O&m Kivet…\0"
    "&Avslutt\0"
    // Additional line position
    "&Over\0"
    "&Under\0"
    "S&kjult\0"
    // Leading zero
    "&På\0"
    "A&v\0"
    // Text colours
    "&Svart tekst / hvit kant\0"
    "&Hvit tekst / svart kant\0"
    "Som &oppgavelinjen\0"
    "&Egendefinert tekstfarge…\0"
    "&Bakgrunnsfarge…\0"
    "&Ingen bakgrunn\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Annen…\0"
    // Start with Windows
    "&Ja\0"
    "&Nei\0"
    // The input window: title, prompt, buttons
    "Ekstra linje i Kivet\0"
    "Tekst for den ekstra linjen:\0"
    "OK\0"
    "Avbryt\0"
    // The About box, the start-up entry's error
    "Om Kivet\0"
    "En liten indikator for gjeldende ISO-uke i systemstatusfeltet i Windows.\0"
    "Kivet kunne ikke oppdatere oppstartsinnstillingen i Windows.\0"
    // The calendar flyout: window, footer, accessible names
    "Kivet-kalender\0"
    "Uke %d: %ls – %ls\0"
    "Gå til uke %d\0"
    "Forrige måned\0"
    "Neste måned\0"
    "%ls, uke %d\0"
    "I dag\0";

} // namespace

extern const LanguageTable NorwegianBokmal = {"nb", Texts, sizeof(Texts)};
