#include "icon/notify_icon_path.h"

namespace {

constexpr size_t FolderIdLength = 38; // braces, 32 digits and four hyphens
constexpr size_t FolderCapacity = 1024;

int HexDigit(wchar_t unit) {
    if (unit >= L'0' && unit <= L'9') {
        return unit - L'0';
    }
    if (unit >= L'a' && unit <= L'f') {
        return unit - L'a' + 10;
    }
    if (unit >= L'A' && unit <= L'F') {
        return unit - L'A' + 10;
    }
    return -1;
}

// The lower-case form of A to Z and of the Latin-1 capitals (but the multiplication sign).
wchar_t Folded(wchar_t unit) {
    bool capital = (unit >= L'A' && unit <= L'Z') || (unit >= 0xC0 && unit <= 0xDE && unit != 0xD7);
    return capital ? static_cast<wchar_t>(unit + 0x20) : unit;
}

// Whether `text` starts with `prefix` without case; `*rest` is then what follows it.
bool StartsWithFolded(const wchar_t* text, const wchar_t* prefix, const wchar_t** rest) {
    while (*prefix != L'\0') {
        if (Folded(*text) != Folded(*prefix)) {
            return false;
        }
        ++text;
        ++prefix;
    }
    *rest = text;
    return true;
}

} // namespace

bool ParseKnownFolderId(const wchar_t* text, KnownFolderId* id) {
    // Where each hyphen stands, and the digits of each part as read in order.
    static const char Shape[] = "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}";
    uint8_t bytes[16] = {};
    int digits = 0;
    for (size_t index = 0; index < FolderIdLength; ++index) {
        if (Shape[index] != 'x') {
            if (text[index] != static_cast<wchar_t>(Shape[index])) {
                return false;
            }
            continue;
        }
        int value = HexDigit(text[index]);
        if (value < 0) {
            return false;
        }
        bytes[digits / 2] = static_cast<uint8_t>(bytes[digits / 2] << 4 | value);
        ++digits;
    }
    id->data1 = static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
                static_cast<uint32_t>(bytes[2]) << 8 | bytes[3];
    id->data2 = static_cast<uint16_t>(bytes[4] << 8 | bytes[5]);
    id->data3 = static_cast<uint16_t>(bytes[6] << 8 | bytes[7]);
    for (int index = 0; index < 8; ++index) {
        id->data4[index] = bytes[8 + index];
    }
    return true;
}

bool IsSameExecutablePath(const wchar_t* stored, const wchar_t* modulePath,
                          KnownFolderResolver resolve) {
    const wchar_t* rest = modulePath;
    KnownFolderId id;
    if (ParseKnownFolderId(stored, &id)) {
        wchar_t folder[FolderCapacity];
        if (!resolve(id, folder, FolderCapacity) || folder[0] == L'\0' ||
            !StartsWithFolded(modulePath, folder, &rest)) {
            return false;
        }
        stored += FolderIdLength;
    }
    const wchar_t* end = nullptr;
    return StartsWithFolded(rest, stored, &end) && *end == L'\0';
}
