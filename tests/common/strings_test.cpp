#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>

#include "common/strings.h"
#include "support/platform_fixture.h"

namespace {

constexpr wchar_t Canary = 0xBEEF;

// A buffer with canaries on both sides of the `capacity` units handed to FormatString.
struct GuardedBuffer {
    wchar_t units[64];
    static constexpr int Offset = 4;
    explicit GuardedBuffer() {
        for (wchar_t& unit : units) {
            unit = Canary;
        }
    }
    wchar_t* Data() {
        return units + Offset;
    }
    bool OutsideUntouched(size_t capacity) const {
        for (int i = 0; i < 64; ++i) {
            bool inside = i >= Offset && i < Offset + static_cast<int>(capacity);
            if (!inside && units[i] != Canary) {
                return false;
            }
        }
        return true;
    }
};

LPVOID WINAPI FailingHeapAlloc(HANDLE, DWORD, SIZE_T) {
    return nullptr;
}

} // namespace

TEST(FormatString, WritesTheWholeTextAndItsLengthWhenItFits) {
    GuardedBuffer buffer;
    EXPECT_EQ(FormatString(buffer.Data(), 8, L"%02d|%ls", 7, L"ab"), 5);
    EXPECT_STREQ(buffer.Data(), L"07|ab");
    EXPECT_TRUE(buffer.OutsideUntouched(8));
}

TEST(FormatString, TextThatExactlyFillsTheCapacityIsNotCut) {
    GuardedBuffer buffer;
    EXPECT_EQ(FormatString(buffer.Data(), 4, L"%d", 123), 3);
    EXPECT_STREQ(buffer.Data(), L"123");
    EXPECT_TRUE(buffer.OutsideUntouched(4));
}

TEST(FormatString, CutTextKeepsCapacityMinusOneUnitsAndGivesMinusOne) {
    for (size_t capacity = 1; capacity <= 6; ++capacity) {
        GuardedBuffer buffer;
        EXPECT_EQ(FormatString(buffer.Data(), capacity, L"%04d-%ls", 2026, L"W49"), -1) << capacity;
        EXPECT_EQ(wcslen(buffer.Data()), capacity - 1) << capacity;
        EXPECT_EQ(wcsncmp(buffer.Data(), L"2026-W49", capacity - 1), 0) << capacity;
        EXPECT_TRUE(buffer.OutsideUntouched(capacity)) << capacity;
    }
}

TEST(FormatString, NoRoomOrNoFormatWritesNothingOutside) {
    GuardedBuffer buffer;
    EXPECT_EQ(FormatString(buffer.Data(), 0, L"%d", 5), -1);
    EXPECT_TRUE(buffer.OutsideUntouched(0));
    EXPECT_EQ(FormatString(buffer.Data(), 8, nullptr), -1);
    EXPECT_EQ(buffer.Data()[0], L'\0');
    EXPECT_TRUE(buffer.OutsideUntouched(8));
}

TEST(FormatString, WideStringsKeepNonAsciiUnits) {
    GuardedBuffer buffer;
    EXPECT_EQ(FormatString(buffer.Data(), 16, L"\"%ls\"", L"C:\\\u00c5\u2014\U0001F600"), 9);
    EXPECT_STREQ(buffer.Data(), L"\"C:\\\u00c5\u2014\U0001F600\"");
}

using HeapStrings = PlatformTest;

TEST_F(HeapStrings, DuplicateCopiesTextAndTerminator) {
    const wchar_t* source = L"Pellow \u00c5";
    wchar_t* copy = HeapStringDuplicate(source);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, source);
    EXPECT_STREQ(copy, source);
    EXPECT_EQ(HeapSize(GetProcessHeap(), 0, copy), (wcslen(source) + 1) * sizeof(wchar_t));
    HeapFree(GetProcessHeap(), 0, copy);

    wchar_t* empty = HeapStringDuplicate(L"");
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(empty[0], L'\0');
    HeapFree(GetProcessHeap(), 0, empty);
}

TEST_F(HeapStrings, DuplicateGivesNullWhenMemoryRunsOut) {
    platform.heapAlloc = FailingHeapAlloc;
    EXPECT_EQ(HeapStringDuplicate(L"w"), nullptr);
}

TEST_F(HeapStrings, ReplaceTakesOwnershipAndIgnoresNull) {
    wchar_t* slot = HeapStringDuplicate(L"old");
    ASSERT_NE(slot, nullptr);
    wchar_t* const before = slot;
    ReplaceOwnedString(&slot, nullptr);
    EXPECT_EQ(slot, before);
    EXPECT_STREQ(slot, L"old");

    wchar_t* replacement = HeapStringDuplicate(L"new");
    ReplaceOwnedString(&slot, replacement);
    EXPECT_EQ(slot, replacement);
    HeapFree(GetProcessHeap(), 0, slot);

    wchar_t* emptySlot = nullptr;
    wchar_t* first = HeapStringDuplicate(L"first");
    ReplaceOwnedString(&emptySlot, first);
    EXPECT_EQ(emptySlot, first);
    HeapFree(GetProcessHeap(), 0, emptySlot);
}
