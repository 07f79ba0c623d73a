#include "text/ui_text.h"

#include <windows.h>

#include "text/language_tables.h"

namespace {

// The chosen table in UTF-16, made once; the texts point into it.
wchar_t textUnits[UiTextCapacity];
const wchar_t* texts[UiTextCount];

// Room for the preferred languages' names; a longer list than this falls back to English.
constexpr ULONG LanguageNamesCapacity = 512;

bool ConvertTable(const LanguageTable& table) {
    if (UnpackTexts(table, textUnits, UiTextCapacity) <= 0) {
        return false;
    }
    const wchar_t* text = textUnits;
    for (int id = 0; id < UiTextCount; ++id) {
        texts[id] = text;
        while (*text != L'\0') {
            ++text;
        }
        ++text;
    }
    return true;
}

} // namespace

bool UseUiLanguage(int index) {
    if (index > 0 && index < LanguageCount && ConvertTable(*LanguageTables[index])) {
        return true;
    }
    return ConvertTable(*LanguageTables[0]) && index == 0;
}

void ChooseUiLanguage() {
    wchar_t names[LanguageNamesCapacity];
    ULONG count = 0;
    ULONG size = LanguageNamesCapacity;
    int index = 0;
    if (GetUserPreferredUILanguages(MUI_LANGUAGE_NAME, &count, names, &size)) {
        index = ChooseLanguage(names);
    }
    UseUiLanguage(index);
}

const wchar_t* UiText(UiTextId id) {
    if (texts[0] == nullptr) {
        UseUiLanguage(0);
    }
    return texts[id];
}
