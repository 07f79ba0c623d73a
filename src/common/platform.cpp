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

HMODULE WINAPI LoadSystemLibrary(LPCWSTR name) {
    return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// Importing comdlg32 would load it, and the DLLs it pulls in, at every start and keep them
// for the life of the process (megabytes under Wine), for dialogs most users never open.
template <typename Choice> BOOL ChooseOnDemand(const char* entryName, Choice* choice) {
    using Entry = BOOL(WINAPI*)(Choice*);
    HMODULE dialogs = platform.loadSystemLibrary(L"comdlg32.dll");
    if (dialogs == nullptr) {
        return FALSE;
    }
    Entry entry =
        reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(dialogs, entryName)));
    BOOL chosen = entry != nullptr ? entry(choice) : FALSE;
    FreeLibrary(dialogs);
    return chosen;
}

BOOL WINAPI ChooseFontOnDemand(LPCHOOSEFONTW choice) {
    return ChooseOnDemand("ChooseFontW", choice);
}

BOOL WINAPI ChooseColourOnDemand(LPCHOOSECOLORW choice) {
    return ChooseOnDemand("ChooseColorW", choice);
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
    ChooseFontOnDemand,
    ChooseColourOnDemand,
    MessageBoxW,
    LoadSystemLibrary,
    GetModuleFileNameW,
    HeapAlloc,
    HeapFree,
    RegisterApplicationRestart,
};

} // namespace

PlatformCalls platform = realPlatformCalls;

void ResetPlatformCalls() {
    platform = realPlatformCalls;
}
