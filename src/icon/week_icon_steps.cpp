#include "icon/week_icon_steps.h"

#include <algorithm>
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

// Makes a DIB section of `width` × the record's height and selects it into `dc` for good; it
// becomes the record's `bitmap` and `pixels`. Its contents are left as they come.
bool CreateLineWindow(int width, LineRaster* raster) {
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
    return true;
}

// Draws the line white, with a transparent background, as the whole raster holds it, moved
// `left` columns to the left.
void DrawLineShifted(const wchar_t* line, int length, int fontHeight, int left,
                     const LineRaster* raster) {
    const int margin = MarginFor(fontHeight);
    SetBkMode(DcOf(raster), TRANSPARENT);
    SetTextColor(DcOf(raster), RGB(255, 255, 255));
    HGDIOBJ formerFont = SelectObject(DcOf(raster), raster->font);
    TextOutW(DcOf(raster), margin + 2 - left, margin + 2, line, length);
    SelectObject(DcOf(raster), formerFont);
}

// Draws columns `left` to `left` + `width` - 1 of the whole raster into a zeroed DIB section of
// `width` × `height` that becomes the record's `bitmap` and `pixels`. The platform draws
// glyphs at whole-pixel positions, so a window holds the same pixels as those columns of
// the whole raster. The first DIB of a record is selected into `dc` for good; a later one,
// after DropLineBitmap, too.
bool DrawLineWindow(const wchar_t* line, int length, int fontHeight, int left, int width,
                    LineRaster* raster) {
    if (!CreateLineWindow(width, raster)) {
        return false;
    }
    std::memset(raster->pixels, 0, PixelBytes(raster->width, raster->height));
    DrawLineShifted(line, length, fontHeight, left, raster);
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

// Columns `from` to `to` - 1 of the whole raster; empty when `to` <= `from`.
struct ColumnSpan {
    int from;
    int to;
};

// The columns, within `left` to `left` + `width` - 1 of the whole raster, that drawing the line
// writes to at all. The platform's bounds accumulation encloses every pixel that a drawing
// call writes, so no column outside the span can hold ink, whatever the script and shaping:
// a window of blanks is ruled out without a pixel looked at. The window's DIB is never
// cleared or read, so its memory is hardly touched. When the bounds cannot be had, the span
// is the whole window.
bool FindWrittenColumns(const wchar_t* line, int length, int fontHeight, int left, int width,
                        LineRaster* raster, ColumnSpan* span) {
    if (!CreateLineWindow(width, raster)) {
        return false;
    }
    span->from = left;
    span->to = left + width;
    const HDC dc = DcOf(raster);
    SetBoundsRect(dc, nullptr, DCB_ENABLE | DCB_RESET);
    DrawLineShifted(line, length, fontHeight, left, raster);
    RECT bounds = {};
    const UINT state = GetBoundsRect(dc, &bounds, DCB_RESET);
    SetBoundsRect(dc, nullptr, DCB_DISABLE);
    DropLineBitmap(raster);
    if (state == DCB_RESET) {
        span->to = span->from; // nothing written
    } else if (state == DCB_SET) {
        const RECT window = {0, 0, width, raster->height};
        RECT written = {};
        if (IntersectRect(&written, &bounds, &window)) {
            span->from = left + written.left;
            span->to = left + written.right;
        } else {
            span->to = span->from;
        }
    }
    return true;
}

// The ink seen so far of a line looked at in windows, in columns and rows of the whole raster,
// and how large its ink box may become before the attempt must fail.
struct InkSearch {
    int maxInkWidth;
    int maxInkHeight;
    int inkLeft;
    int inkTop;
    int inkRight;
    int inkBottom;
};

// Adds the ink of the record's current window, whose first column is column `left` of the
// whole raster. False once the ink seen is wider or taller than the icon allows: the whole
// raster's ink box holds all of it, so the attempt would fail.
bool AddWindowInk(LineRaster* raster, int left, InkSearch* search) {
    if (FindInkBox(raster)) {
        search->inkLeft = std::min(search->inkLeft, left + raster->inkLeft);
        search->inkRight = std::max(search->inkRight, left + raster->inkRight);
        search->inkTop = std::min(search->inkTop, raster->inkTop);
        search->inkBottom = std::max(search->inkBottom, raster->inkBottom);
    }
    return search->inkRight < search->inkLeft ||
           (search->inkRight - search->inkLeft + 1 <= search->maxInkWidth &&
            search->inkBottom - search->inkTop + 1 <= search->maxInkHeight);
}

// Columns of the whole raster still to be looked at, taken first at the left end, then at the
// right end, then on from the left; each piece after the second is twice as wide as the one
// before, and none is wider than `widest`. So ink spread wider than the icon allows is found
// after little work.
struct ColumnWalk {
    ColumnSpan rest;
    size_t piece;
    size_t widest;
    int step;
};

// A walk over `span` whose first piece is `firstPiece` columns, and whose pieces hold at most
// `limitBytes` of a raster `height` rows tall.
ColumnWalk StartColumnWalk(ColumnSpan span, size_t firstPiece, size_t limitBytes, int height) {
    const size_t columnBytes = static_cast<size_t>(height) * 4;
    return ColumnWalk{span, firstPiece, std::max<size_t>(limitBytes / columnBytes, 1), 0};
}

// The next piece of the walk; false once every column has been taken.
bool TakeNextPiece(ColumnWalk* walk, ColumnSpan* piece) {
    if (walk->rest.from >= walk->rest.to) {
        return false;
    }
    if (walk->step >= 2) {
        walk->piece *= 2;
    }
    walk->piece = std::min(walk->piece, walk->widest);
    const int width = static_cast<int>(
        std::min(walk->piece, static_cast<size_t>(walk->rest.to - walk->rest.from)));
    if (walk->step == 1) {
        walk->rest.to -= width;
        *piece = ColumnSpan{walk->rest.to, walk->rest.to + width};
    } else {
        *piece = ColumnSpan{walk->rest.from, walk->rest.from + width};
        walk->rest.from += width;
    }
    ++walk->step;
    return true;
}

// A first piece a little wider than the widest ink that could fit.
size_t FirstPieceColumns(int fontHeight, int maxInkWidth) {
    return static_cast<size_t>(MarginFor(fontHeight)) + 2 +
           2 * (static_cast<size_t>(maxInkWidth) + 1);
}

// Draws and scans the columns of `span`, in pieces of up to `scanBytes`.
bool ScanWrittenSpan(const wchar_t* line, int length, int fontHeight, ColumnSpan span,
                     size_t scanBytes, LineRaster* raster, InkSearch* search) {
    ColumnWalk walk = StartColumnWalk(span, FirstPieceColumns(fontHeight, search->maxInkWidth),
                                      scanBytes, raster->height);
    ColumnSpan piece = {};
    while (TakeNextPiece(&walk, &piece)) {
        if (!DrawLineWindow(line, length, fontHeight, piece.from, piece.to - piece.from, raster)) {
            return false;
        }
        const bool mayFit = AddWindowInk(raster, piece.from, search);
        DropLineBitmap(raster);
        if (!mayFit) {
            return false;
        }
    }
    return true;
}

// Whether any of a few characters spread evenly over the line, each drawn alone, writes
// anything. It only chooses the order of work below, never its outcome.
bool SampledCharactersWrite(const wchar_t* line, int length, int fontHeight, LineRaster* raster) {
    constexpr int Samples = 32;
    ColumnSpan written = {};
    for (int sample = 0; sample < Samples && written.to == written.from; ++sample) {
        int at = static_cast<int>(static_cast<long long>(length - 1) * sample / (Samples - 1));
        if (at > 0 && IS_LOW_SURROGATE(line[at])) {
            --at;
        }
        const int units = at + 1 < length && IS_HIGH_SURROGATE(line[at]) ? 2 : 1;
        if (!FindWrittenColumns(line + at, units, fontHeight, 0, 4 * fontHeight + 8, raster,
                                &written)) {
            return true;
        }
    }
    return written.to > written.from;
}

// For a raster too large to draw whole: the ink is looked for in windows of up to `windowBytes`,
// first one at the left end, then one at the right end, then on from the left. Only the columns
// of a window that the drawing writes to at all are drawn cleared and scanned, in pieces of up
// to `scanBytes`, so a window of blanks costs one drawing call and no pixel work. A line of
// which some characters write is looked at in windows that start a little wider than the widest
// ink that could fit and double, so that dense ink costs little drawing before it is found too
// wide; otherwise every window is as wide as allowed. As soon as the ink seen is wider or
// taller than the icon allows the search stops. Otherwise the record ends up holding just the
// columns from the leftmost to the rightmost ink, at full height: the ink box, and every
// coverage in it, are those of the whole raster.
bool RasterizeLineInWindows(const wchar_t* line, int length, int fontHeight, InkSearch search,
                            size_t windowBytes, size_t scanBytes, LineRaster* raster) {
    // Taken first: sampling draws into the record, which then holds another width.
    const ColumnSpan wholeLine = {0, raster->width};
    // The whole line at once, as far as a window may hold it.
    size_t firstWindow = static_cast<size_t>(wholeLine.to);
    if (SampledCharactersWrite(line, length, fontHeight, raster)) {
        firstWindow = FirstPieceColumns(fontHeight, search.maxInkWidth);
    }
    ColumnWalk walk = StartColumnWalk(wholeLine, firstWindow, windowBytes, raster->height);
    ColumnSpan window = {};
    while (TakeNextPiece(&walk, &window)) {
        ColumnSpan written = {};
        if (!FindWrittenColumns(line, length, fontHeight, window.from, window.to - window.from,
                                raster, &written) ||
            !ScanWrittenSpan(line, length, fontHeight, written, scanBytes, raster, &search)) {
            return false;
        }
    }
    if (search.inkRight < search.inkLeft) {
        return false;
    }
    return DrawLineWindow(line, length, fontHeight, search.inkLeft,
                          search.inkRight - search.inkLeft + 1, raster);
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

bool RasterizeLineForIcon(const wchar_t* line, int fontHeight, int maxInkWidth, int maxInkHeight,
                          size_t wholeBytes, size_t windowBytes, LineRaster* raster) {
    // cppcheck-suppress lstrlenWCalled ; icon lines are terminated strings the program made.
    int length = lstrlenW(line);
    if (!PrepareLineRaster(line, length, fontHeight, raster)) {
        return false;
    }
    if (PixelBytes(raster->width, raster->height) <= wholeBytes) {
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
        if (PixelBytes(raster->width, raster->height) <= wholeBytes) {
            return DrawLineWindow(line, length, fontHeight, 0, raster->width, raster);
        }
    }
    InkSearch search = {maxInkWidth, maxInkHeight, raster->width, raster->height, -1, -1};
    return RasterizeLineInWindows(line, length, fontHeight, search, windowBytes,
                                  std::min(windowBytes, wholeBytes), raster);
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

    // The shorter line first: when it alone, with at least one row of ink from the other, does
    // not fit, neither does the stack, and the longer line need not be drawn; otherwise the
    // longer line's search knows how much ink it may have.
    // cppcheck-suppress lstrlenWCalled ; icon lines are terminated strings the program made.
    const bool secondIsShorter = lineCount == 2 && lstrlenW(lines[1]) < lstrlenW(lines[0]);
    for (int drawn = 0; drawn < lineCount; ++drawn) {
        const int line = secondIsShorter ? 1 - drawn : drawn;
        const int stillToDraw = lineCount - 1 - drawn;
        const int maxInkHeight = edge - stack.totalHeight - stillToDraw;
        if (maxInkHeight < 1 ||
            !RasterizeLineForIcon(lines[line], fontHeight, edge - 2, maxInkHeight,
                                  WholeRasterLimitBytes, LineWindowLimitBytes, &rasters[line]) ||
            !FindInkBox(&rasters[line])) {
            goto done;
        }
        AddLineToInkStack(&stack, &rasters[line]);
        if (!InkStackFits(stack, edge)) {
            goto done;
        }
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
