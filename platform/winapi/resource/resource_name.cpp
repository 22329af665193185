#include "platform/winapi/resource/resource_name.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace winapi::resource {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// The next code point of UTF-8 text; malformed input yields U+FFFD and moves on by one byte.
char32_t NextCodePoint(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    if (lead < 0x80) {
        return lead;
    }
    int length = 0;
    char32_t value = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 1;
        value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 2;
        value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 3;
        value = lead & 0x07;
    } else {
        return kReplacement;
    }
    if (text.size() - at < static_cast<std::size_t>(length)) {
        return kReplacement;
    }
    for (int i = 0; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + static_cast<std::size_t>(i)]);
        if ((next & 0xC0) != 0x80) {
            return kReplacement;
        }
        value = (value << 6) | (next & 0x3F);
    }
    constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return kReplacement;
    }
    at += static_cast<std::size_t>(length);
    return value;
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string result;
    std::size_t at = 0;
    while (at < text.size()) {
        const char32_t c = NextCodePoint(text, at);
        if (c < 0x10000) {
            result += static_cast<char16_t>(c);
            continue;
        }
        result += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
        result += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    }
    return result;
}

std::optional<std::uint16_t> ParseOrdinal(std::string_view digits) {
    if (digits.empty() || digits.size() > 5) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint32_t>(c - '0');
    }
    if (value > 0xFFFF) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

}  // namespace

std::optional<ResId> ResIdFromArgument(LPCSTR argument) {
    if (IS_INTRESOURCE(argument)) {
        return ResId(static_cast<std::uint16_t>(reinterpret_cast<ULONG_PTR>(argument)));
    }
    const std::string_view text(argument);
    if (!text.empty() && text[0] == '#') {
        const auto ordinal = ParseOrdinal(text.substr(1));
        if (!ordinal) {
            return std::nullopt;
        }
        return ResId(*ordinal);
    }
    return ResId(Utf8ToUtf16(text));
}

}  // namespace winapi::resource
