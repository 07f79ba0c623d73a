// gdi-week-tray: a tray program that shows the week as plainly as GDI can, to measure Kivet
// against: today's ISO week in bold Lekton, drawn once with TextOutW into a small-icon-sized
// bitmap, black ink on a clear ground. Otherwise as minimal-tray.
#include "reference_tray.h"

#include "week/iso_week.h"

namespace {

// Every pixel the text touched becomes opaque black; the rest stays clear.
HICON DrawWeekIcon(int week) {
    const int edge = GetSystemMetrics(SM_CXSMICON);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = edge;
    info.bmiHeader.biHeight = -edge;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP colour = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HBITMAP mask = CreateBitmap(edge, edge, 1, 1, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontW(-edge, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                             DEFAULT_PITCH, L"Lekton");
    HICON icon = nullptr;
    if (colour != nullptr && mask != nullptr && dc != nullptr && font != nullptr) {
        HGDIOBJ oldBitmap = SelectObject(dc, colour);
        HGDIOBJ oldFont = SelectObject(dc, font);
        wchar_t text[4];
        int length = wsprintfW(text, L"%d", week);
        SIZE extent = {0, 0};
        GetTextExtentPoint32W(dc, text, length, &extent);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(255, 255, 255));
        TextOutW(dc, (edge - extent.cx) / 2, (edge - extent.cy) / 2, text, length);
        GdiFlush();
        DWORD* pixels = static_cast<DWORD*>(bits);
        for (int index = 0; index < edge * edge; ++index) {
            pixels[index] = pixels[index] != 0 ? 0xFF000000 : 0;
        }
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBitmap);
        ICONINFO parts = {TRUE, 0, 0, mask, colour};
        icon = CreateIconIndirect(&parts);
    }
    if (font != nullptr) {
        DeleteObject(font);
    }
    if (dc != nullptr) {
        DeleteDC(dc);
    }
    if (mask != nullptr) {
        DeleteObject(mask);
    }
    if (colour != nullptr) {
        DeleteObject(colour);
    }
    return icon;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    SYSTEMTIME today;
    GetLocalTime(&today);
    IsoWeekDate date = ComputeIsoWeek(today.wYear, today.wMonth, today.wDay);
    HICON icon = DrawWeekIcon(date.week);
    int exitCode = RunReferenceTray(instance, L"Kivet.GdiWeekTray", icon, L"GDI week");
    if (icon != nullptr) {
        DestroyIcon(icon);
    }
    return exitCode;
}
