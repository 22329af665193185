#include "platform/winapi/controls/scroll_bar_layout.h"

#include <algorithm>

#include <windows.h>

namespace winapi::controls {

ScrollBarLayout::ScrollBarLayout(int length, int arrowLength, int fixedThumb,
                                 const ScrollValues& values, bool thumbShown)
    : m_values(values), m_length(std::max(0, length)), m_arrow(std::max(0, arrowLength)) {
    if (m_length < 2 * m_arrow) {
        m_arrow = m_length / 2;
        return;
    }
    if (!thumbShown || values.IsEmpty())
        return;
    const int track = TrackEnd() - TrackStart();
    int thumb = fixedThumb;
    if (values.Page() > 0) {
        const long long whole = static_cast<long long>(values.Max()) - values.Min() + 1;
        thumb = std::max<int>(
            kMinimumThumb, static_cast<int>(track * static_cast<long long>(values.Page()) / whole));
    }
    if (thumb <= track)
        m_thumb = thumb;
}

int ScrollBarLayout::ThumbStartFor(int pos) const {
    const int span = m_values.MaxPos() - m_values.Min();
    if (!HasThumb() || span <= 0)
        return TrackStart();
    const int clamped = std::clamp(pos, m_values.Min(), m_values.MaxPos());
    return TrackStart() + MulDiv(Travel(), clamped - m_values.Min(), span);
}

int ScrollBarLayout::ClampThumbStart(int start) const {
    return std::clamp(start, TrackStart(), TrackStart() + std::max(0, Travel()));
}

int ScrollBarLayout::PosAtThumbStart(int start) const {
    if (!HasThumb() || Travel() <= 0)
        return m_values.Min();
    const int offset = ClampThumbStart(start) - TrackStart();
    return m_values.Min() + MulDiv(offset, m_values.MaxPos() - m_values.Min(), Travel());
}

ScrollPart ScrollBarLayout::PartAt(int along, int thumbStart) const {
    if (along < 0 || along >= m_length)
        return ScrollPart::None;
    if (along < TrackStart())
        return ScrollPart::LineBack;
    if (along >= TrackEnd())
        return ScrollPart::LineForward;
    if (!HasThumb() || along < thumbStart)
        return ScrollPart::PageBack;
    if (along >= thumbStart + m_thumb)
        return ScrollPart::PageForward;
    return ScrollPart::Thumb;
}

}  // namespace winapi::controls
