// The small modal window that asks for the additional line.
#pragma once

#include <windows.h>

#include <cstdint>

struct InputDialogState {
    HWND window;
    HWND editControl;
    HFONT messageFont; // owned; deleted at WM_DESTROY
    const wchar_t* title;
    const wchar_t* prompt;
    const wchar_t* initialText; // borrowed
    wchar_t* resultText;        // process heap; passes to the caller
    int32_t accepted;
    int32_t keyboardReturned; // 1 once the keyboard went back, before the window went
};

constexpr int IDC_LINE_EDIT = 100;

// The accepted text as a new heap string that the caller owns, or null when nothing was
// accepted (Cancel, Escape, the close box, WM_QUIT, or a failure to set the window up).
wchar_t* PromptForAdditionalLine(HWND owner, const wchar_t* currentText);

LRESULT CALLBACK InputDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
