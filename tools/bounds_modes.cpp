#include "bounds_modes.h"

#include <windows.h>

#include <cwchar>

#include "common/platform.h"

uint64_t drawnTextUnits = 0;

namespace {

enum class Reported { Platform, Cell, None, Whole };

Reported reported = Reported::Platform;
UINT(WINAPI* platformTextOut)(HDC, int, int, LPCWSTR, int, LPRECT) = nullptr;

// The size of the bitmap selected into `dc`.
RECT WindowOf(HDC dc) {
    BITMAP bitmap = {};
    GetObjectW(GetCurrentObject(dc, OBJ_BITMAP), sizeof(bitmap), &bitmap);
    return RECT{0, 0, bitmap.bmWidth, bitmap.bmHeight};
}

UINT WINAPI CountedTextOut(HDC dc, int x, int y, LPCWSTR text, int units, LPRECT bounds) {
    drawnTextUnits += static_cast<uint64_t>(units);
    if (reported == Reported::Platform || bounds == nullptr) {
        return platformTextOut(dc, x, y, text, units, bounds);
    }
    if (!TextOutW(dc, x, y, text, units)) {
        return 0;
    }
    const RECT window = WindowOf(dc);
    RECT box = window;
    if (reported == Reported::Cell) {
        SIZE extent = {};
        TEXTMETRICW metrics = {};
        GetTextExtentPoint32W(dc, text, units, &extent);
        GetTextMetricsW(dc, &metrics);
        box = RECT{x, y, x + extent.cx, y + metrics.tmHeight};
    }
    if (reported == Reported::None || !IntersectRect(bounds, &box, &window)) {
        SetRectEmpty(bounds);
        return DCB_RESET;
    }
    return DCB_SET;
}

} // namespace

bool UseBoundsMode(const wchar_t* name) {
    const wchar_t* const names[] = {L"platform", L"cell", L"none", L"whole"};
    for (int mode = 0; mode < 4; ++mode) {
        if (wcscmp(name, names[mode]) == 0) {
            reported = static_cast<Reported>(mode);
            if (platform.textOut != CountedTextOut) {
                platformTextOut = platform.textOut;
            }
            platform.textOut = CountedTextOut;
            drawnTextUnits = 0;
            return true;
        }
    }
    return false;
}
