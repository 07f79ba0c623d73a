// ISO 8601 week dates of the proleptic Gregorian calendar, by integer arithmetic.
// Platform-free.
#pragma once

#include <cstdint>

#include "common/kivet_types.h"

// The ISO week-numbering year and week of a date; year 0, week 0 for an invalid date.
IsoWeekDate ComputeIsoWeek(int32_t year, int32_t month, int32_t day);
// 1 for a leap year, 0 otherwise; holds for year 0 and negative years too.
int32_t IsLeapYear(int32_t year);
// 28..31; 0 for a month outside 1..12.
int32_t DaysInMonth(int32_t year, int32_t month);
// 1 Monday .. 7 Sunday; 0 for a month outside 1..12.
int32_t IsoDayOfWeek(int32_t year, int32_t month, int32_t day);
// 52 or 53.
int32_t IsoWeeksInYear(int32_t year);
