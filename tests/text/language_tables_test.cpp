#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/language_tables.h"

namespace {

// One table's texts, split at the zero bytes; what is left after the last one is `rest`.
struct SplitTable {
    std::vector<std::string> texts;
    std::string rest;
};

SplitTable Split(const LanguageTable& table) {
    SplitTable split;
    std::string block(table.texts, table.size - 1); // without the literal's own terminator
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

// The access key of a menu text, lower-cased: the character after its one '&'; 0 when it has
// none, several, an escaped "&&" or a key that is not an ASCII letter or digit.
char AccessKey(const std::string& text) {
    const size_t at = text.find('&');
    if (at == std::string::npos || text.find('&', at + 1) != std::string::npos ||
        at + 1 >= text.size() || !std::isalnum(static_cast<unsigned char>(text[at + 1]))) {
        return 0;
    }
    return static_cast<char>(std::tolower(static_cast<unsigned char>(text[at + 1])));
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

TEST(LanguageTablesTest, EnglishFirstAndTwentyOthersEachOnce) {
    ASSERT_EQ(LanguageCount, 21);
    EXPECT_STREQ(LanguageTables[0]->code, "en");
    for (const char* code : {"de", "nl", "fr", "it", "es", "pt", "da", "sv", "nb", "fi",
                             "is", "et", "lv", "lt", "pl", "cs", "sk", "hu", "sl", "hr"}) {
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
    EXPECT_EQ(Placeholders(english.texts[TextFooterWeek]),
              (std::vector<std::string>{"%d", "%ls", "%ls"}));
    for (int index = 0; index < LanguageCount; ++index) {
        SCOPED_TRACE(LanguageTables[index]->code);
        const SplitTable split = Split(*LanguageTables[index]);
        ASSERT_EQ(split.texts.size(), static_cast<size_t>(UiTextCount));
        EXPECT_EQ(split.rest, "") << "text after the last id";
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
            std::string keys;
            for (int id = menu.first; id <= menu.last; ++id) {
                const char key = AccessKey(split.texts[id]);
                EXPECT_NE(key, 0) << split.texts[id];
                EXPECT_EQ(keys.find(key), std::string::npos)
                    << split.texts[id] << " repeats a key of its menu: " << keys;
                keys += key;
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
        {std::wstring(L"pt-BR\0", 6), "pt"},
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
