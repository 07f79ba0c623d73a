#include "common/foreground_return.h"

#include <shellapi.h>

#include "common/app_state.h"
#include "common/platform.h"

namespace {

// The main window and every window it owns, however deep (menus are tracked by the main
// window, which holds the foreground while they are open).
bool IsKivetsWindow(HWND window) {
    return window != nullptr && appState.mainWindow != nullptr &&
           GetAncestor(window, GA_ROOTOWNER) == appState.mainWindow;
}

void FocusNotificationArea() {
    NOTIFYICONDATAW icon;
    ZeroMemory(&icon, sizeof(icon));
    icon.cbSize = sizeof(icon);
    icon.hWnd = appState.mainWindow;
    icon.uID = TrayIconId;
    platform.shellNotifyIcon(NIM_SETFOCUS, &icon);
}

void TakeTheWayBack() {
    KeyboardNote* note = &appState.keyboardNote;
    HWND noted = static_cast<HWND>(const_cast<void*>(note->window));
    const bool lives = noted != nullptr && IsWindow(noted) && !IsKivetsWindow(noted);
    switch (TakeWayBack(note, IsKivetsWindow(GetForegroundWindow()), lives)) {
    case WayBackToWindow:
        if (SetForegroundWindow(noted)) {
            break;
        }
        FocusNotificationArea(); // refused: the keys must not stay on the hidden window
        break;
    case WayBackToNotificationArea:
        FocusNotificationArea();
        break;
    case WayBackNowhere:
        break;
    }
}

struct ModalSearch {
    HWND found;
};

BOOL CALLBACK ConsiderModalWindow(HWND window, LPARAM parameter) {
    if (window == appState.mainWindow || window == appState.calendarWindow ||
        !IsWindowVisible(window) || !IsWindowEnabled(window) || !IsKivetsWindow(window)) {
        return TRUE;
    }
    reinterpret_cast<ModalSearch*>(parameter)->found = window; // the first is the topmost
    return FALSE;
}

} // namespace

void NoteKeyboardOwner(bool fromKeyboard, bool modal) {
    const HWND foreground = GetForegroundWindow();
    NoteOpening(&appState.keyboardNote, foreground, IsKivetsWindow(foreground), fromKeyboard,
                modal);
}

void ReturnKeyboard(bool modal) {
    NoteClosing(&appState.keyboardNote, modal);
    TakeTheWayBack();
}

void HandOverKeyboard() {
    NoteClosing(&appState.keyboardNote, false);
}

void ReturnKeyboardIfNoneOpen() {
    TakeTheWayBack();
}

bool BringModalWindowToFront() {
    if (appState.keyboardNote.modalWindows <= 0) {
        return false;
    }
    ModalSearch search = {nullptr};
    EnumThreadWindows(GetCurrentThreadId(), ConsiderModalWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found != nullptr) {
        SetForegroundWindow(search.found);
    }
    return true;
}
