// The command line of kivet-preview.
#pragma once

#include <cstdint>
#include <string>

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
};

// Reads argv[1..argc-1]. On a bad option, value or combination gives false and one line of
// explanation (without a newline) in `error`.
bool ParsePreviewOptions(int argc, const wchar_t* const* argv, PreviewOptions* options,
                         std::wstring* error);

extern const wchar_t* const PreviewUsage;
