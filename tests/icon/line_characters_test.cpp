// The character classes the long-line renderer leans on: surrogate pairs read as one code
// point, and the blanks, context-shaped and simple left-to-right characters as classified.
#include <gtest/gtest.h>

#include <string>

#include "icon/line_characters.h"

TEST(LineCharactersTest, SurrogatePairsAreOneCodePointFromEitherSide) {
    const struct {
        std::wstring text;
        uint32_t first;
        int firstUnits;
        uint32_t last;
        int lastUnits;
    } cases[] = {
        {L"a\U0001F600", L'a', 1, 0x1F600, 2},
        {L"\U0001F600a", 0x1F600, 2, L'a', 1},
        // Unpaired halves stay single units.
        {L"\xD83D"
         L"a\xDE00",
         0xD83D, 1, 0xDE00, 1},
        {L"\xDE00\xD83D", 0xDE00, 1, 0xD83D, 1},
    };
    for (const auto& c : cases) {
        const int length = static_cast<int>(c.text.size());
        int units = 0;
        EXPECT_EQ(CodePointAt(c.text.c_str(), length, 0, &units), c.first);
        EXPECT_EQ(units, c.firstUnits);
        EXPECT_EQ(CodePointBefore(c.text.c_str(), length, &units), c.last);
        EXPECT_EQ(units, c.lastUnits);
    }
    // A high surrogate at the very end has no partner to join.
    int units = 0;
    EXPECT_EQ(CodePointAt(L"\xD83D", 1, 0, &units), 0xD83Du);
    EXPECT_EQ(units, 1);
}

TEST(LineCharactersTest, ClassesKeepShapingAndDirectionOutOfTheShortcuts) {
    const struct {
        uint32_t code;
        bool trimmable;
        bool shapesInContext;
        bool simple;
    } cases[] = {
        // One character stands for each range: a blank, a blank that is no simple letter, a
        // joiner, a letter, a combining mark, right-to-left, Thai's vowel sign, emoji and
        // their modifiers, and a lone surrogate.
        {0x00A0, true, false, true},  {0x2060, true, false, false},   {0x200D, false, true, false},
        {L'w', false, false, true},   {0x0301, false, true, false},   {0x05D0, false, false, false},
        {0x0E31, false, true, false}, {0x1F600, false, false, false}, {0x1F3FB, false, true, false},
        {0xDE00, false, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.code));
        EXPECT_EQ(IsTrimmableBlank(c.code), c.trimmable);
        EXPECT_EQ(ShapesInContext(c.code), c.shapesInContext);
        EXPECT_EQ(IsSimpleLeftToRight(c.code), c.simple);
    }
}
