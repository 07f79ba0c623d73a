#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "text/language_tables.h"

namespace {

// One table's texts, unpacked and back in UTF-8, split at the zeros; what is left after the
// last one is `rest`; `units` the UTF-16 units it unpacks to (-1 when it cannot be unpacked).
struct SplitTable {
    std::vector<std::string> texts;
    std::string rest;
    int units = 0;
};

std::string Utf8Of(const wchar_t* units, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        const unsigned point = static_cast<unsigned>(units[i]) & 0xFFFF; // no pairs in the tables
        if (point < 0x80) {
            text += static_cast<char>(point);
        } else if (point < 0x800) {
            text += static_cast<char>(0xC0 | (point >> 6));
            text += static_cast<char>(0x80 | (point & 0x3F));
        } else {
            text += static_cast<char>(0xE0 | (point >> 12));
            text += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (point & 0x3F));
        }
    }
    return text;
}

SplitTable Split(const LanguageTable& table) {
    SplitTable split;
    std::vector<wchar_t> units(UiTextCapacity);
    split.units = UnpackTexts(table, units.data(), UiTextCapacity);
    const std::string block = Utf8Of(units.data(), split.units);
    size_t start = 0;
    for (size_t end = block.find('\0'); end != std::string::npos; end = block.find('\0', start)) {
        split.texts.push_back(block.substr(start, end - start));
        start = end + 1;
    }
    split.rest = block.substr(start);
    return split;
}

// UTF-16 units of well-formed UTF-8, or -1 when it is not well-formed.
int Utf16Units(const std::string& text) {
    int units = 0;
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        if ((lead >= 0x80 && lead < 0xC2) || lead > 0xF4 || i + length > text.size()) {
            return -1;
        }
        for (size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                return -1;
            }
        }
        units += length == 4 ? 2 : 1;
        i += length;
    }
    return units;
}

// The format directives in order: "%d", "%ls", ...
std::vector<std::string> Placeholders(const std::string& text) {
    std::vector<std::string> found;
    for (size_t at = text.find('%'); at != std::string::npos; at = text.find('%', at + 1)) {
        size_t end = at + 1;
        while (end < text.size() &&
               std::string("0123456789l").find(text[end]) != std::string::npos) {
            ++end;
        }
        found.push_back(text.substr(at, end + 1 - at));
        at = end;
    }
    return found;
}

// The code points of well-formed UTF-8 (Utf16Units has vouched for it).
std::u32string CodePoints(const std::string& text) {
    std::u32string points;
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        char32_t point = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; k < length && i + k < text.size(); ++k) {
            point = (point << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        points += point;
        i += length;
    }
    return points;
}

// Letters of the Latin, Greek and Cyrillic alphabets the tables use.
bool IsLetter(char32_t c) {
    return (c >= U'a' && c <= U'z') || (c >= U'A' && c <= U'Z') ||
           (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7) || (c >= 0x386 && c <= 0x3FF) ||
           (c >= 0x400 && c <= 0x4FF);
}

char32_t Lower(char32_t c) {
    const bool evenUpper =
        (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177) || (c >= 0x218 && c <= 0x21B);
    const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) ||
        (c >= 0x391 && c <= 0x3AB) || (c >= 0x410 && c <= 0x42F)) {
        return c + 0x20;
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 0x50;
    }
    if ((evenUpper && c % 2 == 0) || (oddUpper && c % 2 == 1)) {
        return c + 1;
    }
    switch (c) { // Greek capitals with tonos
    case 0x386:
        return 0x3AC;
    case 0x388:
    case 0x389:
    case 0x38A:
        return c + 0x25;
    case 0x38C:
        return 0x3CC;
    case 0x38E:
    case 0x38F:
        return c + 0x3F;
    default:
        return c;
    }
}

// Letters whose underline a descender crosses: no access key where another letter will do.
const std::u32string Descenders = U"gjpqyýÿģğĝţşçąęųįțșķļņŗрудфщцβγζημξρςφχψ";

// A menu text's access key, the letter after its one '&' (0 when it has none, several, an
// escaped "&&" or a key that is not a letter), and its first letter, both lower-cased.
struct AccessKey {
    char32_t key = 0;
    char32_t first = 0;
};

AccessKey AccessKeyOf(const std::string& text) {
    const std::u32string points = CodePoints(text);
    AccessKey found;
    const size_t at = points.find(U'&');
    if (at != std::u32string::npos && points.find(U'&', at + 1) == std::u32string::npos &&
        at + 1 < points.size() && IsLetter(points[at + 1])) {
        found.key = Lower(points[at + 1]);
    }
    for (char32_t c : points) {
        if (IsLetter(c)) {
            found.first = Lower(c);
            break;
        }
    }
    return found;
}

int TableIndex(const char* code) {
    for (int index = 0; index < LanguageCount; ++index) {
        if (std::string(LanguageTables[index]->code) == code) {
            return index;
        }
    }
    return -1;
}

bool IsMenuText(int id) {
    return id <= MenuTextRanges[sizeof(MenuTextRanges) / sizeof(MenuTextRanges[0]) - 1].last;
}

} // namespace

TEST(LanguageTablesTest, EnglishFirstAndThirtyTwoOthersEachOnce) {
    ASSERT_EQ(LanguageCount, 33);
    EXPECT_STREQ(LanguageTables[0]->code, "en");
    for (const char* code :
         {"de", "nl", "fr", "it", "es", "pt", "pt-BR", "da", "sv",      "nb",     "fi",
          "is", "et", "lv", "lt", "pl", "cs", "sk",    "hu", "sl",      "hr",     "bg",
          "el", "ro", "ga", "mt", "ru", "uk", "tr",    "ca", "sr-Latn", "sr-Cyrl"}) {
        EXPECT_GT(TableIndex(code), 0) << code;
    }
}

// Every table holds every text, non-empty and in well-formed UTF-8, with English's
// placeholders in English's order. A menu item has one access key, different from every other
// item's in its menu; nothing else has one, since a static control would underline the letter
// after an '&'.
TEST(LanguageTablesTest, EveryTextPlaceholderAndAccessKeyInEveryTable) {
    const SplitTable english = Split(*LanguageTables[0]);
    ASSERT_EQ(english.texts.size(), static_cast<size_t>(UiTextCount));
    EXPECT_EQ(english.texts[TextFooterWeek], "Week %d: %ls – %ls");
    EXPECT_EQ(english.texts[TextFontLekton], "&Lekton");
    // A Cyrillic table's letters come back from their one byte each, "Kivet" from its word byte.
    EXPECT_EQ(Split(*LanguageTables[TableIndex("ru")]).texts[TextAboutCaption],
              "О программе Kivet");
    for (int index = 0; index < LanguageCount; ++index) {
        SCOPED_TRACE(LanguageTables[index]->code);
        const SplitTable split = Split(*LanguageTables[index]);
        ASSERT_EQ(split.texts.size(), static_cast<size_t>(UiTextCount));
        EXPECT_EQ(split.rest, "") << "text after the last id";
        EXPECT_GT(split.units, 0) << "does not unpack";
        int units = 0;
        for (int id = 0; id < UiTextCount; ++id) {
            const std::string& text = split.texts[id];
            const int textUnits = Utf16Units(text);
            EXPECT_GT(textUnits, 0) << "id " << id << " is empty or not UTF-8";
            units += textUnits + 1;
            EXPECT_EQ(Placeholders(text), Placeholders(english.texts[id])) << text;
            EXPECT_TRUE(IsMenuText(id) || text.find('&') == std::string::npos) << text;
        }
        EXPECT_LE(units, UiTextCapacity);
        for (const MenuTextRange& menu : MenuTextRanges) {
            std::u32string keys;
            for (int id = menu.first; id <= menu.last; ++id) {
                const char32_t key = AccessKeyOf(split.texts[id]).key;
                EXPECT_NE(key, 0u) << split.texts[id];
                EXPECT_EQ(keys.find(key), std::u32string::npos)
                    << split.texts[id] << " repeats a key of its menu";
                keys += key;
            }
        }
    }
}

// An item's key is its first letter unless another item holds that letter; a key moved inside the
// word avoids descenders and the first letters of the other items, so that whoever presses the
// first letter of "No" never gets "Yes". English keeps its own keys (E&xit, O&n, O&ff).
TEST(LanguageTablesTest, AccessKeysOnTheFirstLetterOrAPlainLetterNoOtherItemStartsWith) {
    const std::pair<std::string, int> ownKeys[] = {{"en", TextPositionMenu},
                                                   {"en", TextExitItem},
                                                   {"en", TextLeadingZeroOn},
                                                   {"en", TextLeadingZeroOff}};
    for (int index = 0; index < LanguageCount; ++index) {
        const std::string code = LanguageTables[index]->code;
        const SplitTable split = Split(*LanguageTables[index]);
        ASSERT_EQ(split.texts.size(), static_cast<size_t>(UiTextCount)) << code;
        for (const MenuTextRange& menu : MenuTextRanges) {
            std::vector<AccessKey> items;
            std::u32string keys;
            for (int id = menu.first; id <= menu.last; ++id) {
                items.push_back(AccessKeyOf(split.texts[id]));
                keys += items.back().key;
            }
            for (int id = menu.first; id <= menu.last; ++id) {
                const AccessKey& item = items[id - menu.first];
                const std::pair<std::string, int> self(code, id);
                if (item.key == item.first ||
                    std::find(std::begin(ownKeys), std::end(ownKeys), self) != std::end(ownKeys)) {
                    continue;
                }
                SCOPED_TRACE(code + ": " + split.texts[id]);
                EXPECT_NE(keys.find(item.first), std::u32string::npos) << "first letter is free";
                EXPECT_EQ(Descenders.find(item.key), std::u32string::npos) << "descender";
                for (const AccessKey& other : items) {
                    EXPECT_TRUE(&other == &item || other.first != item.key)
                        << "key is another item's first letter";
                }
            }
        }
    }
}

TEST(LanguageChoiceTest, FirstPreferredLanguageKivetHasByItsPrimaryLanguage) {
    struct Case {
        std::wstring names; // as GetUserPreferredUILanguages gives them: each ended by a zero
        const char* table;
    };
    const Case cases[] = {
        {std::wstring(L"de-AT\0", 6), "de"},
        {std::wstring(L"DE-ch\0", 6), "de"},
        {std::wstring(L"fr-BE\0", 6), "fr"},
        {std::wstring(L"nn-NO\0", 6), "nb"},
        {std::wstring(L"no\0", 3), "nb"},
        {std::wstring(L"pt-BR\0", 6), "pt-BR"},
        {std::wstring(L"pt-PT\0", 6), "pt"},
        {std::wstring(L"pt_br\0", 6), "pt-BR"},
        {std::wstring(L"sr-Cyrl-RS\0", 11), "sr-Cyrl"},
        {std::wstring(L"sr-Latn-RS\0", 11), "sr-Latn"},
        {std::wstring(L"sr\0", 3), "sr-Latn"},
        {std::wstring(L"srn-SR\0", 7), "en"}, // Sranan, not Serbian
        {std::wstring(L"zh-CN\0", 6), "en"},
        {std::wstring(L"zh-CN\0sv-FI\0", 12), "sv"},
        {std::wstring(L"fil-PH\0", 7), "en"}, // not Finnish
        {std::wstring(L"en-GB\0de-DE\0", 12), "en"},
        {std::wstring(L"", 0), "en"},
    };
    for (const Case& c : cases) {
        std::wstring names = c.names + L'\0'; // the empty name that ends the list
        EXPECT_EQ(ChooseLanguage(names.c_str()), TableIndex(c.table))
            << std::string(c.names.begin(), c.names.end());
    }
    EXPECT_EQ(ChooseLanguage(nullptr), 0);
}
