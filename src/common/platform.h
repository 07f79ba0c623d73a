// The platform seam: the few calls whose effects a test cannot observe, or whose answers it
// must choose. Everything else calls Win32 directly. The table starts out with the real
// functions; a test may swap an entry and calls ResetPlatformCalls when it is done.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <commdlg.h>

struct PlatformCalls {
    // Clocks and the local-to-UTC conversion under a zone's rules.
    void(WINAPI* getLocalTime)(LPSYSTEMTIME localTime);
    void(WINAPI* getSystemTimeAsFileTime)(LPFILETIME utcNow);
    BOOL(WINAPI* localTimeToUtc)
    (const DYNAMIC_TIME_ZONE_INFORMATION* zone, const SYSTEMTIME* localTime, LPSYSTEMTIME utcTime);
    // The midnight timer.
    UINT_PTR(WINAPI* setTimer)(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC procedure);
    BOOL(WINAPI* killTimer)(HWND window, UINT_PTR id);
    // The notification area.
    BOOL(WINAPI* shellNotifyIcon)(DWORD message, PNOTIFYICONDATAW data);
    // The small-icon edge.
    int(WINAPI* getSystemMetricsForDpi)(int index, UINT dpi);
    UINT(WINAPI* getDpiForSystem)(void);
    // Modal user interface.
    BOOL(WINAPI* trackPopupMenu)
    (HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rectangle);
    // The font dialog; its DLL is loaded for the one call (through loadSystemLibrary) and
    // freed after. FALSE, with nothing shown, when the DLL or its entry cannot be had.
    BOOL(WINAPI* chooseFont)(LPCHOOSEFONTW choice);
    // The colour dialog, loaded and freed the same way.
    BOOL(WINAPI* chooseColour)(LPCHOOSECOLORW choice);
    int(WINAPI* messageBox)(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style);
    // A DLL of the system folder, loaded where it is needed rather than at start-up.
    HMODULE(WINAPI* loadSystemLibrary)(LPCWSTR name);
    // The executable's own path.
    DWORD(WINAPI* getModuleFileName)(HMODULE module, LPWSTR path, DWORD capacity);
    // The process heap's allocator, where an allocation failure must be tried.
    LPVOID(WINAPI* heapAlloc)(HANDLE heap, DWORD flags, SIZE_T bytes);
    BOOL(WINAPI* heapFree)(HANDLE heap, DWORD flags, LPVOID block);
    // Asks the Restart Manager to start Kivet again after an installer closed it.
    HRESULT(WINAPI* registerApplicationRestart)(PCWSTR commandLine, DWORD flags);
};

extern PlatformCalls platform;

void ResetPlatformCalls();
