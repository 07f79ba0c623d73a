#include "icon/icon_test_support.h"

#include <cstring>

#include "common/platform.h"
#include "icon/icon_core.h"
#include "icon/week_icon_steps.h"

namespace {

int answeredMetric = 0;
int lastIndex = -1;
UINT lastDpi = 0;

int WINAPI AnswerMetric(int index, UINT dpi) {
    lastIndex = index;
    lastDpi = dpi;
    return answeredMetric;
}

} // namespace

void AnswerSmallIconMetric(int metric) {
    answeredMetric = metric;
    lastIndex = -1;
    lastDpi = 0;
    platform.getSystemMetricsForDpi = AnswerMetric;
}

int LastMetricIndexAsked() {
    return lastIndex;
}

UINT LastMetricDpiAsked() {
    return lastDpi;
}

IconReadBack ReadIcon(HICON icon) {
    IconReadBack result = {};
    ICONINFO info = {};
    if (icon == nullptr || !GetIconInfo(icon, &info)) {
        return result;
    }
    BITMAP colour = {};
    GetObjectW(info.hbmColor, sizeof(colour), &colour);
    result.width = colour.bmWidth;
    result.height = colour.bmHeight;
    result.bitsPerPixel = colour.bmBitsPixel;

    HDC screen = GetDC(nullptr);
    BITMAPINFO request = {};
    request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    request.bmiHeader.biWidth = colour.bmWidth;
    request.bmiHeader.biHeight = -colour.bmHeight;
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    result.pixels.resize(static_cast<size_t>(colour.bmWidth) * colour.bmHeight * 4);
    const int colourRows = GetDIBits(screen, info.hbmColor, 0, colour.bmHeight,
                                     result.pixels.data(), &request, DIB_RGB_COLORS);

    // A monochrome request: 1 bit per pixel, rows padded to 32 bits, and two palette entries.
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD palette[2];
    } maskRequest = {};
    maskRequest.header.biSize = sizeof(BITMAPINFOHEADER);
    maskRequest.header.biWidth = colour.bmWidth;
    maskRequest.header.biHeight = -colour.bmHeight;
    maskRequest.header.biPlanes = 1;
    maskRequest.header.biBitCount = 1;
    maskRequest.header.biCompression = BI_RGB;
    const size_t maskStride = ((static_cast<size_t>(colour.bmWidth) + 31) / 32) * 4;
    std::vector<uint8_t> mask(maskStride * colour.bmHeight, 0xEE);
    const int maskRows = GetDIBits(screen, info.hbmMask, 0, colour.bmHeight, mask.data(),
                                   reinterpret_cast<BITMAPINFO*>(&maskRequest), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);

    result.maskAllZero = true;
    for (int y = 0; y < colour.bmHeight; ++y) {
        for (int x = 0; x < colour.bmWidth; ++x) {
            if ((mask[y * maskStride + x / 8] & (0x80 >> (x % 8))) != 0) {
                result.maskAllZero = false;
            }
        }
    }
    result.ok = colourRows == colour.bmHeight && maskRows == colour.bmHeight;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return result;
}

ExpectedIcon ComposeExpectedIcon(const wchar_t* const* lines, int lineCount, int edge,
                                 int32_t colourScheme) {
    ExpectedIcon expected = {};
    const IconColours colours = PickIconColours(colourScheme);
    for (int height = 2 * edge; height >= 4 && expected.fontHeight == 0; --height) {
        LineRaster rasters[MaxIconLines];
        std::memset(rasters, 0, sizeof(rasters));
        InkStack stack = StartInkStack(lineCount);
        bool drawn = true;
        for (int line = 0; line < lineCount && drawn; ++line) {
            drawn =
                RasterizeLine(lines[line], height, &rasters[line]) && FindInkBox(&rasters[line]);
            if (drawn) {
                AddLineToInkStack(&stack, &rasters[line]);
            }
        }
        if (drawn && InkStackFits(stack, edge)) {
            expected.fontHeight = height;
            expected.canvas.assign(static_cast<size_t>(edge) * edge * 4, 0);
            ComposeIconPixels(rasters, lineCount, edge, stack.totalHeight, colours.text,
                              colours.border, expected.canvas.data());
        }
        for (int line = 0; line < lineCount; ++line) {
            ReleaseLineRaster(&rasters[line]);
        }
    }
    return expected;
}
