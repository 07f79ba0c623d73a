#include "text/language_tables.h"

extern const LanguageTable English, Czech, Danish, German, Spanish, Estonian, Finnish, French,
    Croatian, Hungarian, Icelandic, Italian, Lithuanian, Latvian, NorwegianBokmal, Dutch, Polish,
    Portuguese, Slovak, Slovenian, Swedish;

const LanguageTable* const LanguageTables[] = {
    &English,         &Czech,    &Danish,    &German,     &Spanish, &Estonian,   &Finnish,
    &French,          &Croatian, &Hungarian, &Icelandic,  &Italian, &Lithuanian, &Latvian,
    &NorwegianBokmal, &Dutch,    &Polish,    &Portuguese, &Slovak,  &Slovenian,  &Swedish,
};
const int LanguageCount = sizeof(LanguageTables) / sizeof(LanguageTables[0]);

namespace {

// Languages whose speakers read another table best.
struct LanguageAlias {
    const char* code;
    const char* table;
};
const LanguageAlias Aliases[] = {{"nn", "nb"}, {"no", "nb"}};

wchar_t AsciiLower(wchar_t unit) {
    return unit >= L'A' && unit <= L'Z' ? static_cast<wchar_t>(unit - L'A' + L'a') : unit;
}

// Whether the name's primary subtag (up to '-', '_' or its end) is `code`.
bool PrimaryIs(const wchar_t* name, const char* code) {
    int i = 0;
    for (; code[i] != '\0'; ++i) {
        if (AsciiLower(name[i]) != static_cast<wchar_t>(code[i])) {
            return false;
        }
    }
    return name[i] == L'\0' || name[i] == L'-' || name[i] == L'_';
}

int TableOf(const char* code) {
    for (int index = 0; index < LanguageCount; ++index) {
        const char* own = LanguageTables[index]->code;
        if (own[0] == code[0] && own[1] == code[1] && own[2] == code[2]) {
            return index;
        }
    }
    return -1;
}

int TableFor(const wchar_t* name) {
    for (int index = 0; index < LanguageCount; ++index) {
        if (PrimaryIs(name, LanguageTables[index]->code)) {
            return index;
        }
    }
    for (const LanguageAlias& alias : Aliases) {
        // cppcheck-suppress useStlAlgorithm ; two entries read plainer as a loop.
        if (PrimaryIs(name, alias.code)) {
            return TableOf(alias.table);
        }
    }
    return -1;
}

} // namespace

int ChooseLanguage(const wchar_t* names) {
    if (names == nullptr) {
        return 0;
    }
    for (const wchar_t* name = names; *name != L'\0';) {
        const int index = TableFor(name);
        if (index >= 0) {
            return index;
        }
        while (*name != L'\0') {
            ++name;
        }
        ++name;
    }
    return 0;
}
