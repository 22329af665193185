// The two text encodings X uses for titles and selections: UTF-8 and ISO Latin-1 (STRING).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace display::x11 {

std::string Latin1ToUtf8(std::string_view latin1);
// Null when the text is not well-formed UTF-8 or has a character beyond U+00FF.
std::optional<std::string> Utf8ToLatin1(std::string_view utf8);

}  // namespace display::x11
