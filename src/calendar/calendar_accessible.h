// The calendar flyout as screen readers (Active Accessibility) and Magnifier see it: a table
// named by its month whose value is the footer, with the 42 days (child ids 1..42) and the ‹
// and › buttons (43, 44) as children, and a hidden caret on the selected day.
#pragma once

#include <windows.h>

#include "calendar/calendar_flyout.h"

// WM_GETOBJECT: the flyout's own object for OBJID_CLIENT, made (and oleacc loaded) on the
// first ask; everything else goes to DefWindowProc.
LRESULT AnswerCalendarObjectRequest(HWND window, CalendarFlyout* flyout, WPARAM flags,
                                    LPARAM objectId);

// After the selection moved from `previous`: focus and selection events for the new day, a
// name change when the month changed, and the caret follows.
void NotifyCalendarSelection(HWND window, const CalendarFlyout* flyout, CalendarDate previous);

// After the typed week number (the footer, the table's value) changed.
void NotifyCalendarValue(HWND window);

// WM_SETFOCUS: the hidden caret on the selected day, and its focus event.
void CreateCalendarCaret(HWND window, const CalendarFlyout* flyout);

// WM_DESTROY: drops the caret, cuts the object off from its clients and frees what
// AnswerCalendarObjectRequest loaded.
void ReleaseCalendarAccessibility(CalendarFlyout* flyout);
