#include "platform/winapi/resource/dialog_template.h"

#include <algorithm>
#include <cstddef>

#include "platform/winapi/byte_reader.h"
#include "platform/winapi/utf16.h"

namespace winapi {
namespace {

constexpr std::uint32_t kDsSetFont = 0x40;
constexpr std::size_t kSmallestItemSize = 26;

TextOrOrdinal ReadTextOrOrdinal(ByteReader& reader) {
    const auto field = reader.NameOrOrdinal();
    if (const auto* ordinal = std::get_if<std::uint16_t>(&field)) {
        return *ordinal;
    }
    return Utf16ToUtf8(std::get<std::u16string>(field));
}

// The caller checks the reader once the item is read.
DialogItem ReadItem(ByteReader& reader) {
    // Each item starts on a DWORD boundary.
    reader.Align(4);
    DialogItem item;
    item.helpId = reader.U32();
    item.exStyle = reader.U32();
    item.style = reader.U32();
    item.x = reader.I16();
    item.y = reader.I16();
    item.cx = reader.I16();
    item.cy = reader.I16();
    item.id = reader.U32();
    item.windowClass = ReadTextOrOrdinal(reader);
    item.title = ReadTextOrOrdinal(reader);
    const auto creationData = reader.Bytes(reader.U16());
    item.creationData.assign(creationData.begin(), creationData.end());
    return item;
}

}  // namespace

std::optional<DialogTemplate> DialogTemplate::Parse(std::span<const std::uint8_t> bytes) {
    ByteReader reader(bytes);
    // Version 1, signature 0xFFFF. Win32 tells the two forms apart by the signature; the old
    // form has its style there.
    if (reader.U16() != 1 || reader.U16() != 0xFFFF) {
        return std::nullopt;
    }
    DialogTemplate dialog;
    dialog.helpId = reader.U32();
    dialog.exStyle = reader.U32();
    dialog.style = reader.U32();
    const std::uint16_t itemCount = reader.U16();
    dialog.x = reader.I16();
    dialog.y = reader.I16();
    dialog.cx = reader.I16();
    dialog.cy = reader.I16();
    dialog.menu = ReadTextOrOrdinal(reader);
    dialog.windowClass = ReadTextOrOrdinal(reader);
    dialog.title = Utf16ToUtf8(reader.String());
    if (dialog.style & kDsSetFont) {
        DialogFont& font = dialog.font.emplace();
        font.pointSize = reader.U16();
        font.weight = reader.U16();
        font.italic = reader.U8() != 0;
        font.charset = reader.U8();
        font.typeface = Utf16ToUtf8(reader.String());
    }
    if (!reader.Ok()) {
        return std::nullopt;
    }
    // The count comes from the bytes: reserve no more than they can hold.
    dialog.items.reserve(std::min<std::size_t>(itemCount, reader.Remaining() / kSmallestItemSize));
    for (std::uint16_t i = 0; i < itemCount; ++i) {
        dialog.items.push_back(ReadItem(reader));
        if (!reader.Ok()) {
            return std::nullopt;
        }
    }
    return dialog;
}

}  // namespace winapi
