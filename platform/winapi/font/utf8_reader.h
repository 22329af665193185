// Reads UTF-8 one character at a time, the way text reaches the font engine from the A
// functions. A byte that does not begin a well-formed sequence is one character of its own, so
// a caret or an advance table never skips or merges bytes of broken text.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace winapi::font {

// Stands for one byte that is not part of a well-formed sequence; outside Unicode's range.
inline constexpr char32_t kInvalidUtf8Byte = 0x110000;

class Utf8Reader {
public:
    explicit Utf8Reader(std::string_view text) : m_text(text) {}

    // The next character, kInvalidUtf8Byte for a stray byte, nothing at the end.
    std::optional<char32_t> Next();

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

}  // namespace winapi::font
