#include "platform/winapi/clipboard/clipboard_text.h"

#include <cstring>

#include "platform/winapi/utf16.h"
#include "platform/winapi/utf8.h"

namespace winapi::clipboard {

bool IsTextFormat(UINT format) {
    return format == CF_TEXT || format == CF_OEMTEXT || format == CF_UNICODETEXT;
}

std::string TextFromBytes(UINT format, std::span<const std::byte> bytes) {
    if (format == CF_UNICODETEXT) {
        std::u16string units;
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
            const auto unit = static_cast<char16_t>(std::to_integer<unsigned>(bytes[i]) |
                                                    std::to_integer<unsigned>(bytes[i + 1]) << 8);
            if (unit == 0)
                break;
            units.push_back(unit);
        }
        return Utf16ToUtf8(units);
    }
    std::string text;
    for (std::byte b : bytes) {
        if (b == std::byte{0})
            break;
        text.push_back(static_cast<char>(b));
    }
    return text;
}

std::vector<std::byte> BytesFromText(UINT format, std::string_view utf8) {
    std::vector<std::byte> bytes;
    if (format == CF_UNICODETEXT) {
        const std::u16string units = Utf8ToUtf16(utf8);
        bytes.reserve((units.size() + 1) * 2);
        for (char16_t unit : units) {
            bytes.push_back(static_cast<std::byte>(unit & 0xFF));
            bytes.push_back(static_cast<std::byte>(unit >> 8));
        }
        bytes.insert(bytes.end(), 2, std::byte{0});
        return bytes;
    }
    bytes.resize(utf8.size() + 1);
    std::memcpy(bytes.data(), utf8.data(), utf8.size());
    return bytes;
}

}  // namespace winapi::clipboard
