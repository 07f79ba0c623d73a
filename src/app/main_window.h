// The hidden main window's procedure: clock, setting, power, taskbar and tray events.
#pragma once

#include <windows.h>

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
