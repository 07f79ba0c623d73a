#include "app/about_text.h"

#include "build_revision.h"
#include "common/strings.h"
#include "common/version.h"
#include "text/ui_text.h"

// The project has no web address yet; until it has one, the last line tells the user where
// the program keeps its settings.
#define KIVET_ABOUT_LAST_LINE L"Settings: HKEY_CURRENT_USER\\Software\\Pellow Dune\\Kivet"

void FormatAboutText(wchar_t* text, size_t capacity) {
    FormatString(text, capacity,
                 L"Kivet " KIVET_VERSION_WIDE L"\n"
                 L"Development build - " KIVET_BUILD_REVISION L"\n"
                 L"\n"
                 L"%ls\n"
                 L"\n" KIVET_ABOUT_LAST_LINE,
                 UiText(TextAboutPurpose));
}
