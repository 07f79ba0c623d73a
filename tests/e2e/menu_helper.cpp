// menu-helper: what the menu's end-to-end test needs from inside Wine.
//   wait-window SECONDS   until Kivet's main window exists
//   wait-gone SECONDS     until it no longer exists
//   open-menu             posts the notification icon's right-click events to the main window,
//                         as the shell does on a right-click (returns at once)
// Exit code 0 on success, 1 on failure or timeout.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

const wchar_t MainWindowClass[] = L"PellowDune.Kivet.Window";
constexpr UINT TrayCallback = WM_APP + 1;
constexpr WORD TrayIcon = 1;

bool WaitFor(bool present, const wchar_t* seconds) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(_wtof(seconds) * 1000);
    for (;;) {
        bool exists = FindWindowW(MainWindowClass, nullptr) != nullptr;
        if (exists == present) {
            return true;
        }
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(20);
    }
}

bool OpenMenu() {
    HWND window = FindWindowW(MainWindowClass, nullptr);
    if (window == nullptr) {
        fprintf(stderr, "no Kivet window\n");
        return false;
    }
    // Version 4 of the notification protocol: the event in the low word, the icon id above,
    // the anchor in wParam. A right click is WM_RBUTTONUP, then WM_CONTEXTMENU at the pointer.
    POINT pointer = {0, 0};
    GetCursorPos(&pointer);
    const WPARAM anchor = MAKEWPARAM(pointer.x, pointer.y);
    return PostMessageW(window, TrayCallback, anchor, MAKELPARAM(WM_RBUTTONUP, TrayIcon)) &&
           PostMessageW(window, TrayCallback, anchor, MAKELPARAM(WM_CONTEXTMENU, TrayIcon));
}

} // namespace

int wmain(int count, wchar_t** arguments) {
    if (count >= 3 && wcscmp(arguments[1], L"wait-window") == 0) {
        return WaitFor(true, arguments[2]) ? 0 : 1;
    }
    if (count >= 3 && wcscmp(arguments[1], L"wait-gone") == 0) {
        return WaitFor(false, arguments[2]) ? 0 : 1;
    }
    if (count >= 2 && wcscmp(arguments[1], L"open-menu") == 0) {
        return OpenMenu() ? 0 : 1;
    }
    fprintf(stderr, "usage: menu-helper wait-window SECONDS | wait-gone SECONDS | open-menu\n");
    return 2;
}
