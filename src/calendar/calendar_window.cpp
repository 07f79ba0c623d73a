#include "calendar/calendar_window.h"

#include <windows.h>
#include <windowsx.h>
#include <shellapi.h>

#include <cwchar>

#include "calendar/calendar_accessible.h"
#include "calendar/calendar_flyout.h"
#include "calendar/flyout_palette.h"
#include "calendar/month_model.h"
#include "common/app_state.h"
#include "common/dpi_scale.h"
#include "common/foreground_return.h"
#include "common/platform.h"
#include "common/strings.h"
#include "settings/theme_preference.h"
#include "text/ui_text.h"
#include "week/iso_week.h"

namespace {

const wchar_t CalendarClassName[] = L"PellowDune.Kivet.Calendar";

// Space between the flyout and the taskbar or the screen's edge, in 96-DPI units.
constexpr int EdgeGap = 12;
// How long a press on the icon that took the activation away may last before its select
// comes; a note older than this is from a press that ended elsewhere, without a select.
constexpr DWORD IconPressLifetime = 10000;

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

CalendarDate Today() {
    SYSTEMTIME now;
    platform.getLocalTime(&now);
    return CalendarDate{now.wYear, now.wMonth, now.wDay};
}

} // namespace

CalendarFlyout* FlyoutOf(HWND window) {
    return reinterpret_cast<CalendarFlyout*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

RECT CalendarCellRect(const CalendarFlyout* flyout, int index) {
    return ToRect(FlyoutCellRect(flyout->layout, index));
}

RECT CalendarButtonRect(const CalendarFlyout* flyout, bool next) {
    return ToRect(next ? FlyoutNextRect(flyout->layout) : FlyoutPreviousRect(flyout->layout));
}

void FormatLocaleDate(CalendarDate date, DWORD flags, wchar_t* text, int capacity) {
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(date.year);
    time.wMonth = static_cast<WORD>(date.month);
    time.wDay = static_cast<WORD>(date.day);
    if (GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, flags, &time, nullptr, text, capacity, nullptr) ==
        0) {
        text[0] = L'\0';
    }
}

// "Week 49: 30/11/2026 – 06/12/2026", or the week number being typed.
void FormatFooter(const CalendarFlyout* flyout, wchar_t* text, int capacity) {
    if (flyout->typedDigits > 0) {
        FormatString(text, capacity, UiText(TextFooterGoToWeek), flyout->typedWeek);
        return;
    }
    const CalendarDate monday = MondayOfWeek(flyout->selected);
    wchar_t first[40];
    wchar_t last[40];
    FormatLocaleDate(monday, DATE_SHORTDATE, first, 40);
    FormatLocaleDate(LastShownDayOfWeek(monday), DATE_SHORTDATE, last, 40);
    const IsoWeekDate week =
        ComputeIsoWeek(flyout->selected.year, flyout->selected.month, flyout->selected.day);
    FormatString(text, capacity, UiText(TextFooterWeek), week.week, first, last);
}

namespace {

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
        DrawCentred(dc, text, ToRect(FlyoutWeekRect(layout, row)), palette[WeekNumber]);
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
    FormatLocaleDate(flyout->selected, DATE_YEARMONTH, text, 96);
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

// Lays the flyout out for its font at its DPI: the widest weekday name and month title of
// the locale, and a footer with the widest dates.
void MeasureFlyout(HWND window, CalendarFlyout* flyout) {
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
            FormatLocaleDate(CalendarDate{flyout->selected.year, month, 1}, DATE_YEARMONTH, text,
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

// Next to the anchor, on its side of the taskbar, whole inside the monitor's work area.
void PlaceCalendar(HWND window, const CalendarFlyout* flyout) {
    const POINT anchor = flyout->anchor;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromPoint(anchor, MONITOR_DEFAULTTONEAREST), &monitor);
    APPBARDATA taskbar = {};
    taskbar.cbSize = sizeof(taskbar);
    const bool taskbarKnown = SHAppBarMessage(ABM_GETTASKBARPOS, &taskbar) != 0;
    const RECT& work = monitor.rcWork;
    const RECT& screen = monitor.rcMonitor;
    const FlyoutRect workArea = {work.left, work.top, work.right, work.bottom};
    const TaskbarSide side = FindTaskbarSide(
        FlyoutRect{screen.left, screen.top, screen.right, screen.bottom}, workArea,
        FlyoutPoint{anchor.x, anchor.y}, taskbarKnown,
        FlyoutRect{taskbar.rc.left, taskbar.rc.top, taskbar.rc.right, taskbar.rc.bottom});
    const int width = flyout->layout.clientWidth;
    const int height = flyout->layout.clientHeight;
    const FlyoutPoint corner = PlaceFlyout(workArea, side, FlyoutPoint{anchor.x, anchor.y}, width,
                                           height, ScaleToDpi(EdgeGap, flyout->dpi));
    SetWindowPos(window, nullptr, corner.x, corner.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The notification icon's rectangle on the screen, where the shell can tell it.
bool TrayIconRect(RECT* rect) {
    NOTIFYICONIDENTIFIER icon = {};
    icon.cbSize = sizeof(icon);
    icon.hWnd = appState.mainWindow;
    icon.uID = TrayIconId;
    return SUCCEEDED(Shell_NotifyIconGetRect(&icon, rect));
}

POINT AnchorPoint(WPARAM anchor) {
    POINT point = {GET_X_LPARAM(anchor), GET_Y_LPARAM(anchor)};
    if (point.x != 0 || point.y != 0) {
        return point;
    }
    RECT rect;
    if (TrayIconRect(&rect)) {
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    GetCursorPos(&point);
    return point;
}

// The icon's rectangle from the shell, or, where the shell cannot tell, a square of twice
// the small icon's edge around the point the flyout opened at.
RECT IconRect(const CalendarFlyout* flyout) {
    RECT rect;
    if (TrayIconRect(&rect)) {
        return rect;
    }
    const int edge = GetSystemMetricsForDpi(SM_CXSMICON, flyout->dpi);
    return RECT{flyout->anchor.x - edge, flyout->anchor.y - edge, flyout->anchor.x + edge,
                flyout->anchor.y + edge};
}

// At the deactivation: is the primary button down on the icon? Then this is a click on the
// icon, whose select follows (at once, or when a long press ends).
void NoteIconPress(const CalendarFlyout* flyout) {
    const int primary = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    POINT cursor;
    const RECT icon = IconRect(flyout);
    appState.calendarIconPressed =
        platform.getAsyncKeyState(primary) < 0 && GetCursorPos(&cursor) && PtInRect(&icon, cursor);
    appState.calendarIconPressedAt = GetTickCount();
}

// Puts the selected day's ISO week on the clipboard, as "2026-W49".
void CopyWeek(HWND window, CalendarDate date) {
    const IsoWeekDate week = ComputeIsoWeek(date.year, date.month, date.day);
    wchar_t text[16];
    const int length = FormatString(text, 16, L"%04d-W%02d", week.year, week.week);
    if (length <= 0 || !OpenClipboard(window)) {
        return;
    }
    EmptyClipboard();
    const SIZE_T bytes = (length + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory != nullptr) {
        bool handedOver = false; // the clipboard owns the block once it took it
        void* destination = GlobalLock(memory);
        if (destination != nullptr) {
            CopyMemory(destination, text, bytes);
            GlobalUnlock(memory);
            handedOver = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        }
        if (!handedOver) {
            // cppcheck-suppress doubleFree ; a refused SetClipboardData leaves the block ours.
            GlobalFree(memory);
        }
    }
    CloseClipboard();
}

void Select(HWND window, CalendarFlyout* flyout, CalendarDate date) {
    if (!DateShown(date)) {
        return;
    }
    const CalendarDate previous = flyout->selected;
    flyout->selected = date;
    flyout->typedDigits = 0;
    flyout->typedWeek = 0;
    InvalidateRect(window, nullptr, FALSE);
    NotifyCalendarSelection(window, flyout, previous);
}

void OnKey(HWND window, CalendarFlyout* flyout, WPARAM key) {
    const bool control = GetKeyState(VK_CONTROL) < 0;
    const CalendarDate selected = flyout->selected;
    switch (key) {
    case VK_ESCAPE:
        CloseCalendarFlyout();
        return;
    case VK_LEFT:
    case VK_RIGHT:
        Select(window, flyout, AddDays(selected, key == VK_LEFT ? -1 : 1));
        return;
    case VK_UP:
    case VK_DOWN:
        Select(window, flyout, AddDays(selected, key == VK_UP ? -7 : 7));
        return;
    case VK_PRIOR:
    case VK_NEXT:
        Select(window, flyout,
               AddMonths(selected, (key == VK_PRIOR ? -1 : 1) * (control ? 12 : 1)));
        return;
    case VK_HOME:
        Select(window, flyout, flyout->today);
        return;
    case VK_RETURN: {
        CalendarDate monday = selected;
        if (flyout->typedDigits > 0) {
            const IsoWeekDate week = ComputeIsoWeek(selected.year, selected.month, selected.day);
            MondayOfIsoWeek(week.year, flyout->typedWeek, &monday);
        }
        Select(window, flyout, monday);
        return;
    }
    case VK_BACK:
        if (flyout->typedDigits > 0) {
            flyout->typedDigits -= 1;
            flyout->typedWeek /= 10;
            InvalidateRect(window, nullptr, FALSE);
            NotifyCalendarValue(window);
        }
        return;
    case 'C':
        if (control) {
            CopyWeek(window, selected);
        }
        return;
    default:
        return;
    }
}

void OnClick(HWND window, CalendarFlyout* flyout, int x, int y) {
    const int target = FlyoutHitTest(flyout->layout, FlyoutPoint{x, y});
    if (target == TargetPrevious || target == TargetNext) {
        Select(window, flyout, AddMonths(flyout->selected, target == TargetPrevious ? -1 : 1));
    } else if (target >= 0) {
        MonthGrid grid;
        BuildMonthGrid(flyout->selected.year, flyout->selected.month, &grid);
        const int cell =
            target >= FlyoutWeekRow ? (target - FlyoutWeekRow) * CalendarColumns : target;
        Select(window, flyout, grid.cells[cell]);
    }
}

void OnWheel(HWND window, CalendarFlyout* flyout, int delta) {
    const int32_t months = TakeWheelMonths(&flyout->wheelRemainder, delta);
    if (months != 0) {
        Select(window, flyout, AddMonths(flyout->selected, months));
    }
}

// The flyout's block passes to its window at WM_NCCREATE, which frees it at WM_NCDESTROY;
// until then it is the opener's.
struct FlyoutCreation {
    CalendarFlyout* flyout;
};

LRESULT CALLBACK CalendarWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CalendarFlyout* flyout = FlyoutOf(window);
    if (message == WM_NCCREATE) {
        const CREATESTRUCTW* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        FlyoutCreation* handover = static_cast<FlyoutCreation*>(creation->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(handover->flyout));
        handover->flyout = nullptr;
    }
    if (flyout == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
    // Screen readers and Magnifier.
    case WM_GETOBJECT:
        return AnswerCalendarObjectRequest(window, flyout, wParam, lParam);
    case WM_SETFOCUS:
        CreateCalendarCaret(window, flyout);
        return 0;
    case WM_KILLFOCUS:
        DestroyCaret();
        return 0;
    case WM_DESTROY:
        ReleaseCalendarAccessibility(flyout);
        return 0;
    case WM_NCDESTROY:
        // Also reached when the main window goes and takes its owned windows with it.
        if (appState.calendarWindow == window) {
            appState.calendarWindow = nullptr;
        }
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        FreeHeapBlock(flyout);
        return 0;
    case WM_ACTIVATE:
        // Another window took over: a click elsewhere, or the taskbar when the icon is clicked.
        if (LOWORD(wParam) == WA_INACTIVE && appState.calendarWindow == window) {
            NoteIconPress(flyout);
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
        return DefWindowProcW(window, message, wParam, lParam); // gives the keyboard focus
    case WM_CLOSE:
        CloseCalendarFlyout();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        if (dc != nullptr) {
            PaintCalendar(window, dc, flyout);
        }
        EndPaint(window, &paint);
        return 0;
    }
    case WM_KEYDOWN:
        OnKey(window, flyout, wParam);
        return 0;
    case WM_CHAR:
        if (wParam >= L'0' && wParam <= L'9' && flyout->typedDigits < 3) {
            flyout->typedWeek = flyout->typedWeek * 10 + static_cast<int32_t>(wParam - L'0');
            flyout->typedDigits += 1;
            InvalidateRect(window, nullptr, FALSE);
            NotifyCalendarValue(window);
        }
        return 0;
    case WM_LBUTTONDOWN:
        OnClick(window, flyout, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSEWHEEL:
        OnWheel(window, flyout, GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_DPICHANGED: {
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        flyout->dpi = LOWORD(wParam);
        MeasureFlyout(window, flyout);
        SetWindowPos(window, nullptr, suggested->left, suggested->top, flyout->layout.clientWidth,
                     flyout->layout.clientHeight, SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    }
    case WM_SETTINGCHANGE: // the message font may have changed size
        MeasureFlyout(window, flyout);
        PlaceCalendar(window, flyout);
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void OpenCalendarFlyout(WPARAM anchorWord, bool fromKeyboard) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = CalendarWindowProc;
    windowClass.hInstance = appState.instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = CalendarClassName;
    RegisterClassExW(&windowClass);
    CalendarFlyout* flyout = static_cast<CalendarFlyout*>(AllocateZeroed(sizeof(CalendarFlyout)));
    FlyoutCreation creation = {flyout};
    HWND window = nullptr;
    if (flyout != nullptr) {
        flyout->today = Today();
        flyout->selected = flyout->today;
        flyout->anchor = AnchorPoint(anchorWord);
        flyout->openedByKey = fromKeyboard ? 1 : 0;
        flyout->returnWindow = WindowToReturnTo();
        // Popup and owned: no taskbar button; made at the anchor to learn that monitor's DPI.
        window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, CalendarClassName,
                                 UiText(TextCalendarWindow), WS_POPUP, flyout->anchor.x,
                                 flyout->anchor.y, 1, 1, appState.mainWindow, nullptr,
                                 appState.instance, &creation);
    }
    if (window == nullptr) {
        FreeHeapBlock(creation.flyout); // null once the window took it
        UnregisterClassW(CalendarClassName, appState.instance);
        return;
    }
    appState.calendarWindow = window;
    flyout->dpi = GetDpiForWindow(window);
    MeasureFlyout(window, flyout);
    PlaceCalendar(window, flyout);
    ShowWindow(window, SW_SHOW);
    // The shell lets the clicked icon's program take the foreground; take it, or the keys
    // would go to the window that had them. A topmost flyout without the keys would never
    // learn of a click elsewhere either, so it does not stay where it is refused.
    SetForegroundWindow(window);
    if (GetForegroundWindow() != window) {
        appState.calendarWindow = nullptr;
        DestroyWindow(window);
        UnregisterClassW(CalendarClassName, appState.instance);
        return;
    }
    SetFocus(window);
    UpdateWindow(window);
}

} // namespace

void ToggleCalendarFlyout(WPARAM anchor, bool fromKeyboard) {
    // The click on the icon that took the activation from the flyout brings its select after
    // the deactivation, sent or posted, at once or when a long press ends; it may find the
    // flyout not yet closed.
    const bool clickThatClosed =
        appState.calendarIconPressed != 0 && !fromKeyboard &&
        GetTickCount() - appState.calendarIconPressedAt < IconPressLifetime;
    appState.calendarIconPressed = 0;
    if (appState.calendarWindow != nullptr) {
        CloseCalendarFlyout();
    } else if (!clickThatClosed) {
        OpenCalendarFlyout(anchor, fromKeyboard);
    }
}

void CloseCalendarFlyout() {
    HWND window = appState.calendarWindow;
    if (window != nullptr) {
        appState.calendarWindow = nullptr;
        // Where the flyout still has the keys, they go back before it goes, or the system
        // would hand them to its owner, the hidden main window.
        const CalendarFlyout* flyout = FlyoutOf(window);
        if (GetForegroundWindow() == window &&
            (flyout->openedByKey || !ReturnForegroundTo(flyout->returnWindow))) {
            NOTIFYICONDATAW icon = {};
            icon.cbSize = sizeof(icon);
            icon.hWnd = appState.mainWindow;
            icon.uID = TrayIconId;
            platform.shellNotifyIcon(NIM_SETFOCUS, &icon);
        }
        DestroyWindow(window);
    }
    UnregisterClassW(CalendarClassName, appState.instance);
}

void RefreshCalendarToday() {
    HWND window = appState.calendarWindow;
    if (window == nullptr) {
        return;
    }
    CalendarFlyout* flyout = FlyoutOf(window);
    const CalendarDate today = Today();
    const CalendarDate previous = flyout->selected;
    if (SameDate(flyout->selected, flyout->today)) {
        flyout->selected = today;
    }
    flyout->today = today;
    InvalidateRect(window, nullptr, FALSE);
    NotifyCalendarSelection(window, flyout, previous);
}
