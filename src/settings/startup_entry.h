// The "Kivet" value under HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run,
// and the administrator's one under HKEY_LOCAL_MACHINE, which starts Kivet for every user;
// each as Windows shows it: off where the "Kivet" marker under
// ...\CurrentVersion\Explorer\StartupApproved\Run of the same hive says it is disabled.
#pragma once

// The running executable's path in double quotes, on the process heap (caller frees), or
// null when the path or memory is unavailable.
wchar_t* GetQuotedModulePath();

// Creates (enable) or deletes the value, and deletes the user's marker either way, which
// enables a value switched off in Task Manager again. False on failure; the effective state
// is then the old one.
bool SetStartWithWindows(bool enable);

// True when the value holds this executable's quoted path, A to Z compared without case, and
// the user's marker does not disable it.
bool IsStartWithWindowsEnabled();

// True when the machine's Run key has a "Kivet" value, whatever it holds, and the machine's
// marker does not disable it.
bool IsStartWithWindowsForAllUsers();
