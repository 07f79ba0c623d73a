// A contact sheet of icons: every edge of 16, 20, 24 and 32 pixels in both colour schemes (one
// row each), and last a 16-pixel row with a custom text colour on a background, with the
// additional line above, below and hidden, each on a light and on a dark taskbar colour (one
// column each), enlarged eight times with every pixel kept square.
#pragma once

#include "preview_render.h"

// Draws the sheet for `base` (its week, line, leading zero and face; edge, position and scheme
// vary; its text and background colours, when set, are the last row's). False, with one line
// in `error`, when an icon cannot be made or GDI fails.
bool BuildContactSheet(const PreviewIconSettings& base, PreviewImage* sheet, std::wstring* error);
