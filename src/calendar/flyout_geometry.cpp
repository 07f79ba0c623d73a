#include "calendar/flyout_geometry.h"

#include "calendar/month_model.h"

namespace {

// `value` 96-DPI units at `dpi`, rounded to nearest.
int32_t Scaled(int32_t value, uint32_t dpi) {
    return static_cast<int32_t>((static_cast<int64_t>(value) * dpi + 48) / 96);
}

int32_t Larger(int32_t first, int32_t second) {
    return first > second ? first : second;
}

int32_t Smaller(int32_t first, int32_t second) {
    return first < second ? first : second;
}

int32_t CeilingDivide(int32_t value, int32_t divisor) {
    return (value + divisor - 1) / divisor;
}

int32_t GridTop(const FlyoutLayout& layout) {
    return layout.margin + layout.titleHeight + layout.headerHeight;
}

int32_t GridLeft(const FlyoutLayout& layout) {
    return layout.margin + layout.weekColumnWidth;
}

bool Contains(FlyoutRect rect, FlyoutPoint point) {
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top &&
           point.y < rect.bottom;
}

bool TaskbarOnMonitor(FlyoutRect monitor, bool taskbarKnown, FlyoutRect taskbar) {
    return taskbarKnown && taskbar.left < monitor.right && taskbar.right > monitor.left &&
           taskbar.top < monitor.bottom && taskbar.bottom > monitor.top;
}

bool Horizontal(FlyoutRect taskbar) {
    return taskbar.right - taskbar.left >= taskbar.bottom - taskbar.top;
}

// The monitor's edge a taskbar on it is docked to.
TaskbarSide DockedSide(FlyoutRect monitor, FlyoutRect taskbar) {
    if (Horizontal(taskbar)) {
        return taskbar.top <= monitor.top ? TaskbarTop : TaskbarBottom;
    }
    return taskbar.left <= monitor.left ? TaskbarLeft : TaskbarRight;
}

} // namespace

FlyoutLayout MeasureFlyoutLayout(const FlyoutTextExtents& text, uint32_t dpi) {
    FlyoutLayout layout;
    layout.margin = Scaled(8, dpi);
    layout.titleHeight = Larger(Scaled(34, dpi), text.boldHeight + Scaled(12, dpi));
    layout.headerHeight = Larger(Scaled(24, dpi), text.textHeight + Scaled(6, dpi));
    layout.rowHeight = Larger(Scaled(30, dpi), text.textHeight + Scaled(10, dpi));
    layout.footerHeight = Larger(Scaled(34, dpi), text.textHeight + Scaled(12, dpi));
    layout.weekColumnWidth = Larger(Scaled(36, dpi), text.dayWidth + Scaled(14, dpi));
    const int32_t padding = Scaled(8, dpi);
    int32_t cell = Larger(Scaled(34, dpi), Larger(text.dayWidth, text.weekdayWidth) + padding);
    // The title sits between the ‹ and › buttons, over all cells but one week column's width.
    const int32_t titleRoom = text.titleWidth + padding + layout.weekColumnWidth;
    cell = Larger(cell, CeilingDivide(titleRoom, CalendarColumns));
    const int32_t footerWidth = Smaller(text.footerWidth, 48 * text.averageCharWidth);
    const int32_t footerRoom = footerWidth + padding - layout.weekColumnWidth;
    cell = Larger(cell, CeilingDivide(footerRoom, CalendarColumns));
    layout.cellWidth = cell;
    layout.clientWidth = 2 * layout.margin + layout.weekColumnWidth + CalendarColumns * cell;
    layout.clientHeight = 2 * layout.margin + layout.titleHeight + layout.headerHeight +
                          CalendarRows * layout.rowHeight + layout.footerHeight;
    return layout;
}

FlyoutRect FlyoutTitleRect(const FlyoutLayout& layout) {
    return FlyoutRect{GridLeft(layout), layout.margin,
                      layout.clientWidth - layout.margin - layout.weekColumnWidth,
                      layout.margin + layout.titleHeight};
}

FlyoutRect FlyoutPreviousRect(const FlyoutLayout& layout) {
    return FlyoutRect{layout.margin, layout.margin, GridLeft(layout),
                      layout.margin + layout.titleHeight};
}

FlyoutRect FlyoutNextRect(const FlyoutLayout& layout) {
    return FlyoutRect{layout.clientWidth - layout.margin - layout.weekColumnWidth, layout.margin,
                      layout.clientWidth - layout.margin, layout.margin + layout.titleHeight};
}

FlyoutRect FlyoutWeekdayRect(const FlyoutLayout& layout, int column) {
    const int32_t left = GridLeft(layout) + column * layout.cellWidth;
    const int32_t top = layout.margin + layout.titleHeight;
    return FlyoutRect{left, top, left + layout.cellWidth, top + layout.headerHeight};
}

FlyoutRect FlyoutRowRect(const FlyoutLayout& layout, int row) {
    const int32_t top = GridTop(layout) + row * layout.rowHeight;
    return FlyoutRect{layout.margin, top, layout.clientWidth - layout.margin,
                      top + layout.rowHeight};
}

FlyoutRect FlyoutWeekRect(const FlyoutLayout& layout, int row) {
    FlyoutRect rect = FlyoutRowRect(layout, row);
    rect.right = GridLeft(layout);
    return rect;
}

FlyoutRect FlyoutCellRect(const FlyoutLayout& layout, int cell) {
    FlyoutRect rect = FlyoutRowRect(layout, cell / CalendarColumns);
    rect.left = GridLeft(layout) + (cell % CalendarColumns) * layout.cellWidth;
    rect.right = rect.left + layout.cellWidth;
    return rect;
}

FlyoutRect FlyoutFooterRect(const FlyoutLayout& layout) {
    const int32_t top = GridTop(layout) + CalendarRows * layout.rowHeight;
    return FlyoutRect{layout.margin, top, layout.clientWidth - layout.margin,
                      top + layout.footerHeight};
}

int32_t FlyoutHitTest(const FlyoutLayout& layout, FlyoutPoint point) {
    if (Contains(FlyoutPreviousRect(layout), point)) {
        return TargetPrevious;
    }
    if (Contains(FlyoutNextRect(layout), point)) {
        return TargetNext;
    }
    const int32_t top = GridTop(layout);
    if (point.y < top || point.y >= top + CalendarRows * layout.rowHeight ||
        point.x < layout.margin || point.x >= layout.clientWidth - layout.margin) {
        return TargetNothing;
    }
    const int32_t row = (point.y - top) / layout.rowHeight;
    if (point.x < GridLeft(layout)) {
        return FlyoutWeekRow + row;
    }
    return row * CalendarColumns + (point.x - GridLeft(layout)) / layout.cellWidth;
}

TaskbarSide FindTaskbarSide(FlyoutRect monitor, FlyoutRect work, FlyoutPoint anchor,
                            bool taskbarKnown, FlyoutRect taskbar) {
    const bool beyond[4] = {anchor.y >= work.bottom, anchor.y < work.top, anchor.x < work.left,
                            anchor.x >= work.right};
    int32_t count = 0;
    TaskbarSide side = TaskbarBottom;
    for (int32_t candidate = 3; candidate >= 0; --candidate) {
        if (beyond[candidate]) {
            count += 1;
            side = static_cast<TaskbarSide>(candidate);
        }
    }
    if (count == 1) {
        return side;
    }
    if (TaskbarOnMonitor(monitor, taskbarKnown, taskbar)) {
        return DockedSide(monitor, taskbar);
    }
    // The monitor's edge nearest to the anchor, among the sides it lies beyond if any.
    const int32_t distance[4] = {monitor.bottom - anchor.y, anchor.y - monitor.top,
                                 anchor.x - monitor.left, monitor.right - anchor.x};
    int32_t nearest = -1;
    for (int32_t candidate = 0; candidate < 4; ++candidate) {
        if ((count == 0 || beyond[candidate]) &&
            (nearest < 0 || distance[candidate] < distance[nearest])) {
            nearest = candidate;
        }
    }
    return static_cast<TaskbarSide>(nearest);
}

FlyoutRect AreaBesideTaskbar(FlyoutRect monitor, FlyoutRect work, TaskbarSide side,
                             bool taskbarKnown, FlyoutRect taskbar) {
    if (!TaskbarOnMonitor(monitor, taskbarKnown, taskbar) || DockedSide(monitor, taskbar) != side) {
        return work;
    }
    const int32_t thickness =
        Horizontal(taskbar) ? taskbar.bottom - taskbar.top : taskbar.right - taskbar.left;
    FlyoutRect area = work;
    switch (side) {
    case TaskbarBottom:
        area.bottom = Smaller(work.bottom, monitor.bottom - thickness);
        break;
    case TaskbarTop:
        area.top = Larger(work.top, monitor.top + thickness);
        break;
    case TaskbarLeft:
        area.left = Larger(work.left, monitor.left + thickness);
        break;
    case TaskbarRight:
        area.right = Smaller(work.right, monitor.right - thickness);
        break;
    }
    return area;
}

FlyoutPoint PlaceFlyout(FlyoutRect work, TaskbarSide side, FlyoutPoint anchor, int32_t width,
                        int32_t height, int32_t gap) {
    FlyoutPoint corner = {anchor.x - width / 2, anchor.y - height / 2};
    switch (side) {
    case TaskbarBottom:
        corner.y = Smaller(anchor.y, work.bottom) - gap - height;
        break;
    case TaskbarTop:
        corner.y = Larger(anchor.y, work.top) + gap;
        break;
    case TaskbarLeft:
        corner.x = Larger(anchor.x, work.left) + gap;
        break;
    case TaskbarRight:
        corner.x = Smaller(anchor.x, work.right) - gap - width;
        break;
    }
    // Where the flyout is larger than the work area, its top-left corner stays inside.
    corner.x = Larger(Smaller(corner.x, work.right - gap - width), work.left + gap);
    corner.y = Larger(Smaller(corner.y, work.bottom - gap - height), work.top + gap);
    return corner;
}

int32_t TakeWheelMonths(int32_t* remainder, int32_t delta) {
    if ((delta > 0 && *remainder < 0) || (delta < 0 && *remainder > 0)) {
        *remainder = 0;
    }
    *remainder += delta;
    const int32_t notches = *remainder / 120;
    *remainder -= notches * 120;
    return -notches;
}
