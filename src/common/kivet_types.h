// Types and constants shared by the platform-free core and the Windows program.
// No windows.h here: this header builds natively too.
#pragma once

#include <cstdint>

// ISO 8601 week-numbering year and week. Year 0 with week 0 stands for an invalid date;
// every user treats a week outside 1..53 as no week.
struct IsoWeekDate {
    int32_t year;
    int32_t week;
};

enum LinePosition : int32_t {
    Hidden = 0,
    Above = 1,
    Below = 2,
};

// The uID of the one notification icon.
constexpr uint32_t TrayIconId = 1;
// WM_APP + 1: what the notification area sends to the main window.
constexpr uint32_t TrayCallbackMessage = 0x8001;
// The one window timer: fires just after local midnight.
constexpr uint32_t MidnightTimerId = 1;

// A colour setting holds NoColour when it is not set, otherwise ColourIsSet | the COLORREF
// (0x00BBGGRR, at most LargestColour): a zeroed record sets no colour.
constexpr uint32_t NoColour = 0;
constexpr uint32_t ColourIsSet = 0x01000000;
constexpr uint32_t LargestColour = 0x00FFFFFF;
