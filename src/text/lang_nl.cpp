// Dutch (nl-NL, nl-BE): the interface's words in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

const char Texts[] =
    // The tray menu
    "&Extra regel…\0"
    "&Positie van extra regel\0"
    "Voorloop&nul\0"
    "&Tekstkleuren\0"
    "&Lettertype\0"
    "&Starten met Windows\0"
    "&Vernieuwen\0"
    "&Over Kivet…\0"
    "&Afsluiten\0"
    // Additional line position
    "&Boven\0"
    "&Onder\0"
    "&Verborgen\0"
    // Leading zero
    "&Aan\0"
    "&Uit\0"
    // Text colours
    "&Zwarte tekst / witte rand\0"
    "&Witte tekst / zwarte rand\0"
    "&Aanpassen aan taakbalk\0"
    "&Eigen tekstkleur…\0"
    "Achtergrond&kleur…\0"
    "Gee&n achtergrond\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Andere…\0"
    // Start with Windows
    "&Ja\0"
    "&Nee\0"
    // The input window: title, prompt, buttons
    "Extra regel van Kivet\0"
    "Tekst voor de extra regel:\0"
    "OK\0"
    "Annuleren\0"
    // The About box, the start-up entry's error
    "Over Kivet\0"
    "Een kleine indicator van de huidige ISO-week in het systeemvak van Windows.\0"
    "Kivet kan de opstartinstelling van Windows niet bijwerken.\0"
    // The calendar flyout: window, footer, accessible names
    "Kivet-kalender\0"
    "Week %d: %ls – %ls\0"
    "Ga naar week %d\0"
    "Vorige maand\0"
    "Volgende maand\0"
    "%ls, week %d\0"
    "Vandaag\0";

} // namespace

extern const LanguageTable Dutch = {"nl", Texts, sizeof(Texts)};
