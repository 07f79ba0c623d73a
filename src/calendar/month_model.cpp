#include "calendar/month_model.h"

#include "week/iso_week.h"

namespace {

// Days since 1 March of year 0 of the proleptic Gregorian calendar, and back: whole 400-year
// eras of 146,097 days, with March first so that the leap day ends each year.
int32_t SerialDay(CalendarDate date) {
    const int32_t year = date.month <= 2 ? date.year - 1 : date.year;
    const int32_t era = year / 400;
    const int32_t yearOfEra = year - era * 400;
    const int32_t shiftedMonth = date.month > 2 ? date.month - 3 : date.month + 9;
    const int32_t dayOfYear = (153 * shiftedMonth + 2) / 5 + date.day - 1;
    return era * 146097 + yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
}

CalendarDate DateOfSerialDay(int32_t serial) {
    const int32_t era = serial / 146097;
    const int32_t dayOfEra = serial - era * 146097;
    const int32_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int32_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int32_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    CalendarDate date;
    date.day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
    date.month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    date.year = era * 400 + yearOfEra + (date.month <= 2 ? 1 : 0);
    return date;
}

bool YearShown(int32_t year) {
    return year >= CalendarFirstYear && year <= CalendarLastYear;
}

} // namespace

bool SameDate(CalendarDate first, CalendarDate second) {
    return first.year == second.year && first.month == second.month && first.day == second.day;
}

bool DateShown(CalendarDate date) {
    return YearShown(date.year);
}

bool GridRowShown(const MonthGrid& grid, int row) {
    for (int column = 0; column < CalendarColumns; ++column) {
        if (DateShown(grid.cells[row * CalendarColumns + column])) {
            return true;
        }
    }
    return false;
}

CalendarDate LastShownDayOfWeek(CalendarDate monday) {
    const CalendarDate sunday = DateOfSerialDay(SerialDay(monday) + 6);
    return YearShown(sunday.year) ? sunday : CalendarDate{CalendarLastYear, 12, 31};
}

CalendarDate AddDays(CalendarDate date, int32_t days) {
    const CalendarDate moved = DateOfSerialDay(SerialDay(date) + days);
    return YearShown(moved.year) ? moved : date;
}

CalendarDate AddMonths(CalendarDate date, int32_t months) {
    const int32_t monthIndex = date.year * 12 + (date.month - 1) + months;
    CalendarDate moved;
    moved.year = monthIndex / 12;
    moved.month = monthIndex % 12 + 1;
    const int32_t length = DaysInMonth(moved.year, moved.month);
    moved.day = date.day < length ? date.day : length;
    return YearShown(moved.year) ? moved : date;
}

CalendarDate MondayOfWeek(CalendarDate date) {
    return DateOfSerialDay(SerialDay(date) - (IsoDayOfWeek(date.year, date.month, date.day) - 1));
}

bool MondayOfIsoWeek(int32_t isoYear, int32_t week, CalendarDate* monday) {
    if (week < 1 || week > IsoWeeksInYear(isoYear)) {
        return false;
    }
    // 4 January always lies in week 1.
    const CalendarDate firstMonday = MondayOfWeek(CalendarDate{isoYear, 1, 4});
    *monday = DateOfSerialDay(SerialDay(firstMonday) + (week - 1) * 7);
    return true;
}

void BuildMonthGrid(int32_t year, int32_t month, MonthGrid* grid) {
    grid->year = year;
    grid->month = month;
    const int32_t start = SerialDay(MondayOfWeek(CalendarDate{year, month, 1}));
    for (int cell = 0; cell < CalendarRows * CalendarColumns; ++cell) {
        grid->cells[cell] = DateOfSerialDay(start + cell);
    }
    for (int row = 0; row < CalendarRows; ++row) {
        const CalendarDate thursday = grid->cells[row * CalendarColumns + 3];
        grid->rowWeeks[row] = ComputeIsoWeek(thursday.year, thursday.month, thursday.day);
    }
}
