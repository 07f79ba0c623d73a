#include "settings/settings_store.h"

#include <cwchar>

#include "common/strings.h"

namespace {

const wchar_t SettingsKeyPath[] = L"Software\\Pellow Dune\\Kivet";

const wchar_t DefaultAdditionalLine[] = L"w";
const wchar_t DefaultFontFace[] = L"Lekton";

// A text value is taken only with 2 to 65,536 bytes of data: at least a terminator, at most
// 32,767 characters with theirs.
constexpr DWORD SmallestTextBytes = 2;
constexpr DWORD LargestTextBytes = 65536;

// The name and type of each setting's value, in the order of the bits of SettingBit.
struct SettingValue {
    const wchar_t* name;
    DWORD type;
};
const SettingValue SettingValues[] = {
    {L"AdditionalLine", REG_SZ}, {L"AdditionalLinePosition", REG_DWORD},
    {L"LeadingZero", REG_DWORD}, {L"ColourScheme", REG_DWORD},
    {L"Font", REG_SZ},           {L"FollowTaskbarTheme", REG_DWORD},
    {L"TextColour", REG_DWORD},  {L"BackgroundColour", REG_DWORD},
};

const wchar_t CustomColoursValue[] = L"CustomColours";

bool IsTextType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ;
}

void SetDwordValue(HKEY key, const wchar_t* name, int32_t value) {
    DWORD data = static_cast<DWORD>(value);
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
}

// A colour that is not set leaves no value behind: older versions, and the next load, see the
// scheme alone.
void SetOrDeleteColour(HKEY key, const wchar_t* name, uint32_t colour) {
    if (colour == NoColour) {
        RegDeleteValueW(key, name);
        return;
    }
    const DWORD data = colour & LargestColour;
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
}

// Settings of the earlier layout: a line above ("LineAbove", else "Prefix") or below
// ("LineBelow", else "Suffix") the number. Within a pair, existence decides which name is
// read, so an empty "LineAbove" hides a "Prefix" with text. A value that exists without
// usable text still says the user had chosen a line there, which now means a hidden line.
void MigrateLegacyLine(HKEY key, Settings* settings) {
    bool lineAboveExists = RegistryValueExists(key, L"LineAbove");
    bool aboveFlag = lineAboveExists || RegistryValueExists(key, L"Prefix");
    bool lineBelowExists = RegistryValueExists(key, L"LineBelow");
    bool belowFlag = lineBelowExists || RegistryValueExists(key, L"Suffix");

    wchar_t* above = ReadRegistryString(key, lineAboveExists ? L"LineAbove" : L"Prefix", L"");
    wchar_t* below = ReadRegistryString(key, lineBelowExists ? L"LineBelow" : L"Suffix", L"");

    if (above != nullptr && above[0] != L'\0') {
        ReplaceOwnedString(&settings->additionalLine, above);
        above = nullptr;
        settings->linePosition = Above;
    } else if (below != nullptr && below[0] != L'\0') {
        ReplaceOwnedString(&settings->additionalLine, below);
        below = nullptr;
        settings->linePosition = Below;
    } else if (aboveFlag || belowFlag) {
        settings->linePosition = Hidden;
    }

    FreeHeapBlock(above);
    FreeHeapBlock(below);
}

} // namespace

wchar_t* ReadRegistryText(HKEY key, const wchar_t* valueName) {
    DWORD type = REG_NONE;
    DWORD size = 0;
    LSTATUS status = RegQueryValueExW(key, valueName, nullptr, &type, nullptr, &size);
    if (status != ERROR_SUCCESS || !IsTextType(type) || size < SmallestTextBytes ||
        size > LargestTextBytes) {
        return nullptr;
    }
    // Whole code units for the data (an odd byte count ends in half a unit), then one more
    // that stays zero: the text is terminated inside the buffer even when the stored data is
    // not.
    DWORD dataUnits = (size + 1) / sizeof(wchar_t);
    wchar_t* text = static_cast<wchar_t*>(AllocateZeroed((dataUnits + 1) * sizeof(wchar_t)));
    if (text == nullptr) {
        return nullptr;
    }
    // Offer only the first size, so the spare unit is never written; a value that grew
    // meanwhile fails here and counts as unreadable.
    DWORD offered = size;
    status =
        RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(text), &offered);
    if (status == ERROR_SUCCESS && IsTextType(type)) {
        return text;
    }
    FreeHeapBlock(text);
    return nullptr;
}

wchar_t* ReadRegistryString(HKEY key, const wchar_t* valueName, const wchar_t* defaultText) {
    wchar_t* text = ReadRegistryText(key, valueName);
    return text != nullptr ? text : HeapStringDuplicate(defaultText);
}

bool ReadRegistryNumber(HKEY key, const wchar_t* valueName, DWORD* value) {
    DWORD stored = 0;
    DWORD size = sizeof(stored);
    DWORD type = REG_NONE;
    LSTATUS status =
        RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(&stored), &size);
    if (status == ERROR_SUCCESS && type == REG_DWORD && size == sizeof(stored)) {
        *value = stored;
        return true;
    }
    return false;
}

DWORD ReadRegistryDword(HKEY key, const wchar_t* valueName, DWORD defaultValue) {
    DWORD value = defaultValue;
    ReadRegistryNumber(key, valueName, &value);
    return value;
}

bool ReadSettingValue(HKEY key, uint32_t setting, Settings* settings) {
    unsigned index = 0; // the bit's position: its row in the table
    while (index + 1 < sizeof(SettingValues) / sizeof(SettingValues[0]) &&
           (setting >> index) != 1) {
        ++index;
    }
    const SettingValue& value = SettingValues[index];
    wchar_t* text = nullptr;
    DWORD number = 0;
    if (value.type == REG_SZ) {
        text = ReadRegistryText(key, value.name);
        if (text == nullptr) {
            return false;
        }
    } else if (!ReadRegistryNumber(key, value.name, &number)) {
        return false;
    }
    bool valid = true;
    switch (setting) {
    case AdditionalLineSetting:
        ReplaceOwnedString(&settings->additionalLine, text);
        text = nullptr;
        break;
    case LinePositionSetting:
        valid = number <= Below;
        settings->linePosition = valid ? static_cast<int32_t>(number) : settings->linePosition;
        break;
    case LeadingZeroSetting:
        settings->leadingZero = number != 0 ? 1 : 0;
        break;
    case ColourSchemeSetting:
        valid = number <= 1;
        settings->colourScheme = valid ? static_cast<int32_t>(number) : settings->colourScheme;
        break;
    case FontSetting:
        valid = text[0] != L'\0';
        if (valid) {
            // cppcheck-suppress lstrcpynWCalled ; bounded by the destination's own capacity.
            lstrcpynW(settings->fontFace, text, FontFaceCapacity);
        }
        break;
    case FollowTaskbarThemeSetting:
        settings->followTaskbarTheme = number != 0 ? 1 : 0;
        break;
    case TextColourSetting:
        valid = number <= LargestColour;
        settings->textColour = valid ? ColourIsSet | number : settings->textColour;
        break;
    default: // BackgroundColourSetting
        valid = number <= LargestColour;
        settings->backgroundColour = valid ? ColourIsSet | number : settings->backgroundColour;
        break;
    }
    FreeHeapBlock(text);
    return valid;
}

LSTATUS WriteRegistryString(HKEY key, const wchar_t* valueName, const wchar_t* text) {
    DWORD bytes = static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
}

bool RegistryValueExists(HKEY key, const wchar_t* valueName) {
    return RegQueryValueExW(key, valueName, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void LoadSettings(Settings* settings) {
    settings->additionalLine = HeapStringDuplicate(DefaultAdditionalLine);
    settings->linePosition = Above;
    settings->leadingZero = 0;
    settings->colourScheme = 0;
    settings->followTaskbarTheme = 0;
    settings->textColour = NoColour;
    settings->backgroundColour = NoColour;
    // cppcheck-suppress lstrcpynWCalled ; the capacity is the destination's own, so the copy always
    // ends terminated inside it; the source is a terminated string of ours.
    lstrcpynW(settings->fontFace, DefaultFontFace, FontFaceCapacity);

    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKeyPath, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return;
    }

    if (RegistryValueExists(key, L"AdditionalLine")) {
        ReadSettingValue(key, AdditionalLineSetting, settings);
        ReadSettingValue(key, LinePositionSetting, settings);
    } else {
        MigrateLegacyLine(key, settings);
    }
    // "ColourScheme" keeps the last explicit choice beside "FollowTaskbarTheme", for when
    // following the taskbar is turned off.
    for (uint32_t setting = LeadingZeroSetting; setting <= BackgroundColourSetting; setting <<= 1) {
        ReadSettingValue(key, setting, settings);
    }

    RegCloseKey(key);
}

LSTATUS SaveSettings(const Settings* settings) {
    HKEY key = nullptr;
    LSTATUS status =
        RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) {
        return status;
    }

    // A record without a line (which a started program never has) saves the default text.
    const wchar_t* line =
        settings->additionalLine != nullptr ? settings->additionalLine : DefaultAdditionalLine;
    // The face is copied so that what is written always ends inside the array.
    wchar_t face[FontFaceCapacity];
    // cppcheck-suppress lstrcpynWCalled ; bounded by the destination's own capacity.
    lstrcpynW(face, settings->fontFace, FontFaceCapacity);

    WriteRegistryString(key, L"AdditionalLine", line);
    SetDwordValue(key, L"AdditionalLinePosition", settings->linePosition);
    RegDeleteValueW(key, L"LineAbove");
    RegDeleteValueW(key, L"LineBelow");
    RegDeleteValueW(key, L"Prefix");
    RegDeleteValueW(key, L"Suffix");
    SetDwordValue(key, L"LeadingZero", settings->leadingZero);
    SetDwordValue(key, L"ColourScheme", settings->colourScheme);
    WriteRegistryString(key, L"Font", face);
    SetDwordValue(key, L"FollowTaskbarTheme", settings->followTaskbarTheme);
    SetOrDeleteColour(key, L"TextColour", settings->textColour);
    SetOrDeleteColour(key, L"BackgroundColour", settings->backgroundColour);

    return RegCloseKey(key);
}

void LoadCustomColours(uint32_t colours[CustomColourCount]) {
    for (int index = 0; index < CustomColourCount; ++index) {
        colours[index] = 0xFFFFFF; // the dialog's empty boxes
    }
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, SettingsKeyPath, 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return;
    }
    uint32_t stored[CustomColourCount];
    DWORD size = sizeof(stored);
    DWORD type = REG_NONE;
    if (RegQueryValueExW(key, CustomColoursValue, nullptr, &type, reinterpret_cast<BYTE*>(stored),
                         &size) == ERROR_SUCCESS &&
        type == REG_BINARY && size == sizeof(stored)) {
        for (int index = 0; index < CustomColourCount; ++index) {
            colours[index] = stored[index] & LargestColour;
        }
    }
    RegCloseKey(key);
}

LSTATUS SaveCustomColours(const uint32_t colours[CustomColourCount]) {
    HKEY key = nullptr;
    LSTATUS status =
        RegCreateKeyExW(HKEY_CURRENT_USER, SettingsKeyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) {
        return status;
    }
    RegSetValueExW(key, CustomColoursValue, 0, REG_BINARY, reinterpret_cast<const BYTE*>(colours),
                   CustomColourCount * sizeof(colours[0]));
    return RegCloseKey(key);
}
