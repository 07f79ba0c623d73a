#include "settings/startup_entry.h"

#include <windows.h>

#include <cwchar>

#include "common/platform.h"
#include "common/strings.h"
#include "settings/settings_store.h"

namespace {

const wchar_t RunKeyPath[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t RunValueName[] = L"Kivet";

// The module query gets a buffer of 32,768 units. A path that fills it together with its
// terminator, or that the query had to cut, counts as unavailable.
constexpr DWORD ModulePathCapacity = 32768;
constexpr DWORD LongestModulePath = ModulePathCapacity - 2;

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
    return written;
}

// Whatever the value holds, even another copy's path, is removed. An absent Run key means
// there is nothing to remove; it is not created.
bool DisableStartWithWindows() {
    HKEY key = nullptr;
    LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, RunKeyPath, 0, KEY_SET_VALUE, &key);
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
    return enable ? EnableStartWithWindows() : DisableStartWithWindows();
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
    return enabled;
}

bool IsStartWithWindowsForAllUsers() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, RunKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    bool exists = RegistryValueExists(key, RunValueName);
    RegCloseKey(key);
    return exists;
}
