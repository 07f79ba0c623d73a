#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "calendar/calendar_window.h"
#include "common/app_state.h"
#include "support/platform_fixture.h"
#include "support/resource_census.h"

namespace {

// Wine gives every activated window to the X window manager, and without one it waits two
// seconds for each to withdraw. Unmanaged, the flyout closes at once and 200 rounds take
// seconds. Set before the first window loads the X11 driver, for this program only.
const bool unmanagedWindows = [] {
    return RegSetKeyValueW(HKEY_CURRENT_USER,
                           L"Software\\Wine\\AppDefaults\\calendar_window_tests.exe\\X11 Driver",
                           L"Managed", REG_SZ, L"N", 2 * sizeof(wchar_t)) == ERROR_SUCCESS;
}();

const wchar_t CalendarClass[] = L"PellowDune.Kivet.Calendar";
SYSTEMTIME fakeToday = {};

void WINAPI FakeLocalTime(LPSYSTEMTIME now) {
    *now = fakeToday;
}

// The flyout as the real main window procedure opens it from the icon's callback.
class CalendarWindowTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        platform.getLocalTime = FakeLocalTime;
        platform.shellNotifyIcon = [](DWORD, PNOTIFYICONDATAW) -> BOOL { return FALSE; };
        platform.setTimer = [](HWND, UINT_PTR, UINT, TIMERPROC) -> UINT_PTR { return 0; };
        SetToday(2027, 1, 31);
        appState = AppState{};
        appState.instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW windowClass = {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = MainWindowProc;
        windowClass.hInstance = appState.instance;
        windowClass.lpszClassName = L"CalendarTestMain";
        RegisterClassExW(&windowClass);
        appState.mainWindow =
            CreateWindowExW(WS_EX_TOOLWINDOW, L"CalendarTestMain", L"Kivet", WS_POPUP, 0, 0, 0, 0,
                            nullptr, nullptr, appState.instance, nullptr);
        ASSERT_NE(appState.mainWindow, nullptr);
    }
    void TearDown() override {
        DestroyWindow(appState.mainWindow);
        EXPECT_EQ(FindWindowW(CalendarClass, nullptr), nullptr) << "Exit closes the flyout";
        UnregisterClassW(L"CalendarTestMain", appState.instance);
        PlatformTest::TearDown();
    }
    static void SetToday(WORD year, WORD month, WORD day) {
        fakeToday = SYSTEMTIME{year, month, 0, day, 12, 0, 0, 0};
    }
    // A left click on the icon, by default at the bottom of the screen, as the shell sends it.
    static void Select(int x = 500, int y = 2000) {
        SendMessageW(appState.mainWindow, TrayCallbackMessage, MAKEWPARAM(x, y),
                     MAKELPARAM(NIN_SELECT, TrayIconId));
    }
    // The selected day's week, as Ctrl+C puts it on the clipboard.
    static std::wstring CopiedWeek() {
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        SendMessageW(appState.calendarWindow, WM_KEYDOWN, 'C', 0);
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
        std::wstring week;
        if (OpenClipboard(nullptr)) {
            HANDLE data = GetClipboardData(CF_UNICODETEXT);
            const wchar_t* text = static_cast<const wchar_t*>(GlobalLock(data));
            week = text != nullptr ? text : L"";
            GlobalUnlock(data);
            CloseClipboard();
        }
        return week;
    }
    static void PumpMessages() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
    }
};

TEST_F(CalendarWindowTest, ASelectOpensAFocusedTopmostFlyoutInsideTheWorkAreaAndTheNextCloses) {
    Select();
    HWND flyout = FindWindowW(CalendarClass, L"Kivet calendar");
    ASSERT_NE(flyout, nullptr);
    EXPECT_EQ(flyout, appState.calendarWindow);
    EXPECT_TRUE(IsWindowVisible(flyout));
    EXPECT_EQ(GetForegroundWindow(), flyout);
    EXPECT_NE(GetWindowLongPtrW(flyout, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetWindow(flyout, GW_OWNER), appState.mainWindow);
    RECT placed;
    GetWindowRect(flyout, &placed);
    MONITORINFO monitor = {sizeof(monitor), {}, {}, 0};
    GetMonitorInfoW(MonitorFromWindow(flyout, MONITOR_DEFAULTTONEAREST), &monitor);
    EXPECT_LE(placed.bottom, monitor.rcWork.bottom) << "above the icon, inside the work area";
    EXPECT_EQ((placed.left + placed.right) / 2, 500) << "centred on the icon";

    // On a screen of twice the DPI it lays itself out twice as large.
    SendMessageW(flyout, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&placed));
    RECT scaled;
    GetWindowRect(flyout, &scaled);
    EXPECT_EQ(scaled.right - scaled.left, 2 * (placed.right - placed.left));
    EXPECT_EQ(scaled.bottom - scaled.top, 2 * (placed.bottom - placed.top));

    SendMessageW(appState.mainWindow, TrayCallbackMessage, 0, MAKELPARAM(NIN_KEYSELECT, 1));
    EXPECT_TRUE(IsWindow(flyout)) << "a repeated key select is not a second one";
    Select();
    EXPECT_FALSE(IsWindow(flyout));
    EXPECT_EQ(appState.calendarWindow, nullptr);
    WNDCLASSEXW left = {};
    left.cbSize = sizeof(left);
    EXPECT_FALSE(GetClassInfoExW(appState.instance, CalendarClass, &left)) << "class unregistered";
}

SHORT heldButton = 0; // the physical button that is down, 0 for none

SHORT WINAPI FakeAsyncKeyState(int key) {
    return key == heldButton ? static_cast<SHORT>(0x8000) : 0;
}

struct PressCase {
    const char* what;
    BOOL swapped;
    SHORT button;
    int cursor;             // x and y; the icon is at (300, 300)
    bool closeHandledFirst; // the posted WM_CLOSE runs before the select comes
    bool reopens;
};

// Windows' order: the taskbar takes the activation at the press, and the select of the
// release follows, sent, however long the press was. It swallows that select only.
TEST_F(CalendarWindowTest, APressOnTheIconThatDeactivatesTheFlyoutClosesItForGood) {
    const PressCase cases[] = {
        {"primary button on the icon", FALSE, VK_LBUTTON, 302, true, false},
        {"the select before the close", FALSE, VK_LBUTTON, 302, false, false},
        {"swapped: the physical right is primary", TRUE, VK_RBUTTON, 302, true, false},
        {"swapped: the left is not", TRUE, VK_LBUTTON, 302, true, true},
        {"button down elsewhere", FALSE, VK_LBUTTON, 100, true, true},
    };
    platform.getAsyncKeyState = FakeAsyncKeyState;
    for (const PressCase& c : cases) {
        Select(300, 300);
        SwapMouseButton(c.swapped);
        heldButton = c.button;
        SetCursorPos(c.cursor, c.cursor);
        SendMessageW(appState.calendarWindow, WM_ACTIVATE, WA_INACTIVE, 0);
        if (c.closeHandledFirst) {
            PumpMessages();
        }
        Select(300, 300);
        PumpMessages();
        SwapMouseButton(FALSE);
        EXPECT_EQ(appState.calendarWindow != nullptr, c.reopens) << c.what;
        Select(300, 300);
        EXPECT_NE(appState.calendarWindow != nullptr, c.reopens) << c.what << ", the next click";
        CloseCalendarFlyout();
    }
}

TEST_F(CalendarWindowTest, TheWheelMovesOneMonthPer120InTotal) {
    Select();
    for (const int delta : {-40, -40, -40, -240, 100, -100, 0}) {
        SendMessageW(appState.calendarWindow, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0);
    }
    EXPECT_EQ(CopiedWeek(), L"2027-W17") << "28 April: one, two, nothing at the turn or at 0";
}

// The window that had the keyboard gets it back; one opened from the keyboard hands it to
// the notification area. Every opening takes the keyboard, right after an Escape too.
TEST_F(CalendarWindowTest, EscapeGivesTheKeyboardBackAndTheNextOpeningTakesIt) {
    static int focusRequests = 0;
    platform.shellNotifyIcon = [](DWORD message, PNOTIFYICONDATAW) -> BOOL {
        return focusRequests += message == NIM_SETFOCUS ? 1 : 0;
    };
    HWND elsewhere = CreateWindowExW(0, L"STATIC", L"elsewhere", WS_POPUP | WS_VISIBLE, 0, 0, 50,
                                     50, nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(elsewhere);
    for (const bool fromKeyboard : {false, false, true}) {
        SendMessageW(appState.mainWindow, TrayCallbackMessage, MAKEWPARAM(500, 2000),
                     MAKELPARAM(fromKeyboard ? NIN_KEYSELECT : NIN_SELECT, TrayIconId));
        EXPECT_EQ(GetFocus(), appState.calendarWindow);
        SendMessageW(appState.calendarWindow, WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(fromKeyboard || GetForegroundWindow() == elsewhere);
    }
    EXPECT_EQ(focusRequests, 1) << "NIM_SETFOCUS";
    DestroyWindow(elsewhere);
}

std::vector<void*> freed;

BOOL WINAPI NotingHeapFree(HANDLE heap, DWORD flags, LPVOID block) {
    freed.push_back(block);
    return std::count(freed.begin(), freed.end(), block) == 1 && HeapFree(heap, flags, block);
}

WNDPROC flyoutProcedure = nullptr;

LRESULT CALLBACK FailingCreate(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return message == WM_CREATE ? -1
                                : CallWindowProcW(flyoutProcedure, window, message, wParam, lParam);
}

// Puts FailingCreate in front of the flyout's procedure before WM_NCCREATE reaches it.
LRESULT CALLBACK FailCreation(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        HWND window = reinterpret_cast<HWND>(wParam);
        flyoutProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FailingCreate)));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(CalendarWindowTest, ACreationThatFailsAfterTheBlockPassedToTheWindowFreesItOnce) {
    platform.heapFree = NotingHeapFree;
    HHOOK hook = SetWindowsHookExW(WH_CBT, FailCreation, nullptr, GetCurrentThreadId());
    Select();
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(appState.calendarWindow, nullptr);
    EXPECT_EQ(freed.size(), 1u) << "the flyout's block, once";
}

TEST_F(CalendarWindowTest, TheMidnightRefreshMovesTodayAndTheMenuClosesTheFlyout) {
    Select();
    EXPECT_EQ(CopiedWeek(), L"2027-W04");
    SetToday(2027, 2, 1);
    SendMessageW(appState.mainWindow, WM_TIMECHANGE, 0, 0);
    EXPECT_EQ(CopiedWeek(), L"2027-W05") << "the selection on today follows it";
    platform.trackPopupMenu = [](HMENU, UINT, int, int, int, HWND, const RECT*) -> BOOL {
        return 0;
    };
    SendMessageW(appState.mainWindow, TrayCallbackMessage, 0, MAKELPARAM(WM_CONTEXTMENU, 1));
    EXPECT_EQ(appState.calendarWindow, nullptr);
}

TEST_F(CalendarWindowTest, TwoHundredOpeningsAndClosingsLeaveNothingBehind) {
    for (int round = 0; round < 5; ++round) { // the platform's own first-use allocations
        Select();
        Select();
    }
    PumpMessages();
    const ResourceCensus before = TakeResourceCensus();
    for (int round = 0; round < 200; ++round) {
        Select();
        ASSERT_NE(appState.calendarWindow, nullptr) << round;
        SendMessageW(appState.calendarWindow, WM_KEYDOWN, VK_NEXT, 0);
        UpdateWindow(appState.calendarWindow);
        Select();
        PumpMessages();
    }
    const ResourceCensus after = TakeResourceCensus();
    printf("GDI objects %d -> %d, heap blocks %zu -> %zu\n", before.gdiObjects, after.gdiObjects,
           before.heapBlocks, after.heapBlocks);
    EXPECT_EQ(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.heapBlocks, before.heapBlocks);
}

} // namespace
