#include "text/language_tables.h"

extern const LanguageTable English, Bulgarian, Catalan, Czech, Danish, German, Greek, Spanish,
    Estonian, Finnish, French, Irish, Croatian, Hungarian, Icelandic, Italian, Lithuanian, Latvian,
    Maltese, NorwegianBokmal, Dutch, Polish, Portuguese, BrazilianPortuguese, Romanian, Russian,
    Slovak, Slovenian, SerbianCyrillic, SerbianLatin, Swedish, Turkish, Ukrainian;

const LanguageTable* const LanguageTables[] = {
    &English,  &Bulgarian,       &Catalan,   &Czech,     &Danish,          &German,
    &Greek,    &Spanish,         &Estonian,  &Finnish,   &French,          &Irish,
    &Croatian, &Hungarian,       &Icelandic, &Italian,   &Lithuanian,      &Latvian,
    &Maltese,  &NorwegianBokmal, &Dutch,     &Polish,    &Portuguese,      &BrazilianPortuguese,
    &Romanian, &Russian,         &Slovak,    &Slovenian, &SerbianCyrillic, &SerbianLatin,
    &Swedish,  &Turkish,         &Ukrainian,
};
const int LanguageCount = sizeof(LanguageTables) / sizeof(LanguageTables[0]);

namespace {

// Languages whose speakers read another table best.
struct LanguageAlias {
    const char* code;
    const char* table;
};
// Plain Serbian and its regions without a script read Latin, as Windows shows them.
const LanguageAlias Aliases[] = {{"nn", "nb"}, {"no", "nb"}, {"sr", "sr-Latn"}};

wchar_t AsciiLower(wchar_t unit) {
    return unit >= L'A' && unit <= L'Z' ? static_cast<wchar_t>(unit - L'A' + L'a') : unit;
}

bool IsSeparator(wchar_t unit) {
    return unit == L'-' || unit == L'_';
}

// How many units of the name the code matches, case aside ('-' and '_' alike), when it covers
// whole subtags of it ("pt" and "pt-BR" in "pt-BR"; "pt" not in "pta"); 0 when it does not.
int MatchedLength(const wchar_t* name, const char* code) {
    int i = 0;
    for (; code[i] != '\0'; ++i) {
        const wchar_t unit = static_cast<wchar_t>(code[i]);
        const bool same =
            IsSeparator(unit) ? IsSeparator(name[i]) : AsciiLower(name[i]) == AsciiLower(unit);
        if (!same) {
            return 0;
        }
    }
    return name[i] == L'\0' || IsSeparator(name[i]) ? i : 0;
}

int TableOf(const char* code) {
    for (int index = 0; index < LanguageCount; ++index) {
        const char* own = LanguageTables[index]->code;
        int i = 0;
        while (own[i] != '\0' && own[i] == code[i]) {
            ++i;
        }
        if (own[i] == code[i]) {
            return index;
        }
    }
    return -1;
}

// The table whose code matches most of the name: "pt-BR" before "pt".
int TableFor(const wchar_t* name) {
    int best = -1;
    int bestLength = 0;
    for (int index = 0; index < LanguageCount; ++index) {
        const int length = MatchedLength(name, LanguageTables[index]->code);
        if (length > bestLength) {
            best = index;
            bestLength = length;
        }
    }
    if (best >= 0) {
        return best;
    }
    for (const LanguageAlias& alias : Aliases) {
        // cppcheck-suppress useStlAlgorithm ; three entries read plainer as a loop.
        if (MatchedLength(name, alias.code) > 0) {
            return TableOf(alias.table);
        }
    }
    return -1;
}

// The character of UTF-8 at bytes[at], `at` moved past it; -1 when it is malformed.
long ReadUtf8(const char* bytes, size_t size, size_t& at) {
    const unsigned char lead = static_cast<unsigned char>(bytes[at++]);
    if (lead < 0x80) {
        return lead;
    }
    if (lead < 0xC2 || lead > 0xF4) {
        return -1;
    }
    const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    long point = lead & (0x3F >> more);
    for (int k = 0; k < more; ++k, ++at) {
        if (at >= size || (static_cast<unsigned char>(bytes[at]) & 0xC0) != 0x80) {
            return -1;
        }
        point = (point << 6) | (bytes[at] & 0x3F);
    }
    return point;
}

bool Append(long point, wchar_t* units, int capacity, int& count) {
    const bool pair = point > 0xFFFF;
    if (point < 0 || count + (pair ? 2 : 1) > capacity) {
        return false;
    }
    if (pair) {
        units[count++] = static_cast<wchar_t>(0xD800 + ((point - 0x10000) >> 10));
        point = 0xDC00 + (point & 0x3FF);
    }
    units[count++] = static_cast<wchar_t>(point);
    return true;
}

} // namespace

int UnpackTexts(const LanguageTable& table, wchar_t* units, int capacity) {
    int count = 0;
    for (size_t at = 0; at < table.size;) {
        const unsigned char byte = static_cast<unsigned char>(table.texts[at]);
        if (byte >= 1 && byte <= PackedWordCount) {
            const PackedWord& word = PackedWords[byte - 1];
            for (size_t inWord = 0; inWord < static_cast<size_t>(word.size);) {
                if (!Append(ReadUtf8(word.bytes, word.size, inWord), units, capacity, count)) {
                    return -1;
                }
            }
            ++at;
            continue;
        }
        long point = 0;
        if (table.block != 0 && byte >= 0x80) {
            point = static_cast<long>(table.block) + byte - 0x80;
            ++at;
        } else {
            at += table.block != 0 && byte == PackedEscape ? 1 : 0;
            point = at < table.size ? ReadUtf8(table.texts, table.size, at) : -1;
        }
        if (!Append(point, units, capacity, count)) {
            return -1;
        }
    }
    return count;
}

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
