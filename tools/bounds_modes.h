// What platform.textOut reports as written, chosen by name, for kivet-bench and the renderer's
// tests: "platform" the platform's own bounds accumulation; "cell" the text's cell box (its
// origin, its measured width, the font's cell height), as a platform may compute it from what
// it was asked to draw; "none" never anything; "whole" always the whole window. Every choice
// counts the UTF-16 units drawn.
#pragma once

#include <cstdint>

// False, changing nothing, for an unknown name.
bool UseBoundsMode(const wchar_t* name);

// The UTF-16 units passed to platform.textOut since the last UseBoundsMode.
extern uint64_t drawnTextUnits;
