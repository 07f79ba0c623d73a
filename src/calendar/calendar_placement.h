// Where the calendar flyout goes on the screen: next to the notification icon, on its side of
// the taskbar.
#pragma once

#include <windows.h>

#include "calendar/calendar_view.h"

// The point a select event carries (x in the low word, y in the high word, signed); where it
// carries none, the icon's centre, or the cursor.
POINT CalendarAnchorPoint(WPARAM anchor);

// The icon's rectangle from the shell, or, where the shell cannot tell, a square of twice
// the small icon's edge around the anchor.
RECT CalendarIconRect(const CalendarFlyout* flyout);

// Moves and sizes the window to the flyout's layout, beside its anchor.
void PlaceCalendar(HWND window, const CalendarFlyout* flyout);
