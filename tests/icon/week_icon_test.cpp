// The renderer on the platform's own text rasteriser and icons, under Wine.
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "common/app_state.h"
#include "common/platform.h"
#include "icon/icon_test_support.h"
#include "support/resource_census.h"
#include "icon/week_icon.h"
#include "icon/week_icon_steps.h"
#include "support/platform_fixture.h"

namespace {

using WeekIconTest = RendererTest;

// Pixels of the attempt at one height, or empty when it gives no icon.
std::vector<uint8_t> PixelsAtHeight(const wchar_t* const* lines, int lineCount, int edge,
                                    int fontHeight) {
    HICON icon = RenderAtFontHeight(lines, lineCount, edge, fontHeight, PickIconColours(0));
    if (icon == nullptr) {
        return {};
    }
    IconReadBack readBack = ReadIcon(icon);
    DestroyIcon(icon);
    return readBack.pixels;
}

std::vector<uint8_t> RenderedPixels(const wchar_t* const* lines, int lineCount) {
    HICON icon = RenderWeekIcon(lines, lineCount);
    if (icon == nullptr) {
        return {};
    }
    IconReadBack readBack = ReadIcon(icon);
    DestroyIcon(icon);
    return readBack.pixels;
}

// The first height, from twice the edge down, whose attempt gives an icon; 0 if none.
int FirstHeightWithIcon(const wchar_t* const* lines, int lineCount, int edge, int from) {
    for (int height = from; height >= 4; --height) {
        if (!PixelsAtHeight(lines, lineCount, edge, height).empty()) {
            return height;
        }
    }
    return 0;
}

// Canvas-sized allocations through the platform's heap: counted, and failed while
// `canvasFailuresLeft` is positive (negative: fail them all).
size_t canvasBytes = 0;
int canvasAllocations = 0;
int canvasFailuresLeft = 0;

LPVOID WINAPI FailingCanvasAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
    if (bytes == canvasBytes) {
        ++canvasAllocations;
        if (canvasFailuresLeft != 0) {
            if (canvasFailuresLeft > 0) {
                --canvasFailuresLeft;
            }
            return nullptr;
        }
    }
    return HeapAlloc(heap, flags, bytes);
}

void FailCanvasAllocations(int edge, int failures) {
    canvasBytes = static_cast<size_t>(edge) * edge * 4;
    canvasAllocations = 0;
    canvasFailuresLeft = failures;
    platform.heapAlloc = FailingCanvasAlloc;
}

UINT WINAPI AnswerDpi144() {
    return 144;
}

void ExpectNothingLeft(const ResourceCensus& before) {
    ResourceCensus after = TakeResourceCensus();
    EXPECT_EQ(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.heapBlocks, before.heapBlocks);
    EXPECT_EQ(after.heapBytes, before.heapBytes);
}

} // namespace

using GetIconEdgeSizeTest = WeekIconTest;

TEST_F(GetIconEdgeSizeTest, SmallIconMetricAtTheSystemDpiRaisedToSixteen) {
    struct {
        int metric;
        int edge;
    } cases[] = {{0, 16},  {-1, 16},  {-2147483647 - 1, 16}, {15, 16}, {16, 16}, {20, 20}, {24, 24},
                 {32, 32}, {256, 256}};
    for (auto c : cases) {
        AnswerSmallIconMetric(c.metric);
        EXPECT_EQ(GetIconEdgeSize(), c.edge) << c.metric;
        EXPECT_EQ(LastMetricIndexAsked(), SM_CXSMICON);
        EXPECT_EQ(LastMetricDpiAsked(), GetDpiForSystem());
    }
    platform.getDpiForSystem = AnswerDpi144;
    AnswerSmallIconMetric(24);
    EXPECT_EQ(GetIconEdgeSize(), 24);
    EXPECT_EQ(LastMetricDpiAsked(), 144u);
}

using RasterizeLineTest = WeekIconTest;

TEST_F(RasterizeLineTest, RasterIsTheTextExtentWithHalfTheHeightAndTwoPixelsOnEverySide) {
    for (int height : {4, 31, 32}) {
        HDC dc = CreateCompatibleDC(nullptr);
        HFONT font = CreateFontW(-height, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                                 ANTIALIASED_QUALITY, 0, L"Lekton");
        HGDIOBJ former = SelectObject(dc, font);
        SIZE extent = {};
        ASSERT_TRUE(GetTextExtentPoint32W(dc, L"53", 2, &extent));
        SelectObject(dc, former);
        DeleteObject(font);
        DeleteDC(dc);

        LineRaster raster = {};
        ASSERT_TRUE(RasterizeLine(L"53", height, &raster));
        const int margin = height / 2;
        EXPECT_EQ(raster.width, extent.cx + 2 * margin + 4) << height;
        EXPECT_EQ(raster.height, extent.cy + 2 * margin + 4) << height;
        ASSERT_NE(raster.pixels, nullptr);
        EXPECT_NE(raster.dc, nullptr);
        EXPECT_NE(raster.bitmap, nullptr);
        EXPECT_NE(raster.previousBitmap, nullptr);
        EXPECT_NE(raster.font, nullptr);
        // White on black: ink is grey (equal channels) and nothing lies in the margin band.
        ASSERT_TRUE(FindInkBox(&raster));
        EXPECT_GE(raster.inkLeft, 1);
        EXPECT_GE(raster.inkTop, 1);
        EXPECT_LE(raster.inkRight, raster.width - 2);
        EXPECT_LE(raster.inkBottom, raster.height - 2);
        for (int i = 0; i < raster.width * raster.height; ++i) {
            const uint8_t* pixel = raster.pixels + 4 * i;
            ASSERT_EQ(pixel[0], pixel[2]);
            ASSERT_EQ(pixel[1], pixel[2]);
        }
        ReleaseLineRaster(&raster);
        LineRaster zero = {};
        EXPECT_EQ(std::memcmp(&raster, &zero, sizeof(zero)), 0);
    }
}

TEST_F(RasterizeLineTest, TheDefaultFaceIsLektonInTheTestPrefix) {
    LineRaster raster = {};
    ASSERT_TRUE(RasterizeLine(L"7", 32, &raster));
    HDC dc = static_cast<HDC>(raster.dc);
    HGDIOBJ former = SelectObject(dc, raster.font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, former);
    ReleaseLineRaster(&raster);
    EXPECT_STREQ(face, L"Lekton");
    EXPECT_EQ(metrics.tmWeight, FW_BOLD);
}

TEST_F(RasterizeLineTest, ReleasingLeavesNothingAndAZeroRecordReleasesNothing) {
    LineRaster warmUp = {};
    ASSERT_TRUE(RasterizeLine(L"w", 20, &warmUp));
    ReleaseLineRaster(&warmUp);

    ResourceCensus before = TakeResourceCensus();
    LineRaster raster = {};
    ASSERT_TRUE(RasterizeLine(L"w", 20, &raster));
    EXPECT_GE(TakeResourceCensus().gdiObjects, before.gdiObjects + 3) << "dc, font and bitmap";
    ReleaseLineRaster(&raster);
    LineRaster zero = {};
    ReleaseLineRaster(&zero);
    EXPECT_EQ(TakeResourceCensus().gdiObjects, before.gdiObjects);
}

using CreateIconFromPixelsTest = WeekIconTest;

TEST_F(CreateIconFromPixelsTest, CanvasBytesBecomeTheColourBitmapOverAZeroMask) {
    const int edge = 20;
    std::vector<uint8_t> canvas(edge * edge * 4);
    for (size_t i = 0; i < canvas.size(); ++i) {
        canvas[i] = static_cast<uint8_t>(i * 7 + 3); // straight alpha: colour above alpha too
    }
    HICON icon = CreateIconFromPixels(canvas.data(), edge);
    ASSERT_NE(icon, nullptr);
    IconReadBack readBack = ReadIcon(icon);
    DestroyIcon(icon);
    ASSERT_TRUE(readBack.ok);
    EXPECT_EQ(readBack.width, edge);
    EXPECT_EQ(readBack.height, edge);
    EXPECT_EQ(readBack.bitsPerPixel, 32);
    EXPECT_TRUE(readBack.maskAllZero);
    EXPECT_EQ(readBack.pixels, canvas);
}

TEST_F(CreateIconFromPixelsTest, NoBitmapGivesNullAndKeepsNothing) {
    uint8_t canvas[4] = {1, 2, 3, 4};
    HICON warmUp = CreateIconFromPixels(canvas, 1);
    ASSERT_NE(warmUp, nullptr);
    DestroyIcon(warmUp);

    ResourceCensus before = TakeResourceCensus();
    EXPECT_EQ(CreateIconFromPixels(canvas, 0), nullptr);
    EXPECT_EQ(CreateIconFromPixels(canvas, -1), nullptr);
    EXPECT_EQ(TakeResourceCensus().gdiObjects, before.gdiObjects);
}

using RenderWeekIconTest = WeekIconTest;

TEST_F(RenderWeekIconTest, IconHoldsTheCanvasComposedAtTheFirstFittingHeight) {
    const wchar_t* oneLine[] = {L"7"};
    const wchar_t* twoLines[] = {L"w", L"7"};
    const wchar_t* twoLinesBelow[] = {L"53", L"w"};
    struct {
        const wchar_t* const* lines;
        int count;
    } lineSets[] = {{oneLine, 1}, {twoLines, 2}, {twoLinesBelow, 2}};
    for (int edge : {16, 20, 24, 32}) {
        AnswerSmallIconMetric(edge);
        for (auto set : lineSets) {
            for (int32_t scheme : {0, 1}) {
                appState.settings.colourScheme = scheme;
                const std::wstring name =
                    std::wstring(set.lines[0]) + L" / " + (set.count == 2 ? set.lines[1] : L"") +
                    L" edge " + std::to_wstring(edge) + L" scheme " + std::to_wstring(scheme);
                SCOPED_TRACE(std::string(name.begin(), name.end()));
                ExpectedIcon expected = ComposeExpectedIcon(set.lines, set.count, edge, scheme);
                ASSERT_GT(expected.fontHeight, 4);
                ASSERT_LT(expected.fontHeight, 2 * edge);

                HICON icon = RenderWeekIcon(set.lines, set.count);
                ASSERT_NE(icon, nullptr);
                IconReadBack readBack = ReadIcon(icon);
                DestroyIcon(icon);
                ASSERT_TRUE(readBack.ok);
                EXPECT_EQ(readBack.width, edge);
                EXPECT_EQ(readBack.height, edge);
                EXPECT_TRUE(readBack.maskAllZero);
                EXPECT_EQ(readBack.pixels, expected.canvas);
            }
        }
    }
}

TEST_F(RenderWeekIconTest, FirstHeightThatFitsWinsAlthoughSmallerOnesFitToo) {
    const int edge = 16;
    AnswerSmallIconMetric(edge);
    // A dot fits even at twice the edge: the walk starts there, not above.
    const wchar_t* dot[] = {L"."};
    std::vector<uint8_t> atTop = PixelsAtHeight(dot, 1, edge, 2 * edge);
    ASSERT_FALSE(atTop.empty());
    ASSERT_FALSE(PixelsAtHeight(dot, 1, edge, 2 * edge + 1).empty());
    EXPECT_NE(PixelsAtHeight(dot, 1, edge, 2 * edge + 1), atTop);
    EXPECT_EQ(RenderedPixels(dot, 1), atTop);

    const wchar_t* lines[] = {L"w", L"7"};
    const int first = FirstHeightWithIcon(lines, 2, edge, 2 * edge);
    ASSERT_GT(first, 4);
    ASSERT_LT(first, 2 * edge);
    std::vector<uint8_t> below = PixelsAtHeight(lines, 2, edge, first - 1);
    ASSERT_FALSE(below.empty()) << "a smaller height fits as well";
    std::vector<uint8_t> chosen = PixelsAtHeight(lines, 2, edge, first);
    EXPECT_NE(below, chosen);
    EXPECT_EQ(RenderedPixels(lines, 2), chosen);
}

TEST_F(RenderWeekIconTest, AFailedCanvasMovesTheWalkToTheNextHeight) {
    const int edge = 20;
    AnswerSmallIconMetric(edge);
    const wchar_t* lines[] = {L"w", L"42"};
    const int first = FirstHeightWithIcon(lines, 2, edge, 2 * edge);
    ASSERT_GT(first, 4);
    const int second = FirstHeightWithIcon(lines, 2, edge, first - 1);
    ASSERT_GT(second, 4);
    std::vector<uint8_t> expected = PixelsAtHeight(lines, 2, edge, second);

    FailCanvasAllocations(edge, 1);
    EXPECT_EQ(RenderedPixels(lines, 2), expected);
    EXPECT_EQ(canvasAllocations, 2);
}

TEST_F(RenderWeekIconTest, WhenEveryCanvasFailsEveryFittingHeightIsTriedAndNothingStays) {
    const int edge = 16;
    AnswerSmallIconMetric(edge);
    const wchar_t* lines[] = {L"w", L"7"};
    int fittingHeights = 0;
    for (int height = 2 * edge; height >= 4; --height) {
        fittingHeights += PixelsAtHeight(lines, 2, edge, height).empty() ? 0 : 1;
    }
    ASSERT_GT(fittingHeights, 1);

    ResourceCensus before = TakeResourceCensus();
    FailCanvasAllocations(edge, -1);
    EXPECT_EQ(RenderWeekIcon(lines, 2), nullptr);
    EXPECT_EQ(canvasAllocations, fittingHeights);
    ExpectNothingLeft(before);
}

TEST_F(RenderWeekIconTest, LinesThatNeverFitGiveNullAndLeaveNothing) {
    AnswerSmallIconMetric(16);
    const wchar_t* warmUp[] = {L"w", L"7"};
    HICON icon = RenderWeekIcon(warmUp, 2);
    ASSERT_NE(icon, nullptr);
    DestroyIcon(icon);

    // Spaces have no ink: null, although the week number alone would fit.
    const wchar_t* spaces[] = {L"   ", L"7"};
    const wchar_t* tooWide[] = {L"7", L"WWWWWWWWWW"}; // wider than 14 pixels at height 4
    ResourceCensus before = TakeResourceCensus();
    EXPECT_EQ(RenderWeekIcon(spaces, 2), nullptr);
    EXPECT_EQ(RenderWeekIcon(tooWide, 2), nullptr);
    ExpectNothingLeft(before);

    const wchar_t* weekAlone[] = {L"7"};
    icon = RenderWeekIcon(weekAlone, 1);
    EXPECT_NE(icon, nullptr);
    DestroyIcon(icon);
}

TEST_F(RenderWeekIconTest, TheFaceOfTheSettingsIsUsed) {
    AnswerSmallIconMetric(32);
    const wchar_t* lines[] = {L"w", L"7"};
    std::vector<uint8_t> lekton = RenderedPixels(lines, 2);
    wcscpy(appState.settings.fontFace, L"Courier New");
    std::vector<uint8_t> other = RenderedPixels(lines, 2);
    ASSERT_FALSE(lekton.empty());
    ASSERT_FALSE(other.empty());
    EXPECT_NE(lekton, other);
}

TEST_F(RenderWeekIconTest, WhenGdiObjectsRunOutEveryFailedStepGivesBackWhatWasMade) {
    AnswerSmallIconMetric(16);
    const wchar_t* lines[] = {L"w", L"7"};
    HICON warmUp = RenderWeekIcon(lines, 2);
    ASSERT_NE(warmUp, nullptr);
    DestroyIcon(warmUp);

    // Take every free GDI handle, then hand them back one at a time: each render fails at a
    // later step (device context, font, DIB section, second line, icon bitmaps, icon) until
    // one finally has room.
    std::vector<HBRUSH> hoard;
    for (HBRUSH brush; hoard.size() < 200000 && (brush = CreateSolidBrush(0)) != nullptr;) {
        hoard.push_back(brush);
    }
    ASSERT_LT(hoard.size(), 200000u) << "the handle table never filled";
    int firstSpareWithIcon = -1;
    for (int spare = 0; spare <= 24 && !hoard.empty(); ++spare) {
        if (spare > 0) {
            DeleteObject(hoard.back());
            hoard.pop_back();
        }
        const int before = TakeResourceCensus().gdiObjects;
        HICON icon = RenderWeekIcon(lines, 2);
        if (icon != nullptr) {
            if (firstSpareWithIcon < 0) {
                firstSpareWithIcon = spare;
            }
            DestroyIcon(icon);
        } else {
            EXPECT_LT(firstSpareWithIcon, 0) << "more room never makes a render fail";
        }
        EXPECT_EQ(TakeResourceCensus().gdiObjects, before) << spare << " handles to spare";
    }
    for (HBRUSH brush : hoard) {
        DeleteObject(brush);
    }
    EXPECT_GE(firstSpareWithIcon, 6) << "two lines need at least six objects at once";
    printf("first icon with %d GDI handles to spare\n", firstSpareWithIcon);
}
