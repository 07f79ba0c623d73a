#include "calendar/flyout_palette.h"

namespace {

constexpr uint32_t Colour(uint32_t red, uint32_t green, uint32_t blue) {
    return red | (green << 8) | (blue << 16);
}

} // namespace

const uint32_t LightPalette[PaletteRoles] = {
    Colour(249, 249, 249), Colour(26, 26, 26), Colour(100, 100, 100), Colour(0, 95, 184),
    Colour(224, 236, 248), Colour(0, 95, 184), Colour(255, 255, 255)};
const uint32_t DarkPalette[PaletteRoles] = {
    Colour(32, 32, 32), Colour(255, 255, 255), Colour(170, 170, 170), Colour(96, 205, 255),
    Colour(44, 58, 72), Colour(96, 205, 255),  Colour(0, 0, 0)};
