#include "platform/winapi/menu_template.h"

#include <utility>

#include "platform/winapi/byte_reader.h"
#include "platform/winapi/utf16.h"

namespace winapi {
namespace {

constexpr std::uint16_t kMfPopup = 0x0010;
constexpr std::uint16_t kMfEnd = 0x0080;
constexpr std::uint16_t kMfSeparator = 0x0800;
constexpr int kMaxNesting = 32;

// Reads the items of one level, up to and including the one marked MF_END.
std::optional<std::vector<MenuItem>> ReadLevel(ByteReader& reader, int depth) {
    if (depth > kMaxNesting) {
        return std::nullopt;
    }
    std::vector<MenuItem> items;
    bool last = false;
    while (!last) {
        const auto flags = reader.U16();
        if (!flags) {
            return std::nullopt;
        }
        MenuItem item;
        item.flags = static_cast<std::uint16_t>(*flags & ~kMfEnd);
        last = (*flags & kMfEnd) != 0;
        if (!(*flags & kMfPopup)) {
            const auto id = reader.U16();
            if (!id) {
                return std::nullopt;
            }
            item.id = *id;
        }
        const auto text = reader.String();
        if (!text) {
            return std::nullopt;
        }
        item.text = Utf16ToUtf8(*text);
        if (*flags & kMfPopup) {
            auto children = ReadLevel(reader, depth + 1);
            if (!children) {
                return std::nullopt;
            }
            item.children = std::move(*children);
        }
        items.push_back(std::move(item));
    }
    return items;
}

}  // namespace

bool MenuItem::IsSeparator() const {
    if (flags & kMfPopup) {
        return false;
    }
    return (flags & kMfSeparator) != 0 || text.empty();
}

std::optional<MenuTemplate> MenuTemplate::Parse(std::span<const std::uint8_t> bytes) {
    ByteReader reader(bytes);
    const auto version = reader.U16();
    const auto offset = reader.U16();
    // Version 1 is the extended form, which this program's menus do not use.
    if (!version || !offset || *version != 0 || !reader.Skip(*offset)) {
        return std::nullopt;
    }
    auto items = ReadLevel(reader, 0);
    if (!items) {
        return std::nullopt;
    }
    return MenuTemplate{std::move(*items)};
}

}  // namespace winapi
