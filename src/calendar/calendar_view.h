// The open calendar flyout's view: its state, where its parts lie and what they say. The
// window reads and changes it; the accessible object only reads it. Internal to src/calendar.
#pragma once

#include <windows.h>

#include "calendar/flyout_geometry.h"
#include "calendar/month_model.h"

struct CalendarAccessibility; // made when a screen reader first asks, gone at the close

struct CalendarFlyout {
    CalendarDate today;
    CalendarDate selected;
    int32_t typedWeek;
    int32_t typedDigits;
    int32_t wheelRemainder; // the part of the wheel's deltas not yet a month
    UINT dpi;
    FlyoutLayout layout;
    POINT anchor;
    CalendarAccessibility* accessibility;
};

// The flyout's state, or null while the window is being made or is gone.
CalendarFlyout* FlyoutOf(HWND window);

// The day cell of grid index 0..41 of the selected month, and the ‹ (previous) or › (next)
// button, in client coordinates.
RECT CalendarCellRect(const CalendarFlyout* flyout, int index);
RECT CalendarButtonRect(const CalendarFlyout* flyout, bool next);

// The date in grid index 0..41, and the index of the selected day.
CalendarDate CalendarCellDate(const CalendarFlyout* flyout, int index);
int CalendarSelectedCell(const CalendarFlyout* flyout);

// False for a cell or the ‹ or › button whose date lies outside the years the flyout shows.
bool CalendarCellAvailable(const CalendarFlyout* flyout, int index);
bool CalendarButtonAvailable(const CalendarFlyout* flyout, bool next);

// The title: the selected month and its year.
void FormatCalendarTitle(const CalendarFlyout* flyout, wchar_t* text, int capacity);

// The footer's text: the selected week and its dates, or the week number being typed.
void FormatFooter(const CalendarFlyout* flyout, wchar_t* text, int capacity);

// A day cell's spoken name: its long date and its week.
void FormatCellName(const CalendarFlyout* flyout, int index, wchar_t* text, int capacity);
