// Windows 11's record of a notification icon names its program by path, with a leading known
// folder written as the folder's id: "{6D809377-6AF0-444B-8957-A3773F02200E}\Kivet\Kivet.exe"
// is "C:\Program Files\Kivet\Kivet.exe". Platform-free: the folder's path comes from the
// resolver the caller passes.
#pragma once

#include <cstddef>
#include <cstdint>

// A known folder's id, laid out as the platform's GUID.
struct KnownFolderId {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
};

// Writes the folder's path, without a closing separator and terminated, into `folder`; false
// when the folder is unknown or its path does not fit `capacity` units.
using KnownFolderResolver = bool (*)(const KnownFolderId& id, wchar_t* folder, size_t capacity);

// Reads "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (hex digits of either case) at the start of
// `text`; false, with `id` untouched, when the text does not start with one.
bool ParseKnownFolderId(const wchar_t* text, KnownFolderId* id);

// True when `stored` names the same file as `modulePath`, compared without case (A to Z and
// the Latin-1 letters). A stored path that starts with a folder id is that folder's path
// followed by the rest; an id that cannot be resolved never matches.
bool IsSameExecutablePath(const wchar_t* stored, const wchar_t* modulePath,
                          KnownFolderResolver resolve);
