#include "support/resource_census.h"

#include <windows.h>
#include <winternl.h>

#include <cstdint>

namespace {

constexpr size_t GdiTableOffsetInPeb = 0xF8;
constexpr int GdiTableEntries = 0x10000;
constexpr size_t GdiEntryBytes = 24;
constexpr size_t GdiEntryTypeByte = 14;

int CountGdiObjectsInHandleTable() {
    PROCESS_BASIC_INFORMATION basic = {};
    if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &basic,
                                  sizeof(basic), nullptr) != 0) {
        return -1;
    }
    const uint8_t* peb = reinterpret_cast<const uint8_t*>(basic.PebBaseAddress);
    const uint8_t* table = *reinterpret_cast<const uint8_t* const*>(peb + GdiTableOffsetInPeb);
    if (table == nullptr) {
        return -1;
    }
    int live = 0;
    for (int entry = 0; entry < GdiTableEntries; ++entry) {
        if (table[entry * GdiEntryBytes + GdiEntryTypeByte] != 0) {
            ++live;
        }
    }
    return live;
}

} // namespace

ResourceCensus TakeResourceCensus() {
    ResourceCensus census = {};
    census.gdiObjects = static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
    if (census.gdiObjects == 0) {
        census.gdiObjects = CountGdiObjectsInHandleTable();
    }
    HANDLE heap = GetProcessHeap();
    HeapLock(heap);
    PROCESS_HEAP_ENTRY entry = {};
    while (HeapWalk(heap, &entry)) {
        if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) != 0) {
            ++census.heapBlocks;
            census.heapBytes += entry.cbData;
        }
    }
    HeapUnlock(heap);
    return census;
}

bool IconAlive(HICON icon) {
    ICONINFO info;
    if (icon == nullptr || !GetIconInfo(icon, &info)) {
        return false;
    }
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return true;
}

bool HeapBlockAllocated(void* block) {
    HANDLE heap = GetProcessHeap();
    bool found = false;
    PROCESS_HEAP_ENTRY entry = {};
    HeapLock(heap);
    while (HeapWalk(heap, &entry)) {
        if ((entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) && entry.lpData == block) {
            found = true;
            break;
        }
    }
    HeapUnlock(heap);
    return found;
}
