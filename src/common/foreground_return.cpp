#include "common/foreground_return.h"

#include "common/app_state.h"

HWND WindowToReturnTo() {
    const HWND foreground = GetForegroundWindow();
    if (foreground == nullptr || foreground == appState.mainWindow) {
        return appState.foregroundBeforeMenu;
    }
    return foreground;
}

bool ReturnForegroundTo(HWND window) {
    return window != nullptr && window != appState.mainWindow && IsWindow(window) &&
           SetForegroundWindow(window);
}
