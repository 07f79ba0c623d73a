// Out of Windows 11's hidden icons, once. Windows 11 keeps one key per notification icon under
// HKEY_CURRENT_USER\Control Panel\NotifyIconSettings, with the program's "ExecutablePath" and
// a DWORD "IsPromoted" (1: shown on the taskbar rather than behind the ^). Kivet sets its own
// entry's IsPromoted to 1 the first time it finds one, and remembers that it did under its own
// key ("TaskbarPromoted" = 1), so a user who hides the icon later keeps that choice. Windows 10
// has no such key: nothing is then made or changed.
#pragma once

#include <windows.h>

// On the main window: the retries while Windows has not made the entry yet.
constexpr UINT_PTR TaskbarPromotionTimerId = 2;

// After the icon was added. Does nothing once done before or without the key; otherwise tries
// at once and, while there is no entry of Kivet's yet, every second up to ten times more.
void StartTaskbarPromotion();

// WM_TIMER TaskbarPromotionTimerId: one more try while searching; the timer ends with success
// or the last try.
void RetryTaskbarPromotion();
