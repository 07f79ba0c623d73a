// The flyout's dates as text in the user's locale, with Gregorian months and years whatever
// calendar the user chose: the grid is Gregorian, so its title, footer and spoken names are too.
#pragma once

#include <windows.h>

#include "calendar/month_model.h"

// True for the Gregorian calendar types (CAL_GREGORIAN and its localised and transliterated
// forms), false for Hijri, Um Al-Qura, Persian, Thai Buddhist, the era calendars...
bool IsGregorianCalendar(CALID calendar);

// The date as DATE_SHORTDATE, DATE_LONGDATE or DATE_YEARMONTH gives it where `userCalendar`
// (LOCALE_ICALENDARTYPE) is Gregorian; else as the alternate calendar (LOCALE_IOPTIONALCALENDAR)
// gives it where that one is; else, and wherever those give nothing (a year outside the
// calendar's range), from the locale's Gregorian month names and the year in digits.
// Never empty where `capacity` holds a date.
void FormatGregorianDate(CalendarDate date, DWORD flags, CALID userCalendar,
                         CALID alternateCalendar, wchar_t* text, int capacity);

// FormatGregorianDate with the user's own calendar and its alternate.
void FormatCalendarDate(CalendarDate date, DWORD flags, wchar_t* text, int capacity);
