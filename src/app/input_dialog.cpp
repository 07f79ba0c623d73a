#include "app/input_dialog.h"

#include <cwchar>

#include "common/app_state.h"
#include "common/dpi_scale.h"
#include "common/foreground_return.h"
#include "common/platform.h"
#include "common/strings.h"
#include "text/ui_text.h"

namespace {

const wchar_t InputDialogClassName[] = L"PellowDune.Kivet.InputDialog";

// How much the user may type; a longer stored text is still shown and returned whole.
constexpr int TypingLimit = 2047;

// A child control in 96-DPI units of the input window's client area.
struct ControlLayout {
    const wchar_t* className;
    int id;
    DWORD extendedStyle;
    DWORD style;
    int x;
    int y;
    int width;
    int height;
};

constexpr DWORD ChildStyle = WS_CHILD | WS_VISIBLE;
constexpr DWORD TabStopStyle = ChildStyle | WS_TABSTOP;

// In creation order, which is also the Tab order.
const ControlLayout LabelLayout = {L"STATIC", 0, 0, ChildStyle, 12, 12, 316, 18};
const ControlLayout EditLayout = {
    L"EDIT", IDC_LINE_EDIT, WS_EX_CLIENTEDGE, TabStopStyle | ES_AUTOHSCROLL, 12, 34, 316, 24};
const ControlLayout OkLayout = {L"BUTTON", IDOK, 0,  TabStopStyle | BS_DEFPUSHBUTTON,
                                172,       72,   76, 25};
const ControlLayout CancelLayout = {L"BUTTON", IDCANCEL, 0,  TabStopStyle | BS_PUSHBUTTON,
                                    252,       72,       76, 25};

// The room a button leaves beside its text, in 96-DPI units, both sides together.
constexpr int ButtonTextMargins = 16;

constexpr int WindowWidth = 356;
constexpr int WindowHeight = 140;

// Integer division truncates toward zero, so a work area narrower than the window puts the
// window half the overhang to the left (or above), rounded toward the work area's origin.
int CentredOrigin(LONG start, LONG end, int size) {
    return static_cast<int>(start + (end - start - size) / 2);
}

// A control's place in pixels of the input window's client area.
struct ControlBox {
    int x;
    int y;
    int width;
    int height;
};

ControlBox ScaledBox(const ControlLayout& layout, UINT dpi) {
    return {ScaleToDpi(layout.x, dpi), ScaleToDpi(layout.y, dpi), ScaleToDpi(layout.width, dpi),
            ScaleToDpi(layout.height, dpi)};
}

HWND CreateControl(HWND parent, const ControlLayout& layout, const wchar_t* text, ControlBox box) {
    return CreateWindowExW(layout.extendedStyle, layout.className, text, layout.style, box.x, box.y,
                           box.width, box.height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(layout.id)),
                           appState.instance, nullptr);
}

int TextWidth(HDC dc, const wchar_t* text) {
    SIZE size = {0, 0};
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
    return size.cx;
}

// What the texts need, in pixels of the font at the window's DPI.
struct TextNeeds {
    int prompt;
    int button; // the wider of OK and Cancel, with the button's own margins
};

TextNeeds MeasureTexts(HWND window, HGDIOBJ font, const wchar_t* prompt, UINT dpi) {
    TextNeeds needs = {0, 0};
    HDC dc = GetDC(window);
    if (dc == nullptr) {
        return needs;
    }
    HGDIOBJ previous = SelectObject(dc, font);
    needs.prompt = TextWidth(dc, prompt);
    int button = TextWidth(dc, UiText(TextOk));
    int cancel = TextWidth(dc, UiText(TextCancel));
    needs.button = (cancel > button ? cancel : button) + ScaleToDpi(ButtonTextMargins, dpi);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return needs;
}

int Larger(int a, int b) {
    return a > b ? a : b;
}

// The label, the edit box and the buttons keep their places, or grow to the texts: the label
// and the edit box to the prompt or the two buttons, the buttons to the wider of their texts,
// from the right edge leftwards. The window grows by as much, about its centre.
void FitToTexts(HWND window, ControlBox boxes[4], TextNeeds needs) {
    const ControlBox label = boxes[0]; // as it was
    ControlBox& ok = boxes[2];
    ControlBox& cancel = boxes[3];
    const int buttonWidth = Larger(ok.width, needs.button);
    const int gap = cancel.x - ok.x - ok.width;
    const int width = Larger(Larger(label.width, needs.prompt), 2 * buttonWidth + gap);
    const int growth = width - label.width;
    boxes[0].width = width;
    boxes[1].width = width;
    ok.width = buttonWidth;
    cancel.width = buttonWidth;
    cancel.x = label.x + width - buttonWidth;
    ok.x = cancel.x - gap - buttonWidth;
    if (growth > 0) {
        RECT frame;
        GetWindowRect(window, &frame);
        SetWindowPos(window, nullptr, frame.left - growth / 2, frame.top,
                     frame.right - frame.left + growth, frame.bottom - frame.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

InputDialogState* StateOf(HWND window) {
    return reinterpret_cast<InputDialogState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void BuildControls(HWND window, InputDialogState* state) {
    UINT dpi = GetDpiForWindow(window);

    NONCLIENTMETRICSW metrics;
    ZeroMemory(&metrics, sizeof(metrics));
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
        state->messageFont = CreateFontIndirectW(&metrics.lfMessageFont);
    }
    HGDIOBJ font = state->messageFont;
    if (font == nullptr) {
        font = GetStockObject(DEFAULT_GUI_FONT); // stock: never deleted
    }

    ControlBox boxes[4] = {ScaledBox(LabelLayout, dpi), ScaledBox(EditLayout, dpi),
                           ScaledBox(OkLayout, dpi), ScaledBox(CancelLayout, dpi)};
    FitToTexts(window, boxes, MeasureTexts(window, font, state->prompt, dpi));
    HWND label = CreateControl(window, LabelLayout, state->prompt, boxes[0]);
    state->editControl = CreateControl(window, EditLayout, state->initialText, boxes[1]);
    HWND okButton = CreateControl(window, OkLayout, UiText(TextOk), boxes[2]);
    HWND cancelButton = CreateControl(window, CancelLayout, UiText(TextCancel), boxes[3]);

    WPARAM fontParameter = reinterpret_cast<WPARAM>(font);
    SendMessageW(label, WM_SETFONT, fontParameter, TRUE);
    SendMessageW(state->editControl, WM_SETFONT, fontParameter, TRUE);
    SendMessageW(okButton, WM_SETFONT, fontParameter, TRUE);
    SendMessageW(cancelButton, WM_SETFONT, fontParameter, TRUE);

    SendMessageW(state->editControl, EM_LIMITTEXT, TypingLimit, 0);
    SendMessageW(state->editControl, EM_SETSEL, 0, -1);
    SetFocus(state->editControl);
}

// The keyboard goes back before the window goes, so that no other window sees a passing
// activation (its owner, the hidden main window, first of all). Once per prompt.
void ReturnKeyboardOnce(InputDialogState* state) {
    if (state != nullptr && !state->keyboardReturned) {
        state->keyboardReturned = 1;
        ReturnKeyboard(true);
    }
}

void CloseInputWindow(HWND window, InputDialogState* state) {
    ReturnKeyboardOnce(state);
    DestroyWindow(window);
}

// OK: the edit box's whole text becomes the result. When the buffer cannot be had the window
// stays open, so the user can try again or cancel.
void AcceptText(HWND window, InputDialogState* state) {
    int length = GetWindowTextLengthW(state->editControl);
    size_t units = static_cast<size_t>(length) + 1;
    state->resultText = static_cast<wchar_t*>(AllocateZeroed(units * sizeof(wchar_t)));
    if (state->resultText == nullptr) {
        return;
    }
    GetWindowTextW(state->editControl, state->resultText, length + 1);
    state->accepted = 1;
    CloseInputWindow(window, state);
}

bool RegisterInputDialogClass() {
    WNDCLASSEXW windowClass;
    ZeroMemory(&windowClass, sizeof(windowClass));
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = InputDialogProc;
    windowClass.hInstance = appState.instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    windowClass.lpszClassName = InputDialogClassName;
    if (RegisterClassExW(&windowClass) != 0) {
        return true;
    }
    return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

wchar_t* PromptForAdditionalLine(HWND owner, const wchar_t* currentText) {
    if (!RegisterInputDialogClass()) {
        return nullptr;
    }

    InputDialogState state;
    ZeroMemory(&state, sizeof(state));
    state.title = UiText(TextInputTitle);
    state.prompt = UiText(TextInputPrompt);
    state.initialText = currentText;

    UINT dpi = platform.getDpiForSystem();
    int width = ScaleToDpi(WindowWidth, dpi);
    int height = ScaleToDpi(WindowHeight, dpi);
    RECT workArea;
    ZeroMemory(&workArea, sizeof(workArea));
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    int x = CentredOrigin(workArea.left, workArea.right, width);
    int y = CentredOrigin(workArea.top, workArea.bottom, height);

    state.window = CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_TOOLWINDOW, InputDialogClassName,
                                   state.title, WS_CAPTION | WS_SYSMENU, x, y, width, height, owner,
                                   nullptr, appState.instance, &state);
    if (state.window == nullptr) {
        return nullptr;
    }

    NoteKeyboardOwner(false, true);
    EnableWindow(owner, FALSE);
    ShowWindow(state.window, SW_SHOW);

    MSG message;
    ZeroMemory(&message, sizeof(message));
    BOOL last = 1;
    while (IsWindow(state.window)) {
        last = GetMessageW(&message, nullptr, 0, 0);
        if (last == 0 || last == -1) {
            break;
        }
        if (IsDialogMessageW(state.window, &message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }

    // The loop can end on WM_QUIT or a failed GetMessageW while the window still exists. The
    // record it points at dies with this function, and nothing would serve the window any
    // more, so it goes now, while WM_DESTROY can still release the font through the record.
    // Should it somehow survive, it loses the record instead.
    if (IsWindow(state.window)) {
        CloseInputWindow(state.window, &state);
        if (IsWindow(state.window)) {
            SetWindowLongPtrW(state.window, GWLP_USERDATA, 0);
        }
    }

    ReturnKeyboardOnce(&state); // where the window went with its owner
    EnableWindow(owner, TRUE);

    if (last == 0) {
        PostQuitMessage(static_cast<int>(message.wParam));
    }
    if (state.accepted == 0) {
        return nullptr;
    }
    return state.resultText;
}

LRESULT CALLBACK InputDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    InputDialogState* state = StateOf(window);
    switch (message) {
    case WM_NCCREATE: {
        const CREATESTRUCTW* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        state = static_cast<InputDialogState*>(creation->lpCreateParams);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
        if (state != nullptr) {
            state->window = window;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    case WM_CREATE:
        if (state != nullptr) {
            BuildControls(window, state);
        }
        return 0;
    case WM_DESTROY:
        if (state != nullptr && state->messageFont != nullptr) {
            DeleteObject(state->messageFont);
            state->messageFont = nullptr;
        }
        return 0;
    case WM_CLOSE:
        CloseInputWindow(window, state);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            if (state != nullptr) {
                AcceptText(window, state);
            }
            return 0;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            CloseInputWindow(window, state);
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
