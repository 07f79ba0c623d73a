// The calendar flyout: one month with ISO week numbers, next to the notification icon. The
// window and everything it uses are made when it opens and released when it closes.
#pragma once

#include <windows.h>

// Opens the flyout at the anchor the notification icon's select event carries in `anchor`
// (x in the low word, y in the high word, signed), or closes it when it is open. The select
// of a click on the icon that took the activation from the open flyout does nothing.
// `fromKeyboard`: NIN_KEYSELECT, after which the keyboard goes back to the notification area.
void ToggleCalendarFlyout(WPARAM anchor, bool fromKeyboard);

// Closes the flyout if it is open. Where it has the keyboard, the keyboard goes back to the
// window that had it before, or to the notification area.
void CloseCalendarFlyout();

// Re-reads today's date after the clock moved on; a selection on the old today follows it.
void RefreshCalendarToday();
