// Where a DC may draw: a set of disjoint rectangles. IntersectClipRect and the window's canvas
// narrow it; ExcludeClipRect punches holes, which is why one rectangle is not enough.
#pragma once

#include <vector>

#include "platform/display/backend.h"

namespace winapi::gdi {

class ClipRegion {
public:
    ClipRegion() = default;
    explicit ClipRegion(const display::Rect& rect);
    // A region larger than any surface: a DC without a clip region of its own.
    static ClipRegion Unlimited();

    void Intersect(const display::Rect& rect);
    void Intersect(const ClipRegion& other);
    void Subtract(const display::Rect& rect);
    ClipRegion Offset(int dx, int dy) const;

    const std::vector<display::Rect>& Rects() const { return m_rects; }
    bool IsEmpty() const { return m_rects.empty(); }
    bool Contains(display::Point point) const;
    display::Rect Bounds() const;
    // NULLREGION, SIMPLEREGION or COMPLEXREGION.
    int Complexity() const;

private:
    std::vector<display::Rect> m_rects;
};

}  // namespace winapi::gdi
