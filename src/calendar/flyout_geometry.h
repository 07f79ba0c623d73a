// The calendar flyout's geometry: its layout measured from the font, what a point of it falls
// on, the taskbar's side and where the flyout goes on the screen, and the wheel's steps.
// Pure functions of rectangles, sizes and DPI; platform-free.
#pragma once

#include <cstdint>

struct FlyoutRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

struct FlyoutPoint {
    int32_t x;
    int32_t y;
};

// What the flyout's text needs, in pixels of the flyout's font at its DPI.
struct FlyoutTextExtents {
    int32_t textHeight;       // the regular font's line height
    int32_t boldHeight;       // the title's bold font's line height
    int32_t dayWidth;         // the widest day or week number ("88")
    int32_t weekdayWidth;     // the widest abbreviated weekday name
    int32_t titleWidth;       // the widest month title, in bold
    int32_t footerWidth;      // a footer with the widest dates
    int32_t averageCharWidth; // the regular font's
};

// Pixel sizes of the flyout's parts: a title row with the ‹ and › buttons, the weekday names,
// six rows of a week-number column and seven day cells, and the footer.
struct FlyoutLayout {
    int32_t margin;
    int32_t titleHeight;
    int32_t headerHeight;
    int32_t rowHeight;
    int32_t weekColumnWidth;
    int32_t cellWidth;
    int32_t footerHeight;
    int32_t clientWidth;
    int32_t clientHeight;
};

// Never smaller than the 96-DPI design scaled to `dpi`; larger where the text needs it. A
// footer longer than about 48 average characters does not widen the flyout (it is drawn with
// an ellipsis instead).
FlyoutLayout MeasureFlyoutLayout(const FlyoutTextExtents& text, uint32_t dpi);

FlyoutRect FlyoutTitleRect(const FlyoutLayout& layout);
FlyoutRect FlyoutPreviousRect(const FlyoutLayout& layout);
FlyoutRect FlyoutNextRect(const FlyoutLayout& layout);
FlyoutRect FlyoutWeekdayRect(const FlyoutLayout& layout, int column);
FlyoutRect FlyoutRowRect(const FlyoutLayout& layout, int row); // week column and cells
FlyoutRect FlyoutWeekRect(const FlyoutLayout& layout, int row);
FlyoutRect FlyoutCellRect(const FlyoutLayout& layout, int cell); // 0..41, row by row
FlyoutRect FlyoutFooterRect(const FlyoutLayout& layout);

// What a point of the client area falls on: a day cell's index 0..41, FlyoutWeekRow + row
// for a week number, or one of the others.
enum FlyoutTarget : int32_t { TargetNothing = -1, TargetPrevious = -2, TargetNext = -3 };
constexpr int32_t FlyoutWeekRow = 100;
int32_t FlyoutHitTest(const FlyoutLayout& layout, FlyoutPoint point);

enum TaskbarSide : int32_t { TaskbarBottom, TaskbarTop, TaskbarLeft, TaskbarRight };

// The side of the monitor whose taskbar holds the icon at `anchor`: the side of the work area
// the anchor lies beyond. Where that does not settle it (an auto-hidden taskbar, an anchor in
// a corner between the taskbar and an appbar), the taskbar's own rectangle (`taskbar`, when
// `taskbarKnown`) does when it lies on the monitor; otherwise the monitor's nearest edge.
TaskbarSide FindTaskbarSide(FlyoutRect monitor, FlyoutRect work, FlyoutPoint anchor,
                            bool taskbarKnown, FlyoutRect taskbar);

// Where the flyout may lie: the work area, less the taskbar on `side` where the work area does
// not leave it out (an auto-hidden taskbar), so that the flyout sits at the taskbar's inner edge
// rather than over it. The taskbar's thickness counts from the monitor's edge, so its
// rectangle may be where it shows or where it hides.
FlyoutRect AreaBesideTaskbar(FlyoutRect monitor, FlyoutRect work, TaskbarSide side,
                             bool taskbarKnown, FlyoutRect taskbar);

// The flyout's top-left corner: beside the anchor on the taskbar's side, `gap` pixels off the
// taskbar, and whole inside the work area with `gap` to spare where it fits.
FlyoutPoint PlaceFlyout(FlyoutRect work, TaskbarSide side, FlyoutPoint anchor, int32_t width,
                        int32_t height, int32_t gap);

// Adds a wheel delta to `remainder` and answers the months to move, negative for back: one
// per 120 in the delta's direction (a positive delta, the wheel turned away from the user,
// goes back), the rest kept. A turn of direction drops what was kept.
int32_t TakeWheelMonths(int32_t* remainder, int32_t delta);
