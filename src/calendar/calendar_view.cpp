#include "calendar/calendar_view.h"

#include "calendar/calendar_dates.h"
#include "common/strings.h"
#include "text/ui_text.h"
#include "week/iso_week.h"

namespace {

RECT ToRect(FlyoutRect rect) {
    return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

} // namespace

CalendarFlyout* FlyoutOf(HWND window) {
    return reinterpret_cast<CalendarFlyout*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

RECT CalendarCellRect(const CalendarFlyout* flyout, int index) {
    return ToRect(FlyoutCellRect(flyout->layout, index));
}

RECT CalendarButtonRect(const CalendarFlyout* flyout, bool next) {
    return ToRect(next ? FlyoutNextRect(flyout->layout) : FlyoutPreviousRect(flyout->layout));
}

CalendarDate CalendarCellDate(const CalendarFlyout* flyout, int index) {
    MonthGrid grid;
    BuildMonthGrid(flyout->selected.year, flyout->selected.month, &grid);
    return grid.cells[index];
}

int CalendarSelectedCell(const CalendarFlyout* flyout) {
    MonthGrid grid;
    BuildMonthGrid(flyout->selected.year, flyout->selected.month, &grid);
    for (int index = 0; index < CalendarRows * CalendarColumns; ++index) {
        if (SameDate(grid.cells[index], flyout->selected)) {
            return index;
        }
    }
    return 0;
}

bool CalendarCellAvailable(const CalendarFlyout* flyout, int index) {
    return DateShown(CalendarCellDate(flyout, index));
}

bool CalendarButtonAvailable(const CalendarFlyout* flyout, bool next) {
    return !SameDate(AddMonths(flyout->selected, next ? 1 : -1), flyout->selected);
}

void FormatCalendarTitle(const CalendarFlyout* flyout, wchar_t* text, int capacity) {
    FormatCalendarDate(flyout->selected, DATE_YEARMONTH, text, capacity);
}

// "Week 49: 30/11/2026 – 06/12/2026", or the week number being typed.
void FormatFooter(const CalendarFlyout* flyout, wchar_t* text, int capacity) {
    if (flyout->typedDigits > 0) {
        FormatString(text, capacity, UiText(TextFooterGoToWeek), flyout->typedWeek);
        return;
    }
    const CalendarDate monday = MondayOfWeek(flyout->selected);
    wchar_t first[40];
    wchar_t last[40];
    FormatCalendarDate(monday, DATE_SHORTDATE, first, 40);
    FormatCalendarDate(LastShownDayOfWeek(monday), DATE_SHORTDATE, last, 40);
    const IsoWeekDate week =
        ComputeIsoWeek(flyout->selected.year, flyout->selected.month, flyout->selected.day);
    FormatString(text, capacity, UiText(TextFooterWeek), week.week, first, last);
}

void FormatCellName(const CalendarFlyout* flyout, int index, wchar_t* text, int capacity) {
    const CalendarDate day = CalendarCellDate(flyout, index);
    wchar_t longDate[120];
    FormatCalendarDate(day, DATE_LONGDATE, longDate, 120);
    FormatString(text, capacity, UiText(TextDayCellName), longDate,
                 ComputeIsoWeek(day.year, day.month, day.day).week);
}
