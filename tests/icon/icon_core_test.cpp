#include <gtest/gtest.h>

#include <vector>

#include "icon/icon_core.h"
#include "icon/test_raster.h"

namespace {

constexpr uint32_t Text = 0x00332211;   // blue 0x33, green 0x22, red 0x11
constexpr uint32_t Border = 0x00CCBBAA; // blue 0xCC, green 0xBB, red 0xAA

// Finds the ink boxes, checks the fit and composes, as an attempt does.
TestCanvas Compose(std::vector<TestRaster*> lines, int edge) {
    std::vector<LineRaster> records;
    InkStack stack = StartInkStack(static_cast<int>(lines.size()));
    for (TestRaster* line : lines) {
        EXPECT_TRUE(FindInkBox(&line->record));
        AddLineToInkStack(&stack, &line->record);
        records.push_back(line->record);
    }
    EXPECT_TRUE(InkStackFits(stack, edge));
    TestCanvas canvas(edge);
    ComposeIconPixels(records.data(), static_cast<int>(records.size()), edge, stack.totalHeight,
                      Text, Border, canvas.bytes.data());
    return canvas;
}

void ExpectPixel(const TestCanvas& canvas, int x, int y, uint32_t colour, uint8_t alpha) {
    const uint8_t* pixel = canvas.Pixel(x, y);
    EXPECT_EQ(pixel[0], static_cast<uint8_t>(colour >> 16)) << "blue at " << x << "," << y;
    EXPECT_EQ(pixel[1], static_cast<uint8_t>(colour >> 8)) << "green at " << x << "," << y;
    EXPECT_EQ(pixel[2], static_cast<uint8_t>(colour)) << "red at " << x << "," << y;
    EXPECT_EQ(pixel[3], alpha) << "alpha at " << x << "," << y;
}

void ExpectEmpty(const TestCanvas& canvas, int x, int y) {
    ExpectPixel(canvas, x, y, 0, 0);
}

// Text rectangle of a line of full ink, inclusive; its outline is the rectangle grown by one.
struct Block {
    int left, top, right, bottom;
};

bool Inside(int x, int y, int left, int top, int right, int bottom) {
    return x >= left && x <= right && y >= top && y <= bottom;
}

// Every canvas pixel: text inside a block, outline in the one-pixel ring, empty elsewhere.
void ExpectBlocks(const TestCanvas& canvas, std::vector<Block> blocks) {
    for (int y = 0; y < canvas.edge; ++y) {
        for (int x = 0; x < canvas.edge; ++x) {
            bool text = false;
            bool outline = false;
            for (const Block& b : blocks) {
                text = text || Inside(x, y, b.left, b.top, b.right, b.bottom);
                outline = outline || Inside(x, y, b.left - 1, b.top - 1, b.right + 1, b.bottom + 1);
            }
            if (text) {
                ExpectPixel(canvas, x, y, Text, 255);
            } else if (outline) {
                ExpectPixel(canvas, x, y, Border, 255);
            } else {
                ExpectEmpty(canvas, x, y);
            }
        }
    }
}

} // namespace

TEST(PickIconColours, ZeroIsBlackOnWhiteAndEveryOtherValueWhiteOnBlack) {
    IconColours zero = PickIconColours(0);
    EXPECT_EQ(zero.text, 0x000000u);
    EXPECT_EQ(zero.border, 0xFFFFFFu);
    for (int32_t scheme : {1, 2, -1, 2147483647, -2147483647 - 1}) {
        IconColours other = PickIconColours(scheme);
        EXPECT_EQ(other.text, 0xFFFFFFu) << scheme;
        EXPECT_EQ(other.border, 0x000000u) << scheme;
    }
}

TEST(FindInkBox, BoxIsInclusiveAndReadsOnlyTheRedByte) {
    TestRaster raster(9, 7);
    EXPECT_FALSE(FindInkBox(&raster.record)) << "noise in blue, green and alpha is no ink";

    raster.Set(4, 3, 1);
    ASSERT_TRUE(FindInkBox(&raster.record));
    EXPECT_EQ(raster.record.inkLeft, 4);
    EXPECT_EQ(raster.record.inkRight, 4);
    EXPECT_EQ(raster.record.inkTop, 3);
    EXPECT_EQ(raster.record.inkBottom, 3);

    // The extremes come from different pixels, none of them at the box's corners.
    raster.Set(2, 5, 200);
    raster.Set(6, 1, 9);
    ASSERT_TRUE(FindInkBox(&raster.record));
    EXPECT_EQ(raster.record.inkLeft, 2);
    EXPECT_EQ(raster.record.inkTop, 1);
    EXPECT_EQ(raster.record.inkRight, 6);
    EXPECT_EQ(raster.record.inkBottom, 5);
}

TEST(FindInkBox, InkAtTheRasterCornersSpansTheWholeRaster) {
    TestRaster raster(13, 5);
    raster.Set(0, 0, 255);
    raster.Set(12, 4, 255);
    ASSERT_TRUE(FindInkBox(&raster.record));
    EXPECT_EQ(raster.record.inkLeft, 0);
    EXPECT_EQ(raster.record.inkTop, 0);
    EXPECT_EQ(raster.record.inkRight, 12);
    EXPECT_EQ(raster.record.inkBottom, 4);
}

TEST(FindInkBox, SecondCallForgetsTheFirstBox) {
    TestRaster raster(6, 6);
    raster.Set(5, 5, 255);
    ASSERT_TRUE(FindInkBox(&raster.record));
    raster.Set(5, 5, 0);
    EXPECT_FALSE(FindInkBox(&raster.record));
}

TEST(InkStack, FitsUpToTheEdgeLessTheOutlineColumnsAndUpToTheEdgeInHeight) {
    EXPECT_EQ(StartInkStack(1).totalHeight, 2);
    EXPECT_EQ(StartInkStack(2).totalHeight, 7);
    EXPECT_EQ(StartInkStack(2).widestInkWidth, 0);

    for (int edge : {16, 20, 32, 256}) {
        EXPECT_TRUE(InkStackFits(InkStack{edge - 2, edge}, edge)) << edge;
        EXPECT_FALSE(InkStackFits(InkStack{edge - 1, edge}, edge)) << edge;
        EXPECT_FALSE(InkStackFits(InkStack{edge - 2, edge + 1}, edge)) << edge;
    }
}

TEST(InkStack, TakesTheWidestLineAndAddsEveryHeight) {
    TestRaster narrowTall(20, 20);
    narrowTall.FillBlock(3, 2, 5, 4, 255);
    TestRaster wideShort(30, 20);
    wideShort.FillBlock(1, 7, 12, 6, 255);
    ASSERT_TRUE(FindInkBox(&narrowTall.record));
    ASSERT_TRUE(FindInkBox(&wideShort.record));

    // The third worked case: 7 + 4 + 6 = 17 rows do not fit 16.
    InkStack stack = StartInkStack(2);
    AddLineToInkStack(&stack, &narrowTall.record);
    AddLineToInkStack(&stack, &wideShort.record);
    EXPECT_EQ(stack.widestInkWidth, 12);
    EXPECT_EQ(stack.totalHeight, 17);
    EXPECT_FALSE(InkStackFits(stack, 16));
    EXPECT_TRUE(InkStackFits(stack, 17));

    // A first line already too wide is still measured with the second.
    TestRaster tooWide(20, 10);
    tooWide.FillBlock(0, 0, 15, 5, 255);
    ASSERT_TRUE(FindInkBox(&tooWide.record));
    stack = StartInkStack(1);
    AddLineToInkStack(&stack, &tooWide.record);
    EXPECT_EQ(stack.totalHeight, 7);
    EXPECT_FALSE(InkStackFits(stack, 16)) << "15 wide does not fit 16 - 2";
}

TEST(ComposeIconPixels, OneLineIsCentredWithTheOddRowBelow) {
    // Ink 10 × 9 on edge 16: total 11, row 2, column 2.
    TestRaster line(18, 17);
    line.FillBlock(5, 4, 10, 9, 255);
    TestCanvas canvas = Compose({&line}, 16);
    // Outline rows 2..12 and columns 2..13; text rows 3..11 and columns 3..12.
    ExpectBlocks(canvas, {{3, 3, 12, 11}});
}

TEST(ComposeIconPixels, NarrowLineLeavesTheOddColumnOnTheRight) {
    // Ink 5 × 3 alone on edge 16: column (16 - 5 - 2) / 2 = 4, so 4 empty columns on the left
    // and 5 on the right; row (16 - 5) / 2 = 5, so 5 empty rows above and 6 below.
    TestRaster line(9, 9);
    line.FillBlock(2, 3, 5, 3, 255);
    TestCanvas canvas = Compose({&line}, 16);
    ExpectBlocks(canvas, {{5, 6, 9, 8}});
}

TEST(ComposeIconPixels, TwoLinesAreThreeEmptyRowsApart) {
    // Top ink 5 × 3, bottom 12 × 6: total 16 on edge 16, row 0.
    TestRaster top(11, 8);
    top.FillBlock(4, 2, 5, 3, 255);
    TestRaster bottom(16, 14);
    bottom.FillBlock(2, 5, 12, 6, 255);
    TestCanvas canvas = Compose({&top, &bottom}, 16);
    // Top outline rows 0..4, columns 4..10; rows 5..7 empty; bottom outline rows 8..15,
    // columns 1..14. The text rows 1..3 and 9..14 are five rows apart.
    ExpectBlocks(canvas, {{5, 1, 9, 3}, {2, 9, 13, 14}});
}

TEST(ComposeIconPixels, TextAlphaReplacesAGreaterOutlineAlpha) {
    // A faint ink pixel beside a full one: the full one's outline sets 255 on the faint one's
    // place first, then the text pass writes the faint coverage there.
    TestRaster line(6, 5);
    line.Set(2, 2, 100);
    line.Set(3, 2, 255);
    TestCanvas canvas = Compose({&line}, 16);
    // Ink 2 × 1: row (16 - 3) / 2 = 6, column (16 - 2 - 2) / 2 = 6; text at row 7.
    ExpectPixel(canvas, 7, 7, Text, 100);
    ExpectPixel(canvas, 8, 7, Text, 255);
    ExpectPixel(canvas, 6, 7, Border, 100); // left of the faint pixel: only its own square
    ExpectPixel(canvas, 9, 7, Border, 255);
    ExpectPixel(canvas, 6, 6, Border, 100);
    ExpectPixel(canvas, 7, 6, Border, 255);
    ExpectEmpty(canvas, 5, 7);
    ExpectEmpty(canvas, 10, 7);
    ExpectEmpty(canvas, 7, 9);
}

TEST(ComposeIconPixels, OutlineAlphaIsTheGreatestCoverageWithinOnePixel) {
    // Ink row 40, 0, 90, 0, 0, 30: the gap between 40 and 90 is reached by both and takes 90;
    // the pixel right of 90 is reached by 90 alone, the one left of 30 by 30 alone.
    TestRaster line(10, 3);
    line.Set(1, 1, 40);
    line.Set(3, 1, 90);
    line.Set(6, 1, 30);
    TestCanvas canvas = Compose({&line}, 16);
    // Ink 6 × 1: row (16 - 3) / 2 = 6, column (16 - 6 - 2) / 2 = 4; text at row 7, from
    // column 5.
    const int row = 7;
    ExpectPixel(canvas, 4, row, Border, 40);
    ExpectPixel(canvas, 5, row, Text, 40);
    ExpectPixel(canvas, 6, row, Border, 90);
    ExpectPixel(canvas, 7, row, Text, 90);
    ExpectPixel(canvas, 8, row, Border, 90);
    ExpectPixel(canvas, 9, row, Border, 30);
    ExpectPixel(canvas, 10, row, Text, 30);
    ExpectPixel(canvas, 11, row, Border, 30);
    ExpectEmpty(canvas, 12, row);
    // The rows above and below carry the same outline alphas, in the border colour.
    for (int y : {row - 1, row + 1}) {
        ExpectPixel(canvas, 5, y, Border, 40);
        ExpectPixel(canvas, 7, y, Border, 90);
        ExpectPixel(canvas, 8, y, Border, 90);
        ExpectPixel(canvas, 10, y, Border, 30);
    }
    ExpectEmpty(canvas, 7, row - 2);
    ExpectEmpty(canvas, 7, row + 2);
}

// A custom text colour wins over either scheme and takes the outline, black or white, that
// contrasts more with it (WCAG relative luminance): black from a luminance of about 0.18.
TEST(ChooseIconColours, CustomTextTakesTheMoreContrastingOutlineAndTheBackgroundComesAlong) {
    const std::pair<uint32_t, uint32_t> cases[] = {
        {0x0080FFFF, 0x000000}, // light yellow
        {0x00767676, 0x000000}, // mid grey just above the turn
        {0x00757575, 0xFFFFFF}, // mid grey just below it
        {0x00800000, 0xFFFFFF}, // dark navy
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        for (int32_t scheme : {0, 1}) {
            IconColours colours = ChooseIconColours(scheme, ColourIsSet | c.first, NoColour);
            EXPECT_EQ(colours.text, c.first);
            EXPECT_EQ(colours.border, c.second);
            EXPECT_EQ(colours.hasBackground, 0);
        }
    }
    IconColours scheme = ChooseIconColours(1, NoColour, ColourIsSet | 0);
    EXPECT_EQ(scheme.text, 0xFFFFFFu) << "without a text colour the scheme stands";
    EXPECT_EQ(scheme.hasBackground, 1) << "black is a background";
}

// With a background the square is opaque: the outlined text laid over it as a taskbar of that
// colour would show it, faint ink blended into the background.
TEST(ComposeIcon, TheBackgroundFillsTheSquareBehindTheOutlinedText) {
    TestRaster line(6, 5);
    line.Set(2, 2, 100);
    line.Set(3, 2, 255);
    ASSERT_TRUE(FindInkBox(&line.record));
    InkStack stack = StartInkStack(1);
    AddLineToInkStack(&stack, &line.record);
    TestCanvas canvas(16);
    const uint32_t background = 0x00406080;
    ComposeIcon(&line.record, 1, 16, stack.totalHeight, {Text, Border, 1, background},
                canvas.bytes.data());
    ExpectPixel(canvas, 8, 7, Text, 255);
    ExpectPixel(canvas, 9, 7, Border, 255);
    ExpectPixel(canvas, 0, 0, background, 255);
    ExpectPixel(canvas, 15, 15, background, 255);
    // Coverage 100 of Text (red 0x11, green 0x22, blue 0x33) over the background.
    ExpectPixel(canvas, 7, 7, 0x003B4854, 255);
}
