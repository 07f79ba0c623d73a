#include "preview_render.h"

#include <cwchar>

#include "common/app_state.h"
#include "common/platform.h"
#include "icon/icon_text.h"
#include "icon/week_icon.h"

namespace {

int chosenEdge = 16;

int WINAPI ChosenEdgeMetric(int, UINT) {
    return chosenEdge;
}

} // namespace

bool ReadIconPixels(HICON icon, PreviewImage* image) {
    ICONINFO info = {};
    if (!GetIconInfo(icon, &info)) {
        return false;
    }
    BITMAP colour = {};
    GetObjectW(info.hbmColor, sizeof(colour), &colour);
    BITMAPINFO request = {};
    request.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    request.bmiHeader.biWidth = colour.bmWidth;
    request.bmiHeader.biHeight = -colour.bmHeight;
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    image->width = colour.bmWidth;
    image->height = colour.bmHeight;
    image->pixels.assign(static_cast<size_t>(colour.bmWidth) * colour.bmHeight * 4, 0);
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, info.hbmColor, 0, colour.bmHeight, image->pixels.data(),
                               &request, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return rows == colour.bmHeight;
}

bool RenderPreviewIcon(const PreviewIconSettings& settings, PreviewImage* icon) {
    wchar_t label[WeekLabelCapacity] = {};
    if (!FormatWeekLabel(settings.week.week, settings.leadingZero, label)) {
        return false;
    }
    const wchar_t* lines[2] = {nullptr, nullptr};
    const int lineCount =
        ArrangeIconLines(label, settings.line.c_str(), settings.linePosition, lines);

    appState.settings.colourScheme = settings.colourScheme;
    appState.settings.textColour = settings.textColour;
    appState.settings.backgroundColour = settings.backgroundColour;
    lstrcpynW(appState.settings.fontFace, settings.fontFace.c_str(), 32);
    if (settings.edge != 0) {
        chosenEdge = settings.edge;
        platform.getSystemMetricsForDpi = ChosenEdgeMetric;
    }
    HICON made = RenderWeekIcon(lines, lineCount);
    ResetPlatformCalls();
    if (made == nullptr) {
        return false;
    }
    const bool read = ReadIconPixels(made, icon);
    DestroyIcon(made);
    return read;
}
