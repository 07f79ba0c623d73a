// Thousands of renders in a row: each succeeds, and the process's GDI objects and heap stay
// where they were (see resource_census.h for how they are counted under Wine).
#include <gtest/gtest.h>

#include <cwchar>

#include "common/app_state.h"
#include "icon/icon_test_support.h"
#include "support/resource_census.h"
#include "icon/week_icon.h"
#include "support/platform_fixture.h"

namespace {

constexpr int Renders = 2000;

class RenderWeekIconLeakTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        saved = appState.settings;
        wcscpy(appState.settings.fontFace, L"Lekton");
    }
    void TearDown() override {
        appState.settings = saved;
        PlatformTest::TearDown();
    }

    Settings saved;
};

// One render of a rotating kind: one or two lines, either scheme.
bool RenderAndDestroy(int round) {
    const wchar_t* oneLine[] = {L"7"};
    const wchar_t* twoLines[] = {L"w", L"53"};
    appState.settings.colourScheme = round % 3 == 0 ? 1 : 0;
    HICON icon = round % 2 == 0 ? RenderWeekIcon(oneLine, 1) : RenderWeekIcon(twoLines, 2);
    if (icon == nullptr) {
        return false;
    }
    DestroyIcon(icon);
    return true;
}

} // namespace

TEST_F(RenderWeekIconLeakTest, ThousandsOfRendersKeepGdiObjectsAndHeapFlat) {
    AnswerSmallIconMetric(16);
    // Fonts and glyphs that the platform caches on first use are in place before counting.
    for (int round = 0; round < 50; ++round) {
        ASSERT_TRUE(RenderAndDestroy(round));
    }
    const ResourceCensus before = TakeResourceCensus();
    ASSERT_GT(before.gdiObjects, 0) << "the census must see the stock objects at least";
    for (int round = 0; round < Renders; ++round) {
        ASSERT_TRUE(RenderAndDestroy(round)) << "render " << round;
    }
    const ResourceCensus after = TakeResourceCensus();
    printf("GDI objects %d -> %d, heap blocks %zu -> %zu, heap bytes %zu -> %zu\n",
           before.gdiObjects, after.gdiObjects, before.heapBlocks, after.heapBlocks,
           before.heapBytes, after.heapBytes);
    EXPECT_EQ(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.heapBlocks, before.heapBlocks);
    EXPECT_EQ(after.heapBytes, before.heapBytes);
}

TEST(ResourceCensus, SeesOneMoreGdiObjectAndOneMoreHeapBlock) {
    const ResourceCensus before = TakeResourceCensus();
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    void* block = HeapAlloc(GetProcessHeap(), 0, 1000);
    const ResourceCensus during = TakeResourceCensus();
    HeapFree(GetProcessHeap(), 0, block);
    DeleteObject(brush);
    const ResourceCensus after = TakeResourceCensus();
    EXPECT_EQ(during.gdiObjects, before.gdiObjects + 1);
    EXPECT_EQ(during.heapBlocks, before.heapBlocks + 1);
    EXPECT_GE(during.heapBytes, before.heapBytes + 1000);
    EXPECT_EQ(after.gdiObjects, before.gdiObjects);
    EXPECT_EQ(after.heapBlocks, before.heapBlocks);
}
