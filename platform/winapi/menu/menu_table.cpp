#include "platform/winapi/menu/menu_table.h"

#include "platform/winapi/session_parts.h"

namespace winapi::menu {
namespace {

// Submenus nest no deeper than this; deeper trees are treated as absent rather than walked.
constexpr int kMaxDepth = 32;

// Handle values are 2 modulo 4, so a menu handle never equals a window handle (0 modulo 4).
constexpr std::uintptr_t kHandleBase = 0x20002;

void EndSession() {
    MenuTable::Instance().Clear();
}
// Windows end first and take their window menus with them; what remains goes here.
const SessionEndHook kEndHook{SessionEndOrder::Gdi, &EndSession};

std::optional<ItemRef> FindByCommand(HMENU handle, UINT command, int depth) {
    Menu* menu = MenuTable::Instance().Find(handle);
    if (menu == nullptr || depth > kMaxDepth)
        return std::nullopt;
    for (std::size_t i = 0; i < menu->Count(); ++i) {
        MenuEntry* entry = menu->At(i);
        if (entry->IsPopup()) {
            if (auto found = FindByCommand(entry->submenu, command, depth + 1))
                return found;
        }
        if (entry->id == command)
            return ItemRef{handle, menu, i, entry};
    }
    return std::nullopt;
}

bool ReachesWithin(HMENU root, HMENU target, int depth) {
    if (root == target)
        return true;
    const Menu* menu = MenuTable::Instance().Find(root);
    if (menu == nullptr || depth > kMaxDepth)
        return depth > kMaxDepth;
    for (const MenuEntry& entry : menu->Items())
        if (entry.IsPopup() && ReachesWithin(entry.submenu, target, depth + 1))
            return true;
    return false;
}

}  // namespace

MenuTable& MenuTable::Instance() {
    static MenuTable table;
    return table;
}

HMENU MenuTable::Add(bool popup) {
    const std::uintptr_t value = kHandleBase + 4 * m_next++;
    m_menus.emplace(value, std::make_unique<Menu>(popup));
    return reinterpret_cast<HMENU>(value);
}

Menu* MenuTable::Find(HMENU handle) const {
    const auto it = m_menus.find(reinterpret_cast<std::uintptr_t>(handle));
    return it == m_menus.end() ? nullptr : it->second.get();
}

bool MenuTable::Destroy(HMENU handle) {
    return Destroy(handle, 0);
}

bool MenuTable::Destroy(HMENU handle, int depth) {
    const auto it = m_menus.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == m_menus.end())
        return false;
    std::unique_ptr<Menu> menu = std::move(it->second);
    m_menus.erase(it);
    if (depth < kMaxDepth)
        for (const MenuEntry& entry : menu->Items())
            if (entry.IsPopup())
                Destroy(entry.submenu, depth + 1);
    return true;
}

void MenuTable::Clear() {
    m_menus.clear();
}

Menu* FindMenu(HMENU handle) {
    Menu* menu = MenuTable::Instance().Find(handle);
    if (menu == nullptr)
        SetLastError(ERROR_INVALID_MENU_HANDLE);
    return menu;
}

std::optional<ItemRef> FindItem(HMENU handle, UINT item, UINT flags) {
    Menu* menu = MenuTable::Instance().Find(handle);
    if (menu == nullptr)
        return std::nullopt;
    if (flags & MF_BYPOSITION) {
        MenuEntry* entry = menu->At(item);
        if (entry == nullptr)
            return std::nullopt;
        return ItemRef{handle, menu, item, entry};
    }
    return FindByCommand(handle, item, 0);
}

bool Reaches(HMENU root, HMENU target) {
    return ReachesWithin(root, target, 0);
}

}  // namespace winapi::menu
