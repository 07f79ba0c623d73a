// What the renderer may assume about a character of an icon line without drawing it in
// context: whether it is a blank that may be cut from either end, whether drawing it alone
// says nothing about how it draws beside its neighbours, and whether a line of such
// characters is drawn glyph after glyph, left to right. The ranges err on the cautious side:
// a character wrongly left out only costs time.
#pragma once

#include <cstdint>

// The code point at `at`, a surrogate pair joined; `units` becomes 1 or 2.
uint32_t CodePointAt(const wchar_t* text, int length, int at, int* units);

// The code point that ends just before `end`.
uint32_t CodePointBefore(const wchar_t* text, int end, int* units);

// Space separators and the invisible format characters that draw nothing and join nothing.
bool IsTrimmableBlank(uint32_t code);

// Combining marks, joiners, direction controls, variation selectors and the scripts whose
// glyphs depend on their neighbours: what the character draws alone proves nothing.
bool ShapesInContext(uint32_t code);

// Characters that take no shaping, no reordering and no right-to-left direction, so that each
// glyph lands at the sum of the advances before it.
bool IsSimpleLeftToRight(uint32_t code);
