#include "app/run_application.h"

#include "app/main_window.h"
#include "common/app_state.h"
#include "common/platform.h"
#include "common/strings.h"
#include "icon/tray_icon.h"
#include "schedule/midnight_timer.h"
#include "settings/policy_store.h"
#include "settings/settings_store.h"
#include "text/ui_text.h"

namespace {

const wchar_t SingleInstanceMutexName[] = L"Local\\PellowDune.Kivet.SingleInstance";
const wchar_t MainWindowClassName[] = L"PellowDune.Kivet.Window";
const wchar_t MainWindowTitle[] = L"Kivet";

bool RegisterMainWindowClass(HINSTANCE instance) {
    WNDCLASSEXW windowClass;
    ZeroMemory(&windowClass, sizeof(windowClass));
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = MainWindowClassName;
    return RegisterClassExW(&windowClass) != 0;
}

// A hidden tool window: never shown, no taskbar button; it only receives messages.
HWND CreateMainWindow(HINSTANCE instance) {
    return CreateWindowExW(WS_EX_TOOLWINDOW, MainWindowClassName, MainWindowTitle, WS_POPUP, 0, 0,
                           0, 0, nullptr, nullptr, instance, nullptr);
}

// Pumps until WM_QUIT (its code) or a failing GetMessageW (1).
int RunMessageLoop() {
    MSG message;
    ZeroMemory(&message, sizeof(message));
    BOOL result;
    while ((result = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (result < 0) {
        return 1;
    }
    return static_cast<int>(message.wParam);
}

void FreeLine(Settings* settings) {
    FreeHeapBlock(settings->additionalLine);
    settings->additionalLine = nullptr;
}

// The shown record, the user's own and the policy's each own a copy of their line.
void FreeSettingsLines() {
    FreeLine(&appState.settings);
    FreeLine(&appState.userSettings);
    FreeLine(&appState.policy);
}

void ShutDown() {
    // On the normal path the window is gone already and this does nothing.
    platform.killTimer(appState.mainWindow, MidnightTimerId);
    RemoveTrayIcon();
    if (appState.currentIcon != nullptr) {
        DestroyIcon(appState.currentIcon);
        appState.currentIcon = nullptr;
    }
    FreeSettingsLines();
}

} // namespace

int RunApplication(HINSTANCE instance) {
    // One instance per user session: the name lies in the session-local namespace.
    HANDLE mutex = CreateMutexW(nullptr, TRUE, SingleInstanceMutexName);
    if (mutex == nullptr) {
        return 0;
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return 0;
    }

    ZeroMemory(&appState, sizeof(appState));
    appState.instance = instance;
    ChooseUiLanguage();
    LoadSettings(&appState.userSettings);
    ApplyPolicies();
    if (appState.settings.additionalLine == nullptr) {
        FreeSettingsLines();
        CloseHandle(mutex);
        return 1;
    }

    appState.taskbarCreatedMessage = RegisterWindowMessageW(L"TaskbarCreated");
    if (!RegisterMainWindowClass(instance)) {
        FreeSettingsLines();
        CloseHandle(mutex);
        return 1;
    }
    appState.mainWindow = CreateMainWindow(instance);
    if (appState.mainWindow == nullptr) {
        FreeSettingsLines();
        CloseHandle(mutex);
        return 1;
    }

    RefreshTrayIcon();
    ScheduleMidnightTimer();
    // After an installer has closed Kivet to replace it (WM_ENDSESSION), the Restart Manager
    // starts it again. Not after a crash, a hang or a reboot: the Run value starts it at sign-in.
    platform.registerApplicationRestart(nullptr,
                                        RESTART_NO_CRASH | RESTART_NO_HANG | RESTART_NO_REBOOT);

    const int exitCode = RunMessageLoop();
    ShutDown();
    CloseHandle(mutex);
    return exitCode;
}
