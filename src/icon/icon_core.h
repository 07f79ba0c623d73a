// The platform-free core of the week icon renderer: the line raster record, the ink box, the
// fit test and the composition of the outlined lines into the icon's pixel buffer. Any text
// rasteriser that fills a LineRaster (white ink on black, coverage in the red byte) can feed it.
#pragma once

#include <cstdint>

#include "common/kivet_types.h"

// One label line drawn in one attempt. `pixels` holds width × height pixels of 4 bytes (blue,
// green, red, alpha), rows top to bottom; the red byte is the ink coverage, 0 to 255. The ink
// box is inclusive. The four handles belong to the platform steps that draw the line (a memory
// device context, the DIB section that owns `pixels`, the bitmap it displaced from the device
// context, the font); the core never touches them. A zeroed record holds nothing.
struct LineRaster {
    uint8_t* pixels;
    int32_t width;
    int32_t height;
    int32_t inkLeft;
    int32_t inkTop;
    int32_t inkRight;
    int32_t inkBottom;
    void* dc;
    void* bitmap;
    void* previousBitmap;
    void* font;
};

// An attempt draws one or two lines.
constexpr int MaxIconLines = 2;

// Colours as 0x00BBGGRR. Without a background the icon is transparent around the outlined
// lines; with one its whole square is that colour.
struct IconColours {
    uint32_t text;
    uint32_t border;
    int32_t hasBackground;
    uint32_t background;
};

// Scheme 0 is black text with a white border; every other value white text with a black one.
IconColours PickIconColours(int32_t colourScheme);

// The relative luminance of a colour as WCAG defines it: 0 for black, 1 for white.
double RelativeLuminance(uint32_t colour);

// Black or white, whichever has the greater contrast ratio with `colour`.
uint32_t ContrastingBorder(uint32_t colour);

// The colours of one render from the settings' form of colours (NoColour, or ColourIsSet with
// a COLORREF): the text colour, when set, with its contrasting border over the scheme's; the
// background colour, when set, behind them.
IconColours ChooseIconColours(int32_t colourScheme, uint32_t textColour, uint32_t backgroundColour);

// Fills the ink box of `raster` from its pixels; false when the raster holds no ink.
bool FindInkBox(LineRaster* raster);

// The size of the stack of outlined lines: the widest ink width, and the total height counting
// one outline row above and below each line and the three empty rows between two lines.
struct InkStack {
    int32_t widestInkWidth;
    int32_t totalHeight;
};

// Starts the stack for `lineCount` lines (total height 2 for one line, 7 for two) and adds
// lines whose ink box is known, one at a time.
InkStack StartInkStack(int lineCount);
void AddLineToInkStack(InkStack* stack, const LineRaster* raster);

// The fit test: the ink plus one outline column on each side fits the edge, and so does the
// total height. Equal values fit.
bool InkStackFits(InkStack stack, int edge);

// Writes the lines into `canvas` (edge × edge pixels, zeroed by the caller): each line's ink in
// the text colour, ringed by a one-pixel outline in the border colour, every line centred left
// to right and the stack centred top to bottom. Every write lands inside the canvas when the
// stack has passed InkStackFits for this edge and `totalHeight` is its total height.
void ComposeIconPixels(const LineRaster* rasters, int lineCount, int edge, int totalHeight,
                       uint32_t textColour, uint32_t borderColour, uint8_t* canvas);

// ComposeIconPixels in `colours`; with a background, the composed lines are then laid over it
// as the taskbar would lay them over its own colour, and every pixel becomes opaque.
void ComposeIcon(const LineRaster* rasters, int lineCount, int edge, int totalHeight,
                 IconColours colours, uint8_t* canvas);
