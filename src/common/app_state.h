// The one process-wide record and the user's settings.
#pragma once

#include <windows.h>

#include "common/kivet_types.h"

// Units of Settings::fontFace: at most 31 characters and the terminator, as LOGFONTW's face.
constexpr int FontFaceCapacity = 32;

struct Settings {
    wchar_t* additionalLine;            // process heap, owned; may be empty; default "w"
    int32_t linePosition;               // LinePosition; default Above
    int32_t leadingZero;                // 0 or 1; default 0
    int32_t colourScheme;               // 0 black text, white border; 1 white text, black border
    wchar_t fontFace[FontFaceCapacity]; // at most 31 units, always terminated; default "Lekton"
    int32_t followTaskbarTheme;         // 1: the taskbar's mode picks the scheme; default 0
    uint32_t textColour;       // ColourIsSet | COLORREF over the scheme's; default NoColour
    uint32_t backgroundColour; // ColourIsSet | COLORREF behind the text; default NoColour
};

// The eight values of Settings as bits, for the ones that an administrator's policy enforces.
enum SettingBit : uint32_t {
    AdditionalLineSetting = 1,
    LinePositionSetting = 2,
    LeadingZeroSetting = 4,
    ColourSchemeSetting = 8,
    FontSetting = 16,
    FollowTaskbarThemeSetting = 32,
    TextColourSetting = 64,
    BackgroundColourSetting = 128,
};
constexpr uint32_t AllSettings = 255;

struct AppState {
    HINSTANCE instance;
    HWND mainWindow;
    Settings settings; // what is shown: the user's values with every enforced one over them
    HICON currentIcon; // on show in the notification area, owned
    uint32_t taskbarCreatedMessage; // registered id of "TaskbarCreated"
    int32_t iconAdded;              // 1 once NIM_ADD has succeeded
    HWND calendarWindow;            // the open calendar flyout, null while it is closed
    Settings userSettings;          // the user's own values, as stored; the line owned
    Settings policy;                // the enforced values (see enforcedSettings); the line owned
    uint32_t enforcedSettings;      // SettingBit: which values a valid policy sets
    // Set when the flyout lost the activation while the primary button was down on the icon:
    // the select of that click follows and must not open it again.
    int32_t calendarIconPressed;
    DWORD calendarIconPressedAt; // GetTickCount() of that moment
    HWND foregroundBeforeMenu;   // the window the tray menu took the foreground from
};

extern AppState appState;
