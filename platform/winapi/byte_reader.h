#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <variant>

namespace winapi {

// A cursor over the little-endian bytes of a resource. Every read is checked against the end:
// a read that does not fit fails and leaves the cursor where it was, so a truncated or garbled
// resource can only make a reader give up, never read past its bytes.
class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}

    std::size_t Position() const { return m_pos; }
    std::size_t Remaining() const { return m_bytes.size() - m_pos; }

    bool Skip(std::size_t count) {
        if (count > Remaining()) {
            return false;
        }
        m_pos += count;
        return true;
    }

    // Alignment counts from the first byte, which every caller places on a DWORD boundary.
    bool Align(std::size_t alignment) {
        const std::size_t misalignment = m_pos % alignment;
        return misalignment == 0 || Skip(alignment - misalignment);
    }

    std::optional<std::span<const std::uint8_t>> Bytes(std::size_t count) {
        if (count > Remaining()) {
            return std::nullopt;
        }
        const auto bytes = m_bytes.subspan(m_pos, count);
        m_pos += count;
        return bytes;
    }

    std::optional<std::uint8_t> U8() {
        if (Remaining() < 1) {
            return std::nullopt;
        }
        return m_bytes[m_pos++];
    }

    std::optional<std::uint16_t> U16() {
        if (Remaining() < 2) {
            return std::nullopt;
        }
        const auto value = static_cast<std::uint16_t>(m_bytes[m_pos] | (m_bytes[m_pos + 1] << 8));
        m_pos += 2;
        return value;
    }

    std::optional<std::int16_t> I16() {
        const auto value = U16();
        if (!value) {
            return std::nullopt;
        }
        return static_cast<std::int16_t>(*value);
    }

    std::optional<std::uint32_t> U32() {
        if (Remaining() < 4) {
            return std::nullopt;
        }
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i) {
            value = (value << 8) | m_bytes[m_pos + static_cast<std::size_t>(i)];
        }
        m_pos += 4;
        return value;
    }

    // A NUL-terminated UTF-16 string; fails when the bytes end before the terminator.
    std::optional<std::u16string> String() {
        const std::size_t start = m_pos;
        std::u16string text;
        while (const auto unit = U16()) {
            if (*unit == 0) {
                return text;
            }
            text += static_cast<char16_t>(*unit);
        }
        m_pos = start;
        return std::nullopt;
    }

    // The "name or ordinal" field of resource headers and dialog templates: 0xFFFF followed by
    // a 16-bit ordinal, or else a NUL-terminated UTF-16 string (a lone 0x0000 is the empty one).
    std::optional<std::variant<std::uint16_t, std::u16string>> NameOrOrdinal() {
        const std::size_t start = m_pos;
        const auto first = U16();
        if (!first) {
            return std::nullopt;
        }
        if (*first == 0xFFFF) {
            if (const auto ordinal = U16()) {
                return *ordinal;
            }
            m_pos = start;
            return std::nullopt;
        }
        m_pos = start;
        if (auto name = String()) {
            return std::move(*name);
        }
        return std::nullopt;
    }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_pos = 0;
};

}  // namespace winapi
