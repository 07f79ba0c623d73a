#include "icon/week_icon.h"

#include "common/app_state.h"
#include "common/platform.h"
#include "icon/glyph_layout.h"
#include "icon/week_icon_steps.h"

namespace {

constexpr int SmallestIconEdge = 16;
constexpr int SmallestFontHeight = 4;

} // namespace

int GetIconEdgeSize() {
    // The system DPI, not any one monitor's; the icon is square, so only the width is asked.
    const int edge = platform.getSystemMetricsForDpi(SM_CXSMICON, platform.getDpiForSystem());
    return edge < SmallestIconEdge ? SmallestIconEdge : edge;
}

HICON RenderWeekIcon(const wchar_t* const* lines, int lineCount) {
    return RenderWeekIconInScheme(lines, lineCount, appState.settings.colourScheme);
}

HICON RenderWeekIconInScheme(const wchar_t* const* lines, int lineCount, int32_t colourScheme) {
    const Settings& settings = appState.settings;
    return RenderWeekIconInColours(
        lines, lineCount,
        ChooseIconColours(colourScheme, settings.textColour, settings.backgroundColour));
}

HICON RenderWeekIconInColours(const wchar_t* const* lines, int lineCount, IconColours colours) {
    if (lines == nullptr || lineCount < 1 || lineCount > MaxIconLines) {
        return nullptr;
    }
    const int edge = GetIconEdgeSize();
    // A plain walk down from twice the edge: the first height that gives an icon is the
    // largest that fits. Any failure, not only a misfit, moves on to the next height.
    HICON icon = nullptr;
    OpenGlyphLayouts();
    for (int fontHeight = 2 * edge; fontHeight >= SmallestFontHeight && icon == nullptr;
         --fontHeight) {
        icon = RenderAtFontHeight(lines, lineCount, edge, fontHeight, colours);
    }
    CloseGlyphLayouts();
    return icon;
}
