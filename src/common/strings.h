// Shared string operations. Every string is zero-terminated UTF-16 on the process heap.
#pragma once

#include <cstddef>

// printf-style wide formatting ("%d", "%02d", "%04d", "%ls") that never writes more than
// `capacity` units, terminator included. Gives the units written without the terminator,
// or -1 when the text had to be cut (the first capacity - 1 units stay, terminated) or
// formatting failed (the destination is then empty, when it has room for a terminator).
int FormatString(wchar_t* destination, size_t capacity, const wchar_t* format, ...);

// A new heap copy of `source`, terminator included; null when memory runs out.
// The caller frees it with HeapFree.
wchar_t* HeapStringDuplicate(const wchar_t* source);

// A null `replacement` changes nothing; otherwise the slot's old string (if any) is freed
// and the slot takes ownership of `replacement`.
void ReplaceOwnedString(wchar_t** slot, wchar_t* replacement);

// Zero-filled process-heap block (through the platform table, so tests can make it fail),
// and its release; FreeHeapBlock ignores null.
void* AllocateZeroed(size_t bytes);
void FreeHeapBlock(void* block);
