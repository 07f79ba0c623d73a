#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "calendar/calendar_window.h"
#include "common/app_state.h"
#include "support/main_window_host.h"
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
        appState.mainWindow = CreateTestMainWindow(L"CalendarTestMain");
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
    // The flyout's object, as a screen reader gets it; null when it has none.
    static IAccessible* ReaderObject() {
        IAccessible* object = nullptr;
        AccessibleObjectFromWindow(appState.calendarWindow, static_cast<DWORD>(OBJID_CLIENT),
                                   __uuidof(IAccessible), reinterpret_cast<void**>(&object));
        return object;
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

    // On a screen of twice the DPI it lays itself out twice as large, and the caret follows.
    POINT caret = {};
    GetCaretPos(&caret);
    SendMessageW(flyout, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&placed));
    RECT scaled;
    GetWindowRect(flyout, &scaled);
    EXPECT_EQ(scaled.right - scaled.left, 2 * (placed.right - placed.left));
    EXPECT_EQ(scaled.bottom - scaled.top, 2 * (placed.bottom - placed.top));
    POINT moved = {};
    GetCaretPos(&moved);
    EXPECT_TRUE(caret.x > 0 && moved.x == 2 * caret.x && moved.y == 2 * caret.y);

    SendMessageW(appState.mainWindow, TrayCallbackMessage, 0, MAKELPARAM(NIN_KEYSELECT, 1));
    EXPECT_TRUE(IsWindow(flyout)) << "a repeated key select is not a second one";
    Select();
    EXPECT_FALSE(IsWindow(flyout));
    EXPECT_EQ(appState.calendarWindow, nullptr);
    WNDCLASSEXW left = {};
    left.cbSize = sizeof(left);
    EXPECT_FALSE(GetClassInfoExW(appState.instance, CalendarClass, &left)) << "class unregistered";
}

// Windows' order: the window that shows the icon takes the activation at the press, and the
// select of the release follows, sent, however long the press was. It swallows that select
// only; a flyout that lost the activation to any other window is closed by a click elsewhere.
TEST_F(CalendarWindowTest, APressOnTheIconThatDeactivatesTheFlyoutClosesItForGood) {
    // The taskbar: a window under the icon at (300, 400), which a press would activate.
    HWND taskbar = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, L"STATIC",
                                   L"taskbar", WS_POPUP | WS_VISIBLE | SS_NOTIFY, 250, 380, 100, 40,
                                   nullptr, nullptr, nullptr, nullptr);
    HWND taskbarPart = CreateWindowExW(0, L"STATIC", L"icons", WS_CHILD | WS_VISIBLE | SS_NOTIFY,
                                       40, 10, 20, 20, taskbar, nullptr, nullptr, nullptr);
    const struct {
        const char* what;
        HWND taker;
        bool closeHandledFirst; // the posted WM_CLOSE runs before the select comes
        bool reopens;
    } cases[] = {
        {"the taskbar took it", taskbar, true, false},
        {"a part of the taskbar, the select before the close", taskbarPart, false, false},
        {"another window took it", appState.mainWindow, true, true},
    };
    for (const auto& c : cases) {
        Select(300, 400);
        SendMessageW(appState.calendarWindow, WM_ACTIVATE, WA_INACTIVE,
                     reinterpret_cast<LPARAM>(c.taker));
        if (c.closeHandledFirst) {
            PumpMessages();
        }
        Select(300, 400);
        PumpMessages();
        EXPECT_EQ(appState.calendarWindow != nullptr, c.reopens) << c.what;
        Select(300, 400);
        EXPECT_NE(appState.calendarWindow != nullptr, c.reopens) << c.what << ", the next click";
        CloseCalendarFlyout();
    }
    DestroyWindow(taskbar);
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
        ReaderObject()->Release();
        Select();
    }
    PumpMessages();
    const ResourceCensus before = TakeResourceCensus();
    for (int round = 0; round < 200; ++round) {
        Select();
        ASSERT_NE(appState.calendarWindow, nullptr) << round;
        SendMessageW(appState.calendarWindow, WM_KEYDOWN, VK_NEXT, 0);
        UpdateWindow(appState.calendarWindow);
        IAccessible* object = ReaderObject(); // and a screen reader's object, with its DLLs
        ASSERT_NE(object, nullptr) << round;
        object->Release();
        Select();
        PumpMessages();
    }
    const ResourceCensus after = TakeResourceCensus();
    printf("GDI objects %d -> %d, heap blocks %zu -> %zu\n", before.gdiObjects, after.gdiObjects,
           before.heapBlocks, after.heapBlocks);
    EXPECT_EQ(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.heapBlocks, before.heapBlocks);
}

// What a screen reader hears of the flyout: its WinEvents (event, child id), taken by an
// out-of-context hook.
using Heard = std::pair<DWORD, LONG>;
std::vector<Heard> heard;

void CALLBACK Hear(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
    if (window == appState.calendarWindow && object == OBJID_CLIENT) {
        heard.emplace_back(event, child);
    }
}

// Out-of-context events arrive as messages: pumps until `count` came or five seconds passed.
void WaitToHear(size_t count) {
    for (int wait = 0; wait < 250 && heard.size() < count; ++wait) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
    }
}

VARIANT Child(LONG id) {
    VARIANT child;
    child.vt = VT_I4;
    child.lVal = id;
    return child;
}

std::wstring Take(BSTR text) {
    std::wstring taken = text != nullptr ? text : L"";
    SysFreeString(text);
    return taken;
}

std::wstring LocaleDate(WORD year, WORD month, WORD day, DWORD flags) {
    SYSTEMTIME date = {year, month, 0, day, 0, 0, 0, 0};
    wchar_t text[128] = L"";
    GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, flags, &date, nullptr, text, 128, nullptr);
    return text;
}

TEST_F(CalendarWindowTest, AScreenReaderReadsTheMonthTheDaysWithTheirWeeksAndHearsTheKeys) {
    SetToday(2026, 12, 7);
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_REORDER, EVENT_OBJECT_VALUECHANGE, nullptr,
                                         Hear, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    ASSERT_NE(hook, nullptr);
    heard.clear();
    Select();
    IAccessible* client = ReaderObject();
    ASSERT_NE(client, nullptr);
    VARIANT self = Child(CHILDID_SELF);
    VARIANT answer = {};
    BSTR text = nullptr;
    client->get_accRole(self, &answer);
    EXPECT_EQ(answer.lVal, ROLE_SYSTEM_TABLE);
    client->get_accName(self, &text);
    EXPECT_EQ(Take(text), LocaleDate(2026, 12, 1, DATE_YEARMONTH)) << "the title";
    client->get_accValue(self, &text);
    EXPECT_EQ(Take(text).rfind(L"Week 50: ", 0), 0u) << "the footer";
    LONG count = 0;
    client->get_accChildCount(&count);
    EXPECT_EQ(count, 44);
    WaitToHear(1);
    EXPECT_EQ(heard, (std::vector<Heard>{{EVENT_OBJECT_FOCUS, 8}})) << "the opening's focus";
    client->get_accFocus(&answer);
    EXPECT_EQ(answer.vt, VT_I4);
    EXPECT_EQ(answer.lVal, 8) << "today, selected";

    // The grid runs from Monday 30 November 2026 to Sunday 10 January 2027.
    const struct {
        LONG child;
        LONG role;
        WORD year, month, day; // or, for a button, its name
        int week;
        const wchar_t* name;
    } children[] = {
        {1, ROLE_SYSTEM_CELL, 2026, 11, 30, 49, nullptr},
        {8, ROLE_SYSTEM_CELL, 2026, 12, 7, 50, nullptr},
        {32, ROLE_SYSTEM_CELL, 2026, 12, 31, 53, nullptr},
        {42, ROLE_SYSTEM_CELL, 2027, 1, 10, 1, nullptr},
        {43, ROLE_SYSTEM_PUSHBUTTON, 0, 0, 0, 0, L"Previous month"},
        {44, ROLE_SYSTEM_PUSHBUTTON, 0, 0, 0, 0, L"Next month"},
    };
    for (const auto& expected : children) {
        const VARIANT child = Child(expected.child);
        client->get_accRole(child, &answer);
        EXPECT_EQ(answer.lVal, expected.role) << expected.child;
        client->get_accName(child, &text);
        const std::wstring name =
            expected.name != nullptr
                ? expected.name
                : LocaleDate(expected.year, expected.month, expected.day, DATE_LONGDATE) +
                      L", week " + std::to_wstring(expected.week);
        EXPECT_EQ(Take(text), name) << expected.child;
        client->get_accState(child, &answer);
        const LONG chosen = STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED;
        EXPECT_EQ(answer.lVal & chosen, expected.child == 8 ? chosen : 0) << expected.child;
        client->get_accDescription(child, &text);
        EXPECT_EQ(Take(text).empty(), expected.child != 8) << "today says so";
        LONG left = 0, top = 0, width = 0, height = 0;
        client->accLocation(&left, &top, &width, &height, child);
        client->accHitTest(left + width / 2, top + height / 2, &answer);
        EXPECT_EQ(answer.lVal, expected.child) << "found where it lies";
    }

    // A key move and a typed week number, as the screen reader hears them.
    heard.clear();
    PostMessageW(appState.calendarWindow, WM_KEYDOWN, VK_RIGHT, 0);
    PostMessageW(appState.calendarWindow, WM_CHAR, L'5', 0);
    WaitToHear(3);
    EXPECT_EQ(heard, (std::vector<Heard>{{EVENT_OBJECT_FOCUS, 9},
                                         {EVENT_OBJECT_SELECTION, 9},
                                         {EVENT_OBJECT_VALUECHANGE, CHILDID_SELF}}));
    POINT cell = {};
    LONG width = 0, height = 0;
    client->accLocation(&cell.x, &cell.y, &width, &height, Child(9));
    ScreenToClient(appState.calendarWindow, &cell);
    POINT caret = {};
    GetCaretPos(&caret);
    EXPECT_EQ(caret.x, cell.x) << "Magnifier follows the caret to the new day";
    EXPECT_EQ(caret.y, cell.y);

    // The buttons' default actions move the month, and the table's name says so.
    const struct {
        LONG button;
        WORD year;
        WORD month;
    } presses[] = {{44, 2027, 1}, {43, 2026, 12}};
    for (const auto& press : presses) {
        client->get_accDefaultAction(Child(press.button), &text);
        EXPECT_EQ(Take(text), L"Press");
        heard.clear();
        EXPECT_EQ(client->accDoDefaultAction(Child(press.button)), S_OK);
        WaitToHear(2);
        ASSERT_GE(heard.size(), 2u);
        EXPECT_EQ(heard[0], Heard(EVENT_OBJECT_NAMECHANGE, CHILDID_SELF));
        EXPECT_EQ(heard[1], Heard(EVENT_OBJECT_REORDER, CHILDID_SELF)) << "the days moved";
        client->get_accName(self, &text);
        EXPECT_EQ(Take(text), LocaleDate(press.year, press.month, 1, DATE_YEARMONTH));
    }

    Select();
    EXPECT_EQ(client->get_accName(self, &text), CO_E_OBJNOTCONNECTED) << "the flyout closed";
    IDispatch* gone = nullptr;
    EXPECT_EQ(client->get_accChild(Child(8), &gone), CO_E_OBJNOTCONNECTED);
    client->Release();
    UnhookWinEvent(hook);
}

// Days and buttons past the years shown cannot be chosen; a client's other questions get the
// answers the interface defines.
TEST_F(CalendarWindowTest, TheEdgesOfTheYearsAreUnavailableAndTheOtherAnswersKeepTheContract) {
    const struct {
        WORD year, month; // the month shown
        LONG child;
        bool available;
    } edges[] = {
        {9999, 12, 33, true},  // 31 December 9999
        {9999, 12, 34, false}, // 1 January 10000
        {9999, 12, 44, false}, // no month after
        {1601, 1, 43, false},  // no month before
        {1601, 1, 44, true},
    };
    for (const auto& edge : edges) {
        SetToday(edge.year, edge.month, 15);
        Select();
        IAccessible* client = ReaderObject();
        ASSERT_NE(client, nullptr);
        VARIANT state = {};
        client->get_accState(Child(edge.child), &state);
        EXPECT_EQ((state.lVal & STATE_SYSTEM_UNAVAILABLE) == 0, edge.available) << edge.child;
        const HRESULT chosen = edge.child <= 42
                                   ? client->accSelect(SELFLAG_TAKEFOCUS, Child(edge.child))
                                   : client->accDoDefaultAction(Child(edge.child));
        EXPECT_EQ(chosen == S_OK, edge.available) << edge.child;
        client->Release();
        Select();
    }

    Select();
    IAccessible* client = ReaderObject();
    ASSERT_NE(client, nullptr);
    for (const LONG flags :
         {SELFLAG_NONE, SELFLAG_ADDSELECTION, SELFLAG_TAKEFOCUS | SELFLAG_EXTENDSELECTION}) {
        EXPECT_EQ(client->accSelect(flags, Child(9)), E_INVALIDARG) << flags;
    }
    const struct {
        LONG from;
        LONG direction;
        LONG to; // 0: none
    } moves[] = {{9, NAVDIR_UP, 2},     {9, NAVDIR_DOWN, 16}, {9, NAVDIR_LEFT, 8},
                 {9, NAVDIR_RIGHT, 10}, {7, NAVDIR_RIGHT, 0}, {36, NAVDIR_DOWN, 0}};
    for (const auto& move : moves) {
        VARIANT end = {};
        const HRESULT found = client->accNavigate(move.direction, Child(move.from), &end);
        EXPECT_EQ(found == S_OK ? end.lVal : 0, move.to) << move.from << " " << move.direction;
    }
    LPOLESTR name = const_cast<LPOLESTR>(L"accName");
    DISPID id = 7;
    EXPECT_TRUE(FAILED(client->GetIDsOfNames(IID_NULL, &name, 1, 0, &id)) && id == DISPID_UNKNOWN);
    VARIANT result = Child(7);
    UINT badArgument = 5;
    DISPPARAMS none = {};
    EXPECT_TRUE(FAILED(client->Invoke(DISPID_ACC_NAME, IID_NULL, 0, DISPATCH_PROPERTYGET, &none,
                                      &result, nullptr, &badArgument)) &&
                result.vt == VT_EMPTY && badArgument == 0);
    client->Release();
}

const wchar_t* missingLibrary = L"";

HMODULE WINAPI LoadAllBut(LPCWSTR name) {
    return lstrcmpiW(name, missingLibrary) == 0
               ? nullptr
               : LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

TEST_F(CalendarWindowTest, WithoutOneOfItsDllsTheFlyoutIsAPlainWindowAndKeepsNothing) {
    Select();
    ReaderObject()->Release(); // the platform's first-use allocations
    Select();
    platform.loadSystemLibrary = LoadAllBut;
    for (const wchar_t* missing : {L"ole32.dll", L"oleaut32.dll", L"oleacc.dll", L""}) {
        missingLibrary = missing;
        PumpMessages();
        const ResourceCensus before = TakeResourceCensus();
        Select();
        IAccessible* object = ReaderObject();
        ASSERT_NE(object, nullptr) << "the system's own object stands in";
        VARIANT role = {};
        object->get_accRole(Child(CHILDID_SELF), &role);
        EXPECT_EQ(role.lVal, *missing != L'\0' ? ROLE_SYSTEM_CLIENT : ROLE_SYSTEM_TABLE);
        object->Release();
        Select();
        PumpMessages();
        EXPECT_EQ(TakeResourceCensus().heapBlocks, before.heapBlocks) << "missing " << missing;
    }
}

} // namespace
