// Opens the input window once in a process of its own, per-monitor DPI aware like Kivet.exe,
// and prints what it measured on one line, for a test that sets the prefix's DPI between runs:
//   systemDpi windowDpi width height, then x y width height of each of the four controls
// (client coordinates, in creation order). Exit code 0 when it measured, 1 otherwise.
#include <windows.h>

#include <cstdio>

#include "app/input_dialog.h"
#include "common/app_state.h"

namespace {

bool measured = false;

BOOL CALLBACK FindInputWindow(HWND window, LPARAM found) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    if (lstrcmpW(name, L"PellowDune.Kivet.InputDialog") == 0) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK Measure(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindInputWindow, reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr) {
        return;
    }
    KillTimer(nullptr, timer);
    RECT frame;
    GetWindowRect(dialog, &frame);
    printf("%u %u %ld %ld", GetDpiForSystem(), GetDpiForWindow(dialog), frame.right - frame.left,
           frame.bottom - frame.top);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        RECT box;
        GetWindowRect(child, &box);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&box), 2);
        printf(" %ld %ld %ld %ld", box.left, box.top, box.right - box.left, box.bottom - box.top);
    }
    printf("\n");
    fflush(stdout);
    measured = true;
    PostMessageW(dialog, WM_CLOSE, 0, 0);
}

} // namespace

int main() {
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    appState.instance = GetModuleHandleW(nullptr);
    HWND owner = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"geometry helper owner",
                                 WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SetTimer(nullptr, 0, 15, Measure);
    wchar_t* result = PromptForAdditionalLine(owner, L"w");
    if (result != nullptr) {
        HeapFree(GetProcessHeap(), 0, result);
    }
    DestroyWindow(owner);
    return measured ? 0 : 1;
}
