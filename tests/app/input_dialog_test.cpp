#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>
#include <initializer_list>
#include <numeric>
#include <string>
#include <vector>

#include "app/dialog_driver.h"
#include "app/input_dialog.h"
#include "common/app_state.h"
#include "common/foreground_return.h"
#include "support/platform_fixture.h"
#include "text/language_tables.h"
#include "text/ui_text.h"

namespace {

const wchar_t DialogClass[] = L"PellowDune.Kivet.InputDialog";

struct ChildInfo {
    std::wstring className;
    int id;
    std::wstring text;
    DWORD style;
    DWORD extendedStyle;
    RECT client; // in the input window's client coordinates
};

std::wstring ClassOf(HWND window) {
    wchar_t name[128] = L"";
    GetClassNameW(window, name, 128);
    return name;
}

std::wstring TextOf(HWND window) {
    int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(window, &text[0], length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

std::vector<ChildInfo> ChildrenOf(HWND dialog) {
    std::vector<ChildInfo> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        ChildInfo info;
        info.className = ClassOf(child);
        info.id = GetDlgCtrlID(child);
        info.text = TextOf(child);
        info.style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
        info.extendedStyle = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_EXSTYLE));
        GetWindowRect(child, &info.client);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&info.client), 2);
        children.push_back(info);
    }
    return children;
}

BOOL CALLBACK NoteInputWindow(HWND window, LPARAM found) {
    if (ClassOf(window) == DialogClass) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// An input window of this thread; other test programs on the same desktop have their own.
HWND OpenInputWindow() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), NoteInputWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND EditOf(HWND dialog) {
    return GetDlgItem(dialog, IDC_LINE_EDIT);
}

void PostKey(HWND target, WPARAM key) {
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

std::wstring TakeResult(wchar_t* result) {
    std::wstring text = result;
    HeapFree(GetProcessHeap(), 0, result);
    return text;
}

class InputDialogTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        appState.instance = GetModuleHandleW(nullptr);
        owner_ = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"input dialog test owner",
                                 WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &savedWorkArea_, 0);
    }
    void TearDown() override {
        SystemParametersInfoW(SPI_SETWORKAREA, 0, &savedWorkArea_, 0);
        if (IsWindow(owner_)) {
            DestroyWindow(owner_);
        }
        MSG leftover;
        while (PeekMessageW(&leftover, nullptr, 0, 0, PM_REMOVE)) {
        }
        PlatformTest::TearDown();
    }

    // Runs the prompt while the steps act on its window; the result as the prompt gave it.
    wchar_t* Prompt(const wchar_t* current, std::vector<std::function<void(HWND)>> steps) {
        DialogDriver driver(DialogClass, std::move(steps));
        wchar_t* result = nullptr;
        driver.Run([&] { result = PromptForAdditionalLine(owner_, current); });
        EXPECT_TRUE(driver.Finished()) << "the prompt returned before every step had run";
        return result;
    }

    HWND owner_ = nullptr;
    RECT savedWorkArea_ = {};
};

// The window as it opens: frame, placement, the four controls, font, selection and focus.
TEST_F(InputDialogTest, OpensCentredWithItsFourControlsAndTheTextSelected) {
    RECT workArea = {0, 0, 1920, 1040};
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &workArea, 0));
    ASSERT_EQ(platform.getDpiForSystem(), 96u) << "this test expects the prefix at 96 DPI";

    wchar_t* result = Prompt(
        L"wk", {[&](HWND dialog) {
            RECT frame;
            GetWindowRect(dialog, &frame);
            EXPECT_EQ(frame.left, 782);
            EXPECT_EQ(frame.top, 450);
            EXPECT_EQ(frame.right - frame.left, 356);
            EXPECT_EQ(frame.bottom - frame.top, 140);

            EXPECT_EQ(TextOf(dialog), L"Kivet additional line");
            EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner_);
            DWORD style = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE));
            EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_VISIBLE),
                      static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_VISIBLE));
            EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CHILD), 0u);
            DWORD extended = static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE));
            EXPECT_EQ(extended & (WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW),
                      static_cast<DWORD>(WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW));
            EXPECT_FALSE(IsWindowEnabled(owner_))
                << "the owner must be disabled while the prompt runs";

            std::vector<ChildInfo> children = ChildrenOf(dialog);
            ASSERT_EQ(children.size(), 4u);
            struct Expected {
                const wchar_t* className;
                int id;
                const wchar_t* text;
                DWORD style;
                DWORD extendedStyle;
                RECT client;
            };
            const Expected expected[] = {
                {L"Static", 0, L"Text for the additional line:", 0x50000000, 0, {12, 12, 328, 30}},
                {L"Edit", 100, L"wk", 0x50010080, WS_EX_CLIENTEDGE, {12, 34, 328, 58}},
                {L"Button", IDOK, L"OK", 0x50010001, 0, {172, 72, 248, 97}},
                {L"Button", IDCANCEL, L"Cancel", 0x50010000, 0, {252, 72, 328, 97}},
            };
            for (size_t i = 0; i < 4; ++i) {
                SCOPED_TRACE(i);
                EXPECT_EQ(_wcsicmp(children[i].className.c_str(), expected[i].className), 0)
                    << "class "
                    << std::string(children[i].className.begin(), children[i].className.end());
                EXPECT_EQ(children[i].id, expected[i].id);
                EXPECT_EQ(children[i].text, expected[i].text);
                // The platform may add bits of its own (the edit box's border, for one); the ones
                // asked for must all be there, and no tab stop beyond them.
                EXPECT_EQ(children[i].style & expected[i].style, expected[i].style);
                EXPECT_EQ(children[i].style & WS_TABSTOP, expected[i].style & WS_TABSTOP);
                EXPECT_EQ(children[i].extendedStyle & WS_EX_CLIENTEDGE,
                          expected[i].extendedStyle & WS_EX_CLIENTEDGE);
                EXPECT_EQ(children[i].client.left, expected[i].client.left);
                EXPECT_EQ(children[i].client.top, expected[i].client.top);
                EXPECT_EQ(children[i].client.right, expected[i].client.right);
                EXPECT_EQ(children[i].client.bottom, expected[i].client.bottom);
            }

            // All four controls share the message font that the window owns.
            const InputDialogState* state =
                reinterpret_cast<const InputDialogState*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
            ASSERT_NE(state, nullptr);
            EXPECT_EQ(state->window, dialog);
            EXPECT_EQ(state->editControl, EditOf(dialog));
            ASSERT_NE(state->messageFont, nullptr);
            EXPECT_NE(state->messageFont, GetStockObject(DEFAULT_GUI_FONT));
            for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)),
                          state->messageFont);
            }

            HWND edit = EditOf(dialog);
            // Another program on the same desktop may have taken the foreground meanwhile;
            // coming back to the front restores the focus to where the window had put it.
            if (GetForegroundWindow() != dialog) {
                SetForegroundWindow(dialog);
            }
            EXPECT_EQ(GetFocus(), edit) << "the caret belongs in the edit box";
            DWORD start = 0, end = 0;
            SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                         reinterpret_cast<LPARAM>(&end));
            EXPECT_EQ(start, 0u);
            EXPECT_EQ(end, 2u);
            EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 2047);

            SendMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0);
        }});
    EXPECT_EQ(result, nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner_));
    EXPECT_EQ(OpenInputWindow(), nullptr);
}

// Halving the overhang truncates toward zero: 301 - 356 = -55 gives -27, 101 - 140 gives -19.
TEST_F(InputDialogTest, WorkAreaSmallerThanTheWindowCentresTowardItsOrigin) {
    RECT workArea = {100, 50, 401, 151};
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &workArea, 0));
    wchar_t* result = Prompt(L"", {[](HWND dialog) {
                                 RECT frame;
                                 GetWindowRect(dialog, &frame);
                                 EXPECT_EQ(frame.left, 73);
                                 EXPECT_EQ(frame.top, 31);
                                 PostMessageW(dialog, WM_CLOSE, 0, 0);
                             }});
    EXPECT_EQ(result, nullptr);
}

// Every way of accepting gives the edit box's text as typed.
TEST_F(InputDialogTest, AcceptsTheTextByOkButtonAndByEnter) {
    wchar_t* clicked =
        Prompt(L"w", {[](HWND dialog) { SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); }});
    ASSERT_NE(clicked, nullptr);
    EXPECT_EQ(TakeResult(clicked), L"w") << "OK without a change keeps the same text";
    EXPECT_TRUE(IsWindowEnabled(owner_));

    // Typing replaces the selected text; Enter in the edit box is OK.
    wchar_t* entered = Prompt(L"old text", {[](HWND dialog) {
                                                HWND edit = EditOf(dialog);
                                                PostMessageW(edit, WM_CHAR, L'K', 1);
                                                PostMessageW(edit, WM_CHAR, L'w', 1);
                                            },
                                            [](HWND dialog) {
                                                EXPECT_EQ(TextOf(EditOf(dialog)), L"Kw");
                                                PostKey(EditOf(dialog), VK_RETURN);
                                            }});
    ASSERT_NE(entered, nullptr);
    EXPECT_EQ(TakeResult(entered), L"Kw");

    // An empty text is an answer, not a cancellation.
    wchar_t* empty = Prompt(L"w", {[](HWND dialog) { PostKey(EditOf(dialog), VK_DELETE); },
                                   [](HWND dialog) {
                                       EXPECT_EQ(GetWindowTextLengthW(EditOf(dialog)), 0);
                                       SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
                                   }});
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(TakeResult(empty), L"");
}

TEST_F(InputDialogTest, CancelEscapeCloseBoxAndAltF4GiveNothing) {
    const std::vector<std::pair<const char*, std::function<void(HWND)>>> ways = {
        {"Cancel", [](HWND dialog) { SendMessageW(GetDlgItem(dialog, IDCANCEL), BM_CLICK, 0, 0); }},
        {"Escape", [](HWND dialog) { PostKey(EditOf(dialog), VK_ESCAPE); }},
        {"close box", [](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); }},
        {"Alt+F4", [](HWND dialog) { PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.first);
        wchar_t* result = Prompt(
            L"unchanged",
            {[](HWND dialog) { PostMessageW(EditOf(dialog), WM_CHAR, L'x', 1); }, way.second});
        EXPECT_EQ(result, nullptr);
        EXPECT_TRUE(IsWindowEnabled(owner_));
        EXPECT_EQ(OpenInputWindow(), nullptr);
    }
}

// Opened from the tray menu, which took the foreground into the hidden main window: closed,
// it gives the keyboard back to the window the user was in, never to that hidden owner.
TEST_F(InputDialogTest, ClosingGivesTheKeyboardBackToTheWindowBeforeTheMenu) {
    HWND elsewhere = CreateWindowExW(0, L"STATIC", L"elsewhere", WS_POPUP | WS_VISIBLE, 0, 0, 50,
                                     50, nullptr, nullptr, nullptr, nullptr);
    appState.mainWindow = owner_;
    SetForegroundWindow(elsewhere);
    NoteKeyboardOwner(false, false); // as the menu opens
    SetForegroundWindow(owner_);
    HandOverKeyboard(); // as the menu closes on "Additional line…"
    Prompt(L"", {[](HWND dialog) { PostMessageW(dialog, WM_CLOSE, 0, 0); }});
    EXPECT_EQ(GetForegroundWindow(), elsewhere);
    EXPECT_EQ(appState.keyboardNote.noted, 0) << "the note is used once";
    appState = AppState{};
    DestroyWindow(elsewhere);
}

// The limit stops typing only: a longer stored text is shown and given back whole.
TEST_F(InputDialogTest, TypingStopsAt2047ButALongerStoredTextSurvives) {
    wchar_t* typed =
        Prompt(L"", {[](HWND dialog) {
                         for (int i = 0; i < 2100; ++i) {
                             PostMessageW(EditOf(dialog), WM_CHAR, L'a' + i % 26, 1);
                         }
                     },
                     [](HWND dialog) { SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0); }});
    ASSERT_NE(typed, nullptr);
    EXPECT_EQ(TakeResult(typed).size(), 2047u);

    std::wstring stored(3000, L'\0');
    for (size_t i = 0; i < stored.size(); ++i) {
        stored[i] = static_cast<wchar_t>(L'A' + i % 26);
    }
    wchar_t* kept = Prompt(stored.c_str(), {[](HWND dialog) {
                               EXPECT_EQ(GetWindowTextLengthW(EditOf(dialog)), 3000);
                               PostKey(EditOf(dialog), VK_RETURN);
                           }});
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(TakeResult(kept), stored);
}

LPVOID WINAPI FailingHeapAlloc(HANDLE, DWORD, SIZE_T) {
    return nullptr;
}

// Without memory for the text, OK leaves the window open; a later OK works.
TEST_F(InputDialogTest, OkWithoutMemoryKeepsTheWindowOpen) {
    wchar_t* result = Prompt(L"keep", {[](HWND dialog) {
                                           platform.heapAlloc = FailingHeapAlloc;
                                           SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
                                           ResetPlatformCalls();
                                       },
                                       [](HWND dialog) {
                                           EXPECT_TRUE(IsWindow(dialog));
                                           EXPECT_TRUE(IsWindowVisible(dialog));
                                           SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
                                       }});
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(TakeResult(result), L"keep");
}

// WM_QUIT ends the prompt with nothing, passes the quit request on with its exit code, and
// takes the window (and the font it owns) away, since the record behind it is gone.
TEST_F(InputDialogTest, QuitRequestEndsThePromptAndIsPostedAgain) {
    HWND seen = nullptr;
    HFONT font = nullptr;
    wchar_t* result = Prompt(L"before", {[&](HWND dialog) {
                                 seen = dialog;
                                 font = reinterpret_cast<const InputDialogState*>(
                                            GetWindowLongPtrW(dialog, GWLP_USERDATA))
                                            ->messageFont;
                                 PostMessageW(EditOf(dialog), WM_CHAR, L'x', 1);
                                 PostQuitMessage(7);
                             }});
    EXPECT_EQ(result, nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner_));
    EXPECT_FALSE(IsWindow(seen));
    EXPECT_EQ(GetObjectType(font), 0u) << "the message font must not outlive the window";

    MSG quit;
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(quit.wParam, 7u);
}

TEST_F(InputDialogTest, OwnerDestroyedMeanwhileEndsThePromptWithNothing) {
    wchar_t* result = Prompt(L"w", {[&](HWND) { DestroyWindow(owner_); }});
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(OpenInputWindow(), nullptr);
}

// A second prompt opened from the first's loop runs on its own record and window; when it
// ends it enables the owner although the first is still open, which then still works.
TEST_F(InputDialogTest, PromptInsideAPromptKeepsItsOwnRecord) {
    std::wstring inner;
    wchar_t* outer =
        Prompt(L"outer", {[&](HWND first) {
                              wchar_t* text =
                                  Prompt(L"inner", {[&](HWND second) {
                                             EXPECT_NE(second, first);
                                             EXPECT_EQ(TextOf(EditOf(second)), L"inner");
                                             SendMessageW(GetDlgItem(second, IDOK), BM_CLICK, 0, 0);
                                         }});
                              ASSERT_NE(text, nullptr);
                              inner = TakeResult(text);
                              EXPECT_TRUE(IsWindow(first));
                              EXPECT_TRUE(IsWindowEnabled(owner_));
                          },
                          [](HWND first) {
                              EXPECT_EQ(TextOf(EditOf(first)), L"outer");
                              SendMessageW(GetDlgItem(first, IDOK), BM_CLICK, 0, 0);
                          }});
    EXPECT_EQ(inner, L"inner");
    ASSERT_NE(outer, nullptr);
    EXPECT_EQ(TakeResult(outer), L"outer");
}

} // namespace

// ----- Every language -----

// Width of a control's text in its own font.
int TextWidthIn(HWND control) {
    std::wstring text = TextOf(control);
    HDC dc = GetDC(control);
    HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size = {0, 0};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    return size.cx;
}

// The language whose texts of these ids together are the longest.
int LongestText(std::initializer_list<UiTextId> ids) {
    int longest = 0;
    size_t longestLength = 0;
    for (int language = 0; language < LanguageCount; ++language) {
        UseUiLanguage(language);
        size_t length = 0;
        for (UiTextId id : ids) {
            length += wcslen(UiText(id));
        }
        if (length > longestLength) {
            longest = language;
            longestLength = length;
        }
    }
    return longest;
}

// The title, the prompt and both buttons in the chosen language, each text inside its control
// and each control inside the window: with the system's message font, and with one so large
// that the prompt and the buttons need more room than the window has at first.
TEST_F(InputDialogTest, EveryLanguageFitsItsTextsIntoTheWindow) {
    NONCLIENTMETRICSW saved = {};
    saved.cbSize = sizeof(saved);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(saved), &saved, 0));
    for (LONG fontHeight : {saved.lfMessageFont.lfHeight, -40L}) {
        NONCLIENTMETRICSW metrics = saved;
        metrics.lfMessageFont.lfHeight = fontHeight;
        ASSERT_TRUE(SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
        // At the large font the longest prompt and buttons stand for all: windows grow alike.
        std::vector<int> languages = {0, LongestText({TextInputPrompt}),
                                      LongestText({TextOk, TextCancel})};
        if (fontHeight == saved.lfMessageFont.lfHeight) {
            languages.resize(LanguageCount);
            std::iota(languages.begin(), languages.end(), 0);
        }
        for (int language : languages) {
            SCOPED_TRACE(std::string(LanguageTables[language]->code) + " at font height " +
                         std::to_string(fontHeight));
            ASSERT_TRUE(UseUiLanguage(language));
            wchar_t* result =
                Prompt(L"", {[&](HWND dialog) {
                           EXPECT_EQ(TextOf(dialog), UiText(TextInputTitle));
                           RECT client;
                           GetClientRect(dialog, &client);
                           std::vector<ChildInfo> children = ChildrenOf(dialog);
                           ASSERT_EQ(children.size(), 4u);
                           EXPECT_EQ(children[0].text, UiText(TextInputPrompt));
                           EXPECT_EQ(children[2].text, UiText(TextOk));
                           EXPECT_EQ(children[3].text, UiText(TextCancel));
                           const int margins[] = {0, 0, 8, 8}; // a button's frame and focus ring
                           int index = 0;
                           for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
                                child = GetWindow(child, GW_HWNDNEXT), ++index) {
                               const RECT& box = children[index].client;
                               EXPECT_LE(TextWidthIn(child) + margins[index], box.right - box.left)
                                   << "control " << index;
                               EXPECT_GE(box.left, 0);
                               EXPECT_LE(box.right, client.right) << "control " << index;
                           }
                           EXPECT_LE(children[2].client.right, children[3].client.left);
                           EXPECT_EQ(children[1].client.right, children[0].client.right);
                           DestroyWindow(dialog);
                       }});
            EXPECT_EQ(result, nullptr);
        }
    }
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(saved), &saved, 0);
    UseUiLanguage(0);
}
