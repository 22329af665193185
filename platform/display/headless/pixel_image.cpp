#include "platform/display/headless/pixel_image.h"

#include <algorithm>

namespace display {

PixelImage::PixelImage(int width, int height, std::uint32_t fill)
    : m_width(std::max(width, 0)),
      m_height(std::max(height, 0)),
      m_pixels(std::size_t(m_width) * m_height, fill) {}

void PixelImage::Fill(const Rect& area, std::uint32_t colour) {
    const Rect r = area.Intersect(Bounds());
    for (int y = r.top; y < r.bottom; ++y) {
        std::fill(MutableRow(y) + r.left, MutableRow(y) + r.right, colour);
    }
}

void PixelImage::Set(Point p, std::uint32_t colour) {
    if (Bounds().Contains(p)) {
        MutableRow(p.y)[p.x] = colour;
    }
}

void PixelImage::Resize(int width, int height, std::uint32_t fill) {
    PixelImage resized(width, height, fill);
    resized.CopyFrom(View(), Bounds());
    *this = std::move(resized);
}

void PixelImage::CopyFrom(const PixelView& source, const Rect& area) {
    if (source.pixels == nullptr || source.stride < source.width) {
        return;
    }
    const Rect r = area.Intersect(Bounds()).Intersect({0, 0, source.width, source.height});
    for (int y = r.top; y < r.bottom; ++y) {
        const std::uint32_t* from = source.pixels + std::size_t(y) * source.stride;
        std::copy(from + r.left, from + r.right, MutableRow(y) + r.left);
    }
}

}  // namespace display
