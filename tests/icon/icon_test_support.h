// Windows test helpers for the renderer: the small-icon metric chosen by the test, an icon's
// pixels and mask read back from the platform, and the canvas an attempt should give, composed
// from the renderer's own steps.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "common/app_state.h"
#include "support/platform_fixture.h"

// Renders with the default face and black text, and puts the settings back afterwards.
class RendererTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        saved = appState.settings;
        appState.settings.colourScheme = 0;
        lstrcpynW(appState.settings.fontFace, L"Lekton", 32);
    }
    void TearDown() override {
        appState.settings = saved;
        PlatformTest::TearDown();
    }

    Settings saved;
};

// Makes platform.getSystemMetricsForDpi answer `metric` for every query, and remembers the
// last index and DPI asked for.
void AnswerSmallIconMetric(int metric);
int LastMetricIndexAsked();
UINT LastMetricDpiAsked();

struct IconReadBack {
    bool ok;                     // GetIconInfo and both GetDIBits calls succeeded
    int width;                   // of the colour bitmap
    int height;                  // of the colour bitmap
    int bitsPerPixel;            // of the colour bitmap
    bool maskAllZero;            // every mask bit is 0
    std::vector<uint8_t> pixels; // width × height BGRA, rows top to bottom
};

// The icon's colour bitmap and mask as the platform holds them.
IconReadBack ReadIcon(HICON icon);

struct ExpectedIcon {
    int fontHeight; // the first height, from twice the edge down, at which the lines fit; 0 if none
    std::vector<uint8_t> canvas;
};

// Rasterises and measures the lines at each height from twice the edge down to 4 and composes
// the first that fits, with the colours of `colourScheme`.
ExpectedIcon ComposeExpectedIcon(const wchar_t* const* lines, int lineCount, int edge,
                                 int32_t colourScheme);
