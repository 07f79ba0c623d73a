#include "app/main_window.h"

#include <windows.h>
#include <shellapi.h>

#include "app/tray_menu.h"
#include "calendar/calendar_window.h"
#include "common/app_state.h"
#include "icon/notify_icon_settings.h"
#include "icon/tray_icon.h"
#include "schedule/midnight_timer.h"
#include "settings/policy_store.h"

namespace {

// Redraw for the clock as it reads now, then aim the timer from that same clock.
void RefreshAndReschedule() {
    RefreshTrayIcon();
    ScheduleMidnightTimer();
    RefreshCalendarToday();
}

} // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The registered id comes first: it is not a fixed number and could be any of them. An id
    // of 0 means the registration failed; WM_NULL must not pass for a restarted taskbar.
    if (message == appState.taskbarCreatedMessage && appState.taskbarCreatedMessage != 0) {
        // The new taskbar has no icon of ours: add it rather than modify it.
        appState.iconAdded = 0;
        RefreshTrayIcon();
        return 0;
    }
    switch (message) {
    case WM_DESTROY:
        CloseCalendarFlyout();
        RemoveTrayIcon();
        PostQuitMessage(0);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_SETTINGCHANGE:
        if (IsPolicyChange(lParam)) {
            ApplyPolicies();
        }
        RefreshAndReschedule();
        return 0;
    case WM_TIMECHANGE:
        RefreshAndReschedule();
        return 0;
    case WM_TIMER:
        if (wParam == MidnightTimerId) {
            RefreshAndReschedule();
        } else if (wParam == TaskbarPromotionTimerId) {
            RetryTaskbarPromotion();
        }
        return 0;
    case WM_POWERBROADCAST:
        if (wParam == PBT_APMRESUMEAUTOMATIC || wParam == PBT_APMRESUMESUSPEND) {
            RefreshAndReschedule();
        }
        return TRUE;
    case TrayCallbackMessage: {
        // Version 4 of the notification icon: the event in the low word, the icon id above.
        const UINT event = LOWORD(lParam);
        if (event == WM_CONTEXTMENU || event == WM_RBUTTONUP) {
            CloseCalendarFlyout();
            ShowTrayMenu(window);
        } else if (event == NIN_SELECT ||
                   (event == NIN_KEYSELECT && appState.calendarWindow == nullptr)) {
            // The open flyout holds the keyboard focus, so a key select on the icon can only
            // be the shell repeating the one that opened it.
            ToggleCalendarFlyout(wParam, event == NIN_KEYSELECT);
        }
        return 0;
    }
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
