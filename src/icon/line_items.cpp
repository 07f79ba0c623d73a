#include "icon/line_items.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace {

bool IsCombiningMark(wchar_t unit) {
    return (unit >= 0x0300 && unit <= 0x036F) || (unit >= 0x1AB0 && unit <= 0x1AFF) ||
           (unit >= 0x1DC0 && unit <= 0x1DFF) || (unit >= 0x20D0 && unit <= 0x20FF) ||
           (unit >= 0xFE20 && unit <= 0xFE2F);
}

bool IsDirectionControl(wchar_t unit) {
    return (unit >= 0x202A && unit <= 0x202E) || (unit >= 0x2066 && unit <= 0x2069);
}

// The bracket that closes a pair opened by `unit`, or 0 when it opens none; U+2329 and U+232A
// pair as their equivalents U+3008 and U+3009.
wchar_t ClosingBracketOf(wchar_t unit) {
    struct Pairs {
        wchar_t first;
        wchar_t last;
    };
    static const Pairs consecutive[] = {
        {0x0028, 0x0029}, {0x0F3A, 0x0F3D}, {0x169B, 0x169C}, {0x2045, 0x2046}, {0x207D, 0x207E},
        {0x208D, 0x208E}, {0x2308, 0x230B}, {0x2768, 0x2775}, {0x27C5, 0x27C6}, {0x27E6, 0x27EF},
        {0x2983, 0x2998}, {0x29D8, 0x29DB}, {0x29FC, 0x29FD}, {0x2E22, 0x2E29}, {0x3008, 0x3011},
        {0x3014, 0x301B}, {0xFE59, 0xFE5E}, {0xFF08, 0xFF09}, {0xFF5F, 0xFF60}, {0xFF62, 0xFF63}};
    if (unit == L'[' || unit == L'{' || unit == 0xFF3B || unit == 0xFF5B) {
        return static_cast<wchar_t>(unit + 2);
    }
    unit = unit == 0x2329 ? 0x3008 : unit;
    const Pairs* pairs =
        std::find_if(std::begin(consecutive), std::end(consecutive), [unit](const Pairs& range) {
            return unit >= range.first && unit <= range.last;
        });
    if (pairs == std::end(consecutive) || (unit - pairs->first) % 2 != 0) {
        return 0;
    }
    return static_cast<wchar_t>(unit + 1);
}

bool IsClosingBracket(wchar_t unit) {
    unit = unit == 0x232A ? 0x3009 : unit;
    return unit == L']' || unit == L'}' || unit == 0xFF3D || unit == 0xFF5D ||
           ClosingBracketOf(static_cast<wchar_t>(unit - 1)) == unit;
}

// The line with each long repeat of one to four units shortened: the repeats inside such a run
// are alike to the engine, which gives them the items of the repeats at its ends. Brackets, which
// pair by position, and direction controls, which nest, are kept whole.
constexpr int LongestPeriod = 4;
constexpr int KeptUnits = 24; // at each end of a shortened run: a whole number of periods
constexpr int ShortenFrom = 96;

struct Shortened {
    wchar_t* text;
    int length;
    int* gapAt;    // where units were left out, in the shortened text
    int* gapUnits; // how many were left out there
    int gaps;
};

bool MayRepeat(const wchar_t* text, int from, int period) {
    for (int at = from; at < from + period; ++at) {
        if (IsDirectionControl(text[at]) || ClosingBracketOf(text[at]) != 0 ||
            IsClosingBracket(text[at])) {
            return false;
        }
    }
    return true;
}

void Shorten(const wchar_t* text, int length, Shortened* line) {
    for (int at = 0; at < length;) {
        int period = 1;
        int end = at + 1;
        for (int tried = 1; tried <= LongestPeriod && at + tried <= length; ++tried) {
            int reach = at + tried;
            while (reach < length && text[reach] == text[reach - tried]) {
                ++reach;
            }
            if (reach > end) {
                end = reach;
                period = tried;
            }
        }
        int copied = end - at;
        if (end - at < ShortenFrom) {
            copied = 1;
        } else if (MayRepeat(text, at, period)) {
            const int leftOut = (end - at - 2 * KeptUnits) / period * period;
            std::memcpy(line->text + line->length, text + at, KeptUnits * sizeof(wchar_t));
            line->length += KeptUnits;
            line->gapAt[line->gaps] = line->length;
            line->gapUnits[line->gaps++] = leftOut;
            at += KeptUnits + leftOut;
            copied = end - at;
        }
        std::memcpy(line->text + line->length, text + at, copied * sizeof(wchar_t));
        line->length += copied;
        at += copied;
    }
}

// What the pieces of a line are cut by: each unit's bidirectional class, how many bracket pairs
// enclose it (a pair is resolved as one, so no piece begins inside one), and the last unit a
// piece may begin at: the first direction control, whose embedding the pieces after it would
// lose, or the point where the brackets nest too deep to follow.
constexpr int DeepestBrackets = 63;

struct LineScan {
    WORD* classes;
    int* enclosing;
    int* openers;
    int lastCut;
    bool levels;
    bool marks;
    bool arabicDigits;
};

bool ScanLine(const wchar_t* text, int length, LineScan* scan) {
    if (!GetStringTypeW(CT_CTYPE2, text, length, scan->classes)) {
        return false;
    }
    scan->lastCut = length;
    int open = 0;
    for (int at = 0; at < length; ++at) {
        const wchar_t unit = text[at] == 0x232A ? 0x3009 : text[at];
        scan->marks = scan->marks || IsCombiningMark(unit);
        scan->arabicDigits = scan->arabicDigits || scan->classes[at] == C2_ARABICNUMBER;
        scan->levels = scan->levels || scan->classes[at] == C2_RIGHTTOLEFT ||
                       scan->classes[at] == C2_ARABICNUMBER || IsDirectionControl(unit) ||
                       (unit >= 0x200B && unit <= 0x200F);
        if ((IsDirectionControl(unit) || open > DeepestBrackets) && scan->lastCut == length) {
            scan->lastCut = at;
        }
        if (ClosingBracketOf(unit) != 0) {
            scan->openers[open++] = at;
        }
        for (int opener = open - 1; opener >= 0 && IsClosingBracket(unit); --opener) {
            if (ClosingBracketOf(text[scan->openers[opener]]) == unit) {
                ++scan->enclosing[scan->openers[opener] + 1];
                --scan->enclosing[at + 1];
                open = opener;
                break;
            }
        }
    }
    for (int at = 1; at < length; ++at) {
        scan->enclosing[at] += scan->enclosing[at - 1];
    }
    return true;
}

// Whether a piece may begin at `at`: before a letter, or a digit after a space or (in a line
// without Arabic digits, which take their script from the whole number) after a digit, whose
// level and script depend on nothing before it but the last strong letter, which the piece is
// given; outside bracket pairs and before any direction control; and after a space where a
// combining mark could take the units before it into its run.
bool MayCutBefore(const wchar_t* text, const LineScan& scan, int at) {
    const WORD type = scan.classes[at];
    const bool number =
        type == C2_EUROPENUMBER &&
        (text[at - 1] == L' ' || (scan.classes[at - 1] == C2_EUROPENUMBER && !scan.arabicDigits));
    return (type == C2_LEFTTORIGHT || type == C2_RIGHTTOLEFT || number) &&
           !IS_HIGH_SURROGATE(text[at]) && BeginsCharacter(text[at]) && scan.enclosing[at] == 0 &&
           at <= scan.lastCut && (!scan.marks || text[at - 1] == L' ');
}

struct PieceWork {
    wchar_t* text;
    SCRIPT_ITEM* items;
};

// Items the units from `from` to `end`, appending them to `items` from `count`: the new count, or
// -1. They are itemized after the last strong letter before them (`strong`, or none) and a space,
// and before the unit at `end`. Where the whole line has levels to resolve, a zero-width space,
// which takes no part in resolving them, joins them too: an engine that skips that work for text
// with nothing to resolve (Wine's) must not skip it for a piece either.
int ItemizePiece(ItemizeFunction itemize, const wchar_t* text, int length, int from, int end,
                 wchar_t strong, bool levels, PieceWork* work, SCRIPT_ITEM* items, int count) {
    const wchar_t zeroWidthSpace = 0x200B;
    int before = 0;
    if (from > 0 && levels) {
        work->text[before++] = zeroWidthSpace;
    }
    if (from > 0 && strong != 0) {
        work->text[before++] = strong;
    }
    if (from > 0) {
        work->text[before++] = L' ';
    }
    std::memcpy(work->text + before, text + from, (end - from) * sizeof(wchar_t));
    int units = before + end - from;
    if (end < length) {
        work->text[units++] = text[end];
    }
    if (from == 0 && end < length && levels) {
        work->text[units++] = zeroWidthSpace;
    }
    const SCRIPT_CONTROL control = {};
    const SCRIPT_STATE state = {};
    int pieceItems = 0;
    if (FAILED(itemize(work->text, units, units + 1, &control, &state, work->items, &pieceItems))) {
        return -1;
    }
    for (int item = 0; item < pieceItems; ++item) {
        const int start = work->items[item].iCharPos > before ? work->items[item].iCharPos : before;
        if (start >= before + end - from) {
            break;
        }
        if (work->items[item + 1].iCharPos > before) {
            items[count] = work->items[item];
            items[count++].iCharPos = start - before + from;
        }
    }
    return count;
}

int ItemizePieces(ItemizeFunction itemize, const wchar_t* text, int length, int pieceUnits,
                  const LineScan& scan, PieceWork* work, SCRIPT_ITEM* items) {
    int count = 0;
    int from = 0;
    wchar_t strongBefore = 0;
    wchar_t strong = 0;
    bool strongKnown = true;
    for (int at = 1; at <= length && count >= 0; ++at) {
        const wchar_t unit = text[at - 1];
        if (IS_HIGH_SURROGATE(unit) || IS_LOW_SURROGATE(unit)) {
            strongKnown = false;
        } else if (scan.classes[at - 1] == C2_LEFTTORIGHT ||
                   scan.classes[at - 1] == C2_RIGHTTOLEFT) {
            strong = unit;
            strongKnown = true;
        }
        if (at == length ||
            (at - from >= pieceUnits && strongKnown && MayCutBefore(text, scan, at))) {
            count = ItemizePiece(itemize, text, length, from, at, strongBefore, scan.levels, work,
                                 items, count);
            from = at;
            strongBefore = strong;
        }
    }
    items[count >= 0 ? count : 0].iCharPos = length;
    return count;
}

// Moves the items' positions from the shortened text to the line.
void Lengthen(const Shortened& line, SCRIPT_ITEM* items, int count) {
    int gap = 0;
    int leftOut = 0;
    for (int item = 0; item <= count; ++item) {
        while (gap < line.gaps && line.gapAt[gap] < items[item].iCharPos) {
            leftOut += line.gapUnits[gap++];
        }
        items[item].iCharPos += leftOut;
    }
}

} // namespace

bool BeginsCharacter(wchar_t unit) {
    return !IS_LOW_SURROGATE(unit) && !IsCombiningMark(unit) &&
           !(unit >= 0x200C && unit <= 0x200D) && !(unit >= 0xFE00 && unit <= 0xFE0F);
}

int ItemizeLine(ItemizeFunction itemize, const wchar_t* text, int length, int pieceUnits,
                SCRIPT_ITEM* items) {
    // One block holds every array, the four-byte ones first.
    const size_t units = static_cast<size_t>(length) + 4;
    const size_t gaps = units / ShortenFrom + 1;
    void* block = AllocateLayoutBlock((2 * gaps + 2 * units) * sizeof(int) +
                                      units * (sizeof(SCRIPT_ITEM) + 3 * sizeof(wchar_t)));
    if (block == nullptr || length <= 0) {
        FreeLayoutBlock(block);
        return -1;
    }
    Shortened line = {};
    LineScan scan = {};
    PieceWork work = {};
    line.gapAt = static_cast<int*>(block);
    line.gapUnits = line.gapAt + gaps;
    scan.enclosing = line.gapUnits + gaps;
    scan.openers = scan.enclosing + units;
    work.items = reinterpret_cast<SCRIPT_ITEM*>(scan.openers + units);
    line.text = reinterpret_cast<wchar_t*>(work.items + units);
    work.text = line.text + units;
    scan.classes = reinterpret_cast<WORD*>(work.text + units);
    Shorten(text, length, &line);
    int count = -1;
    if (ScanLine(line.text, line.length, &scan)) {
        count = ItemizePieces(itemize, line.text, line.length, pieceUnits, scan, &work, items);
    }
    if (count >= 0) {
        Lengthen(line, items, count);
    }
    FreeLayoutBlock(block);
    return count;
}

void* AllocateLayoutBlock(size_t bytes) {
    return HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes);
}

void FreeLayoutBlock(void* block) {
    if (block != nullptr) {
        HeapFree(GetProcessHeap(), 0, block);
    }
}
