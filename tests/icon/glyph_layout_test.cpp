// A long line without right-to-left text is itemized in pieces, yet shapes as the whole: a run
// repeated past many pieces, surrogate pairs and marks included, gives the run's glyphs repeated.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "icon/glyph_layout.h"

TEST(GlyphLayoutTest, ALongLineInPiecesGivesTheGlyphsOfItsRepeatedRun) {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontW(-20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, L"Lekton");
    SelectObject(dc, font);
    ASSERT_TRUE(OpenGlyphLayouts());
    const std::wstring run = L"Week 49 \U0001F600e\u0301\u200b0123\u200d ";
    std::wstring line;
    std::vector<WORD> expected;
    const ShapedLine* shaped = ShapeLine(dc, run.c_str(), static_cast<int>(run.size()), L"Lekton");
    ASSERT_NE(shaped, nullptr);
    while (line.size() < 5000) {
        line += run;
        expected.insert(expected.end(), shaped->glyphs, shaped->glyphs + shaped->count);
    }
    shaped = ShapeLine(dc, line.c_str(), static_cast<int>(line.size()), L"Lekton");
    ASSERT_NE(shaped, nullptr);
    EXPECT_EQ(std::vector<WORD>(shaped->glyphs, shaped->glyphs + shaped->count), expected);
    CloseGlyphLayouts();
    DeleteDC(dc);
    DeleteObject(font);
}
