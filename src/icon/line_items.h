// A line's items, the runs of one script and direction that the shaping engine shapes, found as
// itemizing the whole line at once would find them, in time linear in the line's length: the
// engine takes time quadratic in the length of some runs (digits after a right-to-left letter,
// spaces, zero-width spaces, joiners), so long repeats are itemized shortened and the rest in
// pieces, each given the context that its items depend on.
#pragma once

#include <windows.h>
#include <usp10.h>

#include <cstddef>

using ItemizeFunction = decltype(&ScriptItemize);

// Items `length` units of `text` in a left-to-right paragraph into `items`, which has room for
// length + 1, the last closing the line; the count, or -1 when the engine fails or memory runs
// out. A piece is about `pieceUnits` units long.
int ItemizeLine(ItemizeFunction itemize, const wchar_t* text, int length, int pieceUnits,
                SCRIPT_ITEM* items);

// Whether a piece of text may begin at this unit: not in a surrogate pair, nor before a
// combining mark or joiner that belongs to the character before it.
bool BeginsCharacter(wchar_t unit);

// Scratch memory of the layouts, zeroed, straight from the process heap: the heap seam of the
// platform table stands for the blocks whose failure the tests try (the canvas, the strings),
// and a render takes dozens of these. Freeing null does nothing.
void* AllocateLayoutBlock(size_t bytes);
void FreeLayoutBlock(void* block);
