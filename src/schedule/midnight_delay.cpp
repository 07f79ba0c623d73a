#include "schedule/midnight_delay.h"

uint32_t MidnightDelayMilliseconds(uint64_t targetTicks, uint64_t nowTicks) {
    if (targetTicks <= nowTicks) {
        return FallbackDelayMilliseconds;
    }
    const uint64_t difference = targetTicks - nowTicks;
    if (difference >= ClampThresholdTicks) {
        return ClampedDelayMilliseconds;
    }
    return static_cast<uint32_t>(difference / TicksPerMillisecond);
}
