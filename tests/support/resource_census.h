// Counts what the process holds, to show that rendering leaves nothing behind: its live GDI
// objects and the busy blocks of its process heap.
#pragma once

#include <windows.h>

#include <cstddef>

struct ResourceCensus {
    int gdiObjects;
    size_t heapBlocks;
    size_t heapBytes;
};

// GetGuiResources answers 0 under Wine, so when it does the GDI objects are counted in the
// process's GDI handle table (PEB's GdiSharedHandleTable: 65,536 entries of 24 bytes, the
// object type in byte 14, zero for a free entry). The heap is walked with HeapWalk.
ResourceCensus TakeResourceCensus();

// True while the handle still names an icon (false for null).
bool IconAlive(HICON icon);

// True while `block` is a busy block of the process heap.
bool HeapBlockAllocated(void* block);
