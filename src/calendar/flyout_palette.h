// The flyout's colours by role in the light and dark app themes, as 0x00BBGGRR (COLORREF's
// layout). Every text keeps 4.5:1 against the background and the row tint it is drawn on.
// Platform-free.
#pragma once

#include <cstdint>

enum PaletteRole : int32_t {
    Background,
    Text,
    Dimmed, // days outside the month or outside the years shown, weekday names, the border
    WeekNumber,
    RowTint, // the selected day's week
    Accent,  // the selected day's fill and today's ring
    AccentText,
    PaletteRoles
};

extern const uint32_t LightPalette[PaletteRoles];
extern const uint32_t DarkPalette[PaletteRoles];
