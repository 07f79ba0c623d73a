#include "app/main_window.h"

#include <windows.h>
#include <windowsx.h>
#include <shellapi.h>

#include "app/tray_menu.h"
#include "calendar/calendar_window.h"
#include "common/app_state.h"
#include "common/foreground_return.h"
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

// Events with which the user asks for something: a press, a click, a select, the menu.
bool IsUserRequest(UINT event) {
    switch (event) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case NIN_SELECT:
    case NIN_KEYSELECT:
    case WM_CONTEXTMENU:
        return true;
    default:
        return false;
    }
}

// Version 4 sends a right click as WM_RBUTTONUP and then WM_CONTEXTMENU, and the keyboard's
// Shift+F10 or menu key as WM_CONTEXTMENU alone, with the icon's anchor point in wParam. Where
// the version could not be set, WM_RBUTTONUP is all that comes.
void HandleTrayEvent(HWND window, UINT event, WPARAM wParam) {
    const bool afterRightButtonUp = appState.rightButtonUp != 0;
    if (event == WM_RBUTTONUP) {
        appState.rightButtonUp = 1;
    } else if (event == WM_CONTEXTMENU || event == WM_RBUTTONDOWN || event == WM_LBUTTONDOWN) {
        appState.rightButtonUp = 0;
    }
    if (!IsUserRequest(event) || appState.menuOpen) {
        return; // a click on the icon while the menu is open only closes the menu
    }
    // A taskbar that sends its callbacks (Wine's does) waits for the answer; the menu and the
    // windows opened from it run loops of their own, and its input would wait with it.
    if (InSendMessage()) {
        ReplyMessage(0);
    }
    if (BringModalWindowToFront()) {
        return; // one modal window at a time: it must be answered first
    }
    const bool versionFour = appState.iconVersion == NOTIFYICON_VERSION_4;
    if (event == WM_CONTEXTMENU && versionFour) {
        CloseCalendarFlyout();
        const POINT anchor = {GET_X_LPARAM(wParam), GET_Y_LPARAM(wParam)};
        ShowTrayMenuAt(window, anchor, !afterRightButtonUp);
    } else if ((event == WM_RBUTTONUP && !versionFour) || event == WM_CONTEXTMENU) {
        CloseCalendarFlyout();
        ShowTrayMenu(window);
    } else if (event == NIN_SELECT ||
               (event == NIN_KEYSELECT && appState.calendarWindow == nullptr)) {
        // The open flyout holds the keyboard focus, so a key select on the icon can only
        // be the shell repeating the one that opened it.
        ToggleCalendarFlyout(wParam, event == NIN_KEYSELECT);
    }
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
    case WM_ENDSESSION:
        // The session ends, or an installer's Restart Manager closes Kivet to replace it: end
        // as "Exit" does, so that Kivet.exe is no longer in use and the icon is not left behind.
        if (wParam) {
            CloseCalendarFlyout();
            RemoveTrayIcon();
            DestroyWindow(window);
        }
        return 0;
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
    case TrayCallbackMessage:
        // Version 4 of the notification icon: the event in the low word, the icon id above.
        HandleTrayEvent(window, LOWORD(lParam), wParam);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
