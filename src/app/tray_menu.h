// The right-click menu of the notification icon and its commands.
#pragma once

#include <windows.h>

enum TrayMenuCommand : UINT {
    IDM_ADDITIONAL_LINE = 1001,
    IDM_POSITION_ABOVE = 1010,
    IDM_POSITION_BELOW = 1011,
    IDM_POSITION_HIDDEN = 1012,
    IDM_FONT_CALIBRI = 1020,
    IDM_FONT_LEKTON = 1021,
    IDM_FONT_OTHER = 1022,
    IDM_REFRESH = 1030,
    IDM_LEADING_ZERO_ON = 1031,
    IDM_LEADING_ZERO_OFF = 1032,
    IDM_STARTUP_YES = 1033,
    IDM_STARTUP_NO = 1034,
    IDM_COLOURS_BLACK_TEXT = 1035,
    IDM_COLOURS_WHITE_TEXT = 1036,
    IDM_COLOURS_MATCH_TASKBAR = 1037,
    IDM_COLOURS_CUSTOM_TEXT = 1038,
    IDM_ABOUT = 1040,
    IDM_EXIT = 1050,
    IDM_BACKGROUND_COLOUR = 1060,
    IDM_NO_BACKGROUND = 1061,
};

// Builds the menu for the current settings, shows it at the cursor, carries out the chosen
// command and returns when it is finished.
void ShowTrayMenu(HWND window);

// The same at `at` (screen coordinates). `fromKeyboard`: opened with Shift+F10 or the menu key,
// after which the keyboard goes back to the notification area.
void ShowTrayMenuAt(HWND window, POINT at, bool fromKeyboard);
