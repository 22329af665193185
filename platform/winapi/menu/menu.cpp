#include "platform/winapi/menu/menu.h"

#include <algorithm>

namespace winapi::menu {

MenuEntry* Menu::At(std::size_t position) {
    return position < m_items.size() ? &m_items[position] : nullptr;
}

const MenuEntry* Menu::At(std::size_t position) const {
    return position < m_items.size() ? &m_items[position] : nullptr;
}

void Menu::Insert(std::size_t position, MenuEntry entry) {
    position = std::min(position, m_items.size());
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(position), std::move(entry));
}

std::optional<MenuEntry> Menu::Take(std::size_t position) {
    if (position >= m_items.size())
        return std::nullopt;
    MenuEntry entry = std::move(m_items[position]);
    m_items.erase(m_items.begin() + static_cast<std::ptrdiff_t>(position));
    return entry;
}

}  // namespace winapi::menu
