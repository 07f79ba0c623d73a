#include "icon/notify_icon_settings.h"

#include <shlobj.h>

#include "common/app_state.h"
#include "common/platform.h"
#include "common/strings.h"
#include "icon/notify_icon_path.h"
#include "settings/settings_store.h"

static_assert(sizeof(KnownFolderId) == sizeof(GUID), "the layout of the platform's GUID");

namespace {

const wchar_t IconSettingsKeyPath[] = L"Control Panel\\NotifyIconSettings";
const wchar_t OwnKeyPath[] = L"Software\\Pellow Dune\\Kivet";
const wchar_t PromotedValueName[] = L"TaskbarPromoted";

constexpr UINT RetryMilliseconds = 1000;
constexpr int32_t Retries = 10;
constexpr DWORD ModulePathCapacity = 32768;
constexpr int KeyNameCapacity = 256; // the longest key name the registry allows, terminated

// The folder as an id list, its path read from that: both in shell32, and ILFree frees the
// list, so no other DLL is needed for the task allocator.
bool ResolveKnownFolder(const KnownFolderId& id, wchar_t* folder, size_t capacity) {
    GUID folderId;
    CopyMemory(&folderId, &id, sizeof(folderId));
    PIDLIST_ABSOLUTE list = nullptr;
    if (FAILED(SHGetKnownFolderIDList(folderId, 0, nullptr, &list))) {
        return false;
    }
    bool resolved =
        SHGetPathFromIDListEx(list, folder, static_cast<DWORD>(capacity), GPFIDL_DEFAULT) != FALSE;
    ILFree(list);
    return resolved;
}

bool IsRemembered() {
    DWORD promoted = 0;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, OwnKeyPath, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
        ReadRegistryNumber(key, PromotedValueName, &promoted);
        RegCloseKey(key);
    }
    return promoted == 1;
}

void Remember() {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, OwnKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
        const DWORD promoted = 1;
        RegSetValueExW(key, PromotedValueName, 0, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&promoted), sizeof(promoted));
        RegCloseKey(key);
    }
}

// Promotes the entry under `entries` named `name` when it is this executable's.
bool PromoteIfOwn(HKEY entries, const wchar_t* name, const wchar_t* modulePath) {
    HKEY entry = nullptr;
    if (RegOpenKeyExW(entries, name, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &entry) != ERROR_SUCCESS) {
        return false;
    }
    bool promoted = false;
    wchar_t* stored = ReadRegistryString(entry, L"ExecutablePath", L"");
    if (stored != nullptr && stored[0] != L'\0' &&
        IsSameExecutablePath(stored, modulePath, ResolveKnownFolder)) {
        const DWORD shown = 1;
        promoted =
            RegSetValueExW(entry, L"IsPromoted", 0, REG_DWORD,
                           reinterpret_cast<const BYTE*>(&shown), sizeof(shown)) == ERROR_SUCCESS;
    }
    FreeHeapBlock(stored);
    RegCloseKey(entry);
    return promoted;
}

// Every entry of this executable (an older one of the same path too) is promoted.
bool PromoteOwnEntries(HKEY entries) {
    wchar_t* modulePath =
        static_cast<wchar_t*>(AllocateZeroed(ModulePathCapacity * sizeof(wchar_t)));
    if (modulePath == nullptr) {
        return false;
    }
    bool promoted = false;
    DWORD length = platform.getModuleFileName(nullptr, modulePath, ModulePathCapacity);
    for (DWORD index = 0; length >= 1 && length < ModulePathCapacity - 1; ++index) {
        wchar_t name[KeyNameCapacity];
        DWORD nameLength = KeyNameCapacity;
        if (RegEnumKeyExW(entries, index, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS) {
            break;
        }
        promoted = PromoteIfOwn(entries, name, modulePath) || promoted;
    }
    FreeHeapBlock(modulePath);
    return promoted;
}

// True when nothing is left to do: promoted now, done before, or no NotifyIconSettings key.
bool TryPromotion() {
    if (IsRemembered()) {
        return true;
    }
    HKEY entries = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, IconSettingsKeyPath, 0, KEY_ENUMERATE_SUB_KEYS,
                      &entries) != ERROR_SUCCESS) {
        return true;
    }
    bool promoted = PromoteOwnEntries(entries);
    RegCloseKey(entries);
    if (promoted) {
        Remember();
    }
    return promoted;
}

} // namespace

void StartTaskbarPromotion() {
    if (TryPromotion()) {
        return;
    }
    appState.taskbarPromotionTriesLeft = Retries;
    platform.setTimer(appState.mainWindow, TaskbarPromotionTimerId, RetryMilliseconds, nullptr);
}

void RetryTaskbarPromotion() {
    if (appState.taskbarPromotionTriesLeft <= 0) {
        return; // not searching: a stray timer message
    }
    --appState.taskbarPromotionTriesLeft;
    if (TryPromotion() || appState.taskbarPromotionTriesLeft <= 0) {
        platform.killTimer(appState.mainWindow, TaskbarPromotionTimerId);
    }
}
