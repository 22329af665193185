// The numbers behind a scroll bar: its range, page and position, kept consistent the way
// Win32 keeps them. A new scroll bar control has an empty range (0 to 0).
#pragma once

#include <windows.h>

namespace winapi::controls {

class ScrollValues {
public:
    int Min() const { return m_min; }
    int Max() const { return m_max; }
    UINT Page() const { return m_page; }
    int Pos() const { return m_pos; }
    // The highest position the thumb reaches: where the page's last item is the range's end.
    int MaxPos() const;
    // No position but the minimum: the bar has nothing to scroll.
    bool IsEmpty() const { return MaxPos() <= m_min; }

    // Clamps pos into the range; answers the position before.
    int SetPos(int pos);
    // A range whose minimum exceeds its maximum, or that spans more than MAXLONG, becomes
    // the empty range 0 to 0, as SetScrollInfo treats it.
    void SetRange(int min, int max);
    // The SIF_RANGE, SIF_PAGE and SIF_POS fields of info, in that order; answers the position
    // after.
    int Apply(const SCROLLINFO& info);
    // The fields fMask asks for; the tracking position is trackPos.
    void Fill(SCROLLINFO& info, int trackPos) const;

private:
    void ClampPage();
    void ClampPos();

    int m_min = 0;
    int m_max = 0;
    UINT m_page = 0;
    int m_pos = 0;
};

// SCROLLINFO as Win32 accepts it: its size with or without nTrackPos, and no unknown flags.
bool IsValidScrollInfo(const SCROLLINFO* info);

}  // namespace winapi::controls
