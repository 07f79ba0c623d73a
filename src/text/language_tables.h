// Every language's words, platform-free: what the tables hold and which one a user gets.
#pragma once

#include <cstddef>

#include "text/ui_text_id.h"

// One language: its tag as far as it tells the tables apart ("de", "pt-BR", "sr-Cyrl") and its
// texts in UTF-8, in the order of UiTextId, each ended by a zero byte; `size` is the sizeof of the
// whole literal (one more zero at the end).
struct LanguageTable {
    const char* code;
    const char* texts;
    size_t size;
};

// English first: the fallback. Then the others, by code.
extern const LanguageTable* const LanguageTables[];
extern const int LanguageCount;

// The UTF-16 units that one table takes once converted, terminators included; every table
// fits.
constexpr int UiTextCapacity = 2048;

// The index in LanguageTables of the first name in `names` whose language Kivet has, the table
// that matches most of the name ("pt-BR" before "pt"; nn and no count as nb, sr without a script
// as sr-Latn), 0 (English) when there is none. `names` is a run of zero-terminated
// names such as "de-AT", ended by an empty one, as GetUserPreferredUILanguages gives them.
int ChooseLanguage(const wchar_t* names);
