#include "platform/winapi/font/utf8_reader.h"

namespace winapi::font {
namespace {

struct SequenceShape {
    int length = 0;        // 0: not a lead byte
    unsigned lead = 0;     // the lead byte's payload
    unsigned lowest = 0;   // allowed range of the second byte, which rules out overlong
    unsigned highest = 0;  // forms, surrogates and values past U+10FFFF
};

SequenceShape ShapeOf(unsigned char byte) {
    if (byte >= 0xC2 && byte <= 0xDF)
        return {2, byte & 0x1Fu, 0x80, 0xBF};
    if (byte == 0xE0)
        return {3, 0, 0xA0, 0xBF};
    if (byte == 0xED)
        return {3, 0x0D, 0x80, 0x9F};
    if (byte >= 0xE1 && byte <= 0xEF)
        return {3, byte & 0x0Fu, 0x80, 0xBF};
    if (byte == 0xF0)
        return {4, 0, 0x90, 0xBF};
    if (byte >= 0xF1 && byte <= 0xF3)
        return {4, byte & 0x07u, 0x80, 0xBF};
    if (byte == 0xF4)
        return {4, 4, 0x80, 0x8F};
    return {};
}

}  // namespace

std::optional<char32_t> Utf8Reader::Next() {
    if (m_pos >= m_text.size())
        return std::nullopt;
    const auto first = static_cast<unsigned char>(m_text[m_pos]);
    if (first < 0x80) {
        ++m_pos;
        return first;
    }
    const SequenceShape shape = ShapeOf(first);
    if (shape.length == 0 || m_pos + shape.length > m_text.size()) {
        ++m_pos;
        return kInvalidUtf8Byte;
    }
    char32_t value = shape.lead;
    for (int i = 1; i < shape.length; ++i) {
        const auto byte = static_cast<unsigned char>(m_text[m_pos + i]);
        const unsigned lowest = i == 1 ? shape.lowest : 0x80;
        const unsigned highest = i == 1 ? shape.highest : 0xBF;
        if (byte < lowest || byte > highest) {
            ++m_pos;
            return kInvalidUtf8Byte;
        }
        value = (value << 6) | (byte & 0x3Fu);
    }
    m_pos += shape.length;
    return value;
}

}  // namespace winapi::font
