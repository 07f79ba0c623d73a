#include "calendar/calendar_paint.h"

#include <cwchar>

#include "calendar/calendar_dates.h"
#include "calendar/flyout_palette.h"
#include "common/dpi_scale.h"
#include "common/strings.h"
#include "settings/theme_preference.h"

namespace {

// High contrast takes the system's colours; the row of the selected week gets a frame.
const int HighContrastPalette[PaletteRoles] = {
    COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_GRAYTEXT,     COLOR_WINDOWTEXT,
    COLOR_WINDOW, COLOR_HIGHLIGHT,  COLOR_HIGHLIGHTTEXT};

RECT ToRect(FlyoutRect rect) {
    return RECT{rect.left, rect.top, rect.right, rect.bottom};
}

// Read at every paint, so that a change of theme shows at once. True in high contrast.
bool ReadPalette(COLORREF* palette) {
    HIGHCONTRASTW contrast = {sizeof(contrast), 0, nullptr};
    const bool highContrast =
        SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
        (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
    const uint32_t* fixed =
        ThemeValueIsLight(L"AppsUseLightTheme", true) ? LightPalette : DarkPalette;
    for (int role = 0; role < PaletteRoles; ++role) {
        palette[role] = highContrast ? GetSysColor(HighContrastPalette[role]) : fixed[role];
    }
    return highContrast;
}

// The user's message font at the DPI, and its bold cut for the title.
void CreateFlyoutFonts(UINT dpi, HFONT* regular, HFONT* bold) {
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi);
    *regular = CreateFontIndirectW(&metrics.lfMessageFont);
    metrics.lfMessageFont.lfWeight = FW_BOLD;
    *bold = CreateFontIndirectW(&metrics.lfMessageFont);
}

void DrawCentred(HDC dc, const wchar_t* text, RECT box, COLORREF colour) {
    SetTextColor(dc, colour);
    DrawTextW(dc, text, -1, &box,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void FillBox(HDC dc, const RECT& box, COLORREF colour) {
    SetDCBrushColor(dc, colour);
    FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// A disc of the diameter with its top-left corner there; the DC's pen is the null pen.
void FillDisc(HDC dc, int left, int top, int diameter, COLORREF colour) {
    SetDCBrushColor(dc, colour);
    Ellipse(dc, left, top, left + diameter + 1, top + diameter + 1);
}

// The selected week's row: tinted, and in high contrast framed in the highlight colour, since
// the system's palette has no tint.
void MarkSelectedRow(HDC dc, const RECT& row, const COLORREF* palette, int frame) {
    FillBox(dc, row, palette[RowTint]);
    if (frame > 0) {
        const int edge = frame;
        const RECT sides[4] = {{row.left, row.top, row.right, row.top + edge},
                               {row.left, row.bottom - edge, row.right, row.bottom},
                               {row.left, row.top, row.left + edge, row.bottom},
                               {row.right - edge, row.top, row.right, row.bottom}};
        for (const RECT& side : sides) {
            FillBox(dc, side, palette[Accent]);
        }
    }
}

void DrawGrid(HDC dc, const CalendarFlyout* flyout, const COLORREF* palette, bool highContrast) {
    const FlyoutLayout& layout = flyout->layout;
    MonthGrid grid;
    BuildMonthGrid(flyout->selected.year, flyout->selected.month, &grid);
    const int inset = ScaleToDpi(2, flyout->dpi);
    const int diameter = layout.rowHeight - 2 * inset;
    for (int row = 0; row < CalendarRows; ++row) {
        wchar_t text[16];
        COLORREF rowColour = palette[Background];
        for (int column = 0; column < CalendarColumns; ++column) {
            if (SameDate(grid.cells[row * CalendarColumns + column], flyout->selected)) {
                rowColour = palette[RowTint];
                MarkSelectedRow(dc, ToRect(FlyoutRowRect(layout, row)), palette,
                                highContrast ? inset : 0);
            }
        }
        FormatString(text, 16, L"%d", grid.rowWeeks[row].week);
        DrawCentred(dc, text, ToRect(FlyoutWeekRect(layout, row)),
                    palette[GridRowShown(grid, row) ? WeekNumber : Dimmed]);
        for (int column = 0; column < CalendarColumns; ++column) {
            const int index = row * CalendarColumns + column;
            const CalendarDate date = grid.cells[index];
            const RECT cell = ToRect(FlyoutCellRect(layout, index));
            const int left = (cell.left + cell.right - diameter) / 2;
            const int circleTop = cell.top + inset;
            const bool today = SameDate(date, flyout->today);
            COLORREF colour =
                date.month == grid.month && DateShown(date) ? palette[Text] : palette[Dimmed];
            if (today) { // a ring: the accent's disc with the row's colour inside
                FillDisc(dc, left, circleTop, diameter, palette[Accent]);
                FillDisc(dc, left + inset, circleTop + inset, diameter - 2 * inset, rowColour);
            }
            if (SameDate(date, flyout->selected)) { // inside today's ring when both are here
                const int gap = today ? 2 * inset : 0;
                FillDisc(dc, left + gap, circleTop + gap, diameter - 2 * gap, palette[Accent]);
                colour = palette[AccentText];
            }
            FormatString(text, 16, L"%d", date.day);
            DrawCentred(dc, text, cell, colour);
        }
    }
}

void DrawCalendar(HDC dc, const RECT& client, const CalendarFlyout* flyout) {
    const FlyoutLayout& layout = flyout->layout;
    HFONT font;
    HFONT boldFont;
    CreateFlyoutFonts(flyout->dpi, &font, &boldFont);
    COLORREF palette[PaletteRoles];
    const bool highContrast = ReadPalette(palette);
    HGDIOBJ oldFont = SelectObject(dc, boldFont);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(DC_BRUSH));
    SetBkMode(dc, TRANSPARENT);

    FillBox(dc, client, palette[Dimmed]);
    const RECT inside = {1, 1, client.right - 1, client.bottom - 1};
    FillBox(dc, inside, palette[Background]);
    wchar_t text[96];
    FormatCalendarTitle(flyout, text, 96);
    DrawCentred(dc, text, ToRect(FlyoutTitleRect(layout)), palette[Text]);
    DrawCentred(dc, L"\x2039", ToRect(FlyoutPreviousRect(layout)), palette[Text]);
    DrawCentred(dc, L"\x203A", ToRect(FlyoutNextRect(layout)), palette[Text]);

    SelectObject(dc, font);
    for (int column = 0; column < CalendarColumns; ++column) {
        if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SABBREVDAYNAME1 + column, text, 96) ==
            0) {
            text[0] = L'\0';
        }
        DrawCentred(dc, text, ToRect(FlyoutWeekdayRect(layout, column)), palette[Dimmed]);
    }
    DrawGrid(dc, flyout, palette, highContrast);
    FormatFooter(flyout, text, 96);
    DrawCentred(dc, text, ToRect(FlyoutFooterRect(layout)), palette[Text]);

    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldFont);
    DeleteObject(boldFont);
    DeleteObject(font);
}

int TextWidth(HDC dc, const wchar_t* text) {
    SIZE size = {0, 0};
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
    return size.cx;
}

} // namespace

// The widest weekday name and month title of the locale, and a footer with the widest dates.
void MeasureCalendar(HWND window, CalendarFlyout* flyout) {
    FlyoutTextExtents extents = {};
    HFONT font;
    HFONT boldFont;
    CreateFlyoutFonts(flyout->dpi, &font, &boldFont);
    HDC dc = GetDC(window);
    if (dc != nullptr) {
        TEXTMETRICW metrics;
        HGDIOBJ oldFont = SelectObject(dc, boldFont);
        GetTextMetricsW(dc, &metrics);
        extents.boldHeight = metrics.tmHeight;
        wchar_t text[96];
        for (int32_t month = 1; month <= 12; ++month) {
            FormatCalendarDate(CalendarDate{flyout->selected.year, month, 1}, DATE_YEARMONTH, text,
                               96);
            const int width = TextWidth(dc, text);
            extents.titleWidth = width > extents.titleWidth ? width : extents.titleWidth;
        }
        SelectObject(dc, font);
        GetTextMetricsW(dc, &metrics);
        extents.textHeight = metrics.tmHeight;
        extents.averageCharWidth = metrics.tmAveCharWidth;
        extents.dayWidth = TextWidth(dc, L"88");
        for (int column = 0; column < CalendarColumns; ++column) {
            if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SABBREVDAYNAME1 + column, text,
                                96) != 0) {
                const int width = TextWidth(dc, text);
                extents.weekdayWidth = width > extents.weekdayWidth ? width : extents.weekdayWidth;
            }
        }
        // A week in mid-December: two-digit days and months, as wide as dates get.
        CalendarFlyout sample = *flyout;
        sample.selected = CalendarDate{flyout->selected.year, 12, 20};
        sample.typedDigits = 0;
        FormatFooter(&sample, text, 96);
        extents.footerWidth = TextWidth(dc, text);
        SelectObject(dc, oldFont);
        ReleaseDC(window, dc);
    }
    DeleteObject(boldFont);
    DeleteObject(font);
    flyout->layout = MeasureFlyoutLayout(extents, flyout->dpi);
}

// Drawn off screen and copied in one piece, so that it never flickers.
void PaintCalendar(HWND window, HDC target, const CalendarFlyout* flyout) {
    RECT client;
    GetClientRect(window, &client);
    HDC dc = CreateCompatibleDC(target);
    HBITMAP bitmap = CreateCompatibleBitmap(target, client.right, client.bottom);
    if (dc != nullptr && bitmap != nullptr) {
        HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
        DrawCalendar(dc, client, flyout);
        BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
        SelectObject(dc, oldBitmap);
    }
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
    if (dc != nullptr) {
        DeleteDC(dc);
    }
}
