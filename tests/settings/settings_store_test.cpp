#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/strings.h"
#include "settings/heap_fakes.h"
#include "settings/same_text.h"
#include "settings/settings_store.h"
#include "support/registry_sandbox.h"

namespace {

const wchar_t SettingsKey[] = L"Software\\Pellow Dune\\Kivet";

class SettingsStoreTest : public RegistrySandboxTest {
  protected:
    void TearDown() override {
        FreeHeapBlock(settings.additionalLine);
        RegistrySandboxTest::TearDown();
        heap_fakes::ReleaseGuardedBlocks();
    }

    void Load() {
        FreeHeapBlock(settings.additionalLine);
        settings = Settings{};
        LoadSettings(&settings);
    }

    void PutString(const wchar_t* name, const std::wstring& text) {
        ASSERT_EQ(WriteTestString(SettingsKey, name, text), ERROR_SUCCESS);
    }
    void PutDword(const wchar_t* name, DWORD value) {
        ASSERT_EQ(WriteTestDword(SettingsKey, name, value), ERROR_SUCCESS);
    }
    void PutRaw(const wchar_t* name, DWORD type, const void* data, DWORD bytes) {
        ASSERT_EQ(WriteTestValue(SettingsKey, name, type, data, bytes), ERROR_SUCCESS);
    }

    std::wstring Line() const {
        return settings.additionalLine != nullptr ? settings.additionalLine : L"<null>";
    }

    // Expects the whole record at once, so a failure shows every field.
    void ExpectRecord(const std::wstring& line, int32_t position, int32_t leadingZero = 0,
                      int32_t scheme = 0, const std::wstring& face = L"Lekton",
                      int32_t followTaskbar = 0) {
        EXPECT_EQ(Line(), line);
        EXPECT_EQ(settings.linePosition, position);
        EXPECT_EQ(settings.leadingZero, leadingZero);
        EXPECT_EQ(settings.colourScheme, scheme);
        EXPECT_EQ(std::wstring(settings.fontFace), face);
        EXPECT_EQ(settings.followTaskbarTheme, followTaskbar);
    }

    Settings settings{};
};

std::vector<std::wstring> Sorted(std::vector<std::wstring> names) {
    std::sort(names.begin(), names.end());
    return names;
}

const std::vector<std::wstring> CurrentNames =
    Sorted({L"AdditionalLine", L"AdditionalLinePosition", L"LeadingZero", L"ColourScheme", L"Font",
            L"FollowTaskbarTheme"});

} // namespace

// Loading: defaults and the current layout

TEST_F(SettingsStoreTest, DefaultsWhenThereIsNoKeyOrAnEmptyOne) {
    Load();
    ExpectRecord(L"w", Above);
    ASSERT_EQ(CreateVolatileTestKey(SettingsKey), ERROR_SUCCESS);
    Load();
    ExpectRecord(L"w", Above);
}

TEST_F(SettingsStoreTest, StoredValuesOverlayTheDefaults) {
    PutString(L"AdditionalLine", L"KW");
    PutDword(L"AdditionalLinePosition", Below);
    PutDword(L"LeadingZero", 1);
    PutDword(L"ColourScheme", 1);
    PutString(L"Font", L"Consolas");
    Load();
    ExpectRecord(L"KW", Below, 1, 1, L"Consolas");
}

TEST_F(SettingsStoreTest, UnusableAdditionalLineGivesWButThePositionIsStillRead) {
    const DWORD number = 5;
    const std::wstring tooLong(32768, L'x');
    struct Case {
        const char* what;
        DWORD type;
        const void* data;
        DWORD bytes;
    };
    const Case cases[] = {
        {"zero bytes", REG_SZ, nullptr, 0},
        {"a dword", REG_DWORD, &number, 4},
        {"65,538 bytes", REG_SZ, tooLong.c_str(), 65538},
        {"binary text", REG_BINARY, L"ab", 6},
    };
    for (const Case& c : cases) {
        PutRaw(L"AdditionalLine", c.type, c.data, c.bytes);
        PutDword(L"AdditionalLinePosition", Hidden);
        Load();
        EXPECT_EQ(Line(), L"w") << c.what;
        EXPECT_EQ(settings.linePosition, Hidden) << c.what;
    }
}

TEST_F(SettingsStoreTest, AdditionalLineTextEdges) {
    PutString(L"AdditionalLine", L"");
    PutDword(L"AdditionalLinePosition", Below);
    Load();
    ExpectRecord(L"", Below);

    const std::wstring largest(32767, L'q');
    PutString(L"AdditionalLine", largest);
    Load();
    EXPECT_TRUE(SameText(Line(), largest));

    PutString(L"AdditionalLine", largest + L"q");
    Load();
    EXPECT_EQ(Line(), L"w");

    PutRaw(L"AdditionalLine", REG_SZ, L"KW", 4); // no terminator
    Load();
    EXPECT_EQ(Line(), L"KW");

    const BYTE odd[3] = {'K', 0, 'W'};
    PutRaw(L"AdditionalLine", REG_SZ, odd, 3);
    platform.heapAlloc = heap_fakes::GuardedHeapAlloc;
    Load();
    EXPECT_EQ(Line(), L"KW");
}

TEST_F(SettingsStoreTest, ExpandableAdditionalLineIsUsedUnexpandedAndSavedBackAsPlainText) {
    PutRaw(L"AdditionalLine", REG_EXPAND_SZ, L"%USERNAME%", sizeof(L"%USERNAME%"));
    Load();
    EXPECT_EQ(Line(), L"%USERNAME%");
    ASSERT_EQ(SaveSettings(&settings), ERROR_SUCCESS);
    TestRegistryValue saved = ReadTestValue(SettingsKey, L"AdditionalLine");
    EXPECT_EQ(saved.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(saved.Units(), std::wstring(L"%USERNAME%", 11));
}

TEST_F(SettingsStoreTest, NumbersOutOfRangeOrOfTheWrongTypeAreNormalised) {
    struct Case {
        const wchar_t* name;
        DWORD type;
        ULONGLONG data;
        DWORD bytes;
        int32_t Settings::*field;
        int32_t expected;
    };
    const Case cases[] = {
        {L"AdditionalLinePosition", REG_DWORD, 0, 4, &Settings::linePosition, Hidden},
        {L"AdditionalLinePosition", REG_DWORD, 2, 4, &Settings::linePosition, Below},
        {L"AdditionalLinePosition", REG_DWORD, 3, 4, &Settings::linePosition, Above},
        {L"AdditionalLinePosition", REG_DWORD, 0xFFFFFFFF, 4, &Settings::linePosition, Above},
        {L"AdditionalLinePosition", REG_QWORD, 0, 8, &Settings::linePosition, Above},
        {L"AdditionalLinePosition", REG_BINARY, 2, 4, &Settings::linePosition, Above},
        {L"AdditionalLinePosition", REG_DWORD, 2, 2, &Settings::linePosition, Above},
        {L"LeadingZero", REG_DWORD, 1, 4, &Settings::leadingZero, 1},
        {L"LeadingZero", REG_DWORD, 7, 4, &Settings::leadingZero, 1},
        {L"LeadingZero", REG_DWORD, 0x80000000, 4, &Settings::leadingZero, 1},
        {L"LeadingZero", REG_QWORD, 1, 8, &Settings::leadingZero, 0},
        {L"LeadingZero", REG_SZ, L'1', 4, &Settings::leadingZero, 0},
        {L"ColourScheme", REG_DWORD, 1, 4, &Settings::colourScheme, 1},
        {L"ColourScheme", REG_DWORD, 2, 4, &Settings::colourScheme, 0},
        {L"ColourScheme", REG_DWORD, 0xFFFFFFFF, 4, &Settings::colourScheme, 0},
        {L"ColourScheme", REG_BINARY, 1, 4, &Settings::colourScheme, 0},
        {L"FollowTaskbarTheme", REG_DWORD, 7, 4, &Settings::followTaskbarTheme, 1},
        {L"FollowTaskbarTheme", REG_DWORD, 1, 2, &Settings::followTaskbarTheme, 0},
        {L"FollowTaskbarTheme", REG_QWORD, 1, 8, &Settings::followTaskbarTheme, 0},
        {L"FollowTaskbarTheme", REG_SZ, L'1', 4, &Settings::followTaskbarTheme, 0},
    };
    PutString(L"AdditionalLine", L"x");
    for (const Case& c : cases) {
        PutRaw(c.name, c.type, &c.data, c.bytes);
        Load();
        EXPECT_EQ(settings.*c.field, c.expected)
            << "value " << c.data << " of type " << c.type << " in " << c.bytes << " bytes";
        RegDeleteKeyValueW(HKEY_CURRENT_USER, SettingsKey, c.name);
    }
}

// A colour is taken only as a REG_DWORD of 4 bytes up to 0x00FFFFFF; otherwise none is set
// and the scheme applies. Saving writes a set colour and deletes one that is not.
TEST_F(SettingsStoreTest, ColoursAreTakenOnlyAsDwordsWithinTheColourRange) {
    const struct {
        DWORD type;
        ULONGLONG data;
        DWORD bytes;
        uint32_t expected;
    } cases[] = {
        {REG_DWORD, 0, 4, ColourIsSet | 0}, // black is a colour, not "none"
        {REG_DWORD, 0x00FFFFFF, 4, ColourIsSet | 0x00FFFFFF},
        {REG_DWORD, 0x01000000, 4, NoColour},
        {REG_QWORD, 0x00336699, 8, NoColour},
        {REG_BINARY, 0x00336699, 4, NoColour},
    };
    PutString(L"AdditionalLine", L"x");
    for (uint32_t Settings::*field : {&Settings::textColour, &Settings::backgroundColour}) {
        const wchar_t* name = field == &Settings::textColour ? L"TextColour" : L"BackgroundColour";
        Load();
        EXPECT_EQ(settings.*field, NoColour) << "absent";
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.data << " of type " << c.type);
            PutRaw(name, c.type, &c.data, c.bytes);
            Load();
            EXPECT_EQ(settings.*field, c.expected);
            ASSERT_EQ(SaveSettings(&settings), ERROR_SUCCESS);
            TestRegistryValue saved = ReadTestValue(SettingsKey, name);
            EXPECT_EQ(saved.exists, c.expected != NoColour);
            if (saved.exists) {
                EXPECT_EQ(*reinterpret_cast<const DWORD*>(saved.bytes.data()), c.data);
            }
        }
    }
}

TEST_F(SettingsStoreTest, CustomColoursAreSixteenColoursOrWhiteBoxes) {
    uint32_t colours[CustomColourCount];
    LoadCustomColours(colours);
    EXPECT_EQ(std::vector<uint32_t>(colours, colours + 16), std::vector<uint32_t>(16, 0xFFFFFF));
    colours[3] = 0x00010203;
    ASSERT_EQ(SaveCustomColours(colours), ERROR_SUCCESS);
    EXPECT_EQ(ReadTestValue(SettingsKey, L"CustomColours").type, static_cast<DWORD>(REG_BINARY));
    uint32_t loaded[CustomColourCount] = {};
    LoadCustomColours(loaded);
    EXPECT_EQ(loaded[3], 0x00010203u);
    PutRaw(L"CustomColours", REG_BINARY, colours, 60); // too short: white boxes
    LoadCustomColours(loaded);
    EXPECT_EQ(loaded[3], 0xFFFFFFu);
}

TEST_F(SettingsStoreTest, PositionIsIgnoredWithoutAdditionalLine) {
    PutDword(L"AdditionalLinePosition", Below);
    Load();
    ExpectRecord(L"w", Above);
}

TEST_F(SettingsStoreTest, FontFaceIsKeptWhenEmptyAndCutTo31Units) {
    PutString(L"Font", L"");
    Load();
    EXPECT_EQ(std::wstring(settings.fontFace), L"Lekton");

    const std::wstring forty = L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd";
    ASSERT_EQ(forty.size(), 40u);
    PutString(L"Font", forty);
    Load();
    EXPECT_EQ(std::wstring(settings.fontFace), forty.substr(0, 31));

    const DWORD number = 1;
    PutRaw(L"Font", REG_DWORD, &number, 4);
    Load();
    EXPECT_EQ(std::wstring(settings.fontFace), L"Lekton");

    PutRaw(L"Font", REG_EXPAND_SZ, L"Arial", 10); // no terminator
    Load();
    EXPECT_EQ(std::wstring(settings.fontFace), L"Arial");
}

// Loading: the earlier layout

TEST_F(SettingsStoreTest, LegacyValuesMigrateByTheFirstMatchingRule) {
    const DWORD number = 3;
    struct Value {
        const wchar_t* name;
        const wchar_t* text; // null: a REG_DWORD
    };
    struct Case {
        std::vector<Value> values;
        std::wstring line;
        int32_t position;
    };
    const Case cases[] = {
        {{{L"Suffix", L"s"}}, L"s", Below},
        {{{L"Prefix", L"p"}}, L"p", Above},
        {{{L"LineBelow", L"b"}}, L"b", Below},
        {{{L"LineAbove", L"a"}}, L"a", Above},
        {{{L"LineAbove", L"a"}, {L"LineBelow", L"b"}}, L"a", Above},
        {{{L"Prefix", L"p"}, {L"Suffix", L"s"}}, L"p", Above},
        {{{L"LineAbove", L""}, {L"Prefix", L"p"}}, L"w", Hidden},
        {{{L"LineBelow", L""}, {L"Suffix", L"s"}}, L"w", Hidden},
        {{{L"LineAbove", L""}, {L"Prefix", L"p"}, {L"Suffix", L"s"}}, L"s", Below},
        {{{L"Prefix", nullptr}}, L"w", Hidden},
        {{{L"Suffix", L""}}, L"w", Hidden},
        {{{L"LineAbove", nullptr}, {L"Suffix", L"s"}}, L"s", Below},
        {{{L"LineAbove", L"a"}, {L"AdditionalLinePosition", nullptr}}, L"a", Above},
        {{{L"LineBelow", L"b"}, {L"AdditionalLinePosition", nullptr}}, L"b", Below},
        {{{L"AdditionalLinePosition", nullptr}}, L"w", Above},
    };
    int index = 0;
    for (const Case& c : cases) {
        RegDeleteTreeW(HKEY_CURRENT_USER, SettingsKey);
        for (const Value& value : c.values) {
            if (value.text != nullptr) {
                PutString(value.name, value.text);
            } else {
                PutDword(value.name, number);
            }
        }
        Load();
        EXPECT_EQ(Line(), c.line) << "case " << index;
        EXPECT_EQ(settings.linePosition, c.position) << "case " << index;
        ++index;
    }
}

TEST_F(SettingsStoreTest, StoredAdditionalLineWinsOverLegacyValuesEvenWhenUnusable) {
    PutString(L"LineAbove", L"old");
    PutString(L"Suffix", L"older");
    PutString(L"AdditionalLine", L"new");
    PutDword(L"AdditionalLinePosition", Below);
    Load();
    ExpectRecord(L"new", Below);

    const DWORD number = 1;
    PutRaw(L"AdditionalLine", REG_DWORD, &number, 4);
    Load();
    ExpectRecord(L"w", Below);
}

TEST_F(SettingsStoreTest, LoadingNeverWritesAndMigratesAgainUntilTheFirstSave) {
    PutString(L"Prefix", L"p");
    PutString(L"LineBelow", L"b");
    const std::vector<std::wstring> before = Sorted(TestValueNames(SettingsKey));
    Load();
    Load();
    ExpectRecord(L"p", Above);
    EXPECT_EQ(Sorted(TestValueNames(SettingsKey)), before);

    ASSERT_EQ(SaveSettings(&settings), ERROR_SUCCESS);
    EXPECT_EQ(Sorted(TestValueNames(SettingsKey)), CurrentNames);
    Load();
    ExpectRecord(L"p", Above);
}

// Saving

TEST_F(SettingsStoreTest, SaveLeavesExactlyTheCurrentValuesBesideForeignOnes) {
    for (const wchar_t* legacy : {L"LineAbove", L"LineBelow", L"Prefix", L"Suffix"}) {
        PutString(legacy, L"old");
    }
    PutString(L"AdditionalLine", L"stale");
    PutString(L"SomethingElse", L"kept");
    settings.additionalLine = HeapStringDuplicate(L"KW");
    settings.linePosition = Below;
    settings.leadingZero = 1;
    settings.colourScheme = 1;
    lstrcpynW(settings.fontFace, L"Consolas", 32);
    settings.followTaskbarTheme = 1;

    ASSERT_EQ(SaveSettings(&settings), ERROR_SUCCESS);

    std::vector<std::wstring> expectedNames = CurrentNames;
    expectedNames.push_back(L"SomethingElse");
    EXPECT_EQ(Sorted(TestValueNames(SettingsKey)), Sorted(expectedNames));

    TestRegistryValue line = ReadTestValue(SettingsKey, L"AdditionalLine");
    EXPECT_EQ(line.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(line.Units(), std::wstring(L"KW", 3));
    TestRegistryValue face = ReadTestValue(SettingsKey, L"Font");
    EXPECT_EQ(face.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(face.Units(), std::wstring(L"Consolas", 9));
    const std::pair<const wchar_t*, DWORD> numbers[] = {{L"AdditionalLinePosition", 2},
                                                        {L"LeadingZero", 1},
                                                        {L"ColourScheme", 1},
                                                        {L"FollowTaskbarTheme", 1}};
    for (const auto& number : numbers) {
        TestRegistryValue value = ReadTestValue(SettingsKey, number.first);
        EXPECT_EQ(value.type, static_cast<DWORD>(REG_DWORD)) << number.first;
        ASSERT_EQ(value.bytes.size(), 4u) << number.first;
        EXPECT_EQ(*reinterpret_cast<const DWORD*>(value.bytes.data()), number.second)
            << number.first;
    }
    EXPECT_EQ(ReadTestValue(SettingsKey, L"SomethingElse").Units(), std::wstring(L"kept", 5));
}

TEST_F(SettingsStoreTest, SaveCreatesTheKeyAndLoadGivesTheSameRecordBack) {
    settings.additionalLine = HeapStringDuplicate(L"");
    settings.linePosition = Hidden;
    settings.leadingZero = 1;
    settings.colourScheme = 1;
    const std::wstring longestFace(31, L'F');
    lstrcpynW(settings.fontFace, longestFace.c_str(), 32);

    settings.followTaskbarTheme = 1; // beside the scheme chosen last, which stays

    ASSERT_EQ(SaveSettings(&settings), ERROR_SUCCESS);
    EXPECT_EQ(ReadTestValue(SettingsKey, L"Font").bytes.size(), 64u);
    Load();
    ExpectRecord(L"", Hidden, 1, 1, longestFace, 1);
}

TEST_F(SettingsStoreTest, SaveWritesAFaceWithoutTerminatorCutInsideTheArray) {
    settings.additionalLine = HeapStringDuplicate(L"w");
    std::fill(std::begin(settings.fontFace), std::end(settings.fontFace), L'F');
    ASSERT_EQ(SaveSettings(&settings), ERROR_SUCCESS);
    EXPECT_EQ(ReadTestValue(SettingsKey, L"Font").Units(), std::wstring(31, L'F') + L'\0');
}

// The registry refuses a lasting key below a volatile one: the key cannot be created.
TEST_F(SettingsStoreTest, SaveThatCannotCreateTheKeyReturnsItsErrorAndWritesNothing) {
    ASSERT_EQ(CreateVolatileTestKey(L"Software\\Pellow Dune"), ERROR_SUCCESS);
    settings.additionalLine = HeapStringDuplicate(L"KW");
    lstrcpynW(settings.fontFace, L"Lekton", 32);

    EXPECT_EQ(SaveSettings(&settings), static_cast<LSTATUS>(ERROR_CHILD_MUST_BE_VOLATILE));
    EXPECT_FALSE(TestKeyExists(SettingsKey));
    EXPECT_TRUE(TestValueNames(L"Software\\Pellow Dune").empty());

    ASSERT_TRUE(PointSandboxAtDeletedKey());
    EXPECT_EQ(SaveSettings(&settings), static_cast<LSTATUS>(ERROR_KEY_DELETED));
}

TEST_F(SettingsStoreTest, UnopenableKeyLoadsTheDefaults) {
    PutString(L"AdditionalLine", L"KW");
    ASSERT_TRUE(PointSandboxAtDeletedKey());
    Load();
    ExpectRecord(L"w", Above);
}

// Exhausted memory

TEST_F(SettingsStoreTest, LoadWithoutAnyMemoryLeavesTheLineNullAndTheRestLoaded) {
    PutString(L"AdditionalLine", L"KW");
    PutDword(L"AdditionalLinePosition", Below);
    PutDword(L"ColourScheme", 1);
    PutString(L"Font", L"Consolas");
    platform.heapAlloc = heap_fakes::FailingHeapAlloc;
    heap_fakes::ResetAllocationCount({}, 1);
    Load();
    ExpectRecord(L"<null>", Below, 0, 1, L"Lekton");
}

TEST_F(SettingsStoreTest, LoadKeepsTheDefaultLineWhenOnlyTheReadsRunOutOfMemory) {
    PutString(L"AdditionalLine", L"KW");
    PutDword(L"AdditionalLinePosition", Below);
    platform.heapAlloc = heap_fakes::FailingHeapAlloc;
    heap_fakes::ResetAllocationCount({}, 2); // everything after the default "w"
    Load();
    ExpectRecord(L"w", Below);
}

TEST_F(SettingsStoreTest, LoadTakesTheStoredLineWhenOnlyTheDefaultRanOutOfMemory) {
    PutString(L"AdditionalLine", L"KW");
    platform.heapAlloc = heap_fakes::FailingHeapAlloc;
    heap_fakes::ResetAllocationCount({1});
    Load();
    EXPECT_EQ(Line(), L"KW");
}

TEST_F(SettingsStoreTest, MigrationWithoutMemoryStillHidesTheLine) {
    PutString(L"Prefix", L"p");
    platform.heapAlloc = heap_fakes::FailingHeapAlloc;
    heap_fakes::ResetAllocationCount({}, 2);
    Load();
    ExpectRecord(L"w", Hidden);
}
