// The user's settings under HKEY_CURRENT_USER\Software\Pellow Dune\Kivet, and the small
// registry readers that the start-with-Windows entry shares.
#pragma once

#include <windows.h>

#include "common/app_state.h"

// The value's text when it is a REG_SZ or REG_EXPAND_SZ of 2 to 65,536 bytes, otherwise a
// copy of `defaultText`; always terminated. Null only when memory runs out. Caller frees.
wchar_t* ReadRegistryString(HKEY key, const wchar_t* valueName, const wchar_t* defaultText);

// The stored value when it is a REG_DWORD of exactly 4 bytes, otherwise `defaultValue`.
DWORD ReadRegistryDword(HKEY key, const wchar_t* valueName, DWORD defaultValue);

// Writes `text` as a REG_SZ with its terminator; the status of the write.
LSTATUS WriteRegistryString(HKEY key, const wchar_t* valueName, const wchar_t* text);

// True when a value of that name exists, of any type and size.
bool RegistryValueExists(HKEY key, const wchar_t* valueName);

// Defaults first, then whatever the settings key holds, migrating the earlier layout; never
// writes to the registry. The record must not own a line yet (a zeroed record): the line is
// set, not replaced. Afterwards additionalLine (owned by the record) is null only when memory
// ran out.
void LoadSettings(Settings* settings);

// Writes all six values and deletes the legacy ones. ERROR_SUCCESS, the error of creating
// the key (nothing written), or the status of closing it.
LSTATUS SaveSettings(const Settings* settings);
