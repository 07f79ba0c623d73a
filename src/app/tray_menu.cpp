#include "app/tray_menu.h"

#include <commdlg.h>

#include <cwchar>

#include "app/about_text.h"
#include "app/input_dialog.h"
#include "common/app_state.h"
#include "common/foreground_return.h"
#include "common/platform.h"
#include "common/strings.h"
#include "icon/tray_icon.h"
#include "schedule/midnight_timer.h"
#include "settings/policy_store.h"
#include "settings/settings_store.h"
#include "settings/startup_entry.h"
#include "text/ui_text.h"

namespace {

const wchar_t StartupErrorCaption[] = L"Kivet";

// Room for the About text: its fixed lines and the longest translated sentence.
constexpr size_t AboutTextCapacity = 512;

// TPM_RETURNCMD | TPM_NONOTIFY: the choice comes back as the result, with no WM_COMMAND or
// menu notifications; TPM_RIGHTBUTTON: either button chooses. Left and top alignment (0).
constexpr UINT TrackFlags = TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON;

constexpr DWORD FontDialogFlags =
    CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT | CF_FORCEFONTEXIST | CF_NOVERTFONTS;

// The full dialog, custom colours open, starting from the current colour, any colour allowed.
constexpr DWORD ColourDialogFlags = CC_FULLOPEN | CC_RGBINIT | CC_ANYCOLOR;

// The runtime's comparison in the default locale folds only the letters A to Z.
bool FaceIs(const wchar_t* face, const wchar_t* name) {
    return _wcsicmp(face, name) == 0;
}

UINT MarkedPositionItem(int32_t linePosition) {
    if (linePosition == Above) {
        return IDM_POSITION_ABOVE;
    }
    if (linePosition == Below) {
        return IDM_POSITION_BELOW;
    }
    return IDM_POSITION_HIDDEN;
}

UINT MarkedColoursItem(const Settings& settings) {
    if (settings.textColour != NoColour) {
        return IDM_COLOURS_CUSTOM_TEXT;
    }
    if (settings.followTaskbarTheme) {
        return IDM_COLOURS_MATCH_TASKBAR;
    }
    return settings.colourScheme != 0 ? IDM_COLOURS_WHITE_TEXT : IDM_COLOURS_BLACK_TEXT;
}

// The commands of each setting, greyed while a policy enforces it: the menu still shows the
// enforced choice, and none of them can change it.
struct EnforcedCommands {
    uint32_t settings; // SettingBits
    UINT first;
    UINT last;
};
const EnforcedCommands CommandsOfSettings[] = {
    {AdditionalLineSetting, IDM_ADDITIONAL_LINE, IDM_ADDITIONAL_LINE},
    {LinePositionSetting, IDM_POSITION_ABOVE, IDM_POSITION_HIDDEN},
    {FontSetting, IDM_FONT_CALIBRI, IDM_FONT_OTHER},
    {LeadingZeroSetting, IDM_LEADING_ZERO_ON, IDM_LEADING_ZERO_OFF},
    {TextColourSetting, IDM_COLOURS_CUSTOM_TEXT, IDM_COLOURS_CUSTOM_TEXT},
    {BackgroundColourSetting, IDM_BACKGROUND_COLOUR, IDM_NO_BACKGROUND},
};

// The two colour policies each hold back only what they decide. Following the taskbar,
// enforced on, decides everything; enforced off, it greys "Match the taskbar" alone. An
// enforced scheme greys the other scheme, and its own item too once following is enforced:
// otherwise that item is the user's way back from following the taskbar.
bool IsColourCommandEnforced(UINT command) {
    const uint32_t enforced = appState.enforcedSettings;
    const bool followEnforced = (enforced & FollowTaskbarThemeSetting) != 0;
    if (followEnforced &&
        (command == IDM_COLOURS_MATCH_TASKBAR || appState.policy.followTaskbarTheme)) {
        return true;
    }
    if (command == IDM_COLOURS_MATCH_TASKBAR || (enforced & ColourSchemeSetting) == 0) {
        return false;
    }
    const int32_t scheme = command == IDM_COLOURS_WHITE_TEXT ? 1 : 0;
    return followEnforced || scheme != appState.policy.colourScheme;
}

// Enforced by a policy, or (start with Windows) by the machine's Run value.
bool IsCommandEnforced(UINT command, bool startsForAllUsers) {
    if (command == IDM_STARTUP_YES || command == IDM_STARTUP_NO) {
        return startsForAllUsers;
    }
    if (command >= IDM_COLOURS_BLACK_TEXT && command <= IDM_COLOURS_MATCH_TASKBAR) {
        // A text colour that a policy sets wins over the scheme and the taskbar alike.
        const bool colourSet = (appState.enforcedSettings & TextColourSetting) != 0 &&
                               appState.policy.textColour != NoColour;
        return colourSet || IsColourCommandEnforced(command);
    }
    const EnforcedCommands* row = CommandsOfSettings;
    const EnforcedCommands* end = row + sizeof(CommandsOfSettings) / sizeof(CommandsOfSettings[0]);
    while (row != end && (command < row->first || command > row->last)) {
        ++row;
    }
    return row != end && (appState.enforcedSettings & row->settings) != 0;
}

void GreyEnforcedCommands(HMENU main, bool startsForAllUsers) {
    for (UINT command = IDM_ADDITIONAL_LINE; command <= IDM_NO_BACKGROUND; ++command) {
        if (IsCommandEnforced(command, startsForAllUsers)) {
            EnableMenuItem(main, command, MF_BYCOMMAND | MF_GRAYED);
        }
    }
}

UINT FontItemFlags(bool checked) {
    return checked ? MF_STRING | MF_CHECKED : MF_STRING;
}

// The six menus of one opening. A submenu that could not be attached to the main menu is
// not destroyed with it, so `attached` tells which ones are still to be destroyed on their
// own (the main menu itself is never attached).
enum MenuIndex { MainMenu, FontMenu, PositionMenu, LeadingZeroMenu, ColoursMenu, StartMenu };
constexpr int MenuCount = 6;

struct TrayMenus {
    HMENU menus[MenuCount];
    bool attached[MenuCount];
};

void AttachSubmenu(TrayMenus* menus, MenuIndex index, const wchar_t* text) {
    menus->attached[index] =
        AppendMenuW(menus->menus[MainMenu], MF_POPUP,
                    reinterpret_cast<UINT_PTR>(menus->menus[index]), text) != 0;
}

void BuildMenu(TrayMenus* menus, bool startsForAllUsers) {
    const Settings& settings = appState.settings;
    HMENU main = menus->menus[MainMenu];

    AppendMenuW(main, MF_STRING, IDM_ADDITIONAL_LINE, UiText(TextAdditionalLineItem));

    HMENU position = menus->menus[PositionMenu];
    AppendMenuW(position, MF_STRING, IDM_POSITION_ABOVE, UiText(TextAbove));
    AppendMenuW(position, MF_STRING, IDM_POSITION_BELOW, UiText(TextBelow));
    AppendMenuW(position, MF_STRING, IDM_POSITION_HIDDEN, UiText(TextHidden));
    CheckMenuRadioItem(position, IDM_POSITION_ABOVE, IDM_POSITION_HIDDEN,
                       MarkedPositionItem(settings.linePosition), MF_BYCOMMAND);
    AttachSubmenu(menus, PositionMenu, UiText(TextPositionMenu));

    HMENU leadingZero = menus->menus[LeadingZeroMenu];
    AppendMenuW(leadingZero, MF_STRING, IDM_LEADING_ZERO_ON, UiText(TextLeadingZeroOn));
    AppendMenuW(leadingZero, MF_STRING, IDM_LEADING_ZERO_OFF, UiText(TextLeadingZeroOff));
    CheckMenuRadioItem(leadingZero, IDM_LEADING_ZERO_ON, IDM_LEADING_ZERO_OFF,
                       settings.leadingZero != 0 ? IDM_LEADING_ZERO_ON : IDM_LEADING_ZERO_OFF,
                       MF_BYCOMMAND);
    AttachSubmenu(menus, LeadingZeroMenu, UiText(TextLeadingZeroMenu));

    HMENU colours = menus->menus[ColoursMenu];
    AppendMenuW(colours, MF_STRING, IDM_COLOURS_BLACK_TEXT, UiText(TextBlackText));
    AppendMenuW(colours, MF_STRING, IDM_COLOURS_WHITE_TEXT, UiText(TextWhiteText));
    AppendMenuW(colours, MF_STRING, IDM_COLOURS_MATCH_TASKBAR, UiText(TextMatchTaskbar));
    AppendMenuW(colours, MF_STRING, IDM_COLOURS_CUSTOM_TEXT, UiText(TextCustomTextColour));
    CheckMenuRadioItem(colours, IDM_COLOURS_BLACK_TEXT, IDM_COLOURS_CUSTOM_TEXT,
                       MarkedColoursItem(settings), MF_BYCOMMAND);
    AppendMenuW(colours, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(colours, MF_STRING, IDM_BACKGROUND_COLOUR, UiText(TextBackgroundColour));
    AppendMenuW(colours, settings.backgroundColour == NoColour ? MF_STRING | MF_CHECKED : MF_STRING,
                IDM_NO_BACKGROUND, UiText(TextNoBackground));
    AttachSubmenu(menus, ColoursMenu, UiText(TextColoursMenu));

    AppendMenuW(main, MF_SEPARATOR, 0, nullptr);

    bool calibri = FaceIs(settings.fontFace, L"Calibri");
    bool lekton = FaceIs(settings.fontFace, L"Lekton");
    HMENU font = menus->menus[FontMenu];
    AppendMenuW(font, FontItemFlags(calibri), IDM_FONT_CALIBRI, UiText(TextFontCalibri));
    AppendMenuW(font, FontItemFlags(lekton), IDM_FONT_LEKTON, UiText(TextFontLekton));
    AppendMenuW(font, FontItemFlags(!calibri && !lekton), IDM_FONT_OTHER, UiText(TextFontOther));
    AttachSubmenu(menus, FontMenu, UiText(TextFontMenu));

    // Read anew at every opening: the entries may have changed outside the program. The
    // machine's entry is the administrator's choice and starts Kivet for this user too.
    HMENU start = menus->menus[StartMenu];
    AppendMenuW(start, MF_STRING, IDM_STARTUP_YES, UiText(TextStartYes));
    AppendMenuW(start, MF_STRING, IDM_STARTUP_NO, UiText(TextStartNo));
    UINT startMark = IDM_STARTUP_YES + (startsForAllUsers || IsStartWithWindowsEnabled() ? 0 : 1);
    CheckMenuRadioItem(start, IDM_STARTUP_YES, IDM_STARTUP_NO, startMark, MF_BYCOMMAND);
    AttachSubmenu(menus, StartMenu, UiText(TextStartMenu));

    AppendMenuW(main, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(main, MF_STRING, IDM_REFRESH, UiText(TextRefreshItem));
    AppendMenuW(main, MF_STRING, IDM_ABOUT, UiText(TextAboutItem));
    AppendMenuW(main, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(main, MF_STRING, IDM_EXIT, UiText(TextExitItem));
    GreyEnforcedCommands(main, startsForAllUsers);
}

// A settings command has changed the record in memory: persist it, then show it. A failed
// save is not reported; the icon shows the change until the program ends.
void SaveAndRedraw() {
    SaveUserSettings();
    RefreshTrayIcon();
}

// An explicit scheme ends following the taskbar; following it keeps the scheme chosen last,
// which comes back when the user turns following off again. Either ends a custom text colour.
void SetColours(int32_t colourScheme, int32_t followTaskbarTheme) {
    appState.settings.colourScheme = colourScheme;
    appState.settings.followTaskbarTheme = followTaskbarTheme;
    appState.settings.textColour = NoColour;
    SaveAndRedraw();
}

// Windows' colour dialog, starting from `current` (black when it is not set), with the
// custom colours the user made last time. True, with the colour, on OK. The custom colours
// are kept whichever way the dialog closed, as the dialog itself keeps them while open.
bool AskForColour(HWND window, uint32_t current, uint32_t* chosen) {
    uint32_t customColours[CustomColourCount];
    LoadCustomColours(customColours);
    static_assert(sizeof(COLORREF) == sizeof(uint32_t), "a COLORREF is 32 bits");

    CHOOSECOLORW choice;
    ZeroMemory(&choice, sizeof(choice));
    choice.lStructSize = sizeof(choice);
    choice.hwndOwner = window;
    choice.rgbResult = current & LargestColour; // black when none is set
    choice.lpCustColors = reinterpret_cast<COLORREF*>(customColours);
    choice.Flags = ColourDialogFlags;
    NoteKeyboardOwner(false, true);
    const bool accepted = platform.chooseColour(&choice) != 0;
    ReturnKeyboard(true);
    SaveCustomColours(customColours);
    if (accepted) {
        *chosen = ColourIsSet | (choice.rgbResult & LargestColour);
    }
    return accepted;
}

// A custom text colour ends following the taskbar: it would not follow anyway.
void ChooseTextColour(HWND window) {
    uint32_t colour = 0;
    if (!AskForColour(window, appState.settings.textColour, &colour)) {
        return;
    }
    appState.settings.textColour = colour;
    appState.settings.followTaskbarTheme = 0;
    SaveAndRedraw();
}

void ChooseBackgroundColour(HWND window) {
    uint32_t colour = 0;
    if (!AskForColour(window, appState.settings.backgroundColour, &colour)) {
        return;
    }
    appState.settings.backgroundColour = colour;
    SaveAndRedraw();
}

void SetFontFace(const wchar_t* face) {
    // cppcheck-suppress lstrcpynWCalled ; bounded by the destination's own capacity.
    lstrcpynW(appState.settings.fontFace, face, FontFaceCapacity);
    SaveAndRedraw();
}

void AskForAdditionalLine(HWND window) {
    wchar_t* text = PromptForAdditionalLine(window, appState.settings.additionalLine);
    if (text == nullptr) {
        return;
    }
    ReplaceOwnedString(&appState.settings.additionalLine, text);
    SaveAndRedraw();
}

// Only the face of the choice is kept; the renderer picks size and weight itself.
void ChooseOtherFont(HWND window) {
    LOGFONTW logFont;
    ZeroMemory(&logFont, sizeof(logFont));
    // cppcheck-suppress lstrcpynWCalled ; lfFaceName holds LF_FACESIZE (32) units, as many.
    lstrcpynW(logFont.lfFaceName, appState.settings.fontFace, FontFaceCapacity);

    CHOOSEFONTW choice;
    ZeroMemory(&choice, sizeof(choice));
    choice.lStructSize = sizeof(choice);
    choice.hwndOwner = window;
    choice.lpLogFont = &logFont;
    choice.Flags = FontDialogFlags;
    NoteKeyboardOwner(false, true);
    const BOOL chosen = platform.chooseFont(&choice);
    ReturnKeyboard(true);
    if (!chosen) {
        return;
    }
    SetFontFace(logFont.lfFaceName);
}

// A message box of Kivet's: modal, and the keyboard goes back when it is answered.
void ShowMessageBox(HWND window, const wchar_t* text, const wchar_t* caption, UINT style) {
    NoteKeyboardOwner(false, true);
    platform.messageBox(window, text, caption, style);
    ReturnKeyboard(true);
}

void ChangeStartWithWindows(HWND window, bool enable) {
    if (!SetStartWithWindows(enable)) {
        ShowMessageBox(window, UiText(TextStartupError), StartupErrorCaption, MB_OK | MB_ICONERROR);
    }
}

void RunCommand(HWND window, UINT command, bool startsForAllUsers) {
    Settings& settings = appState.settings;
    if (IsCommandEnforced(command, startsForAllUsers)) {
        return; // a policy came while the menu was open
    }
    switch (command) {
    case IDM_ADDITIONAL_LINE:
        AskForAdditionalLine(window);
        break;
    case IDM_POSITION_ABOVE:
        settings.linePosition = Above;
        SaveAndRedraw();
        break;
    case IDM_POSITION_BELOW:
        settings.linePosition = Below;
        SaveAndRedraw();
        break;
    case IDM_POSITION_HIDDEN:
        settings.linePosition = Hidden;
        SaveAndRedraw();
        break;
    case IDM_FONT_CALIBRI:
        SetFontFace(L"Calibri");
        break;
    case IDM_FONT_LEKTON:
        SetFontFace(L"Lekton");
        break;
    case IDM_FONT_OTHER:
        ChooseOtherFont(window);
        break;
    case IDM_REFRESH:
        RefreshTrayIcon();
        ScheduleMidnightTimer();
        break;
    case IDM_LEADING_ZERO_ON:
        settings.leadingZero = 1;
        SaveAndRedraw();
        break;
    case IDM_LEADING_ZERO_OFF:
        settings.leadingZero = 0;
        SaveAndRedraw();
        break;
    case IDM_STARTUP_YES:
        ChangeStartWithWindows(window, true);
        break;
    case IDM_STARTUP_NO:
        ChangeStartWithWindows(window, false);
        break;
    case IDM_COLOURS_BLACK_TEXT:
        SetColours(0, 0);
        break;
    case IDM_COLOURS_WHITE_TEXT:
        SetColours(1, 0);
        break;
    case IDM_COLOURS_MATCH_TASKBAR:
        SetColours(settings.colourScheme, 1);
        break;
    case IDM_COLOURS_CUSTOM_TEXT:
        ChooseTextColour(window);
        break;
    case IDM_BACKGROUND_COLOUR:
        ChooseBackgroundColour(window);
        break;
    case IDM_NO_BACKGROUND:
        settings.backgroundColour = NoColour;
        SaveAndRedraw();
        break;
    case IDM_ABOUT: {
        wchar_t about[AboutTextCapacity];
        FormatAboutText(about, AboutTextCapacity);
        ShowMessageBox(window, about, UiText(TextAboutCaption), MB_OK | MB_ICONINFORMATION);
        break;
    }
    case IDM_EXIT:
        // WM_DESTROY removes the icon and posts the quit request before this returns.
        ReturnKeyboardIfNoneOpen();
        DestroyWindow(window);
        break;
    default:
        break; // dismissed (0), or nothing of ours
    }
}

void DestroyMenus(TrayMenus* menus) {
    for (int index = 0; index < MenuCount; ++index) {
        if (menus->menus[index] != nullptr && !menus->attached[index]) {
            DestroyMenu(menus->menus[index]);
        }
    }
}

} // namespace

void ShowTrayMenu(HWND window) {
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    ShowTrayMenuAt(window, cursor, false);
}

void ShowTrayMenuAt(HWND window, POINT at, bool fromKeyboard) {
    TrayMenus menus;
    ZeroMemory(&menus, sizeof(menus));
    bool complete = true;
    for (int index = 0; index < MenuCount; ++index) {
        menus.menus[index] = CreatePopupMenu();
        complete = complete && menus.menus[index] != nullptr;
    }
    if (!complete) {
        DestroyMenus(&menus);
        return;
    }

    bool startsForAllUsers = IsStartWithWindowsForAllUsers();
    BuildMenu(&menus, startsForAllUsers);

    NoteKeyboardOwner(fromKeyboard, false);
    // Without this the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(window);
    appState.menuOpen = 1;
    UINT command = static_cast<UINT>(
        platform.trackPopupMenu(menus.menus[MainMenu], TrackFlags, at.x, at.y, 0, window, nullptr));
    appState.menuOpen = 0;

    // The window a command opens takes the note over; after any other the keyboard goes back.
    HandOverKeyboard();
    RunCommand(window, command, startsForAllUsers);
    ReturnKeyboardIfNoneOpen();

    // Lets the menu's window close properly when the next message comes; after "Exit" the
    // window is gone and the message is lost, which does no harm.
    PostMessageW(window, WM_NULL, 0, 0);
    DestroyMenus(&menus); // the main menu takes every attached submenu with it
}
