#include <gtest/gtest.h>

#include "calendar/month_model.h"
#include "week/iso_week.h"

namespace {

::testing::AssertionResult Is(CalendarDate actual, int32_t year, int32_t month, int32_t day) {
    if (SameDate(actual, CalendarDate{year, month, day})) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << actual.year << "-" << actual.month << "-" << actual.day
                                         << ", want " << year << "-" << month << "-" << day;
}

// Every cell is the day after the one before it, on its column's weekday, in its row's week;
// the month's days all appear, the first of them in the first row.
TEST(MonthGrid, EveryMonthOfFourHundredYearsAgreesWithComputeIsoWeek) {
    MonthGrid grid;
    for (int32_t year = 2000; year < 2400; ++year) {
        for (int32_t month = 1; month <= 12; ++month) {
            BuildMonthGrid(year, month, &grid);
            int32_t daysOfMonth = 0;
            for (int cell = 0; cell < CalendarRows * CalendarColumns; ++cell) {
                const CalendarDate date = grid.cells[cell];
                const IsoWeekDate week = ComputeIsoWeek(date.year, date.month, date.day);
                const IsoWeekDate row = grid.rowWeeks[cell / CalendarColumns];
                ASSERT_EQ(IsoDayOfWeek(date.year, date.month, date.day), cell % 7 + 1);
                ASSERT_TRUE(week.year == row.year && week.week == row.week) << year << month;
                ASSERT_TRUE(cell == 0 || SameDate(AddDays(grid.cells[cell - 1], 1), date));
                daysOfMonth += date.month == month ? 1 : 0;
            }
            ASSERT_EQ(daysOfMonth, DaysInMonth(year, month)) << year << "-" << month;
            ASSERT_TRUE(Is(grid.cells[IsoDayOfWeek(year, month, 1) - 1], year, month, 1));
        }
    }
}

TEST(MonthGrid, RowsAroundYearEndsAndAMonthThatNeedsSixRows) {
    MonthGrid grid;
    BuildMonthGrid(2021, 1, &grid); // opens with the end of 2020-W53
    EXPECT_TRUE(Is(grid.cells[0], 2020, 12, 28));
    EXPECT_EQ(grid.rowWeeks[0].year * 100 + grid.rowWeeks[0].week, 202053);
    EXPECT_EQ(grid.rowWeeks[1].year * 100 + grid.rowWeeks[1].week, 202101);

    BuildMonthGrid(2026, 12, &grid); // 2026-W53 runs from 28 December to 3 January
    EXPECT_TRUE(Is(grid.cells[28], 2026, 12, 28));
    EXPECT_TRUE(Is(grid.cells[34], 2027, 1, 3));
    EXPECT_EQ(grid.rowWeeks[4].year * 100 + grid.rowWeeks[4].week, 202653);
    EXPECT_EQ(grid.rowWeeks[5].year * 100 + grid.rowWeeks[5].week, 202701);

    BuildMonthGrid(2027, 8, &grid); // 1 August is a Sunday: the 31st falls in the sixth row
    EXPECT_TRUE(Is(grid.cells[6], 2027, 8, 1));
    EXPECT_TRUE(Is(grid.cells[36], 2027, 8, 31));

    BuildMonthGrid(9999, 12, &grid); // the fifth row ends in 10000, the sixth lies all in it
    EXPECT_TRUE(GridRowShown(grid, 4));
    EXPECT_FALSE(GridRowShown(grid, 5));
}

TEST(Navigation, MonthAndYearStepsClampTheDayAndDayStepsStopAtTheShownYears) {
    EXPECT_TRUE(Is(AddMonths(CalendarDate{2027, 1, 31}, 1), 2027, 2, 28));
    EXPECT_TRUE(Is(AddMonths(CalendarDate{2028, 1, 31}, 1), 2028, 2, 29));
    EXPECT_TRUE(Is(AddMonths(CalendarDate{2026, 12, 15}, 1), 2027, 1, 15));
    EXPECT_TRUE(Is(AddMonths(CalendarDate{2028, 2, 29}, -12), 2027, 2, 28));
    EXPECT_TRUE(Is(AddDays(CalendarDate{2028, 3, 1}, -1), 2028, 2, 29));
    EXPECT_TRUE(Is(AddDays(CalendarDate{CalendarFirstYear, 1, 3}, -7), CalendarFirstYear, 1, 3));
    EXPECT_TRUE(Is(AddMonths(CalendarDate{CalendarLastYear, 12, 1}, 1), CalendarLastYear, 12, 1));
    EXPECT_FALSE(DateShown(CalendarDate{CalendarLastYear + 1, 1, 1}));
    EXPECT_TRUE(Is(LastShownDayOfWeek(CalendarDate{9999, 12, 27}), 9999, 12, 31));
    EXPECT_TRUE(Is(LastShownDayOfWeek(CalendarDate{2026, 12, 28}), 2027, 1, 3));
}

TEST(TypedWeek, GivesTheMondayOfEveryWeekTheYearHasAndRefusesOthers) {
    for (int32_t year = 2019; year <= 2033; ++year) {
        for (int32_t week = 1; week <= IsoWeeksInYear(year); ++week) {
            CalendarDate monday = {0, 0, 0};
            ASSERT_TRUE(MondayOfIsoWeek(year, week, &monday));
            const IsoWeekDate back = ComputeIsoWeek(monday.year, monday.month, monday.day);
            ASSERT_EQ(IsoDayOfWeek(monday.year, monday.month, monday.day), 1);
            ASSERT_TRUE(back.year == year && back.week == week) << year << "-W" << week;
        }
    }
    CalendarDate untouched = {1, 2, 3};
    EXPECT_FALSE(MondayOfIsoWeek(2026, 0, &untouched));
    EXPECT_FALSE(MondayOfIsoWeek(2026, 54, &untouched));
    EXPECT_FALSE(MondayOfIsoWeek(2027, 53, &untouched)); // a 52-week year
    EXPECT_TRUE(Is(untouched, 1, 2, 3));
}

} // namespace
