// User-interface geometry is given in 96-DPI units.
#pragma once

#include <windows.h>

// `value` 96-DPI units at `dpi`, rounded to nearest (halves away from zero).
inline int ScaleToDpi(int value, UINT dpi) {
    return MulDiv(value, static_cast<int>(dpi), 96);
}
