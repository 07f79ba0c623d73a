#include "icon/glyph_layout.h"

#include <usp10.h>

#include <cstring>

#include "common/platform.h"
#include "icon/line_items.h"

GlyphWork glyphWork = {};

namespace {

// Kivet.exe imports only what every process loads; Uniscribe is looked up while layouts are open.
struct Uniscribe {
    HMODULE module;
    decltype(&ScriptItemize) itemize;
    decltype(&ScriptLayout) layout;
    decltype(&ScriptShape) shape;
    decltype(&ScriptFreeCache) freeCache;
};

template <typename Entry> void LookUp(HMODULE module, const char* name, Entry* entry) {
    *entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

bool LoadUniscribe(Uniscribe* usp) {
    usp->module = platform.loadSystemLibrary(L"usp10.dll");
    if (usp->module == nullptr) {
        return false;
    }
    LookUp(usp->module, "ScriptItemize", &usp->itemize);
    LookUp(usp->module, "ScriptLayout", &usp->layout);
    LookUp(usp->module, "ScriptShape", &usp->shape);
    LookUp(usp->module, "ScriptFreeCache", &usp->freeCache);
    return usp->itemize != nullptr && usp->layout != nullptr && usp->shape != nullptr &&
           usp->freeCache != nullptr;
}

// A shaped line and the text and face it was shaped from.
struct ShapedEntry {
    ShapedLine line;
    wchar_t* text;
    int length;
    wchar_t face[LF_FACESIZE];
};

// Loaded from the first OpenGlyphLayouts to the matching CloseGlyphLayouts, with the lines
// shaped meanwhile: loading the DLL and shaping a long line cost more than placing its glyphs.
struct Session {
    int depth;
    Uniscribe usp;
    ShapedEntry entries[2];
    int next;
};

Session session = {};

void FreeEntry(ShapedEntry* entry) {
    FreeLayoutBlock(entry->line.glyphs);
    FreeLayoutBlock(entry->line.zeroWidth);
    FreeLayoutBlock(entry->text);
    ZeroMemory(entry, sizeof(*entry));
}

// The buffers of one shaping. Each item's glyphs are shaped straight into the unused end of
// the glyph arrays, which hold three glyphs per unit, more than any script makes of a line.
struct ShapeWork {
    SCRIPT_ITEM* items;
    BYTE* levels;
    int* visualOrder;
    WORD* clusters;
    SCRIPT_VISATTR* attributes;
    int* cuts;
    int capacity;
};

// Units itemized by one call of the engine; see line_items.h.
constexpr int ItemizeUnits = 512;

// The engine's shaping takes more than linear time on long runs of some characters (surrogate
// pairs, format characters), so runs are shaped in pieces of about this many units.
constexpr int PieceUnits = 256;

// Where the piece that begins at `from` ends: after a space within its second half, else before
// the last unit that begins a character, else at the run's end.
int PieceEnd(const wchar_t* text, int from, int end) {
    if (end - from <= PieceUnits) {
        return end;
    }
    for (int at = from + PieceUnits; at > from + PieceUnits / 2; --at) {
        if (text[at - 1] == L' ') {
            return at;
        }
    }
    for (int at = from + PieceUnits; at < end && at < from + 2 * PieceUnits; ++at) {
        if (BeginsCharacter(text[at])) {
            return at;
        }
    }
    return end;
}

bool AllocateShaping(int length, ShapeWork* work, ShapedEntry* entry) {
    const size_t units = static_cast<size_t>(length) + 2;
    const size_t glyphs = 3 * units + 16;
    work->items = static_cast<SCRIPT_ITEM*>(AllocateLayoutBlock(units * sizeof(SCRIPT_ITEM)));
    work->levels = static_cast<BYTE*>(AllocateLayoutBlock(units));
    work->visualOrder = static_cast<int*>(AllocateLayoutBlock(units * sizeof(int)));
    work->clusters = static_cast<WORD*>(AllocateLayoutBlock(units * sizeof(WORD)));
    work->attributes =
        static_cast<SCRIPT_VISATTR*>(AllocateLayoutBlock(glyphs * sizeof(SCRIPT_VISATTR)));
    work->cuts = static_cast<int*>(AllocateLayoutBlock(units * sizeof(int)));
    work->capacity = static_cast<int>(glyphs);
    entry->line.glyphs = static_cast<WORD*>(AllocateLayoutBlock(glyphs * sizeof(WORD)));
    entry->line.zeroWidth = static_cast<uint8_t*>(AllocateLayoutBlock(glyphs));
    entry->text = static_cast<wchar_t*>(AllocateLayoutBlock(units * sizeof(wchar_t)));
    return work->items != nullptr && work->levels != nullptr && work->visualOrder != nullptr &&
           work->clusters != nullptr && work->attributes != nullptr && work->cuts != nullptr &&
           entry->line.glyphs != nullptr && entry->line.zeroWidth != nullptr &&
           entry->text != nullptr;
}

void FreeShapeWork(ShapeWork* work) {
    FreeLayoutBlock(work->items);
    FreeLayoutBlock(work->levels);
    FreeLayoutBlock(work->visualOrder);
    FreeLayoutBlock(work->clusters);
    FreeLayoutBlock(work->attributes);
    FreeLayoutBlock(work->cuts);
}

// Shapes one item after the glyphs already shaped.
bool ShapeItem(HDC dc, SCRIPT_CACHE* cache, const wchar_t* text, int length,
               SCRIPT_ANALYSIS analysis, ShapeWork* work, ShapedLine* line) {
    const Uniscribe& usp = session.usp;
    const int at = line->count;
    int shaped = 0;
    HRESULT result = usp.shape(dc, cache, text, length, work->capacity - at, &analysis,
                               line->glyphs + at, work->clusters, work->attributes + at, &shaped);
    if (result == USP_E_SCRIPT_NOT_IN_FONT) {
        // The font lacks the script's shaping: its glyphs as they are, as text drawing does.
        analysis.eScript = SCRIPT_UNDEFINED;
        result = usp.shape(dc, cache, text, length, work->capacity - at, &analysis,
                           line->glyphs + at, work->clusters, work->attributes + at, &shaped);
    }
    for (int glyph = at; glyph < at + shaped; ++glyph) {
        line->zeroWidth[glyph] = work->attributes[glyph].fZeroWidth;
    }
    line->count += shaped;
    return SUCCEEDED(result);
}

// Shapes the run from `from` to `end` piece by piece, the pieces of a right-to-left run from
// its last, so that the glyphs come in visual order.
bool ShapeRun(HDC dc, SCRIPT_CACHE* cache, const wchar_t* text, int from, int end,
              SCRIPT_ANALYSIS analysis, ShapeWork* work, ShapedLine* line) {
    int pieces = 0;
    work->cuts[0] = from;
    for (int at = from; at < end; at = work->cuts[pieces]) {
        work->cuts[++pieces] = PieceEnd(text, at, end);
    }
    bool shaped = true;
    for (int piece = 0; piece < pieces && shaped; ++piece) {
        const int which = analysis.fRTL ? pieces - 1 - piece : piece;
        shaped = ShapeItem(dc, cache, text + work->cuts[which],
                           work->cuts[which + 1] - work->cuts[which], analysis, work, line);
    }
    return shaped;
}

bool ShapeItems(HDC dc, const wchar_t* text, int length, ShapeWork* work, ShapedLine* line) {
    const Uniscribe& usp = session.usp;
    int itemCount = ItemizeLine(usp.itemize, text, length, ItemizeUnits, work->items);
    if (itemCount < 0) {
        return false;
    }
    // Runs of one script and direction that the engine splits, as at every format character,
    // are shaped together: one call per unit costs far more than the shaping.
    int merged = 1;
    for (int item = 1; item < itemCount; ++item) {
        if (std::memcmp(&work->items[item].a, &work->items[merged - 1].a,
                        sizeof(SCRIPT_ANALYSIS)) != 0) {
            work->items[merged++] = work->items[item];
        }
    }
    work->items[merged] = work->items[itemCount];
    itemCount = merged;
    for (int item = 0; item < itemCount; ++item) {
        work->levels[item] = static_cast<BYTE>(work->items[item].a.s.uBidiLevel);
    }
    if (FAILED(usp.layout(itemCount, work->levels, work->visualOrder, nullptr))) {
        return false;
    }
    SCRIPT_CACHE cache = nullptr;
    bool shaped = true;
    for (int visual = 0; visual < itemCount && shaped; ++visual) {
        const SCRIPT_ITEM* item = work->items + work->visualOrder[visual];
        shaped = ShapeRun(dc, &cache, text, item->iCharPos, item[1].iCharPos, item->a, work, line);
    }
    usp.freeCache(&cache);
    return shaped;
}

const ShapedEntry* FindShaped(const wchar_t* text, int length, const wchar_t* face) {
    for (const ShapedEntry& entry : session.entries) {
        if (entry.text != nullptr && entry.length == length && lstrcmpW(entry.face, face) == 0 &&
            std::memcmp(entry.text, text, length * sizeof(wchar_t)) == 0) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace

const ShapedLine* ShapeLine(HDC dc, const wchar_t* line, int length, const wchar_t* face) {
    const ShapedEntry* found = FindShaped(line, length, face);
    if (found != nullptr || session.usp.module == nullptr || length <= 0) {
        return found != nullptr ? &found->line : nullptr;
    }
    glyphWork.unitsShaped += static_cast<uint64_t>(length);
    ShapedEntry* entry = session.entries + session.next;
    session.next = (session.next + 1) % 2;
    FreeEntry(entry);
    ShapeWork work = {};
    const bool shaped =
        AllocateShaping(length, &work, entry) && ShapeItems(dc, line, length, &work, &entry->line);
    FreeShapeWork(&work);
    if (!shaped) {
        FreeEntry(entry);
        return nullptr;
    }
    std::memcpy(entry->text, line, length * sizeof(wchar_t));
    entry->length = length;
    // cppcheck-suppress lstrcpynWCalled ; the face fits a LOGFONT face and is always terminated.
    lstrcpynW(entry->face, face, LF_FACESIZE);
    return &entry->line;
}

bool OpenGlyphLayouts() {
    if (session.depth++ == 0 && !LoadUniscribe(&session.usp) && session.usp.module != nullptr) {
        FreeLibrary(session.usp.module);
        session.usp.module = nullptr;
    }
    return session.usp.module != nullptr;
}

void CloseGlyphLayouts() {
    if (--session.depth > 0) {
        return;
    }
    for (ShapedEntry& entry : session.entries) {
        FreeEntry(&entry);
    }
    if (session.usp.module != nullptr) {
        FreeLibrary(session.usp.module);
    }
    session = Session{};
}

bool DrawGlyph(HDC dc, WORD glyph, int x, int y) {
    ++glyphWork.glyphsDrawn;
    return ExtTextOutW(dc, x, y, ETO_GLYPH_INDEX, nullptr, reinterpret_cast<LPCWSTR>(&glyph), 1,
                       nullptr) != FALSE;
}
