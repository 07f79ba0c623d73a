// The tables are written in UTF-8 and packed while compiling, to keep 33 languages small: the
// words every table repeats become one byte each, and the letters of the block of 128 code
// points that suits the table (Latin-1, Latin Extended-A, Greek, Cyrillic) one byte each too.
// UnpackTexts (text/language_tables.h) reads them back.
#pragma once

#include <cstddef>

// Bytes 1 to PackedWordCount stand for these words; PackedEscape announces a character outside
// the table's block, in UTF-8.
struct PackedWord {
    const char* bytes;
    int size;
};
constexpr PackedWord PackedWords[] = {
    {"Kivet", 5}, {"Windows", 7}, {"&Calibri\0&Lekton\0", 17}, {"%ls – %ls", 11}, {"…\0", 4}};
constexpr int PackedWordCount = sizeof(PackedWords) / sizeof(PackedWords[0]);
constexpr unsigned char PackedEscape = 0x1F;

constexpr bool StartsWith(const char* text, size_t size, const PackedWord& word) {
    if (static_cast<size_t>(word.size) > size) {
        return false;
    }
    for (int i = 0; i < word.size; ++i) {
        if (text[i] != word.bytes[i]) {
            return false;
        }
    }
    return true;
}

// Packs `size` bytes of UTF-8 into `out` (nothing written when it is null); the packed length.
// `block`: the first of 128 code points (0x400 Cyrillic, 0x380 Greek, ...) that take one byte each,
// from 0x80 on; 0 for a table whose other characters stay in UTF-8.
constexpr size_t PackTextsInto(const char* text, size_t size, char32_t block, char* out) {
    size_t length = 0;
    for (size_t i = 0; i < size;) {
        int word = 0;
        while (word < PackedWordCount && !StartsWith(text + i, size - i, PackedWords[word])) {
            ++word;
        }
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        if (word < PackedWordCount || lead < 0x80) {
            if (out != nullptr) {
                out[length] = static_cast<char>(word < PackedWordCount ? word + 1 : lead);
            }
            ++length;
            i += word < PackedWordCount ? PackedWords[word].size : 1;
            continue;
        }
        const size_t units = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        char32_t point = lead & (0x7F >> units);
        for (size_t k = 1; k < units && i + k < size; ++k) {
            point = (point << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        if (block != 0 && point >= block && point < block + 0x80) {
            if (out != nullptr) {
                out[length] = static_cast<char>(0x80 + (point - block));
            }
            ++length;
        } else {
            if (block != 0 && out != nullptr) {
                out[length] = static_cast<char>(PackedEscape);
            }
            length += block != 0 ? 1 : 0;
            for (size_t k = 0; k < units; ++k) {
                if (out != nullptr) {
                    out[length] = text[i + k];
                }
                ++length;
            }
        }
        i += units;
    }
    return length;
}

template <size_t Size> struct PackedTexts { char bytes[Size]; };

template <size_t Size>
constexpr PackedTexts<Size> PackTexts(const char* text, size_t size, char32_t block) {
    PackedTexts<Size> packed{};
    PackTextsInto(text, size, block, packed.bytes);
    return packed;
}

// The block that packs these texts smallest: Latin-1, Latin Extended-A, Greek, Cyrillic or none.
constexpr char32_t BestBlock(const char* text, size_t size) {
    const char32_t blocks[] = {0x80, 0x100, 0x380, 0x400};
    char32_t best = 0;
    size_t bestSize = PackTextsInto(text, size, 0, nullptr);
    for (char32_t block : blocks) {
        const size_t packedSize = PackTextsInto(text, size, block, nullptr);
        if (packedSize < bestSize) {
            best = block;
            bestSize = packedSize;
        }
    }
    return best;
}
