#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <random>
#include <set>
#include <vector>

#include "common/app_state.h"
#include "common/strings.h"
#include "icon/icon_test_support.h"
#include "icon/tray_icon.h"
#include "icon/week_icon.h"
#include "support/platform_fixture.h"
#include "support/registry_sandbox.h"
#include "support/resource_census.h"

namespace {

struct ShellCall {
    DWORD message;
    NOTIFYICONDATAW data;
    bool previousIconAlive; // whether currentIcon was still a live icon during the call
};

std::vector<ShellCall> shellCalls;
BOOL addResult = TRUE;
BOOL modifyResult = TRUE;
SYSTEMTIME today;
std::vector<void*> allocations;
int allocationsAllowed = 1000;

BOOL WINAPI RecordShellCall(DWORD message, PNOTIFYICONDATAW data) {
    shellCalls.push_back({message, *data, IconAlive(appState.currentIcon)});
    if (message == NIM_ADD) {
        return addResult;
    }
    return message == NIM_MODIFY ? modifyResult : TRUE;
}

void WINAPI GivenLocalTime(LPSYSTEMTIME time) {
    *time = today;
}

LPVOID WINAPI CountedHeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
    if (allocationsAllowed-- <= 0) {
        return nullptr;
    }
    void* block = HeapAlloc(heap, flags, bytes);
    allocations.push_back(block);
    return block;
}

SYSTEMTIME Date(int year, int month, int day) {
    SYSTEMTIME date = {};
    date.wYear = static_cast<WORD>(year);
    date.wMonth = static_cast<WORD>(month);
    date.wDay = static_cast<WORD>(day);
    date.wHour = 12;
    return date;
}

class TrayIconTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        window = CreateWindowExW(0, L"STATIC", L"icon owner", WS_POPUP, 0, 0, 0, 0, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        appState = AppState{};
        appState.mainWindow = window;
        appState.settings.additionalLine = HeapStringDuplicate(L"w");
        appState.settings.linePosition = Above;
        wcscpy(appState.settings.fontFace, L"Lekton");
        shellCalls.clear();
        allocations.clear();
        allocationsAllowed = 1000;
        addResult = TRUE;
        modifyResult = TRUE;
        today = Date(2026, 12, 7);
        platform.shellNotifyIcon = RecordShellCall;
        platform.getLocalTime = GivenLocalTime;
        platform.heapAlloc = CountedHeapAlloc;
    }
    void TearDown() override {
        EndRegistrySandbox();
        if (appState.currentIcon != nullptr) {
            DestroyIcon(appState.currentIcon);
        }
        FreeHeapBlock(appState.settings.additionalLine);
        DestroyWindow(window);
        appState = AppState{};
        PlatformTest::TearDown();
    }

    // The record that adding or modifying must carry: everything zero but these fields.
    NOTIFYICONDATAW ExpectedRecord(HICON icon, const wchar_t* tip) {
        NOTIFYICONDATAW data;
        ZeroMemory(&data, sizeof(data));
        data.cbSize = 976;
        data.hWnd = window;
        data.uID = 1;
        data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
        data.uCallbackMessage = 0x8001;
        data.hIcon = icon;
        wcscpy(data.szTip, tip);
        return data;
    }

    HWND window = nullptr;
};

void ExpectSameRecord(const NOTIFYICONDATAW& actual, const NOTIFYICONDATAW& expected) {
    EXPECT_EQ(actual.cbSize, expected.cbSize);
    EXPECT_EQ(actual.hWnd, expected.hWnd);
    EXPECT_EQ(actual.uID, expected.uID);
    EXPECT_EQ(actual.uFlags, expected.uFlags);
    EXPECT_EQ(actual.uCallbackMessage, expected.uCallbackMessage);
    EXPECT_EQ(actual.hIcon, expected.hIcon);
    EXPECT_STREQ(actual.szTip, expected.szTip);
    EXPECT_EQ(actual.uVersion, expected.uVersion);
    // Every other byte too, the unused tail of szTip included.
    EXPECT_EQ(memcmp(&actual, &expected, sizeof(actual)), 0);
}

} // namespace

TEST_F(TrayIconTest, FirstRefreshAddsAndSetsVersionFourLaterOnesModify) {
    RefreshTrayIcon();
    ASSERT_EQ(shellCalls.size(), 2u);
    HICON first = appState.currentIcon;
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(appState.iconAdded, 1);
    EXPECT_EQ(shellCalls[0].message, static_cast<DWORD>(NIM_ADD));
    NOTIFYICONDATAW expected = ExpectedRecord(first, L"Kivet 0.2.1 \x2014 ISO 2026-W50 \x2014 50");
    ExpectSameRecord(shellCalls[0].data, expected);
    EXPECT_EQ(shellCalls[1].message, static_cast<DWORD>(NIM_SETVERSION));
    expected.uVersion = NOTIFYICON_VERSION_4;
    ExpectSameRecord(shellCalls[1].data, expected);

    today = Date(2026, 1, 29);
    appState.settings.leadingZero = 1;
    shellCalls.clear();
    RefreshTrayIcon();
    ASSERT_EQ(shellCalls.size(), 1u);
    EXPECT_EQ(shellCalls[0].message, static_cast<DWORD>(NIM_MODIFY));
    HICON second = appState.currentIcon;
    EXPECT_NE(second, first);
    ExpectSameRecord(shellCalls[0].data,
                     ExpectedRecord(second, L"Kivet 0.2.1 \x2014 ISO 2026-W05 \x2014 05"));

    // The label buffer of each refresh was 8 zero-filled bytes and is gone again.
    ASSERT_FALSE(allocations.empty());
    for (void* block : allocations) {
        EXPECT_FALSE(HeapBlockAllocated(block));
    }
}

TEST_F(TrayIconTest, ReplacedIconIsDestroyedOnlyAfterTheNewOneWasSent) {
    RefreshTrayIcon();
    HICON first = appState.currentIcon;
    shellCalls.clear();
    RefreshTrayIcon();
    ASSERT_EQ(shellCalls.size(), 1u);
    EXPECT_TRUE(shellCalls[0].previousIconAlive);
    EXPECT_FALSE(IconAlive(first));
    EXPECT_TRUE(IconAlive(appState.currentIcon));

    // A failed modification changes nothing here: the new icon still takes over.
    HICON second = appState.currentIcon;
    modifyResult = FALSE;
    RefreshTrayIcon();
    EXPECT_NE(appState.currentIcon, second);
    EXPECT_FALSE(IconAlive(second));
    EXPECT_TRUE(IconAlive(appState.currentIcon));
    EXPECT_EQ(appState.iconAdded, 1);
}

TEST_F(TrayIconTest, FailedAddKeepsThePreviousIconAndTriesAgainNextTime) {
    addResult = FALSE;
    RefreshTrayIcon();
    ASSERT_EQ(shellCalls.size(), 1u); // no version without an icon
    EXPECT_EQ(shellCalls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_FALSE(IconAlive(shellCalls[0].data.hIcon));
    EXPECT_EQ(appState.currentIcon, nullptr);
    EXPECT_EQ(appState.iconAdded, 0);

    addResult = TRUE;
    shellCalls.clear();
    RefreshTrayIcon();
    ASSERT_EQ(shellCalls.size(), 2u);
    EXPECT_EQ(shellCalls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(shellCalls[1].message, static_cast<DWORD>(NIM_SETVERSION));
    HICON shown = appState.currentIcon;
    EXPECT_TRUE(IconAlive(shown));

    // The taskbar restarted and does not take the icon yet: the one on show stays.
    appState.iconAdded = 0;
    addResult = FALSE;
    shellCalls.clear();
    RefreshTrayIcon();
    ASSERT_EQ(shellCalls.size(), 1u);
    EXPECT_EQ(shellCalls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(appState.currentIcon, shown);
    EXPECT_TRUE(IconAlive(shown));
    EXPECT_FALSE(IconAlive(shellCalls[0].data.hIcon));
}

TEST_F(TrayIconTest, NothingHappensWithoutWeekLabelOrIcon) {
    RefreshTrayIcon();
    HICON shown = appState.currentIcon;
    ASSERT_TRUE(IconAlive(shown));
    shellCalls.clear();
    allocations.clear();

    // Invalid dates give no week.
    for (const SYSTEMTIME& date : {Date(2026, 13, 1), Date(2026, 2, 30), Date(0, 0, 0)}) {
        today = date;
        RefreshTrayIcon();
    }
    EXPECT_TRUE(shellCalls.empty());
    EXPECT_EQ(appState.currentIcon, shown);
    EXPECT_TRUE(IconAlive(shown));
    EXPECT_EQ(appState.iconAdded, 1);
    ASSERT_EQ(allocations.size(), 3u);
    for (void* block : allocations) {
        EXPECT_FALSE(HeapBlockAllocated(block));
    }

    // No label buffer: the refresh stops before anything else.
    today = Date(2026, 12, 7);
    allocations.clear();
    allocationsAllowed = 0;
    RefreshTrayIcon();
    EXPECT_TRUE(shellCalls.empty());
    EXPECT_EQ(appState.currentIcon, shown);

    // The renderer gives no icon when its own buffers cannot be had; the label buffer, the
    // first allocation, is still freed.
    const wchar_t* lines[1] = {L"50"};
    allocationsAllowed = 0;
    ASSERT_EQ(RenderWeekIcon(lines, 1), nullptr) << "the renderer must fail without memory";
    allocations.clear();
    allocationsAllowed = 1;
    RefreshTrayIcon();
    EXPECT_TRUE(shellCalls.empty());
    EXPECT_EQ(appState.currentIcon, shown);
    EXPECT_TRUE(IconAlive(shown));
    ASSERT_EQ(allocations.size(), 1u);
    EXPECT_FALSE(HeapBlockAllocated(allocations[0]));
}

TEST_F(TrayIconTest, RemoveSendsOneDeleteAndARefreshAfterItAddsAnew) {
    RemoveTrayIcon(); // nothing added yet
    EXPECT_TRUE(shellCalls.empty());

    RefreshTrayIcon();
    HICON shown = appState.currentIcon;
    shellCalls.clear();
    RemoveTrayIcon();
    RemoveTrayIcon();
    ASSERT_EQ(shellCalls.size(), 1u);
    EXPECT_EQ(shellCalls[0].message, static_cast<DWORD>(NIM_DELETE));
    NOTIFYICONDATAW expected;
    ZeroMemory(&expected, sizeof(expected));
    expected.cbSize = 976;
    expected.hWnd = window;
    expected.uID = 1;
    ExpectSameRecord(shellCalls[0].data, expected);
    EXPECT_EQ(appState.iconAdded, 0);
    EXPECT_EQ(appState.currentIcon, shown); // shutdown destroys it, not the removal
    EXPECT_TRUE(IconAlive(shown));

    shellCalls.clear();
    RefreshTrayIcon();
    ASSERT_EQ(shellCalls.size(), 2u);
    EXPECT_EQ(shellCalls[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(shellCalls[1].message, static_cast<DWORD>(NIM_SETVERSION));
    EXPECT_FALSE(IconAlive(shown));
}

TEST_F(TrayIconTest, ExactlyOneLiveIconAfterAnySequence) {
    std::mt19937 random(20261207);
    std::set<HICON> seen;
    bool published = false;
    for (int step = 0; step < 300; ++step) {
        switch (random() % 6) {
        case 0:
            RemoveTrayIcon();
            break;
        case 1:
            appState.iconAdded = 0; // a restarted taskbar
            break;
        case 2:
            today = Date(2026, 2, 30);
            RefreshTrayIcon();
            break;
        default: {
            addResult = (random() % 3) != 0;
            modifyResult = (random() % 2) != 0;
            today = Date(2026, 1 + random() % 12, 1 + random() % 28);
            const int32_t wasAdded = appState.iconAdded;
            shellCalls.clear();
            RefreshTrayIcon();
            ASSERT_FALSE(shellCalls.empty());
            seen.insert(shellCalls[0].data.hIcon);
            published = published || wasAdded || addResult;
            break;
        }
        }
        EXPECT_EQ(appState.currentIcon != nullptr, published) << step;
        for (HICON icon : seen) {
            EXPECT_EQ(IconAlive(icon), icon == appState.currentIcon) << step;
        }
    }
    EXPECT_GT(seen.size(), 100u);
}

namespace {

const wchar_t PersonalizeKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

std::vector<uint8_t> PublishedPixels() {
    shellCalls.clear();
    RefreshTrayIcon();
    return shellCalls.empty() ? std::vector<uint8_t>() : ReadIcon(shellCalls[0].data.hIcon).pixels;
}

} // namespace

TEST_F(TrayIconTest, FollowingDrawsBlackTextOnALightTaskbarOnlyAndKeepsTheChosenScheme) {
    ASSERT_TRUE(BeginRegistrySandbox()); // ended by the fixture
    const std::vector<uint8_t> blackText = PublishedPixels();
    appState.settings.colourScheme = 1;
    const std::vector<uint8_t> whiteText = PublishedPixels();
    ASSERT_FALSE(blackText.empty());
    ASSERT_NE(blackText, whiteText);

    appState.settings.followTaskbarTheme = 1;
    ASSERT_EQ(WriteTestDword(PersonalizeKey, L"SystemUsesLightTheme", 1), ERROR_SUCCESS);
    EXPECT_EQ(PublishedPixels(), blackText) << "light";
    EXPECT_EQ(appState.settings.colourScheme, 1) << "the chosen scheme must stay";
    appState.settings.colourScheme = 0;
    ASSERT_EQ(WriteTestDword(PersonalizeKey, L"SystemUsesLightTheme", 0), ERROR_SUCCESS);
    EXPECT_EQ(PublishedPixels(), whiteText) << "dark";
    RegDeleteKeyValueW(HKEY_CURRENT_USER, PersonalizeKey, L"SystemUsesLightTheme");
    EXPECT_EQ(PublishedPixels(), whiteText) << "absent: the taskbar of Windows before 1903";
}
