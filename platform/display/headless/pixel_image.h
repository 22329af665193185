// An owned block of 0x00RRGGBB (or 0xAARRGGBB) pixels, rows top-down without padding: the
// headless desktop, the last presented image of each surface, and surface icons.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/display/backend.h"

namespace display {

class PixelImage {
public:
    PixelImage() = default;
    PixelImage(int width, int height, std::uint32_t fill);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    Rect Bounds() const { return {0, 0, m_width, m_height}; }
    const std::uint32_t* Row(int y) const { return m_pixels.data() + std::size_t(y) * m_width; }
    std::uint32_t At(Point p) const { return Row(p.y)[p.x]; }
    PixelView View() const { return {m_pixels.data(), m_width, m_height, m_width}; }

    // Both clip to the image.
    void Fill(const Rect& area, std::uint32_t colour);
    void Set(Point p, std::uint32_t colour);
    // Keeps the pixels both sizes share at the top left; new pixels are `fill`.
    void Resize(int width, int height, std::uint32_t fill);
    // Copies area, in coordinates both images share, clipped to both.
    void CopyFrom(const PixelView& source, const Rect& area);

private:
    std::uint32_t* MutableRow(int y) { return m_pixels.data() + std::size_t(y) * m_width; }

    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint32_t> m_pixels;
};

}  // namespace display
