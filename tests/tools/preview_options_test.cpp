#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "preview_options.h"

namespace {

struct Parsed {
    bool ok;
    PreviewOptions options;
    std::wstring error;
};

Parsed Parse(std::vector<const wchar_t*> arguments) {
    arguments.insert(arguments.begin(), L"kivet-preview.exe");
    Parsed parsed;
    parsed.ok = ParsePreviewOptions(static_cast<int>(arguments.size()), arguments.data(),
                                    &parsed.options, &parsed.error);
    return parsed;
}

} // namespace

TEST(ParsePreviewOptions, EveryOptionReachesItsField) {
    Parsed parsed = Parse({L"--out",         L"a.png",  L"--date",         L"2024-02-29",
                           L"--edge",        L"256",    L"--line",         L"KW",
                           L"--position",    L"below",  L"--leading-zero", L"1",
                           L"--scheme",      L"1",      L"--font",         L"Courier New",
                           L"--text-colour", L"FF8000", L"--background",   L"#1a2B3c"});
    ASSERT_TRUE(parsed.ok) << std::string(parsed.error.begin(), parsed.error.end());
    EXPECT_EQ(parsed.options.out, L"a.png");
    EXPECT_TRUE(parsed.options.dateGiven);
    EXPECT_EQ(parsed.options.year, 2024);
    EXPECT_EQ(parsed.options.month, 2);
    EXPECT_EQ(parsed.options.day, 29);
    EXPECT_EQ(parsed.options.edge, 256);
    EXPECT_EQ(parsed.options.line, L"KW");
    EXPECT_EQ(parsed.options.linePosition, 2);
    EXPECT_EQ(parsed.options.leadingZero, 1);
    EXPECT_EQ(parsed.options.colourScheme, 1);
    EXPECT_EQ(parsed.options.fontFace, L"Courier New");
    // Written RRGGBB, held as the COLORREF 0x00BBGGRR.
    EXPECT_EQ(parsed.options.textColour, ColourIsSet | 0x000080FF);
    EXPECT_EQ(parsed.options.backgroundColour, ColourIsSet | 0x003C2B1A);
}

TEST(ParsePreviewOptions, DefaultsAreTheProgramsAndTheSystemEdge) {
    Parsed parsed = Parse({L"--sheet", L"s.png"});
    ASSERT_TRUE(parsed.ok);
    EXPECT_EQ(parsed.options.sheet, L"s.png");
    EXPECT_FALSE(parsed.options.dateGiven);
    EXPECT_EQ(parsed.options.edge, 0);
    EXPECT_EQ(parsed.options.line, L"w");
    EXPECT_EQ(parsed.options.linePosition, 1);
    EXPECT_EQ(parsed.options.leadingZero, 0);
    EXPECT_EQ(parsed.options.colourScheme, 0);
    EXPECT_EQ(parsed.options.fontFace, L"Lekton");
    EXPECT_EQ(parsed.options.textColour, NoColour);
    EXPECT_EQ(parsed.options.backgroundColour, NoColour);
    // An empty line is allowed: the icon then has the week number alone.
    EXPECT_TRUE(Parse({L"--out", L"a.png", L"--line", L""}).ok);
    EXPECT_EQ(Parse({L"--out", L"a.png", L"--position", L"hidden"}).options.linePosition, 0);
    EXPECT_EQ(Parse({L"--out", L"a.png", L"--edge", L"16"}).options.edge, 16);
}

TEST(ParsePreviewOptions, BadValuesAndCombinationsAreRefusedWithAReason) {
    const std::vector<std::vector<const wchar_t*>> refused = {
        {},
        {L"--out", L"a.png", L"--sheet", L"b.png"},
        {L"--out"},
        {L"--out", L""},
        {L"a.png"},
        {L"--out", L"a.png", L"--colour", L"1"},
        {L"--out", L"a.png", L"--date", L"2025-02-29"}, // not a leap year
        {L"--out", L"a.png", L"--date", L"2026-13-01"},
        {L"--out", L"a.png", L"--date", L"2026-04-31"},
        {L"--out", L"a.png", L"--date", L"2026-4-1"},
        {L"--out", L"a.png", L"--date", L"0000-01-01"},
        {L"--out", L"a.png", L"--date", L"2026-01-01x"},
        {L"--out", L"a.png", L"--edge", L"15"},
        {L"--out", L"a.png", L"--edge", L"257"},
        {L"--out", L"a.png", L"--edge", L"-20"},
        {L"--out", L"a.png", L"--edge", L"20px"},
        {L"--out", L"a.png", L"--edge", L""},
        {L"--out", L"a.png", L"--position", L"Above"},
        {L"--out", L"a.png", L"--leading-zero", L"2"},
        {L"--out", L"a.png", L"--scheme", L"-1"},
        {L"--out", L"a.png", L"--font", L""},
        {L"--out", L"a.png", L"--font", L"FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF"}, // 32
        {L"--out", L"a.png", L"--text-colour", L"FF800"},
        {L"--out", L"a.png", L"--background", L"#FF80001"},
        {L"--out", L"a.png", L"--background", L"GG0000"},
        {L"--sheet", L"s.png", L"--edge", L"20"},
        {L"--sheet", L"s.png", L"--scheme", L"1"},
        {L"--sheet", L"s.png", L"--position", L"below"},
    };
    for (const auto& arguments : refused) {
        Parsed parsed = Parse(arguments);
        std::string shown;
        for (const wchar_t* argument : arguments) {
            std::wstring wide = argument;
            shown += std::string(wide.begin(), wide.end()) + " ";
        }
        EXPECT_FALSE(parsed.ok) << shown;
        EXPECT_FALSE(parsed.error.empty()) << shown;
        EXPECT_EQ(parsed.error.find(L'\n'), std::wstring::npos) << shown;
    }
    // A face of exactly 31 characters is the longest the settings hold.
    EXPECT_TRUE(Parse({L"--out", L"a.png", L"--font", L"FFFFFFFFFFFFFFFFFFFFFFFFFFFFFFF"}).ok);
}
