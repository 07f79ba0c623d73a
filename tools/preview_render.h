// One icon drawn by the program's own renderer for chosen settings, read back as pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "common/kivet_types.h"

struct PreviewIconSettings {
    IsoWeekDate week;
    std::wstring line;
    int32_t linePosition;
    int32_t leadingZero;
    int32_t colourScheme;
    std::wstring fontFace;
    int edge;                       // 0: the system's small-icon edge
    uint32_t textColour = NoColour; // or ColourIsSet | COLORREF, as the settings hold it
    uint32_t backgroundColour = NoColour;
};

struct PreviewImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels; // BGRA, straight alpha, rows top to bottom
};

// The icon RenderWeekIcon gives for these settings, through the same label and line steps as
// the refresh. False when there is no label for the week or no icon could be made.
bool RenderPreviewIcon(const PreviewIconSettings& settings, PreviewImage* icon);

// The colour bitmap of an icon as 32-bit top-down pixels.
bool ReadIconPixels(HICON icon, PreviewImage* image);
