// Random rasters, ink boxes and line counts that pass the fit test, composed into an exactly
// sized canvas (AddressSanitizer catches any write outside it in the native build), and
// checked pixel by pixel against the composition's description read the other way round:
// for each canvas pixel, which ink pixels show there or reach it with their outline.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "icon/icon_core.h"
#include "icon/test_raster.h"

namespace {

constexpr int Cases = 2000;

struct Scenario {
    int edge;
    std::vector<std::unique_ptr<TestRaster>> lines;
};

// A raster whose ink lies in a box of at most maxInkWidth × maxInkHeight somewhere inside a
// margin, with random coverage, at least one ink pixel and often zero pixels inside the box.
// Often the box is filled out to its corners, so that the largest sizes occur; `inkHeight`
// receives the box's height, at least that of the ink.
std::unique_ptr<TestRaster> RandomRaster(std::mt19937& random, int maxInkWidth, int maxInkHeight,
                                         int* inkHeight) {
    auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    const bool largest = pick(0, 3) == 0;
    const int inkWidth = largest ? maxInkWidth : pick(1, maxInkWidth);
    *inkHeight = largest ? maxInkHeight : pick(1, maxInkHeight);
    const int left = pick(0, 6);
    const int top = pick(0, 6);
    const int right = left + inkWidth - 1;
    const int bottom = top + *inkHeight - 1;
    auto raster = std::make_unique<TestRaster>(right + 1 + pick(0, 6), bottom + 1 + pick(0, 6));
    const int density = pick(1, 100);
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            if (pick(1, 100) <= density) {
                raster->Set(x, y, static_cast<uint8_t>(pick(1, 255)));
            }
        }
    }
    raster->Set(pick(left, right), pick(top, bottom), static_cast<uint8_t>(pick(1, 255)));
    if (largest) {
        raster->Set(left, top, static_cast<uint8_t>(pick(1, 255)));
        raster->Set(right, bottom, static_cast<uint8_t>(pick(1, 255)));
    }
    return raster;
}

Scenario RandomScenario(std::mt19937& random) {
    auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    Scenario scenario;
    scenario.edge = pick(0, 24) == 0 ? pick(65, 256) : pick(16, 48);
    const int lineCount = pick(1, 2);
    // Room for ink rows once the outline rows (and the gap between two lines) are counted;
    // a first line leaves at least one row for the second.
    int inkRowsLeft = scenario.edge - (lineCount == 1 ? 2 : 7);
    for (int line = 0; line < lineCount; ++line) {
        const int maxInkHeight = inkRowsLeft - (lineCount - 1 - line);
        int inkHeight = 0;
        scenario.lines.push_back(RandomRaster(random, scenario.edge - 2, maxInkHeight, &inkHeight));
        inkRowsLeft -= inkHeight;
    }
    return scenario;
}

struct Placement {
    int textLeft; // canvas column of the ink box's left column
    int textTop;  // canvas row of the ink box's top row
};

} // namespace

TEST(ComposeIconPixelsFuzz, EveryPixelIsTextOutlineOrEmptyAsTheInkDecides) {
    std::mt19937 random(20260529);
    for (int round = 0; round < Cases; ++round) {
        Scenario scenario = RandomScenario(random);
        const int edge = scenario.edge;
        const int lineCount = static_cast<int>(scenario.lines.size());

        std::vector<LineRaster> records;
        InkStack stack = StartInkStack(lineCount);
        for (auto& line : scenario.lines) {
            ASSERT_TRUE(FindInkBox(&line->record));
            AddLineToInkStack(&stack, &line->record);
            records.push_back(line->record);
        }
        if (!InkStackFits(stack, edge)) {
            // The generator keeps the ink inside the limits; a misfit is a fault of the stack.
            ADD_FAILURE() << "round " << round << " does not fit edge " << edge;
            continue;
        }

        // The canvas lives on its own in an exactly sized heap block.
        const size_t canvasBytes = static_cast<size_t>(edge) * edge * 4;
        std::unique_ptr<uint8_t[]> canvas(new uint8_t[canvasBytes]());
        ComposeIconPixels(records.data(), lineCount, edge, stack.totalHeight, 0x00102030,
                          0x00A0B0C0, canvas.get());

        // Where each line's ink shows: centred, one pixel in from its outline.
        std::vector<Placement> placements;
        int row = (edge - stack.totalHeight) / 2;
        for (const LineRaster& record : records) {
            const int inkWidth = record.inkRight - record.inkLeft + 1;
            const int inkHeight = record.inkBottom - record.inkTop + 1;
            placements.push_back({(edge - inkWidth - 2) / 2 + 1, row + 1});
            row += inkHeight + 5;
        }

        int wrong = 0;
        for (int y = 0; y < edge && wrong == 0; ++y) {
            for (int x = 0; x < edge && wrong == 0; ++x) {
                int shown = -1; // coverage of the ink pixel shown here, if any
                int reach = 0;  // greatest coverage whose 3 × 3 square reaches here
                for (int line = 0; line < lineCount; ++line) {
                    const LineRaster& record = records[line];
                    for (int dy = -1; dy <= 1; ++dy) {
                        for (int dx = -1; dx <= 1; ++dx) {
                            const int inkX = x + dx - placements[line].textLeft + record.inkLeft;
                            const int inkY = y + dy - placements[line].textTop + record.inkTop;
                            if (inkX < record.inkLeft || inkX > record.inkRight ||
                                inkY < record.inkTop || inkY > record.inkBottom) {
                                continue;
                            }
                            const int coverage = scenario.lines[line]->At(inkX, inkY);
                            reach = std::max(reach, coverage);
                            if (dx == 0 && dy == 0 && coverage != 0) {
                                shown = coverage;
                            }
                        }
                    }
                }
                const uint8_t* pixel = canvas.get() + 4 * (static_cast<size_t>(y) * edge + x);
                uint8_t expected[4] = {0, 0, 0, 0};
                if (shown >= 0) {
                    expected[0] = 0x10, expected[1] = 0x20, expected[2] = 0x30;
                    expected[3] = static_cast<uint8_t>(shown);
                } else if (reach > 0) {
                    expected[0] = 0xA0, expected[1] = 0xB0, expected[2] = 0xC0;
                    expected[3] = static_cast<uint8_t>(reach);
                }
                for (int i = 0; i < 4; ++i) {
                    if (pixel[i] != expected[i]) {
                        ++wrong;
                        ADD_FAILURE()
                            << "round " << round << " edge " << edge << " lines " << lineCount
                            << ": pixel " << x << "," << y << " byte " << i << " is "
                            << int(pixel[i]) << ", expected " << int(expected[i]);
                        break;
                    }
                }
            }
        }
        if (wrong != 0) {
            return;
        }
    }
}
