// The platform steps of the week icon renderer: drawing a line with the platform's text
// rasteriser, turning a pixel buffer into an icon, releasing what a line holds, and one
// attempt at one font height. RenderWeekIcon (week_icon.h) walks the heights.
#pragma once

#include <windows.h>

#include "icon/icon_core.h"

// Lays `line` out in the settings' fontFace, bold, em height `fontHeight` (at least 4), and
// draws every glyph of the layout white on black into `raster`, which must be zeroed, as the
// whole line's raster. The record keeps the device context, font and DIB section it made, even
// when it gives false (an object could not be made, measured or laid out); ReleaseLineRaster
// frees them.
bool RasterizeLine(const wchar_t* line, int fontHeight, LineRaster* raster);

// RasterizeLine for an icon whose ink may be at most `maxInkWidth` wide and `maxInkHeight` tall,
// with work linear in the line's length and a raster the size of the icon: the record holds
// only the columns of the whole raster around the line's ink, at its full height, which gives
// the same ink box contents. It gives false, besides where RasterizeLine does, when the line
// has no ink or its ink is wider or taller than allowed, where the attempt would fail anyway.
bool RasterizeLineForIcon(const wchar_t* line, int fontHeight, int maxInkWidth, int maxInkHeight,
                          LineRaster* raster);

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
