// One drawing call's access to a DC's pixels, in device coordinates and always inside the clip.
// When it ends it keeps monochrome bitmaps black and white and tells the window system which
// part of a window's canvas changed.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/winapi/font/font_engine.h"
#include "platform/winapi/gdi/device_context.h"
#include "platform/winapi/gdi/raster_op.h"

namespace winapi::gdi {

class Painter {
public:
    explicit Painter(DrawTarget target);
    ~Painter();
    Painter(const Painter&) = delete;
    Painter& operator=(const Painter&) = delete;

    // False for the desktop, which has no pixels of its own to draw on.
    bool CanDraw() const { return m_target.surface != nullptr; }
    const ClipRegion& Clip() const { return m_target.clip; }
    // Narrows the clip for the rest of this call (ETO_CLIPPED, DrawText's rectangle).
    void Restrict(const display::Rect& rect) { m_target.clip.Intersect(rect); }
    bool IsMonochrome() const { return m_target.monochrome; }

    // rect combined with a solid pattern (0x00RRGGBB) through rop.
    void Fill(const display::Rect& rect, const RasterOp& rop, std::uint32_t pattern);
    void Fill(const display::Rect& rect, std::uint32_t pixel);
    void Plot(int x, int y, std::uint32_t pixel);
    // Pixels read at a device point, inside the clip only.
    std::optional<std::uint32_t> Read(int x, int y) const;

    // Calls change(x, y, pixel) for every pixel of rect inside the clip; change may rewrite the
    // pixel (all 32 bits; callers drawing colours leave the top byte 0).
    template <typename Change>
    void Apply(const display::Rect& rect, Change&& change) {
        ApplyRows(rect, [&](int y, int left, int right, std::uint32_t* row) {
            for (int x = left; x < right; ++x)
                change(x, y, row[x - left]);
        });
    }

    // The same a row at a time: change(y, left, right, row) for every row piece of rect inside
    // the clip, row pointing at the pixel (left, y), for callers that write whole runs.
    template <typename ChangeRow>
    void ApplyRows(const display::Rect& rect, ChangeRow&& change) {
        for (const display::Rect& clip : m_target.clip.Rects()) {
            const display::Rect piece = rect.Intersect(clip);
            if (piece.IsEmpty())
                continue;
            for (int y = piece.top; y < piece.bottom; ++y)
                change(y, piece.left, piece.right, &At(piece.left, y));
            Touch(piece);
        }
    }

    // Straight-alpha ARGB over the destination.
    void Blend(int x, int y, int width, int height, std::span<const std::uint32_t> argb);

    // Text with the top of its cell at (x, y).
    void Text(const font::Font& face, int x, int y, std::string_view utf8, std::uint32_t pixel);

private:
    void Touch(const display::Rect& rect);
    std::uint32_t& At(int x, int y) {
        return m_target.surface->At(x + m_target.origin.x, y + m_target.origin.y);
    }

    DrawTarget m_target;
    display::Rect m_changed;
};

}  // namespace winapi::gdi
