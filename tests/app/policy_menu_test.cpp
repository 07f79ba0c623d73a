// Enforced settings as the user meets them: the real main window gets the tray callback and
// the "Policy" setting change, the real menu is read as it opens, and the values come from the
// real (sandboxed) machine and user keys.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/menu_snapshot.h"
#include "app/shell_recorder.h"
#include "app/tray_menu.h"
#include "common/app_state.h"
#include "common/strings.h"
#include "icon/tray_icon.h"
#include "settings/policy_store.h"
#include "settings/settings_store.h"
#include "support/main_window_host.h"
#include "support/registry_sandbox.h"

namespace {

const wchar_t PolicyKey[] = L"Software\\Policies\\Pellow Dune\\Kivet";
const wchar_t SettingsKey[] = L"Software\\Pellow Dune\\Kivet";
const wchar_t RunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t ClassName[] = L"Kivet Policy Test Window";

std::vector<MenuItemSnapshot> openedMenu;
UINT chosenCommand = 0;

BOOL WINAPI ReadMenuAndChoose(HMENU menu, UINT, int, int, int, HWND, const RECT*) {
    openedMenu = SnapshotMenu(menu);
    return static_cast<BOOL>(chosenCommand);
}

// Wednesday 28 January 2026, in week 5: the leading zero shows in the label.
void WINAPI WeekFiveLocalTime(LPSYSTEMTIME time) {
    *time = SYSTEMTIME{2026, 1, 3, 28, 12, 0, 0, 0};
}

void CollectItems(const std::vector<MenuItemSnapshot>& items, UINT state, std::set<UINT>* ids) {
    for (const MenuItemSnapshot& item : items) {
        if (item.submenu == nullptr && !item.Separator() && (item.state & state) != 0) {
            ids->insert(item.id);
        }
        CollectItems(item.items, state, ids);
    }
}

class PolicyMenuTest : public RegistrySandboxTest {
  protected:
    void SetUp() override {
        RegistrySandboxTest::SetUp();
        shell_recorder::Start();
        platform.trackPopupMenu = ReadMenuAndChoose;
        platform.getLocalTime = WeekFiveLocalTime;
        appState = AppState{};
        appState.instance = GetModuleHandleW(nullptr);
        appState.mainWindow = CreateTestMainWindow(ClassName);
        ASSERT_NE(appState.mainWindow, nullptr);
        // As at start-up, from an empty registry.
        LoadSettings(&appState.userSettings);
        ASSERT_TRUE(ApplyPolicies());
        RefreshTrayIcon();
    }

    void TearDown() override {
        DestroyWindow(appState.mainWindow);
        shell_recorder::DropPendingQuit();
        shell_recorder::Stop();
        UnregisterClassW(ClassName, appState.instance);
        if (appState.currentIcon != nullptr) {
            DestroyIcon(appState.currentIcon);
        }
        Settings* const records[] = {&appState.settings, &appState.userSettings, &appState.policy};
        for (Settings* settings : records) {
            FreeHeapBlock(settings->additionalLine);
        }
        appState = AppState{};
        openedMenu.clear();
        chosenCommand = 0;
        RegistrySandboxTest::TearDown();
    }

    void SendPolicyChange(const wchar_t* area = L"Policy") {
        SendMessageW(appState.mainWindow, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(area));
    }

    // A right click on the icon, as the notification area reports it, choosing `command`.
    void OpenMenu(UINT command = 0) {
        chosenCommand = command;
        SendMessageW(appState.mainWindow, TrayCallbackMessage, 0,
                     MAKELPARAM(WM_CONTEXTMENU, TrayIconId));
    }

    std::set<UINT> ItemsIn(UINT state) const {
        std::set<UINT> ids;
        CollectItems(openedMenu, state, &ids);
        return ids;
    }
};

// One stored value (REG_SZ when `text` is given, else REG_DWORD) and what the menu shows then:
// the items greyed, and the marked choice among them.
struct GreyingCase {
    HKEY root;
    const wchar_t* key;
    const wchar_t* name;
    const wchar_t* text;
    DWORD number;
    UINT firstGreyed, lastGreyed; // 0: none
    UINT marked;
    int followTaskbarTheme = -1; // also enforced beside the value, in the machine's key
    UINT alsoGreyed = 0;         // one more greyed item outside the range
};

const wchar_t* const Nothing = L"Nothing";

TEST_F(PolicyMenuTest, EnforcedSettingsShowTheirValueWithTheirItemsGreyed) {
    const HKEY machine = HKEY_LOCAL_MACHINE;
    const HKEY user = HKEY_CURRENT_USER;
    const GreyingCase rows[] = {
        {machine, PolicyKey, Nothing, nullptr, 0, 0, 0, IDM_STARTUP_NO},
        {machine, PolicyKey, L"LeadingZero", L"1", 0, 0, 0, IDM_LEADING_ZERO_OFF}, // invalid
        {machine, PolicyKey, L"AdditionalLine", L"KW", 0, IDM_ADDITIONAL_LINE, IDM_ADDITIONAL_LINE,
         IDM_POSITION_ABOVE},
        {user, PolicyKey, L"AdditionalLinePosition", nullptr, Below, IDM_POSITION_ABOVE,
         IDM_POSITION_HIDDEN, IDM_POSITION_BELOW},
        {machine, PolicyKey, L"LeadingZero", nullptr, 1, IDM_LEADING_ZERO_ON, IDM_LEADING_ZERO_OFF,
         IDM_LEADING_ZERO_ON},
        {machine, PolicyKey, L"ColourScheme", nullptr, 1, IDM_COLOURS_BLACK_TEXT,
         IDM_COLOURS_BLACK_TEXT, IDM_COLOURS_WHITE_TEXT, -1, IDM_COLOURS_CUSTOM_TEXT},
        {user, PolicyKey, L"ColourScheme", nullptr, 1, IDM_COLOURS_BLACK_TEXT,
         IDM_COLOURS_CUSTOM_TEXT, IDM_COLOURS_WHITE_TEXT, 0},
        {machine, PolicyKey, L"FollowTaskbarTheme", nullptr, 0, IDM_COLOURS_MATCH_TASKBAR,
         IDM_COLOURS_CUSTOM_TEXT, IDM_COLOURS_BLACK_TEXT},
        {user, PolicyKey, L"FollowTaskbarTheme", nullptr, 1, IDM_COLOURS_BLACK_TEXT,
         IDM_COLOURS_CUSTOM_TEXT, IDM_COLOURS_MATCH_TASKBAR},
        {machine, PolicyKey, L"TextColour", nullptr, 0x00336699, IDM_COLOURS_BLACK_TEXT,
         IDM_COLOURS_CUSTOM_TEXT, IDM_COLOURS_CUSTOM_TEXT},
        {machine, PolicyKey, L"TextColour", nullptr, 0x01000000, 0, 0, IDM_COLOURS_BLACK_TEXT},
        {user, PolicyKey, L"BackgroundColour", nullptr, 0, IDM_BACKGROUND_COLOUR, IDM_NO_BACKGROUND,
         IDM_COLOURS_BLACK_TEXT},
        {machine, PolicyKey, L"Font", L"Calibri", 0, IDM_FONT_CALIBRI, IDM_FONT_OTHER,
         IDM_FONT_CALIBRI},
        // The machine's Run value starts Kivet for everyone, whatever it holds.
        {machine, RunKey, L"Kivet", L"elsewhere.exe", 0, IDM_STARTUP_YES, IDM_STARTUP_NO,
         IDM_STARTUP_YES},
    };
    for (const GreyingCase& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.name)));
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software");
        RegDeleteTreeW(HKEY_CURRENT_USER, PolicyKey);
        if (row.name != Nothing) {
            ASSERT_EQ(row.text != nullptr ? WriteTestString(row.key, row.name, row.text, row.root)
                                          : WriteTestDword(row.key, row.name, row.number, row.root),
                      ERROR_SUCCESS);
        }
        if (row.followTaskbarTheme >= 0) {
            ASSERT_EQ(WriteTestDword(PolicyKey, L"FollowTaskbarTheme",
                                     static_cast<DWORD>(row.followTaskbarTheme), machine),
                      ERROR_SUCCESS);
        }
        SendPolicyChange();
        OpenMenu();
        std::set<UINT> greyed;
        for (UINT id = row.firstGreyed; id != 0 && id <= row.lastGreyed; ++id) {
            greyed.insert(id);
        }
        if (row.alsoGreyed != 0) {
            greyed.insert(row.alsoGreyed);
        }
        EXPECT_EQ(ItemsIn(MFS_GRAYED), greyed);
        EXPECT_EQ(ItemsIn(MFS_CHECKED).count(row.marked), 1u);
        // One mark in each of the five submenus, and "No background" unless one is set.
        const bool background = std::wstring(row.name) == L"BackgroundColour";
        EXPECT_EQ(ItemsIn(MFS_CHECKED).size(), background ? 5u : 6u);
    }
}

// The leading zero shows only in a week below 10: week 5 reads "5", or "05" with it.
TEST_F(PolicyMenuTest, ThePolicyChangeRedrawsTheIconAtOnceAndNoOtherChangeReadsPolicies) {
    ASSERT_EQ(WriteTestDword(PolicyKey, L"LeadingZero", 1, HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
    const struct {
        const wchar_t* area;
        const wchar_t* label;
    } rows[] = {{L"intl", L" 5"}, {L"pOLICY", L" 05"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(row.area)));
        shell_recorder::events.clear();
        shell_recorder::records.clear();
        SendPolicyChange(row.area);
        ASSERT_EQ(shell_recorder::events,
                  (std::vector<std::string>{"NIM_MODIFY", "KillTimer 1", "SetTimer 1"}));
        std::wstring tip = shell_recorder::records[0].szTip;
        EXPECT_EQ(tip.substr(tip.rfind(L'\x2014') + 1), row.label);
    }
}

// A policy that came while the menu was open: its command changes nothing, in memory or stored;
// the user's own value coming back when the policy goes is the policy store's to show.
TEST_F(PolicyMenuTest, ACommandOfAnEnforcedSettingIsRefused) {
    ASSERT_EQ(WriteTestString(PolicyKey, L"Font", L"Calibri", HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
    SendPolicyChange();
    OpenMenu(IDM_FONT_LEKTON);
    EXPECT_STREQ(appState.settings.fontFace, L"Calibri");
    EXPECT_FALSE(ReadTestValue(SettingsKey, L"Font").exists);
}

} // namespace
