// The user's light or dark choices, as Windows keeps them under
// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize:
// "AppsUseLightTheme" for windows, "SystemUsesLightTheme" for the taskbar (Windows 10 1903
// and later; before that the taskbar is always dark).
#pragma once

#include <windows.h>

// True when the value is a REG_DWORD of exactly 4 bytes that is not zero; false when it is
// zero; `whenUnreadable` when the key or the value is missing or has another type or size.
bool ThemeValueIsLight(const wchar_t* valueName, bool whenUnreadable);
