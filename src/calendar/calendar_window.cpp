#include "calendar/calendar_window.h"

#include <windows.h>
#include <windowsx.h>
#include <shellapi.h>

#include "calendar/calendar_accessible.h"
#include "calendar/calendar_icon_press.h"
#include "calendar/calendar_paint.h"
#include "calendar/calendar_placement.h"
#include "calendar/calendar_view.h"
#include "calendar/month_model.h"
#include "common/app_state.h"
#include "common/foreground_return.h"
#include "common/platform.h"
#include "common/strings.h"
#include "text/ui_text.h"
#include "week/iso_week.h"

namespace {

const wchar_t CalendarClassName[] = L"PellowDune.Kivet.Calendar";

CalendarDate Today() {
    SYSTEMTIME now;
    platform.getLocalTime(&now);
    return CalendarDate{now.wYear, now.wMonth, now.wDay};
}

// Never shown: Magnifier and other readers of the caret follow it all the same.
void MoveCaret(const CalendarFlyout* flyout) {
    const RECT cell = CalendarCellRect(flyout, CalendarSelectedCell(flyout));
    SetCaretPos(cell.left, cell.top);
}

// The hidden caret, a day cell's size, on the selected day.
void PutCaret(HWND window, const CalendarFlyout* flyout) {
    const RECT cell = CalendarCellRect(flyout, 0);
    if (CreateCaret(window, nullptr, cell.right - cell.left, cell.bottom - cell.top)) {
        MoveCaret(flyout);
    }
}

// WM_SETFOCUS: the caret, and the selected day's focus event.
void CreateCalendarCaret(HWND window, const CalendarFlyout* flyout) {
    PutCaret(window, flyout);
    NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, CalendarSelectedCell(flyout) + 1);
}

// After a change of DPI, of the message font or of the taskbar: the layout measured again, the
// flyout placed again, and the caret with the new cell's size and place.
void Relayout(HWND window, CalendarFlyout* flyout) {
    MeasureCalendar(window, flyout);
    PlaceCalendar(window, flyout);
    if (GetFocus() == window) {
        DestroyCaret();
        PutCaret(window, flyout);
    }
    InvalidateRect(window, nullptr, FALSE);
}

// After the selection moved from `previous`: focus and selection events for the new day, a
// name change and a reorder of the table's days when the month changed, and the caret follows.
void NotifySelection(HWND window, const CalendarFlyout* flyout, CalendarDate previous) {
    if (SameDate(previous, flyout->selected)) {
        return;
    }
    if (previous.year != flyout->selected.year || previous.month != flyout->selected.month) {
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
        NotifyWinEvent(EVENT_OBJECT_REORDER, window, OBJID_CLIENT, CHILDID_SELF);
    }
    const LONG child = CalendarSelectedCell(flyout) + 1;
    if (GetFocus() == window) {
        MoveCaret(flyout);
        NotifyWinEvent(EVENT_OBJECT_FOCUS, window, OBJID_CLIENT, child);
    }
    NotifyWinEvent(EVENT_OBJECT_SELECTION, window, OBJID_CLIENT, child);
}

// After the typed week number (the footer, the table's value) changed.
void NotifyValue(HWND window) {
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window, OBJID_CLIENT, CHILDID_SELF);
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
    NotifySelection(window, flyout, previous);
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
            NotifyValue(window);
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
        DestroyCaret();
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
            NoteIconPressAtDeactivation(flyout, reinterpret_cast<HWND>(lParam));
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
            NotifyValue(window);
        }
        return 0;
    case WM_LBUTTONDOWN:
        OnClick(window, flyout, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_MOUSEWHEEL:
        OnWheel(window, flyout, GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_DPICHANGED:
        flyout->dpi = LOWORD(wParam);
        Relayout(window, flyout);
        return 0;
    case WM_SETTINGCHANGE: // the message font or the taskbar may have changed
        Relayout(window, flyout);
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
    // The flyout takes the keyboard; it goes back when Kivet's last window closes (to the
    // notification area where the flyout was opened from there).
    NoteKeyboardOwner(fromKeyboard, false);
    if (flyout != nullptr) {
        flyout->today = Today();
        flyout->selected = flyout->today;
        flyout->anchor = CalendarAnchorPoint(anchorWord);
        // Popup and owned: no taskbar button; made at the anchor to learn that monitor's DPI.
        window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, CalendarClassName,
                                 UiText(TextCalendarWindow), WS_POPUP, flyout->anchor.x,
                                 flyout->anchor.y, 1, 1, appState.mainWindow, nullptr,
                                 appState.instance, &creation);
    }
    if (window == nullptr) {
        ReturnKeyboard(false);
        FreeHeapBlock(creation.flyout); // null once the window took it
        UnregisterClassW(CalendarClassName, appState.instance);
        return;
    }
    appState.calendarWindow = window;
    flyout->dpi = GetDpiForWindow(window);
    MeasureCalendar(window, flyout);
    PlaceCalendar(window, flyout);
    ShowWindow(window, SW_SHOW);
    // The shell lets the clicked icon's program take the foreground; take it, or the keys
    // would go to the window that had them. A topmost flyout without the keys would never
    // learn of a click elsewhere either, so it does not stay where it is refused.
    SetForegroundWindow(window);
    if (GetForegroundWindow() != window) {
        appState.calendarWindow = nullptr;
        ReturnKeyboard(false);
        DestroyWindow(window);
        UnregisterClassW(CalendarClassName, appState.instance);
        return;
    }
    SetFocus(window);
    UpdateWindow(window);
}

} // namespace

void ToggleCalendarFlyout(WPARAM anchor, bool fromKeyboard) {
    // The press on the icon that took the activation from the flyout brings its select after
    // the deactivation, sent or posted, at once or when a long press ends; it may find the
    // flyout not yet closed.
    const bool clickThatClosed = TakeIconSelect(fromKeyboard);
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
        ReturnKeyboard(false); // before it goes, or the system hands the keys to its owner
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
    NotifySelection(window, flyout, previous);
}
