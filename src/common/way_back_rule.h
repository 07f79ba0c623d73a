// The keyboard's way back, as a rule apart from the platform: what is noted when one of
// Kivet's windows takes the keyboard, and where the keyboard goes when the last one closes.
#pragma once

#include <cstdint>

// One note for every series of Kivet's windows, from the first opening until the keyboard has
// gone back. A window is only ever compared and handed on, never dereferenced.
struct KeyboardNote {
    const void* window;   // had the keyboard before Kivet took it; null when none was fit
    int32_t noted;        // 1 from the series' first opening until the way back is taken
    int32_t fromKeyboard; // the first opening came from the keyboard
    int32_t openWindows;  // Kivet's windows open now: menus, dialogs, message boxes, flyout
    int32_t modalWindows; // of those, the ones that must be closed before anything else opens
};

enum WayBack {
    WayBackNowhere,            // nothing to give back, or the user has gone elsewhere already
    WayBackToWindow,           // to the noted window
    WayBackToNotificationArea, // to Kivet's icon (NIM_SETFOCUS)
};

// A window of Kivet's is opening. The first of a series notes `foreground` unless it is one of
// Kivet's own, and whether the keyboard opened it; later ones only count.
void NoteOpening(KeyboardNote* note, const void* foreground, bool foregroundIsKivets,
                 bool fromKeyboard, bool modal);

// A window of Kivet's has closed or is about to be destroyed: it no longer counts.
void NoteClosing(KeyboardNote* note, bool modal);

// While a window is still open, or no note is pending: nowhere, and the note stays. Otherwise
// the way back, taken once: the note is cleared. `kivetHasForeground`: one of Kivet's windows
// has the keyboard now (if not, the user took it elsewhere and it stays there).
// `notedWindowLives`: the noted window still exists.
WayBack TakeWayBack(KeyboardNote* note, bool kivetHasForeground, bool notedWindowLives);
