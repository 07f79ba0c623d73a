// The command line of kivet-preview.
#pragma once

#include <cstdint>
#include <string>

#include "common/kivet_types.h"

struct PreviewOptions {
    std::wstring out;   // --out: one icon at its real size
    std::wstring sheet; // --sheet: the contact sheet
    bool dateGiven = false;
    int32_t year = 0, month = 0, day = 0;
    int edge = 0; // 0: the system's
    std::wstring line = L"w";
    int32_t linePosition = 1; // Above
    int32_t leadingZero = 0;
    int32_t colourScheme = 0;
    std::wstring fontFace = L"Lekton";
    uint32_t textColour = NoColour;       // --text-colour RRGGBB, as the settings hold it
    uint32_t backgroundColour = NoColour; // --background RRGGBB
};

// A colour as people write it, RRGGBB in hexadecimal with or without a leading '#', in the
// settings' form (ColourIsSet | COLORREF 0x00BBGGRR). False for anything else.
bool ParseHexColour(const std::wstring& text, uint32_t* colour);

// Reads argv[1..argc-1]. On a bad option, value or combination gives false and one line of
// explanation (without a newline) in `error`.
bool ParsePreviewOptions(int argc, const wchar_t* const* argv, PreviewOptions* options,
                         std::wstring* error);

extern const wchar_t* const PreviewUsage;
