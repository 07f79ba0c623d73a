#include "week/iso_week.h"

namespace {

const int32_t daysPerMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
// Sakamoto's month offsets for the weekday formula.
const int32_t weekdayOffset[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};

} // namespace

int32_t IsLeapYear(int32_t year) {
    if (year % 4 != 0) {
        return 0;
    }
    if (year % 100 != 0) {
        return 1;
    }
    return year % 400 == 0 ? 1 : 0;
}

int32_t DaysInMonth(int32_t year, int32_t month) {
    if (month < 1 || month > 12) {
        return 0;
    }
    if (month == 2 && IsLeapYear(year)) {
        return 29;
    }
    return daysPerMonth[month - 1];
}

int32_t IsoDayOfWeek(int32_t year, int32_t month, int32_t day) {
    if (month < 1 || month > 12) {
        return 0; // no weekday without a month; never reached from ComputeIsoWeek
    }
    int32_t y = month < 3 ? year - 1 : year;
    int32_t sum = weekdayOffset[month - 1] + y + y / 4 - y / 100 + y / 400 + day;
    int32_t remainder = sum % 7;
    return remainder == 0 ? 7 : remainder;
}

int32_t IsoWeeksInYear(int32_t year) {
    int32_t januaryFirst = IsoDayOfWeek(year, 1, 1);
    if (januaryFirst == 4) {
        return 53;
    }
    if (januaryFirst == 3 && IsLeapYear(year)) {
        return 53;
    }
    return 52;
}

IsoWeekDate ComputeIsoWeek(int32_t year, int32_t month, int32_t day) {
    const IsoWeekDate invalid = {0, 0};
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) {
        return invalid;
    }
    int32_t dayOfYear = day;
    for (int32_t earlierMonth = 1; earlierMonth < month; ++earlierMonth) {
        dayOfYear += DaysInMonth(year, earlierMonth);
    }
    int32_t week = (dayOfYear - IsoDayOfWeek(year, month, day) + 10) / 7;
    if (week < 1) {
        return IsoWeekDate{year - 1, IsoWeeksInYear(year - 1)};
    }
    if (week > IsoWeeksInYear(year)) {
        return IsoWeekDate{year + 1, 1};
    }
    return IsoWeekDate{year, week};
}
