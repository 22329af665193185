#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace winapi {

struct MenuItem {
    // The MF_* flags as stored, less MF_END: the nesting already says where a level ends, and
    // MF_END shares its value with MF_HILITE.
    std::uint16_t flags = 0;
    // Popups have no id in the template; 0 for them.
    std::uint16_t id = 0;
    std::string text;
    // The items of a popup (MF_POPUP); a popup in a template has at least one.
    std::vector<MenuItem> children;

    // LoadMenu makes a separator of MF_SEPARATOR and of a plain item without text, which is
    // what resource compilers write for MENUITEM SEPARATOR.
    bool IsSeparator() const;
};

// A standard menu template (MENUITEMTEMPLATEHEADER version 0 and its MENUITEMTEMPLATE items).
struct MenuTemplate {
    std::vector<MenuItem> items;

    // Nullopt for the extended form, for a level that ends without an MF_END item before the
    // bytes do, and for popups nested deeper than any real menu (a guard for the stack).
    static std::optional<MenuTemplate> Parse(std::span<const std::uint8_t> bytes);
};

}  // namespace winapi
