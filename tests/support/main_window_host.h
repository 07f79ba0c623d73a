// The real main window procedure in a hidden window of a test's own class, as start-up makes it.
#pragma once

#include <windows.h>

#include "app/main_window.h"
#include "common/app_state.h"

// Registers `className` for MainWindowProc in appState.instance and makes the window; null when
// it could not be made. The test destroys it and unregisters the class.
inline HWND CreateTestMainWindow(const wchar_t* className) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = appState.instance;
    windowClass.lpszClassName = className;
    RegisterClassExW(&windowClass);
    return CreateWindowExW(WS_EX_TOOLWINDOW, className, L"Kivet", WS_POPUP, 0, 0, 0, 0, nullptr,
                           nullptr, appState.instance, nullptr);
}
