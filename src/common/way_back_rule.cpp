#include "common/way_back_rule.h"

void NoteOpening(KeyboardNote* note, const void* foreground, bool foregroundIsKivets,
                 bool fromKeyboard, bool modal) {
    if (!note->noted) {
        note->noted = 1;
        note->window = foregroundIsKivets ? nullptr : foreground;
        note->fromKeyboard = fromKeyboard ? 1 : 0;
    }
    ++note->openWindows;
    if (modal) {
        ++note->modalWindows;
    }
}

void NoteClosing(KeyboardNote* note, bool modal) {
    if (note->openWindows > 0) {
        --note->openWindows;
    }
    if (modal && note->modalWindows > 0) {
        --note->modalWindows;
    }
}

WayBack TakeWayBack(KeyboardNote* note, bool kivetHasForeground, bool notedWindowLives) {
    if (!note->noted || note->openWindows > 0) {
        return WayBackNowhere;
    }
    const KeyboardNote taken = *note;
    *note = KeyboardNote{};
    if (!kivetHasForeground) {
        return WayBackNowhere;
    }
    // From the keyboard the user expects to be back on the icon; a window that is gone (or
    // none) would leave the keys on Kivet's hidden window, so the icon takes them too.
    if (taken.fromKeyboard || taken.window == nullptr || !notedWindowLives) {
        return WayBackToNotificationArea;
    }
    return WayBackToWindow;
}
