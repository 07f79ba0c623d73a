#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "common/strings.h"
#include "settings/heap_fakes.h"
#include "settings/same_text.h"
#include "settings/settings_store.h"
#include "support/registry_sandbox.h"

namespace {

const wchar_t TestKeyPath[] = L"Software\\Kivet Readers";

class RegistryReadersTest : public RegistrySandboxTest {
  protected:
    void SetUp() override {
        RegistrySandboxTest::SetUp();
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, TestKeyPath, 0, nullptr, 0, KEY_QUERY_VALUE,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        RegCloseKey(key);
        heap_fakes::beforeAllocation = nullptr;
        RegistrySandboxTest::TearDown();
        heap_fakes::ReleaseGuardedBlocks();
    }

    void Put(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
        ASSERT_EQ(WriteTestValue(TestKeyPath, name, type, data, bytes), ERROR_SUCCESS);
    }

    // The text read, or "<null>" when the reader gave none.
    std::wstring ReadString(const wchar_t* name, const wchar_t* defaultText = L"default") {
        wchar_t* text = ReadRegistryString(key, name, defaultText);
        if (text == nullptr) {
            return L"<null>";
        }
        std::wstring result(text);
        FreeHeapBlock(text);
        return result;
    }

    HKEY key = nullptr;
};

std::vector<BYTE> Bytes(const std::wstring& units) {
    const BYTE* first = reinterpret_cast<const BYTE*>(units.data());
    return std::vector<BYTE>(first, first + units.size() * sizeof(wchar_t));
}

} // namespace

TEST_F(RegistryReadersTest, StringTakesTextTypesOfTwoTo65536BytesAndOtherwiseTheDefault) {
    struct Case {
        const wchar_t* name;
        DWORD type;
        std::vector<BYTE> data;
        std::wstring expected;
    };
    const DWORD number = 42;
    const std::vector<Case> cases = {
        {L"Plain", REG_SZ, Bytes(std::wstring(L"abc", 4)), L"abc"},
        {L"Expandable", REG_EXPAND_SZ, Bytes(std::wstring(L"%PATH%", 7)), L"%PATH%"},
        {L"OnlyTerminator", REG_SZ, Bytes(std::wstring(1, L'\0')), L""},
        {L"Empty", REG_SZ, {}, L"default"},
        {L"OneByte", REG_SZ, {'a'}, L"default"},
        {L"Number", REG_DWORD, {BYTE(number), 0, 0, 0}, L"default"},
        {L"Binary", REG_BINARY, Bytes(std::wstring(L"abc", 4)), L"default"},
        {L"Multi", REG_MULTI_SZ, Bytes(std::wstring(L"a\0b\0", 5)), L"default"},
    };
    for (const Case& c : cases) {
        Put(c.name, c.type, c.data.data(), static_cast<DWORD>(c.data.size()));
    }
    for (const Case& c : cases) {
        EXPECT_EQ(ReadString(c.name), c.expected) << c.name;
    }
    EXPECT_EQ(ReadString(L"Absent"), L"default");
}

TEST_F(RegistryReadersTest, StringReadsTheLargestAcceptedValueWholeAndRefusesOneUnitMore) {
    const std::wstring largest(32767, L'x');
    const std::wstring tooLarge(32768, L'y');
    ASSERT_EQ(WriteTestString(TestKeyPath, L"Largest", largest), ERROR_SUCCESS);
    ASSERT_EQ(WriteTestString(TestKeyPath, L"TooLarge", tooLarge), ERROR_SUCCESS);
    // 65,536 bytes of text with no terminator: all of it is taken and terminated.
    const std::wstring unterminated(32768, L'z');
    Put(L"Unterminated", REG_SZ, unterminated.data(), 65536);

    platform.heapAlloc = heap_fakes::GuardedHeapAlloc;
    EXPECT_TRUE(SameText(ReadString(L"Largest"), largest));
    EXPECT_EQ(ReadString(L"TooLarge", L"w"), L"w");
    EXPECT_TRUE(SameText(ReadString(L"Unterminated"), unterminated));
}

// Each block ends at an inaccessible page: a text that runs past its buffer faults here.
TEST_F(RegistryReadersTest, StringStoredWithoutTerminatorOrWithOddByteCountEndsInsideItsBuffer) {
    const BYTE odd[3] = {'a', 0, 'b'};
    Put(L"Odd3", REG_SZ, odd, 3);
    Put(L"NoTerminator", REG_SZ, L"abc", 6);
    Put(L"ExpandNoTerminator", REG_EXPAND_SZ, L"%X%", 6);
    std::vector<BYTE> largestOdd = Bytes(std::wstring(32767, L'x'));
    largestOdd.push_back('y');
    ASSERT_EQ(largestOdd.size(), 65535u);
    Put(L"Odd65535", REG_SZ, largestOdd.data(), 65535);

    platform.heapAlloc = heap_fakes::GuardedHeapAlloc;
    EXPECT_EQ(ReadString(L"Odd3"), L"ab");
    EXPECT_EQ(ReadString(L"NoTerminator"), L"abc");
    EXPECT_EQ(ReadString(L"ExpandNoTerminator"), L"%X%");
    EXPECT_TRUE(SameText(ReadString(L"Odd65535"), std::wstring(32767, L'x') + L'y'));
}

// The allocation between the two queries of a read is the moment to change the value.
TEST_F(RegistryReadersTest, StringGivesTheDefaultWhenTheValueChangesBetweenItsTwoQueries) {
    struct Case {
        const char* what;
        void (*change)();
        std::wstring expected;
    };
    const Case cases[] = {
        {"grew", [] { WriteTestString(TestKeyPath, L"Line", L"abcdefgh"); }, L"default"},
        {"became binary of the same size",
         [] {
             const BYTE same[8] = {1, 2, 3, 4, 5, 6, 7, 8};
             WriteTestValue(TestKeyPath, L"Line", REG_BINARY, same, sizeof(same));
         },
         L"default"},
        {"shrank", [] { WriteTestString(TestKeyPath, L"Line", L"a"); }, L"a"},
    };
    platform.heapAlloc = heap_fakes::MeddlingHeapAlloc;
    for (const Case& c : cases) {
        heap_fakes::beforeAllocation = nullptr;
        ASSERT_EQ(WriteTestString(TestKeyPath, L"Line", L"abc"), ERROR_SUCCESS);
        heap_fakes::beforeAllocation = c.change;
        EXPECT_EQ(ReadString(L"Line"), c.expected) << c.what;
    }
}

TEST_F(RegistryReadersTest, StringFallsBackToTheDefaultOrNullWhenMemoryRunsOut) {
    ASSERT_EQ(WriteTestString(TestKeyPath, L"Line", L"abc"), ERROR_SUCCESS);
    platform.heapAlloc = heap_fakes::FailingHeapAlloc;

    heap_fakes::ResetAllocationCount({1}); // the value's buffer
    EXPECT_EQ(ReadString(L"Line", L"w"), L"w");
    EXPECT_EQ(heap_fakes::allocationCount, 2u);

    heap_fakes::ResetAllocationCount({}, 1);
    EXPECT_EQ(ReadString(L"Line", L"w"), L"<null>");
    EXPECT_EQ(ReadString(L"Absent", L"w"), L"<null>");
}

TEST_F(RegistryReadersTest, DwordOnlyFromAFourByteDword) {
    const DWORD largest = 0xFFFFFFFF;
    const DWORD seven = 7;
    const ULONGLONG wide = 7;
    const BYTE two[2] = {7, 0};
    Put(L"Largest", REG_DWORD, &largest, 4);
    Put(L"Seven", REG_DWORD, &seven, 4);
    Put(L"Qword", REG_QWORD, &wide, 8);
    Put(L"Binary", REG_BINARY, &seven, 4);
    Put(L"BigEndian", REG_DWORD_BIG_ENDIAN, &seven, 4);
    Put(L"Short", REG_DWORD, two, 2);
    Put(L"Long", REG_DWORD, &wide, 8);
    Put(L"Text", REG_SZ, L"7", 4);

    EXPECT_EQ(ReadRegistryDword(key, L"Largest", 1), 0xFFFFFFFFu);
    EXPECT_EQ(ReadRegistryDword(key, L"Seven", 1), 7u);
    for (const wchar_t* name :
         {L"Qword", L"Binary", L"BigEndian", L"Short", L"Long", L"Text", L"Absent"}) {
        EXPECT_EQ(ReadRegistryDword(key, name, 1), 1u) << name;
        EXPECT_EQ(ReadRegistryDword(key, name, 0xDEADBEEF), 0xDEADBEEFu) << name;
    }
}

TEST_F(RegistryReadersTest, ExistenceIgnoresTypeAndSize) {
    const std::vector<BYTE> huge(100000, 1);
    Put(L"Nothing", REG_NONE, nullptr, 0);
    Put(L"EmptyText", REG_SZ, nullptr, 0);
    Put(L"Huge", REG_BINARY, huge.data(), static_cast<DWORD>(huge.size()));
    Put(L"Number", REG_DWORD, huge.data(), 4);

    for (const wchar_t* name : {L"Nothing", L"EmptyText", L"Huge", L"Number"}) {
        EXPECT_TRUE(RegistryValueExists(key, name)) << name;
    }
    EXPECT_FALSE(RegistryValueExists(key, L"Absent"));
    EXPECT_FALSE(RegistryValueExists(nullptr, L"Number"));
}
