// The About box's text and caption: static strings, nobody frees them.
#pragma once

// "Kivet 0.2.1", the build line, an empty line, what the program is, an empty line and the
// last line, joined by single line feeds, without a line feed at the end.
extern const wchar_t AboutText[];
extern const wchar_t AboutCaption[];
