#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/shell_recorder.h"
#include "common/app_state.h"
#include "common/foreground_return.h"
#include "support/main_window_host.h"
#include "common/strings.h"
#include "icon/tray_icon.h"
#include "support/platform_fixture.h"

namespace {

using Events = std::vector<std::string>;
const Events RefreshAndSchedule = {"NIM_MODIFY", "KillTimer 1", "SetTimer 1"};
const Events AddAnew = {"NIM_ADD", "NIM_SETVERSION"};
const Events Nothing = {};

// The real window procedure on a real hidden tool window, receiving real messages.
class MainWindowTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        appState = AppState{};
        appState.instance = GetModuleHandleW(nullptr);
        appState.settings.additionalLine = HeapStringDuplicate(L"w");
        appState.settings.linePosition = Above;
        wcscpy(appState.settings.fontFace, L"Lekton");
        appState.taskbarCreatedMessage = RegisterWindowMessageW(L"TaskbarCreated");
        shell_recorder::Start();

        window = CreateTestMainWindow(ClassName);
        ASSERT_NE(window, nullptr);
        appState.mainWindow = window;

        // Start-up's first refresh: the icon is on show.
        RefreshTrayIcon();
        ASSERT_EQ(appState.iconAdded, 1);
        shell_recorder::events.clear();
        shell_recorder::defaultCalls.clear();
    }

    void TearDown() override {
        if (IsWindow(window)) {
            DestroyWindow(window);
        }
        shell_recorder::DropPendingQuit();
        shell_recorder::Stop();
        UnregisterClassW(ClassName, appState.instance);
        if (appState.currentIcon != nullptr) {
            DestroyIcon(appState.currentIcon);
        }
        FreeHeapBlock(appState.settings.additionalLine);
        appState = AppState{};
        PlatformTest::TearDown();
    }

    // Sends the message and checks its result, what it set off, and that it did not go on to
    // DefWindowProcW.
    void ExpectHandled(UINT message, WPARAM wParam, LPARAM lParam, LRESULT result,
                       const Events& events) {
        shell_recorder::events.clear();
        shell_recorder::defaultCalls.clear();
        EXPECT_EQ(SendMessageW(window, message, wParam, lParam), result)
            << message << " " << wParam << " " << lParam;
        EXPECT_EQ(shell_recorder::events, events) << message << " " << wParam << " " << lParam;
        // Other messages may pass by the way (the menu activates the window); this one not.
        EXPECT_EQ(shell_recorder::DefaultCallsFor(window, message), 0)
            << message << " " << wParam << " " << lParam;
    }

    static constexpr const wchar_t* ClassName = L"Kivet.MainWindowTest";
    HWND window = nullptr;
};

} // namespace

TEST_F(MainWindowTest, TaskbarCreatedAddsTheIconAnewAndLeavesTheTimer) {
    ExpectHandled(appState.taskbarCreatedMessage, 0, 0, 0, AddAnew);
    EXPECT_EQ(appState.iconAdded, 1);

    // A new taskbar that does not take the icon yet: the next event of any kind tries again.
    shell_recorder::addResult = FALSE;
    ExpectHandled(appState.taskbarCreatedMessage, 0, 0, 0, Events{"NIM_ADD"});
    EXPECT_EQ(appState.iconAdded, 0);
    shell_recorder::addResult = TRUE;
    ExpectHandled(WM_TIMECHANGE, 0, 0, 0,
                  Events{"NIM_ADD", "NIM_SETVERSION", "KillTimer 1", "SetTimer 1"});
}

TEST_F(MainWindowTest, TaskbarCreatedIsComparedBeforeEveryFixedMessage) {
    // The registered id is whatever the system gave; were it a fixed message's number, the
    // taskbar reaction wins. WM_CLOSE would otherwise destroy the window by default processing.
    appState.taskbarCreatedMessage = WM_CLOSE;
    ExpectHandled(WM_CLOSE, 0, 0, 0, AddAnew);
    EXPECT_TRUE(IsWindow(window));
    appState.taskbarCreatedMessage = WM_TIMER;
    ExpectHandled(WM_TIMER, MidnightTimerId, 0, 0, AddAnew);
}

TEST_F(MainWindowTest, UnregisteredTaskbarMessageDoesNotTurnNullIntoARefresh) {
    appState.taskbarCreatedMessage = 0;
    shell_recorder::events.clear();
    SendMessageW(window, WM_NULL, 0, 0);
    EXPECT_EQ(shell_recorder::events, Nothing);
    EXPECT_EQ(shell_recorder::DefaultCallsFor(window, WM_NULL), 1);
}

TEST_F(MainWindowTest, DestroyRemovesTheIconThenPostsQuitWithZero) {
    shell_recorder::events.clear();
    ASSERT_TRUE(DestroyWindow(window));
    EXPECT_EQ(shell_recorder::events, Events{"NIM_DELETE"});
    EXPECT_FALSE(shell_recorder::quitPendingAtDelete);
    EXPECT_EQ(appState.iconAdded, 0);
    MSG quit;
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
    EXPECT_EQ(shell_recorder::DefaultCallsFor(window, WM_DESTROY), 0);
}

TEST_F(MainWindowTest, CloseGoesToDefaultProcessingAndEndsLikeExit) {
    shell_recorder::events.clear();
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(shell_recorder::DefaultCallsFor(window, WM_CLOSE), 1);
    EXPECT_EQ(shell_recorder::events, Events{"NIM_DELETE"});
    MSG quit;
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 0u);
}

TEST_F(MainWindowTest, QueryEndSessionAgreesAndLeavesTheIcon) {
    ExpectHandled(WM_QUERYENDSESSION, 0, 0, TRUE, Nothing);
    ExpectHandled(WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, TRUE, Nothing);
    ExpectHandled(WM_ENDSESSION, FALSE, ENDSESSION_CLOSEAPP, 0, Nothing); // it goes on
    EXPECT_EQ(appState.iconAdded, 1);
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(MainWindowTest, SettingAndTimeChangesRefreshThenReschedule) {
    static const wchar_t area[] = L"intl";
    ExpectHandled(WM_SETTINGCHANGE, 0, 0, 0, RefreshAndSchedule);
    ExpectHandled(WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, reinterpret_cast<LPARAM>(area), 0,
                  RefreshAndSchedule);
    ExpectHandled(WM_TIMECHANGE, 0, 0, 0, RefreshAndSchedule);
    ExpectHandled(WM_TIMECHANGE, 12345, -1, 0, RefreshAndSchedule);
}

TEST_F(MainWindowTest, OnlyTheMidnightTimerRefreshes) {
    ExpectHandled(WM_TIMER, MidnightTimerId, 0, 0, RefreshAndSchedule);
    ExpectHandled(WM_TIMER, 2, 0, 0, Nothing);
    ExpectHandled(WM_TIMER, 0, 0, 0, Nothing);
    // The whole wParam counts, not its low part.
    ExpectHandled(WM_TIMER, static_cast<WPARAM>(0x100000001ull), 0, 0, Nothing);
}

TEST_F(MainWindowTest, PowerEventsAlwaysAnswerTrueAndOnlyResumeRefreshes) {
    ExpectHandled(WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0, TRUE, RefreshAndSchedule);
    ExpectHandled(WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0, TRUE, RefreshAndSchedule);
    ExpectHandled(WM_POWERBROADCAST, PBT_APMSUSPEND, 0, TRUE, Nothing);
    ExpectHandled(WM_POWERBROADCAST, PBT_APMPOWERSTATUSCHANGE, 0, TRUE, Nothing);
    ExpectHandled(WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, 0, TRUE, Nothing);
    ExpectHandled(WM_POWERBROADCAST, static_cast<WPARAM>(0x100000012ull), 0, TRUE, Nothing);
}

// Under version 4 one right click is WM_RBUTTONUP and then WM_CONTEXTMENU, and Shift+F10 or the
// menu key WM_CONTEXTMENU alone, at the anchor in wParam; where the version could not be set,
// WM_RBUTTONUP alone comes. One menu each time, whatever the high word. From the keyboard the
// keys go back to the icon; from the mouse to the window the user was in.
TEST_F(MainWindowTest, OneMenuPerRightClickOrMenuKeyAtItsPlace) {
    struct Case {
        const char* what;
        BOOL versionSet;
        std::vector<UINT> events;
        Events expected;
        POINT at; // where the menu opens; (-1, -1): at the cursor
    };
    const WPARAM anchor = MAKEWPARAM(static_cast<WORD>(-5), 700);
    const Case cases[] = {
        {"right click", TRUE, {WM_RBUTTONUP, WM_CONTEXTMENU}, {"TrackPopupMenu"}, {-5, 700}},
        {"menu key", TRUE, {WM_CONTEXTMENU}, {"TrackPopupMenu", "NIM_SETFOCUS"}, {-5, 700}},
        {"version 0", FALSE, {WM_RBUTTONUP}, {"TrackPopupMenu"}, {-1, -1}},
    };
    HWND elsewhere = CreateWindowExW(0, L"STATIC", L"elsewhere", WS_POPUP | WS_VISIBLE, 0, 0, 50,
                                     50, nullptr, nullptr, nullptr, nullptr);
    for (const Case& row : cases) {
        shell_recorder::setVersionResult = row.versionSet;
        ExpectHandled(appState.taskbarCreatedMessage, 0, 0, 0, AddAnew);
        SetForegroundWindow(elsewhere);
        POINT cursor = {};
        GetCursorPos(&cursor);
        shell_recorder::events.clear();
        for (UINT event : row.events) {
            SendMessageW(window, TrayCallbackMessage, anchor, MAKELPARAM(event, 7));
        }
        EXPECT_EQ(shell_recorder::events, row.expected) << row.what;
        EXPECT_EQ(shell_recorder::menuOwner, window) << row.what;
        const POINT at = row.at.x == -1 ? cursor : row.at;
        EXPECT_EQ(shell_recorder::menuAt.x, at.x) << row.what;
        EXPECT_EQ(shell_recorder::menuAt.y, at.y) << row.what;
        EXPECT_EQ(GetForegroundWindow() == elsewhere, row.expected.size() == 1) << row.what;
        EXPECT_EQ(appState.keyboardNote.noted, 0) << row.what << ": the note outlived the menu";
    }
    DestroyWindow(elsewhere);
}

// While a modal window of Kivet's is open, every click, select or menu request on the icon
// brings it to the front and opens nothing: no menu, no flyout.
TEST_F(MainWindowTest, AModalWindowTakesEveryClickOnTheIcon) {
    HWND modal = CreateWindowExW(0, L"STATIC", L"modal", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                 window, nullptr, nullptr, nullptr);
    NoteKeyboardOwner(false, true);
    const UINT requests[] = {WM_LBUTTONUP, NIN_SELECT, NIN_KEYSELECT, WM_RBUTTONUP, WM_CONTEXTMENU};
    for (UINT event : requests) {
        HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 60, 0, 50, 50,
                                     nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(other);
        ExpectHandled(TrayCallbackMessage, 0, MAKELPARAM(event, TrayIconId), 0, Nothing);
        EXPECT_EQ(appState.calendarWindow, nullptr) << event;
        EXPECT_EQ(GetForegroundWindow(), modal) << event;
        DestroyWindow(other);
    }
    ReturnKeyboard(true);
    DestroyWindow(modal);
}

TEST_F(MainWindowTest, OtherTrayEventsDoNothing) {
    const UINT events[] = {WM_LBUTTONUP,   WM_LBUTTONDOWN,      WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
                           WM_MOUSEMOVE,   NIN_SELECT,          NIN_KEYSELECT,    NIN_POPUPOPEN,
                           NIN_POPUPCLOSE, NIN_BALLOONUSERCLICK};
    for (UINT event : events) {
        ExpectHandled(TrayCallbackMessage, 0, MAKELPARAM(event, TrayIconId), 0, Nothing);
    }
    // The event lies in the low word alone: the context-menu number in the high word is not it.
    ExpectHandled(TrayCallbackMessage, 0, MAKELPARAM(WM_LBUTTONUP, WM_CONTEXTMENU), 0, Nothing);
}

TEST_F(MainWindowTest, EverythingElseGetsDefaultProcessingAndItsResult) {
    shell_recorder::defaultCalls.clear();
    EXPECT_TRUE(SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"renamed")));
    wchar_t text[32] = {};
    EXPECT_EQ(SendMessageW(window, WM_GETTEXT, 32, reinterpret_cast<LPARAM>(text)), 7);
    EXPECT_STREQ(text, L"renamed");
    EXPECT_EQ(shell_recorder::DefaultCallsFor(window, WM_SETTEXT), 1);
    EXPECT_EQ(shell_recorder::DefaultCallsFor(window, WM_GETTEXT), 1);
    EXPECT_EQ(SendMessageW(window, WM_APP + 2, 1, 2), 0);
    EXPECT_EQ(shell_recorder::DefaultCallsFor(window, WM_APP + 2), 1);
    EXPECT_TRUE(shell_recorder::events.empty());

    // During creation, before the program knows the window: WM_NCCREATE's default answer lets
    // the window be made.
    shell_recorder::defaultCalls.clear();
    HWND second = CreateWindowExW(WS_EX_TOOLWINDOW, ClassName, L"Kivet", WS_POPUP, 0, 0, 0, 0,
                                  nullptr, nullptr, appState.instance, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(shell_recorder::DefaultCallsFor(second, WM_NCCREATE), 1);
    EXPECT_EQ(shell_recorder::DefaultCallsFor(second, WM_CREATE), 1);
    DestroyWindow(second); // its WM_DESTROY removes the icon like any destruction
    shell_recorder::DropPendingQuit();
}
