// A line shaped by the platform's shaping engine (Uniscribe, whose DLL is loaded from the
// system folder while layouts are open and freed after): its glyphs in visual order, with the
// reordering, joining forms and invisible characters the engine gives. Shaping does not depend
// on the font's size, so the heights of one render share one shaping of each line.
#pragma once

#include <windows.h>

#include <cstdint>

// Text the line's face lacks is shaped in the first of some common faces that has more of it, as
// text drawing falls back; a line keeps up to this many faces, its own first.
constexpr int MaxLineFaces = 4;

struct ShapedLine {
    int count;
    WORD* glyphs;
    uint8_t* zeroWidth; // 1 for a glyph that takes no room (a mark, a joiner, a control)
    uint8_t* face;      // the index in `faces` of the face the glyph belongs to
    int faceCount;
    wchar_t faces[MaxLineFaces][LF_FACESIZE];
};

// Keeps the engine loaded, and the lines shaped, from the first open to the matching close.
bool OpenGlyphLayouts();
void CloseGlyphLayouts();

// `length` units of `line` shaped in the font selected into `dc`, in a left-to-right paragraph;
// null when the engine cannot be had or fails. The line belongs to the open layouts, which
// shape a line again only for another text or face.
const ShapedLine* ShapeLine(HDC dc, const wchar_t* line, int length, const wchar_t* face);

// The icon's font: `face`, bold and antialiased, at em height `emHeight`; the caller deletes it.
HFONT MakeIconFont(int emHeight, const wchar_t* face);

// Draws `glyph` white on a transparent background with its cell's top-left corner at (x, y),
// in the font selected into `dc`, by a call of its own, so that a glyph leaves the same pixels
// whichever other glyphs are drawn with it.
bool DrawGlyph(HDC dc, WORD glyph, int x, int y);

// What the renderer has done since the last reset, for the tests that hold its cost to the
// line's length: UTF-16 units shaped, glyphs placed at a height, glyphs drawn.
struct GlyphWork {
    uint64_t unitsShaped;
    uint64_t glyphsPlaced;
    uint64_t glyphsDrawn;
};
extern GlyphWork glyphWork;
