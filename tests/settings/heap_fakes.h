// Stand-ins for platform.heapAlloc in the settings tests.
//
// FailingHeapAlloc: allocations are numbered from 1; a chosen set of them, or every one
// from a chosen number on, fails.
//
// MeddlingHeapAlloc: runs a test's hook, then allocates.
//
// GuardedHeapAlloc: every block ends exactly where an inaccessible page begins, so a read or
// write one byte past a block faults at once. The blocks are not on the process heap: the
// product's HeapFree of one fails harmlessly under Wine (ERROR_INVALID_PARAMETER), and
// ReleaseGuardedBlocks gives the memory back.
#pragma once

#include <windows.h>

#include <set>
#include <vector>

namespace heap_fakes {

inline unsigned allocationCount = 0;
inline std::set<unsigned> failingAllocations;
inline unsigned failFromAllocation = 0; // 0: no threshold
inline std::vector<void*> guardedBlocks;
// Called by MeddlingHeapAlloc before it allocates: lets a test change the registry between the
// two queries of a string read.
inline void (*beforeAllocation)() = nullptr;

inline void ResetAllocationCount(std::set<unsigned> failing, unsigned failFrom = 0) {
    allocationCount = 0;
    failingAllocations = std::move(failing);
    failFromAllocation = failFrom;
}

inline LPVOID WINAPI FailingHeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
    ++allocationCount;
    if (failingAllocations.count(allocationCount) != 0 ||
        (failFromAllocation != 0 && allocationCount >= failFromAllocation)) {
        return nullptr;
    }
    return HeapAlloc(heap, flags, bytes);
}

inline LPVOID WINAPI MeddlingHeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
    if (beforeAllocation != nullptr) {
        beforeAllocation();
    }
    return HeapAlloc(heap, flags, bytes);
}

inline LPVOID WINAPI GuardedHeapAlloc(HANDLE, DWORD, SIZE_T bytes) {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const SIZE_T page = system.dwPageSize;
    const SIZE_T usable = (bytes + page - 1) / page * page;
    // A readable page in front (the heap looks at a block's header when it is asked to free
    // it), the block's pages, then the guard page.
    BYTE* base = static_cast<BYTE*>(
        VirtualAlloc(nullptr, page + usable + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (base == nullptr) {
        return nullptr;
    }
    DWORD previous = 0;
    VirtualProtect(base + page + usable, page, PAGE_NOACCESS, &previous);
    guardedBlocks.push_back(base);
    return base + page + usable - bytes; // already zero-filled
}

inline void ReleaseGuardedBlocks() {
    for (void* block : guardedBlocks) {
        VirtualFree(block, 0, MEM_RELEASE);
    }
    guardedBlocks.clear();
}

} // namespace heap_fakes
