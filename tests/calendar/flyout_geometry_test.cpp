#include <gtest/gtest.h>

#include <cmath>

#include "calendar/flyout_geometry.h"
#include "calendar/flyout_palette.h"
#include "calendar/month_model.h"

namespace {

const FlyoutRect Screen = {0, 0, 1920, 1080};
const FlyoutRect Unknown = {0, 0, 0, 0};

struct SideCase {
    const char* what;
    FlyoutRect monitor;
    FlyoutRect work;
    FlyoutPoint anchor;
    FlyoutRect taskbar; // from ABM_GETTASKBARPOS; Unknown when it failed
    TaskbarSide side;
    FlyoutPoint corner; // of a 300x400 flyout, 12 pixels off
};

TEST(Placement, TheTaskbarSideComesFromTheAnchorAgainstTheWorkArea) {
    // clang-format off
    const SideCase cases[] = {
        {"bottom", Screen, {0, 0, 1920, 1040}, {1800, 1060}, Unknown, TaskbarBottom, {1608, 628}},
        {"top", Screen, {0, 40, 1920, 1080}, {900, 20}, Unknown, TaskbarTop, {750, 52}},
        {"left", Screen, {48, 0, 1920, 1080}, {24, 1000}, Unknown, TaskbarLeft, {60, 668}},
        {"right", Screen, {0, 0, 1872, 1080}, {1896, 100}, Unknown, TaskbarRight, {1560, 12}},
        {"monitor left of and above the primary", {-1280, -200, 0, 824}, {-1280, -200, 0, 784},
            {-1270, 800}, Unknown, TaskbarBottom, {-1268, 372}},
        {"appbar docked left beside a bottom taskbar", Screen, {200, 0, 1920, 1040},
            {900, 1060}, Unknown, TaskbarBottom, {750, 628}},
        {"corner of a right taskbar and a bottom appbar", Screen, {0, 0, 1872, 900},
            {1896, 1000}, {1872, 0, 1920, 1080}, TaskbarRight, {1560, 488}},
        {"auto-hidden top taskbar: at its inner edge", Screen, Screen, {900, 3},
            {0, 0, 1920, 40}, TaskbarTop, {750, 52}},
        {"auto-hidden bottom taskbar where it hides", Screen, Screen, {1800, 1079},
            {0, 1078, 1920, 1118}, TaskbarBottom, {1608, 628}},
        {"auto-hidden taskbar of another monitor", {1920, 0, 3840, 1080}, {1920, 0, 3840, 1080},
            {1925, 500}, {0, 0, 48, 1080}, TaskbarLeft, {1937, 300}},
    };
    // clang-format on
    for (const SideCase& c : cases) {
        const bool known = c.taskbar.right > c.taskbar.left;
        const TaskbarSide side = FindTaskbarSide(c.monitor, c.work, c.anchor, known, c.taskbar);
        EXPECT_EQ(side, c.side) << c.what;
        const FlyoutRect area = AreaBesideTaskbar(c.monitor, c.work, side, known, c.taskbar);
        const FlyoutPoint corner = PlaceFlyout(area, side, c.anchor, 300, 400, 12);
        EXPECT_TRUE(corner.x == c.corner.x && corner.y == c.corner.y)
            << c.what << ": " << corner.x << "," << corner.y;
    }
}

// Text that grows with the DPI and the text size: every part holds its text and answers
// for its own corners. Small text keeps the 96-DPI design, whatever the footer's length.
TEST(FlyoutLayout, EveryPartFitsItsTextAndAnswersForItselfFromNormalToDoubleText) {
    for (const double scale : {1.0, 1.5, 2.0, 3.0, 4.0}) { // text size times DPI / 96
        const auto px = [=](double size) { return int32_t(std::lround(size * scale)); };
        const FlyoutTextExtents text = {px(15), px(16), px(14), px(24), px(110), px(200), px(7)};
        const FlyoutLayout layout = MeasureFlyoutLayout(text, 96 * (scale > 2 ? 2 : 1));
        const FlyoutRect cell = FlyoutCellRect(layout, 41);
        const FlyoutRect title = FlyoutTitleRect(layout);
        const FlyoutRect footer = FlyoutFooterRect(layout);
        EXPECT_TRUE(cell.right - cell.left >= text.weekdayWidth &&
                    cell.bottom - cell.top >= text.textHeight &&
                    layout.weekColumnWidth >= text.dayWidth &&
                    title.right - title.left >= text.titleWidth &&
                    title.bottom - title.top >= text.boldHeight &&
                    footer.right - footer.left >= text.footerWidth &&
                    footer.bottom + layout.margin == layout.clientHeight)
            << scale;
        for (int index = 0; index < CalendarRows * CalendarColumns; index += 8) {
            const FlyoutRect part = FlyoutCellRect(layout, index);
            EXPECT_EQ(FlyoutHitTest(layout, {part.left, part.top}), index);
            EXPECT_EQ(FlyoutHitTest(layout, {part.right - 1, part.bottom - 1}), index);
        }
        EXPECT_EQ(FlyoutHitTest(layout, {layout.margin, cell.top}), FlyoutWeekRow + 5);
        EXPECT_EQ(FlyoutHitTest(layout, {cell.right - 1, title.top}), TargetNext);
        EXPECT_EQ(FlyoutHitTest(layout, {cell.right, cell.top}), TargetNothing);
    }
    const FlyoutLayout design = MeasureFlyoutLayout({10, 10, 10, 10, 40, 2000, 5}, 96);
    EXPECT_TRUE(design.clientWidth == 290 && design.clientHeight == 288);
}

// WCAG 2's relative luminance of a 0x00BBGGRR colour, plus 0.05; their ratio is the contrast.
double Luminance(uint32_t colour) {
    double sum = 0.05;
    for (const double weight : {0.2126, 0.7152, 0.0722}) {
        const double value = (colour & 0xFF) / 255.0;
        sum += weight * (value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4));
        colour >>= 8;
    }
    return sum;
}

double ContrastRatio(uint32_t first, uint32_t second) {
    const double ratio = Luminance(first) / Luminance(second);
    return ratio > 1 ? ratio : 1 / ratio;
}

TEST(Palette, EveryTextReachesFourAndAHalfToOneOnWhatItIsDrawnOn) {
    const PaletteRole pairs[][2] = {{Text, Background},    {Text, RowTint},
                                    {Dimmed, Background},  {Dimmed, RowTint},
                                    {WeekNumber, RowTint}, {AccentText, Accent}};
    for (const uint32_t* palette : {LightPalette, DarkPalette}) {
        for (const auto& pair : pairs) {
            EXPECT_GE(ContrastRatio(palette[pair[0]], palette[pair[1]]), 4.5)
                << (palette == LightPalette ? "light " : "dark ") << pair[0] << " on " << pair[1];
        }
    }
}

} // namespace
