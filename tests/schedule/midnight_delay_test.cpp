#include <gtest/gtest.h>

#include <cstdint>

#include "schedule/midnight_delay.h"

namespace {

constexpr uint64_t Now = 133000000000000000ull; // some instant in 2022
constexpr uint64_t Millisecond = 10000;

} // namespace

TEST(MidnightDelay, TargetNotAfterNowFallsBackToOneHour) {
    EXPECT_EQ(MidnightDelayMilliseconds(Now, Now), 3600000u);
    EXPECT_EQ(MidnightDelayMilliseconds(Now - 1, Now), 3600000u);
    EXPECT_EQ(MidnightDelayMilliseconds(0, UINT64_MAX), 3600000u);
    // The comparison is unsigned: a target past 2^63 is later, not earlier.
    EXPECT_EQ(MidnightDelayMilliseconds(0x8000000000000000ull, Now), 0x7FFFFFFFu);
}

TEST(MidnightDelay, TruncatesToWholeMilliseconds) {
    EXPECT_EQ(MidnightDelayMilliseconds(Now + 1, Now), 0u);
    EXPECT_EQ(MidnightDelayMilliseconds(Now + Millisecond - 1, Now), 0u);
    EXPECT_EQ(MidnightDelayMilliseconds(Now + Millisecond, Now), 1u);
    EXPECT_EQ(MidnightDelayMilliseconds(Now + 2 * Millisecond - 1, Now), 1u);
    EXPECT_EQ(MidnightDelayMilliseconds(Now + 31000 * Millisecond, Now), 31000u);
    EXPECT_EQ(MidnightDelayMilliseconds(Now + 86420000 * Millisecond + 9999, Now), 86420000u);
}

TEST(MidnightDelay, ClampsAtTwoToTheThirtyFirstMilliseconds) {
    const uint64_t limit = 2147483648ull * Millisecond;
    ASSERT_EQ(limit, ClampThresholdTicks);
    EXPECT_EQ(MidnightDelayMilliseconds(Now + limit, Now), 2147483647u);
    EXPECT_EQ(MidnightDelayMilliseconds(Now + limit + 1, Now), 2147483647u);
    EXPECT_EQ(MidnightDelayMilliseconds(UINT64_MAX, 0), 2147483647u);
    // Just below the threshold the plain division gives the same largest value, and below
    // that the delay counts down normally.
    EXPECT_EQ(MidnightDelayMilliseconds(Now + limit - 1, Now), 2147483647u);
    EXPECT_EQ(MidnightDelayMilliseconds(Now + limit - Millisecond, Now), 2147483647u);
    EXPECT_EQ(MidnightDelayMilliseconds(Now + limit - Millisecond - 1, Now), 2147483646u);
}

TEST(MidnightDelay, OneDayIsItsOwnDelay) {
    EXPECT_EQ(MidnightDelayMilliseconds(Now + TicksPerDay, Now), 86400000u);
    EXPECT_EQ(MidnightDelayMilliseconds(Now + 25 * TicksPerDay, Now), 2147483647u);
    EXPECT_EQ(MidnightDelayMilliseconds(Now + 24 * TicksPerDay, Now), 24u * 86400000u);
}
