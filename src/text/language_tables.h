// Every language's words, platform-free: what the tables hold and which one a user gets.
#pragma once

#include <cstddef>

#include "text/text_packing.h"
#include "text/ui_text_id.h"

// One language: its tag as far as it tells the tables apart ("de", "pt-BR", "sr-Cyrl") and its
// texts in the order of UiTextId, each ended by a zero, packed (text/text_packing.h): `size`
// bytes with the letters of `block` in one byte each.
struct LanguageTable {
    const char* code;
    const char* texts;
    size_t size;
    char32_t block;
};

// English first: the fallback. Then the others, by code.
extern const LanguageTable* const LanguageTables[];
extern const int LanguageCount;

// The UTF-16 units that one table takes once converted, terminators included; every table
// fits.
constexpr int UiTextCapacity = 2048;

// Unpacks the table into UTF-16 units, each text ended by a zero: how many units, or -1 when
// they do not fit into `capacity` or the table holds malformed UTF-8.
int UnpackTexts(const LanguageTable& table, wchar_t* units, int capacity);

// The index in LanguageTables of the first name in `names` whose language Kivet has, the table
// that matches most of the name ("pt-BR" before "pt"; nn and no count as nb, sr without a script
// as sr-Latn), 0 (English) when there is none. `names` is a run of zero-terminated
// names such as "de-AT", ended by an empty one, as GetUserPreferredUILanguages gives them.
int ChooseLanguage(const wchar_t* names);
