// Settings that an administrator enforces through Group Policy: values under
// Software\Policies\Pellow Dune\Kivet in HKEY_LOCAL_MACHINE (for the machine) or
// HKEY_CURRENT_USER (for the user), with the names and types of the user's own settings.
#pragma once

#include <windows.h>

#include "common/app_state.h"

// Reads every policy value, each from the machine's key when it holds a valid one, else from
// the user's policy key, into `policy`; returns the SettingBits of those it read. A value
// that is absent or invalid is not enforced and leaves its field as it was.
uint32_t LoadPolicies(Settings* policy);

// At start-up and after each policy refresh: reads the policies anew and makes
// appState.settings the user's values (appState.userSettings) with every enforced one over
// them. False when memory ran out for the line; the shown line then stays as it was.
bool ApplyPolicies();

// After a menu command changed appState.settings: the values that no policy enforces become
// the user's own again, and the user's values are saved. An enforced value is never saved,
// so the user's own stored value comes back when the policy goes.
LSTATUS SaveUserSettings();

// True when a WM_SETTINGCHANGE's lParam names the "Policy" area, which Group Policy
// broadcasts after each refresh.
bool IsPolicyChange(LPARAM lParam);
