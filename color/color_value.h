#pragma once

#include <cstdint>

namespace color {

// A colour packed as 0x00BBGGRR: red in bits 0-7, green in 8-15, blue in 16-23, the top byte
// zero. These are the bits of the Win32 COLORREF, so the two convert to each other freely; the
// alias has its own name so that this header never competes with <windows.h> for COLORREF.
using ColorRef = std::uint32_t;

inline constexpr ColorRef kWhite = 0x00FFFFFF;

// Three channels as signed integers, each normally 0 to 255.
struct ChannelTriple {
    int red = 0;
    int green = 0;
    int blue = 0;

    friend bool operator==(const ChannelTriple&, const ChannelTriple&) = default;
};

// Takes only the low 8 bits of each channel: a red of 300 packs as 44.
constexpr ColorRef PackRgb(int red, int green, int blue) {
    return (static_cast<ColorRef>(red) & 0xFF) | (static_cast<ColorRef>(green) & 0xFF) << 8 |
           (static_cast<ColorRef>(blue) & 0xFF) << 16;
}

// Ignores the top byte, so a value with it set (a failed pixel read) still yields three bytes.
constexpr ChannelTriple UnpackRgb(ColorRef color) {
    return {static_cast<int>(color & 0xFF), static_cast<int>(color >> 8 & 0xFF),
            static_cast<int>(color >> 16 & 0xFF)};
}

}  // namespace color
