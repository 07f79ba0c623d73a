#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "support/registry_sandbox.h"

namespace {

std::wstring MarkerPath() {
    return L"Software\\Kivet Sandbox Marker " + std::to_wstring(GetCurrentProcessId());
}

} // namespace

TEST(RegistrySandbox, RedirectsCreateAndOpenWithSubkeyPathsAndLeavesNothingBehind) {
    ASSERT_TRUE(BeginRegistrySandbox());
    const std::wstring marker = MarkerPath();
    ASSERT_EQ(WriteTestDword(marker.c_str(), L"Value", 7), ERROR_SUCCESS);
    TestRegistryValue inside = ReadTestValue(marker.c_str(), L"Value");
    EXPECT_TRUE(inside.exists);
    EXPECT_EQ(inside.type, static_cast<DWORD>(REG_DWORD));
    // The write landed in the scratch key, reachable under the real hive as well.
    const std::wstring scratch = registry_sandbox_detail::scratchPath;
    HKEY scratchKey = nullptr;
    ASSERT_EQ(RegOpenKeyExW(registry_sandbox_detail::scratchKey, marker.c_str(), 0, KEY_QUERY_VALUE,
                            &scratchKey),
              ERROR_SUCCESS);
    RegCloseKey(scratchKey);
    EndRegistrySandbox();

    EXPECT_FALSE(TestKeyExists(marker.c_str())) << "the real hive got the sandbox's key";
    EXPECT_FALSE(TestKeyExists(scratch.c_str())) << "the scratch key was not deleted";
}

TEST(RegistrySandbox, RedirectsTheMachineKeyBesideTheUsersAndRestoresBoth) {
    ASSERT_TRUE(BeginRegistrySandbox());
    const std::wstring marker = MarkerPath();
    EXPECT_FALSE(TestKeyExists(L"Software", HKEY_LOCAL_MACHINE));
    ASSERT_EQ(WriteTestDword(marker.c_str(), L"Value", 7, HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
    EXPECT_TRUE(ReadTestValue(marker.c_str(), L"Value", HKEY_LOCAL_MACHINE).exists);
    EXPECT_FALSE(ReadTestValue(marker.c_str(), L"Value").exists) << "the machine's is apart";
    EXPECT_TRUE(TestKeyExists((L"Machine\\" + marker).c_str()));
    EndRegistrySandbox();

    EXPECT_FALSE(TestKeyExists(marker.c_str(), HKEY_LOCAL_MACHINE));
    EXPECT_TRUE(TestKeyExists(L"Software\\Microsoft", HKEY_LOCAL_MACHINE));
}

TEST(RegistrySandbox, EachSandboxStartsEmpty) {
    const std::wstring marker = MarkerPath();
    ASSERT_TRUE(BeginRegistrySandbox());
    ASSERT_EQ(WriteTestString(marker.c_str(), L"Text", L"first"), ERROR_SUCCESS);
    EndRegistrySandbox();
    ASSERT_TRUE(BeginRegistrySandbox());
    EXPECT_FALSE(ReadTestValue(marker.c_str(), L"Text").exists);
    EXPECT_FALSE(TestKeyExists(L"Software"));
    EndRegistrySandbox();
}

TEST(RegistrySandbox, RefusesToNestAndEndsOnlyOnce) {
    ASSERT_TRUE(BeginRegistrySandbox());
    EXPECT_FALSE(BeginRegistrySandbox());
    EndRegistrySandbox();
    EndRegistrySandbox();
    EXPECT_TRUE(TestKeyExists(L"Software")) << "HKEY_CURRENT_USER was not restored";
}

TEST(RegistrySandbox, HelpersWriteExactBytesAndListValues) {
    ASSERT_TRUE(BeginRegistrySandbox());
    const BYTE odd[3] = {'a', 0, 'b'};
    ASSERT_EQ(WriteTestValue(L"Software\\K", L"Odd", REG_SZ, odd, 3), ERROR_SUCCESS);
    ASSERT_EQ(WriteTestString(L"Software\\K", L"Text", L"ab"), ERROR_SUCCESS);
    TestRegistryValue value = ReadTestValue(L"Software\\K", L"Odd");
    EXPECT_EQ(value.bytes.size(), 3u);
    EXPECT_EQ(ReadTestValue(L"Software\\K", L"Text").Units(), std::wstring(L"ab", 3));
    ASSERT_EQ(WriteTestValue(L"Software\\K", L"Unterminated", REG_SZ, L"abc", 6), ERROR_SUCCESS);
    EXPECT_EQ(ReadTestValue(L"Software\\K", L"Unterminated").bytes.size(), 6u);
    EXPECT_EQ(TestValueNames(L"Software\\K").size(), 3u);
    EXPECT_EQ(CreateVolatileTestKey(L"Software\\V"), ERROR_SUCCESS);
    EXPECT_EQ(WriteTestDword(L"Software\\V\\Lasting", L"X", 1),
              static_cast<LSTATUS>(ERROR_CHILD_MUST_BE_VOLATILE));
    EndRegistrySandbox();
}

TEST(RegistrySandbox, DeletedRootMakesEveryOpenFailUntilPointedBack) {
    ASSERT_TRUE(BeginRegistrySandbox());
    ASSERT_EQ(WriteTestDword(L"Software\\K", L"X", 1), ERROR_SUCCESS);
    ASSERT_TRUE(PointSandboxAtDeletedKey());
    EXPECT_FALSE(TestKeyExists(L"Software\\K"));
    EXPECT_EQ(WriteTestDword(L"Software\\K", L"Y", 1), static_cast<LSTATUS>(ERROR_KEY_DELETED));
    PointSandboxBackAtScratchKey();
    EXPECT_TRUE(ReadTestValue(L"Software\\K", L"X").exists);
    EXPECT_FALSE(ReadTestValue(L"Software\\K", L"Y").exists);
    EndRegistrySandbox();
}
