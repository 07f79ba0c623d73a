#include <gtest/gtest.h>

#include "calendar/month_model.h"
#include "week/iso_week.h"

namespace {

void ExpectDate(CalendarDate actual, int32_t year, int32_t month, int32_t day) {
    EXPECT_EQ(actual.year, year);
    EXPECT_EQ(actual.month, month);
    EXPECT_EQ(actual.day, day);
}

// Every row runs Monday to Sunday on consecutive days, its number is the week of each of its
// seven days, and the month's days all appear in order from the first row.
void ExpectConsistentGrid(const MonthGrid& grid) {
    EXPECT_TRUE(SameDate(grid.cells[0], MondayOfWeek(CalendarDate{grid.year, grid.month, 1})));
    int32_t monthDaysSeen = 0;
    for (int cell = 0; cell < CalendarRows * CalendarColumns; ++cell) {
        const CalendarDate date = grid.cells[cell];
        const IsoWeekDate week = ComputeIsoWeek(date.year, date.month, date.day);
        EXPECT_EQ(IsoDayOfWeek(date.year, date.month, date.day), cell % CalendarColumns + 1);
        EXPECT_EQ(week.year, grid.rowWeeks[cell / CalendarColumns].year) << cell;
        EXPECT_EQ(week.week, grid.rowWeeks[cell / CalendarColumns].week) << cell;
        if (cell > 0) {
            EXPECT_TRUE(SameDate(AddDays(grid.cells[cell - 1], 1), date)) << cell;
        }
        if (date.year == grid.year && date.month == grid.month) {
            EXPECT_EQ(date.day, ++monthDaysSeen);
        }
    }
    EXPECT_EQ(monthDaysSeen, DaysInMonth(grid.year, grid.month));
}

TEST(MonthGrid, EveryMonthOfFourHundredYearsIsConsistentWithComputeIsoWeek) {
    MonthGrid grid;
    for (int32_t year = 2000; year < 2400; ++year) {
        for (int32_t month = 1; month <= 12; ++month) {
            BuildMonthGrid(year, month, &grid);
            ExpectConsistentGrid(grid);
            if (HasFailure()) {
                FAIL() << year << "-" << month;
            }
        }
    }
}

TEST(MonthGrid, RowsAroundYearEnds) {
    MonthGrid grid;
    // January 2021 opens with the end of 2020-W53.
    BuildMonthGrid(2021, 1, &grid);
    ExpectDate(grid.cells[0], 2020, 12, 28);
    EXPECT_EQ(grid.rowWeeks[0].year, 2020);
    EXPECT_EQ(grid.rowWeeks[0].week, 53);
    EXPECT_EQ(grid.rowWeeks[1].year, 2021);
    EXPECT_EQ(grid.rowWeeks[1].week, 1);

    // December 2026: 2026-W53 runs from 28 December to 3 January 2027, then 2027-W01.
    BuildMonthGrid(2026, 12, &grid);
    ExpectDate(grid.cells[4 * CalendarColumns], 2026, 12, 28);
    ExpectDate(grid.cells[4 * CalendarColumns + 6], 2027, 1, 3);
    EXPECT_EQ(grid.rowWeeks[4].year, 2026);
    EXPECT_EQ(grid.rowWeeks[4].week, 53);
    EXPECT_EQ(grid.rowWeeks[5].year, 2027);
    EXPECT_EQ(grid.rowWeeks[5].week, 1);
    ExpectDate(grid.cells[5 * CalendarColumns], 2027, 1, 4);
}

TEST(MonthGrid, AMonthStartingOnSundayNeedsAllSixRows) {
    MonthGrid grid;
    // 1 August 2027 is a Sunday and the month has 31 days: its last day sits in the sixth row.
    BuildMonthGrid(2027, 8, &grid);
    ExpectDate(grid.cells[6], 2027, 8, 1);
    ExpectDate(grid.cells[5 * CalendarColumns + 1], 2027, 8, 31);
    EXPECT_EQ(grid.rowWeeks[5].week, 35);
}

TEST(Navigation, MonthStepsClampTheDayToTheMonthsLength) {
    ExpectDate(AddMonths(CalendarDate{2027, 1, 31}, 1), 2027, 2, 28);
    ExpectDate(AddMonths(CalendarDate{2028, 1, 31}, 1), 2028, 2, 29);
    ExpectDate(AddMonths(CalendarDate{2026, 3, 31}, -1), 2026, 2, 28);
    ExpectDate(AddMonths(CalendarDate{2026, 12, 15}, 1), 2027, 1, 15);
    ExpectDate(AddMonths(CalendarDate{2026, 1, 15}, -1), 2025, 12, 15);
    // A year is twelve months: 29 February to 28 February.
    ExpectDate(AddMonths(CalendarDate{2028, 2, 29}, 12), 2029, 2, 28);
    ExpectDate(AddMonths(CalendarDate{2028, 2, 29}, -12), 2027, 2, 28);
}

TEST(Navigation, DayStepsCrossMonthsAndYearsAndStopAtTheShownYears) {
    ExpectDate(AddDays(CalendarDate{2026, 12, 31}, 1), 2027, 1, 1);
    ExpectDate(AddDays(CalendarDate{2028, 3, 1}, -1), 2028, 2, 29);
    ExpectDate(AddDays(CalendarDate{2026, 12, 28}, -7), 2026, 12, 21);
    ExpectDate(AddDays(CalendarDate{CalendarFirstYear, 1, 3}, -7), CalendarFirstYear, 1, 3);
    ExpectDate(AddDays(CalendarDate{CalendarLastYear, 12, 30}, 7), CalendarLastYear, 12, 30);
    ExpectDate(AddMonths(CalendarDate{CalendarLastYear, 12, 1}, 1), CalendarLastYear, 12, 1);
}

TEST(TypedWeek, GivesTheMondayOfEveryWeekTheYearHas) {
    for (int32_t year = 2019; year <= 2033; ++year) {
        for (int32_t week = 1; week <= IsoWeeksInYear(year); ++week) {
            CalendarDate monday = {0, 0, 0};
            ASSERT_TRUE(MondayOfIsoWeek(year, week, &monday));
            EXPECT_EQ(IsoDayOfWeek(monday.year, monday.month, monday.day), 1);
            const IsoWeekDate back = ComputeIsoWeek(monday.year, monday.month, monday.day);
            EXPECT_EQ(back.year, year);
            EXPECT_EQ(back.week, week);
        }
    }
    CalendarDate monday = {0, 0, 0};
    ASSERT_TRUE(MondayOfIsoWeek(2026, 53, &monday));
    ExpectDate(monday, 2026, 12, 28);
}

TEST(TypedWeek, RefusesWeeksTheYearDoesNotHave) {
    CalendarDate monday = {1, 2, 3};
    EXPECT_FALSE(MondayOfIsoWeek(2026, 0, &monday));
    EXPECT_FALSE(MondayOfIsoWeek(2026, 54, &monday));
    EXPECT_FALSE(MondayOfIsoWeek(2027, 53, &monday)); // 2027 has 52 weeks
    EXPECT_FALSE(MondayOfIsoWeek(2020, -1, &monday));
    ExpectDate(monday, 1, 2, 3);
}

} // namespace
