#include "schedule/midnight_timer.h"

#include <windows.h>

#include "common/app_state.h"
#include "common/platform.h"
#include "schedule/midnight_delay.h"

namespace {

uint64_t TicksOf(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

FILETIME FileTimeOf(uint64_t ticks) {
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFu);
    time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return time;
}

// The delay until 00:00:30 local of the day after today, converted with the rules of the
// current zone that hold at that instant; the fallback when any step of the way fails.
uint32_t DelayUntilNextMidnight() {
    SYSTEMTIME target;
    platform.getLocalTime(&target);
    target.wHour = 0;
    target.wMinute = 0;
    target.wSecond = 30;
    target.wMilliseconds = 0;

    FILETIME localTicks;
    if (!SystemTimeToFileTime(&target, &localTicks)) {
        return FallbackDelayMilliseconds;
    }
    // Adding a day to the wall-clock count is exact: a local count knows no zone changes.
    localTicks = FileTimeOf(TicksOf(localTicks) + TicksPerDay);
    SYSTEMTIME tomorrowLocal;
    if (!FileTimeToSystemTime(&localTicks, &tomorrowLocal)) {
        return FallbackDelayMilliseconds;
    }

    DYNAMIC_TIME_ZONE_INFORMATION zone;
    ZeroMemory(&zone, sizeof(zone));
    GetDynamicTimeZoneInformation(&zone);
    SYSTEMTIME tomorrowUtc;
    if (!platform.localTimeToUtc(&zone, &tomorrowLocal, &tomorrowUtc)) {
        return FallbackDelayMilliseconds;
    }
    FILETIME targetTicks;
    if (!SystemTimeToFileTime(&tomorrowUtc, &targetTicks)) {
        return FallbackDelayMilliseconds;
    }
    FILETIME now;
    platform.getSystemTimeAsFileTime(&now);
    return MidnightDelayMilliseconds(TicksOf(targetTicks), TicksOf(now));
}

} // namespace

void ScheduleMidnightTimer() {
    platform.killTimer(appState.mainWindow, MidnightTimerId);
    const uint32_t delay = DelayUntilNextMidnight();
    platform.setTimer(appState.mainWindow, MidnightTimerId, delay, nullptr);
}
