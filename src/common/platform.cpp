#include "common/platform.h"

namespace {

using LocalToUtcEx = BOOL(WINAPI*)(const DYNAMIC_TIME_ZONE_INFORMATION*, const SYSTEMTIME*,
                                   LPSYSTEMTIME);

// Windows 10 has TzSpecificLocalTimeToSystemTimeEx, which applies the rules of the target's
// year; Wine 8 does not export it. Looked up at run time so the same exe runs on both, with
// TzSpecificLocalTimeToSystemTime (same leading fields, follows daylight saving) as fallback.
BOOL WINAPI ConvertLocalTimeToUtc(const DYNAMIC_TIME_ZONE_INFORMATION* zone,
                                  const SYSTEMTIME* localTime, LPSYSTEMTIME utcTime) {
    static LocalToUtcEx convertWithDynamicRules = nullptr;
    static bool lookedUp = false;
    if (!lookedUp) {
        HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
        if (kernel != nullptr) {
            convertWithDynamicRules = reinterpret_cast<LocalToUtcEx>(reinterpret_cast<void*>(
                GetProcAddress(kernel, "TzSpecificLocalTimeToSystemTimeEx")));
        }
        lookedUp = true;
    }
    if (convertWithDynamicRules != nullptr) {
        return convertWithDynamicRules(zone, localTime, utcTime);
    }
    TIME_ZONE_INFORMATION fixedRules;
    static_assert(sizeof(fixedRules) <= sizeof(*zone), "dynamic zone extends the fixed one");
    CopyMemory(&fixedRules, zone, sizeof(fixedRules));
    return TzSpecificLocalTimeToSystemTime(&fixedRules, localTime, utcTime);
}

const PlatformCalls realPlatformCalls = {
    GetLocalTime,
    GetSystemTimeAsFileTime,
    ConvertLocalTimeToUtc,
    SetTimer,
    KillTimer,
    Shell_NotifyIconW,
    GetSystemMetricsForDpi,
    GetDpiForSystem,
    TrackPopupMenu,
    ChooseFontW,
    MessageBoxW,
    GetModuleFileNameW,
    HeapAlloc,
};

} // namespace

PlatformCalls platform = realPlatformCalls;

void ResetPlatformCalls() {
    platform = realPlatformCalls;
}
