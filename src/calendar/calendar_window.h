// The calendar flyout: one month with ISO week numbers, next to the notification icon. The
// window and everything it uses are made when it opens and released when it closes.
#pragma once

#include <windows.h>

// Opens the flyout at the anchor the notification icon's select event carries in `anchor`
// (x in the low word, y in the high word, signed), or closes it when it is open. A select
// that follows the flyout's own close by deactivation (a click on the icon) does nothing.
void ToggleCalendarFlyout(WPARAM anchor);

// Closes the flyout if it is open.
void CloseCalendarFlyout();

// Re-reads today's date after the clock moved on; a selection on the old today follows it.
void RefreshCalendarToday();
