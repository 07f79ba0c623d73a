// The flyout's dates as text, in the user's locale.
#pragma once

#include <windows.h>

#include "calendar/month_model.h"

// The date in the user's locale format (DATE_SHORTDATE, DATE_LONGDATE, DATE_YEARMONTH);
// empty when it cannot be formatted.
void FormatCalendarDate(CalendarDate date, DWORD flags, wchar_t* text, int capacity);
