#include "icon/week_icon_steps.h"

#include <algorithm>
#include <cstring>

#include "common/app_state.h"
#include "common/strings.h"
#include "icon/glyph_layout.h"
#include "icon/line_items.h"

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

// How far drawn ink may reach beyond a glyph's black box, by antialiasing and hinting; and how
// far a black box may reach beyond the ink drawn, where its edge pixels are barely covered.
constexpr int InkMargin = 2;
constexpr int BoxSlack = 1;

// A glyph's advance and black box, inclusive, from the top-left corner of its cell; `inked`
// false for a glyph that draws nothing.
struct GlyphBox {
    int16_t advance;
    int16_t left;
    int16_t top;
    int16_t right;
    int16_t bottom;
    bool measured;
    bool inked;
};

// The boxes measured in one attempt, by glyph index, growing as larger indexes turn up.
struct GlyphBoxTable {
    GlyphBox* boxes;
    int size;
};

// The line laid out at one font height, placed in its whole raster: glyph i's cell begins at
// column origin + x[i] and row origin, each glyph after the advances of those before it. Bold
// glyphs may reach outside their cells, so m + 2 free pixels (m = half the font height) lie
// around the text cell on every side.
struct PlacedLine {
    const ShapedLine* shaped;
    int* x;
    int origin;
    int ascent;
    GlyphBoxTable tables[MaxLineFaces];
    HFONT fonts[MaxLineFaces]; // the first is the record's own; the others are the line's
    int cellTop[MaxLineFaces]; // where each face's cell begins below the line's, baselines level
    int selected;
};

void SelectFace(HDC dc, int face, PlacedLine* line) {
    if (line->selected != face) {
        SelectObject(dc, line->fonts[face]);
        line->selected = face;
    }
}

// Makes the fonts of the line's other faces at `fontHeight`, and finds where their cells begin.
bool MakeFaceFonts(HDC dc, int fontHeight, PlacedLine* line) {
    for (int face = 1; face < line->shaped->faceCount; ++face) {
        line->fonts[face] = MakeIconFont(fontHeight, line->shaped->faces[face]);
        TEXTMETRICW metrics = {};
        if (line->fonts[face] == nullptr) {
            return false;
        }
        SelectFace(dc, face, line);
        if (!GetTextMetricsW(dc, &metrics)) {
            return false;
        }
        line->cellTop[face] = line->ascent - metrics.tmAscent;
    }
    return true;
}

bool GrowTable(WORD glyph, GlyphBoxTable* table) {
    const int size = std::min(0x10000, std::max({int{glyph} + 1, 2 * table->size, 256}));
    GlyphBox* boxes = static_cast<GlyphBox*>(AllocateLayoutBlock(size * sizeof(GlyphBox)));
    if (boxes == nullptr) {
        return false;
    }
    if (table->boxes != nullptr) {
        std::memcpy(boxes, table->boxes, table->size * sizeof(GlyphBox));
        FreeLayoutBlock(table->boxes);
    }
    table->boxes = boxes;
    table->size = size;
    return true;
}

// Measures a glyph once per attempt. The size of its greyscale bitmap tells a blank glyph
// apart, which GGO_METRICS alone reports as a 1 x 1 box.
const GlyphBox* BoxOf(HDC dc, int face, WORD glyph, PlacedLine* line) {
    GlyphBoxTable* table = line->tables + face;
    if (glyph >= table->size && !GrowTable(glyph, table)) {
        return nullptr;
    }
    GlyphBox* box = table->boxes + glyph;
    if (!box->measured) {
        SelectFace(dc, face, line);
        const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
        GLYPHMETRICS metrics = {};
        const DWORD bytes = GetGlyphOutlineW(dc, glyph, GGO_GRAY8_BITMAP | GGO_GLYPH_INDEX,
                                             &metrics, 0, nullptr, &identity);
        if (bytes == GDI_ERROR) {
            return nullptr;
        }
        box->advance = metrics.gmCellIncX;
        box->left = static_cast<int16_t>(metrics.gmptGlyphOrigin.x);
        box->top = static_cast<int16_t>(line->ascent - metrics.gmptGlyphOrigin.y);
        box->right = static_cast<int16_t>(box->left + static_cast<int>(metrics.gmBlackBoxX) - 1);
        box->bottom = static_cast<int16_t>(box->top + static_cast<int>(metrics.gmBlackBoxY) - 1);
        box->inked = bytes > 0;
        box->measured = true;
    }
    return box;
}

// Makes the device context and font, selects the font (the caller selects `formerFont` back),
// lays the line out and sizes the whole raster.
bool PlaceLine(const wchar_t* text, int fontHeight, LineRaster* raster, HGDIOBJ* formerFont,
               PlacedLine* line) {
    raster->dc = CreateCompatibleDC(nullptr);
    if (raster->dc == nullptr) {
        return false;
    }
    raster->font = MakeIconFont(fontHeight, appState.settings.fontFace);
    if (raster->font == nullptr) {
        return false;
    }
    *formerFont = SelectObject(DcOf(raster), raster->font);
    line->fonts[0] = static_cast<HFONT>(raster->font);
    TEXTMETRICW metrics = {};
    // cppcheck-suppress lstrlenWCalled ; icon lines are terminated strings the program made.
    line->shaped = ShapeLine(DcOf(raster), text, lstrlenW(text), appState.settings.fontFace);
    if (!GetTextMetricsW(DcOf(raster), &metrics) || line->shaped == nullptr) {
        return false;
    }
    line->origin = fontHeight / 2 + 2;
    line->ascent = metrics.tmAscent;
    if (!MakeFaceFonts(DcOf(raster), fontHeight, line)) {
        return false;
    }
    line->x = static_cast<int*>(AllocateLayoutBlock((line->shaped->count + 1) * sizeof(int)));
    if (line->x == nullptr) {
        return false;
    }
    glyphWork.glyphsPlaced += static_cast<uint64_t>(line->shaped->count);
    int pen = 0;
    for (int i = 0; i < line->shaped->count; ++i) {
        const GlyphBox* box =
            BoxOf(DcOf(raster), line->shaped->face[i], line->shaped->glyphs[i], line);
        if (box == nullptr) {
            return false;
        }
        line->x[i] = pen;
        pen += line->shaped->zeroWidth[i] ? 0 : box->advance;
    }
    raster->width = pen + 2 * line->origin;
    raster->height = metrics.tmHeight + 2 * line->origin;
    return true;
}

// Frees what the line made; the record's own font is not selected into its context then.
void FreePlacedLine(PlacedLine* line) {
    FreeLayoutBlock(line->x);
    for (int face = 0; face < MaxLineFaces; ++face) {
        FreeLayoutBlock(line->tables[face].boxes);
        if (face > 0 && line->fonts[face] != nullptr) {
            DeleteObject(line->fonts[face]);
        }
    }
}

// Glyph `i`'s black box in the whole raster `whole`, cut to it; false when it draws nothing there.
bool InkedBoxInRaster(const PlacedLine& line, int i, const RECT& whole, RECT* placed) {
    const GlyphBox& box = line.tables[line.shaped->face[i]].boxes[line.shaped->glyphs[i]];
    const int x = line.origin + line.x[i];
    const int y = line.origin;
    const RECT glyphBox = {x + box.left, y + box.top, x + box.right + 1, y + box.bottom + 1};
    return box.inked && IntersectRect(placed, &glyphBox, &whole);
}

// Draws into a zeroed DIB section of `width` × the record's height, whose first column is
// column `left` of the whole raster, every glyph (`inkedOnly` false) or those that draw ink in
// the whole raster. It becomes the record's `bitmap` and `pixels`, selected into `dc` for good.
bool DrawWindow(PlacedLine* line, int left, int width, bool inkedOnly, LineRaster* raster) {
    BITMAPINFO info;
    DescribeTopDownDib(&info, width, raster->height);
    void* bits = nullptr;
    raster->bitmap = CreateDIBSection(DcOf(raster), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (raster->bitmap == nullptr || bits == nullptr) {
        return false;
    }
    const RECT whole = {0, 0, raster->width, raster->height};
    raster->pixels = static_cast<uint8_t*>(bits);
    raster->width = width;
    raster->previousBitmap = SelectObject(DcOf(raster), raster->bitmap);
    std::memset(raster->pixels, 0, PixelBytes(raster->width, raster->height));
    SetBkMode(DcOf(raster), TRANSPARENT);
    SetTextColor(DcOf(raster), RGB(255, 255, 255));
    bool drawn = true;
    for (int i = 0; i < line->shaped->count && drawn; ++i) {
        const int face = line->shaped->face[i];
        RECT box = {};
        if (!inkedOnly || InkedBoxInRaster(*line, i, whole, &box)) {
            SelectFace(DcOf(raster), face, line);
            drawn = DrawGlyph(DcOf(raster), line->shaped->glyphs[i],
                              line->origin + line->x[i] - left, line->origin + line->cellTop[face]);
        }
    }
    return drawn;
}

// The union of the inked glyphs' boxes in the whole raster; empty when the line draws nothing.
RECT InkSpan(const PlacedLine& line, const LineRaster& raster) {
    RECT span = {};
    const RECT whole = {0, 0, raster.width, raster.height};
    for (int i = 0; i < line.shaped->count; ++i) {
        RECT placed = {};
        if (InkedBoxInRaster(line, i, whole, &placed)) {
            UnionRect(&span, &span, &placed);
        }
    }
    return span;
}

// Finds the ink from the boxes, and draws just the glyphs around it unless it cannot fit.
bool DrawInkWindow(PlacedLine* line, int maxInkWidth, int maxInkHeight, LineRaster* raster) {
    const RECT span = InkSpan(*line, *raster);
    if (IsRectEmpty(&span) || span.right - span.left - 2 * BoxSlack > maxInkWidth ||
        span.bottom - span.top - 2 * BoxSlack > maxInkHeight) {
        return false;
    }
    const int left = std::max(0, static_cast<int>(span.left) - InkMargin);
    const int right = std::min(raster->width, static_cast<int>(span.right) + InkMargin);
    return DrawWindow(line, left, right - left, true, raster);
}

// Places the line and draws it whole, or just around its ink when that can fit.
bool PlaceAndDraw(const wchar_t* line, int fontHeight, bool whole, int maxInkWidth,
                  int maxInkHeight, LineRaster* raster) {
    OpenGlyphLayouts();
    HGDIOBJ formerFont = nullptr;
    PlacedLine placed = {};
    const bool drawn = PlaceLine(line, fontHeight, raster, &formerFont, &placed) &&
                       (whole ? DrawWindow(&placed, 0, raster->width, false, raster)
                              : DrawInkWindow(&placed, maxInkWidth, maxInkHeight, raster));
    if (formerFont != nullptr) {
        SelectObject(DcOf(raster), formerFont);
    }
    FreePlacedLine(&placed);
    CloseGlyphLayouts();
    return drawn;
}

} // namespace

bool RasterizeLine(const wchar_t* line, int fontHeight, LineRaster* raster) {
    return PlaceAndDraw(line, fontHeight, true, 0, 0, raster);
}

bool RasterizeLineForIcon(const wchar_t* line, int fontHeight, int maxInkWidth, int maxInkHeight,
                          LineRaster* raster) {
    return PlaceAndDraw(line, fontHeight, false, maxInkWidth, maxInkHeight, raster);
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
                                  &rasters[line]) ||
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
