#include "common/strings.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cwchar>

#include "common/platform.h"

int FormatString(wchar_t* destination, size_t capacity, const wchar_t* format, ...) {
    if (destination == nullptr || capacity == 0) {
        return -1;
    }
    if (format == nullptr) {
        destination[0] = L'\0';
        return -1;
    }
    va_list values;
    va_start(values, format);
    int written = _vsnwprintf_s(destination, capacity, _TRUNCATE, format, values);
    va_end(values);
    if (written < 0 && wcsnlen(destination, capacity) != capacity - 1) {
        // Not a cut text but a failed format: leave nothing half-written behind.
        destination[0] = L'\0';
    }
    return written < 0 ? -1 : written;
}

void* AllocateZeroed(size_t bytes) {
    // cppcheck-suppress CastIntegerToAddressAtReturn ; heapAlloc gives an LPVOID: cppcheck does
    // not see the type through the table of function pointers.
    return platform.heapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes);
}

void FreeHeapBlock(void* block) {
    if (block != nullptr) {
        platform.heapFree(GetProcessHeap(), 0, block);
    }
}

wchar_t* HeapStringDuplicate(const wchar_t* source) {
    size_t units = wcslen(source) + 1;
    wchar_t* copy = static_cast<wchar_t*>(AllocateZeroed(units * sizeof(wchar_t)));
    if (copy != nullptr) {
        wmemcpy(copy, source, units);
    }
    return copy;
}

void ReplaceOwnedString(wchar_t** slot, wchar_t* replacement) {
    if (replacement == nullptr) {
        return;
    }
    FreeHeapBlock(*slot);
    *slot = replacement;
}
