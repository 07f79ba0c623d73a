// The platform steps of the week icon renderer: drawing a line with the platform's text
// rasteriser, turning a pixel buffer into an icon, releasing what a line holds, and one
// attempt at one font height. RenderWeekIcon (week_icon.h) walks the heights.
#pragma once

#include <windows.h>

#include <cstddef>

#include "icon/icon_core.h"

// Draws `line` white on black in the settings' fontFace, bold, em height `fontHeight` (at
// least 4), into `raster`, which must be zeroed. The record keeps the device context, font and
// DIB section it made, even when it gives false (the object could not be made or measured);
// ReleaseLineRaster frees them.
bool RasterizeLine(const wchar_t* line, int fontHeight, LineRaster* raster);

// The largest line raster, in bytes, that an attempt draws whole. A line whose whole raster
// would be larger (thousands of characters) is looked at in windows of at most
// LineWindowLimitBytes, so that memory stays bounded and a line too wide for the icon is given
// up early. A window that the drawing leaves blank costs one drawing call and no pixel work,
// so windows may be larger than what is drawn whole.
constexpr size_t WholeRasterLimitBytes = 4u << 20;
constexpr size_t LineWindowLimitBytes = 64u << 20;

// RasterizeLine for an icon whose ink may be at most `maxInkWidth` wide and `maxInkHeight` tall.
// When the whole raster takes at most `wholeBytes` it is RasterizeLine. Otherwise, looking at
// windows of at most `windowBytes`, the record holds only the columns from the leftmost to the
// rightmost ink of the whole raster, at its full height, which gives the same ink box contents;
// and it gives false, besides when a platform object cannot be made, when the line has no ink
// or its ink is wider or taller than allowed, where the attempt would fail anyway.
bool RasterizeLineForIcon(const wchar_t* line, int fontHeight, int maxInkWidth, int maxInkHeight,
                          size_t wholeBytes, size_t windowBytes, LineRaster* raster);

// Releases whatever GDI objects `raster` holds and zeroes it.
void ReleaseLineRaster(LineRaster* raster);

// A new icon of edge × edge pixels from `canvas` (straight-alpha BGRA, rows top to bottom)
// with an all-zero mask, or null. The caller owns the icon (DestroyIcon).
HICON CreateIconFromPixels(const uint8_t* canvas, int edge);

// One attempt: the lines rasterised at `fontHeight`, the fit test, the composition and the
// icon. Null when any step fails or the lines do not fit. Releases everything it made except
// the icon, which the caller owns.
HICON RenderAtFontHeight(const wchar_t* const* lines, int lineCount, int edge, int fontHeight,
                         IconColours colours);
