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

// A shaped line and the text it was shaped from; the face is the line's first.
struct ShapedEntry {
    ShapedLine line;
    wchar_t* text;
    int length;
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
    FreeLayoutBlock(entry->line.glyphs); // and the rest of the entry's block
    ZeroMemory(entry, sizeof(*entry));
}

// The buffers of one shaping. Each item's glyphs are shaped straight into the unused end of
// the glyph arrays, which hold three glyphs per unit, more than any script makes of a line.
struct ShapeWork {
    SCRIPT_ITEM* items;
    BYTE* levels;
    int* visualOrder;
    WORD* clusters;
    WORD* coverage; // for each unit, 0xFFFF where the line's face has no glyph
    SCRIPT_VISATTR* attributes;
    int* cuts;
    int capacity;
};

// Units itemized by one call of the engine; see line_items.h.
constexpr int ItemizeUnits = 512;

// The engine's shaping takes more than linear time on long runs of some characters (surrogate
// pairs, format characters), so runs are shaped in pieces of about this many units.
constexpr int PieceUnits = 256;

// Whether the line's face has no glyph for the character that begins at `at` (`coverage` holds
// 0xFFFF then): marks and joiners go with the character before them, and surrogates, which the
// coverage cannot tell, and controls that draw nothing count as had.
bool Lacks(const wchar_t* text, const WORD* coverage, int at) {
    const wchar_t unit = text[at];
    return coverage[at] == 0xFFFF && BeginsCharacter(unit) && !IS_HIGH_SURROGATE(unit) &&
           !(unit >= 0x200B && unit <= 0x200F) && !(unit >= 0x2060 && unit <= 0x2064) &&
           unit != 0xFEFF && unit != 0x00AD;
}

// Where the piece that begins at `from` ends: after a space within its second half, else before
// the last unit that begins a character, else at the run's end.
int PieceEnd(const wchar_t* text, const WORD* coverage, int from, int end) {
    // A piece holds text the face has or text it lacks, so that only what it lacks is shaped in
    // another face.
    for (int at = from + 1; at < end && at <= from + PieceUnits; ++at) {
        if (BeginsCharacter(text[at]) && Lacks(text, coverage, at) != Lacks(text, coverage, from)) {
            return at;
        }
    }
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

// Makes the work's buffers and the entry's arrays, each in one block: the work's begins at
// `items`, the entry's at `glyphs`.
bool AllocateShaping(int length, ShapeWork* work, ShapedEntry* entry) {
    const size_t units = static_cast<size_t>(length) + 2;
    const size_t glyphs = 3 * units + 16;
    work->items = static_cast<SCRIPT_ITEM*>(
        AllocateLayoutBlock(units * (sizeof(SCRIPT_ITEM) + 2 * sizeof(int) + 2 * sizeof(WORD) + 1) +
                            glyphs * sizeof(SCRIPT_VISATTR)));
    entry->line.glyphs = static_cast<WORD*>(
        AllocateLayoutBlock(glyphs * (sizeof(WORD) + 2) + units * sizeof(wchar_t)));
    if (work->items == nullptr || entry->line.glyphs == nullptr) {
        return false;
    }
    work->visualOrder = reinterpret_cast<int*>(work->items + units);
    work->cuts = work->visualOrder + units;
    work->clusters = reinterpret_cast<WORD*>(work->cuts + units);
    work->coverage = work->clusters + units;
    work->attributes = reinterpret_cast<SCRIPT_VISATTR*>(work->coverage + units);
    work->levels = reinterpret_cast<BYTE*>(work->attributes + glyphs);
    work->capacity = static_cast<int>(glyphs);
    entry->text = reinterpret_cast<wchar_t*>(entry->line.glyphs + glyphs);
    entry->line.zeroWidth = reinterpret_cast<uint8_t*>(entry->text + units);
    entry->line.face = entry->line.zeroWidth + glyphs;
    return true;
}

// The faces tried, in order, for text the line's face lacks: those that Windows brings for the
// scripts it writes (Latin, Greek, Cyrillic, Hebrew and Arabic; Thai; Indic; Chinese and
// Japanese; Korean). Each is made on first need while a line is shaped.
constexpr wchar_t fallbackFaces[][20] = {L"Segoe UI", L"Leelawadee UI", L"Nirmala UI",
                                         L"Microsoft YaHei UI", L"Malgun Gothic"};
constexpr int FallbackCount = sizeof(fallbackFaces) / sizeof(fallbackFaces[0]);

struct LineFonts {
    SCRIPT_CACHE caches[1 + FallbackCount];
    HFONT fallbacks[FallbackCount];
};

// Whether the font selected into `dc` has a glyph for every unit of `text`.
bool HasAll(HDC dc, const wchar_t* text, int length, WORD* indices) {
    if (GetGlyphIndicesW(dc, text, length, indices, GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) {
        return false;
    }
    for (int unit = 0; unit < length; ++unit) {
        if (indices[unit] == 0xFFFF) {
            return false;
        }
    }
    return true;
}

// The first fallback face that has every unit of `text`, or -1.
int FallbackFor(HDC dc, const wchar_t* text, int length, WORD* indices, LineFonts* fonts) {
    int found = -1;
    HGDIOBJ own = nullptr;
    for (int candidate = 0; candidate < FallbackCount && found < 0; ++candidate) {
        HFONT& font = fonts->fallbacks[candidate];
        if (font == nullptr) {
            font = MakeIconFont(32, fallbackFaces[candidate]);
        }
        HGDIOBJ former = font != nullptr ? SelectObject(dc, font) : nullptr;
        own = own != nullptr ? own : former;
        found = former != nullptr && HasAll(dc, text, length, indices) ? candidate : -1;
    }
    if (own != nullptr) {
        SelectObject(dc, own);
    }
    return found;
}

// The index of `face` among the line's faces, added if new; -1 when the line has no room.
int LineFaceIndex(const wchar_t* face, ShapedLine* line) {
    for (int index = 0; index < line->faceCount; ++index) {
        if (lstrcmpW(line->faces[index], face) == 0) {
            return index;
        }
    }
    if (line->faceCount == MaxLineFaces) {
        return -1;
    }
    // cppcheck-suppress lstrcpynWCalled ; the faces are short literals, always terminated.
    lstrcpynW(line->faces[line->faceCount], face, LF_FACESIZE);
    return line->faceCount++;
}

// Shapes one item after the glyphs already shaped, in the font of cache `font` (0 the line's own).
HRESULT ShapeItemIn(HDC dc, int font, const wchar_t* text, int length, SCRIPT_ANALYSIS analysis,
                    ShapeWork* work, LineFonts* fonts, ShapedLine* line, int* shaped) {
    const Uniscribe& usp = session.usp;
    const int at = line->count;
    SCRIPT_CACHE* cache = fonts->caches + font;
    HRESULT result = usp.shape(dc, cache, text, length, work->capacity - at, &analysis,
                               line->glyphs + at, work->clusters, work->attributes + at, shaped);
    if (result == USP_E_SCRIPT_NOT_IN_FONT) {
        // The font lacks the script's shaping: its glyphs as they are, as text drawing does.
        analysis.eScript = SCRIPT_UNDEFINED;
        result = usp.shape(dc, cache, text, length, work->capacity - at, &analysis,
                           line->glyphs + at, work->clusters, work->attributes + at, shaped);
    }
    return result;
}

// Shapes a piece of an item after the glyphs already shaped: in the line's face, or where that
// lacks the piece's characters, in the first fallback face that has them all.
bool ShapeItem(HDC dc, const wchar_t* text, const WORD* coverage, int length,
               SCRIPT_ANALYSIS analysis, ShapeWork* work, LineFonts* fonts, ShapedLine* line) {
    const int at = line->count;
    const int fallback =
        Lacks(text, coverage, 0) ? FallbackFor(dc, text, length, work->clusters, fonts) : -1;
    const int face = fallback >= 0 ? LineFaceIndex(fallbackFaces[fallback], line) : -1;
    HGDIOBJ own = face > 0 ? SelectObject(dc, fonts->fallbacks[fallback]) : nullptr;
    int shaped = 0;
    const HRESULT result = ShapeItemIn(dc, face > 0 ? 1 + fallback : 0, text, length, analysis,
                                       work, fonts, line, &shaped);
    if (own != nullptr) {
        SelectObject(dc, own);
    }
    for (int glyph = at; glyph < at + shaped; ++glyph) {
        line->zeroWidth[glyph] = work->attributes[glyph].fZeroWidth;
        line->face[glyph] = static_cast<uint8_t>(face > 0 ? face : 0);
    }
    line->count += shaped;
    return SUCCEEDED(result);
}

// Shapes the run from `from` to `end` piece by piece, the pieces of a right-to-left run from
// its last, so that the glyphs come in visual order.
bool ShapeRun(HDC dc, const wchar_t* text, int from, int end, SCRIPT_ANALYSIS analysis,
              ShapeWork* work, LineFonts* fonts, ShapedLine* line) {
    int pieces = 0;
    work->cuts[0] = from;
    for (int at = from; at < end; at = work->cuts[pieces]) {
        work->cuts[++pieces] = PieceEnd(text, work->coverage, at, end);
    }
    bool shaped = true;
    for (int piece = 0; piece < pieces && shaped; ++piece) {
        const int which = analysis.fRTL ? pieces - 1 - piece : piece;
        shaped = ShapeItem(dc, text + work->cuts[which], work->coverage + work->cuts[which],
                           work->cuts[which + 1] - work->cuts[which], analysis, work, fonts, line);
    }
    return shaped;
}

bool ShapeItems(HDC dc, const wchar_t* text, int length, ShapeWork* work, ShapedLine* line) {
    const Uniscribe& usp = session.usp;
    int itemCount = ItemizeLine(usp.itemize, text, length, ItemizeUnits, work->items);
    if (itemCount < 0 || GetGlyphIndicesW(dc, text, length, work->coverage,
                                          GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) {
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
    LineFonts fonts = {};
    bool shaped = true;
    for (int visual = 0; visual < itemCount && shaped; ++visual) {
        const SCRIPT_ITEM* item = work->items + work->visualOrder[visual];
        shaped = ShapeRun(dc, text, item->iCharPos, item[1].iCharPos, item->a, work, &fonts, line);
    }
    for (SCRIPT_CACHE& cache : fonts.caches) {
        usp.freeCache(&cache);
    }
    for (HFONT font : fonts.fallbacks) {
        if (font != nullptr) {
            DeleteObject(font);
        }
    }
    return shaped;
}

const ShapedEntry* FindShaped(const wchar_t* text, int length, const wchar_t* face) {
    for (const ShapedEntry& entry : session.entries) {
        if (entry.text != nullptr && entry.length == length &&
            lstrcmpW(entry.line.faces[0], face) == 0 &&
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
    entry->line.faceCount = 1;
    // cppcheck-suppress lstrcpynWCalled ; the face fits a LOGFONT face and is always terminated.
    lstrcpynW(entry->line.faces[0], face, LF_FACESIZE);
    const bool shaped =
        AllocateShaping(length, &work, entry) && ShapeItems(dc, line, length, &work, &entry->line);
    FreeLayoutBlock(work.items);
    if (!shaped) {
        FreeEntry(entry);
        return nullptr;
    }
    std::memcpy(entry->text, line, length * sizeof(wchar_t));
    entry->length = length;
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

HFONT MakeIconFont(int emHeight, const wchar_t* face) {
    // A negative height matches the em height rather than the cell height.
    return CreateFontW(-emHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face);
}

bool DrawGlyph(HDC dc, WORD glyph, int x, int y) {
    ++glyphWork.glyphsDrawn;
    return ExtTextOutW(dc, x, y, ETO_GLYPH_INDEX, nullptr, reinterpret_cast<LPCWSTR>(&glyph), 1,
                       nullptr) != FALSE;
}
