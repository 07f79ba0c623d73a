// The note of a press on the notification icon that took the activation from the open flyout,
// closing it: that press's own select must not open the flyout again, and nothing else may be
// swallowed. A press ending off the icon may bring its select (Wine's taskbar, which captured
// the pointer, sends it) or none (Windows): either way the next press ends the note. The
// closing press's own down may come after the deactivation (Wine): it is no new press.
// Platform-free.
#pragma once

#include <cstdint>

enum IconPressEvent : int32_t {
    FlyoutLostToIcon, // the window showing the icon took the activation from the flyout
    PointerDownOnIcon,
    PointerDownElsewhere,
    PointerUp,
    IconSelect,    // NIN_SELECT
    IconKeySelect, // NIN_KEYSELECT
};

// Updates the note (0: none, 1: the press is on, 2: it ended) for `event`; true for a select
// that belongs to the noted press and must be swallowed.
bool TakeIconPressEvent(int32_t* noted, IconPressEvent event);
