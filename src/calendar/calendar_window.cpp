#include "calendar/calendar_window.h"

#include <windows.h>
#include <windowsx.h>
#include <shellapi.h>

#include "calendar/month_model.h"
#include "common/app_state.h"
#include "common/dpi_scale.h"
#include "common/platform.h"
#include "common/strings.h"
#include "settings/theme_preference.h"
#include "text/ui_text.h"
#include "week/iso_week.h"

namespace {

const wchar_t CalendarClassName[] = L"PellowDune.Kivet.Calendar";

// Geometry in 96-DPI units: a title row with the ‹ and › buttons, the weekday names, six
// rows of a week-number column and seven day cells, and the footer.
constexpr int Margin = 8;
constexpr int TitleHeight = 34;
constexpr int HeaderHeight = 24;
constexpr int RowHeight = 30;
constexpr int WeekColumnWidth = 36;
constexpr int CellWidth = 34;
constexpr int FooterHeight = 34;
constexpr int GridTop = Margin + TitleHeight + HeaderHeight;
constexpr int GridLeft = Margin + WeekColumnWidth;
constexpr int ClientWidth = GridLeft + CalendarColumns * CellWidth + Margin;
constexpr int ClientHeight = GridTop + CalendarRows * RowHeight + FooterHeight + Margin;
// Space between the flyout and the taskbar or the screen's edge.
constexpr int EdgeGap = 12;

// What a point of the client area falls on.
enum CalendarTarget : int { TargetNothing = -1, TargetPrevious = -2, TargetNext = -3 };
constexpr int TargetWeekRow = 100; // + row; a day cell is its index 0..41

struct CalendarFlyout {
    CalendarDate today;
    CalendarDate selected;
    int32_t typedWeek;
    int32_t typedDigits;
    UINT dpi;
};

// The colours the flyout draws with, by role.
enum PaletteRole : int {
    Background,
    Text,
    Dimmed, // days of the neighbouring months, weekday names, the border
    WeekNumber,
    RowTint, // the selected day's week
    Accent,  // the selected day's fill and today's ring
    AccentText,
    PaletteRoles
};
const COLORREF LightPalette[PaletteRoles] = {
    RGB(249, 249, 249), RGB(26, 26, 26), RGB(140, 140, 140), RGB(0, 95, 184),
    RGB(224, 236, 248), RGB(0, 95, 184), RGB(255, 255, 255)};
const COLORREF DarkPalette[PaletteRoles] = {
    RGB(32, 32, 32), RGB(255, 255, 255), RGB(130, 130, 130), RGB(96, 205, 255),
    RGB(44, 58, 72), RGB(96, 205, 255),  RGB(0, 0, 0)};
const int HighContrastPalette[PaletteRoles] = {
    COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_GRAYTEXT,     COLOR_WINDOWTEXT,
    COLOR_WINDOW, COLOR_HIGHLIGHT,  COLOR_HIGHLIGHTTEXT};

RECT ScaledRect(int left, int top, int width, int height, UINT dpi) {
    return RECT{ScaleToDpi(left, dpi), ScaleToDpi(top, dpi), ScaleToDpi(left + width, dpi),
                ScaleToDpi(top + height, dpi)};
}

// Read at every paint, so that a change of theme shows at once.
void ReadPalette(COLORREF* palette) {
    HIGHCONTRASTW contrast = {sizeof(contrast), 0, nullptr};
    const bool highContrast =
        SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
        (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
    const COLORREF* fixed =
        ThemeValueIsLight(L"AppsUseLightTheme", true) ? LightPalette : DarkPalette;
    for (int role = 0; role < PaletteRoles; ++role) {
        palette[role] = highContrast ? GetSysColor(HighContrastPalette[role]) : fixed[role];
    }
}

CalendarDate Today() {
    SYSTEMTIME now;
    platform.getLocalTime(&now);
    return CalendarDate{now.wYear, now.wMonth, now.wDay};
}

CalendarFlyout* FlyoutOf(HWND window) {
    return reinterpret_cast<CalendarFlyout*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

int HitTest(UINT dpi, int x, int y) {
    const int unitX = MulDiv(x, 96, static_cast<int>(dpi));
    const int unitY = MulDiv(y, 96, static_cast<int>(dpi));
    if (unitY >= Margin && unitY < Margin + TitleHeight) {
        if (unitX >= Margin && unitX < GridLeft) {
            return TargetPrevious;
        }
        if (unitX >= ClientWidth - Margin - WeekColumnWidth && unitX < ClientWidth - Margin) {
            return TargetNext;
        }
        return TargetNothing;
    }
    const int row = (unitY - GridTop) / RowHeight;
    if (unitY < GridTop || row >= CalendarRows || unitX < Margin) {
        return TargetNothing;
    }
    if (unitX < GridLeft) {
        return TargetWeekRow + row;
    }
    const int column = (unitX - GridLeft) / CellWidth;
    return column < CalendarColumns ? row * CalendarColumns + column : TargetNothing;
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
    FormatLocaleDate(AddDays(monday, 6), DATE_SHORTDATE, last, 40);
    const IsoWeekDate week =
        ComputeIsoWeek(flyout->selected.year, flyout->selected.month, flyout->selected.day);
    FormatString(text, capacity, UiText(TextFooterWeek), week.week, first, last);
}

void DrawCentred(HDC dc, const wchar_t* text, RECT box, COLORREF colour) {
    SetTextColor(dc, colour);
    DrawTextW(dc, text, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
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

void DrawGrid(HDC dc, const CalendarFlyout* flyout, const COLORREF* palette) {
    const UINT dpi = flyout->dpi;
    MonthGrid grid;
    BuildMonthGrid(flyout->selected.year, flyout->selected.month, &grid);
    const int inset = ScaleToDpi(2, dpi);
    const int diameter = ScaleToDpi(RowHeight, dpi) - 2 * inset;
    for (int row = 0; row < CalendarRows; ++row) {
        const int top = GridTop + row * RowHeight;
        wchar_t text[16];
        COLORREF rowColour = palette[Background];
        for (int column = 0; column < CalendarColumns; ++column) {
            if (SameDate(grid.cells[row * CalendarColumns + column], flyout->selected)) {
                rowColour = palette[RowTint];
                FillBox(dc, ScaledRect(Margin, top, ClientWidth - 2 * Margin, RowHeight, dpi),
                        rowColour);
            }
        }
        FormatString(text, 16, L"%d", grid.rowWeeks[row].week);
        DrawCentred(dc, text, ScaledRect(Margin, top, WeekColumnWidth, RowHeight, dpi),
                    palette[WeekNumber]);
        for (int column = 0; column < CalendarColumns; ++column) {
            const CalendarDate date = grid.cells[row * CalendarColumns + column];
            const RECT cell =
                ScaledRect(GridLeft + column * CellWidth, top, CellWidth, RowHeight, dpi);
            const int left = (cell.left + cell.right - diameter) / 2;
            const int circleTop = cell.top + inset;
            const bool today = SameDate(date, flyout->today);
            COLORREF colour = date.month == grid.month ? palette[Text] : palette[Dimmed];
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
    const UINT dpi = flyout->dpi;
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi);
    HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
    metrics.lfMessageFont.lfWeight = FW_BOLD;
    HFONT boldFont = CreateFontIndirectW(&metrics.lfMessageFont);
    COLORREF palette[PaletteRoles];
    ReadPalette(palette);
    HGDIOBJ oldFont = SelectObject(dc, boldFont);
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(DC_BRUSH));
    SetBkMode(dc, TRANSPARENT);

    FillBox(dc, client, palette[Dimmed]);
    const RECT inside = {1, 1, client.right - 1, client.bottom - 1};
    FillBox(dc, inside, palette[Background]);
    wchar_t text[96];
    FormatLocaleDate(flyout->selected, DATE_YEARMONTH, text, 96);
    DrawCentred(dc, text,
                ScaledRect(GridLeft, Margin, CalendarColumns * CellWidth - WeekColumnWidth,
                           TitleHeight, dpi),
                palette[Text]);
    DrawCentred(dc, L"\x2039", ScaledRect(Margin, Margin, WeekColumnWidth, TitleHeight, dpi),
                palette[Text]);
    DrawCentred(dc, L"\x203A",
                ScaledRect(ClientWidth - Margin - WeekColumnWidth, Margin, WeekColumnWidth,
                           TitleHeight, dpi),
                palette[Text]);

    SelectObject(dc, font);
    for (int column = 0; column < CalendarColumns; ++column) {
        if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SABBREVDAYNAME1 + column, text, 96) ==
            0) {
            text[0] = L'\0';
        }
        DrawCentred(dc, text,
                    ScaledRect(GridLeft + column * CellWidth, Margin + TitleHeight, CellWidth,
                               HeaderHeight, dpi),
                    palette[Dimmed]);
    }
    DrawGrid(dc, flyout, palette);
    FormatFooter(flyout, text, 96);
    DrawCentred(dc, text,
                ScaledRect(Margin, GridTop + CalendarRows * RowHeight, ClientWidth - 2 * Margin,
                           FooterHeight, dpi),
                palette[Text]);

    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldFont);
    DeleteObject(boldFont);
    DeleteObject(font);
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
void PlaceCalendar(HWND window, POINT anchor, UINT dpi) {
    const int width = ScaleToDpi(ClientWidth, dpi);
    const int height = ScaleToDpi(ClientHeight, dpi);
    const int gap = ScaleToDpi(EdgeGap, dpi);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromPoint(anchor, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const RECT& screen = monitor.rcMonitor;
    int x = anchor.x - width / 2;
    int y = anchor.y - height - gap;
    if (work.left > screen.left) {
        x = work.left;
        y = anchor.y - height / 2;
    } else if (work.right < screen.right) {
        x = work.right - width;
        y = anchor.y - height / 2;
    } else if (work.top > screen.top ||
               (work.bottom == screen.bottom && anchor.y < (screen.top + screen.bottom) / 2)) {
        y = anchor.y + gap;
    }
    x = x > work.right - gap - width ? work.right - gap - width : x;
    x = x < work.left + gap ? work.left + gap : x;
    y = y > work.bottom - gap - height ? work.bottom - gap - height : y;
    y = y < work.top + gap ? work.top + gap : y;
    SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

POINT AnchorPoint(WPARAM anchor) {
    POINT point = {GET_X_LPARAM(anchor), GET_Y_LPARAM(anchor)};
    if (point.x != 0 || point.y != 0) {
        return point;
    }
    NOTIFYICONIDENTIFIER icon = {};
    icon.cbSize = sizeof(icon);
    icon.hWnd = appState.mainWindow;
    icon.uID = TrayIconId;
    RECT rect;
    if (SUCCEEDED(Shell_NotifyIconGetRect(&icon, &rect))) {
        return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }
    GetCursorPos(&point);
    return point;
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
    flyout->selected = date;
    flyout->typedDigits = 0;
    flyout->typedWeek = 0;
    InvalidateRect(window, nullptr, FALSE);
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
    const int target = HitTest(flyout->dpi, x, y);
    if (target == TargetPrevious || target == TargetNext) {
        Select(window, flyout, AddMonths(flyout->selected, target == TargetPrevious ? -1 : 1));
    } else if (target >= 0) {
        MonthGrid grid;
        BuildMonthGrid(flyout->selected.year, flyout->selected.month, &grid);
        const int cell =
            target >= TargetWeekRow ? (target - TargetWeekRow) * CalendarColumns : target;
        Select(window, flyout, grid.cells[cell]);
    }
}

LRESULT CALLBACK CalendarWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CalendarFlyout* flyout = FlyoutOf(window);
    if (message == WM_NCCREATE) {
        const CREATESTRUCTW* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    if (flyout == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
    case WM_NCDESTROY:
        // Also reached when the main window goes and takes its owned windows with it.
        if (appState.calendarWindow == window) {
            appState.calendarWindow = nullptr;
        }
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        FreeHeapBlock(flyout);
        return 0;
    case WM_ACTIVATE:
        // Another window took over, such as the taskbar when the icon is clicked: that click's
        // select event comes next and must not open the flyout again.
        if (LOWORD(wParam) == WA_INACTIVE && appState.calendarWindow == window) {
            appState.calendarDismissedAt = GetTickCount();
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
        }
        return 0;
    case WM_LBUTTONDOWN:
        OnClick(window, flyout, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSEWHEEL:
        Select(window, flyout,
               AddMonths(flyout->selected, GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? -1 : 1));
        return 0;
    case WM_DPICHANGED: {
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        flyout->dpi = LOWORD(wParam);
        SetWindowPos(window, nullptr, suggested->left, suggested->top,
                     ScaleToDpi(ClientWidth, flyout->dpi), ScaleToDpi(ClientHeight, flyout->dpi),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    }
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void OpenCalendarFlyout(WPARAM anchorWord) {
    const POINT anchor = AnchorPoint(anchorWord);
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = CalendarWindowProc;
    windowClass.hInstance = appState.instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = CalendarClassName;
    RegisterClassExW(&windowClass);
    CalendarFlyout* flyout = static_cast<CalendarFlyout*>(AllocateZeroed(sizeof(CalendarFlyout)));
    HWND window = nullptr;
    if (flyout != nullptr) {
        flyout->today = Today();
        flyout->selected = flyout->today;
        // Popup and owned: no taskbar button; made at the anchor to learn that monitor's DPI.
        window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, CalendarClassName,
                                 UiText(TextCalendarWindow), WS_POPUP, anchor.x, anchor.y, 1, 1,
                                 appState.mainWindow, nullptr, appState.instance, flyout);
    }
    if (window == nullptr) {
        FreeHeapBlock(flyout);
        UnregisterClassW(CalendarClassName, appState.instance);
        return;
    }
    appState.calendarWindow = window;
    flyout->dpi = GetDpiForWindow(window);
    PlaceCalendar(window, anchor, flyout->dpi);
    ShowWindow(window, SW_SHOW);
    // The shell lets the clicked icon's program take the foreground; take it, or the keys
    // would go to the window that had them.
    SetForegroundWindow(window);
    UpdateWindow(window);
}

} // namespace

void ToggleCalendarFlyout(WPARAM anchor) {
    if (appState.calendarWindow != nullptr) {
        CloseCalendarFlyout();
        return;
    }
    // The select is posted when the button goes up; its time, not the moment it is handled,
    // tells whether it belongs to the click that took the activation away.
    const LONG sinceDismissal = GetMessageTime() - static_cast<LONG>(appState.calendarDismissedAt);
    const LONG clickSpan = static_cast<LONG>(GetDoubleClickTime());
    if (appState.calendarDismissedAt != 0 && sinceDismissal > -clickSpan &&
        sinceDismissal < clickSpan) {
        appState.calendarDismissedAt = 0;
        return;
    }
    OpenCalendarFlyout(anchor);
}

void CloseCalendarFlyout() {
    HWND window = appState.calendarWindow;
    if (window != nullptr) {
        appState.calendarWindow = nullptr;
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
    if (SameDate(flyout->selected, flyout->today)) {
        flyout->selected = today;
    }
    flyout->today = today;
    InvalidateRect(window, nullptr, FALSE);
}
