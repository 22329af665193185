#include "platform/winapi/gdi/raster_op.h"

#include <array>

namespace winapi::gdi {
namespace {

using P = std::uint32_t;

P Generic(std::uint8_t table, P pattern, P source, P dest) {
    P result = 0;
    for (unsigned minterm = 0; minterm < 8; ++minterm) {
        if (((table >> minterm) & 1) == 0)
            continue;
        const P p = (minterm & 4) ? pattern : ~pattern;
        const P s = (minterm & 2) ? source : ~source;
        const P d = (minterm & 1) ? dest : ~dest;
        result |= p & s & d;
    }
    return result;
}

struct Known {
    std::uint8_t table;
    P (*apply)(std::uint8_t, P, P, P);
};

// The operations programs use, without the generic loop.
constexpr std::array<Known, 13> kKnown{{
    {0x00, [](std::uint8_t, P, P, P) -> P { return 0; }},         // BLACKNESS
    {0xFF, [](std::uint8_t, P, P, P) -> P { return 0xFFFFFF; }},  // WHITENESS
    {0xCC, [](std::uint8_t, P, P s, P) { return s; }},            // SRCCOPY
    {0x33, [](std::uint8_t, P, P s, P) { return ~s; }},           // NOTSRCCOPY
    {0xF0, [](std::uint8_t, P p, P, P) { return p; }},            // PATCOPY
    {0x55, [](std::uint8_t, P, P, P d) { return ~d; }},           // DSTINVERT
    {0x5A, [](std::uint8_t, P p, P, P d) { return p ^ d; }},      // PATINVERT
    {0x88, [](std::uint8_t, P, P s, P d) { return s & d; }},      // SRCAND
    {0xEE, [](std::uint8_t, P, P s, P d) { return s | d; }},      // SRCPAINT
    {0x66, [](std::uint8_t, P, P s, P d) { return s ^ d; }},      // SRCINVERT
    {0x44, [](std::uint8_t, P, P s, P d) { return s & ~d; }},     // SRCERASE
    {0x11, [](std::uint8_t, P, P s, P d) { return ~(s | d); }},   // NOTSRCERASE
    {0xC0, [](std::uint8_t, P p, P s, P) { return p & s; }},      // MERGECOPY
}};

}  // namespace

RasterOp::RasterOp(DWORD rop) : m_table(static_cast<std::uint8_t>(rop >> 16)), m_apply(Generic) {
    for (const Known& known : kKnown)
        if (known.table == m_table)
            m_apply = known.apply;
}

}  // namespace winapi::gdi
