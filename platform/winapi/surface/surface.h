// A 32-bit pixel surface: the backing store of a top-level window or a bitmap's bits.
// Pixels are 0x00RRGGBB (the order of a 32-bit DIB and of an X11 ZPixmap), rows top-down.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/display/backend.h"

namespace winapi::gdi {

// COLORREF is 0x00BBGGRR; surface pixels are 0x00RRGGBB.
constexpr std::uint32_t PixelFromColorRef(std::uint32_t colorRef) {
    return ((colorRef & 0xFFu) << 16) | (colorRef & 0xFF00u) | ((colorRef >> 16) & 0xFFu);
}
constexpr std::uint32_t ColorRefFromPixel(std::uint32_t pixel) {
    return ((pixel & 0xFFu) << 16) | (pixel & 0xFF00u) | ((pixel >> 16) & 0xFFu);
}

class Surface {
public:
    Surface() = default;
    Surface(int width, int height, std::uint32_t fill = 0)
        : m_width(width > 0 ? width : 0),
          m_height(height > 0 ? height : 0),
          m_pixels(static_cast<std::size_t>(m_width) * m_height, fill) {}

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    display::Rect Bounds() const { return {0, 0, m_width, m_height}; }

    std::uint32_t* Row(int y) { return m_pixels.data() + static_cast<std::size_t>(y) * m_width; }
    const std::uint32_t* Row(int y) const {
        return m_pixels.data() + static_cast<std::size_t>(y) * m_width;
    }
    std::uint32_t& At(int x, int y) { return Row(y)[x]; }
    std::uint32_t At(int x, int y) const { return Row(y)[x]; }

    // New size; the part that both sizes share keeps its pixels, the rest is fill.
    void Resize(int width, int height, std::uint32_t fill) {
        Surface resized(width, height, fill);
        for (int y = 0; y < resized.m_height && y < m_height; ++y)
            for (int x = 0; x < resized.m_width && x < m_width; ++x)
                resized.At(x, y) = At(x, y);
        *this = std::move(resized);
    }

    display::PixelView View() const { return {m_pixels.data(), m_width, m_height, m_width}; }

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint32_t> m_pixels;
};

}  // namespace winapi::gdi
