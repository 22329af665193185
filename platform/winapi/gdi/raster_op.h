// Ternary raster operations: bits 16..23 of a ROP code are the truth table of the result over
// pattern, source and destination bits, evaluated on every bit of the pixel.
#pragma once

#include <cstdint>

#include <windows.h>

namespace winapi::gdi {

class RasterOp {
public:
    explicit RasterOp(DWORD rop);

    bool UsesSource() const { return (((m_table >> 2) ^ m_table) & 0x33) != 0; }
    bool UsesPattern() const { return (((m_table >> 4) ^ m_table) & 0x0F) != 0; }
    bool UsesDestination() const { return (((m_table >> 1) ^ m_table) & 0x55) != 0; }

    std::uint32_t Apply(std::uint32_t pattern, std::uint32_t source, std::uint32_t dest) const {
        return m_apply(m_table, pattern, source, dest);
    }

private:
    using Function = std::uint32_t (*)(std::uint8_t, std::uint32_t, std::uint32_t, std::uint32_t);
    std::uint8_t m_table;
    Function m_apply;
};

}  // namespace winapi::gdi
