// The About box's text.
#pragma once

#include <cstddef>

// "Kivet 0.2.1", the build line, an empty line, what the program is (in the chosen language),
// an empty line and the last line, joined by single line feeds, without a line feed at the end.
void FormatAboutText(wchar_t* text, size_t capacity);
