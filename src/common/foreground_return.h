// Where the keyboard goes when one of Kivet's windows closes: back to the window the user
// was in, never to Kivet's hidden main window, which the system would otherwise pick as the
// owner.
#pragma once

#include <windows.h>

// The foreground window of the moment, or, while that is Kivet's main window (the tray menu
// took it), the one the menu took it from. Null when there is none.
HWND WindowToReturnTo();

// Gives the foreground to `window` when it is still there and is not the main window.
bool ReturnForegroundTo(HWND window);
