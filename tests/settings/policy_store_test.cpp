// Policy values, read from the real (sandboxed) machine and user keys.
#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "common/app_state.h"
#include "common/strings.h"
#include "settings/policy_store.h"
#include "settings/settings_store.h"
#include "support/registry_sandbox.h"

namespace {

const wchar_t PolicyKey[] = L"Software\\Policies\\Pellow Dune\\Kivet";
const wchar_t SettingsKey[] = L"Software\\Pellow Dune\\Kivet";

// One stored value: REG_SZ when `text` is given, otherwise `type` with `number`'s 4 bytes.
struct Stored {
    const wchar_t* name;
    DWORD number;
    const wchar_t* text = nullptr;
    DWORD type = REG_DWORD;
};

void Store(HKEY root, const wchar_t* keyPath, const std::vector<Stored>& values) {
    for (const Stored& value : values) {
        LSTATUS status = value.text != nullptr
                             ? WriteTestString(keyPath, value.name, value.text, root)
                             : WriteTestValue(keyPath, value.name, value.type, &value.number,
                                              sizeof(value.number), root);
        ASSERT_EQ(status, ERROR_SUCCESS);
    }
}

// The record in one line, "line|position|leadingZero|scheme|face|follow", so a failure
// shows every field.
std::wstring Describe(const Settings& settings) {
    wchar_t text[160];
    swprintf(text, 160, L"%ls|%d|%d|%d|%ls|%d",
             settings.additionalLine != nullptr ? settings.additionalLine : L"<null>",
             settings.linePosition, settings.leadingZero, settings.colourScheme, settings.fontFace,
             settings.followTaskbarTheme);
    return text;
}

struct PolicyCase {
    const char* name;
    std::vector<Stored> machine;
    std::vector<Stored> user;
    uint32_t enforced;
    const wchar_t* loaded; // as Describe gives it; a value not read leaves its field as it was
};

const PolicyCase PolicyCases[] = {
    {"every value from the machine",
     {{L"AdditionalLine", 0, L"KW"},
      {L"AdditionalLinePosition", Hidden},
      {L"LeadingZero", 7},
      {L"ColourScheme", 1},
      {L"Font", 0, L"Calibri"},
      {L"FollowTaskbarTheme", 1}},
     {},
     // An enforced scheme holds the text colour to none as well.
     AllSettings & ~BackgroundColourSetting,
     L"KW|0|1|1|Calibri|1"},
    {"the machine wins per value, the user's policy fills the rest",
     {{L"LeadingZero", 1}},
     {{L"LeadingZero", 0}, {L"Font", 0, L"Calibri"}},
     LeadingZeroSetting | FontSetting,
     L"before|1|1|0|Calibri|0"},
    {"an invalid machine value gives way to a valid user policy",
     {{L"AdditionalLinePosition", 3}, {L"ColourScheme", 1, nullptr, REG_BINARY}},
     {{L"AdditionalLinePosition", Below}, {L"ColourScheme", 1}},
     LinePositionSetting | ColourSchemeSetting | TextColourSetting,
     L"before|2|0|1|Before|0"},
    {"invalid everywhere is enforced nowhere",
     {{L"ColourScheme", 2}, {L"Font", 0, L""}, {L"AdditionalLine", 5}},
     {{L"FollowTaskbarTheme", 1, nullptr, REG_QWORD}, {L"Font", 9}},
     0,
     L"before|1|0|0|Before|0"},
    {"an empty line is a valid line",
     {},
     {{L"AdditionalLine", 0, L""}},
     AdditionalLineSetting,
     L"|1|0|0|Before|0"},
};

class PolicyStoreTest : public RegistrySandboxTest {
  protected:
    void TearDown() override {
        Settings* const records[] = {&appState.settings, &appState.userSettings, &appState.policy};
        for (Settings* settings : records) {
            FreeHeapBlock(settings->additionalLine);
        }
        appState = AppState{};
        RegistrySandboxTest::TearDown();
    }
};

TEST_F(PolicyStoreTest, EachValueFromTheFirstKeyThatHoldsItValid) {
    for (const PolicyCase& row : PolicyCases) {
        SCOPED_TRACE(row.name);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, PolicyKey);
        RegDeleteTreeW(HKEY_CURRENT_USER, PolicyKey);
        Store(HKEY_LOCAL_MACHINE, PolicyKey, row.machine);
        Store(HKEY_CURRENT_USER, PolicyKey, row.user);
        Settings policy = {HeapStringDuplicate(L"before"), Above, 0, 0, L"Before", 0, 0, 0};

        EXPECT_EQ(LoadPolicies(&policy), row.enforced);
        EXPECT_EQ(Describe(policy), row.loaded);
        FreeHeapBlock(policy.additionalLine);
    }
}

// The user's own values stay theirs under a policy: not shown, not overwritten by a save of
// another setting, and shown again once the policy goes. The user's line is of the earlier
// layout ("Suffix": below the number), so its position exists only in memory until a save.
TEST_F(PolicyStoreTest, UsersOwnValuesSurviveAPolicyAndComeBackWhenItGoes) {
    Store(HKEY_CURRENT_USER, SettingsKey, {{L"Suffix", 0, L"x"}, {L"Font", 0, L"Lekton"}});
    Store(HKEY_LOCAL_MACHINE, PolicyKey,
          {{L"AdditionalLinePosition", Hidden}, {L"Font", 0, L"Calibri"}});
    LoadSettings(&appState.userSettings);
    ASSERT_TRUE(ApplyPolicies());
    EXPECT_EQ(Describe(appState.settings), L"x|0|0|0|Calibri|0");

    appState.settings.leadingZero = 1; // as the menu's "Leading zero > On" does
    ASSERT_EQ(SaveUserSettings(), ERROR_SUCCESS);
    EXPECT_EQ(ReadTestValue(SettingsKey, L"AdditionalLinePosition").bytes,
              (std::vector<BYTE>{Below, 0, 0, 0}));
    EXPECT_EQ(ReadTestValue(SettingsKey, L"Font").Units(), std::wstring(L"Lekton\0", 7));
    EXPECT_EQ(ReadTestValue(SettingsKey, L"LeadingZero").bytes, (std::vector<BYTE>{1, 0, 0, 0}));

    RegDeleteTreeW(HKEY_LOCAL_MACHINE, PolicyKey);
    ASSERT_TRUE(ApplyPolicies());
    EXPECT_EQ(appState.enforcedSettings, 0u);
    EXPECT_EQ(Describe(appState.settings), L"x|2|1|0|Lekton|0");
}

// The machine's colour wins over the user's policy and own; an enforced scheme sets the user's
// own text colour aside (it would win over the scheme) without deleting it.
TEST_F(PolicyStoreTest, EnforcedColoursWinAndAnEnforcedSchemeSetsTheUsersColourAside) {
    Store(HKEY_CURRENT_USER, SettingsKey, {{L"TextColour", 0x00112233}});
    Store(HKEY_CURRENT_USER, PolicyKey, {{L"TextColour", 0x000000FF}});
    Store(HKEY_LOCAL_MACHINE, PolicyKey, {{L"TextColour", 0x0000FF00}});
    LoadSettings(&appState.userSettings);
    ASSERT_TRUE(ApplyPolicies());
    EXPECT_EQ(appState.settings.textColour, ColourIsSet | 0x0000FF00);

    RegDeleteTreeW(HKEY_LOCAL_MACHINE, PolicyKey);
    Store(HKEY_CURRENT_USER, PolicyKey,
          {{L"TextColour", 7, nullptr, REG_QWORD}, {L"ColourScheme", 1}});
    ASSERT_TRUE(ApplyPolicies());
    EXPECT_EQ(appState.settings.textColour, NoColour);
    ASSERT_EQ(SaveUserSettings(), ERROR_SUCCESS);
    EXPECT_EQ(ReadTestValue(SettingsKey, L"TextColour").bytes,
              (std::vector<BYTE>{0x33, 0x22, 0x11, 0}));
}

} // namespace
