#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace winapi {

// Predefined control classes, as a template names them by atom.
inline constexpr std::uint16_t kButtonClassAtom = 0x0080;
inline constexpr std::uint16_t kEditClassAtom = 0x0081;
inline constexpr std::uint16_t kStaticClassAtom = 0x0082;
inline constexpr std::uint16_t kListBoxClassAtom = 0x0083;
inline constexpr std::uint16_t kScrollBarClassAtom = 0x0084;
inline constexpr std::uint16_t kComboBoxClassAtom = 0x0085;

// A template field that holds text, or an ordinal where the template has 0xFFFF and a number:
// a class atom, a menu id, or the resource a control shows instead of text (an icon for an
// SS_ICON static). An empty string is the template's "none".
using TextOrOrdinal = std::variant<std::string, std::uint16_t>;

struct DialogFont {
    std::uint16_t pointSize = 0;
    std::uint16_t weight = 0;
    bool italic = false;
    std::uint8_t charset = 0;
    std::string typeface;
};

struct DialogItem {
    std::uint32_t helpId = 0;
    std::uint32_t exStyle = 0;
    std::uint32_t style = 0;
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::int16_t cx = 0;
    std::int16_t cy = 0;
    // The extended form stores the id as a DWORD, kept here as stored: IDC_STATIC (-1) is
    // 0xFFFFFFFF, which GetDlgCtrlID reports as the int -1.
    std::uint32_t id = 0;
    TextOrOrdinal windowClass;
    TextOrOrdinal title;
    // Handed to the control in WM_CREATE's CREATESTRUCT.
    std::vector<std::uint8_t> creationData;
};

// An extended dialog template (DLGTEMPLATEEX and its DLGITEMTEMPLATEEX items).
struct DialogTemplate {
    std::uint32_t helpId = 0;
    std::uint32_t exStyle = 0;
    std::uint32_t style = 0;
    std::int16_t x = 0;
    std::int16_t y = 0;
    std::int16_t cx = 0;
    std::int16_t cy = 0;
    TextOrOrdinal menu;
    // Empty: the standard dialog class.
    TextOrOrdinal windowClass;
    std::string title;
    // Present exactly when the style has DS_SETFONT.
    std::optional<DialogFont> font;
    std::vector<DialogItem> items;

    // Nullopt for the old DLGTEMPLATE form and for a template that ends before its last item
    // does. Bytes after the last item are ignored.
    static std::optional<DialogTemplate> Parse(std::span<const std::uint8_t> bytes);
};

}  // namespace winapi
