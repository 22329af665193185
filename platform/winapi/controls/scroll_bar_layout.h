// Where the parts of a scroll bar lie along its length: two arrow buttons at the ends, the
// track between them, and in the track the thumb, whose place stands for the position. The
// thumb has the classic fixed length when the bar has no page, else the page's share of the
// track. A bar too short for both arrows at full size shares its length between them and has
// no thumb; so does a bar with nothing to scroll.
#pragma once

#include "platform/winapi/controls/scroll_values.h"

namespace winapi::controls {

enum class ScrollPart { None, LineBack, PageBack, Thumb, PageForward, LineForward };

class ScrollBarLayout {
public:
    static constexpr int kMinimumThumb = 8;

    // length: the bar along its direction; arrowLength and fixedThumb: the sizes the system
    // metrics give; thumbShown: false for a disabled bar.
    ScrollBarLayout(int length, int arrowLength, int fixedThumb, const ScrollValues& values,
                    bool thumbShown);

    int Length() const { return m_length; }
    int ArrowLength() const { return m_arrow; }
    int TrackStart() const { return m_arrow; }
    int TrackEnd() const { return m_length - m_arrow; }
    bool HasThumb() const { return m_thumb > 0; }
    int ThumbLength() const { return m_thumb; }

    // Where the thumb starts for pos (rounded to the nearest pixel).
    int ThumbStartFor(int pos) const;
    int ThumbStart() const { return ThumbStartFor(m_values.Pos()); }
    // A thumb start kept within the track.
    int ClampThumbStart(int start) const;
    // The position a thumb starting there stands for (rounded to the nearest position).
    int PosAtThumbStart(int start) const;
    // The part at a point along the bar, with the thumb starting at thumbStart.
    ScrollPart PartAt(int along, int thumbStart) const;

private:
    int Travel() const { return TrackEnd() - TrackStart() - m_thumb; }

    ScrollValues m_values;
    int m_length;
    int m_arrow;
    int m_thumb = 0;
};

}  // namespace winapi::controls
