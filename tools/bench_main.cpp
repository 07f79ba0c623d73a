// kivet-bench: how many font heights RenderWeekIcon tries, the median time of one render, and
// the process's peak memory, for the default lines at the usual edges and for very long
// additional lines. Without arguments it runs every case in a process of its own (so that
// each peak belongs to one case) and prints a table; `--case N` runs one.
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

int WINAPI BenchEdgeMetric(int, UINT) {
    return benchEdge;
}

enum class Additional {
    Default,
    Text2047,
    Text32767,
    Spaces2047,
    Spaces32767,
    InkAtBothEnds32767,
    NoBreakSpaces2047,
    NoBreakSpaces32767,
};

struct Case {
    int edge;
    Additional additional;
    int renders; // timed renders; the median is reported
};

const Case cases[] = {
    {16, Additional::Default, 101},          {20, Additional::Default, 101},
    {24, Additional::Default, 101},          {32, Additional::Default, 101},
    {16, Additional::Text2047, 5},           {32, Additional::Text2047, 5},
    {16, Additional::Text32767, 3},          {32, Additional::Text32767, 3},
    {16, Additional::Spaces2047, 3},         {32, Additional::Spaces2047, 3},
    {16, Additional::Spaces32767, 3},        {32, Additional::Spaces32767, 3},
    {16, Additional::InkAtBothEnds32767, 3}, {32, Additional::InkAtBothEnds32767, 3},
    {16, Additional::NoBreakSpaces2047, 3},  {32, Additional::NoBreakSpaces2047, 3},
    {16, Additional::NoBreakSpaces32767, 1}, {32, Additional::NoBreakSpaces32767, 1},
};

// Ordinary text; spaces ending in one "w" (ink that fits, far along a long line); ink at both
// ends of a long line; or no-break spaces, which are not trimmed, before one "w".
std::wstring AdditionalText(Additional additional) {
    const wchar_t* words = L"Week of the year ";
    auto repeat = [words](size_t length) {
        std::wstring text;
        while (text.size() < length) {
            text += words;
        }
        text.resize(length);
        return text;
    };
    switch (additional) {
    case Additional::Default:
        return L"w";
    case Additional::Text2047:
        return repeat(2047);
    case Additional::Text32767:
        return repeat(32767);
    case Additional::Spaces2047:
        return std::wstring(2046, L' ') + L"w";
    case Additional::Spaces32767:
        return std::wstring(32766, L' ') + L"w";
    case Additional::InkAtBothEnds32767:
        return L"w" + std::wstring(32765, L' ') + L"w";
    case Additional::NoBreakSpaces2047:
        return std::wstring(2046, L'\u00a0') + L"w";
    case Additional::NoBreakSpaces32767:
        return std::wstring(32766, L'\u00a0') + L"w";
    }
    return L"w";
}

const char* AdditionalName(Additional additional) {
    switch (additional) {
    case Additional::Default:
        return "\"w\" above \"49\"";
    case Additional::Text2047:
        return "2,047 chars of text";
    case Additional::Text32767:
        return "32,767 chars of text";
    case Additional::Spaces2047:
        return "2,046 spaces + \"w\"";
    case Additional::Spaces32767:
        return "32,766 spaces + \"w\"";
    case Additional::InkAtBothEnds32767:
        return "\"w\" + 32,765 sp + \"w\"";
    case Additional::NoBreakSpaces2047:
        return "2,046 NBSP + \"w\"";
    case Additional::NoBreakSpaces32767:
        return "32,766 NBSP + \"w\"";
    }
    return "";
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

int RunCase(int index) {
    const Case& c = cases[index];
    benchEdge = c.edge;
    platform.getSystemMetricsForDpi = BenchEdgeMetric;
    appState.settings.colourScheme = 0;
    wcscpy(appState.settings.fontFace, L"Lekton");
    const std::wstring additional = AdditionalText(c.additional);
    const wchar_t* lines[] = {additional.c_str(), L"49"};

    std::vector<double> times;
    bool made = false;
    for (int render = 0; render < c.renders; ++render) {
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        QueryPerformanceCounter(&start);
        HICON icon = RenderWeekIcon(lines, 2);
        QueryPerformanceCounter(&end);
        times.push_back(Seconds(start, end));
        made = icon != nullptr;
        if (icon != nullptr) {
            DestroyIcon(icon);
        }
    }
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];

    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));

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

    printf("%-4d %-22s %-5s %7d %12.2f %12.1f %12.1f\n", c.edge, AdditionalName(c.additional),
           made ? "icon" : "null", tried, median * 1000.0, memory.PeakWorkingSetSize / 1048576.0,
           memory.PeakPagefileUsage / 1048576.0);
    fflush(stdout);
    return 0;
}

int RunAllCases(const wchar_t* self) {
    printf("%-4s %-22s %-5s %7s %12s %12s %12s\n", "edge", "additional line", "gives", "heights",
           "median ms", "peak WS MB", "peak page MB");
    fflush(stdout);
    for (int index = 0; index < static_cast<int>(sizeof(cases) / sizeof(cases[0])); ++index) {
        std::wstring command = L"\"" + std::wstring(self) + L"\" --case " + std::to_wstring(index);
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
    if (argc == 3 && wcscmp(argv[1], L"--case") == 0) {
        const int index = _wtoi(argv[2]);
        if (index < 0 || index >= static_cast<int>(sizeof(cases) / sizeof(cases[0]))) {
            return 2;
        }
        return RunCase(index);
    }
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    return RunAllCases(self);
}
