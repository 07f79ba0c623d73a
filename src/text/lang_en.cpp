// English; also the fallback for every language without a table of its own: the interface's words
// in the order of UiTextId (text/ui_text_id.h).
#include "text/language_tables.h"

namespace {

const char Texts[] =
    // The tray menu
    "&Additional line…\0"
    "Additional line &position\0"
    "&Leading zero\0"
    "&Text colours\0"
    "&Font\0"
    "&Start with Windows\0"
    "&Refresh\0"
    "A&bout Kivet…\0"
    "E&xit\0"
    // Additional line position
    "&Above\0"
    "&Below\0"
    "&Hidden\0"
    // Leading zero
    "O&n\0"
    "O&ff\0"
    // Text colours
    "&Black text / white border\0"
    "&White text / black border\0"
    "&Match the taskbar\0"
    "&Custom text colour…\0"
    "B&ackground colour…\0"
    "&No background\0"
    // Font
    "&Calibri\0"
    "&Lekton\0"
    "&Other…\0"
    // Start with Windows
    "&Yes\0"
    "&No\0"
    // The input window: title, prompt, buttons
    "Kivet additional line\0"
    "Text for the additional line:\0"
    "OK\0"
    "Cancel\0"
    // The About box, the start-up entry's error
    "About Kivet\0"
    "A tiny Windows tray indicator for the current ISO week.\0"
    "Kivet could not update the Windows startup setting.\0"
    // The calendar flyout: window, footer, accessible names
    "Kivet calendar\0"
    "Week %d: %ls – %ls\0"
    "Go to week %d\0"
    "Previous month\0"
    "Next month\0"
    "%ls, week %d\0"
    "Today\0";

} // namespace

extern const LanguageTable English = {"en", Texts, sizeof(Texts)};
