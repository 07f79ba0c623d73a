// Runs the midnight schedule in the zone that Wine took from TZ, for clock readings given on
// standard input, one per line: "utcTicks year month day hour minute second milliseconds"
// (the UTC instant and the local time at that instant, both from the host's zone database).
// Prints the zone's key name, then per line "utcTicks delayMs wineLocalTicks", where the last
// is Wine's own local reading of the instant (so the caller can tell whether Wine's zone rules
// agree with the host's).
#include <windows.h>

#include <cstdio>

#include "common/app_state.h"
#include "common/platform.h"
#include "schedule/midnight_timer.h"

namespace {

SYSTEMTIME localNow;
unsigned long long utcNow;
UINT scheduledDelay;

void WINAPI GivenLocalTime(LPSYSTEMTIME time) {
    *time = localNow;
}

void WINAPI GivenUtcNow(LPFILETIME time) {
    time->dwLowDateTime = static_cast<DWORD>(utcNow);
    time->dwHighDateTime = static_cast<DWORD>(utcNow >> 32);
}

UINT_PTR WINAPI RecordSetTimer(HWND, UINT_PTR id, UINT milliseconds, TIMERPROC) {
    scheduledDelay = milliseconds;
    return id;
}

BOOL WINAPI IgnoreKillTimer(HWND, UINT_PTR) {
    return TRUE;
}

unsigned long long TicksOf(const SYSTEMTIME& time) {
    FILETIME file;
    if (!SystemTimeToFileTime(&time, &file)) {
        return 0;
    }
    return (static_cast<unsigned long long>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
}

} // namespace

int main() {
    DYNAMIC_TIME_ZONE_INFORMATION zone = {};
    GetDynamicTimeZoneInformation(&zone);
    char keyName[256] = {};
    WideCharToMultiByte(CP_UTF8, 0, zone.TimeZoneKeyName, -1, keyName, sizeof(keyName), nullptr,
                        nullptr);
    printf("zone %s\n", keyName[0] != '\0' ? keyName : "-");

    platform.getLocalTime = GivenLocalTime;
    platform.getSystemTimeAsFileTime = GivenUtcNow;
    platform.setTimer = RecordSetTimer;
    platform.killTimer = IgnoreKillTimer;

    int fields[7];
    while (scanf("%llu %d %d %d %d %d %d %d", &utcNow, &fields[0], &fields[1], &fields[2],
                 &fields[3], &fields[4], &fields[5], &fields[6]) == 8) {
        localNow = SYSTEMTIME{};
        localNow.wYear = static_cast<WORD>(fields[0]);
        localNow.wMonth = static_cast<WORD>(fields[1]);
        localNow.wDay = static_cast<WORD>(fields[2]);
        localNow.wHour = static_cast<WORD>(fields[3]);
        localNow.wMinute = static_cast<WORD>(fields[4]);
        localNow.wSecond = static_cast<WORD>(fields[5]);
        localNow.wMilliseconds = static_cast<WORD>(fields[6]);
        scheduledDelay = 0xFFFFFFFFu;
        ScheduleMidnightTimer();

        FILETIME utcFile = {static_cast<DWORD>(utcNow), static_cast<DWORD>(utcNow >> 32)};
        SYSTEMTIME utc;
        SYSTEMTIME wineLocal;
        unsigned long long wineLocalTicks = 0;
        if (FileTimeToSystemTime(&utcFile, &utc) &&
            SystemTimeToTzSpecificLocalTime(nullptr, &utc, &wineLocal)) {
            wineLocalTicks = TicksOf(wineLocal);
        }
        printf("%llu %u %llu\n", utcNow, scheduledDelay, wineLocalTicks);
    }
    return 0;
}
