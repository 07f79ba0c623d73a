// minimal-tray: the least a notification-area program can be, to measure Kivet against. It
// registers a class, creates a hidden window, adds one fixed icon (the system's application
// icon, with a fixed tooltip) and pumps messages; WM_CLOSE removes the icon and ends it.
#include "reference_tray.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    HICON icon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512)); // IDI_APPLICATION
    return RunReferenceTray(instance, L"Kivet.MinimalTray", icon, L"Minimal");
}
