#include "preview_options.h"

#include <cwchar>

#include "week/iso_week.h"

const wchar_t* const PreviewUsage =
    L"usage: kivet-preview (--out FILE.png | --sheet FILE.png) [--date YYYY-MM-DD] [--edge N] "
    L"[--line TEXT] [--position above|below|hidden] [--leading-zero 0|1] [--scheme 0|1] "
    L"[--font FACE] [--text-colour RRGGBB] [--background RRGGBB]";

namespace {

constexpr int SmallestEdge = 16;
constexpr int LargestEdge = 256;
constexpr size_t LongestFace = 31;

bool ParseDigits(const wchar_t* text, size_t count, int32_t* value) {
    *value = 0;
    for (size_t i = 0; i < count; ++i) {
        if (text[i] < L'0' || text[i] > L'9') {
            return false;
        }
        *value = *value * 10 + (text[i] - L'0');
    }
    return true;
}

bool ParseDate(const std::wstring& text, PreviewOptions* options) {
    if (text.size() != 10 || text[4] != L'-' || text[7] != L'-') {
        return false;
    }
    int32_t year = 0, month = 0, day = 0;
    if (!ParseDigits(text.c_str(), 4, &year) || !ParseDigits(text.c_str() + 5, 2, &month) ||
        !ParseDigits(text.c_str() + 8, 2, &day)) {
        return false;
    }
    if (year < 1 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) {
        return false;
    }
    options->year = year;
    options->month = month;
    options->day = day;
    options->dateGiven = true;
    return true;
}

bool ParseEdge(const std::wstring& text, int* edge) {
    int32_t value = 0;
    if (text.empty() || text.size() > 3 || !ParseDigits(text.c_str(), text.size(), &value)) {
        return false;
    }
    if (value < SmallestEdge || value > LargestEdge) {
        return false;
    }
    *edge = value;
    return true;
}

bool ParseZeroOrOne(const std::wstring& text, int32_t* value) {
    if (text == L"0" || text == L"1") {
        *value = text[0] - L'0';
        return true;
    }
    return false;
}

bool ParsePosition(const std::wstring& text, int32_t* position) {
    if (text == L"hidden") {
        *position = 0;
    } else if (text == L"above") {
        *position = 1;
    } else if (text == L"below") {
        *position = 2;
    } else {
        return false;
    }
    return true;
}

int HexDigit(wchar_t digit) {
    if (digit >= L'0' && digit <= L'9') {
        return digit - L'0';
    }
    if (digit >= L'a' && digit <= L'f') {
        return digit - L'a' + 10;
    }
    if (digit >= L'A' && digit <= L'F') {
        return digit - L'A' + 10;
    }
    return -1;
}

} // namespace

bool ParseHexColour(const std::wstring& text, uint32_t* colour) {
    const size_t start = !text.empty() && text[0] == L'#' ? 1 : 0;
    if (text.size() != start + 6) {
        return false;
    }
    uint32_t rgb = 0; // 0x00RRGGBB as written
    for (size_t i = start; i < text.size(); ++i) {
        const int digit = HexDigit(text[i]);
        if (digit < 0) {
            return false;
        }
        rgb = rgb << 4 | static_cast<uint32_t>(digit);
    }
    const uint32_t red = rgb >> 16, green = (rgb >> 8) & 0xFF, blue = rgb & 0xFF;
    *colour = ColourIsSet | red | green << 8 | blue << 16;
    return true;
}

bool ParsePreviewOptions(int argc, const wchar_t* const* argv, PreviewOptions* options,
                         std::wstring* error) {
    bool sheetExcluded = false; // an option that the sheet varies itself
    std::wstring excludedName;
    for (int i = 1; i < argc; ++i) {
        const std::wstring name = argv[i];
        if (name.size() < 3 || name.compare(0, 2, L"--") != 0) {
            *error = L"unexpected argument \"" + name + L"\"";
            return false;
        }
        if (i + 1 >= argc) {
            *error = L"option " + name + L" needs a value";
            return false;
        }
        const std::wstring value = argv[++i];
        if (name == L"--out") {
            options->out = value;
        } else if (name == L"--sheet") {
            options->sheet = value;
        } else if (name == L"--date") {
            if (!ParseDate(value, options)) {
                *error = L"--date \"" + value + L"\" is not an existing date YYYY-MM-DD";
                return false;
            }
        } else if (name == L"--edge") {
            if (!ParseEdge(value, &options->edge)) {
                *error = L"--edge \"" + value + L"\" is not a whole number from 16 to 256";
                return false;
            }
            sheetExcluded = true, excludedName = name;
        } else if (name == L"--line") {
            options->line = value;
        } else if (name == L"--position") {
            if (!ParsePosition(value, &options->linePosition)) {
                *error = L"--position \"" + value + L"\" is not above, below or hidden";
                return false;
            }
            sheetExcluded = true, excludedName = name;
        } else if (name == L"--leading-zero") {
            if (!ParseZeroOrOne(value, &options->leadingZero)) {
                *error = L"--leading-zero \"" + value + L"\" is not 0 or 1";
                return false;
            }
        } else if (name == L"--scheme") {
            if (!ParseZeroOrOne(value, &options->colourScheme)) {
                *error = L"--scheme \"" + value + L"\" is not 0 or 1";
                return false;
            }
            sheetExcluded = true, excludedName = name;
        } else if (name == L"--text-colour" || name == L"--background") {
            uint32_t* colour =
                name == L"--background" ? &options->backgroundColour : &options->textColour;
            if (!ParseHexColour(value, colour)) {
                *error = name + L" \"" + value + L"\" is not a colour RRGGBB";
                return false;
            }
        } else if (name == L"--font") {
            if (value.empty() || value.size() > LongestFace) {
                *error = L"--font \"" + value + L"\" is not a face name of 1 to 31 characters";
                return false;
            }
            options->fontFace = value;
        } else {
            *error = L"unknown option " + name;
            return false;
        }
    }
    if (options->out.empty() == options->sheet.empty()) {
        *error = L"give exactly one of --out FILE.png and --sheet FILE.png";
        return false;
    }
    if (!options->sheet.empty() && sheetExcluded) {
        *error = excludedName + L" does not go with --sheet, which shows every value";
        return false;
    }
    return true;
}
