#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/run_application.h"
#include "app/shell_recorder.h"
#include "common/app_state.h"
#include "support/platform_fixture.h"
#include "support/registry_sandbox.h"
#include "support/resource_census.h"

namespace {

using Events = std::vector<std::string>;
const wchar_t MutexName[] = L"Local\\PellowDune.Kivet.SingleInstance";
const wchar_t ClassName[] = L"PellowDune.Kivet.Window";

// What the first SetTimer of start-up does besides being recorded: by then the window exists,
// the first refresh is done and the loop is about to run.
std::function<void()> onFirstTimer;
int timersSet = 0;

UINT_PTR WINAPI SetTimerAndAct(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC procedure) {
    shell_recorder::SetTimer(window, id, milliseconds, procedure);
    if (timersSet++ == 0 && onFirstTimer) {
        onFirstTimer();
    }
    return id;
}

void WINAPI FixedLocalTime(LPSYSTEMTIME time) {
    *time = SYSTEMTIME{};
    time->wYear = 2026;
    time->wMonth = 1;
    time->wDay = 29;
    time->wHour = 10;
}

LPVOID WINAPI NoMemory(HANDLE, DWORD, SIZE_T) {
    return nullptr;
}

// Whether another process or test could claim the single-instance mutex now.
bool MutexFree() {
    HANDLE probe = CreateMutexW(nullptr, FALSE, MutexName);
    const bool free = probe != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
    if (probe != nullptr) {
        CloseHandle(probe);
    }
    return free;
}

bool ClassRegistered() {
    WNDCLASSEXW info = {};
    info.cbSize = sizeof(info);
    return GetClassInfoExW(GetModuleHandleW(nullptr), ClassName, &info) != FALSE;
}

class RunApplicationTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        ASSERT_TRUE(BeginRegistrySandbox());
        shell_recorder::Start();
        platform.setTimer = SetTimerAndAct;
        platform.getLocalTime = FixedLocalTime;
        onFirstTimer = nullptr;
        timersSet = 0;
        instance = GetModuleHandleW(nullptr);
    }
    void TearDown() override {
        if (IsWindow(appState.mainWindow)) {
            DestroyWindow(appState.mainWindow);
        }
        shell_recorder::DropPendingQuit();
        shell_recorder::Stop();
        UnregisterClassW(ClassName, instance);
        EndRegistrySandbox();
        PlatformTest::TearDown();
    }
    HINSTANCE instance = nullptr;
};

} // namespace

TEST_F(RunApplicationTest, StartsShowsTheIconAndShutsDownInOrderOnClose) {
    ASSERT_EQ(WriteTestDword(L"Software\\Pellow Dune\\Kivet", L"LeadingZero", 1), ERROR_SUCCESS);
    void* additionalLine = nullptr;
    onFirstTimer = [&] {
        HWND window = appState.mainWindow;
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(appState.instance, instance);
        EXPECT_EQ(appState.taskbarCreatedMessage, RegisterWindowMessageW(L"TaskbarCreated"));
        EXPECT_EQ(FindWindowW(ClassName, L"Kivet"), window);
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)) & ~WS_CLIPSIBLINGS,
                  static_cast<DWORD>(WS_POPUP));
        EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE), WS_EX_TOOLWINDOW);
        EXPECT_FALSE(IsWindowVisible(window));
        EXPECT_EQ(GetParent(window), nullptr);
        RECT bounds;
        GetWindowRect(window, &bounds);
        EXPECT_EQ(bounds.right - bounds.left, 0);
        EXPECT_EQ(bounds.bottom - bounds.top, 0);
        WNDCLASSEXW info = {};
        info.cbSize = sizeof(info);
        ASSERT_TRUE(GetClassInfoExW(instance, ClassName, &info));
        EXPECT_EQ(info.lpfnWndProc, MainWindowProc);
        EXPECT_EQ(info.style, 0u);
        EXPECT_EQ(info.cbClsExtra, 0);
        EXPECT_EQ(info.cbWndExtra, 0);
        EXPECT_EQ(info.hIcon, nullptr);
        EXPECT_EQ(info.hCursor, nullptr);
        EXPECT_EQ(info.hbrBackground, nullptr);
        EXPECT_EQ(info.lpszMenuName, nullptr);
        EXPECT_FALSE(MutexFree());
        additionalLine = appState.settings.additionalLine;
        // As Windows would close it from outside.
        PostMessageW(window, WM_CLOSE, 0, 0);
    };

    EXPECT_EQ(RunApplication(instance), 0);

    EXPECT_EQ(shell_recorder::events, (Events{"NIM_ADD", "NIM_SETVERSION", "KillTimer 1",
                                              "SetTimer 1", "NIM_DELETE", "KillTimer 1"}));
    ASSERT_GE(shell_recorder::records.size(), 1u);
    // The settings were loaded before the first refresh.
    EXPECT_STREQ(shell_recorder::records[0].szTip, L"Kivet 0.2.1 \x2014 ISO 2026-W05 \x2014 05");
    EXPECT_FALSE(IconAlive(shell_recorder::records[0].hIcon));
    ASSERT_NE(additionalLine, nullptr);
    EXPECT_FALSE(HeapBlockAllocated(additionalLine));
    EXPECT_FALSE(IsWindow(appState.mainWindow));
    EXPECT_EQ(appState.iconAdded, 0);
    EXPECT_TRUE(MutexFree());
}

TEST_F(RunApplicationTest, ExitCodeIsTheQuitCodeAndShutdownRemovesTheIcon) {
    for (int code : {7, -2}) {
        shell_recorder::events.clear();
        timersSet = 0;
        onFirstTimer = [code] { PostQuitMessage(code); };
        EXPECT_EQ(RunApplication(instance), code);
        // No WM_DESTROY came: shutdown itself takes the icon away.
        EXPECT_EQ(shell_recorder::events, (Events{"NIM_ADD", "NIM_SETVERSION", "KillTimer 1",
                                                  "SetTimer 1", "KillTimer 1", "NIM_DELETE"}));
        EXPECT_FALSE(IconAlive(shell_recorder::records[0].hIcon));
        // The window is left to the process's end; the class stays registered.
        EXPECT_TRUE(IsWindow(appState.mainWindow));
        DestroyWindow(appState.mainWindow);
        shell_recorder::DropPendingQuit();
        UnregisterClassW(ClassName, instance);
        EXPECT_TRUE(MutexFree());
    }
}

TEST_F(RunApplicationTest, RunsWithoutTaskbarAndShowsTheIconWhenOneAnnouncesItself) {
    shell_recorder::addResult = FALSE;
    onFirstTimer = [] {
        // The taskbar arrives: the icon is added at once.
        shell_recorder::addResult = TRUE;
        PostMessageW(HWND_BROADCAST, appState.taskbarCreatedMessage, 0, 0);
        PostMessageW(appState.mainWindow, WM_CLOSE, 0, 0);
    };
    EXPECT_EQ(RunApplication(instance), 0);
    EXPECT_EQ(shell_recorder::events, (Events{"NIM_ADD", "KillTimer 1", "SetTimer 1", "NIM_ADD",
                                              "NIM_SETVERSION", "NIM_DELETE", "KillTimer 1"}));
}

// An installer's Restart Manager asks Kivet to close so that it can replace Kivet.exe: the icon
// goes and the program ends with 0, to be started again (start-up asked for that, and only
// for that: not after a crash, a hang or a reboot).
TEST_F(RunApplicationTest, TheRestartManagerEndsItWithZeroAndMayStartItAgain) {
    platform.registerApplicationRestart = shell_recorder::RegisterApplicationRestart;
    onFirstTimer = [] {
        EXPECT_EQ(SendMessageW(appState.mainWindow, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP),
                  TRUE);
        PostMessageW(appState.mainWindow, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
    };
    EXPECT_EQ(RunApplication(instance), 0);
    EXPECT_EQ(shell_recorder::events,
              (Events{"NIM_ADD", "NIM_SETVERSION", "KillTimer 1", "SetTimer 1",
                      "RegisterApplicationRestart null 11", "NIM_DELETE", "KillTimer 1"}));
    EXPECT_FALSE(IsWindow(appState.mainWindow));
}

TEST_F(RunApplicationTest, SecondInstanceEndsAtOnceWithZero) {
    HANDLE first = CreateMutexW(nullptr, TRUE, MutexName);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(RunApplication(instance), 0);
    EXPECT_TRUE(shell_recorder::events.empty());
    EXPECT_FALSE(ClassRegistered());
    EXPECT_EQ(appState.mainWindow, nullptr);
    CloseHandle(first);
    EXPECT_TRUE(MutexFree()); // the second one closed its handle too
}

TEST_F(RunApplicationTest, MutexThatCannotBeCreatedEndsWithZero) {
    // The name is taken by another kind of object: no mutex handle comes back.
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, MutexName);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(RunApplication(instance), 0);
    EXPECT_TRUE(shell_recorder::events.empty());
    EXPECT_FALSE(ClassRegistered());
    CloseHandle(event);
}

TEST_F(RunApplicationTest, NoMemoryForTheSettingsEndsWithOne) {
    platform.heapAlloc = NoMemory;
    EXPECT_EQ(RunApplication(instance), 1);
    EXPECT_EQ(appState.settings.additionalLine, nullptr);
    EXPECT_FALSE(ClassRegistered());
    EXPECT_TRUE(shell_recorder::events.empty());
    EXPECT_TRUE(MutexFree());
}

TEST_F(RunApplicationTest, ClassThatCannotBeRegisteredEndsWithOne) {
    WNDCLASSEXW taken = {};
    taken.cbSize = sizeof(taken);
    taken.lpfnWndProc = DefWindowProcW;
    taken.hInstance = instance;
    taken.lpszClassName = ClassName;
    ASSERT_NE(RegisterClassExW(&taken), 0);
    EXPECT_EQ(RunApplication(instance), 1);
    EXPECT_EQ(appState.mainWindow, nullptr);
    EXPECT_TRUE(shell_recorder::events.empty());
    EXPECT_EQ(appState.settings.additionalLine, nullptr);
    EXPECT_TRUE(MutexFree());
}

namespace {
LRESULT CALLBACK RefuseKivetWindows(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const CBT_CREATEWNDW* creation = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
        const LPCWSTR className = creation->lpcs->lpszClass;
        if (!IS_INTRESOURCE(className) && lstrcmpW(className, ClassName) == 0) {
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
} // namespace

TEST_F(RunApplicationTest, WindowThatCannotBeCreatedEndsWithOne) {
    HHOOK hook = SetWindowsHookExW(WH_CBT, RefuseKivetWindows, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    EXPECT_EQ(RunApplication(instance), 1);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(appState.mainWindow, nullptr);
    EXPECT_TRUE(shell_recorder::events.empty());
    EXPECT_TRUE(MutexFree());
}
