#include "settings/theme_preference.h"

#include "settings/settings_store.h"

namespace {

const wchar_t PersonalizeKeyPath[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

} // namespace

bool ThemeValueIsLight(const wchar_t* valueName, bool whenUnreadable) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, PersonalizeKeyPath, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return whenUnreadable;
    }
    // The default stands for an unreadable value and reads as `whenUnreadable` itself.
    DWORD value = ReadRegistryDword(key, valueName, whenUnreadable ? 1 : 0);
    RegCloseKey(key);
    return value != 0;
}
