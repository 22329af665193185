#include "platform/winapi/dialog_template.h"

#include <algorithm>
#include <cstddef>
#include <utility>

#include "platform/winapi/byte_reader.h"
#include "platform/winapi/utf16.h"

namespace winapi {
namespace {

constexpr std::uint32_t kDsSetFont = 0x40;
constexpr std::size_t kSmallestItemSize = 26;

std::optional<TextOrOrdinal> ReadTextOrOrdinal(ByteReader& reader) {
    const auto field = reader.NameOrOrdinal();
    if (!field) {
        return std::nullopt;
    }
    if (const auto* ordinal = std::get_if<std::uint16_t>(&*field)) {
        return *ordinal;
    }
    return Utf16ToUtf8(std::get<std::u16string>(*field));
}

std::optional<std::string> ReadText(ByteReader& reader) {
    const auto text = reader.String();
    if (!text) {
        return std::nullopt;
    }
    return Utf16ToUtf8(*text);
}

std::optional<DialogFont> ReadFont(ByteReader& reader) {
    const auto pointSize = reader.U16();
    const auto weight = reader.U16();
    const auto italic = reader.U8();
    const auto charset = reader.U8();
    auto typeface = ReadText(reader);
    if (!pointSize || !weight || !italic || !charset || !typeface) {
        return std::nullopt;
    }
    return DialogFont{*pointSize, *weight, *italic != 0, *charset, std::move(*typeface)};
}

std::optional<DialogItem> ReadItem(ByteReader& reader) {
    // Each item starts on a DWORD boundary.
    if (!reader.Align(4)) {
        return std::nullopt;
    }
    const auto helpId = reader.U32();
    const auto exStyle = reader.U32();
    const auto style = reader.U32();
    const auto x = reader.I16();
    const auto y = reader.I16();
    const auto cx = reader.I16();
    const auto cy = reader.I16();
    const auto id = reader.U32();
    if (!helpId || !exStyle || !style || !x || !y || !cx || !cy || !id) {
        return std::nullopt;
    }
    auto windowClass = ReadTextOrOrdinal(reader);
    auto title = windowClass ? ReadTextOrOrdinal(reader) : std::nullopt;
    const auto extraCount = title ? reader.U16() : std::nullopt;
    const auto creationData = extraCount ? reader.Bytes(*extraCount) : std::nullopt;
    if (!creationData) {
        return std::nullopt;
    }
    return DialogItem{*helpId,
                      *exStyle,
                      *style,
                      *x,
                      *y,
                      *cx,
                      *cy,
                      *id,
                      std::move(*windowClass),
                      std::move(*title),
                      {creationData->begin(), creationData->end()}};
}

}  // namespace

std::optional<DialogTemplate> DialogTemplate::Parse(std::span<const std::uint8_t> bytes) {
    ByteReader reader(bytes);
    const auto version = reader.U16();
    const auto signature = reader.U16();
    // Win32 tells the two forms apart by this signature; the old form has its style here.
    if (!version || !signature || *version != 1 || *signature != 0xFFFF) {
        return std::nullopt;
    }
    DialogTemplate dialog;
    const auto helpId = reader.U32();
    const auto exStyle = reader.U32();
    const auto style = reader.U32();
    const auto itemCount = reader.U16();
    const auto x = reader.I16();
    const auto y = reader.I16();
    const auto cx = reader.I16();
    const auto cy = reader.I16();
    if (!helpId || !exStyle || !style || !itemCount || !x || !y || !cx || !cy) {
        return std::nullopt;
    }
    auto menu = ReadTextOrOrdinal(reader);
    auto windowClass = menu ? ReadTextOrOrdinal(reader) : std::nullopt;
    auto title = windowClass ? ReadText(reader) : std::nullopt;
    if (!title) {
        return std::nullopt;
    }
    dialog.helpId = *helpId;
    dialog.exStyle = *exStyle;
    dialog.style = *style;
    dialog.x = *x;
    dialog.y = *y;
    dialog.cx = *cx;
    dialog.cy = *cy;
    dialog.menu = std::move(*menu);
    dialog.windowClass = std::move(*windowClass);
    dialog.title = std::move(*title);
    if (*style & kDsSetFont) {
        dialog.font = ReadFont(reader);
        if (!dialog.font) {
            return std::nullopt;
        }
    }
    // The count comes from the bytes: reserve no more than they can hold.
    dialog.items.reserve(std::min<std::size_t>(*itemCount, reader.Remaining() / kSmallestItemSize));
    for (std::uint16_t i = 0; i < *itemCount; ++i) {
        auto item = ReadItem(reader);
        if (!item) {
            return std::nullopt;
        }
        dialog.items.push_back(std::move(*item));
    }
    return dialog;
}

}  // namespace winapi
