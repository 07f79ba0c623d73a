#include <gtest/gtest.h>

#include <windows.h>

#include "settings/theme_preference.h"
#include "support/registry_sandbox.h"

namespace {

const wchar_t PersonalizeKeyPath[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

using ThemePreferenceTest = RegistrySandboxTest;

} // namespace

TEST_F(ThemePreferenceTest, StoredDwordDecidesAndAnythingUnreadableGivesTheCallersDefault) {
    // No key at all.
    EXPECT_TRUE(ThemeValueIsLight(L"AppsUseLightTheme", true));
    EXPECT_FALSE(ThemeValueIsLight(L"SystemUsesLightTheme", false));

    ASSERT_EQ(WriteTestDword(PersonalizeKeyPath, L"Zero", 0), ERROR_SUCCESS);
    ASSERT_EQ(WriteTestDword(PersonalizeKeyPath, L"One", 1), ERROR_SUCCESS);
    ASSERT_EQ(WriteTestDword(PersonalizeKeyPath, L"Large", 0xFFFFFFFF), ERROR_SUCCESS);
    const BYTE eightBytes[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_EQ(WriteTestValue(PersonalizeKeyPath, L"Qword", REG_QWORD, eightBytes, 8),
              ERROR_SUCCESS);
    ASSERT_EQ(WriteTestValue(PersonalizeKeyPath, L"Short", REG_DWORD, eightBytes, 2),
              ERROR_SUCCESS);
    ASSERT_EQ(WriteTestString(PersonalizeKeyPath, L"Text", L"1"), ERROR_SUCCESS);

    for (bool whenUnreadable : {false, true}) {
        EXPECT_FALSE(ThemeValueIsLight(L"Zero", whenUnreadable));
        EXPECT_TRUE(ThemeValueIsLight(L"One", whenUnreadable));
        EXPECT_TRUE(ThemeValueIsLight(L"Large", whenUnreadable));
        for (const wchar_t* unreadable : {L"Absent", L"Qword", L"Short", L"Text"}) {
            EXPECT_EQ(ThemeValueIsLight(unreadable, whenUnreadable), whenUnreadable) << unreadable;
        }
    }
}
