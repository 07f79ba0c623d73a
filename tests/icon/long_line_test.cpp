// Lines drawn for the icon from their layout: only the glyphs around the ink, on a raster the
// size of the icon. The attempt must go on exactly when the whole raster's ink would fit, with
// the same ink, and the icon must be the same.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <random>
#include <string>
#include <vector>

#include "common/app_state.h"
#include "icon/glyph_layout.h"
#include "icon/icon_test_support.h"
#include "support/resource_census.h"
#include "icon/week_icon.h"
#include "icon/week_icon_steps.h"
#include "support/platform_fixture.h"

namespace {

using LongLineTest = RendererTest;

// The coverage inside a raster's ink box, row by row, and the box's size.
struct InkImage {
    bool hasInk = false;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> coverage;
};

InkImage InkOf(LineRaster* raster) {
    InkImage image;
    image.hasInk = FindInkBox(raster);
    if (!image.hasInk) {
        return image;
    }
    image.width = raster->inkRight - raster->inkLeft + 1;
    image.height = raster->inkBottom - raster->inkTop + 1;
    for (int y = raster->inkTop; y <= raster->inkBottom; ++y) {
        for (int x = raster->inkLeft; x <= raster->inkRight; ++x) {
            image.coverage.push_back(raster->pixels[4 * (y * raster->width + x) + 2]);
        }
    }
    return image;
}

// Draws `line` for an icon that allows ink of `maxInkWidth` by `maxInkHeight` pixels. The attempt
// must go on with the line exactly when the whole raster's ink fits, and then with the same ink.
// Counts the lines compared and those given up.
void ExpectTheWholeRastersOutcome(const std::wstring& line, int height, int maxInkWidth,
                                  int maxInkHeight, const InkImage& expected, int* compared,
                                  int* givenUp) {
    LineRaster windowed = {};
    const bool drawn =
        RasterizeLineForIcon(line.c_str(), height, maxInkWidth, maxInkHeight, &windowed);
    const InkImage got = drawn ? InkOf(&windowed) : InkImage();
    ReleaseLineRaster(&windowed);
    const bool fits =
        expected.hasInk && expected.width <= maxInkWidth && expected.height <= maxInkHeight;
    EXPECT_EQ(got.hasInk && got.width <= maxInkWidth && got.height <= maxInkHeight, fits);
    if (!fits) {
        ++*givenUp;
        return;
    }
    EXPECT_EQ(got.width, expected.width);
    EXPECT_EQ(got.height, expected.height);
    EXPECT_EQ(got.coverage, expected.coverage);
    ++*compared;
}

// The line's UTF-16 units in hex, for a failure's trace.
std::string Spelled(const std::wstring& line) {
    std::string spelled;
    char unit[8];
    for (wchar_t character : line) {
        snprintf(unit, sizeof(unit), " %04X", static_cast<unsigned>(character));
        spelled += unit;
    }
    return spelled;
}

std::vector<uint8_t> RenderedPixels(std::vector<std::wstring> lines) {
    std::vector<const wchar_t*> pointers;
    for (const std::wstring& line : lines) {
        pointers.push_back(line.c_str());
    }
    HICON icon = RenderWeekIcon(pointers.data(), static_cast<int>(pointers.size()));
    if (icon == nullptr) {
        return {};
    }
    IconReadBack readBack = ReadIcon(icon);
    DestroyIcon(icon);
    return readBack.pixels;
}

} // namespace

TEST_F(LongLineTest, TheLinesInkIsTheWholeRastersOrTheLineIsGivenUpWhenItCannotFit) {
    const std::wstring lines[] = {
        L"w",
        L"53",
        L" w ",
        L"Week 49",
        L"    x",
        L"x    ",
        L"a  b",
        L"   ",
        L"\u00e9 \u00fc",
        L"\u00a0\u00a0w\u00a0",
        L"w" + std::wstring(40, L' ') + L"w",
        L"iiiiiiii",
        // Inked in every character, right to left.
        L"\u05d0\u05e9\u05d0",
        std::wstring(12, L'\u05d0'),
    };
    int compared = 0;
    int givenUp = 0;
    for (const std::wstring& line : lines) {
        for (int height : {4, 9, 16, 23}) {
            // Just too narrow and just wide enough for most lines' ink, and ample.
            for (int maxInkWidth : {6, 7, 8, 13, 14, 15, 29, 30, 31}) {
                SCOPED_TRACE(std::string(line.begin(), line.end()) + " height " +
                             std::to_string(height) + " max " + std::to_string(maxInkWidth));
                LineRaster whole = {};
                ASSERT_TRUE(RasterizeLine(line.c_str(), height, &whole));
                const InkImage expected = InkOf(&whole);
                ReleaseLineRaster(&whole);
                ExpectTheWholeRastersOutcome(line, height, maxInkWidth, 1000, expected, &compared,
                                             &givenUp);
            }
        }
    }
    // Both outcomes occurred often enough to mean something.
    EXPECT_GT(compared, 100);
    EXPECT_GT(givenUp, 100);
}

TEST_F(LongLineTest, AShortLineKeepsTheWholeRastersHeightAndInkAndLosesOnlyBlankColumns) {
    LineRaster whole = {};
    LineRaster forIcon = {};
    ASSERT_TRUE(RasterizeLine(L" 53 ", 20, &whole));
    ASSERT_TRUE(RasterizeLineForIcon(L" 53 ", 20, 100, 100, &forIcon));
    EXPECT_EQ(forIcon.height, whole.height);
    EXPECT_LT(forIcon.width, whole.width);
    const InkImage expected = InkOf(&whole);
    const InkImage got = InkOf(&forIcon);
    EXPECT_EQ(got.width, expected.width);
    EXPECT_EQ(got.coverage, expected.coverage);
    EXPECT_EQ(forIcon.inkTop, whole.inkTop);
    ReleaseLineRaster(&whole);
    ReleaseLineRaster(&forIcon);
    // Ink far too wide for the icon is not drawn at all.
    EXPECT_FALSE(RasterizeLineForIcon(L" 53 ", 20, 2, 2, &forIcon));
    EXPECT_EQ(forIcon.bitmap, nullptr);
    ReleaseLineRaster(&forIcon);
}

TEST_F(LongLineTest, PaddedLinesGiveTheIconOfTheirInk) {
    AnswerSmallIconMetric(16);
    const std::vector<uint8_t> plain = RenderedPixels({L"w", L"7"});
    ASSERT_FALSE(plain.empty());
    // Too large to draw whole at the first heights tried.
    const std::wstring spaces(3000, L' ');
    EXPECT_EQ(RenderedPixels({spaces + L"w", L"7"}), plain);
    EXPECT_EQ(RenderedPixels({L"w" + spaces, L"7"}), plain);
    EXPECT_EQ(RenderedPixels({spaces + L"w" + spaces, L"7"}), plain);
    // Not printable ASCII: no trimming; the windows find the ink at the first heights, and
    // the whole raster at the later ones.
    EXPECT_EQ(RenderedPixels({std::wstring(2000, L'\u00a0') + L"w", L"7"}), plain);
}

TEST_F(LongLineTest, LongLinesThatCannotFitGiveNullAndLeaveNothing) {
    AnswerSmallIconMetric(32);
    ASSERT_FALSE(RenderedPixels({L"w", L"49"}).empty());
    const ResourceCensus before = TakeResourceCensus();
    std::wstring text;
    while (text.size() < 32767) {
        text += L"Week of the year ";
    }
    text.resize(32767);
    EXPECT_TRUE(RenderedPixels({text, L"49"}).empty());
    EXPECT_TRUE(RenderedPixels({L"49", L"w" + std::wstring(32765, L' ') + L"w"}).empty());
    EXPECT_TRUE(RenderedPixels({std::wstring(32767, L' '), L"49"}).empty());
    const ResourceCensus after = TakeResourceCensus();
    EXPECT_EQ(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.heapBlocks, before.heapBlocks);
    EXPECT_EQ(after.heapBytes, before.heapBytes);
}

namespace {

// Random lines of blanks, zero-width characters, combining marks, right-to-left letters (with
// Arabic's joining and lam-alef ligature), Thai, emoji pairs, and Latin letters at about
// `visiblePercent` of the places; or of the first `kinds` of those only.
std::wstring RandomMixedLine(std::mt19937* random, size_t length, int visiblePercent,
                             size_t kinds = 20) {
    static const wchar_t* const pieces[] = {
        L" ",      L"\u00a0", L"\u3000", L"\u200b", L"\u2060",    L"\u0301",
        L"\u0308", L"\u05d0", L"\u05e9", L"\u05bc", L"\u0628",    L"\u0644",
        L"\u0627", L"\u064e", L"\u0e01", L"\u0e31", L"\U0001F600"};
    static const wchar_t* const visible[] = {L"w", L"i", L"4"};
    std::wstring line;
    while (line.size() < length) {
        if (static_cast<int>((*random)() % 100) < visiblePercent) {
            line += visible[(*random)() % 3];
        } else {
            line += pieces[(*random)() % std::min(kinds, sizeof(pieces) / sizeof(pieces[0]))];
        }
    }
    return line;
}

} // namespace

TEST_F(LongLineTest, WindowsGiveTheWholeRastersInkForMixedScriptsAndBlanks) {
    std::mt19937 random(11);
    int compared = 0;
    int givenUp = 0;
    // Lekton lacks the Hebrew, Arabic and Thai letters, which another face draws.
    for (const wchar_t* face : {L"Lekton", L"DejaVu Sans"}) {
        lstrcpynW(appState.settings.fontFace, face, 32);
        for (int sample = 0; sample < 100; ++sample) {
            const std::wstring line =
                RandomMixedLine(&random, 1 + random() % 40, sample % 3 == 0 ? 0 : 10);
            const int height = 4 + static_cast<int>(random() % 24);
            const int maxInkWidth = 6 + static_cast<int>(random() % 200);
            const int maxInkHeight = 4 + static_cast<int>(random() % 40);
            SCOPED_TRACE("sample " + std::to_string(sample) + " height " + std::to_string(height) +
                         ":" + Spelled(line));
            LineRaster whole = {};
            ASSERT_TRUE(RasterizeLine(line.c_str(), height, &whole));
            const InkImage expected = InkOf(&whole);
            ReleaseLineRaster(&whole);

            ExpectTheWholeRastersOutcome(line, height, maxInkWidth, maxInkHeight, expected,
                                         &compared, &givenUp);
        }
    }
    EXPECT_GT(compared, 30);
    EXPECT_GT(givenUp, 30);
}

TEST_F(LongLineTest, LongMixedLinesGiveTheIconOfTheWholeLine) {
    AnswerSmallIconMetric(16);
    std::mt19937 random(49);
    int icons = 0;
    for (const wchar_t* face : {L"Lekton", L"DejaVu Sans"}) {
        lstrcpynW(appState.settings.fontFace, face, 32);
        for (int sample = 0; sample < 4; ++sample) {
            // Thousands of blanks and zero-width characters around a short mixed run.
            const std::wstring run = RandomMixedLine(&random, 2 + random() % 4, 50);
            const std::wstring line = RandomMixedLine(&random, random() % 1000, 0, 5) + run +
                                      RandomMixedLine(&random, random() % 1000, 0, 5);
            SCOPED_TRACE("sample " + std::to_string(sample));
            const wchar_t* lines[] = {line.c_str(), L"49"};
            const ExpectedIcon expected = ComposeExpectedIcon(lines, 2, 16, 0);
            const std::vector<uint8_t> got = RenderedPixels({line, L"49"});
            EXPECT_EQ(got, expected.canvas);
            icons += expected.fontHeight != 0 ? 1 : 0;
        }
    }
    EXPECT_GT(icons, 0);
}

TEST_F(LongLineTest, TextTheFaceLacksIsDrawnInAFaceThatHasIt) {
    // Lekton has no Hebrew; the first fallback face has, which Wine answers with DejaVu Sans.
    AnswerSmallIconMetric(32);
    const std::wstring hebrew = L"\u05e9\u05d1\u05d5\u05e2";
    lstrcpynW(appState.settings.fontFace, L"DejaVu Sans", 32);
    const std::vector<uint8_t> inDejaVu = RenderedPixels({hebrew});
    lstrcpynW(appState.settings.fontFace, L"Lekton", 32);
    EXPECT_FALSE(inDejaVu.empty());
    EXPECT_EQ(RenderedPixels({hebrew}), inDejaVu);
}

TEST_F(LongLineTest, ALongLineMayFillTheIconToItsLastRowAndNoFurther) {
    // Too large to draw whole from height 18 up, and not trimmed.
    const std::wstring padded = std::wstring(3000, L'\u00a0') + L"Wg";
    const IconColours colours = PickIconColours(0);
    for (int height = 18; height <= 22; ++height) {
        SCOPED_TRACE("height " + std::to_string(height));
        LineRaster week = {};
        LineRaster line = {};
        ASSERT_TRUE(RasterizeLine(L"49", height, &week));
        ASSERT_TRUE(RasterizeLine(padded.c_str(), height, &line));
        const InkImage weekInk = InkOf(&week);
        const InkImage lineInk = InkOf(&line);
        ReleaseLineRaster(&week);
        ReleaseLineRaster(&line);
        ASSERT_TRUE(weekInk.hasInk && lineInk.hasInk);
        // The edge at which the two lines fill the icon's height exactly, wide enough for both.
        const int edge = 7 + weekInk.height + lineInk.height;
        ASSERT_LE(std::max(weekInk.width, lineInk.width), edge - 2);
        const wchar_t* lines[] = {padded.c_str(), L"49"};
        HICON icon = RenderAtFontHeight(lines, 2, edge, height, colours);
        EXPECT_NE(icon, nullptr);
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
        EXPECT_EQ(RenderAtFontHeight(lines, 2, edge - 1, height, colours), nullptr);
    }
}

namespace {

// The printable characters of Latin-1 whose glyph, bold in `face` at em height `height`,
// reaches out of its cell on the left (A < 0) or on the right (C < 0).
std::wstring OverhangingCharacters(const wchar_t* face, int height, bool left) {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontW(-height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, face);
    HGDIOBJ formerFont = SelectObject(dc, font);
    std::wstring found;
    for (wchar_t character = L'!'; character <= 0xFF; ++character) {
        ABC widths = {};
        if ((character < 0x7F || character > 0xA0) &&
            GetCharABCWidthsW(dc, character, character, &widths) &&
            (left ? widths.abcA : widths.abcC) < 0) {
            found += character;
        }
    }
    SelectObject(dc, formerFont);
    DeleteObject(font);
    DeleteDC(dc);
    return found;
}

} // namespace

TEST_F(LongLineTest, GlyphsReachingOutOfTheirCellsAtTheEndsKeepAllTheirInk) {
    int compared = 0;
    int givenUp = 0;
    for (const wchar_t* face : {L"Lekton", L"DejaVu Sans"}) {
        lstrcpynW(appState.settings.fontFace, face, 32);
        for (int height : {9, 16, 23}) {
            // One glyph of each kind; the lines below are only worth their name where one exists.
            const std::wstring leftReaching =
                OverhangingCharacters(face, height, true).substr(0, 1);
            const std::wstring rightReaching =
                OverhangingCharacters(face, height, false).substr(0, 1);
            ASSERT_FALSE(leftReaching.empty() && rightReaching.empty());
            const std::wstring pad(60, L'\u00a0');
            const std::wstring wide(60, L'\u05d0');
            for (const std::wstring& line :
                 {pad + leftReaching + pad, pad + rightReaching + pad,
                  leftReaching + L" " + rightReaching, rightReaching + L"  " + leftReaching,
                  pad + leftReaching + wide + rightReaching, wide + rightReaching + L"\u3000"}) {
                SCOPED_TRACE("height " + std::to_string(height) + " line of " +
                             std::to_string(line.size()));
                LineRaster whole = {};
                ASSERT_TRUE(RasterizeLine(line.c_str(), height, &whole));
                const InkImage expected = InkOf(&whole);
                ReleaseLineRaster(&whole);
                ExpectTheWholeRastersOutcome(line, height, 40, 1000, expected, &compared, &givenUp);
            }
        }
    }
    EXPECT_GT(compared, 10);
}

namespace {

// A class of line: its pieces, repeated in turn, and whether its glyphs draw ink in Lekton.
struct LineClass {
    const char* name;
    std::vector<std::wstring> pieces;
    bool inked;
};

const LineClass lineClasses[] = {
    {"text", {L"Week ", L"of ", L"the ", L"year "}, true},
    {"blanks",
     {L" ", L"\u00a0", L"\u2002", L"\u200b", L"\u2060", L"\u3000", L"\ufeff", L"\u200e", L"\u202a",
      L"\u202c", L"\u2066", L"\u2069"},
     false},
    {"marks", {L"e\u0301", L"\u0308", L"\u00a0"}, true},
    {"joiners and selectors", {L"w\u200d", L"\ufe0f", L"\u200c", L"\u00a0"}, true},
    {"right to left", {L"\u05d0", L"\u05e9 ", L"\u0628\u0644\u0627 ", L"ab \u200f"}, true},
    {"surrogate pairs", {L"\U0001F600", L"\U0001D400", L"\u00a0w"}, true},
    {"overhangs", {L"j", L"f", L"\u00a0"}, true},
    // Filled in by ClassLine: a character not seen before at every place.
    {"many distinct", {}, true},
};

// `length` units of the class, whole pieces only, a pair never cut.
std::wstring ClassLine(const LineClass& lineClass, size_t length) {
    std::wstring line;
    for (size_t piece = 0; line.size() < length; ++piece) {
        const std::wstring next = lineClass.pieces.empty()
                                      ? std::wstring(1, static_cast<wchar_t>(0x4E00 + piece))
                                      : lineClass.pieces[piece % lineClass.pieces.size()];
        if (line.size() + next.size() > length) {
            break;
        }
        line += next;
    }
    return line.empty() ? std::wstring(length, L'\u00a0') : line;
}

} // namespace

TEST_F(LongLineTest, LinesOfEveryClassGiveTheWholeRastersInkAtEveryLengthAndEdge) {
    int compared = 0;
    int givenUp = 0;
    for (const wchar_t* face : {L"Lekton", L"DejaVu Sans"}) {
        lstrcpynW(appState.settings.fontFace, face, 32);
        for (const LineClass& lineClass : lineClasses) {
            for (size_t length : {3, 40, 400}) {
                // The class alone, and a few units of it far along a line of blanks.
                const std::wstring blanks(length, L'\u00a0');
                for (const std::wstring& line :
                     {ClassLine(lineClass, length), blanks + ClassLine(lineClass, 4) + blanks}) {
                    for (int height : {8, 17, 30}) {
                        SCOPED_TRACE(std::string(lineClass.name) + " of " +
                                     std::to_string(line.size()) + " height " +
                                     std::to_string(height) + ":" + Spelled(line.substr(0, 12)));
                        LineRaster whole = {};
                        ASSERT_TRUE(RasterizeLine(line.c_str(), height, &whole));
                        const InkImage expected = InkOf(&whole);
                        ReleaseLineRaster(&whole);
                        // The widest ink of edges 16 and 32.
                        for (int maxInkWidth : {14, 30}) {
                            ExpectTheWholeRastersOutcome(line, height, maxInkWidth, 30, expected,
                                                         &compared, &givenUp);
                        }
                    }
                }
            }
        }
    }
    EXPECT_GT(compared, 100);
    EXPECT_GT(givenUp, 100);
}

using LongLineCostTest = RendererTest;

TEST_F(LongLineCostTest, EachRenderShapesALineOnceAndPlacesAndDrawsItsGlyphsOncePerHeight) {
    AnswerSmallIconMetric(32);
    const uint64_t heights = 2 * 32 - 3;
    for (const LineClass& lineClass : lineClasses) {
        SCOPED_TRACE(lineClass.name);
        const std::wstring line = ClassLine(lineClass, 32767);
        glyphWork = GlyphWork{};
        RenderedPixels({line, L"49"});
        const uint64_t units = line.size() + 2;
        EXPECT_LE(glyphWork.unitsShaped, units);
        EXPECT_LE(glyphWork.glyphsPlaced, 3 * units * heights);
        // Blank glyphs are never drawn: only "49" at each height.
        EXPECT_LE(glyphWork.glyphsDrawn, lineClass.inked ? 3 * units * heights : 2 * heights);
    }
}
