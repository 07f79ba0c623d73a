// The arithmetic of the midnight timer, on tick counts of 100 ns since 1601 (FILETIME read as
// one unsigned 64-bit number). Platform-free.
#pragma once

#include <cstdint>

constexpr uint64_t TicksPerMillisecond = 10000;
constexpr uint64_t TicksPerDay = 864000000000ull;
// Used when the next midnight cannot be worked out, or lies in the past: try again in an hour.
constexpr uint32_t FallbackDelayMilliseconds = 3600000;
// SetTimer takes a 32-bit delay; 2^31 ms and above are clamped to the largest signed value.
constexpr uint64_t ClampThresholdTicks = 21474836480000ull;
constexpr uint32_t ClampedDelayMilliseconds = 0x7FFFFFFF;

// The timer delay from `nowTicks` to `targetTicks` (both UTC): the fallback when the target is
// not after now, the clamp for 2^31 ms or more, otherwise the whole milliseconds in between.
uint32_t MidnightDelayMilliseconds(uint64_t targetTicks, uint64_t nowTicks);
