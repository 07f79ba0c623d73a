// Enforced settings as the user meets them: the real main window gets the tray callback and
// the "Policy" setting change, the real menu is read as it opens, and the values come from the
// real (sandboxed) machine and user keys.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
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
        WNDCLASSEXW windowClass = {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = MainWindowProc;
        windowClass.hInstance = appState.instance;
        windowClass.lpszClassName = ClassName;
        RegisterClassExW(&windowClass);
        appState.mainWindow = CreateWindowExW(WS_EX_TOOLWINDOW, ClassName, L"Kivet", WS_POPUP, 0, 0,
                                              0, 0, nullptr, nullptr, appState.instance, nullptr);
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

    std::wstring StoredUserFont() const {
        return ReadTestValue(SettingsKey, L"Font").Units();
    }
};

struct GreyingCase {
    const char* name;
    std::function<void()> store;
    std::set<UINT> greyed;
    std::set<UINT> checked;
};

TEST_F(PolicyMenuTest, EnforcedSettingsShowTheirValueWithTheirItemsGreyed) {
    const HKEY machine = HKEY_LOCAL_MACHINE;
    const HKEY user = HKEY_CURRENT_USER;
    // The choices marked with nothing enforced: above, off, black text, Lekton, no.
    const std::set<UINT> unenforced = {IDM_POSITION_ABOVE, IDM_LEADING_ZERO_OFF,
                                       IDM_COLOURS_BLACK_TEXT, IDM_FONT_LEKTON, IDM_STARTUP_NO};
    const GreyingCase rows[] = {
        {"nothing enforced", [] {}, {}, unenforced},
        {"an invalid policy is not enforced",
         [&] { WriteTestString(PolicyKey, L"LeadingZero", L"1", machine); },
         {},
         unenforced},
        {"the line's text",
         [&] { WriteTestString(PolicyKey, L"AdditionalLine", L"KW", machine); },
         {IDM_ADDITIONAL_LINE},
         unenforced},
        {"the line's position, by the user's policy",
         [&] { WriteTestDword(PolicyKey, L"AdditionalLinePosition", Below, user); },
         {IDM_POSITION_ABOVE, IDM_POSITION_BELOW, IDM_POSITION_HIDDEN},
         {IDM_POSITION_BELOW, IDM_LEADING_ZERO_OFF, IDM_COLOURS_BLACK_TEXT, IDM_FONT_LEKTON,
          IDM_STARTUP_NO}},
        {"the leading zero",
         [&] { WriteTestDword(PolicyKey, L"LeadingZero", 1, machine); },
         {IDM_LEADING_ZERO_ON, IDM_LEADING_ZERO_OFF},
         {IDM_POSITION_ABOVE, IDM_LEADING_ZERO_ON, IDM_COLOURS_BLACK_TEXT, IDM_FONT_LEKTON,
          IDM_STARTUP_NO}},
        {"the scheme alone greys every colour",
         [&] { WriteTestDword(PolicyKey, L"ColourScheme", 1, machine); },
         {IDM_COLOURS_BLACK_TEXT, IDM_COLOURS_WHITE_TEXT, IDM_COLOURS_MATCH_TASKBAR},
         {IDM_POSITION_ABOVE, IDM_LEADING_ZERO_OFF, IDM_COLOURS_WHITE_TEXT, IDM_FONT_LEKTON,
          IDM_STARTUP_NO}},
        {"following the taskbar",
         [&] { WriteTestDword(PolicyKey, L"FollowTaskbarTheme", 1, user); },
         {IDM_COLOURS_BLACK_TEXT, IDM_COLOURS_WHITE_TEXT, IDM_COLOURS_MATCH_TASKBAR},
         {IDM_POSITION_ABOVE, IDM_LEADING_ZERO_OFF, IDM_COLOURS_MATCH_TASKBAR, IDM_FONT_LEKTON,
          IDM_STARTUP_NO}},
        {"the font",
         [&] { WriteTestString(PolicyKey, L"Font", L"Calibri", machine); },
         {IDM_FONT_CALIBRI, IDM_FONT_LEKTON, IDM_FONT_OTHER},
         {IDM_POSITION_ABOVE, IDM_LEADING_ZERO_OFF, IDM_COLOURS_BLACK_TEXT, IDM_FONT_CALIBRI,
          IDM_STARTUP_NO}},
        {"the machine's Run value, whatever it holds",
         [&] {
             WriteTestString(RunKey, L"Kivet", L"\"C:\\Program Files\\Kivet\\Kivet.exe\"", machine);
         },
         {IDM_STARTUP_YES, IDM_STARTUP_NO},
         {IDM_POSITION_ABOVE, IDM_LEADING_ZERO_OFF, IDM_COLOURS_BLACK_TEXT, IDM_FONT_LEKTON,
          IDM_STARTUP_YES}},
    };
    for (const GreyingCase& row : rows) {
        SCOPED_TRACE(row.name);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software");
        RegDeleteTreeW(HKEY_CURRENT_USER, PolicyKey);
        row.store();
        SendPolicyChange();
        OpenMenu();
        ASSERT_FALSE(openedMenu.empty());
        EXPECT_EQ(ItemsIn(MFS_GRAYED), row.greyed);
        EXPECT_EQ(ItemsIn(MFS_CHECKED), row.checked);
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

TEST_F(PolicyMenuTest, TheUsersStoredValueOutlivesThePolicyAndComesBackWhenItGoes) {
    ASSERT_EQ(WriteTestString(PolicyKey, L"Font", L"Calibri", HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
    SendPolicyChange();
    // Another setting's command saves, and a command of the enforced one (a policy that came
    // while the menu was open) is refused.
    for (UINT command : {IDM_LEADING_ZERO_ON, IDM_FONT_LEKTON}) {
        OpenMenu(command);
        EXPECT_EQ(StoredUserFont(), std::wstring(L"Lekton\0", 7));
        EXPECT_STREQ(appState.settings.fontFace, L"Calibri");
    }
    EXPECT_EQ(appState.settings.leadingZero, 1);

    RegDeleteTreeW(HKEY_LOCAL_MACHINE, PolicyKey);
    SendPolicyChange();
    EXPECT_STREQ(appState.settings.fontFace, L"Lekton");
    OpenMenu();
    EXPECT_EQ(ItemsIn(MFS_GRAYED), std::set<UINT>{});
}

} // namespace
