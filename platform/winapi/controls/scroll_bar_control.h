// The "ScrollBar" class: a horizontal (or, with SBS_VERT, vertical) scroll bar control in the
// classic look. It reports what the user asks for to its parent with WM_HSCROLL or WM_VSCROLL
// (lParam: the bar) and never moves its own thumb: the owner answers with SetScrollPos. A held
// arrow or track repeats, first after kFirstRepeatDelay and then every kRepeatInterval; a
// dragged thumb follows the pointer and reports SB_THUMBTRACK, then SB_THUMBPOSITION on
// release. Every action ends with SB_ENDSCROLL.
#pragma once

#include <windows.h>

#include "platform/winapi/controls/message_table.h"
#include "platform/winapi/controls/scroll_bar_layout.h"
#include "platform/winapi/controls/scroll_values.h"

namespace winapi::controls {

class ScrollBarControl {
public:
    // Win32's timings for a held arrow or track.
    static constexpr UINT kFirstRepeatDelay = 200;
    static constexpr UINT kRepeatInterval = 50;

    ScrollBarControl(HWND hwnd, const CREATESTRUCTA& create);

    static const MessageTable<ScrollBarControl>& Messages();

private:
    // A press in progress: on which part, where the pointer is, and for a thumb drag where
    // the thumb is drawn and which position it last reported.
    struct Tracking {
        ScrollPart part = ScrollPart::None;
        POINT pointer{};
        bool repeating = false;
        bool over = false;
        int grab = 0;
        int thumbStart = 0;
        int trackPos = 0;
    };

    LRESULT OnEraseBackground(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM givenDc, LPARAM);
    LRESULT OnEnable(WPARAM enabled, LPARAM);
    LRESULT OnGetDlgCode(WPARAM, LPARAM);
    LRESULT OnLeftButtonDown(WPARAM, LPARAM point);
    LRESULT OnMouseMove(WPARAM, LPARAM point);
    LRESULT OnLeftButtonUp(WPARAM, LPARAM);
    LRESULT OnCaptureChanged(WPARAM, LPARAM);
    LRESULT OnTimer(WPARAM timer, LPARAM);
    LRESULT OnKeyDown(WPARAM key, LPARAM);
    LRESULT OnKeyUp(WPARAM key, LPARAM);
    LRESULT OnSetPos(WPARAM pos, LPARAM redraw);
    LRESULT OnGetPos(WPARAM, LPARAM);
    LRESULT OnSetRange(WPARAM min, LPARAM max);
    LRESULT OnSetRangeRedraw(WPARAM min, LPARAM max);
    LRESULT OnGetRange(WPARAM min, LPARAM max);
    LRESULT OnSetScrollInfo(WPARAM redraw, LPARAM info);
    LRESULT OnGetScrollInfo(WPARAM, LPARAM info);

    bool Vertical() const;
    int Along(POINT point) const { return Vertical() ? point.y : point.x; }
    ScrollBarLayout Layout() const;
    // The part under a point of the client area (None off the bar).
    ScrollPart PartAt(POINT point) const;
    // A stretch of the bar from one point along it to another, across its whole width.
    RECT Stretch(int from, int to) const;

    // WM_HSCROLL or WM_VSCROLL to the parent; false when the bar did not live through it.
    bool Notify(WORD code, int pos = 0);
    void DragThumbTo(int along);
    void EndTracking();

    void PaintArrow(HDC hdc, RECT rect, ScrollPart part, bool pressed) const;
    void PaintTrack(HDC hdc, const RECT& rect, HBRUSH brush, bool held) const;

    HWND m_hwnd;
    ScrollValues m_values;
    Tracking m_track;
};

}  // namespace winapi::controls
