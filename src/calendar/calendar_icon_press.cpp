#include "calendar/calendar_icon_press.h"

#include "calendar/calendar_placement.h"
#include "calendar/icon_press_note.h"
#include "common/app_state.h"

namespace {

void StopWatching() {
    if (appState.calendarPressWatch != nullptr) {
        UnhookWindowsHookEx(appState.calendarPressWatch);
        appState.calendarPressWatch = nullptr;
    }
}

void Take(IconPressEvent event) {
    TakeIconPressEvent(&appState.calendarIconPressed, event);
    if (appState.calendarIconPressed == 0) {
        StopWatching();
    }
}

// The next press, on the icon or elsewhere, ends the note: a press that ends off the icon
// brings no select under Windows. Touch and pen taps reach the hook as the mouse's buttons.
LRESULT CALLBACK WatchPress(int code, WPARAM message, LPARAM data) {
    const LRESULT next = CallNextHookEx(nullptr, code, message, data);
    if (code != HC_ACTION) {
        return next;
    }
    const POINT point = reinterpret_cast<const MSLLHOOKSTRUCT*>(data)->pt;
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
        Take(PtInRect(&appState.calendarIconRect, point) ? PointerDownOnIcon
                                                         : PointerDownElsewhere);
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    case WM_XBUTTONUP:
        Take(PointerUp);
        break;
    default:
        break;
    }
    return next;
}

// The top-level window under the icon's centre: the taskbar, or the panel of hidden icons.
HWND IconOwnerWindow(const RECT& icon) {
    const POINT centre = {(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2};
    HWND under = WindowFromPoint(centre);
    return under != nullptr ? GetAncestor(under, GA_ROOT) : nullptr;
}

} // namespace

void NoteIconPressAtDeactivation(const CalendarFlyout* flyout, HWND activated) {
    const RECT icon = CalendarIconRect(flyout);
    HWND taker = activated != nullptr ? activated : GetForegroundWindow();
    HWND owner = IconOwnerWindow(icon);
    if (taker == nullptr || owner == nullptr || GetAncestor(taker, GA_ROOT) != owner) {
        Take(PointerDownElsewhere); // not a press on the icon: nothing to swallow
        return;
    }
    appState.calendarIconRect = icon;
    Take(FlyoutLostToIcon);
    if (appState.calendarPressWatch == nullptr) {
        appState.calendarPressWatch =
            SetWindowsHookExW(WH_MOUSE_LL, WatchPress, appState.instance, 0);
    }
}

bool TakeIconSelect(bool fromKeyboard) {
    const bool swallow = TakeIconPressEvent(&appState.calendarIconPressed,
                                            fromKeyboard ? IconKeySelect : IconSelect);
    StopWatching();
    return swallow;
}
