// kivet-driver: acts on a running Kivet from outside, as Windows and a user would, and reads
// what the exe carries. Console program for the end-to-end tests and `make run`.
//   wait-window SECONDS      until the main window exists; prints its handle
//   wait-gone SECONDS        until no main window exists
//   send MESSAGE WPARAM LPARAM   SendMessageW to the main window; prints the result
//   post MESSAGE WPARAM LPARAM   PostMessageW to the main window
//   tray-delete              takes Kivet's icon out of the notification area, as a taskbar
//                            that has just been restarted would have lost it
//   taskbar-created          broadcasts the shell's "TaskbarCreated" to every top-level window
//   resources EXE            prints the exe's resources, version block and manifest
//   close-class CLASS        posts WM_CLOSE to the first top-level window of that class
//   time-start EXE           starts EXE and prints the milliseconds until its icon shows in the
//                            taskbar's notification area (the screen's bottom-right corner
//                            changes), or exits 1 after 30 s
//   hold SECONDS             shows a small window in the top-left corner for that long, which
//                            keeps a virtual desktop open while Kivet is not running
//   clipboard                prints the clipboard's Unicode text
//   foreground               prints the foreground window's class and title ("CLASS|TITLE"),
//                            or "none"
//   shown CLASS              prints the screen rectangle of the visible top-level window of
//                            that class and 1 when it has the foreground (0 when not); exits
//                            1 when there is no such window
//   time-calendar COUNT      opens and closes the calendar flyout COUNT times with the icon's
//                            select event, as a left click does, and prints the median of the
//                            milliseconds until each opening was painted
//   hear-calendar SECONDS    prints "listening", then for that long the calendar flyout's
//                            focus, selection, name and value events as a screen reader in
//                            another process hears them, one "EVENT CHILD" line each
//   menu-look ROWS           prints how each item of the topmost open popup menu looks on
//                            screen, its ROWS items taken as equal bands: "checked" or
//                            "unchecked", then "enabled", "greyed" or "blank"
// Numbers may be decimal or 0x hex. Exit code 0 on success, 1 on failure or timeout.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <cwchar>
#include <map>
#include <vector>

#include "common/strings.h"

namespace {

const wchar_t MainWindowClass[] = L"PellowDune.Kivet.Window";

HWND WaitForWindow(double seconds, bool present) {
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    for (;;) {
        HWND window = FindWindowW(MainWindowClass, nullptr);
        if ((window != nullptr) == present || GetTickCount64() >= deadline) {
            return window;
        }
        Sleep(20);
    }
}

unsigned long long Number(const wchar_t* text) {
    return wcstoull(text, nullptr, 0);
}

int SendOrPost(bool send, wchar_t** arguments) {
    HWND window = FindWindowW(MainWindowClass, nullptr);
    if (window == nullptr) {
        fprintf(stderr, "no Kivet window\n");
        return 1;
    }
    const UINT message = static_cast<UINT>(Number(arguments[0]));
    const WPARAM wParam = static_cast<WPARAM>(Number(arguments[1]));
    const LPARAM lParam = static_cast<LPARAM>(Number(arguments[2]));
    if (!send) {
        return PostMessageW(window, message, wParam, lParam) ? 0 : 1;
    }
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result)) {
        fprintf(stderr, "no answer\n");
        return 1;
    }
    printf("%lld\n", static_cast<long long>(result));
    return 0;
}

BOOL CALLBACK PrintLanguage(HMODULE, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR) {
    printf("resource type=%u id=%u language=0x%04X\n",
           static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(type)),
           static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(name)), language);
    return TRUE;
}

BOOL CALLBACK PrintNames(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR) {
    if (!IS_INTRESOURCE(name)) {
        printf("resource type=%u name=%ls\n",
               static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(type)), name);
        return TRUE;
    }
    EnumResourceLanguagesW(module, type, name, PrintLanguage, 0);
    return TRUE;
}

BOOL CALLBACK PrintTypes(HMODULE module, LPWSTR type, LONG_PTR) {
    EnumResourceNamesW(module, type, PrintNames, 0);
    return TRUE;
}

int PrintResources(const wchar_t* path) {
    HMODULE module = LoadLibraryExW(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) {
        return 1;
    }
    EnumResourceTypesW(module, PrintTypes, 0);
    HRSRC manifest = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    if (manifest != nullptr) {
        const DWORD bytes = SizeofResource(module, manifest);
        const char* text = static_cast<const char*>(LockResource(LoadResource(module, manifest)));
        printf("manifest-begin\n%.*s\nmanifest-end\n", static_cast<int>(bytes), text);
    }
    FreeLibrary(module);

    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    std::vector<unsigned char> block(size);
    if (size == 0 || !GetFileVersionInfoW(path, 0, size, block.data())) {
        return 1;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length)) {
        printf("FileVersion=%u.%u.%u.%u\n", HIWORD(fixed->dwFileVersionMS),
               LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
               LOWORD(fixed->dwFileVersionLS));
        printf("ProductVersion=%u.%u.%u.%u\n", HIWORD(fixed->dwProductVersionMS),
               LOWORD(fixed->dwProductVersionMS), HIWORD(fixed->dwProductVersionLS),
               LOWORD(fixed->dwProductVersionLS));
        printf("FlagsMask=0x%lX\nFlags=0x%lX\nOS=0x%lX\nType=%lu\nSubtype=%lu\n",
               fixed->dwFileFlagsMask, fixed->dwFileFlags, fixed->dwFileOS, fixed->dwFileType,
               fixed->dwFileSubtype);
    }
    WORD* translation = nullptr;
    if (VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation",
                       reinterpret_cast<void**>(&translation), &length) &&
        length >= 4) {
        printf("Translation=%04X%04X\n", translation[0], translation[1]);
    }
    const wchar_t* const keys[] = {L"CompanyName",   L"FileDescription",  L"FileVersion",
                                   L"InternalName",  L"OriginalFilename", L"ProductName",
                                   L"ProductVersion"};
    for (const wchar_t* key : keys) {
        wchar_t query[96];
        FormatString(query, 96, L"\\StringFileInfo\\040904B0\\%ls", key);
        wchar_t* value = nullptr;
        if (VerQueryValueW(block.data(), query, reinterpret_cast<void**>(&value), &length)) {
            char utf8[256] = {};
            WideCharToMultiByte(CP_UTF8, 0, value, -1, utf8, sizeof(utf8), nullptr, nullptr);
            printf("String %ls=%s\n", key, utf8);
        }
    }
    return 0;
}

int Hold(double seconds) {
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"hold", WS_POPUP | WS_VISIBLE, 0, 0,
                                  40, 40, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr) {
        return 1;
    }
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    while (GetTickCount64() < deadline) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    }
    DestroyWindow(window);
    return 0;
}

// The bottom-right corner of the screen, where the taskbar's notification area ends.
struct Corner {
    static constexpr int Width = 64;
    static constexpr int Height = 18;
    HDC screen;
    HDC memory;
    HBITMAP bitmap;
    void* pixels;
};

bool OpenCorner(Corner* corner) {
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = Corner::Width;
    format.bmiHeader.biHeight = -Corner::Height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    corner->screen = GetDC(nullptr);
    corner->memory = CreateCompatibleDC(corner->screen);
    corner->bitmap =
        CreateDIBSection(corner->screen, &format, DIB_RGB_COLORS, &corner->pixels, nullptr, 0);
    if (corner->bitmap == nullptr) {
        return false;
    }
    SelectObject(corner->memory, corner->bitmap);
    return true;
}

void CaptureCorner(Corner* corner, std::vector<unsigned char>* into) {
    BitBlt(corner->memory, 0, 0, Corner::Width, Corner::Height, corner->screen,
           GetSystemMetrics(SM_CXSCREEN) - Corner::Width,
           GetSystemMetrics(SM_CYSCREEN) - Corner::Height, SRCCOPY);
    GdiFlush();
    const unsigned char* bytes = static_cast<const unsigned char*>(corner->pixels);
    into->assign(bytes, bytes + Corner::Width * Corner::Height * 4);
}

int TimeStart(const wchar_t* path) {
    Corner corner = {};
    if (!OpenCorner(&corner)) {
        return 1;
    }
    std::vector<unsigned char> before;
    std::vector<unsigned char> now;
    CaptureCorner(&corner, &before);

    wchar_t commandLine[MAX_PATH + 2];
    FormatString(commandLine, MAX_PATH + 2, L"\"%ls\"", path);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER frequency;
    LARGE_INTEGER start;
    LARGE_INTEGER seen;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(path, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        return 1;
    }
    bool shown = false;
    do {
        Sleep(1);
        CaptureCorner(&corner, &now);
        QueryPerformanceCounter(&seen);
        shown = now != before;
    } while (!shown && seen.QuadPart - start.QuadPart < 30 * frequency.QuadPart);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    DeleteDC(corner.memory);
    DeleteObject(corner.bitmap);
    ReleaseDC(nullptr, corner.screen);
    if (!shown) {
        return 1;
    }
    printf("%.1f\n", 1000.0 * static_cast<double>(seen.QuadPart - start.QuadPart) /
                         static_cast<double>(frequency.QuadPart));
    return 0;
}

int PrintClipboard() {
    if (!OpenClipboard(nullptr)) {
        return 1;
    }
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const wchar_t* text = data != nullptr ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    if (text != nullptr) {
        printf("%ls\n", text);
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text != nullptr ? 0 : 1;
}

// The select event is sent rather than posted: Kivet answers it only after the flyout has
// opened and painted itself.
int TimeCalendar(int count) {
    HWND window = FindWindowW(MainWindowClass, nullptr);
    const LPARAM select = MAKELPARAM(NIN_SELECT, 1);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> times;
    for (int round = 0; round < count && window != nullptr; ++round) {
        LARGE_INTEGER start;
        LARGE_INTEGER painted;
        QueryPerformanceCounter(&start);
        SendMessageW(window, WM_APP + 1, 0, select);
        QueryPerformanceCounter(&painted);
        if (FindWindowW(L"PellowDune.Kivet.Calendar", nullptr) == nullptr) {
            fprintf(stderr, "the flyout did not open\n");
            return 1;
        }
        times.push_back(1000.0 * static_cast<double>(painted.QuadPart - start.QuadPart) /
                        static_cast<double>(frequency.QuadPart));
        SendMessageW(window, WM_APP + 1, 0, select);
        Sleep(50);
    }
    if (times.empty()) {
        return 1;
    }
    std::sort(times.begin(), times.end());
    printf("%.2f ms median of %zu openings (fastest %.2f, slowest %.2f)\n", times[times.size() / 2],
           times.size(), times.front(), times.back());
    return 0;
}

void CALLBACK PrintCalendarEvent(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child,
                                 DWORD, DWORD) {
    const DWORD events[] = {EVENT_OBJECT_FOCUS, EVENT_OBJECT_SELECTION, EVENT_OBJECT_NAMECHANGE,
                            EVENT_OBJECT_VALUECHANGE};
    const char* const names[] = {"focus", "selection", "name", "value"};
    wchar_t className[64];
    if (object != OBJID_CLIENT || GetClassNameW(window, className, 64) == 0 ||
        wcscmp(className, L"PellowDune.Kivet.Calendar") != 0) {
        return;
    }
    for (int index = 0; index < 4; ++index) {
        if (event == events[index]) {
            printf("%s %ld\n", names[index], child);
            fflush(stdout);
        }
    }
}

int HearCalendar(double seconds) {
    HWINEVENTHOOK hook =
        SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_VALUECHANGE, nullptr, PrintCalendarEvent,
                        0, 0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    if (hook == nullptr) {
        return 1;
    }
    printf("listening\n");
    fflush(stdout);
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
    while (GetTickCount64() < deadline) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
    }
    UnhookWinEvent(hook);
    return 0;
}

// The screen's pixels in RECT, row by row.
bool CaptureScreen(const RECT& rect, std::vector<COLORREF>* into) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool captured = false;
    if (bitmap != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        captured = BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY) != 0;
        GdiFlush();
        const unsigned char* bytes = static_cast<const unsigned char*>(bits);
        into->clear();
        for (int index = 0; captured && index < width * height; ++index) {
            into->push_back(RGB(bytes[4 * index + 2], bytes[4 * index + 1], bytes[4 * index]));
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return captured;
}

// Another process's menu handle tells nothing under Wine, so an item's state is read as the
// user sees it. In an item's band of the menu's pixels (WIDTH wide, rows TOP to BOTTOM) its
// background is the most frequent colour, and only the box that colour spans counts (a
// selected item's highlight leaves the menu's margins out). Checked: anything but background
// in the check-mark column. Enabled: ink in the colour of an enabled item's text; greyed: no
// such ink, but neutral grey ink.
void PrintItemLook(const std::vector<COLORREF>& pixels, int width, int top, int bottom) {
    std::map<COLORREF, int> counts;
    for (int index = top * width; index < bottom * width; ++index) {
        ++counts[pixels[index]];
    }
    COLORREF background = counts.begin()->first;
    for (const auto& count : counts) {
        background = count.second > counts[background] ? count.first : background;
    }
    RECT box = {width, bottom, 0, top};
    for (int y = top; y < bottom; ++y) {
        for (int x = 0; x < width; ++x) {
            if (pixels[y * width + x] == background) {
                box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                       std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
            }
        }
    }
    const COLORREF enabledInk =
        GetSysColor(background == GetSysColor(COLOR_MENU) ? COLOR_MENUTEXT : COLOR_HIGHLIGHTTEXT);
    const int markWidth = GetSystemMetrics(SM_CXMENUCHECK);
    bool marked = false;
    bool enabled = false;
    bool grey = false;
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            const COLORREF pixel = pixels[y * width + x];
            if (pixel == background) {
                continue;
            }
            marked = marked || x < markWidth;
            enabled = enabled || (x >= markWidth && pixel == enabledInk);
            grey = grey || (x >= markWidth && GetRValue(pixel) == GetGValue(pixel) &&
                            GetGValue(pixel) == GetBValue(pixel));
        }
    }
    printf("%s %s\n", marked ? "checked" : "unchecked",
           enabled ? "enabled"
           : grey  ? "greyed"
                   : "blank");
}

int PrintMenuLook(int rows) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    RECT rect;
    if (menu == nullptr || !IsWindowVisible(menu) || !GetClientRect(menu, &rect) || rows <= 0 ||
        rows > rect.bottom) {
        return 1;
    }
    MapWindowPoints(menu, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    std::vector<COLORREF> pixels;
    if (!CaptureScreen(rect, &pixels)) {
        return 1;
    }
    const int height = rect.bottom - rect.top;
    for (int row = 0; row < rows; ++row) {
        PrintItemLook(pixels, rect.right - rect.left, height * row / rows,
                      height * (row + 1) / rows);
    }
    return 0;
}

} // namespace

int wmain(int count, wchar_t** arguments) {
    if (count < 2) {
        return 1;
    }
    const wchar_t* command = arguments[1];
    if (wcscmp(command, L"wait-window") == 0 && count == 3) {
        HWND window = WaitForWindow(_wtof(arguments[2]), true);
        printf("%p\n", static_cast<void*>(window));
        return window != nullptr ? 0 : 1;
    }
    if (wcscmp(command, L"wait-gone") == 0 && count == 3) {
        return WaitForWindow(_wtof(arguments[2]), false) == nullptr ? 0 : 1;
    }
    if ((wcscmp(command, L"send") == 0 || wcscmp(command, L"post") == 0) && count == 5) {
        return SendOrPost(wcscmp(command, L"send") == 0, arguments + 2);
    }
    if (wcscmp(command, L"tray-delete") == 0) {
        NOTIFYICONDATAW data = {};
        data.cbSize = sizeof(data);
        data.hWnd = FindWindowW(MainWindowClass, nullptr);
        data.uID = 1;
        return data.hWnd != nullptr && Shell_NotifyIconW(NIM_DELETE, &data) ? 0 : 1;
    }
    if (wcscmp(command, L"taskbar-created") == 0) {
        const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
        return SendNotifyMessageW(HWND_BROADCAST, message, 0, 0) ? 0 : 1;
    }
    if (wcscmp(command, L"resources") == 0 && count == 3) {
        return PrintResources(arguments[2]);
    }
    if (wcscmp(command, L"close-class") == 0 && count == 3) {
        HWND window = FindWindowW(arguments[2], nullptr);
        return window != nullptr && PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (wcscmp(command, L"time-start") == 0 && count == 3) {
        return TimeStart(arguments[2]);
    }
    if (wcscmp(command, L"shown") == 0 && count == 3) {
        HWND window = FindWindowW(arguments[2], nullptr);
        RECT rect;
        if (window == nullptr || !IsWindowVisible(window) || !GetWindowRect(window, &rect)) {
            return 1;
        }
        printf("%ld %ld %ld %ld %d\n", rect.left, rect.top, rect.right, rect.bottom,
               GetForegroundWindow() == window ? 1 : 0);
        return 0;
    }
    if (wcscmp(command, L"foreground") == 0) {
        HWND window = GetForegroundWindow();
        wchar_t className[128] = L"";
        wchar_t title[128] = L"";
        if (window == nullptr) {
            printf("none\n");
            return 0;
        }
        GetClassNameW(window, className, 128);
        GetWindowTextW(window, title, 128);
        printf("%ls|%ls\n", className, title);
        return 0;
    }
    if (wcscmp(command, L"clipboard") == 0) {
        return PrintClipboard();
    }
    if (wcscmp(command, L"time-calendar") == 0 && count == 3) {
        return TimeCalendar(_wtoi(arguments[2]));
    }
    if (wcscmp(command, L"hear-calendar") == 0 && count == 3) {
        return HearCalendar(_wtof(arguments[2]));
    }
    if (wcscmp(command, L"menu-look") == 0 && count == 3) {
        return PrintMenuLook(_wtoi(arguments[2]));
    }
    if (wcscmp(command, L"hold") == 0 && count == 3) {
        return Hold(_wtof(arguments[2]));
    }
    fprintf(stderr, "unknown command\n");
    return 1;
}
