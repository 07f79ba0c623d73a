// The press on the notification icon that closes the open flyout: the flyout loses the
// activation to the window that shows the icon, and that press's select, which follows, must
// not open it again. Decided from the window that took the activation, so that a tap with
// touch or a pen counts as a click does.
#pragma once

#include <windows.h>

#include "calendar/calendar_view.h"

// WM_ACTIVATE, WA_INACTIVE: where `activated` is (in) the window that shows the icon, notes
// the press and watches the pointer until it ends; otherwise drops any note.
void NoteIconPressAtDeactivation(const CalendarFlyout* flyout, HWND activated);

// A select on the icon: true where it is the noted press's own, to be swallowed. Clears the
// note either way.
bool TakeIconSelect(bool fromKeyboard);
