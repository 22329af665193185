#include "platform/winapi/gdi/clip_region.h"

#include <algorithm>

#include <windows.h>

namespace winapi::gdi {

ClipRegion::ClipRegion(const display::Rect& rect) {
    if (!rect.IsEmpty())
        m_rects.push_back(rect);
}

ClipRegion ClipRegion::Unlimited() {
    constexpr int kFar = 1 << 28;
    return ClipRegion({-kFar, -kFar, kFar, kFar});
}

void ClipRegion::Intersect(const display::Rect& rect) {
    std::vector<display::Rect> kept;
    for (const display::Rect& r : m_rects) {
        const display::Rect piece = r.Intersect(rect);
        if (!piece.IsEmpty())
            kept.push_back(piece);
    }
    m_rects = std::move(kept);
}

void ClipRegion::Intersect(const ClipRegion& other) {
    std::vector<display::Rect> kept;
    for (const display::Rect& a : m_rects)
        for (const display::Rect& b : other.m_rects) {
            const display::Rect piece = a.Intersect(b);
            if (!piece.IsEmpty())
                kept.push_back(piece);
        }
    m_rects = std::move(kept);
}

void ClipRegion::Subtract(const display::Rect& hole) {
    if (hole.IsEmpty())
        return;
    std::vector<display::Rect> kept;
    for (const display::Rect& r : m_rects) {
        const display::Rect cut = r.Intersect(hole);
        if (cut.IsEmpty()) {
            kept.push_back(r);
            continue;
        }
        const display::Rect pieces[] = {
            {r.left, r.top, r.right, cut.top},
            {r.left, cut.bottom, r.right, r.bottom},
            {r.left, cut.top, cut.left, cut.bottom},
            {cut.right, cut.top, r.right, cut.bottom},
        };
        for (const display::Rect& piece : pieces)
            if (!piece.IsEmpty())
                kept.push_back(piece);
    }
    m_rects = std::move(kept);
}

ClipRegion ClipRegion::Offset(int dx, int dy) const {
    ClipRegion moved;
    for (const display::Rect& r : m_rects)
        moved.m_rects.push_back(r.Offset(dx, dy));
    return moved;
}

bool ClipRegion::Contains(display::Point point) const {
    return std::any_of(m_rects.begin(), m_rects.end(),
                       [&](const display::Rect& r) { return r.Contains(point); });
}

display::Rect ClipRegion::Bounds() const {
    if (m_rects.empty())
        return {};
    display::Rect bounds = m_rects.front();
    for (const display::Rect& r : m_rects) {
        bounds.left = std::min(bounds.left, r.left);
        bounds.top = std::min(bounds.top, r.top);
        bounds.right = std::max(bounds.right, r.right);
        bounds.bottom = std::max(bounds.bottom, r.bottom);
    }
    return bounds;
}

int ClipRegion::Complexity() const {
    if (m_rects.empty())
        return NULLREGION;
    return m_rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

}  // namespace winapi::gdi
