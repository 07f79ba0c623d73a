#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <vector>

#include "common/app_state.h"
#include "schedule/midnight_timer.h"
#include "support/platform_fixture.h"

namespace {

constexpr uint64_t TicksPerSecond = 10000000;
constexpr uint64_t TicksPerMs = 10000;

uint64_t Ticks(const SYSTEMTIME& time) {
    FILETIME file;
    EXPECT_TRUE(SystemTimeToFileTime(&time, &file));
    return (static_cast<uint64_t>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
}

SYSTEMTIME Clock(int year, int month, int day, int hour, int minute, int second,
                 int milliseconds = 0) {
    SYSTEMTIME time = {};
    time.wYear = static_cast<WORD>(year);
    time.wMonth = static_cast<WORD>(month);
    time.wDay = static_cast<WORD>(day);
    time.wHour = static_cast<WORD>(hour);
    time.wMinute = static_cast<WORD>(minute);
    time.wSecond = static_cast<WORD>(second);
    time.wMilliseconds = static_cast<WORD>(milliseconds);
    return time;
}

// A zone without daylight saving, `utcOffsetMinutes` east of UTC, and a clock whose two
// readings (local and UTC) are taken at the same instant unless a test moves `utcNow`.
struct FakeZone {
    SYSTEMTIME localNow;
    uint64_t utcNow;
    int64_t utcOffsetMinutes;
    BOOL conversionResult = TRUE;
    bool giveInvalidUtc = false;
    int conversions = 0;
    SYSTEMTIME convertedLocal = {};
};
FakeZone zone;

struct TimerCall {
    bool set;
    HWND window;
    UINT_PTR id;
    UINT milliseconds;
    TIMERPROC procedure;
};
std::vector<TimerCall> timerCalls;

void WINAPI FakeLocalTime(LPSYSTEMTIME time) {
    *time = zone.localNow;
}

void WINAPI FakeUtcNow(LPFILETIME time) {
    time->dwLowDateTime = static_cast<DWORD>(zone.utcNow);
    time->dwHighDateTime = static_cast<DWORD>(zone.utcNow >> 32);
}

BOOL WINAPI FakeLocalToUtc(const DYNAMIC_TIME_ZONE_INFORMATION*, const SYSTEMTIME* local,
                           LPSYSTEMTIME utc) {
    zone.conversions++;
    zone.convertedLocal = *local;
    if (!zone.conversionResult) {
        return FALSE;
    }
    if (zone.giveInvalidUtc) {
        *utc = Clock(2026, 13, 40, 0, 0, 0);
        return TRUE;
    }
    uint64_t ticks = Ticks(*local) - zone.utcOffsetMinutes * 60 * TicksPerSecond;
    FILETIME file = {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    return FileTimeToSystemTime(&file, utc);
}

UINT_PTR WINAPI RecordSetTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC procedure) {
    timerCalls.push_back({true, window, id, milliseconds, procedure});
    return id;
}

BOOL WINAPI RecordKillTimer(HWND window, UINT_PTR id) {
    timerCalls.push_back({false, window, id, 0, nullptr});
    return TRUE;
}

class MidnightTimerTest : public PlatformTest {
  protected:
    void SetUp() override {
        PlatformTest::SetUp();
        window = CreateWindowExW(0, L"STATIC", L"timer owner", WS_POPUP, 0, 0, 0, 0, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        appState = AppState{};
        appState.mainWindow = window;
        zone = FakeZone{};
        timerCalls.clear();
        platform.getLocalTime = FakeLocalTime;
        platform.getSystemTimeAsFileTime = FakeUtcNow;
        platform.localTimeToUtc = FakeLocalToUtc;
        platform.setTimer = RecordSetTimer;
        platform.killTimer = RecordKillTimer;
    }
    void TearDown() override {
        KillTimer(window, MidnightTimerId);
        DestroyWindow(window);
        appState = AppState{};
        PlatformTest::TearDown();
    }

    // Both clock readings at the same instant, local `time` in a zone `offset` minutes east.
    void SetNow(const SYSTEMTIME& time, int64_t offsetMinutes) {
        zone.localNow = time;
        zone.utcOffsetMinutes = offsetMinutes;
        zone.utcNow = Ticks(time) - offsetMinutes * 60 * TicksPerSecond;
    }

    // Runs the schedule and gives the delay that reached SetTimer (after one KillTimer).
    UINT ScheduledDelay() {
        timerCalls.clear();
        ScheduleMidnightTimer();
        EXPECT_EQ(timerCalls.size(), 2u);
        if (timerCalls.size() != 2) {
            return 0xFFFFFFFFu;
        }
        return timerCalls[1].milliseconds;
    }

    HWND window = nullptr;
};

} // namespace

TEST_F(MidnightTimerTest, KillsTimerOneThenSetsItOnTheMainWindowWithoutProcedure) {
    SetNow(Clock(2026, 3, 4, 15, 0, 0), 60);
    ScheduleMidnightTimer();
    ASSERT_EQ(timerCalls.size(), 2u);
    EXPECT_FALSE(timerCalls[0].set);
    EXPECT_EQ(timerCalls[0].window, window);
    EXPECT_EQ(timerCalls[0].id, 1u);
    EXPECT_TRUE(timerCalls[1].set);
    EXPECT_EQ(timerCalls[1].window, window);
    EXPECT_EQ(timerCalls[1].id, 1u);
    EXPECT_EQ(timerCalls[1].procedure, nullptr);
    EXPECT_EQ(timerCalls[1].milliseconds, 9u * 3600000u + 30000u);
}

TEST_F(MidnightTimerTest, ExamplesJustBeforeAndJustAfterMidnight) {
    for (int64_t offset : {0, 60, -300, 330, 765}) {
        SetNow(Clock(2026, 12, 6, 23, 59, 59), offset);
        EXPECT_EQ(ScheduledDelay(), 31000u) << offset;
        SetNow(Clock(2026, 12, 7, 0, 0, 10), offset);
        EXPECT_EQ(ScheduledDelay(), 86420000u) << offset;
    }
}

TEST_F(MidnightTimerTest, TargetIsAlwaysTheFollowingLocalDayAtHalfAMinutePastMidnight) {
    // Month, year and leap-day ends, at times across the day, milliseconds included.
    const SYSTEMTIME days[] = {Clock(2026, 1, 31, 0, 0, 0), Clock(2028, 2, 28, 0, 0, 0),
                               Clock(2028, 2, 29, 0, 0, 0), Clock(2027, 2, 28, 0, 0, 0),
                               Clock(2026, 4, 30, 0, 0, 0), Clock(2026, 12, 31, 0, 0, 0),
                               Clock(1999, 12, 31, 0, 0, 0)};
    const SYSTEMTIME nexts[] = {Clock(2026, 2, 1, 0, 0, 30), Clock(2028, 2, 29, 0, 0, 30),
                                Clock(2028, 3, 1, 0, 0, 30), Clock(2027, 3, 1, 0, 0, 30),
                                Clock(2026, 5, 1, 0, 0, 30), Clock(2027, 1, 1, 0, 0, 30),
                                Clock(2000, 1, 1, 0, 0, 30)};
    const int moments[][4] = {{0, 0, 0, 0},    {0, 0, 29, 999}, {0, 0, 30, 0},    {0, 0, 31, 1},
                              {6, 15, 0, 500}, {12, 0, 0, 0},   {23, 59, 59, 999}};
    for (size_t index = 0; index < sizeof(days) / sizeof(days[0]); ++index) {
        for (const auto& moment : moments) {
            SYSTEMTIME now = days[index];
            now.wHour = static_cast<WORD>(moment[0]);
            now.wMinute = static_cast<WORD>(moment[1]);
            now.wSecond = static_cast<WORD>(moment[2]);
            now.wMilliseconds = static_cast<WORD>(moment[3]);
            now.wDayOfWeek = 3; // whatever the clock says; the schedule does not rely on it
            SetNow(now, 120);
            const uint64_t expected = (Ticks(nexts[index]) - Ticks(now)) / TicksPerMs;
            EXPECT_EQ(ScheduledDelay(), expected)
                << now.wYear << "-" << now.wMonth << "-" << now.wDay << " " << moment[0] << ":"
                << moment[1] << ":" << moment[2] << "." << moment[3];
            EXPECT_EQ(Ticks(zone.convertedLocal), Ticks(nexts[index]));
        }
    }
}

TEST_F(MidnightTimerTest, EveryFailedStepAndATargetNotAfterNowGiveOneHour) {
    SetNow(Clock(2026, 6, 10, 20, 0, 0), 60);
    ASSERT_EQ(ScheduledDelay(), 4u * 3600000u + 30000u);

    // The local date cannot become ticks.
    zone.localNow = Clock(2026, 13, 1, 20, 0, 0);
    zone.conversions = 0;
    EXPECT_EQ(ScheduledDelay(), 3600000u);
    EXPECT_EQ(zone.conversions, 0);

    // The zone conversion fails.
    SetNow(Clock(2026, 6, 10, 20, 0, 0), 60);
    zone.conversionResult = FALSE;
    EXPECT_EQ(ScheduledDelay(), 3600000u);
    EXPECT_EQ(zone.conversions, 1);
    zone.conversionResult = TRUE;

    // The zone conversion gives a UTC time that cannot become ticks.
    zone.giveInvalidUtc = true;
    EXPECT_EQ(ScheduledDelay(), 3600000u);
    zone.giveInvalidUtc = false;

    // The target equals now, or lies before it (the clock moved between the two readings).
    const uint64_t target = Ticks(Clock(2026, 6, 11, 0, 0, 30)) - 60 * 60 * TicksPerSecond;
    zone.utcNow = target;
    EXPECT_EQ(ScheduledDelay(), 3600000u);
    zone.utcNow = target + 3 * 86400 * TicksPerSecond;
    EXPECT_EQ(ScheduledDelay(), 3600000u);
}

TEST_F(MidnightTimerTest, FarTargetsAreClampedAndANearOneGivesZero) {
    SetNow(Clock(2026, 6, 10, 20, 0, 0), 0);
    const uint64_t target = Ticks(Clock(2026, 6, 11, 0, 0, 30));
    const uint64_t twoToThe31Ms = 2147483648ull * TicksPerMs;
    zone.utcNow = target - twoToThe31Ms;
    EXPECT_EQ(ScheduledDelay(), 2147483647u);
    zone.utcNow = target - twoToThe31Ms - 5 * TicksPerSecond;
    EXPECT_EQ(ScheduledDelay(), 2147483647u);
    zone.utcNow = target - (twoToThe31Ms - TicksPerMs);
    EXPECT_EQ(ScheduledDelay(), 2147483647u);
    zone.utcNow = target - (twoToThe31Ms - 2 * TicksPerMs);
    EXPECT_EQ(ScheduledDelay(), 2147483646u);
    zone.utcNow = target - 9999;
    EXPECT_EQ(ScheduledDelay(), 0u);
    zone.utcNow = target - 1;
    EXPECT_EQ(ScheduledDelay(), 0u);
}

TEST_F(MidnightTimerTest, RealTimerPostsTimerOneToTheMainWindow) {
    platform.setTimer = SetTimer;
    platform.killTimer = KillTimer;
    SetNow(Clock(2026, 6, 10, 20, 0, 0), 0);
    zone.utcNow = Ticks(Clock(2026, 6, 11, 0, 0, 30)) - 1; // a delay of 0
    ScheduleMidnightTimer();

    bool fired = false;
    const ULONGLONG deadline = GetTickCount64() + 5000;
    while (!fired && GetTickCount64() < deadline) {
        MSG message;
        while (PeekMessageW(&message, window, 0, 0, PM_REMOVE)) {
            if (message.message == WM_TIMER && message.wParam == MidnightTimerId) {
                fired = true;
            }
        }
        Sleep(5);
    }
    EXPECT_TRUE(fired);
}
