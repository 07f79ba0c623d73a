#include "calendar/calendar_dates.h"

#include <cwchar>

#include "common/strings.h"

namespace {

// The locale's own format, in its user calendar or with `flags`' DATE_USE_ALT_CALENDAR in
// its alternate one; false where it gives nothing.
bool FormatLocaleDate(CalendarDate date, DWORD flags, wchar_t* text, int capacity) {
    if (date.year < 1 || date.year > 0xFFFF) {
        return false;
    }
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(date.year);
    time.wMonth = static_cast<WORD>(date.month);
    time.wDay = static_cast<WORD>(date.day);
    return GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, flags, &time, nullptr, text, capacity,
                           nullptr) > 1;
}

// "December 2026", "7 December 2026", "2026-12-07"; the month in digits where the locale has
// no Gregorian name for it.
void ComposeGregorianDate(CalendarDate date, DWORD flags, wchar_t* text, int capacity) {
    wchar_t month[80];
    const bool named = (flags & DATE_SHORTDATE) == 0 &&
                       GetCalendarInfoEx(LOCALE_NAME_USER_DEFAULT, CAL_GREGORIAN, nullptr,
                                         CAL_SMONTHNAME1 + date.month - 1, month, 80, nullptr) > 1;
    if (!named) {
        if ((flags & DATE_YEARMONTH) != 0) {
            FormatString(text, capacity, L"%04d-%02d", date.year, date.month);
        } else {
            FormatString(text, capacity, L"%04d-%02d-%02d", date.year, date.month, date.day);
        }
    } else if ((flags & DATE_YEARMONTH) != 0) {
        FormatString(text, capacity, L"%s %d", month, date.year);
    } else {
        FormatString(text, capacity, L"%d %s %d", date.day, month, date.year);
    }
}

CALID LocaleCalendar(LCTYPE type) {
    DWORD calendar = CAL_GREGORIAN;
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, type | LOCALE_RETURN_NUMBER,
                        reinterpret_cast<wchar_t*>(&calendar),
                        sizeof(calendar) / sizeof(wchar_t)) == 0) {
        return CAL_GREGORIAN;
    }
    return calendar;
}

} // namespace

bool IsGregorianCalendar(CALID calendar) {
    switch (calendar) {
    case CAL_GREGORIAN:
    case CAL_GREGORIAN_US:
    case CAL_GREGORIAN_ME_FRENCH:
    case CAL_GREGORIAN_ARABIC:
    case CAL_GREGORIAN_XLIT_ENGLISH:
    case CAL_GREGORIAN_XLIT_FRENCH:
        return true;
    default:
        return false;
    }
}

void FormatGregorianDate(CalendarDate date, DWORD flags, CALID userCalendar,
                         CALID alternateCalendar, wchar_t* text, int capacity) {
    bool formatted = false;
    if (IsGregorianCalendar(userCalendar)) {
        formatted = FormatLocaleDate(date, flags, text, capacity);
    } else if (IsGregorianCalendar(alternateCalendar)) {
        formatted = FormatLocaleDate(date, flags | DATE_USE_ALT_CALENDAR, text, capacity);
    }
    if (!formatted) {
        ComposeGregorianDate(date, flags, text, capacity);
    }
}

void FormatCalendarDate(CalendarDate date, DWORD flags, wchar_t* text, int capacity) {
    FormatGregorianDate(date, flags, LocaleCalendar(LOCALE_ICALENDARTYPE),
                        LocaleCalendar(LOCALE_IOPTIONALCALENDAR), text, capacity);
}
