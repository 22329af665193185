#include "platform/winapi/resource/menu_template.h"

#include "platform/winapi/byte_reader.h"
#include "platform/winapi/utf16.h"

namespace winapi {
namespace {

constexpr std::uint16_t kMfPopup = 0x0010;
constexpr std::uint16_t kMfEnd = 0x0080;
constexpr std::uint16_t kMfSeparator = 0x0800;
constexpr int kMaxNesting = 32;

// Reads the items of one level, up to and including the one marked MF_END. The caller checks
// the reader: a level nested too deep fails it like bytes that end too soon.
std::vector<MenuItem> ReadLevel(ByteReader& reader, int depth) {
    std::vector<MenuItem> items;
    if (depth > kMaxNesting) {
        reader.Fail();
    }
    for (bool last = false; !last && reader.Ok();) {
        const std::uint16_t flags = reader.U16();
        last = (flags & kMfEnd) != 0;
        MenuItem& item = items.emplace_back();
        item.flags = static_cast<std::uint16_t>(flags & ~kMfEnd);
        if (!(flags & kMfPopup)) {
            item.id = reader.U16();
        }
        item.text = Utf16ToUtf8(reader.String());
        if (flags & kMfPopup) {
            item.children = ReadLevel(reader, depth + 1);
        }
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
    // Version 1 is the extended form, which this program's menus do not use.
    if (reader.U16() != 0) {
        return std::nullopt;
    }
    reader.Skip(reader.U16());
    MenuTemplate menu{ReadLevel(reader, 0)};
    if (!reader.Ok()) {
        return std::nullopt;
    }
    return menu;
}

}  // namespace winapi
