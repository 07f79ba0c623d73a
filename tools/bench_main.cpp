// kivet-bench: how many font heights RenderWeekIcon tries, the median time of one render, and
// the process's peak memory, for the default lines at the usual edges and for the longest and
// hardest additional lines at edges 16 and 32. Without arguments it runs every case in a process
// of its own (so that each peak belongs to one case) and prints a table; `--case N` runs one.
// `--csv` prints name,edge,median_ms,peak_kib,icon instead, where icon is a hash of the icon's
// pixels. `--background` renders on a background colour (deep blue), to compare with the
// transparent icon.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <vector>

#include "common/app_state.h"
#include "common/platform.h"
#include "icon/week_icon.h"
#include "icon/week_icon_steps.h"

namespace {

int benchEdge = 16;
bool csv = false;

int WINAPI BenchEdgeMetric(int, UINT) {
    return benchEdge;
}

// An additional line: what the table calls it, how often it is rendered (the median is
// reported), and how it is made.
struct Additional {
    const char* name;
    int renders;
    std::wstring (*make)();
};

// `unit` repeated until the line is `length` UTF-16 units long.
std::wstring Repeat(const wchar_t* unit, size_t length) {
    std::wstring text;
    while (text.size() < length) {
        text += unit;
    }
    text.resize(length);
    return text;
}

// Ordinary text; spaces ending in one "w" (ink that fits, far along a long line); ink at both
// ends of a long line; no-break spaces, which are not trimmed, before one "w"; and the longest
// lines of blanks, invisible characters and other scripts that the registry can hold, and the
// lines of other scripts that the input window lets a user type.
const Additional additionals[] = {
    {"\"w\" above \"49\"", 101, [] { return std::wstring(L"w"); }},
    {"2,047 chars of text", 5, [] { return Repeat(L"Week of the year ", 2047); }},
    {"32,767 chars of text", 3, [] { return Repeat(L"Week of the year ", 32767); }},
    {"2,046 spaces + \"w\"", 3, [] { return std::wstring(2046, L' ') + L"w"; }},
    {"32,766 spaces + \"w\"", 3, [] { return std::wstring(32766, L' ') + L"w"; }},
    {"\"w\" + 32,765 sp + \"w\"", 3, [] { return L"w" + std::wstring(32765, L' ') + L"w"; }},
    {"2,046 NBSP + \"w\"", 3, [] { return std::wstring(2046, L'\u00a0') + L"w"; }},
    {"32,766 NBSP + \"w\"", 1, [] { return std::wstring(32766, L'\u00a0') + L"w"; }},
    {"32,767 U+00A0 NBSP", 1, [] { return std::wstring(32767, L'\u00a0'); }},
    {"32,767 U+3000 ideo sp", 1, [] { return std::wstring(32767, L'\u3000'); }},
    {"32,767 U+200B ZWSP", 1, [] { return std::wstring(32767, L'\u200b'); }},
    {"16,383 emoji pairs", 1, [] { return Repeat(L"\U0001F600", 2 * 16383); }},
    {"32,767 U+2060 WJ", 1, [] { return std::wstring(32767, L'\u2060'); }},
    {"32,767 U+05D0 alef", 1, [] { return std::wstring(32767, L'\u05d0'); }},
    {"2,047 Thai U+0E01", 1, [] { return std::wstring(2047, L'\u0e01'); }},
    {"2,047 Hebrew", 1,
     [] { return Repeat(L"\u05e9\u05d1\u05d5\u05e2 \u05d4\u05e9\u05e0\u05d4 ", 2047); }},
    {"2,047 Arabic", 1,
     [] {
         return Repeat(L"\u0623\u0633\u0628\u0648\u0639 \u0627\u0644\u0633\u0646\u0629 ", 2047);
     }},
    {"\"a\" + 32,766 U+0301", 1, [] { return L"a" + std::wstring(32766, L'\u0301'); }},
    // Lines of the classes that defeat shortcuts, 32,767 units each: blanks of every kind,
    // one joiner among blanks, marks with joiners and variation selectors, right-to-left mixed
    // with left-to-right, surrogate pairs, a new character at every place, and an overhanging
    // glyph at the end of blanks.
    {"32,767 blanks of all kinds", 1,
     [] {
         return Repeat(L" \u00a0\u2002\u200b\u2060\u3000\ufeff\u200d\u200c\u200e\u200f\u202a"
                       L"\u202c\u2066\u2069\ufe0f",
                       32767);
     }},
    {"NBSP, one ZWJ, \"w\"", 1,
     [] {
         return std::wstring(16383, L'\u00a0') + L"\u200d" + std::wstring(16382, L'\u00a0') + L"w";
     }},
    {"32,767 marks+ZWJ+VS", 1, [] { return Repeat(L"e\u0301\u200d\ufe0f", 32767); }},
    {"32,767 Hebrew+Latin", 1, [] { return Repeat(L"\u05d0\u05d1 ab \u200f", 32767); }},
    {"32,767 astral pairs", 1, [] { return Repeat(L"\U0001D400\U0001F600 ", 32767); }},
    {"32,767 distinct chars", 1,
     [] {
         std::wstring text;
         for (wchar_t unit = 0x4E00; text.size() < 32767; ++unit) {
             text += unit;
         }
         return text;
     }},
    {"32,766 NBSP + \"j\"", 1, [] { return std::wstring(32766, L'\u00a0') + L"j"; }},
    // Runs without a strong letter, which the engine itemizes in quadratic time: digits, and
    // zero-width characters among blanks, alone and after a right-to-left letter.
    {"32,767 digits", 1, [] { return std::wstring(32767, L'0'); }},
    {"32,767 ZWNJ, space", 1, [] { return Repeat(L"\u200c ", 32767); }},
    {"alef + 32,766 digits", 1, [] { return L"\u05d0" + std::wstring(32766, L'0'); }},
    {"alef + 32,766 spaces", 1, [] { return L"\u05d0" + std::wstring(32766, L' '); }},
    {"alef + 32,766 \"%\"", 1, [] { return L"\u05d0" + std::wstring(32766, L'%'); }},
    {"alef + 32,766 ZWSP", 1, [] { return L"\u05d0" + std::wstring(32766, L'\u200b'); }},
    {"RLE + 32,766 digits", 1, [] { return L"\u202b" + std::wstring(32766, L'7'); }},
    {"alef + mixed digits", 1,
     [] {
         std::wstring text = L"\u05d0";
         for (unsigned seed = 1; text.size() < 32767; seed = seed * 1103515245 + 12345) {
             text += static_cast<wchar_t>(L'0' + (seed >> 16) % 10);
         }
         return text;
     }},
};

constexpr int additionalCount = static_cast<int>(sizeof(additionals) / sizeof(additionals[0]));

// Every additional line at edge 16 and 32; the default line at 20 and 24 too.
struct Case {
    int edge;
    int additional;
};

std::vector<Case> Cases() {
    std::vector<Case> cases;
    for (int additional = 0; additional < additionalCount; ++additional) {
        for (int edge : {16, 20, 24, 32}) {
            if (edge == 16 || edge == 32 || additional == 0) {
                cases.push_back({edge, additional});
            }
        }
    }
    return cases;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

// FNV-1a over the icon's pixels as the platform holds them, rows top to bottom; "null" without
// an icon.
std::string IconHash(HICON icon) {
    ICONINFO info = {};
    if (icon == nullptr || !GetIconInfo(icon, &info)) {
        return "null";
    }
    BITMAP bitmap = {};
    GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = bitmap.bmWidth;
    format.bmiHeader.biHeight = -bitmap.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<unsigned char> pixels(static_cast<size_t>(bitmap.bmWidth) * bitmap.bmHeight * 4);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, info.hbmColor, 0, bitmap.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    unsigned long long hash = 14695981039346656037ull;
    for (unsigned char byte : pixels) {
        hash = (hash ^ byte) * 1099511628211ull;
    }
    char text[17];
    snprintf(text, sizeof(text), "%016llx", hash);
    return text;
}

// The name as one CSV field: quoted, its quotes doubled.
std::string CsvField(const char* name) {
    std::string field = "\"";
    for (const char* at = name; *at != 0; ++at) {
        field += *at == '"' ? "\"\"" : std::string(1, *at);
    }
    return field + "\"";
}

int RunCase(Case c) {
    const Additional& additionalCase = additionals[c.additional];
    benchEdge = c.edge;
    platform.getSystemMetricsForDpi = BenchEdgeMetric;
    appState.settings.colourScheme = 0;
    wcscpy(appState.settings.fontFace, L"Lekton");
    const std::wstring additional = additionalCase.make();
    const wchar_t* lines[] = {additional.c_str(), L"49"};

    std::vector<double> times;
    bool made = false;
    std::string hash;
    for (int render = 0; render < additionalCase.renders; ++render) {
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        QueryPerformanceCounter(&start);
        HICON icon = RenderWeekIcon(lines, 2);
        QueryPerformanceCounter(&end);
        times.push_back(Seconds(start, end));
        made = icon != nullptr;
        if (render == 0) {
            hash = IconHash(icon);
        }
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];

    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));

    if (csv) {
        printf("%s,%d,%.2f,%llu,%s\n", CsvField(additionalCase.name).c_str(), c.edge,
               median * 1000.0,
               static_cast<unsigned long long>(
                   std::max(memory.PeakWorkingSetSize, memory.PeakPagefileUsage) / 1024),
               hash.c_str());
        fflush(stdout);
        return 0;
    }

    // Heights tried: the walk stops at the first height whose attempt gives an icon.
    const IconColours colours = PickIconColours(0);
    int tried = 0;
    for (int height = 2 * c.edge; height >= 4; --height) {
        ++tried;
        HICON icon = RenderAtFontHeight(lines, 2, c.edge, height, colours);
        if (icon != nullptr) {
            DestroyIcon(icon);
            break;
        }
    }

    printf("%-4d %-22s %-5s %7d %12.2f %12.1f %12.1f\n", c.edge, additionalCase.name,
           made ? "icon" : "null", tried, median * 1000.0, memory.PeakWorkingSetSize / 1048576.0,
           memory.PeakPagefileUsage / 1048576.0);
    fflush(stdout);
    return 0;
}

int RunAllCases(const wchar_t* self, const std::wstring& options) {
    if (csv) {
        printf("name,edge,median_ms,peak_kib,icon\n");
    } else {
        printf("%-4s %-22s %-5s %7s %12s %12s %12s\n", "edge", "additional line", "gives",
               "heights", "median ms", "peak WS MB", "peak page MB");
    }
    fflush(stdout);
    const int caseCount = static_cast<int>(Cases().size());
    for (int index = 0; index < caseCount; ++index) {
        std::wstring command =
            L"\"" + std::wstring(self) + L"\" --case " + std::to_wstring(index) + options;
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION process = {};
        if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                            &startup, &process)) {
            fprintf(stderr, "kivet-bench: could not start case %d\n", index);
            return 1;
        }
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    int caseIndex = -1;
    std::wstring options;
    for (int arg = 1; arg < argc; ++arg) {
        if (wcscmp(argv[arg], L"--csv") == 0) {
            csv = true;
            options += L" --csv";
        } else if (wcscmp(argv[arg], L"--background") == 0) {
            appState.settings.backgroundColour = ColourIsSet | 0x007A3A10;
            options += L" --background";
        } else if (arg + 1 < argc && wcscmp(argv[arg], L"--case") == 0) {
            caseIndex = _wtoi(argv[++arg]);
        } else {
            fprintf(stderr, "usage: kivet-bench [--csv] [--background]\n");
            return 2;
        }
    }
    if (caseIndex >= 0) {
        const int index = caseIndex;
        const std::vector<Case> cases = Cases();
        if (index < 0 || index >= static_cast<int>(cases.size())) {
            return 2;
        }
        return RunCase(cases[index]);
    }
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return RunAllCases(self, options);
}
