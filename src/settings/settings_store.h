// The user's settings under HKEY_CURRENT_USER\Software\Pellow Dune\Kivet, and the small
// registry readers that the start-with-Windows entry shares.
#pragma once

#include <windows.h>

#include "common/app_state.h"

// The value's text when it is a REG_SZ or REG_EXPAND_SZ of 2 to 65,536 bytes, always
// terminated; otherwise, or when memory runs out, null. Caller frees.
wchar_t* ReadRegistryText(HKEY key, const wchar_t* valueName);

// The value's text as ReadRegistryText reads it, otherwise a copy of `defaultText`. Null only
// when memory runs out. Caller frees.
wchar_t* ReadRegistryString(HKEY key, const wchar_t* valueName, const wchar_t* defaultText);

// True, with the value, when it is a REG_DWORD of exactly 4 bytes; otherwise false and
// `value` untouched.
bool ReadRegistryNumber(HKEY key, const wchar_t* valueName, DWORD* value);

// The stored value when it is a REG_DWORD of exactly 4 bytes, otherwise `defaultValue`.
DWORD ReadRegistryDword(HKEY key, const wchar_t* valueName, DWORD defaultValue);

// Writes `text` as a REG_SZ with its terminator; the status of the write.
LSTATUS WriteRegistryString(HKEY key, const wchar_t* valueName, const wchar_t* text);

// True when a value of that name exists, of any type and size.
bool RegistryValueExists(HKEY key, const wchar_t* valueName);

// Reads one setting (a single SettingBit) from an open key into `settings` when its value is
// there and valid, and says whether it did; otherwise the field stays as it was. The one
// validation for the user's settings key and for the policy keys. A line read replaces the
// record's own (freed).
bool ReadSettingValue(HKEY key, uint32_t setting, Settings* settings);

// Defaults first, then whatever the settings key holds, migrating the earlier layout; never
// writes to the registry. The record must not own a line yet (a zeroed record): the line is
// set, not replaced. Afterwards additionalLine (owned by the record) is null only when memory
// ran out.
void LoadSettings(Settings* settings);

// Writes all six values, and each colour that is set (deleting one that is not), and
// deletes the legacy ones. ERROR_SUCCESS, the error of creating
// the key (nothing written), or the status of closing it.
LSTATUS SaveSettings(const Settings* settings);

// The colour dialog's sixteen custom colours ("CustomColours", REG_BINARY of 16 COLORREFs),
// kept between its uses. White boxes when the value is absent or not exactly that.
constexpr int CustomColourCount = 16;
void LoadCustomColours(uint32_t colours[CustomColourCount]);
LSTATUS SaveCustomColours(const uint32_t colours[CustomColourCount]);
