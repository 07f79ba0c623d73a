#include "app/about_text.h"

#include "build_revision.h"
#include "common/version.h"

// The project has no web address yet; until it has one, the last line tells the user where
// the program keeps its settings.
#define KIVET_ABOUT_LAST_LINE L"Settings: HKEY_CURRENT_USER\\Software\\Pellow Dune\\Kivet"

const wchar_t AboutText[] = L"Kivet " KIVET_VERSION_WIDE L"\n"
                            L"Development build - " KIVET_BUILD_REVISION L"\n"
                            L"\n"
                            L"A tiny Windows tray indicator for the current ISO week.\n"
                            L"\n" KIVET_ABOUT_LAST_LINE;

const wchar_t AboutCaption[] = L"About Kivet";
