#include "icon/line_characters.h"

#include <windows.h>

#include <algorithm>

namespace {

struct CodeRange {
    uint32_t first;
    uint32_t last;
};

template <size_t Count> bool InRanges(const CodeRange (&ranges)[Count], uint32_t code) {
    return std::any_of(ranges, ranges + Count, [code](const CodeRange& range) {
        return code >= range.first && code <= range.last;
    });
}

// U+200C and U+200D are left out: beside a joining letter they change its form.
const CodeRange trimmableBlanks[] = {{0x20, 0x20},     {0xA0, 0xA0},     {0x2000, 0x200B},
                                     {0x202F, 0x202F}, {0x205F, 0x2060}, {0x3000, 0x3000},
                                     {0xFEFF, 0xFEFF}};

const CodeRange contextShaped[] = {
    {0x0300, 0x036F},  {0x0483, 0x0489}, {0x0591, 0x05C7},   {0x0610, 0x061A},   {0x064B, 0x065F},
    {0x0670, 0x0670},  {0x06D6, 0x06ED}, {0x0711, 0x0711},   {0x0730, 0x074A},   {0x07A6, 0x07B0},
    {0x07EB, 0x07F3},  {0x0816, 0x085B}, {0x0898, 0x0DFF},   {0x0E31, 0x0E31},   {0x0E34, 0x0E3A},
    {0x0E47, 0x0E4E},  {0x0EB1, 0x0EBC}, {0x0EC8, 0x0ECE},   {0x0F00, 0x11FF},   {0x1700, 0x18AF},
    {0x1A00, 0x1CFF},  {0x1DC0, 0x1DFF}, {0x200C, 0x200F},   {0x202A, 0x202E},   {0x2066, 0x206F},
    {0x20D0, 0x20FF},  {0x302A, 0x302F}, {0x3099, 0x309A},   {0xA800, 0xABFF},   {0xD7B0, 0xDFFF},
    {0xFE00, 0xFE0F},  {0xFE20, 0xFE2F}, {0x10000, 0x1EFFF}, {0x1F1E6, 0x1F1FF}, {0x1F3FB, 0x1F3FF},
    {0xE0000, 0xE0FFF}};

const CodeRange simpleLeftToRight[] = {
    {0x0020, 0x007E}, {0x00A0, 0x02FF}, {0x0370, 0x0482}, {0x048A, 0x052F}, {0x1E00, 0x1FFF},
    {0x2000, 0x200B}, {0x2010, 0x2027}, {0x202F, 0x205F}, {0x2070, 0x20CF}, {0x2100, 0x2BFF},
    {0x3000, 0x3029}, {0x3030, 0x3098}, {0x309B, 0x9FFF}, {0xAC00, 0xD7A3}, {0xF900, 0xFAFF}};

} // namespace

uint32_t CodePointAt(const wchar_t* text, int length, int at, int* units) {
    if (IS_HIGH_SURROGATE(text[at]) && at + 1 < length && IS_LOW_SURROGATE(text[at + 1])) {
        *units = 2;
        return 0x10000 + ((static_cast<uint32_t>(text[at]) - 0xD800) << 10) +
               (static_cast<uint32_t>(text[at + 1]) - 0xDC00);
    }
    *units = 1;
    return text[at];
}

uint32_t CodePointBefore(const wchar_t* text, int end, int* units) {
    if (end >= 2 && IS_LOW_SURROGATE(text[end - 1]) && IS_HIGH_SURROGATE(text[end - 2])) {
        return CodePointAt(text, end, end - 2, units);
    }
    *units = 1;
    return text[end - 1];
}

bool IsTrimmableBlank(uint32_t code) {
    return InRanges(trimmableBlanks, code);
}

bool ShapesInContext(uint32_t code) {
    return InRanges(contextShaped, code);
}

bool IsSimpleLeftToRight(uint32_t code) {
    return InRanges(simpleLeftToRight, code);
}
