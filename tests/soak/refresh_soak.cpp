// kivet-soak [REFRESHES]: the whole refresh road, RefreshTrayIcon, many times in one process:
// the clock, the label and lines, the renderer and the notification icon, on a real hidden
// window through the real Shell_NotifyIconW (the seam only counts the calls on their way
// through). The settings turn with every refresh so that both line positions, the single line,
// the leading zero and both colour schemes all pass through the renderer.
//
// It prints, at ten checkpoints and at the end, the live GDI objects and process-heap blocks
// (see support/resource_census.h) against the level taken after a warm-up, and fails (exit
// code 1) when any of them ends above that level, when a refresh did not publish exactly one
// icon that the notification area accepted, or when an icon it replaced is still alive.
// Default: 100,000 refreshes.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "common/app_state.h"
#include "common/platform.h"
#include "common/strings.h"
#include "icon/tray_icon.h"
#include "support/resource_census.h"

namespace {

constexpr int DefaultRefreshes = 100000;
constexpr int WarmUpRefreshes = 60;
constexpr int Checkpoints = 10;

BOOL(WINAPI* realShellNotifyIcon)(DWORD, PNOTIFYICONDATAW) = nullptr;
long long publishedIcons = 0; // icons sent with NIM_ADD or NIM_MODIFY
long long acceptedIcons = 0;  // of which the notification area said yes to
HICON lastPublishedIcon = nullptr;
long long shellTicks = 0; // performance-counter ticks spent in Shell_NotifyIconW

long long Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double Milliseconds(long long ticks) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(ticks) / static_cast<double>(frequency.QuadPart);
}

BOOL WINAPI CountingShellNotifyIcon(DWORD message, PNOTIFYICONDATAW data) {
    const long long started = Now();
    const BOOL result = realShellNotifyIcon(message, data);
    shellTicks += Now() - started;
    if ((message == NIM_ADD && result) || message == NIM_MODIFY) {
        ++publishedIcons;
        acceptedIcons += result ? 1 : 0;
        lastPublishedIcon = data->hIcon;
    }
    return result;
}

void TurnSettings(long long round) {
    static const int positions[] = {LinePosition::Above, LinePosition::Below, LinePosition::Hidden};
    appState.settings.linePosition = positions[round % 3];
    appState.settings.leadingZero = static_cast<int32_t>((round / 3) % 2);
    appState.settings.colourScheme = static_cast<int32_t>((round / 6) % 2);
    appState.settings.followTaskbarTheme = static_cast<int32_t>((round / 12) % 2);
}

// Lets the window's queue drain, as the message loop would between refreshes.
void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
}

struct Failures {
    long long unpublished;
    long long survivors;
};

// One refresh: exactly one icon must go out, it must be the one kept, and the one it
// replaced must be gone.
void RefreshOnce(long long round, Failures* failures) {
    TurnSettings(round);
    const HICON previous = appState.currentIcon;
    const long long publishedBefore = publishedIcons;
    RefreshTrayIcon();
    if (publishedIcons != publishedBefore + 1 || appState.currentIcon != lastPublishedIcon) {
        ++failures->unpublished;
    }
    if (previous != nullptr && previous != appState.currentIcon && IconAlive(previous)) {
        ++failures->survivors;
    }
}

void PrintCensus(const char* label, long long refreshes, const ResourceCensus& census,
                 const ResourceCensus& baseline) {
    printf("%-10s %9lld refreshes  GDI objects %5d (%+d)  heap blocks %6zu (%+lld)  heap bytes "
           "%9zu (%+lld)\n",
           label, refreshes, census.gdiObjects, census.gdiObjects - baseline.gdiObjects,
           census.heapBlocks,
           static_cast<long long>(census.heapBlocks) - static_cast<long long>(baseline.heapBlocks),
           census.heapBytes,
           static_cast<long long>(census.heapBytes) - static_cast<long long>(baseline.heapBytes));
}

HWND CreateHiddenWindow() {
    WNDCLASSEXW windowClass;
    ZeroMemory(&windowClass, sizeof(windowClass));
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"PellowDune.Kivet.SoakWindow";
    if (RegisterClassExW(&windowClass) == 0) {
        return nullptr;
    }
    return CreateWindowExW(WS_EX_TOOLWINDOW, windowClass.lpszClassName, L"Kivet soak", WS_POPUP, 0,
                           0, 0, 0, nullptr, nullptr, windowClass.hInstance, nullptr);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const long long refreshes = argc > 1 ? wcstoll(argv[1], nullptr, 10) : DefaultRefreshes;
    if (refreshes < Checkpoints) {
        fprintf(stderr, "usage: kivet-soak [REFRESHES], at least %d\n", Checkpoints);
        return 2;
    }

    ZeroMemory(&appState, sizeof(appState));
    appState.instance = GetModuleHandleW(nullptr);
    appState.settings.additionalLine = HeapStringDuplicate(L"w");
    wcscpy(appState.settings.fontFace, L"Lekton");
    appState.mainWindow = CreateHiddenWindow();
    if (appState.settings.additionalLine == nullptr || appState.mainWindow == nullptr) {
        fprintf(stderr, "kivet-soak: no window or no memory\n");
        return 1;
    }
    realShellNotifyIcon = platform.shellNotifyIcon;
    platform.shellNotifyIcon = CountingShellNotifyIcon;

    // The first print sets up the output buffer: before the baseline, not after it.
    printf("kivet-soak: %lld refreshes after %d to warm up\n", refreshes, WarmUpRefreshes);
    fflush(stdout);
    Failures failures = {0, 0};
    // Fonts, glyph caches and the notification area's first answer settle before counting.
    for (long long round = 0; round < WarmUpRefreshes; ++round) {
        RefreshOnce(round, &failures);
        PumpMessages();
    }
    if (!appState.iconAdded) {
        fprintf(stderr, "kivet-soak: the notification area did not take the icon\n");
        return 1;
    }
    failures = {0, 0};
    publishedIcons = 0;
    acceptedIcons = 0;
    shellTicks = 0;
    const ResourceCensus baseline = TakeResourceCensus();
    PrintCensus("baseline", 0, baseline, baseline);

    ResourceCensus highest = baseline;
    const long long started = Now();
    for (long long round = 1; round <= refreshes; ++round) {
        RefreshOnce(round, &failures);
        PumpMessages();
        if (round % (refreshes / Checkpoints) == 0 || round == refreshes) {
            const ResourceCensus census = TakeResourceCensus();
            PrintCensus("checkpoint", round, census, baseline);
            highest.gdiObjects =
                census.gdiObjects > highest.gdiObjects ? census.gdiObjects : highest.gdiObjects;
            highest.heapBlocks =
                census.heapBlocks > highest.heapBlocks ? census.heapBlocks : highest.heapBlocks;
            highest.heapBytes =
                census.heapBytes > highest.heapBytes ? census.heapBytes : highest.heapBytes;
        }
    }
    const long long elapsed = Now() - started;
    const ResourceCensus last = TakeResourceCensus();

    printf("refreshes %lld, published %lld (accepted %lld), unpublished %lld, replaced icons "
           "still alive %lld\n",
           refreshes, publishedIcons, acceptedIcons, failures.unpublished, failures.survivors);
    printf("time %.1f s: %.3f ms per refresh, of which %.3f ms in Shell_NotifyIconW\n",
           Milliseconds(elapsed) / 1000.0, Milliseconds(elapsed) / static_cast<double>(refreshes),
           Milliseconds(shellTicks) / static_cast<double>(refreshes));
    PrintCensus("highest", refreshes, highest, baseline);
    PrintCensus("end", refreshes, last, baseline);

    RemoveTrayIcon();
    DestroyIcon(appState.currentIcon);
    appState.currentIcon = nullptr;
    FreeHeapBlock(appState.settings.additionalLine);
    appState.settings.additionalLine = nullptr;
    DestroyWindow(appState.mainWindow);
    platform.shellNotifyIcon = realShellNotifyIcon;

    const bool flat = last.gdiObjects <= baseline.gdiObjects &&
                      last.heapBlocks <= baseline.heapBlocks &&
                      last.heapBytes <= baseline.heapBytes;
    const bool sound = flat && publishedIcons == refreshes && acceptedIcons == refreshes &&
                       failures.unpublished == 0 && failures.survivors == 0;
    printf("%s\n", sound ? "flat: every refresh published, nothing left behind"
                         : "NOT FLAT or not every refresh published");
    return sound ? 0 : 1;
}
