#include "platform/winapi/resource/resource_name.h"

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/winapi/utf8.h"

namespace winapi::resource {
namespace {

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
