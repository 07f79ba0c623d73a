// The tray menu, opened for real: TrackPopupMenu is swapped for one that reads the live menu
// and returns a chosen command, so the test sees exactly what a user would and then what the
// command did to Settings, to the (sandboxed) registry and to the notification icon.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/dialog_driver.h"
#include "app/menu_snapshot.h"
#include "app/tray_menu.h"
#include "common/app_state.h"
#include "common/strings.h"
#include "support/registry_sandbox.h"
#include "text/language_tables.h"
#include "text/ui_text.h"

namespace {

const wchar_t SettingsKey[] = L"Software\\Pellow Dune\\Kivet";
const wchar_t RunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t ModulePath[] = L"C:\\Program Files\\Kivet Test\\Kivet.exe";
const wchar_t QuotedModulePath[] = L"\"C:\\Program Files\\Kivet Test\\Kivet.exe\"";

struct TrackCall {
    HMENU menu;
    UINT flags;
    int x;
    int y;
    int reserved;
    HWND owner;
    const RECT* rectangle;
    HWND foreground;
    std::vector<HMENU> submenus;
};

struct NotifyCall {
    DWORD message;
    bool settingsSaved; // whether the settings key existed when the icon was published
};

struct MessageBoxCall {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT style;
};

struct FontDialogCall {
    CHOOSEFONTW choice;
    LOGFONTW logFont;
};

// What the swapped platform calls saw, and what they answer.
struct Observed {
    UINT command = 0;
    std::vector<MenuItemSnapshot> menu;
    std::vector<TrackCall> tracks;
    std::vector<NotifyCall> notifies;
    std::vector<std::pair<HWND, UINT_PTR>> timers;
    std::vector<MessageBoxCall> boxes;
    std::vector<FontDialogCall> fontDialogs;
    std::vector<CHOOSECOLORW> colourDialogs;
    std::vector<std::vector<COLORREF>> customColoursShown; // each dialog's 16 boxes as given
    BOOL colourAnswer = FALSE;
    COLORREF colourChosen = 0;
    std::vector<std::wstring> libraries;
    BOOL fontAnswer = FALSE;
    wchar_t fontFaceAnswer[LF_FACESIZE] = {};
};
Observed* observed = nullptr;

BOOL WINAPI InspectMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                        const RECT* rectangle) {
    TrackCall call = {menu, flags, x, y, reserved, owner, rectangle, GetForegroundWindow(), {}};
    observed->menu = SnapshotMenu(menu);
    for (const MenuItemSnapshot& item : observed->menu) {
        if (item.submenu != nullptr) {
            call.submenus.push_back(item.submenu);
        }
    }
    observed->tracks.push_back(call);
    return static_cast<BOOL>(observed->command);
}

// The icon's publication; the keyboard's way back (NIM_SETFOCUS) is no redraw.
BOOL WINAPI RecordNotify(DWORD message, PNOTIFYICONDATAW) {
    if (message == NIM_SETFOCUS) {
        return TRUE;
    }
    observed->notifies.push_back({message, TestKeyExists(SettingsKey)});
    return TRUE;
}

UINT_PTR WINAPI RecordTimer(HWND window, UINT_PTR id, UINT, TIMERPROC) {
    observed->timers.push_back({window, id});
    return id;
}

BOOL WINAPI IgnoreKillTimer(HWND, UINT_PTR) {
    return TRUE;
}

int WINAPI RecordMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style) {
    observed->boxes.push_back({owner, text, caption, style});
    return IDOK;
}

BOOL WINAPI AnswerFontDialog(LPCHOOSEFONTW choice) {
    FontDialogCall call;
    call.choice = *choice;
    std::memset(&call.logFont, 0xCC, sizeof(call.logFont));
    if (choice->lpLogFont != nullptr) {
        call.logFont = *choice->lpLogFont;
        if (observed->fontAnswer) {
            std::memcpy(choice->lpLogFont->lfFaceName, observed->fontFaceAnswer,
                        sizeof(observed->fontFaceAnswer));
            choice->lpLogFont->lfHeight = -40; // the rest of the choice is not used
            choice->lpLogFont->lfItalic = TRUE;
        }
    }
    observed->fontDialogs.push_back(call);
    return observed->fontAnswer;
}

// Records the dialog as asked, puts a colour of its own in the first custom box as a user
// would, and answers OK with `colourChosen` or Cancel.
BOOL WINAPI AnswerColourDialog(LPCHOOSECOLORW choice) {
    observed->colourDialogs.push_back(*choice);
    observed->customColoursShown.emplace_back(choice->lpCustColors, choice->lpCustColors + 16);
    choice->lpCustColors[0] = 0x00123456;
    if (observed->colourAnswer) {
        choice->rgbResult = observed->colourChosen;
    }
    return observed->colourAnswer;
}

HMODULE WINAPI RefuseLibrary(LPCWSTR name) {
    observed->libraries.push_back(name);
    return nullptr;
}

// A system DLL that loads but holds no ChooseFontW, and that nothing else here loads.
const wchar_t DllWithoutFontDialog[] = L"wtsapi32.dll";

HMODULE WINAPI LoadDllWithoutFontDialog(LPCWSTR name) {
    observed->libraries.push_back(name);
    return LoadLibraryExW(DllWithoutFontDialog, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

DWORD WINAPI FakeModuleFileName(HMODULE, LPWSTR path, DWORD capacity) {
    lstrcpynW(path, ModulePath, static_cast<int>(capacity));
    return static_cast<DWORD>(lstrlenW(path));
}

const MenuItemSnapshot* FindItem(const std::vector<MenuItemSnapshot>& items,
                                 const std::wstring& text) {
    for (const MenuItemSnapshot& item : items) {
        if (item.text == text) {
            return &item;
        }
    }
    return nullptr;
}

std::vector<UINT> CheckedIds(const MenuItemSnapshot& submenu) {
    std::vector<UINT> ids;
    for (const MenuItemSnapshot& item : submenu.items) {
        if (item.Checked()) {
            ids.push_back(item.id);
        }
    }
    return ids;
}

class TrayMenuTest : public RegistrySandboxTest {
  protected:
    void SetUp() override {
        RegistrySandboxTest::SetUp();
        observed = &observed_;
        platform.trackPopupMenu = InspectMenu;
        platform.shellNotifyIcon = RecordNotify;
        platform.setTimer = RecordTimer;
        platform.killTimer = IgnoreKillTimer;
        platform.messageBox = RecordMessageBox;
        realChooseFont_ = platform.chooseFont;
        platform.chooseFont = AnswerFontDialog;
        platform.chooseColour = AnswerColourDialog;
        platform.getModuleFileName = FakeModuleFileName;

        ZeroMemory(&appState, sizeof(appState));
        appState.instance = GetModuleHandleW(nullptr);
        appState.mainWindow =
            CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"tray menu test main window",
                            WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(appState.mainWindow, nullptr);
        appState.settings.additionalLine = HeapStringDuplicate(L"w");
        appState.settings.linePosition = Above;
        lstrcpynW(appState.settings.fontFace, L"Lekton", 32);
    }

    void TearDown() override {
        if (IsWindow(appState.mainWindow)) {
            DestroyWindow(appState.mainWindow);
        }
        if (appState.currentIcon != nullptr) {
            DestroyIcon(appState.currentIcon);
        }
        FreeHeapBlock(appState.settings.additionalLine);
        FreeHeapBlock(appState.userSettings.additionalLine); // made by a command's save
        ZeroMemory(&appState, sizeof(appState));
        MSG leftover;
        while (PeekMessageW(&leftover, nullptr, 0, 0, PM_REMOVE)) {
        }
        observed = nullptr;
        RegistrySandboxTest::TearDown();
    }

    // Opens the menu, "chooses" the command (0 dismisses it) and returns when it is done.
    void Choose(UINT command) {
        observed_.command = command;
        ShowTrayMenu(appState.mainWindow);
    }

    const MenuItemSnapshot& Submenu(const wchar_t* text) {
        const MenuItemSnapshot* item = FindItem(observed_.menu, text);
        static const MenuItemSnapshot missing;
        EXPECT_NE(item, nullptr) << "no submenu in the menu";
        return item != nullptr ? *item : missing;
    }

    bool NullMessagePosted() {
        MSG message;
        return PeekMessageW(&message, appState.mainWindow, WM_NULL, WM_NULL, PM_REMOVE) != 0;
    }

    // The menu and its five submenus are gone once ShowTrayMenu has returned.
    void ExpectMenusDestroyed() {
        ASSERT_FALSE(observed_.tracks.empty());
        const TrackCall& track = observed_.tracks.back();
        EXPECT_FALSE(IsMenu(track.menu));
        EXPECT_EQ(track.submenus.size(), 5u);
        for (HMENU submenu : track.submenus) {
            EXPECT_FALSE(IsMenu(submenu));
        }
    }

    // Nothing of the settings, the start entry, the icon or the timer was touched.
    void ExpectNoEffect() {
        EXPECT_FALSE(TestKeyExists(SettingsKey)) << "nothing may be saved";
        EXPECT_TRUE(observed_.notifies.empty()) << "the icon may not be redrawn";
        EXPECT_TRUE(observed_.timers.empty()) << "the timer may not be re-armed";
    }

    DWORD SavedDword(const wchar_t* name) {
        TestRegistryValue value = ReadTestValue(SettingsKey, name);
        EXPECT_TRUE(value.exists && value.type == REG_DWORD && value.bytes.size() == 4) << "";
        DWORD data = 0xFFFFFFFF;
        if (value.bytes.size() == 4) {
            std::memcpy(&data, value.bytes.data(), 4);
        }
        return data;
    }

    std::wstring SavedString(const wchar_t* name) {
        TestRegistryValue value = ReadTestValue(SettingsKey, name);
        EXPECT_TRUE(value.exists && value.type == REG_SZ);
        std::wstring units = value.Units();
        if (!units.empty() && units.back() == L'\0') {
            units.pop_back();
        }
        return units;
    }

    // Saved first, redrawn second, and the timer left alone.
    void ExpectSavedThenRedrawn() {
        EXPECT_TRUE(TestKeyExists(SettingsKey)) << "the settings were not saved";
        ASSERT_FALSE(observed_.notifies.empty()) << "the icon was not redrawn";
        EXPECT_TRUE(observed_.notifies.front().settingsSaved) << "redrawn before the save";
        EXPECT_TRUE(observed_.timers.empty()) << "only Refresh re-arms the timer";
    }

    void ForgetEffects() {
        RegDeleteTreeW(HKEY_CURRENT_USER, SettingsKey);
        RegDeleteKeyW(HKEY_CURRENT_USER, SettingsKey);
        observed_.notifies.clear();
        observed_.timers.clear();
        observed_.boxes.clear();
        observed_.fontDialogs.clear();
        observed_.colourDialogs.clear();
        observed_.tracks.clear();
    }

    Observed observed_;
    BOOL(WINAPI* realChooseFont_)(LPCHOOSEFONTW) = nullptr;
};

// ----- The menu as shown -----

TEST_F(TrayMenuTest, ShowsEveryItemInOrderAtTheCursor) {
    SetCursorPos(321, 123);
    POINT cursor;
    GetCursorPos(&cursor);
    Choose(0);

    ASSERT_EQ(observed_.tracks.size(), 1u);
    const TrackCall& track = observed_.tracks[0];
    EXPECT_EQ(track.flags, 0x182u);
    EXPECT_EQ(track.x, cursor.x);
    EXPECT_EQ(track.y, cursor.y);
    EXPECT_EQ(track.reserved, 0);
    EXPECT_EQ(track.owner, appState.mainWindow);
    EXPECT_EQ(track.rectangle, nullptr);
    EXPECT_EQ(track.foreground, appState.mainWindow) << "the menu needs its owner in front";

    struct Expected {
        const wchar_t* text; // null for a separator
        UINT id;             // 0 for separators and submenus
        std::vector<std::pair<const wchar_t*, UINT>> items;
    };
    const Expected expected[] = {
        {L"&Additional line\u2026", 1001, {}},
        {L"Additional line &position",
         0,
         {{L"&Above", 1010}, {L"&Below", 1011}, {L"&Hidden", 1012}}},
        {L"&Leading zero", 0, {{L"O&n", 1031}, {L"O&ff", 1032}}},
        {L"&Text colours",
         0,
         {{L"&Black text / white border", 1035},
          {L"&White text / black border", 1036},
          {L"&Match the taskbar", 1037},
          {L"&Custom text colour\u2026", 1038},
          {L"", 0},
          {L"B&ackground colour\u2026", 1060},
          {L"&No background", 1061}}},
        {nullptr, 0, {}},
        {L"&Font", 0, {{L"&Calibri", 1020}, {L"&Lekton", 1021}, {L"&Other\u2026", 1022}}},
        {L"&Start with Windows", 0, {{L"&Yes", 1033}, {L"&No", 1034}}},
        {nullptr, 0, {}},
        {L"&Refresh", 1030, {}},
        {L"A&bout Kivet\u2026", 1040, {}},
        {nullptr, 0, {}},
        {L"E&xit", 1050, {}},
    };
    const std::vector<MenuItemSnapshot>& menu = observed_.menu;
    ASSERT_EQ(menu.size(), 12u);
    for (size_t i = 0; i < 12; ++i) {
        SCOPED_TRACE(i);
        const MenuItemSnapshot& item = menu[i];
        if (expected[i].text == nullptr) {
            EXPECT_TRUE(item.Separator());
            EXPECT_TRUE(item.text.empty());
            continue;
        }
        EXPECT_FALSE(item.Separator());
        EXPECT_EQ(item.text, expected[i].text);
        EXPECT_EQ(item.legacyText, expected[i].text);
        if (expected[i].items.empty()) {
            EXPECT_EQ(item.id, expected[i].id);
            EXPECT_EQ(item.submenu, nullptr);
            EXPECT_EQ(item.state & (MFS_CHECKED | MFS_DISABLED | MFS_GRAYED), 0u);
            continue;
        }
        ASSERT_NE(item.submenu, nullptr);
        EXPECT_NE(item.legacyState & MF_POPUP, 0u);
        ASSERT_EQ(item.items.size(), expected[i].items.size());
        for (size_t j = 0; j < item.items.size(); ++j) {
            EXPECT_EQ(item.items[j].text, expected[i].items[j].first);
            EXPECT_EQ(item.items[j].id, expected[i].items[j].second);
            EXPECT_EQ(item.items[j].submenu, nullptr);
        }
    }
    // The ellipses are single characters.
    for (const MenuItemSnapshot& item : menu) {
        EXPECT_EQ(item.text.find(L"..."), std::wstring::npos);
    }

    // The radio groups carry a bullet on exactly one item; the fonts an ordinary check.
    for (const wchar_t* group : {L"Additional line &position", L"&Leading zero", L"&Text colours",
                                 L"&Start with Windows"}) {
        SCOPED_TRACE(std::string(group, group + wcslen(group)).c_str());
        const MenuItemSnapshot& submenu = Submenu(group);
        // Text colours: the radio group, and "No background" with a plain check.
        const bool colours = submenu.text == L"&Text colours";
        ASSERT_EQ(CheckedIds(submenu).size(), colours ? 2u : 1u);
        for (const MenuItemSnapshot& item : submenu.items) {
            if (item.Checked() && item.id != IDM_NO_BACKGROUND) {
                EXPECT_TRUE(item.Radio());
                EXPECT_NE(item.legacyState & MF_CHECKED, 0u);
            }
        }
    }
    for (const MenuItemSnapshot& item : Submenu(L"&Font").items) {
        EXPECT_FALSE(item.Radio()) << "font items carry a plain check mark";
    }
    EXPECT_EQ(CheckedIds(Submenu(L"&Font")), std::vector<UINT>{1021u});
}

TEST_F(TrayMenuTest, DismissingChangesNothingButStillCleansUp) {
    for (UINT command : {0u, 4242u, 1002u}) {
        SCOPED_TRACE(command);
        Choose(command);
        ExpectNoEffect();
        EXPECT_TRUE(observed_.boxes.empty());
        EXPECT_TRUE(observed_.fontDialogs.empty());
        EXPECT_TRUE(NullMessagePosted()) << "WM_NULL must follow the menu";
        ExpectMenusDestroyed();
        EXPECT_TRUE(IsWindow(appState.mainWindow));
        EXPECT_EQ(appState.settings.linePosition, Above);
        EXPECT_STREQ(appState.settings.fontFace, L"Lekton");
        EXPECT_STREQ(appState.settings.additionalLine, L"w");
    }
}

TEST_F(TrayMenuTest, MarksTheCurrentPositionLeadingZeroAndColours) {
    struct Case {
        int32_t position, leadingZero, colourScheme;
        UINT positionItem, leadingZeroItem, coloursItem;
    };
    const Case cases[] = {
        {1, 0, 0, 1010, 1032, 1035},  {2, 1, 1, 1011, 1031, 1036}, {0, 0, 1, 1012, 1032, 1036},
        {7, 5, -1, 1012, 1031, 1036}, // anything else is hidden; any non-zero is on
        {-1, 0, 0, 1012, 1032, 1035},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.position << "/" << c.leadingZero << "/" << c.colourScheme);
        appState.settings.linePosition = c.position;
        appState.settings.leadingZero = c.leadingZero;
        appState.settings.colourScheme = c.colourScheme;
        Choose(0);
        EXPECT_EQ(CheckedIds(Submenu(L"Additional line &position")),
                  std::vector<UINT>{c.positionItem});
        EXPECT_EQ(CheckedIds(Submenu(L"&Leading zero")), std::vector<UINT>{c.leadingZeroItem});
        EXPECT_EQ(CheckedIds(Submenu(L"&Text colours")),
                  (std::vector<UINT>{c.coloursItem, IDM_NO_BACKGROUND}));
    }
}

// Only A to Z fold: a face that matches only under wider case mappings (dotted capital I and
// the Kelvin sign lower to i and k, dotless i upper to I) is another face.
TEST_F(TrayMenuTest, ChecksTheFontByNameIgnoringTheCaseOfAToZOnly) {
    const std::pair<const wchar_t*, UINT> cases[] = {
        {L"Calibri", 1020},      {L"calibri", 1020},       {L"CALIBRI", 1020},
        {L"Lekton", 1021},       {L"lEKTON", 1021},        {L"Arial", 1022},
        {L"Calibri ", 1022},     {L"Calibri Light", 1022}, {L"", 1022},
        {L"CALIBR\u0130", 1022}, {L"Le\u212Aton", 1022},   {L"Cal\u0131bri", 1022},
        {L"Lekto", 1022},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "face of " << wcslen(c.first) << " units, want " << c.second);
        lstrcpynW(appState.settings.fontFace, c.first, 32);
        Choose(0);
        EXPECT_EQ(CheckedIds(Submenu(L"&Font")), std::vector<UINT>{c.second});
    }
}

TEST_F(TrayMenuTest, MarksStartWithWindowsFromTheRunValueReadAtEachOpening) {
    Choose(0);
    EXPECT_EQ(CheckedIds(Submenu(L"&Start with Windows")), std::vector<UINT>{1034u})
        << "no Run key at all";

    const std::pair<const wchar_t*, UINT> cases[] = {
        {QuotedModulePath, 1033},
        {L"\"c:\\PROGRAM FILES\\kivet test\\KIVET.EXE\"", 1033},
        {ModulePath, 1034}, // without the quotes
        {L"\"C:\\Program Files\\Other\\Other.exe\"", 1034},
        {L"", 1034},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "want " << c.second);
        ASSERT_EQ(WriteTestString(RunKey, L"Kivet", c.first), ERROR_SUCCESS);
        Choose(0);
        EXPECT_EQ(CheckedIds(Submenu(L"&Start with Windows")), std::vector<UINT>{c.second});
    }
    RegDeleteKeyValueW(HKEY_CURRENT_USER, RunKey, L"Kivet");
    Choose(0);
    EXPECT_EQ(CheckedIds(Submenu(L"&Start with Windows")), std::vector<UINT>{1034u})
        << "value missing";
}

// ----- The settings commands -----

TEST_F(TrayMenuTest, SettingsCommandsChangeSaveAndRedraw) {
    struct Case {
        UINT command;
        const wchar_t* valueName;
        DWORD saved;
        int32_t Settings::*field;
        int32_t before;
    };
    const Case cases[] = {
        {IDM_POSITION_BELOW, L"AdditionalLinePosition", 2, &Settings::linePosition, Above},
        {IDM_POSITION_HIDDEN, L"AdditionalLinePosition", 0, &Settings::linePosition, Below},
        {IDM_POSITION_ABOVE, L"AdditionalLinePosition", 1, &Settings::linePosition, Hidden},
        // The item already marked sets, saves and redraws all the same.
        {IDM_POSITION_ABOVE, L"AdditionalLinePosition", 1, &Settings::linePosition, Above},
        {IDM_LEADING_ZERO_ON, L"LeadingZero", 1, &Settings::leadingZero, 0},
        {IDM_LEADING_ZERO_OFF, L"LeadingZero", 0, &Settings::leadingZero, 1},
        {IDM_LEADING_ZERO_OFF, L"LeadingZero", 0, &Settings::leadingZero, 0},
        {IDM_COLOURS_WHITE_TEXT, L"ColourScheme", 1, &Settings::colourScheme, 0},
        {IDM_COLOURS_BLACK_TEXT, L"ColourScheme", 0, &Settings::colourScheme, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        ForgetEffects();
        appState.settings.*c.field = c.before;
        Choose(c.command);
        EXPECT_EQ(appState.settings.*c.field, static_cast<int32_t>(c.saved));
        EXPECT_EQ(SavedDword(c.valueName), c.saved);
        ExpectSavedThenRedrawn();
        EXPECT_TRUE(NullMessagePosted());
        ExpectMenusDestroyed();
    }
}

// "Match the taskbar" keeps the scheme chosen last beside it; either scheme ends it. A custom
// text colour (OK in the dialog) wins over both and ends following the taskbar; Black, White
// and Match delete it.
TEST_F(TrayMenuTest, MatchTheTaskbarKeepsTheLastSchemeUntilASchemeIsChosen) {
    const struct {
        UINT command;
        DWORD scheme, follow;
        UINT marked;
    } steps[] = {{IDM_COLOURS_WHITE_TEXT, 1, 0, 1036},  {IDM_COLOURS_MATCH_TASKBAR, 1, 1, 1037},
                 {IDM_COLOURS_BLACK_TEXT, 0, 0, 1035},  {IDM_COLOURS_MATCH_TASKBAR, 0, 1, 1037},
                 {IDM_COLOURS_CUSTOM_TEXT, 0, 0, 1038}, {IDM_COLOURS_WHITE_TEXT, 1, 0, 1036},
                 {IDM_COLOURS_CUSTOM_TEXT, 1, 0, 1038}, {IDM_COLOURS_MATCH_TASKBAR, 1, 1, 1037}};
    observed_.colourAnswer = TRUE;
    observed_.colourChosen = 0x00336699;
    for (const auto& step : steps) {
        ForgetEffects();
        Choose(step.command);
        EXPECT_EQ(SavedDword(L"ColourScheme"), step.scheme) << step.command;
        EXPECT_EQ(SavedDword(L"FollowTaskbarTheme"), step.follow) << step.command;
        EXPECT_EQ(ReadTestValue(SettingsKey, L"TextColour").bytes,
                  step.marked == 1038 ? (std::vector<BYTE>{0x99, 0x66, 0x33, 0})
                                      : std::vector<BYTE>{});
        ExpectSavedThenRedrawn();
        Choose(0);
        EXPECT_EQ(CheckedIds(Submenu(L"&Text colours")),
                  (std::vector<UINT>{step.marked, IDM_NO_BACKGROUND}));
    }
}

TEST_F(TrayMenuTest, PresetFontsReplaceTheFace) {
    const std::pair<UINT, const wchar_t*> cases[] = {
        {IDM_FONT_CALIBRI, L"Calibri"},
        {IDM_FONT_LEKTON, L"Lekton"},
        {IDM_FONT_LEKTON, L"Lekton"}, // already Lekton: saved and redrawn again
    };
    lstrcpynW(appState.settings.fontFace, L"A face of exactly 31 characters", 32);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        ForgetEffects();
        Choose(c.first);
        EXPECT_STREQ(appState.settings.fontFace, c.second);
        EXPECT_EQ(SavedString(L"Font"), c.second);
        ExpectSavedThenRedrawn();
    }
}

TEST_F(TrayMenuTest, RefreshRedrawsAndRearmsTheTimerWithoutSaving) {
    Choose(IDM_REFRESH);
    EXPECT_FALSE(TestKeyExists(SettingsKey));
    ASSERT_FALSE(observed_.notifies.empty());
    ASSERT_EQ(observed_.timers.size(), 1u);
    EXPECT_EQ(observed_.timers[0].first, appState.mainWindow);
    EXPECT_EQ(observed_.timers[0].second, static_cast<UINT_PTR>(MidnightTimerId));
    EXPECT_TRUE(NullMessagePosted());
}

// ----- Start with Windows -----

TEST_F(TrayMenuTest, StartWithWindowsWritesAndRemovesTheRunValue) {
    Choose(IDM_STARTUP_YES);
    TestRegistryValue value = ReadTestValue(RunKey, L"Kivet");
    ASSERT_TRUE(value.exists);
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value.Units(), std::wstring(QuotedModulePath) + L'\0');
    Choose(0);
    EXPECT_EQ(CheckedIds(Submenu(L"&Start with Windows")), std::vector<UINT>{1033u});

    // "Yes" while "Yes" is marked writes the entry again.
    ASSERT_EQ(WriteTestString(RunKey, L"Kivet", L"\"C:\\PROGRAM FILES\\KIVET TEST\\KIVET.EXE\""),
              ERROR_SUCCESS);
    Choose(IDM_STARTUP_YES);
    EXPECT_EQ(ReadTestValue(RunKey, L"Kivet").Units(), std::wstring(QuotedModulePath) + L'\0');

    Choose(IDM_STARTUP_NO);
    EXPECT_FALSE(ReadTestValue(RunKey, L"Kivet").exists);
    // "No" with no entry left succeeds quietly.
    Choose(IDM_STARTUP_NO);
    EXPECT_TRUE(observed_.boxes.empty());
    ExpectNoEffect();
    EXPECT_TRUE(NullMessagePosted());
}

TEST_F(TrayMenuTest, StartWithWindowsFailureShowsTheErrorAndChangesNothingElse) {
    // A lasting Run key cannot be made below a volatile parent.
    ASSERT_EQ(CreateVolatileTestKey(L"Software\\Microsoft\\Windows\\CurrentVersion"),
              ERROR_SUCCESS);
    Choose(IDM_STARTUP_YES);
    ASSERT_EQ(observed_.boxes.size(), 1u);
    const MessageBoxCall& box = observed_.boxes[0];
    EXPECT_EQ(box.text, L"Kivet could not update the Windows startup setting.");
    EXPECT_EQ(box.caption, L"Kivet");
    EXPECT_EQ(box.style, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(box.owner, appState.mainWindow);
    EXPECT_FALSE(TestKeyExists(RunKey));
    ExpectNoEffect();
    EXPECT_TRUE(NullMessagePosted());
    ExpectMenusDestroyed();

    // The next opening shows the state as it really is.
    Choose(0);
    EXPECT_EQ(CheckedIds(Submenu(L"&Start with Windows")), std::vector<UINT>{1034u});
}

// Task Manager's markers beside the Run values (first byte odd: disabled; 0: an empty marker).
TEST_F(TrayMenuTest, StartWithWindowsAsWindowsShowsItAfterTaskManager) {
    const wchar_t approved[] =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
    const struct {
        BYTE userRun, userMarker, machineRun, machineMarker;
        UINT command, markedBefore, markedAfter;
        bool greyed, userMarkerAfter;
    } rows[] = {
        {1, 3, 0, 0, 0, 1034, 1034, false, true},
        {1, 0, 0, 3, 0, 1033, 1033, false, true}, // the machine's marker is not the user's
        {1, 3, 0, 0, IDM_STARTUP_YES, 1034, 1033, false, false},
        {1, 2, 0, 0, IDM_STARTUP_NO, 1033, 1034, false, false},
        {0, 0, 1, 3, 0, 1034, 1034, false, true},              // switched off for the machine
        {0, 3, 1, 2, IDM_STARTUP_YES, 1033, 1033, true, true}, // the machine decides
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "row " << (&row - rows));
        RegDeleteTreeW(HKEY_CURRENT_USER, L"Software");
        const std::pair<HKEY, BYTE> markers[] = {{HKEY_CURRENT_USER, row.userMarker},
                                                 {HKEY_LOCAL_MACHINE, row.machineMarker}};
        for (const auto& [root, first] : markers) {
            const BYTE marker[12] = {first, 0, 0, 0, 0x80, 0x3E, 0xD5, 0xDE, 0xB1, 0x9D, 0x01, 0};
            WriteTestValue(approved, L"Kivet", REG_BINARY, marker, first != 0 ? 12 : 0, root);
        }
        WriteTestString(RunKey, L"Kivet", row.userRun ? QuotedModulePath : L"");
        if (row.machineRun) {
            WriteTestString(RunKey, L"Kivet", L"elsewhere.exe", HKEY_LOCAL_MACHINE);
        }
        Choose(row.command);
        EXPECT_EQ(CheckedIds(Submenu(L"&Start with Windows")), std::vector<UINT>{row.markedBefore});
        EXPECT_EQ((Submenu(L"&Start with Windows").items[0].state & MFS_GRAYED) != 0, row.greyed);
        Choose(0);
        EXPECT_EQ(CheckedIds(Submenu(L"&Start with Windows")), std::vector<UINT>{row.markedAfter});
        EXPECT_EQ(ReadTestValue(approved, L"Kivet").exists, row.userMarkerAfter);
    }
}

// ----- Another language -----

// Every item, submenus included, and the About box take the chosen table's texts.
TEST_F(TrayMenuTest, SpeaksTheChosenLanguage) {
    const int german = ChooseLanguage(L"de-CH\0");
    ASSERT_TRUE(UseUiLanguage(german));
    Choose(0);
    // Top to bottom, each submenu's items after its own entry.
    // clang-format off
    const UiTextId ids[] = {
        TextAdditionalLineItem, TextPositionMenu, TextAbove, TextBelow, TextHidden,
        TextLeadingZeroMenu, TextLeadingZeroOn, TextLeadingZeroOff,
        TextColoursMenu, TextBlackText, TextWhiteText, TextMatchTaskbar, TextCustomTextColour,
        TextBackgroundColour, TextNoBackground,
        TextFontMenu, TextFontCalibri, TextFontLekton, TextFontOther,
        TextStartMenu, TextStartYes, TextStartNo, TextRefreshItem, TextAboutItem, TextExitItem};
    // clang-format on
    std::vector<std::wstring> shown;
    for (const MenuItemSnapshot& item : observed_.menu) {
        if (!item.Separator()) {
            shown.push_back(item.text);
        }
        for (const MenuItemSnapshot& subitem : item.items) {
            if (!subitem.Separator()) {
                shown.push_back(subitem.text);
            }
        }
    }
    std::vector<std::wstring> expected;
    for (UiTextId id : ids) {
        expected.push_back(UiText(id));
    }
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(observed_.menu[0].text, L"&Zusatzzeile\u2026");
    EXPECT_EQ(observed_.menu.back().text, L"&Beenden");
    Choose(IDM_ABOUT);
    ASSERT_EQ(observed_.boxes.size(), 1u);
    EXPECT_EQ(observed_.boxes[0].caption, L"Info \u00FCber Kivet");
    EXPECT_NE(observed_.boxes[0].text.find(L"\nEine winzige Anzeige"), std::wstring::npos);
    UseUiLanguage(0);
}

// ----- About and Exit -----

TEST_F(TrayMenuTest, AboutShowsVersionBuildAndPurpose) {
    Choose(IDM_ABOUT);
    ASSERT_EQ(observed_.boxes.size(), 1u);
    const MessageBoxCall& box = observed_.boxes[0];
    EXPECT_EQ(box.caption, L"About Kivet");
    EXPECT_EQ(box.style, static_cast<UINT>(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(box.owner, appState.mainWindow);

    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t end; (end = box.text.find(L'\n', start)) != std::wstring::npos; start = end + 1) {
        lines.push_back(box.text.substr(start, end - start));
    }
    lines.push_back(box.text.substr(start));
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], L"Kivet 0.2.1");
    const std::wstring buildPrefix = L"Development build - ";
    ASSERT_EQ(lines[1].compare(0, buildPrefix.size(), buildPrefix), 0) << "build line";
    std::wstring revision = lines[1].substr(buildPrefix.size());
    ASSERT_EQ(revision.size(), 8u);
    EXPECT_EQ(revision[0], L'g');
    for (size_t i = 1; i < 8; ++i) {
        EXPECT_TRUE((revision[i] >= L'0' && revision[i] <= L'9') ||
                    (revision[i] >= L'a' && revision[i] <= L'f'))
            << "not a lowercase hexadecimal digit at " << i;
    }
    EXPECT_EQ(lines[2], L"");
    EXPECT_EQ(lines[3], L"A tiny Windows tray indicator for the current ISO week.");
    EXPECT_EQ(lines[4], L"");
    EXPECT_FALSE(lines[5].empty());
    EXPECT_EQ(box.text.find(L'\r'), std::wstring::npos);
    ExpectNoEffect();
}

TEST_F(TrayMenuTest, ExitDestroysTheMainWindowAndTheMenu) {
    HWND window = appState.mainWindow;
    Choose(IDM_EXIT);
    EXPECT_FALSE(IsWindow(window));
    ExpectMenusDestroyed();
    ExpectNoEffect();
}

// ----- The font dialog -----

TEST_F(TrayMenuTest, OtherFontOpensTheDialogWithTheCurrentFace) {
    lstrcpynW(appState.settings.fontFace, L"Segoe UI", 32);
    observed_.fontAnswer = FALSE;
    Choose(IDM_FONT_OTHER);
    ASSERT_EQ(observed_.fontDialogs.size(), 1u);
    const FontDialogCall& call = observed_.fontDialogs[0];

    CHOOSEFONTW expectedChoice;
    ZeroMemory(&expectedChoice, sizeof(expectedChoice));
    expectedChoice.lStructSize = sizeof(CHOOSEFONTW);
    expectedChoice.hwndOwner = appState.mainWindow;
    expectedChoice.lpLogFont = call.choice.lpLogFont;
    expectedChoice.Flags = 0x1010041;
    EXPECT_NE(call.choice.lpLogFont, nullptr);
    EXPECT_EQ(call.choice.lStructSize, sizeof(CHOOSEFONTW));
    EXPECT_EQ(call.choice.Flags, 0x1010041u);
    EXPECT_EQ(std::memcmp(&call.choice, &expectedChoice, sizeof(expectedChoice)), 0)
        << "every other field of CHOOSEFONTW must be zero";

    LOGFONTW expectedFont;
    ZeroMemory(&expectedFont, sizeof(expectedFont));
    lstrcpynW(expectedFont.lfFaceName, L"Segoe UI", 32);
    EXPECT_EQ(std::memcmp(&call.logFont, &expectedFont, sizeof(expectedFont)), 0)
        << "the LOGFONTW must be zero but for the face";

    // Cancel: nothing changes.
    EXPECT_STREQ(appState.settings.fontFace, L"Segoe UI");
    ExpectNoEffect();
    EXPECT_TRUE(NullMessagePosted());
    ExpectMenusDestroyed();
}

TEST_F(TrayMenuTest, OtherFontKeepsTheChosenFaceOnly) {
    const wchar_t longest[] = L"Face Name Of Thirty-One Letters"; // 31 units
    ASSERT_EQ(wcslen(longest), 31u);
    observed_.fontAnswer = TRUE;
    lstrcpynW(observed_.fontFaceAnswer, longest, LF_FACESIZE);
    Choose(IDM_FONT_OTHER);
    EXPECT_STREQ(appState.settings.fontFace, longest);
    EXPECT_EQ(SavedString(L"Font"), longest);
    ExpectSavedThenRedrawn();

    // OK without changing the face saves and redraws with the same face.
    ForgetEffects();
    Choose(IDM_FONT_OTHER);
    ASSERT_EQ(observed_.fontDialogs.size(), 1u);
    EXPECT_STREQ(observed_.fontDialogs[0].logFont.lfFaceName, longest);
    EXPECT_STREQ(appState.settings.fontFace, longest);
    ExpectSavedThenRedrawn();

    // A face that fills all 32 units without a terminator is cut to 31 and terminated.
    ForgetEffects();
    for (int i = 0; i < LF_FACESIZE; ++i) {
        observed_.fontFaceAnswer[i] = static_cast<wchar_t>(L'a' + i % 26);
    }
    Choose(IDM_FONT_OTHER);
    EXPECT_EQ(wcsnlen(appState.settings.fontFace, 32), 31u);
    EXPECT_EQ(std::wstring(appState.settings.fontFace), std::wstring(observed_.fontFaceAnswer, 31));
}

TEST_F(TrayMenuTest, OtherFontWithoutItsDllOpensNothingAndChangesNothing) {
    ASSERT_EQ(GetModuleHandleW(DllWithoutFontDialog), nullptr);
    platform.chooseFont = realChooseFont_;
    for (auto loader : {RefuseLibrary, LoadDllWithoutFontDialog}) {
        platform.loadSystemLibrary = loader;
        ForgetEffects();
        observed_.libraries.clear();
        DialogDriver anyDialog(
            L"#32770", {[](HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0); }});
        anyDialog.Run([&] { Choose(IDM_FONT_OTHER); });
        EXPECT_FALSE(anyDialog.Finished()) << "a dialog opened";
        EXPECT_EQ(observed_.libraries, std::vector<std::wstring>{L"comdlg32.dll"});
        EXPECT_STREQ(appState.settings.fontFace, L"Lekton");
        ExpectNoEffect();
        EXPECT_TRUE(NullMessagePosted());
        ExpectMenusDestroyed();
    }
    EXPECT_EQ(GetModuleHandleW(DllWithoutFontDialog), nullptr) << "the DLL was not freed";
}

// ----- Colours of the user's own -----

// The full dialog at the current colour (black when none), with the custom colours kept from
// the last time; Cancel keeps only those.
TEST_F(TrayMenuTest, ColourDialogStartsFromTheCurrentColourAndCancelChangesNothing) {
    appState.settings.textColour = ColourIsSet | 0x00A0B0C0;
    const std::pair<UINT, COLORREF> cases[] = {{IDM_COLOURS_CUSTOM_TEXT, 0x00A0B0C0},
                                               {IDM_BACKGROUND_COLOUR, 0}};
    for (const auto& c : cases) {
        observed_.colourDialogs.clear();
        Choose(c.first);
        ASSERT_EQ(observed_.colourDialogs.size(), 1u);
        const CHOOSECOLORW& call = observed_.colourDialogs[0];
        EXPECT_EQ(call.hwndOwner, appState.mainWindow);
        EXPECT_EQ(call.Flags, static_cast<DWORD>(CC_FULLOPEN | CC_RGBINIT | CC_ANYCOLOR));
        EXPECT_EQ(call.rgbResult, c.second);
        EXPECT_EQ(appState.settings.textColour, ColourIsSet | 0x00A0B0C0);
        EXPECT_EQ(appState.settings.backgroundColour, NoColour);
        EXPECT_TRUE(observed_.notifies.empty()) << "Cancel redraws nothing";
        EXPECT_EQ(TestValueNames(SettingsKey), std::vector<std::wstring>{L"CustomColours"});
    }
    EXPECT_EQ(observed_.customColoursShown[0], std::vector<COLORREF>(16, 0x00FFFFFF));
    EXPECT_EQ(observed_.customColoursShown[1][0], 0x00123456u) << "kept between uses";
}

TEST_F(TrayMenuTest, BackgroundIsChosenAndNoBackgroundRemovesIt) {
    observed_.colourAnswer = TRUE;
    observed_.colourChosen = 0x00204080;
    Choose(IDM_BACKGROUND_COLOUR);
    EXPECT_EQ(SavedDword(L"BackgroundColour"), 0x00204080u);
    EXPECT_FALSE(ReadTestValue(SettingsKey, L"TextColour").exists) << "the text keeps its scheme";
    Choose(0);
    EXPECT_EQ(CheckedIds(Submenu(L"&Text colours")), std::vector<UINT>{IDM_COLOURS_BLACK_TEXT});
    Choose(IDM_NO_BACKGROUND);
    EXPECT_FALSE(ReadTestValue(SettingsKey, L"BackgroundColour").exists);
}

// ----- The additional line -----

const wchar_t InputDialogClass[] = L"PellowDune.Kivet.InputDialog";

TEST_F(TrayMenuTest, AdditionalLineAcceptedIsStoredSavedAndDrawn) {
    HWND window = appState.mainWindow;
    DialogDriver typed(
        InputDialogClass,
        {[window](HWND dialog) {
             EXPECT_EQ(GetWindow(dialog, GW_OWNER), window);
             EXPECT_FALSE(IsWindowEnabled(window));
             HWND edit = GetDlgItem(dialog, 100);
             PostMessageW(edit, WM_CHAR, L'K', 1);
             PostMessageW(edit, WM_CHAR, L'W', 1);
         },
         [](HWND dialog) { SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); }});
    typed.Run([&] { Choose(IDM_ADDITIONAL_LINE); });
    EXPECT_TRUE(typed.Finished());
    EXPECT_TRUE(IsWindowEnabled(window));
    EXPECT_STREQ(appState.settings.additionalLine, L"KW");
    EXPECT_EQ(SavedString(L"AdditionalLine"), L"KW");
    ExpectSavedThenRedrawn();
    EXPECT_TRUE(NullMessagePosted());
    ExpectMenusDestroyed();

    // An empty line is a line: stored and saved as empty, not as the default.
    ForgetEffects();
    DialogDriver emptied(InputDialogClass, {[](HWND dialog) {
                             HWND edit = GetDlgItem(dialog, 100);
                             SetWindowTextW(edit, L"");
                             SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
                         }});
    emptied.Run([&] { Choose(IDM_ADDITIONAL_LINE); });
    ASSERT_NE(appState.settings.additionalLine, nullptr);
    EXPECT_STREQ(appState.settings.additionalLine, L"");
    EXPECT_EQ(SavedString(L"AdditionalLine"), L"");
    ExpectSavedThenRedrawn();
}

TEST_F(TrayMenuTest, AdditionalLineCancelledChangesNothing) {
    wchar_t* before = appState.settings.additionalLine;
    DialogDriver cancelled(
        InputDialogClass,
        {[](HWND dialog) { PostMessageW(GetDlgItem(dialog, 100), WM_CHAR, L'x', 1); },
         [](HWND dialog) { SendMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0); }});
    cancelled.Run([&] { Choose(IDM_ADDITIONAL_LINE); });
    EXPECT_TRUE(cancelled.Finished());
    EXPECT_EQ(appState.settings.additionalLine, before);
    EXPECT_STREQ(appState.settings.additionalLine, L"w");
    ExpectNoEffect();
    EXPECT_TRUE(NullMessagePosted());
    ExpectMenusDestroyed();
}

} // namespace
