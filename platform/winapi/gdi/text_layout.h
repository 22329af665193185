// DrawText's lines: paragraphs split at line breaks, "&" prefixes resolved to underlined
// characters, and with DT_WORDBREAK lines broken where a word would pass the right edge.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <windows.h>

#include "platform/winapi/font/font_engine.h"

namespace winapi::gdi {

struct TextLine {
    std::string text;  // what is drawn
    // Byte ranges [first, second) of text whose character is underlined (a "&" prefix).
    std::vector<std::pair<std::size_t, std::size_t>> underlined;
};

class TextLayout {
public:
    TextLayout(const font::Font& face, UINT format, int width)
        : m_face(face), m_format(format), m_width(width) {}

    std::vector<TextLine> Lines(std::string_view text) const;

private:
    struct Character {
        std::string_view text;
        bool underlined = false;
    };
    std::vector<Character> ResolvePrefixes(std::string_view paragraph) const;
    void Break(const std::vector<Character>& characters, std::vector<TextLine>& lines) const;

    const font::Font& m_face;
    UINT m_format;
    int m_width;
};

}  // namespace winapi::gdi
