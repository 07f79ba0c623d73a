// Records, in one ordered log, what the program asks of the notification area, the window
// timer and the tray menu through the platform seam, and counts the calls that reach
// DefWindowProcW by redirecting this test program's own import of it (no subclassing: the
// window keeps its real procedure). Header only.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <utility>
#include <vector>

#include "common/platform.h"

extern "C" {
// The import slot through which every call to DefWindowProcW in this program goes.
extern LRESULT(WINAPI* __imp_DefWindowProcW)(HWND, UINT, WPARAM, LPARAM);
}

namespace shell_recorder {

inline std::vector<std::string> events;
inline std::vector<NOTIFYICONDATAW> records;
inline BOOL addResult = TRUE;
inline BOOL setVersionResult = TRUE;
inline bool quitPendingAtDelete = false;
inline HWND menuOwner = nullptr;
inline POINT menuAt = {};
inline std::vector<std::pair<HWND, UINT>> defaultCalls;
inline LRESULT(WINAPI* realDefWindowProc)(HWND, UINT, WPARAM, LPARAM) = nullptr;

inline bool QuitPending() {
    MSG message;
    return PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

inline BOOL WINAPI ShellNotifyIcon(DWORD message, PNOTIFYICONDATAW data) {
    static const char* const names[] = {"NIM_ADD", "NIM_MODIFY", "NIM_DELETE", "NIM_SETFOCUS",
                                        "NIM_SETVERSION"};
    events.push_back(message < 5 ? names[message] : "NIM_?");
    records.push_back(*data);
    if (message == NIM_DELETE) {
        quitPendingAtDelete = QuitPending();
    }
    if (message == NIM_SETVERSION) {
        return setVersionResult;
    }
    return message == NIM_ADD ? addResult : TRUE;
}

inline UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC) {
    events.push_back("SetTimer " + std::to_string(id));
    (void)window;
    (void)milliseconds;
    return id;
}

inline BOOL WINAPI KillTimer(HWND, UINT_PTR id) {
    events.push_back("KillTimer " + std::to_string(id));
    return TRUE;
}

inline BOOL WINAPI TrackPopupMenu(HMENU, UINT, int x, int y, int, HWND owner, const RECT*) {
    events.push_back("TrackPopupMenu");
    menuOwner = owner;
    menuAt = {x, y};
    return 0; // dismissed: no command
}

inline HRESULT WINAPI RegisterApplicationRestart(PCWSTR commandLine, DWORD flags) {
    events.push_back(std::string("RegisterApplicationRestart ") +
                     (commandLine == nullptr ? "null " : "text ") + std::to_string(flags));
    return S_OK;
}

inline LRESULT WINAPI CountingDefWindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    defaultCalls.emplace_back(window, message);
    return realDefWindowProc(window, message, wParam, lParam);
}

inline void RedirectImport(LRESULT(WINAPI* target)(HWND, UINT, WPARAM, LPARAM)) {
    DWORD protection = 0;
    ASSERT_TRUE(VirtualProtect(&__imp_DefWindowProcW, sizeof(__imp_DefWindowProcW), PAGE_READWRITE,
                               &protection));
    __imp_DefWindowProcW = target;
    VirtualProtect(&__imp_DefWindowProcW, sizeof(__imp_DefWindowProcW), protection, &protection);
}

// Swaps the seam entries and DefWindowProcW; Stop puts DefWindowProcW back (the fixture
// resets the seam).
inline void Start() {
    events.clear();
    records.clear();
    defaultCalls.clear();
    addResult = TRUE;
    setVersionResult = TRUE;
    quitPendingAtDelete = false;
    menuOwner = nullptr;
    platform.shellNotifyIcon = ShellNotifyIcon;
    platform.setTimer = SetTimer;
    platform.killTimer = KillTimer;
    platform.trackPopupMenu = TrackPopupMenu;
    if (realDefWindowProc == nullptr) {
        realDefWindowProc = __imp_DefWindowProcW;
    }
    RedirectImport(CountingDefWindowProc);
}

inline void Stop() {
    if (realDefWindowProc != nullptr) {
        RedirectImport(realDefWindowProc);
    }
}

// How many calls for `window` (and, when not 0, `message`) reached DefWindowProcW.
inline int DefaultCallsFor(HWND window, UINT message = 0) {
    int count = 0;
    for (const auto& call : defaultCalls) {
        if (call.first == window && (message == 0 || call.second == message)) {
            ++count;
        }
    }
    return count;
}

inline void DropPendingQuit() {
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

} // namespace shell_recorder
