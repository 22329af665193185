#include "platform/winapi/gdi/painter.h"

#include <algorithm>

#include "platform/winapi/gdi/bitmap.h"

namespace winapi::gdi {
namespace {

display::Rect Union(const display::Rect& a, const display::Rect& b) {
    if (a.IsEmpty())
        return b;
    if (b.IsEmpty())
        return a;
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

constexpr std::uint32_t kColourBits = 0xFFFFFF;

}  // namespace

Painter::Painter(DrawTarget target) : m_target(std::move(target)) {
    if (m_target.surface == nullptr)
        m_target.clip = ClipRegion();
}

Painter::~Painter() {
    if (m_changed.IsEmpty() || m_target.surface == nullptr)
        return;
    if (m_target.monochrome) {
        for (int y = m_changed.top; y < m_changed.bottom; ++y)
            for (int x = m_changed.left; x < m_changed.right; ++x)
                At(x, y) = MonochromePixel(At(x, y));
    }
    if (m_target.window)
        MarkCanvasDirty(m_target.surface, m_changed.Offset(m_target.origin.x, m_target.origin.y));
}

void Painter::Touch(const display::Rect& rect) {
    m_changed = Union(m_changed, rect);
}

void Painter::Fill(const display::Rect& rect, const RasterOp& rop, std::uint32_t pattern) {
    for (const display::Rect& clip : m_target.clip.Rects()) {
        const display::Rect piece = rect.Intersect(clip);
        if (piece.IsEmpty())
            continue;
        for (int y = piece.top; y < piece.bottom; ++y) {
            std::uint32_t* row = &At(piece.left, y);
            for (int i = 0; i < piece.Width(); ++i)
                row[i] = rop.Apply(pattern, 0, row[i]) & kColourBits;
        }
        Touch(piece);
    }
}

void Painter::Fill(const display::Rect& rect, std::uint32_t pixel) {
    for (const display::Rect& clip : m_target.clip.Rects()) {
        const display::Rect piece = rect.Intersect(clip);
        if (piece.IsEmpty())
            continue;
        for (int y = piece.top; y < piece.bottom; ++y) {
            std::uint32_t* row = &At(piece.left, y);
            std::fill(row, row + piece.Width(), pixel & kColourBits);
        }
        Touch(piece);
    }
}

void Painter::Plot(int x, int y, std::uint32_t pixel) {
    if (!m_target.clip.Contains({x, y}))
        return;
    At(x, y) = pixel & kColourBits;
    Touch({x, y, x + 1, y + 1});
}

std::optional<std::uint32_t> Painter::Read(int x, int y) const {
    if (!m_target.clip.Contains({x, y}))
        return std::nullopt;
    return m_target.surface->At(x + m_target.origin.x, y + m_target.origin.y);
}

void Painter::Blend(int x, int y, int width, int height, std::span<const std::uint32_t> argb) {
    const display::Rect area{x, y, x + width, y + height};
    for (const display::Rect& clip : m_target.clip.Rects()) {
        const display::Rect piece = area.Intersect(clip);
        if (piece.IsEmpty())
            continue;
        for (int py = piece.top; py < piece.bottom; ++py)
            for (int px = piece.left; px < piece.right; ++px) {
                const std::uint32_t src = argb[static_cast<std::size_t>(py - y) * width +
                                               static_cast<std::size_t>(px - x)];
                const std::uint32_t alpha = src >> 24;
                if (alpha == 0)
                    continue;
                std::uint32_t& dst = At(px, py);
                std::uint32_t out = 0;
                for (int shift = 0; shift <= 16; shift += 8) {
                    const std::uint32_t s = (src >> shift) & 0xFF;
                    const std::uint32_t d = (dst >> shift) & 0xFF;
                    out |= ((s * alpha + d * (255 - alpha) + 127) / 255) << shift;
                }
                dst = out;
            }
        Touch(piece);
    }
}

void Painter::Text(const font::Font& face, int x, int y, std::string_view utf8,
                   std::uint32_t pixel) {
    if (utf8.empty())
        return;
    const int width = face.TextWidth(utf8);
    const int height = face.Metrics().height;
    // Glyphs may overhang their advance a little (italics, wide strokes).
    const int slack = std::max(2, height / 2);
    const display::Rect cell{x - slack, y, x + width + slack, y + height};
    for (const display::Rect& clip : m_target.clip.Rects()) {
        const display::Rect piece = cell.Intersect(clip);
        if (piece.IsEmpty())
            continue;
        face.Draw(*m_target.surface, x + m_target.origin.x, y + m_target.origin.y, utf8, pixel,
                  piece.Offset(m_target.origin.x, m_target.origin.y));
        Touch(piece);
    }
}

}  // namespace winapi::gdi
