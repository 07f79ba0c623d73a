// The week icon renderer: the icon lines become a square, outlined, alpha-blended icon of
// the system's small-icon size, at the largest font height that fits.
#pragma once

#include <windows.h>

#include <cstdint>

#include "icon/icon_core.h"

// The small-icon edge at the system DPI, at least 16.
int GetIconEdgeSize();

// A new icon showing `lines` (1 or 2, top first) in the colours and fontFace of the settings,
// or null when none could be made. The caller owns the icon and destroys it with DestroyIcon.
HICON RenderWeekIcon(const wchar_t* const* lines, int lineCount);

// The same in `colourScheme` (0 black text, white border; 1 white text, black border) instead
// of the settings' own; the settings' text and background colours still go over it.
HICON RenderWeekIconInScheme(const wchar_t* const* lines, int lineCount, int32_t colourScheme);

// The same in exactly `colours`.
HICON RenderWeekIconInColours(const wchar_t* const* lines, int lineCount, IconColours colours);
