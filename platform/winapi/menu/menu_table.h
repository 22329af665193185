// Every menu of the session behind validated handles. Handles are never reused, so a handle
// kept after DestroyMenu fails (ERROR_INVALID_MENU_HANDLE) instead of reaching another menu.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>

#include <windows.h>

#include "platform/winapi/menu/menu.h"

namespace winapi::menu {

class MenuTable {
public:
    static MenuTable& Instance();

    HMENU Add(bool popup);
    Menu* Find(HMENU handle) const;
    // Destroys the menu and, depth first, the submenus its popup items name.
    bool Destroy(HMENU handle);
    void Clear();
    std::size_t Count() const { return m_menus.size(); }

private:
    bool Destroy(HMENU handle, int depth);

    std::map<std::uintptr_t, std::unique_ptr<Menu>> m_menus;
    std::uintptr_t m_next = 0;
};

// The menu behind handle, or null with ERROR_INVALID_MENU_HANDLE.
Menu* FindMenu(HMENU handle);

// One item found by position or by command.
struct ItemRef {
    HMENU handle = nullptr;  // the menu that holds the item (a submenu for a command found there)
    Menu* menu = nullptr;
    std::size_t position = 0;
    MenuEntry* entry = nullptr;
};

// MF_BYPOSITION: the item at that position of handle. MF_BYCOMMAND: the first item with that
// command, searching each popup's submenu before the popup item itself, as Win32 does.
std::optional<ItemRef> FindItem(HMENU handle, UINT item, UINT flags);

// Whether target is root or is reachable from root through popup items: appending a menu into
// its own tree would make every walk of it endless.
bool Reaches(HMENU root, HMENU target);

}  // namespace winapi::menu
