// The calendar flyout's month: which date sits in which cell, the ISO week of each row, the
// navigation arithmetic and a typed week number to its Monday. Platform-free.
#pragma once

#include <cstdint>

#include "common/kivet_types.h"

struct CalendarDate {
    int32_t year;
    int32_t month; // 1..12
    int32_t day;   // 1..31
};

constexpr int CalendarRows = 6;
constexpr int CalendarColumns = 7; // Monday first

// The dates the flyout can show: those the platform's date formatting takes.
constexpr int32_t CalendarFirstYear = 1601;
constexpr int32_t CalendarLastYear = 9999;

// One month in six rows: the first row holds the month's first day, every row starts on a
// Monday, and days of the neighbouring months fill the cells around the month.
struct MonthGrid {
    int32_t year;
    int32_t month;
    CalendarDate cells[CalendarRows * CalendarColumns];
    IsoWeekDate rowWeeks[CalendarRows]; // ComputeIsoWeek of each row's Thursday
};

void BuildMonthGrid(int32_t year, int32_t month, MonthGrid* grid);

bool SameDate(CalendarDate first, CalendarDate second);

// False for a row of the grid whose days all lie outside the years the flyout shows (the last
// row of December 9999): its week number is dimmed like its days.
bool GridRowShown(const MonthGrid& grid, int row);

// True for a date of the years the flyout shows, 1 January 1601 to 31 December 9999.
bool DateShown(CalendarDate date);

// The Sunday of the week that starts on `monday`, or 31 December 9999 for the last week.
CalendarDate LastShownDayOfWeek(CalendarDate monday);

// The date `days` later (earlier when negative). Outside the years the flyout shows, the
// date stays as it was.
CalendarDate AddDays(CalendarDate date, int32_t days);

// The same day `months` later (earlier when negative), clamped to that month's length;
// outside the years the flyout shows, the date stays as it was.
CalendarDate AddMonths(CalendarDate date, int32_t months);

// The Monday of the date's ISO week.
CalendarDate MondayOfWeek(CalendarDate date);

// The Monday of `week` in the ISO week-numbering year `isoYear`. False, with `monday`
// untouched, for a week that year does not have.
bool MondayOfIsoWeek(int32_t isoYear, int32_t week, CalendarDate* monday);
