#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <variant>

namespace winapi {

// A cursor over the little-endian bytes of a resource. A read that does not fit fails, and the
// failure sticks: that read and every later one return 0 or empty without moving the cursor. A
// parser reads a whole record straight into its fields and checks Ok() once at the end, so a
// truncated or garbled resource can only make it give up, never read past its bytes.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    bool Ok() const { return m_ok; }
    std::size_t Remaining() const { return m_bytes.size() - m_pos; }

    // For a fault the bytes show otherwise than by running out, such as runaway nesting.
    void Fail() { m_ok = false; }

    std::span<const std::uint8_t> Bytes(std::size_t count) {
        if (!m_ok || count > Remaining()) {
            m_ok = false;
            return {};
        }
        const auto bytes = m_bytes.subspan(m_pos, count);
        m_pos += count;
        return bytes;
    }

    void Skip(std::size_t count) { Bytes(count); }

    // Alignment counts from the first byte, which every caller places on a DWORD boundary.
    void Align(std::size_t alignment) {
        if (m_pos % alignment != 0) {
            Skip(alignment - m_pos % alignment);
        }
    }

    std::uint8_t U8() { return static_cast<std::uint8_t>(Number(1)); }
    std::uint16_t U16() { return static_cast<std::uint16_t>(Number(2)); }
    std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
    std::uint32_t U32() { return Number(4); }

    // A NUL-terminated UTF-16 string; fails when the bytes end before the terminator.
    std::u16string String() {
        std::u16string text;
        while (const std::uint16_t unit = U16()) {
            text += static_cast<char16_t>(unit);
        }
        return m_ok ? text : std::u16string();
    }

    // The "name or ordinal" field of resource headers and dialog templates: 0xFFFF followed by
    // a 16-bit ordinal, or else a NUL-terminated UTF-16 string (a lone 0x0000 is the empty one).
    std::variant<std::uint16_t, std::u16string> NameOrOrdinal() {
        const std::size_t start = m_pos;
        if (U16() == 0xFFFF) {
            return U16();
        }
        // The unit just read was the string's first.
        m_pos = start;
        return String();
    }

private:
    // The next count bytes as a little-endian number; 0 when they do not fit.
    std::uint32_t Number(std::size_t count) {
        std::uint32_t value = 0;
        const auto bytes = Bytes(count);
        for (std::size_t i = bytes.size(); i > 0; --i) {
            value = (value << 8) | bytes[i - 1];
        }
        return value;
    }

    std::span<const std::uint8_t> m_bytes;
    std::size_t m_pos = 0;
    bool m_ok = true;
};

}  // namespace winapi
