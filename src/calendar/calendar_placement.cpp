#include "calendar/calendar_placement.h"

#include <windowsx.h>
#include <shellapi.h>

#include "common/app_state.h"
#include "common/dpi_scale.h"

namespace {

// Space between the flyout and the taskbar or the screen's edge, in 96-DPI units.
constexpr int EdgeGap = 12;

// The notification icon's rectangle on the screen, where the shell can tell it.
bool TrayIconRect(RECT* rect) {
    NOTIFYICONIDENTIFIER icon = {};
    icon.cbSize = sizeof(icon);
    icon.hWnd = appState.mainWindow;
    icon.uID = TrayIconId;
    return SUCCEEDED(Shell_NotifyIconGetRect(&icon, rect));
}

} // namespace

POINT CalendarAnchorPoint(WPARAM anchor) {
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

RECT CalendarIconRect(const CalendarFlyout* flyout) {
    RECT rect;
    if (TrayIconRect(&rect)) {
        return rect;
    }
    const int edge = GetSystemMetricsForDpi(SM_CXSMICON, flyout->dpi);
    return RECT{flyout->anchor.x - edge, flyout->anchor.y - edge, flyout->anchor.x + edge,
                flyout->anchor.y + edge};
}

// Next to the anchor, on its side of the taskbar, whole inside the monitor's work area and off
// an auto-hidden taskbar.
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
    const FlyoutRect monitorArea = {screen.left, screen.top, screen.right, screen.bottom};
    const FlyoutRect taskbarArea = {taskbar.rc.left, taskbar.rc.top, taskbar.rc.right,
                                    taskbar.rc.bottom};
    const TaskbarSide side = FindTaskbarSide(monitorArea, workArea, FlyoutPoint{anchor.x, anchor.y},
                                             taskbarKnown, taskbarArea);
    const FlyoutRect area =
        AreaBesideTaskbar(monitorArea, workArea, side, taskbarKnown, taskbarArea);
    const int width = flyout->layout.clientWidth;
    const int height = flyout->layout.clientHeight;
    const FlyoutPoint corner = PlaceFlyout(area, side, FlyoutPoint{anchor.x, anchor.y}, width,
                                           height, ScaleToDpi(EdgeGap, flyout->dpi));
    SetWindowPos(window, nullptr, corner.x, corner.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}
