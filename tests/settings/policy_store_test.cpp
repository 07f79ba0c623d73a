// Policy values under Software\Policies\Pellow Dune\Kivet, read from the real (sandboxed)
// machine and user keys.
#include <gtest/gtest.h>

#include <windows.h>

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

struct Record {
    std::wstring line;
    int32_t position, leadingZero, scheme;
    std::wstring face;
    int32_t follow;
    bool operator==(const Record& other) const {
        return line == other.line && position == other.position &&
               leadingZero == other.leadingZero && scheme == other.scheme && face == other.face &&
               follow == other.follow;
    }
};

Record RecordOf(const Settings& settings) {
    return {settings.additionalLine != nullptr ? settings.additionalLine : L"<null>",
            settings.linePosition,
            settings.leadingZero,
            settings.colourScheme,
            settings.fontFace,
            settings.followTaskbarTheme};
}

void PrintTo(const Record& record, std::ostream* out) {
    *out << "{" << testing::PrintToString(record.line) << ", " << record.position << ", "
         << record.leadingZero << ", " << record.scheme << ", "
         << testing::PrintToString(record.face) << ", " << record.follow << "}";
}

// What the policy record held before the load; a value not read must leave its field so.
const Record Before = {L"before", Above, 0, 0, L"Before", 0};

struct PolicyCase {
    const char* name;
    std::vector<Stored> machine;
    std::vector<Stored> user;
    uint32_t enforced;
    Record loaded;
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
     AllSettings,
     {L"KW", Hidden, 1, 1, L"Calibri", 1}},
    {"the machine wins per value, the user's policy fills the rest",
     {{L"LeadingZero", 1}},
     {{L"LeadingZero", 0}, {L"Font", 0, L"Calibri"}},
     LeadingZeroSetting | FontSetting,
     {L"before", Above, 1, 0, L"Calibri", 0}},
    {"an invalid machine value gives way to a valid user policy",
     {{L"AdditionalLinePosition", 3}, {L"ColourScheme", 1, nullptr, REG_BINARY}},
     {{L"AdditionalLinePosition", Below}, {L"ColourScheme", 1}},
     LinePositionSetting | ColourSchemeSetting,
     {L"before", Below, 0, 1, L"Before", 0}},
    {"invalid everywhere is enforced nowhere",
     {{L"ColourScheme", 2}, {L"Font", 0, L""}, {L"AdditionalLine", 5}},
     {{L"FollowTaskbarTheme", 1, nullptr, REG_QWORD}, {L"Font", 9}},
     0,
     Before},
    {"an empty line is a valid line",
     {},
     {{L"AdditionalLine", 0, L""}},
     AdditionalLineSetting,
     {L"", Above, 0, 0, L"Before", 0}},
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
        Settings policy = {HeapStringDuplicate(L"before"), Above, 0, 0, L"Before", 0};

        EXPECT_EQ(LoadPolicies(&policy), row.enforced);
        EXPECT_EQ(RecordOf(policy), row.loaded);
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
    EXPECT_EQ(RecordOf(appState.settings), (Record{L"x", Hidden, 0, 0, L"Calibri", 0}));

    appState.settings.leadingZero = 1; // as the menu's "Leading zero > On" does
    ASSERT_EQ(SaveUserSettings(), ERROR_SUCCESS);
    EXPECT_EQ(ReadTestValue(SettingsKey, L"AdditionalLinePosition").bytes,
              (std::vector<BYTE>{Below, 0, 0, 0}));
    EXPECT_EQ(ReadTestValue(SettingsKey, L"Font").Units(), std::wstring(L"Lekton\0", 7));
    EXPECT_EQ(ReadTestValue(SettingsKey, L"LeadingZero").bytes, (std::vector<BYTE>{1, 0, 0, 0}));

    RegDeleteTreeW(HKEY_LOCAL_MACHINE, PolicyKey);
    ASSERT_TRUE(ApplyPolicies());
    EXPECT_EQ(appState.enforcedSettings, 0u);
    EXPECT_EQ(RecordOf(appState.settings), (Record{L"x", Below, 1, 0, L"Lekton", 0}));
}

TEST(PolicyChange, OnlyThePolicyAreaWhateverItsCase) {
    const struct {
        const wchar_t* area;
        bool policy;
    } rows[] = {{L"Policy", true}, {L"pOLICY", true}, {L"Policy ", false},
                {L"intl", false},  {L"", false},      {nullptr, false}};
    for (const auto& row : rows) {
        EXPECT_EQ(IsPolicyChange(reinterpret_cast<LPARAM>(row.area)), row.policy)
            << (row.area != nullptr ? "" : "null");
    }
}

} // namespace
