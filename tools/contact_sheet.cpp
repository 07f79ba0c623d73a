#include "contact_sheet.h"

#include <cstring>
#include <cwchar>
#include <vector>

namespace {

constexpr int Enlargement = 8;
constexpr int Edges[] = {16, 20, 24, 32};
constexpr int32_t Positions[] = {1, 2, 0}; // above, below, hidden
const wchar_t* const PositionNames[] = {L"above", L"below", L"hidden"};
const wchar_t* const SchemeNames[] = {L"black text / white border", L"white text / black border"};

// Taskbar colours as 0x00RRGGBB: a light one and a dark one.
constexpr uint32_t Backgrounds[] = {0xEEEEEE, 0x202020};
const wchar_t* const BackgroundNames[] = {L"light", L"dark"};

// The last row's colours when the command line gives none: amber on a deep blue.
constexpr uint32_t CustomRowText = ColourIsSet | 0x00C0FF;
constexpr uint32_t CustomRowBackground = ColourIsSet | 0x7A3A10;
constexpr int CustomRowEdge = 16;

// One row of the sheet: an edge in a scheme, or with colours of its own.
struct SheetRow {
    int edge;
    int32_t scheme;
    uint32_t textColour;
    uint32_t backgroundColour;
};

std::vector<SheetRow> SheetRows(const PreviewIconSettings& base) {
    std::vector<SheetRow> rows;
    for (int edge : Edges) {
        for (int32_t scheme = 0; scheme <= 1; ++scheme) {
            rows.push_back(SheetRow{edge, scheme, NoColour, NoColour});
        }
    }
    rows.push_back(
        SheetRow{CustomRowEdge, 0, base.textColour != NoColour ? base.textColour : CustomRowText,
                 base.backgroundColour != NoColour ? base.backgroundColour : CustomRowBackground});
    return rows;
}

// "#RRGGBB" of a colour in the settings' form.
std::wstring HexColour(uint32_t colour) {
    wchar_t text[8];
    swprintf(text, 8, L"#%02X%02X%02X", colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
    return text;
}

std::wstring RowLabel(const SheetRow& row) {
    std::wstring label = std::to_wstring(row.edge) + L" px, ";
    if (row.textColour == NoColour) {
        return label + SchemeNames[row.scheme];
    }
    return label + HexColour(row.textColour) + L" on " + HexColour(row.backgroundColour);
}

constexpr int Padding = 8;
constexpr int Gap = 4;
constexpr int LabelWidth = 250;
constexpr int HeaderHeight = 30;
constexpr int CellWidth = 32 * Enlargement + 2 * Padding;

int RowHeight(int edge) {
    return edge * Enlargement + 2 * Padding;
}

int ColumnLeft(int column) {
    return LabelWidth + column * (CellWidth + Gap);
}

void FillBox(uint8_t* pixels, int sheetWidth, int left, int top, int width, int height,
             uint32_t colour) {
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) {
            uint8_t* pixel = pixels + 4 * (static_cast<size_t>(y) * sheetWidth + x);
            pixel[0] = static_cast<uint8_t>(colour);
            pixel[1] = static_cast<uint8_t>(colour >> 8);
            pixel[2] = static_cast<uint8_t>(colour >> 16);
            pixel[3] = 255;
        }
    }
}

// The icon laid over the taskbar colour as the shell blends straight alpha, each icon pixel
// becoming an Enlargement × Enlargement square.
void PlaceIcon(uint8_t* pixels, int sheetWidth, int left, int top, const PreviewImage& icon,
               uint32_t background) {
    const uint8_t under[3] = {static_cast<uint8_t>(background),
                              static_cast<uint8_t>(background >> 8),
                              static_cast<uint8_t>(background >> 16)};
    for (int y = 0; y < icon.height * Enlargement; ++y) {
        for (int x = 0; x < icon.width * Enlargement; ++x) {
            const uint8_t* source =
                icon.pixels.data() +
                4 * (static_cast<size_t>(y / Enlargement) * icon.width + x / Enlargement);
            uint8_t* target = pixels + 4 * (static_cast<size_t>(top + y) * sheetWidth + left + x);
            for (int channel = 0; channel < 3; ++channel) {
                target[channel] = static_cast<uint8_t>(
                    (source[channel] * source[3] + under[channel] * (255 - source[3]) + 127) / 255);
            }
            target[3] = 255;
        }
    }
}

void DrawLabel(HDC dc, int left, int top, int height, const std::wstring& text) {
    RECT box = {left, top, left + 100000, top + height};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

} // namespace

bool BuildContactSheet(const PreviewIconSettings& base, PreviewImage* sheet, std::wstring* error) {
    const int columns = 3 * 2;
    const std::vector<SheetRow> rows = SheetRows(base);
    int height = HeaderHeight;
    for (const SheetRow& row : rows) {
        height += RowHeight(row.edge) + Gap;
    }
    const int width = ColumnLeft(columns);

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap =
        dc != nullptr ? CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    HFONT font = CreateFontW(-15, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                             ANTIALIASED_QUALITY, 0, L"Tahoma");
    bool built = false;
    if (bitmap == nullptr || bits == nullptr || font == nullptr) {
        *error = L"cannot make the sheet's bitmap";
    } else {
        uint8_t* pixels = static_cast<uint8_t*>(bits);
        HGDIOBJ formerBitmap = SelectObject(dc, bitmap);
        HGDIOBJ formerFont = SelectObject(dc, font);
        FillBox(pixels, width, 0, 0, width, height, 0xFFFFFF);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        for (int column = 0; column < columns; ++column) {
            DrawLabel(dc, ColumnLeft(column) + Padding, 0, HeaderHeight,
                      std::wstring(PositionNames[column / 2]) + L", " +
                          BackgroundNames[column % 2] + L" taskbar");
        }
        int top = HeaderHeight;
        for (const SheetRow& row : rows) {
            DrawLabel(dc, Padding, top, RowHeight(row.edge), RowLabel(row));
            top += RowHeight(row.edge) + Gap;
        }
        GdiFlush();

        built = true;
        top = HeaderHeight;
        for (const SheetRow& row : rows) {
            for (int column = 0; column < columns && built; ++column) {
                PreviewIconSettings settings = base;
                settings.edge = row.edge;
                settings.colourScheme = row.scheme;
                settings.textColour = row.textColour;
                settings.backgroundColour = row.backgroundColour;
                settings.linePosition = Positions[column / 2];
                PreviewImage icon;
                if (!RenderPreviewIcon(settings, &icon)) {
                    *error = L"no icon for edge " + std::to_wstring(row.edge);
                    built = false;
                    break;
                }
                const int left = ColumnLeft(column);
                FillBox(pixels, width, left, top, CellWidth, RowHeight(row.edge),
                        Backgrounds[column % 2]);
                PlaceIcon(pixels, width, left + (CellWidth - row.edge * Enlargement) / 2,
                          top + Padding, icon, Backgrounds[column % 2]);
            }
            top += RowHeight(row.edge) + Gap;
        }
        // GDI text leaves alpha alone; the sheet is opaque.
        for (size_t i = 3; i < static_cast<size_t>(width) * height * 4; i += 4) {
            pixels[i] = 255;
        }
        if (built) {
            sheet->width = width;
            sheet->height = height;
            sheet->pixels.assign(pixels, pixels + static_cast<size_t>(width) * height * 4);
        }
        SelectObject(dc, formerFont);
        SelectObject(dc, formerBitmap);
    }
    if (font != nullptr) {
        DeleteObject(font);
    }
    if (bitmap != nullptr) {
        DeleteObject(bitmap);
    }
    if (dc != nullptr) {
        DeleteDC(dc);
    }
    return built;
}
