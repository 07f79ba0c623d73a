// A line itemized in short pieces, with long repeats shortened, shows its units in the order and
// scripts that itemizing it whole gives, for lines that mix every class of character whose
// direction or script depends on its neighbours.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "icon/line_items.h"

namespace {

// The engine, loaded and freed as the renderer loads and frees it.
struct Engine {
    HMODULE module = LoadLibraryW(L"usp10.dll");
    ItemizeFunction itemize = reinterpret_cast<ItemizeFunction>(
        reinterpret_cast<void*>(GetProcAddress(module, "ScriptItemize")));
    decltype(&ScriptLayout) layout = reinterpret_cast<decltype(&ScriptLayout)>(
        reinterpret_cast<void*>(GetProcAddress(module, "ScriptLayout")));
};

// The line's units in the order they are shown, then each unit's script (a space takes the
// script of a neighbour, which draws it alike).
std::vector<int> ShownOrderAndScripts(const Engine& engine, const std::wstring& text,
                                      const std::vector<SCRIPT_ITEM>& items, int count) {
    const int length = static_cast<int>(text.size());
    std::vector<BYTE> levels(length);
    std::vector<int> shown(2 * length);
    for (int item = 0; item < count; ++item) {
        for (int at = items[item].iCharPos; at < items[item + 1].iCharPos; ++at) {
            levels[at] = static_cast<BYTE>(items[item].a.s.uBidiLevel);
            shown[length + at] = text[at] == L' ' ? -1 : items[item].a.eScript;
        }
    }
    EXPECT_EQ(engine.layout(length, levels.data(), shown.data(), nullptr), S_OK);
    return shown;
}

// Lines of about 900 units drawn from `parts`, a few kinds to a line, some repeated 120 times.
std::vector<std::wstring> MixedLines(int count) {
    const wchar_t* const parts[] = {L"\u05d0",
                                    L"\u05e9\u05d1\u05d5\u05e2",
                                    L"\u0627\u0644",
                                    L"a",
                                    L"Week",
                                    L"0",
                                    L"42",
                                    L"\u0661",
                                    L" ",
                                    L"!",
                                    L"%",
                                    L"$",
                                    L",",
                                    L".",
                                    L"-",
                                    L"+",
                                    L"/",
                                    L":",
                                    L"#",
                                    L"(",
                                    L")",
                                    L"[",
                                    L"]",
                                    L"\u2329",
                                    L"\u3009",
                                    L"\u200b",
                                    L"\u200c",
                                    L"\u200d",
                                    L"\u2060",
                                    L"\ufeff",
                                    L"\u00ad",
                                    L"\u0301",
                                    L"\u05b8",
                                    L"\u064e",
                                    L"\ufe0f",
                                    L"\U0001F600",
                                    L"\u00a0",
                                    L"\t",
                                    L"\u3000",
                                    L"\u200f",
                                    L"\u200e",
                                    L"\u0416",
                                    L"\u0915",
                                    L"\u0964",
                                    L"\u0e01",
                                    L"\u0e31"};
    const int partCount = sizeof(parts) / sizeof(parts[0]);
    std::vector<std::wstring> lines;
    unsigned seed = 12345;
    for (int line = 0; line < count; ++line) {
        std::wstring text;
        const int kinds = 2 + line % 9;
        while (text.size() < 900) {
            seed = seed * 1103515245 + 12345;
            const int part = (seed >> 16) % partCount;
            for (int repeat = (seed >> 8) % 4 == 0 ? 120 : 1;
                 (part % kinds == 0 || part < 3) && repeat > 0; --repeat) {
                text += parts[part];
            }
        }
        lines.push_back(text);
    }
    return lines;
}

} // namespace

TEST(LineItemsTest, PiecesAndShortenedRepeatsShowTheWholeLinesOrderAndScripts) {
    std::vector<std::wstring> lines = {
        L"\u05d0" + std::wstring(700, L'0'),   L"\u05d0" + std::wstring(700, L' ') + L"a",
        L"a" + std::wstring(700, L'%') + L"1", L"\u05d0" + std::wstring(700, L'\u200b'),
        L"\u202b" + std::wstring(700, L'7'),   L"\u05d0 (" + std::wstring(300, L'1') + L") a"};
    const std::vector<std::wstring> mixed = MixedLines(400);
    const Engine engine;
    ASSERT_NE(engine.itemize, nullptr);
    ASSERT_NE(engine.layout, nullptr);
    lines.insert(lines.end(), mixed.begin(), mixed.end());
    for (size_t line = 0; line < lines.size(); ++line) {
        const std::wstring& text = lines[line];
        const int length = static_cast<int>(text.size());
        std::vector<SCRIPT_ITEM> whole(length + 1), pieced(length + 1);
        const SCRIPT_CONTROL control = {};
        const SCRIPT_STATE state = {};
        int wholeCount = 0;
        ASSERT_EQ(engine.itemize(text.c_str(), length, length + 1, &control, &state, whole.data(),
                                 &wholeCount),
                  S_OK);
        const int pieceUnits = 5 + static_cast<int>(line) % 37;
        const int piecedCount =
            ItemizeLine(engine.itemize, text.c_str(), length, pieceUnits, pieced.data());
        ASSERT_GT(piecedCount, 0);
        EXPECT_EQ(ShownOrderAndScripts(engine, text, pieced, piecedCount),
                  ShownOrderAndScripts(engine, text, whole, wholeCount))
            << "line " << line << " in pieces of " << pieceUnits;
    }
    FreeLibrary(engine.module);
}
