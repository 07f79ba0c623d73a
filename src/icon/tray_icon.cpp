#include "icon/tray_icon.h"

#include <windows.h>
#include <shellapi.h>

#include "common/app_state.h"
#include "common/platform.h"
#include "common/strings.h"
#include "icon/icon_text.h"
#include "icon/notify_icon_settings.h"
#include "icon/week_icon.h"
#include "settings/theme_preference.h"
#include "week/iso_week.h"

static_assert(sizeof(NOTIFYICONDATAW) == 976, "the full current layout on 64-bit Windows");

namespace {

// The standard tooltip: under notification-icon version 4 the shell shows it only when this
// flag comes with the record; without it the tooltip would be left to the program to draw.
constexpr UINT TrayIconFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;

void FillIdentity(NOTIFYICONDATAW* data) {
    ZeroMemory(data, sizeof(*data));
    data->cbSize = sizeof(*data);
    data->hWnd = appState.mainWindow;
    data->uID = TrayIconId;
}

// Adds the icon (and sets version 4) or modifies it, then keeps exactly one icon handle:
// the new one when it went out, the previous one when the addition failed.
void PublishIcon(HICON icon, IsoWeekDate weekDate, const wchar_t* weekLabel) {
    NOTIFYICONDATAW data;
    FillIdentity(&data);
    data.uFlags = TrayIconFlags;
    data.uCallbackMessage = TrayCallbackMessage;
    data.hIcon = icon;
    FormatTooltipText(weekDate, weekLabel, data.szTip);

    if (appState.iconAdded) {
        platform.shellNotifyIcon(NIM_MODIFY, &data);
    } else if (platform.shellNotifyIcon(NIM_ADD, &data)) {
        appState.iconAdded = 1;
        NOTIFYICONDATAW versioned = data;
        versioned.uVersion = NOTIFYICON_VERSION_4;
        // Which callbacks come depends on it: version 0 sends no WM_CONTEXTMENU.
        appState.iconVersion =
            platform.shellNotifyIcon(NIM_SETVERSION, &versioned) ? NOTIFYICON_VERSION_4 : 0;
        StartTaskbarPromotion();
    }

    if (appState.iconAdded) {
        if (appState.currentIcon != nullptr) {
            DestroyIcon(appState.currentIcon);
        }
        appState.currentIcon = icon;
    } else {
        DestroyIcon(icon);
    }
}

// The scheme this refresh draws in: the user's own, or the one that reads on the taskbar as it
// is now. A light taskbar takes black text; a dark one, and one whose mode cannot be read
// (before Windows 10 1903 the taskbar is always dark), white text.
int32_t SchemeForThisRefresh() {
    if (!appState.settings.followTaskbarTheme) {
        return appState.settings.colourScheme;
    }
    return ThemeValueIsLight(L"SystemUsesLightTheme", false) ? 0 : 1;
}

} // namespace

void RefreshTrayIcon() {
    SYSTEMTIME today;
    platform.getLocalTime(&today);
    const IsoWeekDate weekDate = ComputeIsoWeek(today.wYear, today.wMonth, today.wDay);

    wchar_t* weekLabel = static_cast<wchar_t*>(AllocateZeroed(WeekLabelCapacity * sizeof(wchar_t)));
    if (weekLabel == nullptr) {
        return;
    }
    if (FormatWeekLabel(weekDate.week, appState.settings.leadingZero, weekLabel)) {
        const wchar_t* lines[2] = {nullptr, nullptr};
        const int lineCount = ArrangeIconLines(weekLabel, appState.settings.additionalLine,
                                               appState.settings.linePosition, lines);
        if (weekLabel[0] != L'\0') {
            HICON icon = RenderWeekIconInScheme(lines, lineCount, SchemeForThisRefresh());
            if (icon != nullptr) {
                PublishIcon(icon, weekDate, weekLabel);
            }
        }
    }
    FreeHeapBlock(weekLabel);
}

void RemoveTrayIcon() {
    if (!appState.iconAdded) {
        return;
    }
    NOTIFYICONDATAW data;
    FillIdentity(&data);
    platform.shellNotifyIcon(NIM_DELETE, &data);
    appState.iconAdded = 0;
}
