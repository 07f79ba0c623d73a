#include "icon/week_icon_steps.h"

#include <algorithm>
#include <cstring>

#include "common/app_state.h"
#include "common/platform.h"
#include "common/strings.h"
#include "icon/line_characters.h"

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

// The columns by which a box the platform reports as written is widened on each side before
// it is used: such a box may leave out antialiased fringes and glyph parts outside their cells.
int BoundsPadding(int fontHeight) {
    return MarginFor(fontHeight) + 2;
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

// A line as it is drawn. With `extents` (the advances summed up to the end of each UTF-16
// unit, for a simple left-to-right line) a window is drawn from just the characters that can
// reach it; otherwise from the whole line, so that shaping and direction stay the platform's.
struct LineText {
    const wchar_t* text;
    int length;
    int fontHeight;
    const int* extents;
};

// Draws `units` units of text white, with a transparent background, starting at column `x` of
// the record's window; `bounds` as for platform.textOut.
UINT DrawTextAt(const wchar_t* text, int units, int fontHeight, int x, const LineRaster* raster,
                RECT* bounds) {
    SetBkMode(DcOf(raster), TRANSPARENT);
    SetTextColor(DcOf(raster), RGB(255, 255, 255));
    HGDIOBJ formerFont = SelectObject(DcOf(raster), raster->font);
    const UINT state =
        platform.textOut(DcOf(raster), x, MarginFor(fontHeight) + 2, text, units, bounds);
    SelectObject(DcOf(raster), formerFont);
    return state;
}

// Draws the line as the whole raster holds it, moved `left` columns to the left, into a window
// `width` columns wide.
UINT DrawLineShifted(const LineText& line, int left, int width, const LineRaster* raster,
                     RECT* bounds) {
    const int origin = MarginFor(line.fontHeight) + 2 - left;
    if (line.extents == nullptr) {
        return DrawTextAt(line.text, line.length, line.fontHeight, origin, raster, bounds);
    }
    // Unit i's cell runs from origin + extents[i - 1] to origin + extents[i]. No glyph reaches
    // an em and a margin out of its cell.
    const int reach = line.fontHeight + MarginFor(line.fontHeight) + 2;
    const int* end = line.extents + line.length;
    const int first =
        static_cast<int>(std::upper_bound(line.extents, end, -origin - reach) - line.extents);
    const int last = std::min(
        line.length, static_cast<int>(std::lower_bound(line.extents, end, width + reach - origin) -
                                      line.extents) +
                         1);
    if (first >= last) {
        return DCB_RESET;
    }
    const int x = origin + (first > 0 ? line.extents[first - 1] : 0);
    return DrawTextAt(line.text + first, last - first, line.fontHeight, x, raster, bounds);
}

// Draws columns `left` to `left` + `width` - 1 of the whole raster into a zeroed DIB section of
// `width` × `height` that becomes the record's `bitmap` and `pixels`. The platform draws
// glyphs at whole-pixel positions, so a window holds the same pixels as those columns of
// the whole raster. The first DIB of a record is selected into `dc` for good; a later one,
// after DropLineBitmap, too.
bool DrawLineWindow(const LineText& line, int left, int width, LineRaster* raster) {
    if (!CreateLineWindow(width, raster)) {
        return false;
    }
    std::memset(raster->pixels, 0, PixelBytes(raster->width, raster->height));
    return DrawLineShifted(line, left, width, raster, nullptr) != 0;
}

// As DrawLineWindow, but keeps the record's DIB section when it is already `width` wide and only
// clears it: making a fresh DIB section of megabytes costs far more than drawing into it.
bool RedrawLineWindow(const LineText& line, int left, int width, LineRaster* raster) {
    if (raster->bitmap == nullptr || raster->width != width) {
        DropLineBitmap(raster);
        return DrawLineWindow(line, left, width, raster);
    }
    std::memset(raster->pixels, 0, PixelBytes(raster->width, raster->height));
    return DrawLineShifted(line, left, width, raster, nullptr) != 0;
}

// Columns `from` to `to` - 1 of the whole raster; empty when `to` <= `from`.
struct ColumnSpan {
    int from;
    int to;
};

// The columns, within `left` to `left` + `width` - 1 of a whole raster `lineWidth` wide, that
// drawing the line may write to, as the platform's bounds report says, widened. Only used once
// the reports have proved right for this attempt. The window's DIB is never cleared or read,
// so its memory is hardly touched.
bool FindWrittenColumns(const LineText& line, int left, int width, int lineWidth,
                        LineRaster* raster, ColumnSpan* span) {
    if (!CreateLineWindow(width, raster)) {
        return false;
    }
    RECT bounds = {};
    const UINT state = DrawLineShifted(line, left, width, raster, &bounds);
    DropLineBitmap(raster);
    const int padding = BoundsPadding(line.fontHeight);
    *span = ColumnSpan{left, left};
    if (state == DCB_SET && bounds.right > 0 && bounds.left < width) {
        span->from = std::max(0, left + static_cast<int>(bounds.left) - padding);
        span->to = std::min(lineWidth, left + static_cast<int>(bounds.right) + padding);
    }
    return state != 0;
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
bool ScanWrittenSpan(const LineText& line, ColumnSpan span, size_t scanBytes, LineRaster* raster,
                     InkSearch* search) {
    ColumnWalk walk = StartColumnWalk(span, FirstPieceColumns(line.fontHeight, search->maxInkWidth),
                                      scanBytes, raster->height);
    ColumnSpan piece = {};
    bool mayFit = true;
    while (mayFit && TakeNextPiece(&walk, &piece)) {
        mayFit = RedrawLineWindow(line, piece.from, piece.to - piece.from, raster) &&
                 AddWindowInk(raster, piece.from, search);
    }
    DropLineBitmap(raster);
    return mayFit;
}

// Leaves the record holding the columns from the leftmost to the rightmost ink found.
bool KeepInkColumns(const LineText& line, const InkSearch& search, LineRaster* raster) {
    return search.inkRight >= search.inkLeft &&
           DrawLineWindow(line, search.inkLeft, search.inkRight - search.inkLeft + 1, raster);
}

// For a raster too large to draw whole, when the platform's bounds reports may be trusted: the
// ink is looked for in windows of up to `windowBytes`, first one at the left end, then one at
// the right end, then on from the left. Only the columns of a window that the drawing writes
// to, by the report, are drawn cleared and scanned, in pieces of up to `scanBytes`, so a
// window of blanks costs one drawing call and no pixel work. A line with inked characters is
// looked at in windows that start a little wider than the widest ink that could fit and
// double, so that dense ink costs little drawing before it is found too wide; otherwise every
// window is as wide as allowed. As soon as the ink seen is wider or taller than the icon allows
// the search stops.
bool ScanWindowsByBounds(const LineText& line, InkSearch* search, bool inked, size_t windowBytes,
                         size_t scanBytes, LineRaster* raster) {
    const ColumnSpan wholeLine = {0, raster->width};
    const size_t firstWindow = inked ? FirstPieceColumns(line.fontHeight, search->maxInkWidth)
                                     : static_cast<size_t>(wholeLine.to);
    ColumnWalk walk = StartColumnWalk(wholeLine, firstWindow, windowBytes, raster->height);
    ColumnSpan window = {};
    while (TakeNextPiece(&walk, &window)) {
        ColumnSpan written = {};
        if (!FindWrittenColumns(line, window.from, window.to - window.from, wholeLine.to, raster,
                                &written) ||
            !ScanWrittenSpan(line, written, scanBytes, raster, search)) {
            return false;
        }
    }
    return true;
}

// The characters of a line drawn alone in this attempt, and whether the platform's bounds
// reports for them were right: nothing for a blank one, a box holding all the ink of an inked
// one, once widened.
constexpr int ProofCapacity = 64;

struct CharacterProofs {
    int count;
    uint32_t codes[ProofCapacity];
    bool inked[ProofCapacity];
    bool blankSeen;
    bool inkSeen;
    int widestAdvance;
    bool boundsMisled;
};

enum class Proof { Blank, Inked, Unknown };

bool BoundsReportsHold(const CharacterProofs& proofs) {
    return proofs.blankSeen && proofs.inkSeen && !proofs.boundsMisled;
}

// Draws one character alone, where a line's first character goes, and tells whether it leaves
// ink. Unknown for a character whose drawing alone proves nothing, and once the proofs are
// full.
Proof ProveCharacter(const wchar_t* text, int units, uint32_t code, int fontHeight,
                     LineRaster* raster, CharacterProofs* proofs) {
    for (int known = 0; known < proofs->count; ++known) {
        if (proofs->codes[known] == code) {
            return proofs->inked[known] ? Proof::Inked : Proof::Blank;
        }
    }
    if (ShapesInContext(code) || proofs->count == ProofCapacity) {
        return Proof::Unknown;
    }
    SIZE extent = {};
    HGDIOBJ formerFont = SelectObject(DcOf(raster), raster->font);
    const BOOL measured = GetTextExtentPoint32W(DcOf(raster), text, units, &extent);
    SelectObject(DcOf(raster), formerFont);
    proofs->widestAdvance = std::max(proofs->widestAdvance, static_cast<int>(extent.cx));
    const int lineWidth = raster->width;
    const int padding = BoundsPadding(fontHeight);
    Proof proof = Proof::Unknown;
    if (measured && CreateLineWindow(extent.cx + 2 * padding, raster)) {
        std::memset(raster->pixels, 0, PixelBytes(raster->width, raster->height));
        RECT bounds = {};
        const UINT state = DrawTextAt(text, units, fontHeight, padding, raster, &bounds);
        if (state != 0) {
            const bool inked = FindInkBox(raster);
            proof = inked ? Proof::Inked : Proof::Blank;
            proofs->blankSeen = proofs->blankSeen || !inked;
            proofs->inkSeen = proofs->inkSeen || inked;
            proofs->boundsMisled =
                proofs->boundsMisled ||
                (inked ? state != DCB_SET || bounds.left - padding > raster->inkLeft ||
                             bounds.right + padding <= raster->inkRight
                       : state != DCB_RESET);
            proofs->codes[proofs->count] = code;
            proofs->inked[proofs->count] = inked;
            ++proofs->count;
        }
    }
    DropLineBitmap(raster);
    raster->width = lineWidth;
    return proof;
}

// Cuts the characters proven blank from both ends of a simple left-to-right line: its glyphs
// land at the sum of the advances before them, so the rest of its ink only moves sideways by
// whole pixels. On other lines the platform's direction and shaping may hang on the ends.
void TrimBlankEnds(LineText* line, LineRaster* raster, CharacterProofs* proofs) {
    int start = 0;
    while (start < line->length &&
           ProveCharacter(line->text + start, 1, line->text[start], line->fontHeight, raster,
                          proofs) == Proof::Blank) {
        ++start;
    }
    int end = line->length;
    while (end > start && ProveCharacter(line->text + end - 1, 1, line->text[end - 1],
                                         line->fontHeight, raster, proofs) == Proof::Blank) {
        --end;
    }
    line->text += start;
    line->length = end - start;
}

// What one pass over a line's characters, each proven alone, shows.
struct CharacterSurvey {
    bool everyBlank;
    bool everyInked;
};

// Proves the line's characters alone until neither survey answer can hold any more and one
// has shown ink, so that the bounds reports are checked against an inked character too. None
// shapes in context where either answer holds.
CharacterSurvey SurveyCharacters(const LineText& line, LineRaster* raster,
                                 CharacterProofs* proofs) {
    CharacterSurvey survey = {true, true};
    int units = 0;
    for (int at = 0;
         at < line.length && (survey.everyBlank || survey.everyInked || !proofs->inkSeen);
         at += units) {
        const uint32_t code = CodePointAt(line.text, line.length, at, &units);
        const Proof proof =
            ProveCharacter(line.text + at, units, code, line.fontHeight, raster, proofs);
        survey.everyBlank = survey.everyBlank && proof == Proof::Blank;
        survey.everyInked = survey.everyInked && proof == Proof::Inked;
    }
    return survey;
}

// Whether a line `lineWidth` wide whose every character is inked alone has ink wider than
// `maxInkWidth`. Whatever the order the platform puts the glyphs in, they tile the line one
// after another, so its first and last glyphs, inked, lie within the widest advance, and the
// reach of a glyph out of its cell, of its two ends.
bool InkedLineTooWide(int lineWidth, int fontHeight, int widestAdvance, int maxInkWidth) {
    const int reach = fontHeight + MarginFor(fontHeight) + 2;
    return lineWidth - 2 * (widestAdvance + reach) > maxInkWidth;
}

bool IsSimpleLine(const wchar_t* text, int length) {
    int units = 0;
    for (int at = 0; at < length; at += units) {
        if (!IsSimpleLeftToRight(CodePointAt(text, length, at, &units))) {
            return false;
        }
    }
    return true;
}

// A simple left-to-right line too large to draw whole, its blank ends cut so that both ends
// carry ink: looked at in pieces of up to `scanBytes`, each drawn from just the characters
// that reach it, placed by one measurement of the whole line.
bool ScanSimpleLine(LineText line, InkSearch* search, size_t scanBytes, LineRaster* raster) {
    int* extents =
        static_cast<int*>(AllocateZeroed(static_cast<size_t>(line.length) * sizeof(int)));
    if (extents == nullptr) {
        return false;
    }
    SIZE size = {};
    HGDIOBJ formerFont = SelectObject(DcOf(raster), raster->font);
    const BOOL measured =
        GetTextExtentExPointW(DcOf(raster), line.text, line.length, 0, nullptr, extents, &size);
    SelectObject(DcOf(raster), formerFont);
    line.extents = extents;
    const bool found =
        measured &&
        ScanWrittenSpan(line, ColumnSpan{0, raster->width}, scanBytes, raster, search) &&
        KeepInkColumns(line, *search, raster);
    FreeHeapBlock(extents);
    return found;
}

} // namespace

bool RasterizeLine(const wchar_t* line, int fontHeight, LineRaster* raster) {
    // cppcheck-suppress lstrlenWCalled ; icon lines are terminated strings the program made.
    const int length = lstrlenW(line);
    return PrepareLineRaster(line, length, fontHeight, raster) &&
           DrawLineWindow(LineText{line, length, fontHeight, nullptr}, 0, raster->width, raster);
}

bool RasterizeLineForIcon(const wchar_t* line, int fontHeight, int maxInkWidth, int maxInkHeight,
                          size_t wholeBytes, size_t windowBytes, LineRaster* raster) {
    // cppcheck-suppress lstrlenWCalled ; icon lines are terminated strings the program made.
    LineText text = {line, lstrlenW(line), fontHeight, nullptr};
    if (!PrepareLineRaster(text.text, text.length, fontHeight, raster)) {
        return false;
    }
    if (PixelBytes(raster->width, raster->height) <= wholeBytes) {
        return DrawLineWindow(text, 0, raster->width, raster);
    }
    // A line of nothing but blanks, or of nothing but inked characters spread far too wide, is
    // given up after one pass over its characters.
    CharacterProofs proofs = {};
    const bool simple = IsSimpleLine(text.text, text.length);
    if (simple) {
        TrimBlankEnds(&text, raster, &proofs);
    }
    const CharacterSurvey survey =
        simple ? CharacterSurvey{false, false} : SurveyCharacters(text, raster, &proofs);
    if (text.length == 0 || survey.everyBlank ||
        !MeasureLine(text.text, text.length, fontHeight, raster) ||
        (survey.everyInked && InkedLineTooWide(raster->width - 2 * BoundsPadding(fontHeight),
                                               fontHeight, proofs.widestAdvance, maxInkWidth))) {
        return false;
    }
    if (PixelBytes(raster->width, raster->height) <= wholeBytes) {
        return DrawLineWindow(text, 0, raster->width, raster);
    }
    InkSearch search = {maxInkWidth, maxInkHeight, raster->width, raster->height, -1, -1};
    const size_t scanBytes = std::min(windowBytes, wholeBytes);
    if (simple) {
        return ScanSimpleLine(text, &search, scanBytes, raster);
    }
    // What the platform reports as written is only a hint, checked on a blank character and an
    // inked one; where it proves wrong every column is drawn and scanned.
    ProveCharacter(L" ", 1, L' ', fontHeight, raster, &proofs);
    const bool found =
        BoundsReportsHold(proofs)
            ? ScanWindowsByBounds(text, &search, proofs.inkSeen, windowBytes, scanBytes, raster)
            : ScanWrittenSpan(text, ColumnSpan{0, raster->width}, scanBytes, raster, &search);
    return found && KeepInkColumns(text, search, raster);
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
    ComposeIcon(rasters, lineCount, edge, stack.totalHeight, colours, canvas);
    icon = CreateIconFromPixels(canvas, edge);
    FreeHeapBlock(canvas);

done:
    for (int line = 0; line < lineCount; ++line) {
        ReleaseLineRaster(&rasters[line]);
    }
    return icon;
}
