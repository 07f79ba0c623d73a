#include "icon/week_icon_steps.h"

#include <cstring>

#include "common/app_state.h"
#include "common/strings.h"

namespace {

HDC DcOf(const LineRaster* raster) {
    return static_cast<HDC>(raster->dc);
}

// A 32-bit top-down DIB description: biHeight negative puts the first row at the top.
void DescribeTopDownDib(BITMAPINFO* info, int width, int height) {
    ZeroMemory(info, sizeof(*info));
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = width;
    info->bmiHeader.biHeight = -height;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = 32;
    info->bmiHeader.biCompression = BI_RGB;
}

size_t PixelBytes(int width, int height) {
    return static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
}

} // namespace

namespace {

int MarginFor(int fontHeight) {
    return fontHeight / 2;
}

// Measures the line in the record's font: `width` and `height` become the size of its whole
// raster.
bool MeasureLine(const wchar_t* line, int length, int fontHeight, LineRaster* raster) {
    SIZE extent = {};
    HGDIOBJ formerFont = SelectObject(DcOf(raster), raster->font);
    const BOOL measured = GetTextExtentPoint32W(DcOf(raster), line, length, &extent);
    SelectObject(DcOf(raster), formerFont);
    if (!measured) {
        return false;
    }
    // Bold glyphs may reach outside their text cell: m + 2 free pixels on every side keep
    // them inside the raster.
    const int margin = MarginFor(fontHeight);
    raster->width = extent.cx + 2 * margin + 4;
    raster->height = extent.cy + 2 * margin + 4;
    return true;
}

// Makes the device context and font and measures the line: `width` and `height` become the
// size of the whole raster.
bool PrepareLineRaster(const wchar_t* line, int length, int fontHeight, LineRaster* raster) {
    raster->dc = CreateCompatibleDC(nullptr);
    if (raster->dc == nullptr) {
        return false;
    }
    // A negative height matches the em height rather than the cell height.
    raster->font = CreateFontW(-fontHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                               DEFAULT_PITCH | FF_DONTCARE, appState.settings.fontFace);
    if (raster->font == nullptr) {
        return false;
    }
    return MeasureLine(line, length, fontHeight, raster);
}

// Draws columns `left` to `left` + `width` - 1 of the whole raster into a DIB section of
// `width` × `height` that becomes the record's `bitmap` and `pixels`. The platform draws
// glyphs at whole-pixel positions, so a window holds the same pixels as those columns of
// the whole raster. The first DIB of a record is selected into `dc` for good; a later one,
// after DropLineBitmap, too.
bool DrawLineWindow(const wchar_t* line, int length, int fontHeight, int left, int width,
                    LineRaster* raster) {
    BITMAPINFO info;
    DescribeTopDownDib(&info, width, raster->height);
    void* bits = nullptr;
    raster->bitmap = CreateDIBSection(DcOf(raster), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (raster->bitmap == nullptr || bits == nullptr) {
        return false;
    }
    raster->pixels = static_cast<uint8_t*>(bits);
    raster->width = width;
    raster->previousBitmap = SelectObject(DcOf(raster), raster->bitmap);
    std::memset(raster->pixels, 0, PixelBytes(raster->width, raster->height));

    const int margin = MarginFor(fontHeight);
    SetBkMode(DcOf(raster), TRANSPARENT);
    SetTextColor(DcOf(raster), RGB(255, 255, 255));
    HGDIOBJ formerFont = SelectObject(DcOf(raster), raster->font);
    TextOutW(DcOf(raster), margin + 2 - left, margin + 2, line, length);
    SelectObject(DcOf(raster), formerFont);
    return true;
}

// Gives back the record's DIB section, keeping its device context and font.
void DropLineBitmap(LineRaster* raster) {
    if (raster->previousBitmap != nullptr) {
        SelectObject(DcOf(raster), raster->previousBitmap);
    }
    if (raster->bitmap != nullptr) {
        DeleteObject(raster->bitmap);
    }
    raster->previousBitmap = nullptr;
    raster->bitmap = nullptr;
    raster->pixels = nullptr;
}

// For a raster too large to draw whole: the ink is looked for window by window, in windows
// that start a little wider than the widest ink that could fit and double up to `windowBytes`:
// first one at the left end, then one at the right end, then on from the left. As soon as the
// ink seen spans more than `maxInkWidth` columns the line cannot fit and the search stops, so
// a long line with ink at both ends is given up after two small windows. Otherwise the record
// ends up holding just the columns from the leftmost to the rightmost ink, at full height:
// the ink box, and every coverage in it, are those of the whole raster.
bool RasterizeLineInWindows(const wchar_t* line, int length, int fontHeight, int maxInkWidth,
                            size_t windowBytes, LineRaster* raster) {
    const size_t columnBytes = static_cast<size_t>(raster->height) * 4;
    const size_t widestWindow = windowBytes / columnBytes > 0 ? windowBytes / columnBytes : 1;
    size_t window =
        static_cast<size_t>(MarginFor(fontHeight)) + 2 + 2 * (static_cast<size_t>(maxInkWidth) + 1);
    int inkLeft = raster->width;
    int inkRight = -1;
    // Columns left to right - 1 are still to be looked at.
    int left = 0;
    int right = raster->width;
    for (int step = 0; left < right; ++step) {
        if (window > widestWindow) {
            window = widestWindow;
        }
        const int width =
            window < static_cast<size_t>(right - left) ? static_cast<int>(window) : right - left;
        int start = left;
        if (step == 1) {
            right -= width;
            start = right;
        } else {
            left += width;
        }
        if (!DrawLineWindow(line, length, fontHeight, start, width, raster)) {
            return false;
        }
        if (FindInkBox(raster)) {
            if (start + raster->inkLeft < inkLeft) {
                inkLeft = start + raster->inkLeft;
            }
            if (start + raster->inkRight > inkRight) {
                inkRight = start + raster->inkRight;
            }
        }
        DropLineBitmap(raster);
        if (inkRight >= inkLeft && inkRight - inkLeft + 1 > maxInkWidth) {
            return false;
        }
        if (step != 0) {
            window *= 2;
        }
    }
    if (inkRight < inkLeft) {
        return false;
    }
    return DrawLineWindow(line, length, fontHeight, inkLeft, inkRight - inkLeft + 1, raster);
}

// Printable ASCII needs no complex script processing (no shaping, no reordering, no
// combining), so the platform draws it glyph after glyph at whole-pixel advances.
bool IsPrintableAscii(const wchar_t* text, int length) {
    for (int i = 0; i < length; ++i) {
        if (text[i] < L' ' || text[i] > L'~') {
            return false;
        }
    }
    return true;
}

// Whether a space, drawn alone in the settings' face at this height, leaves no ink.
bool SpaceIsBlank(int fontHeight) {
    LineRaster space;
    ZeroMemory(&space, sizeof(space));
    const bool blank = RasterizeLine(L" ", fontHeight, &space) && !FindInkBox(&space);
    ReleaseLineRaster(&space);
    return blank;
}

} // namespace

bool RasterizeLine(const wchar_t* line, int fontHeight, LineRaster* raster) {
    // cppcheck-suppress lstrlenWCalled ; icon lines are terminated strings the program made.
    const int length = lstrlenW(line);
    return PrepareLineRaster(line, length, fontHeight, raster) &&
           DrawLineWindow(line, length, fontHeight, 0, raster->width, raster);
}

bool RasterizeLineForIcon(const wchar_t* line, int fontHeight, int maxInkWidth, size_t windowBytes,
                          LineRaster* raster) {
    // cppcheck-suppress lstrlenWCalled ; icon lines are terminated strings the program made.
    int length = lstrlenW(line);
    if (!PrepareLineRaster(line, length, fontHeight, raster)) {
        return false;
    }
    if (PixelBytes(raster->width, raster->height) <= windowBytes) {
        return DrawLineWindow(line, length, fontHeight, 0, raster->width, raster);
    }
    // Blank spaces at either end of printable ASCII only move the ink sideways by whole
    // pixels; without them a line padded with thousands of spaces is looked at quickly.
    if (length > 0 && (line[0] == L' ' || line[length - 1] == L' ') &&
        IsPrintableAscii(line, length) && SpaceIsBlank(fontHeight)) {
        while (length > 0 && line[length - 1] == L' ') {
            --length;
        }
        while (length > 0 && line[0] == L' ') {
            ++line;
            --length;
        }
        if (length == 0 || !MeasureLine(line, length, fontHeight, raster)) {
            return false;
        }
        if (PixelBytes(raster->width, raster->height) <= windowBytes) {
            return DrawLineWindow(line, length, fontHeight, 0, raster->width, raster);
        }
    }
    return RasterizeLineInWindows(line, length, fontHeight, maxInkWidth, windowBytes, raster);
}

void ReleaseLineRaster(LineRaster* raster) {
    if (raster->previousBitmap != nullptr) {
        SelectObject(DcOf(raster), raster->previousBitmap);
    }
    if (raster->bitmap != nullptr) {
        DeleteObject(raster->bitmap); // frees `pixels` too
    }
    if (raster->font != nullptr) {
        DeleteObject(raster->font);
    }
    if (raster->dc != nullptr) {
        DeleteDC(DcOf(raster));
    }
    ZeroMemory(raster, sizeof(*raster));
}

HICON CreateIconFromPixels(const uint8_t* canvas, int edge) {
    HICON icon = nullptr;
    HBITMAP mask = nullptr;
    HDC maskDc = nullptr;
    ICONINFO iconInfo;
    BITMAPINFO info;
    DescribeTopDownDib(&info, edge, edge);
    void* bits = nullptr;
    HBITMAP colour = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (colour == nullptr || bits == nullptr) {
        goto done;
    }
    std::memcpy(bits, canvas, PixelBytes(edge, edge));

    // An all-zero mask: the shape and transparency come from the alpha bytes alone.
    mask = CreateBitmap(edge, edge, 1, 1, nullptr);
    if (mask == nullptr) {
        goto done;
    }
    maskDc = CreateCompatibleDC(nullptr);
    if (maskDc == nullptr) {
        goto done;
    }
    {
        HGDIOBJ formerBitmap = SelectObject(maskDc, mask);
        PatBlt(maskDc, 0, 0, edge, edge, BLACKNESS);
        SelectObject(maskDc, formerBitmap);
    }
    DeleteDC(maskDc);

    ZeroMemory(&iconInfo, sizeof(iconInfo));
    iconInfo.fIcon = TRUE;
    iconInfo.hbmMask = mask;
    iconInfo.hbmColor = colour;
    icon = CreateIconIndirect(&iconInfo);

done:
    if (mask != nullptr) {
        DeleteObject(mask);
    }
    if (colour != nullptr) {
        DeleteObject(colour);
    }
    return icon;
}

HICON RenderAtFontHeight(const wchar_t* const* lines, int lineCount, int edge, int fontHeight,
                         IconColours colours) {
    HICON icon = nullptr;
    uint8_t* canvas = nullptr;
    LineRaster rasters[MaxIconLines];
    ZeroMemory(rasters, sizeof(rasters));
    InkStack stack = StartInkStack(lineCount);

    // Every line is drawn and measured before the fit test, even after a first line that is
    // already too wide.
    for (int line = 0; line < lineCount; ++line) {
        if (!RasterizeLineForIcon(lines[line], fontHeight, edge - 2, WholeRasterLimitBytes,
                                  &rasters[line]) ||
            !FindInkBox(&rasters[line])) {
            goto done;
        }
        AddLineToInkStack(&stack, &rasters[line]);
    }
    if (!InkStackFits(stack, edge)) {
        goto done;
    }

    canvas = static_cast<uint8_t*>(AllocateZeroed(PixelBytes(edge, edge)));
    if (canvas == nullptr) {
        goto done;
    }
    ComposeIconPixels(rasters, lineCount, edge, stack.totalHeight, colours.text, colours.border,
                      canvas);
    icon = CreateIconFromPixels(canvas, edge);
    FreeHeapBlock(canvas);

done:
    for (int line = 0; line < lineCount; ++line) {
        ReleaseLineRaster(&rasters[line]);
    }
    return icon;
}
