// The calendar flyout as screen readers (Active Accessibility) and Magnifier see it: a table
// named by its month whose value is the footer, with the 42 days (child ids 1..42) and the ‹
// and › buttons (43, 44) as children. It reads the flyout's view and never calls the window;
// the window raises the WinEvents and keeps the hidden caret.
#pragma once

#include <windows.h>

#include "calendar/calendar_view.h"

// WM_GETOBJECT: the flyout's own object for OBJID_CLIENT, made (and oleacc loaded) on the
// first ask; everything else goes to DefWindowProc.
LRESULT AnswerCalendarObjectRequest(HWND window, CalendarFlyout* flyout, WPARAM flags,
                                    LPARAM objectId);

// WM_DESTROY: cuts the object off from its clients and frees what AnswerCalendarObjectRequest
// made.
void ReleaseCalendarAccessibility(CalendarFlyout* flyout);
