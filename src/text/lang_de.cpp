// German (de-DE, de-AT, de-CH, de-LU, ...): the interface's words in the order of UiTextId
// (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

const char Texts[] =
    // The tray menu
    "&Zusatzzeile…\0"
    "&Position der Zusatzzeile\0"
    "Führende &Null\0"
    "&Textfarben\0"
    "&Schriftart\0"
    "Mit &Windows starten\0"
    "&Aktualisieren\0"
    "&Info über Kivet…\0"
    "&Beenden\0"
    // Additional line position
    "&Oberhalb\0"
    "&Unterhalb\0"
    "Aus&geblendet\0"
    // Leading zero
    "&Ein\0"
    "&Aus\0"
    // Text colours
    "&Schwarzer Text / weißer Rand\0"
    "&Weißer Text / schwarzer Rand\0"
    "An &Taskleiste anpassen\0"
    "&Eigene Textfarbe…\0"
    "&Hintergrundfarbe…\0"
    "&Kein Hintergrund\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Andere…\0"
    // Start with Windows
    "&Ja\0"
    "&Nein\0"
    // The input window: title, prompt, buttons
    "Kivet-Zusatzzeile\0"
    "Text für die Zusatzzeile:\0"
    "OK\0"
    "Abbrechen\0"
    // The About box, the start-up entry's error
    "Info über Kivet\0"
    "Eine winzige Anzeige der aktuellen ISO-Kalenderwoche im Infobereich von Windows.\0"
    "Kivet konnte die Windows-Autostart-Einstellung nicht ändern.\0"
    // The calendar flyout: window, footer, accessible names
    "Kivet-Kalender\0"
    "Woche %d: %ls – %ls\0"
    "Gehe zu Woche %d\0"
    "Vorheriger Monat\0"
    "Nächster Monat\0"
    "%ls, Woche %d\0"
    "Heute\0";

} // namespace

extern const LanguageTable German = {"de", Texts, sizeof(Texts)};
