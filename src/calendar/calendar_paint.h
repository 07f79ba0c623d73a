// How the calendar flyout looks: its layout measured from the user's fonts, and its paint.
#pragma once

#include <windows.h>

#include "calendar/calendar_view.h"

// Lays the flyout out for its font at its DPI into flyout->layout.
void MeasureCalendar(HWND window, CalendarFlyout* flyout);

// Paints the whole client area into `target`.
void PaintCalendar(HWND window, HDC target, const CalendarFlyout* flyout);
