#include "settings/policy_store.h"

#include <cwchar>

#include "common/strings.h"
#include "settings/settings_store.h"

namespace {

const wchar_t PolicyKeyPath[] = L"Software\\Policies\\Pellow Dune\\Kivet";

// Copies the values named by `settings` (SettingBits) from one record to the other, the line
// as a copy of its own. False when memory ran out for the line, which then stays.
bool CopySettings(uint32_t settings, const Settings& from, Settings* to) {
    bool copied = true;
    if ((settings & AdditionalLineSetting) != 0 && from.additionalLine != nullptr) {
        wchar_t* line = HeapStringDuplicate(from.additionalLine);
        copied = line != nullptr;
        ReplaceOwnedString(&to->additionalLine, line);
    }
    if ((settings & LinePositionSetting) != 0) {
        to->linePosition = from.linePosition;
    }
    if ((settings & LeadingZeroSetting) != 0) {
        to->leadingZero = from.leadingZero;
    }
    if ((settings & ColourSchemeSetting) != 0) {
        to->colourScheme = from.colourScheme;
    }
    if ((settings & FontSetting) != 0) {
        wmemcpy(to->fontFace, from.fontFace, FontFaceCapacity);
    }
    if ((settings & FollowTaskbarThemeSetting) != 0) {
        to->followTaskbarTheme = from.followTaskbarTheme;
    }
    if ((settings & TextColourSetting) != 0) {
        to->textColour = from.textColour;
    }
    if ((settings & BackgroundColourSetting) != 0) {
        to->backgroundColour = from.backgroundColour;
    }
    return copied;
}

} // namespace

uint32_t LoadPolicies(Settings* policy) {
    HKEY keys[2] = {nullptr, nullptr}; // the machine's first: it wins
    RegOpenKeyExW(HKEY_LOCAL_MACHINE, PolicyKeyPath, 0, KEY_QUERY_VALUE, &keys[0]);
    RegOpenKeyExW(HKEY_CURRENT_USER, PolicyKeyPath, 0, KEY_QUERY_VALUE, &keys[1]);
    uint32_t enforced = 0;
    for (uint32_t setting = 1; setting <= BackgroundColourSetting; setting <<= 1) {
        bool read = false;
        for (int index = 0; index < 2 && !read; ++index) {
            read = keys[index] != nullptr && ReadSettingValue(keys[index], setting, policy);
        }
        enforced |= read ? setting : 0;
    }
    // An enforced scheme must show: the user's own text colour, which would win over it, is
    // set aside (and kept in the user's key) unless a policy sets the text colour too.
    if ((enforced & (ColourSchemeSetting | FollowTaskbarThemeSetting)) != 0 &&
        (enforced & TextColourSetting) == 0) {
        policy->textColour = NoColour;
        enforced |= TextColourSetting;
    }
    for (HKEY key : keys) {
        if (key != nullptr) {
            RegCloseKey(key);
        }
    }
    return enforced;
}

bool ApplyPolicies() {
    appState.enforcedSettings = LoadPolicies(&appState.policy);
    bool copied = CopySettings(AllSettings, appState.userSettings, &appState.settings);
    return CopySettings(appState.enforcedSettings, appState.policy, &appState.settings) && copied;
}

LSTATUS SaveUserSettings() {
    CopySettings(AllSettings & ~appState.enforcedSettings, appState.settings,
                 &appState.userSettings);
    return SaveSettings(&appState.userSettings);
}

bool IsPolicyChange(LPARAM lParam) {
    const wchar_t* area = reinterpret_cast<const wchar_t*>(lParam);
    return area != nullptr && _wcsicmp(area, L"Policy") == 0;
}
