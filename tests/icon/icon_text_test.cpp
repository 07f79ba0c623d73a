#include <gtest/gtest.h>

#include <cwchar>

#include "icon/icon_text.h"
#include "week/iso_week.h"

namespace {

struct Label {
    wchar_t units[WeekLabelCapacity] = {};
};

} // namespace

TEST(FormatWeekLabel, LeadingZeroOnlyBelowTen) {
    Label label;
    ASSERT_TRUE(FormatWeekLabel(7, 0, label.units));
    EXPECT_STREQ(label.units, L"7");
    ASSERT_TRUE(FormatWeekLabel(7, 1, label.units));
    EXPECT_STREQ(label.units, L"07");
    ASSERT_TRUE(FormatWeekLabel(1, 5, label.units)); // any non-zero value means on
    EXPECT_STREQ(label.units, L"01");
    ASSERT_TRUE(FormatWeekLabel(42, 0, label.units));
    EXPECT_STREQ(label.units, L"42");
    ASSERT_TRUE(FormatWeekLabel(42, 1, label.units));
    EXPECT_STREQ(label.units, L"42");
    ASSERT_TRUE(FormatWeekLabel(53, 1, label.units));
    EXPECT_STREQ(label.units, L"53");
}

TEST(FormatWeekLabel, WeeksOutsideOneToFiftyThreeGiveNoLabel) {
    for (int32_t week : {0, -1, 54, 100, 2147483647}) {
        Label label;
        EXPECT_FALSE(FormatWeekLabel(week, 1, label.units)) << week;
        EXPECT_EQ(label.units[0], L'\0') << week;
    }
}

TEST(ArrangeIconLines, PositionDecidesOrderAndHiddenOrEmptyGivesOneLine) {
    const wchar_t* lines[2] = {nullptr, nullptr};

    ASSERT_EQ(ArrangeIconLines(L"7", L"w", Above, lines), 2);
    EXPECT_STREQ(lines[0], L"w");
    EXPECT_STREQ(lines[1], L"7");

    ASSERT_EQ(ArrangeIconLines(L"7", L"w", Below, lines), 2);
    EXPECT_STREQ(lines[0], L"7");
    EXPECT_STREQ(lines[1], L"w");

    for (int32_t position :
         {static_cast<int32_t>(Hidden), static_cast<int32_t>(Above), static_cast<int32_t>(Below)}) {
        const wchar_t* one[2] = {nullptr, nullptr};
        const wchar_t* additional = position == Hidden ? L"week" : L"";
        ASSERT_EQ(ArrangeIconLines(L"49", additional, position, one), 1) << position;
        EXPECT_STREQ(one[0], L"49");
        EXPECT_EQ(one[1], nullptr);
        ASSERT_EQ(ArrangeIconLines(L"49", nullptr, position, one), 1) << position;
    }
}

TEST(ArrangeIconLines, LinesAreBorrowedNotCopied) {
    const wchar_t label[] = L"12";
    const wchar_t additional[] = L"KW";
    const wchar_t* lines[2] = {nullptr, nullptr};
    ASSERT_EQ(ArrangeIconLines(label, additional, Below, lines), 2);
    EXPECT_EQ(lines[0], label);
    EXPECT_EQ(lines[1], additional);
}

TEST(FormatTooltipText, ExactTextWithEmDashes) {
    wchar_t tooltip[TooltipCapacity];
    FormatTooltipText(IsoWeekDate{2026, 1}, L"1", tooltip);
    EXPECT_STREQ(tooltip, L"Kivet 0.2.1 \u2014 ISO 2026-W01 \u2014 1");
    FormatTooltipText(IsoWeekDate{2026, 1}, L"01", tooltip);
    EXPECT_STREQ(tooltip, L"Kivet 0.2.1 \u2014 ISO 2026-W01 \u2014 01");
    FormatTooltipText(IsoWeekDate{2026, 49}, L"49", tooltip);
    EXPECT_STREQ(tooltip, L"Kivet 0.2.1 \u2014 ISO 2026-W49 \u2014 49");
    FormatTooltipText(IsoWeekDate{33, 5}, L"5", tooltip);
    EXPECT_STREQ(tooltip, L"Kivet 0.2.1 \u2014 ISO 0033-W05 \u2014 5");
}

TEST(FormatTooltipText, NamesTheIsoYearNotTheCalendarYear) {
    wchar_t tooltip[TooltipCapacity];
    const IsoWeekDate lateWeek = ComputeIsoWeek(2021, 1, 3);
    Label label;
    ASSERT_TRUE(FormatWeekLabel(lateWeek.week, 0, label.units));
    FormatTooltipText(lateWeek, label.units, tooltip);
    EXPECT_STREQ(tooltip, L"Kivet 0.2.1 \u2014 ISO 2020-W53 \u2014 53");

    const IsoWeekDate earlyWeek = ComputeIsoWeek(2024, 12, 30);
    ASSERT_TRUE(FormatWeekLabel(earlyWeek.week, 1, label.units));
    FormatTooltipText(earlyWeek, label.units, tooltip);
    EXPECT_STREQ(tooltip, L"Kivet 0.2.1 \u2014 ISO 2025-W01 \u2014 01");
}

TEST(FormatTooltipText, LongLabelIsCutAt127UnitsAndNothingPastTheField) {
    wchar_t tooltip[TooltipCapacity + 8];
    for (wchar_t& unit : tooltip) {
        unit = L'#';
    }
    wchar_t longLabel[300];
    wmemset(longLabel, L'x', 299);
    longLabel[299] = L'\0';
    FormatTooltipText(IsoWeekDate{2026, 49}, longLabel, tooltip);
    EXPECT_EQ(wcslen(tooltip), static_cast<size_t>(TooltipCapacity - 1));
    for (int i = TooltipCapacity; i < TooltipCapacity + 8; ++i) {
        EXPECT_EQ(tooltip[i], L'#');
    }
}
