// The words the interface shows, in the language chosen at start-up.
#pragma once

#include "text/ui_text_id.h"

// Chooses the table from the user's preferred Windows display languages, once, at start-up.
void ChooseUiLanguage();

// Converts the table at this index of LanguageTables for UiText; false (and English in its
// place) when it cannot be converted.
bool UseUiLanguage(int index);

// The text of this id in the chosen language (English before a choice was made). Static: nobody
// frees it.
const wchar_t* UiText(UiTextId id);
