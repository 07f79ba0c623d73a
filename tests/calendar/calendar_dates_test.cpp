#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "calendar/calendar_dates.h"

namespace {

constexpr CALID PersianCalendar = 22; // CAL_PERSIAN, which MinGW's headers lack

// The locale's own name of a month, to find in the texts.
std::wstring MonthName(int32_t month) {
    wchar_t name[80] = L"";
    GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SMONTHNAME1 + month - 1, name, 80);
    return name;
}

// Whatever calendar the user chose, the title, footer and spoken names give the Gregorian month
// and year, also at the ends of the years shown and past them (a grid's last days of 9999).
TEST(CalendarDates, EveryUserCalendarGivesGregorianMonthsAndYearsAndNeverNothing) {
    const struct {
        const char* what;
        CALID user;
        CALID alternate; // the locale's optional calendar
    } calendars[] = {
        {"Gregorian", CAL_GREGORIAN, CAL_GREGORIAN},
        {"Hijri, Gregorian as the alternate", CAL_HIJRI, CAL_GREGORIAN_ARABIC},
        {"Um Al-Qura", CAL_UMALQURA, CAL_HIJRI},
        {"Persian", PersianCalendar, CAL_HIJRI},
        {"Thai Buddhist", CAL_THAI, CAL_THAI},
    };
    const CalendarDate dates[] = {{2026, 12, 7}, {1601, 1, 1}, {9999, 12, 31}, {10000, 1, 3}};
    for (const auto& calendar : calendars) {
        for (const CalendarDate date : dates) {
            for (const DWORD flags : {DATE_YEARMONTH, DATE_LONGDATE, DATE_SHORTDATE}) {
                wchar_t text[96];
                FormatGregorianDate(date, flags, calendar.user, calendar.alternate, text, 96);
                const std::wstring shown = text;
                EXPECT_NE(shown.find(std::to_wstring(date.year)), std::wstring::npos)
                    << calendar.what << " " << date.year << " " << flags;
                EXPECT_TRUE(flags == DATE_SHORTDATE ||
                            shown.find(MonthName(date.month)) != std::wstring::npos)
                    << calendar.what << " " << date.year << " " << flags;
            }
        }
    }
}

} // namespace
