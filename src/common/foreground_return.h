// The keyboard's way back: who had the keyboard before one of Kivet's windows took it (the
// menu, the input window, the font and colour dialogs, About and the other message boxes, the
// flyout), and giving it back once, when Kivet's last window closes. Never to Kivet's hidden
// main window, which the system would otherwise pick as the closing window's owner.
#pragma once

#include <windows.h>

// A window of Kivet's is about to take the keyboard: call before it is shown or made the
// foreground. The first of a series notes the window that has the keyboard now.
// `fromKeyboard`: opened by NIN_KEYSELECT or a keyboard WM_CONTEXTMENU; the keyboard then goes
// back to the notification area. `modal`: while it is open, clicks on the icon only bring it to
// the front (the input window, dialogs and message boxes).
void NoteKeyboardOwner(bool fromKeyboard, bool modal);

// A window of Kivet's closes: call BEFORE DestroyWindow (so that no other window sees a passing
// activation first), or right after a system dialog or message box has returned. When it was
// the last one, the keyboard goes back and the note is cleared. `modal` as it was opened.
void ReturnKeyboard(bool modal);

// The menu has closed and the command chosen from it may open the next window: the menu no
// longer counts, and the keyboard stays until ReturnKeyboardIfNoneOpen.
void HandOverKeyboard();

// After a command: the keyboard goes back when none of Kivet's windows is open any more.
void ReturnKeyboardIfNoneOpen();

// While a modal window of Kivet's is open: brings it to the front and is true, so that a click
// on the icon opens nothing else. False when none is open.
bool BringModalWindowToFront();
