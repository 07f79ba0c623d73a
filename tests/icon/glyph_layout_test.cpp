// Shaping long lines: a line without right-to-left text is itemized in pieces, and must come out
// as the whole line would.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "icon/glyph_layout.h"
#include "icon/icon_test_support.h"

namespace {

using GlyphLayoutTest = RendererTest;

std::vector<WORD> Shaped(HDC dc, const std::wstring& line) {
    const ShapedLine* shaped =
        ShapeLine(dc, line.c_str(), static_cast<int>(line.size()), L"Lekton");
    return shaped != nullptr ? std::vector<WORD>(shaped->glyphs, shaped->glyphs + shaped->count)
                             : std::vector<WORD>();
}

} // namespace

// A run repeated thousands of units long, so that pieces end at every place in it, surrogate
// pairs and marks included: the run's glyphs, repeated.
TEST_F(GlyphLayoutTest, ALongLineInPiecesGivesTheGlyphsOfItsRepeatedRun) {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontW(-20, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                             DEFAULT_PITCH, L"Lekton");
    HGDIOBJ former = SelectObject(dc, font);
    ASSERT_TRUE(OpenGlyphLayouts());
    const std::wstring run = L"Week 49 \U0001F600e\u0301\u200b0123\u200d ";
    const std::vector<WORD> runGlyphs = Shaped(dc, run);
    std::wstring line;
    std::vector<WORD> expected;
    while (line.size() < 5000) {
        line += run;
        expected.insert(expected.end(), runGlyphs.begin(), runGlyphs.end());
    }
    EXPECT_FALSE(runGlyphs.empty());
    EXPECT_EQ(Shaped(dc, line), expected);
    CloseGlyphLayouts();
    SelectObject(dc, former);
    DeleteObject(font);
    DeleteDC(dc);
}
