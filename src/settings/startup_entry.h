// The "Kivet" value under HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run,
// and the administrator's one under HKEY_LOCAL_MACHINE, which starts Kivet for every user.
#pragma once

// The running executable's path in double quotes, on the process heap (caller frees), or
// null when the path or memory is unavailable.
wchar_t* GetQuotedModulePath();

// Creates (enable) or deletes the value. False on failure; the registry is then unchanged.
bool SetStartWithWindows(bool enable);

// True when the value holds this executable's quoted path, A to Z compared without case.
bool IsStartWithWindowsEnabled();

// True when the machine's Run key has a "Kivet" value, whatever it holds.
bool IsStartWithWindowsForAllUsers();
