// Hand-made line rasters for the renderer's core: coverage values placed in the red byte of an
// exactly sized pixel buffer, with other bytes set so that reading the wrong one shows.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "icon/icon_core.h"

struct TestRaster {
    std::vector<uint8_t> pixels;
    LineRaster record;

    TestRaster(int width, int height) : pixels(static_cast<size_t>(width) * height * 4) {
        std::memset(&record, 0, sizeof(record));
        // Blue, green and alpha carry noise: only red is coverage.
        for (size_t i = 0; i < pixels.size(); i += 4) {
            pixels[i] = 0x5A;
            pixels[i + 1] = 0xA5;
            pixels[i + 3] = 0x77;
        }
        record.pixels = pixels.data();
        record.width = width;
        record.height = height;
    }

    void Set(int x, int y, uint8_t coverage) {
        pixels[4 * (static_cast<size_t>(y) * record.width + x) + 2] = coverage;
    }

    uint8_t At(int x, int y) const {
        return pixels[4 * (static_cast<size_t>(y) * record.width + x) + 2];
    }

    // A solid block of ink, `inkWidth` × `inkHeight`, with its top-left at (left, top).
    void FillBlock(int left, int top, int inkWidth, int inkHeight, uint8_t coverage) {
        for (int y = top; y < top + inkHeight; ++y) {
            for (int x = left; x < left + inkWidth; ++x) {
                Set(x, y, coverage);
            }
        }
    }
};

// An edge × edge canvas, zeroed, sized exactly so that AddressSanitizer sees any stray write.
struct TestCanvas {
    int edge;
    std::vector<uint8_t> bytes;

    explicit TestCanvas(int canvasEdge)
        : edge(canvasEdge), bytes(static_cast<size_t>(canvasEdge) * canvasEdge * 4) {}

    const uint8_t* Pixel(int x, int y) const {
        return bytes.data() + 4 * (static_cast<size_t>(y) * edge + x);
    }
};
