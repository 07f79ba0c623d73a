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

bool RasterizeLine(const wchar_t* line, int fontHeight, LineRaster* raster) {
    const int length = lstrlenW(line);
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

    SIZE extent = {};
    HGDIOBJ formerFont = SelectObject(DcOf(raster), raster->font);
    const BOOL measured = GetTextExtentPoint32W(DcOf(raster), line, length, &extent);
    SelectObject(DcOf(raster), formerFont);
    if (!measured) {
        return false;
    }

    // Bold glyphs may reach outside their text cell: m + 2 free pixels on every side keep
    // them inside the raster.
    const int margin = fontHeight / 2;
    raster->width = extent.cx + 2 * margin + 4;
    raster->height = extent.cy + 2 * margin + 4;

    BITMAPINFO info;
    DescribeTopDownDib(&info, raster->width, raster->height);
    void* bits = nullptr;
    raster->bitmap = CreateDIBSection(DcOf(raster), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (raster->bitmap == nullptr || bits == nullptr) {
        return false;
    }
    raster->pixels = static_cast<uint8_t*>(bits);
    raster->previousBitmap = SelectObject(DcOf(raster), raster->bitmap);
    std::memset(raster->pixels, 0, PixelBytes(raster->width, raster->height));

    SetBkMode(DcOf(raster), TRANSPARENT);
    SetTextColor(DcOf(raster), RGB(255, 255, 255));
    formerFont = SelectObject(DcOf(raster), raster->font);
    TextOutW(DcOf(raster), margin + 2, margin + 2, line, length);
    SelectObject(DcOf(raster), formerFont);
    return true;
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
        if (!RasterizeLine(lines[line], fontHeight, &rasters[line]) ||
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
