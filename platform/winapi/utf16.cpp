#include "platform/winapi/utf16.h"

#include <cstddef>

#include "platform/winapi/utf8.h"

namespace winapi {
namespace {

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        char32_t code = unit;
        if (IsHighSurrogate(unit)) {
            if (i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
                code = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) +
                       (static_cast<char32_t>(text[i + 1]) - 0xDC00);
                ++i;
            } else {
                code = kReplacementCharacter;
            }
        } else if (IsLowSurrogate(unit)) {
            code = kReplacementCharacter;
        }
        AppendUtf8(out, code);
    }
    return out;
}

}  // namespace winapi
