// The one process-wide record and the user's settings.
#pragma once

#include <windows.h>

#include "common/kivet_types.h"
#include "common/way_back_rule.h"

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
    // Set when the window showing the icon took the activation from the flyout: the select of
    // that press must not open it again. The pointer is watched for the next press.
    int32_t calendarIconPressed;
    HHOOK calendarPressWatch;  // low-level mouse hook while a press is noted
    RECT calendarIconRect;     // the icon as that press found it
    KeyboardNote keyboardNote; // who had the keyboard before Kivet's windows took it
    int32_t iconVersion;       // NOTIFYICON_VERSION_4 once NIM_SETVERSION took it, else 0
    int32_t rightButtonUp;     // a WM_RBUTTONUP came and its WM_CONTEXTMENU is still due
    int32_t menuOpen;          // 1 while the tray menu is tracked
    // Tries left in the search for Windows 11's entry of the icon (TaskbarPromotionTimerId).
    int32_t taskbarPromotionTriesLeft;
};

extern AppState appState;
