// A menu: its items in order, as Win32 keeps them. Type bits say what an item is (string,
// separator, popup), state bits how it looks (checked, grayed, default); a popup item names its
// submenu by handle, so menus form a tree only through the handle table.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

namespace winapi::menu {

struct MenuEntry {
    UINT type = MF_STRING;  // MF_SEPARATOR, MF_POPUP, MF_BITMAP, MF_OWNERDRAW, MF_MENUBREAK, ...
    UINT state = 0;         // MF_CHECKED, MF_GRAYED, MF_DISABLED, MF_HILITE, MF_DEFAULT
    UINT_PTR id = 0;  // the command; for a popup item, its submenu's handle as Win32 stores it
    HMENU submenu = nullptr;
    std::string text;  // UTF-8 with its '&' prefixes and an optional "\t" accelerator part

    bool IsSeparator() const { return (type & MF_SEPARATOR) != 0; }
    bool IsPopup() const { return (type & MF_POPUP) != 0; }
    bool IsEnabled() const { return (state & (MF_GRAYED | MF_DISABLED)) == 0; }
    bool HasText() const { return (type & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW)) == 0; }
    // The flags GetMenuState and WM_MENUSELECT report.
    UINT Flags() const { return type | state; }
};

class Menu {
public:
    explicit Menu(bool popup) : m_popup(popup) {}

    bool IsPopup() const { return m_popup; }
    // The window menu: its choices reach the owner as WM_SYSCOMMAND.
    bool IsSystem() const { return m_system; }
    void MarkSystem() { m_system = true; }

    std::size_t Count() const { return m_items.size(); }
    MenuEntry* At(std::size_t position);
    const MenuEntry* At(std::size_t position) const;
    const std::vector<MenuEntry>& Items() const { return m_items; }

    // Positions past the end append.
    void Insert(std::size_t position, MenuEntry entry);
    std::optional<MenuEntry> Take(std::size_t position);

private:
    bool m_popup;
    bool m_system = false;
    std::vector<MenuEntry> m_items;
};

}  // namespace winapi::menu
