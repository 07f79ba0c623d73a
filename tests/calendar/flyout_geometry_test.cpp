#include <gtest/gtest.h>

#include <cmath>

#include "calendar/flyout_geometry.h"
#include "calendar/flyout_palette.h"
#include "calendar/month_model.h"

namespace {

int32_t Width(FlyoutRect rect) {
    return rect.right - rect.left;
}

int32_t Height(FlyoutRect rect) {
    return rect.bottom - rect.top;
}

FlyoutPoint Centre(FlyoutRect rect) {
    return FlyoutPoint{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

const FlyoutRect FullHd = {0, 0, 1920, 1080};
const FlyoutRect NoTaskbar = {0, 0, 0, 0};

struct SideCase {
    const char* what;
    FlyoutRect monitor;
    FlyoutRect work;
    FlyoutPoint anchor;
    bool taskbarKnown;
    FlyoutRect taskbar;
    TaskbarSide side;
};

TEST(TaskbarSide, ComesFromWhereTheAnchorLiesAgainstTheWorkArea) {
    const SideCase cases[] = {
        {"bottom", FullHd, {0, 0, 1920, 1040}, {1800, 1060}, false, NoTaskbar, TaskbarBottom},
        {"top", FullHd, {0, 40, 1920, 1080}, {1800, 20}, false, NoTaskbar, TaskbarTop},
        {"left", FullHd, {48, 0, 1920, 1080}, {24, 1000}, false, NoTaskbar, TaskbarLeft},
        {"right", FullHd, {0, 0, 1872, 1080}, {1896, 1000}, false, NoTaskbar, TaskbarRight},
        {"monitor left of the primary",
         {-1280, -200, 0, 824},
         {-1280, -200, 0, 784},
         {-100, 800},
         false,
         NoTaskbar,
         TaskbarBottom},
        {"monitor above the primary, left taskbar",
         {0, -1080, 1920, 0},
         {48, -1080, 1920, 0},
         {24, -60},
         false,
         NoTaskbar,
         TaskbarLeft},
        {"appbar docked left beside a bottom taskbar",
         FullHd,
         {200, 0, 1920, 1040},
         {1800, 1060},
         false,
         NoTaskbar,
         TaskbarBottom},
        {"corner of a bottom taskbar and a right appbar",
         FullHd,
         {0, 0, 1720, 1040},
         {1800, 1060},
         true,
         {0, 1040, 1920, 1080},
         TaskbarBottom},
        {"corner of a right taskbar and a bottom appbar",
         FullHd,
         {0, 0, 1872, 900},
         {1896, 1000},
         true,
         {1872, 0, 1920, 1080},
         TaskbarRight},
        {"corner, taskbar unknown: the nearer edge",
         FullHd,
         {0, 0, 1872, 900},
         {1896, 1000},
         false,
         NoTaskbar,
         TaskbarRight},
        {"auto-hidden top taskbar", FullHd, FullHd, {1800, 3}, true, {0, 0, 1920, 40}, TaskbarTop},
        {"auto-hidden, taskbar on another monitor",
         {1920, 0, 3840, 1080},
         {1920, 0, 3840, 1080},
         {3830, 540},
         true,
         {0, 1040, 1920, 1080},
         TaskbarRight},
    };
    for (const SideCase& c : cases) {
        EXPECT_EQ(FindTaskbarSide(c.monitor, c.work, c.anchor, c.taskbarKnown, c.taskbar), c.side)
            << c.what;
    }
}

struct PlaceCase {
    const char* what;
    FlyoutRect work;
    TaskbarSide side;
    FlyoutPoint anchor;
    FlyoutPoint corner;
};

TEST(PlaceFlyout, BesideTheAnchorOffTheTaskbarAndInsideTheWorkArea) {
    const PlaceCase cases[] = {
        {"bottom, pushed left of the screen's edge",
         {0, 0, 1920, 1040},
         TaskbarBottom,
         {1800, 1060},
         {1608, 628}},
        {"bottom, centred on the icon", {0, 0, 1920, 1040}, TaskbarBottom, {900, 1060}, {750, 628}},
        {"top", {0, 40, 1920, 1080}, TaskbarTop, {1800, 20}, {1608, 52}},
        {"left, pushed up from the bottom",
         {48, 0, 1920, 1080},
         TaskbarLeft,
         {24, 1000},
         {60, 668}},
        {"right, pushed down from the top",
         {0, 0, 1872, 1080},
         TaskbarRight,
         {1896, 100},
         {1560, 12}},
        {"auto-hidden bottom: above the anchor",
         {0, 0, 1920, 1080},
         TaskbarBottom,
         {900, 1075},
         {750, 663}},
        {"negative coordinates", {-1280, -200, 0, 784}, TaskbarBottom, {-1270, 800}, {-1268, 372}},
        {"work area smaller than the flyout",
         {0, 0, 200, 300},
         TaskbarBottom,
         {190, 310},
         {12, 12}},
    };
    for (const PlaceCase& c : cases) {
        const FlyoutPoint corner = PlaceFlyout(c.work, c.side, c.anchor, 300, 400, 12);
        EXPECT_EQ(corner.x, c.corner.x) << c.what;
        EXPECT_EQ(corner.y, c.corner.y) << c.what;
    }
}

// A font that grows with the DPI and the text size, with a locale's longest names.
FlyoutTextExtents ExtentsAt(uint32_t dpi, double textScale) {
    const double unit = dpi / 96.0 * textScale;
    const auto size = [unit](double pixels) {
        return static_cast<int32_t>(std::lround(pixels * unit));
    };
    return FlyoutTextExtents{size(15), size(16), size(14), size(24), size(110), size(200), size(7)};
}

TEST(FlyoutLayout, EveryTextFitsItsPartFromNormalToDoubleTextAtEveryDpi) {
    for (const uint32_t dpi : {96u, 120u, 144u, 192u, 288u}) {
        for (const double scale : {1.0, 1.25, 1.5, 1.75, 2.0}) {
            const FlyoutTextExtents text = ExtentsAt(dpi, scale);
            const FlyoutLayout layout = MeasureFlyoutLayout(text, dpi);
            const FlyoutRect cell = FlyoutCellRect(layout, 41);
            EXPECT_GE(Width(cell), text.weekdayWidth) << dpi << " " << scale;
            EXPECT_GE(Width(cell), text.dayWidth) << dpi << " " << scale;
            EXPECT_GE(Height(cell), text.textHeight) << dpi << " " << scale;
            EXPECT_GE(Width(FlyoutWeekRect(layout, 5)), text.dayWidth) << dpi << " " << scale;
            EXPECT_GE(Height(FlyoutWeekdayRect(layout, 6)), text.textHeight) << dpi;
            EXPECT_GE(Width(FlyoutTitleRect(layout)), text.titleWidth) << dpi << " " << scale;
            EXPECT_GE(Height(FlyoutTitleRect(layout)), text.boldHeight) << dpi << " " << scale;
            EXPECT_GE(Width(FlyoutFooterRect(layout)), text.footerWidth) << dpi << " " << scale;
            EXPECT_GE(Height(FlyoutFooterRect(layout)), text.textHeight) << dpi << " " << scale;
            EXPECT_EQ(FlyoutFooterRect(layout).bottom + layout.margin, layout.clientHeight);
            EXPECT_EQ(cell.right + layout.margin, layout.clientWidth);
        }
    }
}

TEST(FlyoutLayout, SmallTextKeepsTheDesignAndALongFooterDoesNotStretchIt) {
    const FlyoutTextExtents small = {10, 10, 10, 10, 40, 100, 5};
    const FlyoutLayout design = MeasureFlyoutLayout(small, 96);
    EXPECT_EQ(design.clientWidth, 290);
    EXPECT_EQ(design.clientHeight, 288);
    const FlyoutLayout doubled = MeasureFlyoutLayout(small, 192);
    EXPECT_EQ(doubled.clientWidth, 580);
    EXPECT_EQ(doubled.clientHeight, 576);

    FlyoutTextExtents longFooter = ExtentsAt(96, 1.0);
    longFooter.footerWidth = 2000;
    const FlyoutLayout layout = MeasureFlyoutLayout(longFooter, 96);
    EXPECT_LT(Width(FlyoutFooterRect(layout)), longFooter.footerWidth);
    EXPECT_LE(Width(FlyoutFooterRect(layout)), 48 * longFooter.averageCharWidth + 8 + 7);
}

TEST(FlyoutHitTest, EveryPartAnswersForItsWholeRectangle) {
    const FlyoutLayout layout = MeasureFlyoutLayout(ExtentsAt(144, 2.0), 144);
    for (int cell = 0; cell < CalendarRows * CalendarColumns; ++cell) {
        const FlyoutRect rect = FlyoutCellRect(layout, cell);
        EXPECT_EQ(FlyoutHitTest(layout, {rect.left, rect.top}), cell);
        EXPECT_EQ(FlyoutHitTest(layout, {rect.right - 1, rect.bottom - 1}), cell);
    }
    for (int row = 0; row < CalendarRows; ++row) {
        EXPECT_EQ(FlyoutHitTest(layout, Centre(FlyoutWeekRect(layout, row))), FlyoutWeekRow + row);
    }
    EXPECT_EQ(FlyoutHitTest(layout, Centre(FlyoutPreviousRect(layout))), TargetPrevious);
    EXPECT_EQ(FlyoutHitTest(layout, Centre(FlyoutNextRect(layout))), TargetNext);
    const FlyoutRect last = FlyoutCellRect(layout, 41);
    const FlyoutPoint nothing[] = {Centre(FlyoutTitleRect(layout)),
                                   Centre(FlyoutWeekdayRect(layout, 3)),
                                   Centre(FlyoutFooterRect(layout)),
                                   {last.right, last.top},
                                   {0, 0}};
    for (const FlyoutPoint point : nothing) {
        EXPECT_EQ(FlyoutHitTest(layout, point), TargetNothing) << point.x << "," << point.y;
    }
}

struct WheelCase {
    const char* what;
    int32_t deltas[3];
    int32_t months; // over all deltas
    int32_t remainder;
};

TEST(WheelMonths, OnePer120InTheSignsDirectionWithTheRestKeptUntilItTurns) {
    const WheelCase cases[] = {
        {"three touchpad deltas of 40", {40, 40, 40}, -1, 0},
        {"a coalesced 240", {240, 0, 0}, -2, 0},
        {"nothing", {0, 0, 0}, 0, 0},
        {"toward the user", {-120, -100, 0}, 1, -100},
        {"the turn drops what was kept", {100, -30, 0}, 0, -30},
        {"a notch and a bit, then a turn", {130, -10, 0}, -1, -10},
    };
    for (const WheelCase& c : cases) {
        int32_t remainder = 0;
        int32_t months = 0;
        for (const int32_t delta : c.deltas) {
            months += TakeWheelMonths(&remainder, delta);
        }
        EXPECT_EQ(months, c.months) << c.what;
        EXPECT_EQ(remainder, c.remainder) << c.what;
    }
}

double Linear(uint32_t channel) {
    const double value = static_cast<double>(channel & 0xFF) / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

// WCAG 2's contrast ratio of two 0x00BBGGRR colours.
double ContrastRatio(uint32_t first, uint32_t second) {
    const auto luminance = [](uint32_t colour) {
        return 0.2126 * Linear(colour) + 0.7152 * Linear(colour >> 8) +
               0.0722 * Linear(colour >> 16) + 0.05;
    };
    const double a = luminance(first);
    const double b = luminance(second);
    return a > b ? a / b : b / a;
}

TEST(Palette, EveryTextReachesFourAndAHalfToOneOnWhatItIsDrawnOn) {
    const PaletteRole pairs[][2] = {
        {Text, Background},       {Text, RowTint},       {Dimmed, Background}, {Dimmed, RowTint},
        {WeekNumber, Background}, {WeekNumber, RowTint}, {AccentText, Accent}};
    for (const uint32_t* palette : {LightPalette, DarkPalette}) {
        for (const auto& pair : pairs) {
            EXPECT_GE(ContrastRatio(palette[pair[0]], palette[pair[1]]), 4.5)
                << (palette == LightPalette ? "light " : "dark ") << pair[0] << " on " << pair[1];
        }
    }
}

} // namespace
