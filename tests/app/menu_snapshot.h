// Reads a live popup menu, submenus included, as the platform holds it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct MenuItemSnapshot {
    std::wstring text;       // GetMenuItemInfoW's string
    std::wstring legacyText; // GetMenuStringW's, which must agree
    UINT id = 0;
    UINT type = 0;        // MFT_* (MFT_SEPARATOR, MFT_RADIOCHECK, ...)
    UINT state = 0;       // MFS_* (MFS_CHECKED, ...)
    UINT legacyState = 0; // GetMenuState by position (MF_CHECKED, MF_POPUP, ...)
    HMENU submenu = nullptr;
    std::vector<MenuItemSnapshot> items; // of the submenu

    bool Separator() const {
        return (type & MFT_SEPARATOR) != 0;
    }
    bool Checked() const {
        return (state & MFS_CHECKED) != 0;
    }
    bool Radio() const {
        return (type & MFT_RADIOCHECK) != 0;
    }
};

inline std::vector<MenuItemSnapshot> SnapshotMenu(HMENU menu) {
    std::vector<MenuItemSnapshot> items;
    int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        MenuItemSnapshot item;
        wchar_t text[256] = L"";
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 256;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) {
            continue;
        }
        item.text = text;
        item.id = info.wID;
        item.type = info.fType;
        item.state = info.fState;
        item.submenu = info.hSubMenu;
        wchar_t legacy[256] = L"";
        GetMenuStringW(menu, static_cast<UINT>(position), legacy, 256, MF_BYPOSITION);
        item.legacyText = legacy;
        item.legacyState = GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION);
        if (item.submenu != nullptr) {
            item.items = SnapshotMenu(item.submenu);
        }
        items.push_back(item);
    }
    return items;
}
