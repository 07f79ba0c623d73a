#include <gtest/gtest.h>

#include <cstdint>

#include "week/iso_week.h"

namespace {

// An independent reference: serial day numbers (days since 1970-01-01, Hinnant's civil
// algorithms) and the rule that a week belongs to the year of its Thursday.
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

int64_t YearFromDays(int64_t days) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int64_t month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
    return yearOfEra + era * 400 + (month <= 2);
}

int64_t ReferenceWeekday(int64_t days) { // 1 Monday .. 7 Sunday; 1970-01-01 was a Thursday
    int64_t remainder = (days + 3) % 7;
    if (remainder < 0) {
        remainder += 7;
    }
    return remainder + 1;
}

IsoWeekDate ReferenceIsoWeek(int64_t days) {
    const int64_t thursday = days - ReferenceWeekday(days) + 4;
    const int64_t isoYear = YearFromDays(thursday);
    const int64_t week = (thursday - DaysFromCivil(isoYear, 1, 1)) / 7 + 1;
    return IsoWeekDate{static_cast<int32_t>(isoYear), static_cast<int32_t>(week)};
}

void ExpectWeek(int32_t year, int32_t month, int32_t day, int32_t isoYear, int32_t week) {
    IsoWeekDate result = ComputeIsoWeek(year, month, day);
    EXPECT_EQ(result.year, isoYear) << year << "-" << month << "-" << day;
    EXPECT_EQ(result.week, week) << year << "-" << month << "-" << day;
}

} // namespace

TEST(ComputeIsoWeek, MatchesTheReferenceForEveryDateOfYears1To65535) {
    int64_t days = DaysFromCivil(1, 1, 1);
    int64_t checked = 0;
    for (int32_t year = 1; year <= 65535; ++year) {
        for (int32_t month = 1; month <= 12; ++month) {
            const int32_t monthLength = DaysInMonth(year, month);
            for (int32_t day = 1; day <= monthLength; ++day, ++days) {
                const IsoWeekDate expected = ReferenceIsoWeek(days);
                const IsoWeekDate actual = ComputeIsoWeek(year, month, day);
                if (actual.year != expected.year || actual.week != expected.week) {
                    FAIL() << year << "-" << month << "-" << day << ": got " << actual.year << "-W"
                           << actual.week << ", expected " << expected.year << "-W"
                           << expected.week;
                }
                ++checked;
            }
        }
    }
    // The walk itself is checked: it must have covered the whole range, day by day.
    EXPECT_EQ(days, DaysFromCivil(65536, 1, 1));
    EXPECT_EQ(checked, DaysFromCivil(65536, 1, 1) - DaysFromCivil(1, 1, 1));
}

TEST(ComputeIsoWeek, WorkedExamplesAtYearBoundaries) {
    ExpectWeek(2020, 12, 31, 2020, 53);
    ExpectWeek(2021, 1, 3, 2020, 53);
    ExpectWeek(2021, 1, 4, 2021, 1);
    ExpectWeek(2024, 2, 29, 2024, 9);
    ExpectWeek(2024, 12, 29, 2024, 52);
    ExpectWeek(2024, 12, 30, 2025, 1);
    ExpectWeek(2026, 1, 1, 2026, 1);
    ExpectWeek(2026, 12, 31, 2026, 53);
    ExpectWeek(2027, 1, 3, 2026, 53);
    ExpectWeek(1, 1, 1, 1, 1);
    ExpectWeek(65535, 12, 31, 65536, 1); // a Monday: week 1 of the following ISO year
}

TEST(ComputeIsoWeek, InvalidDatesGiveYearZeroWeekZero) {
    const int32_t invalid[][3] = {
        {0, 1, 1},        {0, 6, 15},       {2026, 0, 1},   {2026, 13, 1}, {2026, 1, 0},
        {2026, 2, 30},    {2026, 4, 31},    {2026, 12, 32}, {2023, 2, 29}, {1900, 2, 29},
        {2026, 65535, 1}, {2026, 1, 65535}, {-4, 1, 1},
    };
    for (const auto& date : invalid) {
        IsoWeekDate result = ComputeIsoWeek(date[0], date[1], date[2]);
        EXPECT_EQ(result.year, 0) << date[0] << "-" << date[1] << "-" << date[2];
        EXPECT_EQ(result.week, 0) << date[0] << "-" << date[1] << "-" << date[2];
    }
    ExpectWeek(2000, 2, 29, 2000, 9);
}

TEST(IsLeapYear, FollowsTheGregorianRuleForNegativeYearsToo) {
    EXPECT_EQ(IsLeapYear(2024), 1);
    EXPECT_EQ(IsLeapYear(2026), 0);
    EXPECT_EQ(IsLeapYear(1900), 0);
    EXPECT_EQ(IsLeapYear(2000), 1);
    EXPECT_EQ(IsLeapYear(0), 1);
    EXPECT_EQ(IsLeapYear(-4), 1);
    EXPECT_EQ(IsLeapYear(-400), 1);
    EXPECT_EQ(IsLeapYear(-100), 0);
    EXPECT_EQ(IsLeapYear(-1), 0);
}

TEST(DaysInMonth, FebruaryFollowsLeapYearsAndBadMonthsGiveZero) {
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2100, 2), 28);
    EXPECT_EQ(DaysInMonth(2026, 4), 30);
    EXPECT_EQ(DaysInMonth(2026, 12), 31);
    EXPECT_EQ(DaysInMonth(2026, 0), 0);
    EXPECT_EQ(DaysInMonth(2026, 13), 0);
    EXPECT_EQ(DaysInMonth(2026, -1), 0);
}

TEST(IsoDayOfWeek, SundayIsSevenAndBadMonthsAreRefused) {
    EXPECT_EQ(IsoDayOfWeek(2026, 12, 31), 4);
    EXPECT_EQ(IsoDayOfWeek(2021, 1, 3), 7);
    EXPECT_EQ(IsoDayOfWeek(2026, 12, 7), 1);
    EXPECT_EQ(IsoDayOfWeek(1, 1, 1), 1);
    EXPECT_EQ(IsoDayOfWeek(2026, 0, 1), 0);
    EXPECT_EQ(IsoDayOfWeek(2026, 13, 1), 0);
}

TEST(IsoWeeksInYear, LongYearsStartOnThursdayOrLeapWednesday) {
    EXPECT_EQ(IsoWeeksInYear(2020), 53); // Wednesday, leap year
    EXPECT_EQ(IsoWeeksInYear(2026), 53); // Thursday
    EXPECT_EQ(IsoWeeksInYear(2021), 52);
    EXPECT_EQ(IsoWeeksInYear(2024), 52); // Monday, leap year
    EXPECT_EQ(IsoWeeksInYear(2025), 52);
    EXPECT_EQ(IsoWeeksInYear(2014), 52); // Wednesday, common year
}
