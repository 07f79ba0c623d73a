#include "settings/startup_entry.h"

#include <windows.h>

#include <cwchar>

#include "common/platform.h"
#include "common/strings.h"
#include "settings/settings_store.h"

namespace {

const wchar_t RunKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t RunValueName[] = L"Kivet";
// Where Task Manager's Startup tab and Settings > Apps > Startup keep what the user switched
// off: a REG_BINARY named like the Run value, in the hive of that value.
const wchar_t ApprovalKeyPath[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

// The module query gets a buffer of 32,768 units. A path that fills it together with its
// terminator, or that the query had to cut, counts as unavailable.
constexpr DWORD ModulePathCapacity = 32768;
constexpr DWORD LongestModulePath = ModulePathCapacity - 2;

// The first byte of the approval marker: even (02 00 00 00, time zero) when enabled, odd
// (03 00 00 00 and the FILETIME of the change) when disabled. A marker of another type or
// with no data disables nothing.
bool MarkerSaysDisabled(unsigned long type, const unsigned char* data, unsigned long size) {
    return type == REG_BINARY && size >= 1 && (data[0] & 1) != 0;
}

bool IsDisabledByApproval(HKEY root) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, ApprovalKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    // Windows writes 12 bytes; a value too long for this buffer is not its marker.
    BYTE data[64] = {};
    DWORD size = sizeof(data);
    DWORD type = REG_NONE;
    LSTATUS status = RegQueryValueExW(key, RunValueName, nullptr, &type, data, &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && MarkerSaysDisabled(type, data, size);
}

// Deletes the user's value "Kivet" under `keyPath`; an absent key or value is nothing to
// delete, and the key is never created.
bool DeleteUserValue(const wchar_t* keyPath) {
    HKEY key = nullptr;
    LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_SET_VALUE, &key);
    if (status == ERROR_FILE_NOT_FOUND) {
        return true;
    }
    if (status != ERROR_SUCCESS) {
        return false;
    }
    status = RegDeleteValueW(key, RunValueName);
    RegCloseKey(key);
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

// Removing the marker, rather than writing the enabled form, leaves the entry as it is before
// anyone switched it: Windows treats a Run value without a marker as enabled, and nothing
// stays behind once the value goes.
bool RemoveApprovalMarker() {
    return DeleteUserValue(ApprovalKeyPath);
}

// The Run value first, the marker after: when the marker cannot go, the value stays
// disabled and the effective state is still the old one.
bool EnableStartWithWindows() {
    wchar_t* quotedPath = GetQuotedModulePath();
    if (quotedPath == nullptr) {
        return false;
    }
    bool written = false;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, RunKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        written = WriteRegistryString(key, RunValueName, quotedPath) == ERROR_SUCCESS;
        RegCloseKey(key);
    }
    FreeHeapBlock(quotedPath);
    return written && RemoveApprovalMarker();
}

// Whatever the value holds, even another copy's path, is removed.
bool DeleteRunValue() {
    return DeleteUserValue(RunKeyPath);
}

} // namespace

wchar_t* GetQuotedModulePath() {
    wchar_t* path = static_cast<wchar_t*>(AllocateZeroed(ModulePathCapacity * sizeof(wchar_t)));
    if (path == nullptr) {
        return nullptr;
    }
    wchar_t* quoted = nullptr;
    DWORD length = platform.getModuleFileName(nullptr, path, ModulePathCapacity);
    if (length >= 1 && length <= LongestModulePath) {
        size_t capacity = length + 3; // two quotes and the terminator
        quoted = static_cast<wchar_t*>(AllocateZeroed(capacity * sizeof(wchar_t)));
        if (quoted != nullptr) {
            // The precision keeps the read within the reported length, terminated or not.
            FormatString(quoted, capacity, L"\"%.*ls\"", static_cast<int>(length), path);
        }
    }
    FreeHeapBlock(path);
    return quoted;
}

bool SetStartWithWindows(bool enable) {
    if (enable) {
        return EnableStartWithWindows();
    }
    // Once the value is gone Kivet does not start; a marker left over is only reported.
    bool deleted = DeleteRunValue();
    return RemoveApprovalMarker() && deleted;
}

bool IsStartWithWindowsEnabled() {
    wchar_t* quotedPath = GetQuotedModulePath();
    if (quotedPath == nullptr) {
        return false;
    }
    bool enabled = false;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, RunKeyPath, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        // Absent, not text, empty or too large: the empty default, which never matches.
        wchar_t* stored = ReadRegistryString(key, RunValueName, L"");
        // In the default "C" locale the runtime folds only A to Z; every other unit must
        // match exactly.
        enabled = stored != nullptr && _wcsicmp(stored, quotedPath) == 0;
        FreeHeapBlock(stored);
        RegCloseKey(key);
    }
    FreeHeapBlock(quotedPath);
    return enabled && !IsDisabledByApproval(HKEY_CURRENT_USER);
}

bool IsStartWithWindowsForAllUsers() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, RunKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    bool exists = RegistryValueExists(key, RunValueName);
    RegCloseKey(key);
    return exists && !IsDisabledByApproval(HKEY_LOCAL_MACHINE);
}
