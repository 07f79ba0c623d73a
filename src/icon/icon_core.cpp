#include "icon/icon_core.h"

#include <cmath>
#include <cstddef>

namespace {

constexpr int BytesPerPixel = 4;
constexpr int CoverageByte = 2; // red

// Outline rows above and below one line; with two lines, also the empty rows between them.
constexpr int32_t OutlineRowsPerLine = 2;
constexpr int32_t RowsBetweenLines = 3;

size_t PixelOffset(int x, int y, int rowWidth) {
    return BytesPerPixel *
           (static_cast<size_t>(y) * static_cast<size_t>(rowWidth) + static_cast<size_t>(x));
}

// Coverage at (x, y) inside the ink box of `raster`.
uint8_t InkCoverage(const LineRaster& raster, int x, int y) {
    return raster
        .pixels[PixelOffset(raster.inkLeft + x, raster.inkTop + y, raster.width) + CoverageByte];
}

void PutColour(uint8_t* pixel, uint32_t colour) {
    pixel[0] = static_cast<uint8_t>(colour >> 16);
    pixel[1] = static_cast<uint8_t>(colour >> 8);
    pixel[2] = static_cast<uint8_t>(colour);
}

int32_t InkWidth(const LineRaster& raster) {
    return raster.inkRight - raster.inkLeft + 1;
}

int32_t InkHeight(const LineRaster& raster) {
    return raster.inkBottom - raster.inkTop + 1;
}

// One line's block with its top-left outline pixel at (column, row) of the canvas.
void ComposeLine(const LineRaster& raster, int edge, int column, int row, IconColours colours,
                 uint8_t* canvas) {
    const int inkWidth = InkWidth(raster);
    const int inkHeight = InkHeight(raster);
    // The outline is every ink pixel's 3 × 3 square; it goes down first so that the text pass
    // replaces it where they meet, alpha included.
    for (int y = 0; y < inkHeight; ++y) {
        for (int x = 0; x < inkWidth; ++x) {
            const uint8_t coverage = InkCoverage(raster, x, y);
            if (coverage == 0) {
                continue;
            }
            for (int dy = 0; dy <= 2; ++dy) {
                for (int dx = 0; dx <= 2; ++dx) {
                    uint8_t* pixel = canvas + PixelOffset(column + x + dx, row + y + dy, edge);
                    PutColour(pixel, colours.border);
                    if (pixel[3] < coverage) {
                        pixel[3] = coverage;
                    }
                }
            }
        }
    }
    for (int y = 0; y < inkHeight; ++y) {
        for (int x = 0; x < inkWidth; ++x) {
            const uint8_t coverage = InkCoverage(raster, x, y);
            if (coverage == 0) {
                continue;
            }
            uint8_t* pixel = canvas + PixelOffset(column + x + 1, row + y + 1, edge);
            PutColour(pixel, colours.text);
            pixel[3] = coverage;
        }
    }
}

// One sRGB channel (0 to 255) made linear, as WCAG's relative luminance takes it.
double LinearChannel(uint32_t channel) {
    const double value = static_cast<double>(channel & 0xFF) / 255.0;
    return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

uint8_t Blend(uint8_t over, uint8_t under, uint8_t alpha) {
    return static_cast<uint8_t>((over * alpha + under * (255 - alpha) + 127) / 255);
}

// Every pixel of the canvas laid over `background` with its own alpha, and made opaque.
void LayOverBackground(uint8_t* canvas, int edge, uint32_t background) {
    uint8_t under[BytesPerPixel];
    PutColour(under, background);
    const size_t pixelCount = static_cast<size_t>(edge) * static_cast<size_t>(edge);
    for (uint8_t* pixel = canvas; pixel != canvas + BytesPerPixel * pixelCount;
         pixel += BytesPerPixel) {
        for (int channel = 0; channel < 3; ++channel) {
            pixel[channel] = Blend(pixel[channel], under[channel], pixel[3]);
        }
        pixel[3] = 255;
    }
}

} // namespace

IconColours PickIconColours(int32_t colourScheme) {
    if (colourScheme == 0) {
        return IconColours{0x000000, 0xFFFFFF, 0, 0};
    }
    return IconColours{0xFFFFFF, 0x000000, 0, 0};
}

double RelativeLuminance(uint32_t colour) {
    return 0.2126 * LinearChannel(colour) + 0.7152 * LinearChannel(colour >> 8) +
           0.0722 * LinearChannel(colour >> 16);
}

uint32_t ContrastingBorder(uint32_t colour) {
    // Contrast ratios (L1 + 0.05) / (L2 + 0.05): against black (L + 0.05) / 0.05, against
    // white 1.05 / (L + 0.05). Black wins where (L + 0.05)² > 0.05 × 1.05.
    const double lighter = RelativeLuminance(colour) + 0.05;
    return lighter * lighter > 0.05 * 1.05 ? 0x000000 : 0xFFFFFF;
}

IconColours ChooseIconColours(int32_t colourScheme, uint32_t textColour,
                              uint32_t backgroundColour) {
    IconColours colours = PickIconColours(colourScheme);
    if ((textColour & ColourIsSet) != 0) {
        colours.text = textColour & LargestColour;
        colours.border = ContrastingBorder(colours.text);
    }
    if ((backgroundColour & ColourIsSet) != 0) {
        colours.hasBackground = 1;
        colours.background = backgroundColour & LargestColour;
    }
    return colours;
}

bool FindInkBox(LineRaster* raster) {
    raster->inkLeft = raster->width;
    raster->inkTop = raster->height;
    raster->inkRight = -1;
    raster->inkBottom = -1;
    for (int y = 0; y < raster->height; ++y) {
        const uint8_t* row = raster->pixels + PixelOffset(0, y, raster->width);
        for (int x = 0; x < raster->width; ++x) {
            if (row[BytesPerPixel * x + CoverageByte] == 0) {
                continue;
            }
            if (x < raster->inkLeft) {
                raster->inkLeft = x;
            }
            if (x > raster->inkRight) {
                raster->inkRight = x;
            }
            if (y < raster->inkTop) {
                raster->inkTop = y;
            }
            if (y > raster->inkBottom) {
                raster->inkBottom = y;
            }
        }
    }
    return raster->inkRight >= raster->inkLeft && raster->inkBottom >= raster->inkTop;
}

InkStack StartInkStack(int lineCount) {
    InkStack stack;
    stack.widestInkWidth = 0;
    stack.totalHeight = OutlineRowsPerLine;
    if (lineCount > 1) {
        stack.totalHeight += OutlineRowsPerLine + RowsBetweenLines;
    }
    return stack;
}

void AddLineToInkStack(InkStack* stack, const LineRaster* raster) {
    if (InkWidth(*raster) > stack->widestInkWidth) {
        stack->widestInkWidth = InkWidth(*raster);
    }
    stack->totalHeight += InkHeight(*raster);
}

bool InkStackFits(InkStack stack, int edge) {
    return stack.widestInkWidth <= edge - 2 && stack.totalHeight <= edge;
}

void ComposeIconPixels(const LineRaster* rasters, int lineCount, int edge, int totalHeight,
                       uint32_t textColour, uint32_t borderColour, uint8_t* canvas) {
    const IconColours colours = {textColour, borderColour, 0, 0};
    // Whole-number halves: an odd leftover row ends up at the bottom, an odd leftover column
    // on the right.
    int row = (edge - totalHeight) / 2;
    for (int line = 0; line < lineCount; ++line) {
        const LineRaster& raster = rasters[line];
        const int column = (edge - InkWidth(raster) - 2) / 2;
        ComposeLine(raster, edge, column, row, colours, canvas);
        row += InkHeight(raster) + OutlineRowsPerLine + RowsBetweenLines;
    }
}

void ComposeIcon(const LineRaster* rasters, int lineCount, int edge, int totalHeight,
                 IconColours colours, uint8_t* canvas) {
    ComposeIconPixels(rasters, lineCount, edge, totalHeight, colours.text, colours.border, canvas);
    if (colours.hasBackground) {
        LayOverBackground(canvas, edge, colours.background);
    }
}
