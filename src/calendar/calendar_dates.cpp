#include "calendar/calendar_dates.h"

void FormatCalendarDate(CalendarDate date, DWORD flags, wchar_t* text, int capacity) {
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(date.year);
    time.wMonth = static_cast<WORD>(date.month);
    time.wDay = static_cast<WORD>(date.day);
    if (GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, flags, &time, nullptr, text, capacity, nullptr) ==
        0) {
        text[0] = L'\0';
    }
}
