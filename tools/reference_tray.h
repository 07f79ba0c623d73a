// What the reference programs of tools/kivet-figures share: a class, a hidden tool window, one
// notification icon with a tooltip, and a message loop; WM_CLOSE removes the icon and ends it.
#pragma once

#include <windows.h>
#include <shellapi.h>

inline NOTIFYICONDATAW ReferenceIconRecord(HWND window) {
    NOTIFYICONDATAW data = {};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = 1;
    return data;
}

inline LRESULT CALLBACK ReferenceWindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) {
    if (message == WM_DESTROY) {
        NOTIFYICONDATAW data = ReferenceIconRecord(window);
        Shell_NotifyIconW(NIM_DELETE, &data);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// Shows `icon` until the window is closed; the exit code, or 1 when the window cannot be made.
inline int RunReferenceTray(HINSTANCE instance, const wchar_t* className, HICON icon,
                            const wchar_t* tip) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = ReferenceWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = className;
    if (RegisterClassExW(&windowClass) == 0) {
        return 1;
    }
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, className, tip, WS_POPUP, 0, 0, 0, 0, nullptr,
                                  nullptr, instance, nullptr);
    if (window == nullptr) {
        return 1;
    }
    NOTIFYICONDATAW data = ReferenceIconRecord(window);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_APP + 1;
    data.hIcon = icon;
    lstrcpynW(data.szTip, tip, 128);
    Shell_NotifyIconW(NIM_ADD, &data);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
