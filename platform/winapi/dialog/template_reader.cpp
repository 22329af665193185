#include "platform/winapi/dialog/template_reader.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>

#include "platform/winapi/byte_reader.h"
#include "platform/winapi/utf16.h"

namespace winapi::dialog {
namespace {

constexpr std::size_t kSmallestPlainItemSize = 24;

TextOrOrdinal ReadTextOrOrdinal(ByteReader& reader) {
    const auto field = reader.NameOrOrdinal();
    if (const auto* ordinal = std::get_if<std::uint16_t>(&field))
        return *ordinal;
    return Utf16ToUtf8(std::get<std::u16string>(field));
}

// DLGITEMTEMPLATE, then class, title and creation data; each item starts on a DWORD boundary.
DialogItem ReadPlainItem(ByteReader& reader) {
    reader.Align(4);
    DialogItem item;
    item.style = reader.U32();
    item.exStyle = reader.U32();
    item.x = reader.I16();
    item.y = reader.I16();
    item.cx = reader.I16();
    item.cy = reader.I16();
    item.id = reader.U16();
    item.windowClass = ReadTextOrOrdinal(reader);
    item.title = ReadTextOrOrdinal(reader);
    const auto data = reader.Bytes(reader.U16());
    item.creationData.assign(data.begin(), data.end());
    return item;
}

}  // namespace

std::optional<DialogTemplate> ParsePlainDialogTemplate(std::span<const std::uint8_t> bytes) {
    ByteReader reader(bytes);
    DialogTemplate dialog;
    dialog.style = reader.U32();
    dialog.exStyle = reader.U32();
    const std::uint16_t itemCount = reader.U16();
    dialog.x = reader.I16();
    dialog.y = reader.I16();
    dialog.cx = reader.I16();
    dialog.cy = reader.I16();
    dialog.menu = ReadTextOrOrdinal(reader);
    dialog.windowClass = ReadTextOrOrdinal(reader);
    dialog.title = Utf16ToUtf8(reader.String());
    if (dialog.style & DS_SETFONT) {
        DialogFont& font = dialog.font.emplace();
        font.pointSize = reader.U16();
        font.weight = FW_DONTCARE;
        font.charset = DEFAULT_CHARSET;
        font.typeface = Utf16ToUtf8(reader.String());
    }
    if (!reader.Ok())
        return std::nullopt;
    // The count comes from the bytes: reserve no more than they can hold.
    dialog.items.reserve(
        std::min<std::size_t>(itemCount, reader.Remaining() / kSmallestPlainItemSize));
    for (std::uint16_t i = 0; i < itemCount; ++i) {
        dialog.items.push_back(ReadPlainItem(reader));
        if (!reader.Ok())
            return std::nullopt;
    }
    return dialog;
}

std::optional<DialogTemplate> ParseAnyDialogTemplate(std::span<const std::uint8_t> bytes) {
    // The extended form starts with version 1 and the signature 0xFFFF where the plain form
    // has its style's low word and high word.
    const bool extended =
        bytes.size() >= 4 && bytes[0] == 1 && bytes[1] == 0 && bytes[2] == 0xFF && bytes[3] == 0xFF;
    return extended ? DialogTemplate::Parse(bytes) : ParsePlainDialogTemplate(bytes);
}

}  // namespace winapi::dialog
