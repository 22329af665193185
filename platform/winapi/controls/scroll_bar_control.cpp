#include "platform/winapi/controls/scroll_bar_control.h"

#include <windowsx.h>

#include "platform/winapi/controls/classic_look.h"
#include "platform/winapi/controls/control_class.h"
#include "platform/winapi/controls/control_paint.h"
#include "platform/winapi/system_classes.h"

namespace winapi::controls {
namespace {

constexpr ATOM kScrollBarAtom = 0x0084;
constexpr UINT_PTR kRepeatTimer = 1;

const SystemClassRegistration kRegistration([] {
    ControlClass<ScrollBarControl>::Register(
        "ScrollBar", CS_DBLCLKS | CS_VREDRAW | CS_HREDRAW | CS_PARENTDC, kScrollBarAtom);
});

// What each part asks for while it is held.
struct PartRequest {
    ScrollPart part;
    WORD code;
};

constexpr PartRequest kPartRequests[] = {
    {ScrollPart::LineBack, SB_LINEUP},
    {ScrollPart::PageBack, SB_PAGEUP},
    {ScrollPart::PageForward, SB_PAGEDOWN},
    {ScrollPart::LineForward, SB_LINEDOWN},
};

WORD RequestOf(ScrollPart part) {
    for (const PartRequest& request : kPartRequests)
        if (request.part == part)
            return request.code;
    return SB_ENDSCROLL;
}

// The keyboard interface of a focused bar; any arrow key steps, whatever the bar's direction.
struct KeyRequest {
    WPARAM key;
    WORD code;
};

constexpr KeyRequest kKeyRequests[] = {
    {VK_LEFT, SB_LINEUP},  {VK_UP, SB_LINEUP},     {VK_RIGHT, SB_LINEDOWN}, {VK_DOWN, SB_LINEDOWN},
    {VK_PRIOR, SB_PAGEUP}, {VK_NEXT, SB_PAGEDOWN}, {VK_HOME, SB_TOP},       {VK_END, SB_BOTTOM},
};

const KeyRequest* RequestOfKey(WPARAM key) {
    for (const KeyRequest& request : kKeyRequests)
        if (request.key == key)
            return &request;
    return nullptr;
}

int IntOf(WPARAM value) {
    return static_cast<int>(static_cast<INT_PTR>(value));
}

int IntOf(LPARAM value) {
    return static_cast<int>(value);
}

}  // namespace

ScrollBarControl::ScrollBarControl(HWND hwnd, const CREATESTRUCTA&) : m_hwnd(hwnd) {}

const MessageTable<ScrollBarControl>& ScrollBarControl::Messages() {
    static const MessageTable<ScrollBarControl> table{
        {WM_ERASEBKGND, &ScrollBarControl::OnEraseBackground},
        {WM_PAINT, &ScrollBarControl::OnPaint},
        {WM_PRINTCLIENT, &ScrollBarControl::OnPaint},
        {WM_ENABLE, &ScrollBarControl::OnEnable},
        {WM_GETDLGCODE, &ScrollBarControl::OnGetDlgCode},
        {WM_LBUTTONDOWN, &ScrollBarControl::OnLeftButtonDown},
        {WM_LBUTTONDBLCLK, &ScrollBarControl::OnLeftButtonDown},
        {WM_MOUSEMOVE, &ScrollBarControl::OnMouseMove},
        {WM_LBUTTONUP, &ScrollBarControl::OnLeftButtonUp},
        {WM_CAPTURECHANGED, &ScrollBarControl::OnCaptureChanged},
        {WM_TIMER, &ScrollBarControl::OnTimer},
        {WM_KEYDOWN, &ScrollBarControl::OnKeyDown},
        {WM_KEYUP, &ScrollBarControl::OnKeyUp},
        {SBM_SETPOS, &ScrollBarControl::OnSetPos},
        {SBM_GETPOS, &ScrollBarControl::OnGetPos},
        {SBM_SETRANGE, &ScrollBarControl::OnSetRange},
        {SBM_SETRANGEREDRAW, &ScrollBarControl::OnSetRangeRedraw},
        {SBM_GETRANGE, &ScrollBarControl::OnGetRange},
        {SBM_SETSCROLLINFO, &ScrollBarControl::OnSetScrollInfo},
        {SBM_GETSCROLLINFO, &ScrollBarControl::OnGetScrollInfo},
    };
    return table;
}

bool ScrollBarControl::Vertical() const {
    return (GetWindowLongA(m_hwnd, GWL_STYLE) & SBS_VERT) != 0;
}

ScrollBarLayout ScrollBarControl::Layout() const {
    const RECT client = ClientRect(m_hwnd);
    const bool vertical = Vertical();
    const int length = vertical ? client.bottom : client.right;
    const int arrow = GetSystemMetrics(vertical ? SM_CYVSCROLL : SM_CXHSCROLL);
    const int thumb = GetSystemMetrics(vertical ? SM_CYVTHUMB : SM_CXHTHUMB);
    return ScrollBarLayout(length, arrow, thumb, m_values, IsWindowEnabled(m_hwnd) != FALSE);
}

ScrollPart ScrollBarControl::PartAt(POINT point) const {
    const RECT client = ClientRect(m_hwnd);
    if (!PtInRect(&client, point))
        return ScrollPart::None;
    const ScrollBarLayout layout = Layout();
    return layout.PartAt(Along(point), layout.ThumbStart());
}

RECT ScrollBarControl::Stretch(int from, int to) const {
    const RECT client = ClientRect(m_hwnd);
    if (Vertical())
        return {client.left, from, client.right, to};
    return {from, client.top, to, client.bottom};
}

bool ScrollBarControl::Notify(WORD code, int pos) {
    const HWND hwnd = m_hwnd;
    const HWND parent = GetParent(hwnd);
    if (parent == nullptr)
        return true;
    SendMessageA(parent, Vertical() ? WM_VSCROLL : WM_HSCROLL,
                 MAKEWPARAM(code, static_cast<WORD>(pos)), reinterpret_cast<LPARAM>(hwnd));
    return IsWindow(hwnd) != FALSE;
}

LRESULT ScrollBarControl::OnEraseBackground(WPARAM, LPARAM) {
    return TRUE;
}

LRESULT ScrollBarControl::OnPaint(WPARAM givenDc, LPARAM) {
    const PaintDc paint(m_hwnd, givenDc);
    const HDC hdc = paint.Dc();
    if (hdc == nullptr)
        return 0;
    const SavedDcColours saved(hdc);
    const HBRUSH brush = AskParentForColours(m_hwnd, hdc, WM_CTLCOLORSCROLLBAR);
    const ScrollBarLayout layout = Layout();
    const ScrollPart held = m_track.over ? m_track.part : ScrollPart::None;
    PaintArrow(hdc, Stretch(0, layout.TrackStart()), ScrollPart::LineBack,
               held == ScrollPart::LineBack);
    PaintArrow(hdc, Stretch(layout.TrackEnd(), layout.Length()), ScrollPart::LineForward,
               held == ScrollPart::LineForward);
    if (layout.TrackEnd() <= layout.TrackStart())
        return 0;
    if (!layout.HasThumb()) {
        PaintTrack(hdc, Stretch(layout.TrackStart(), layout.TrackEnd()), brush, false);
        return 0;
    }
    // A dragged thumb is drawn where the pointer holds it, not where the position puts it.
    const int thumbStart =
        m_track.part == ScrollPart::Thumb ? m_track.thumbStart : layout.ThumbStart();
    const int thumbEnd = thumbStart + layout.ThumbLength();
    PaintTrack(hdc, Stretch(layout.TrackStart(), thumbStart), brush, held == ScrollPart::PageBack);
    PaintTrack(hdc, Stretch(thumbEnd, layout.TrackEnd()), brush, held == ScrollPart::PageForward);
    RECT thumb = Stretch(thumbStart, thumbEnd);
    DrawEdge(hdc, &thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    return 0;
}

void ScrollBarControl::PaintArrow(HDC hdc, RECT rect, ScrollPart part, bool pressed) const {
    if (IsRectEmpty(&rect))
        return;
    RECT glyph = rect;
    if (pressed) {
        FrameRect(hdc, &rect, GetSysColorBrush(COLOR_3DSHADOW));
        RECT inside = rect;
        InflateRect(&inside, -1, -1);
        FillSysColour(hdc, inside, COLOR_BTNFACE);
        OffsetRect(&glyph, 1, 1);
    } else {
        DrawEdge(hdc, &rect, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    }
    const bool back = part == ScrollPart::LineBack;
    const ArrowDirection direction = Vertical()
                                         ? (back ? ArrowDirection::Up : ArrowDirection::Down)
                                         : (back ? ArrowDirection::Left : ArrowDirection::Right);
    if (IsWindowEnabled(m_hwnd)) {
        DrawArrowGlyph(hdc, glyph, direction, GetSysColor(COLOR_BTNTEXT));
        return;
    }
    RECT light = glyph;
    OffsetRect(&light, 1, 1);
    DrawArrowGlyph(hdc, light, direction, GetSysColor(COLOR_3DHILIGHT));
    DrawArrowGlyph(hdc, glyph, direction, GetSysColor(COLOR_3DSHADOW));
}

// The held part of the track turns dark. The default brush stands for Win32's 50% pattern in
// the DC's text and background colours, which this layer's GDI has no brush for.
void ScrollBarControl::PaintTrack(HDC hdc, const RECT& rect, HBRUSH brush, bool held) const {
    if (IsRectEmpty(&rect))
        return;
    if (held) {
        FillSysColour(hdc, rect, COLOR_3DDKSHADOW);
        return;
    }
    if (brush == GetSysColorBrush(COLOR_SCROLLBAR)) {
        FillHalftone(hdc, rect, GetTextColor(hdc), GetBkColor(hdc));
        return;
    }
    FillRect(hdc, &rect, brush);
}

LRESULT ScrollBarControl::OnEnable(WPARAM enabled, LPARAM) {
    if (enabled == FALSE && m_track.part != ScrollPart::None) {
        const HWND hwnd = m_hwnd;
        EndTracking();
        if (!IsWindow(hwnd))
            return 0;
    }
    RepaintNow(m_hwnd);
    return 0;
}

LRESULT ScrollBarControl::OnGetDlgCode(WPARAM, LPARAM) {
    return DLGC_WANTARROWS;
}

LRESULT ScrollBarControl::OnLeftButtonDown(WPARAM, LPARAM point) {
    if (m_track.part != ScrollPart::None)
        return 0;
    const POINT at{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    const ScrollPart part = PartAt(at);
    if (part == ScrollPart::None)
        return 0;
    const HWND hwnd = m_hwnd;
    if ((GetWindowLongA(hwnd, GWL_STYLE) & WS_TABSTOP) != 0) {
        SetFocus(hwnd);
        if (!IsWindow(hwnd))
            return 0;
    }
    SetCapture(hwnd);
    m_track = Tracking{};
    m_track.part = part;
    m_track.pointer = at;
    m_track.over = true;
    if (part == ScrollPart::Thumb) {
        // Only the drag reports; a press on the thumb alone asks for nothing.
        const ScrollBarLayout layout = Layout();
        m_track.thumbStart = layout.ThumbStart();
        m_track.grab = Along(at) - m_track.thumbStart;
        m_track.trackPos = m_values.Pos();
        m_track.over = false;
        return 0;
    }
    RepaintNow(hwnd);
    SetTimer(hwnd, kRepeatTimer, kFirstRepeatDelay, nullptr);
    Notify(RequestOf(part));
    return 0;
}

LRESULT ScrollBarControl::OnMouseMove(WPARAM, LPARAM point) {
    if (m_track.part == ScrollPart::None)
        return 0;
    m_track.pointer = {GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    if (m_track.part == ScrollPart::Thumb) {
        DragThumbTo(Along(m_track.pointer));
        return 0;
    }
    const bool over = PartAt(m_track.pointer) == m_track.part;
    if (over == m_track.over)
        return 0;
    m_track.over = over;
    RepaintNow(m_hwnd);
    return 0;
}

void ScrollBarControl::DragThumbTo(int along) {
    const ScrollBarLayout layout = Layout();
    const int start = layout.ClampThumbStart(along - m_track.grab);
    if (start == m_track.thumbStart)
        return;
    m_track.thumbStart = start;
    RepaintNow(m_hwnd);
    const int pos = layout.PosAtThumbStart(start);
    if (pos == m_track.trackPos)
        return;
    m_track.trackPos = pos;
    Notify(SB_THUMBTRACK, pos);
}

LRESULT ScrollBarControl::OnLeftButtonUp(WPARAM, LPARAM) {
    EndTracking();
    return 0;
}

// Losing the capture to another window ends the action as a release would.
LRESULT ScrollBarControl::OnCaptureChanged(WPARAM, LPARAM) {
    EndTracking();
    return 0;
}

void ScrollBarControl::EndTracking() {
    const Tracking ended = m_track;
    if (ended.part == ScrollPart::None)
        return;
    const HWND hwnd = m_hwnd;
    m_track = Tracking{};
    KillTimer(hwnd, kRepeatTimer);
    if (GetCapture() == hwnd)
        ReleaseCapture();
    if (!IsWindow(hwnd))
        return;
    RepaintNow(hwnd);
    if (ended.part == ScrollPart::Thumb && !Notify(SB_THUMBPOSITION, ended.trackPos))
        return;
    Notify(SB_ENDSCROLL);
}

// The first tick ends the delay and sets the pace; each tick repeats the request while the
// pointer is on the pressed part. A held track stops once the thumb, moved by the owner,
// reaches the pointer.
LRESULT ScrollBarControl::OnTimer(WPARAM timer, LPARAM) {
    if (timer != kRepeatTimer)
        return 0;
    const ScrollPart part = m_track.part;
    if (part == ScrollPart::None || part == ScrollPart::Thumb) {
        KillTimer(m_hwnd, kRepeatTimer);
        return 0;
    }
    if (!m_track.repeating) {
        m_track.repeating = true;
        SetTimer(m_hwnd, kRepeatTimer, kRepeatInterval, nullptr);
    }
    const bool over = PartAt(m_track.pointer) == part;
    if (over != m_track.over) {
        m_track.over = over;
        RepaintNow(m_hwnd);
    }
    if (over)
        Notify(RequestOf(part));
    return 0;
}

LRESULT ScrollBarControl::OnKeyDown(WPARAM key, LPARAM) {
    if (const KeyRequest* request = RequestOfKey(key))
        Notify(request->code);
    return 0;
}

LRESULT ScrollBarControl::OnKeyUp(WPARAM key, LPARAM) {
    if (RequestOfKey(key) != nullptr)
        Notify(SB_ENDSCROLL);
    return 0;
}

LRESULT ScrollBarControl::OnSetPos(WPARAM pos, LPARAM redraw) {
    const int old = m_values.SetPos(IntOf(pos));
    if (redraw != 0 && old != m_values.Pos())
        RepaintNow(m_hwnd);
    return old;
}

LRESULT ScrollBarControl::OnGetPos(WPARAM, LPARAM) {
    return m_values.Pos();
}

// Answers the position before when the new range moved it, else 0, as Win32 documents.
LRESULT ScrollBarControl::OnSetRange(WPARAM min, LPARAM max) {
    const int old = m_values.Pos();
    m_values.SetRange(IntOf(min), IntOf(max));
    return m_values.Pos() != old ? old : 0;
}

LRESULT ScrollBarControl::OnSetRangeRedraw(WPARAM min, LPARAM max) {
    const LRESULT old = OnSetRange(min, max);
    RepaintNow(m_hwnd);
    return old;
}

LRESULT ScrollBarControl::OnGetRange(WPARAM min, LPARAM max) {
    if (auto* out = reinterpret_cast<LPINT>(min))
        *out = m_values.Min();
    if (auto* out = reinterpret_cast<LPINT>(max))
        *out = m_values.Max();
    return 0;
}

LRESULT ScrollBarControl::OnSetScrollInfo(WPARAM redraw, LPARAM info) {
    const auto* scrollInfo = reinterpret_cast<const SCROLLINFO*>(info);
    if (!IsValidScrollInfo(scrollInfo))
        return 0;
    const int pos = m_values.Apply(*scrollInfo);
    if (redraw != 0)
        RepaintNow(m_hwnd);
    return pos;
}

LRESULT ScrollBarControl::OnGetScrollInfo(WPARAM, LPARAM info) {
    auto* scrollInfo = reinterpret_cast<SCROLLINFO*>(info);
    if (!IsValidScrollInfo(scrollInfo) || (scrollInfo->fMask & SIF_ALL) == 0)
        return FALSE;
    const bool dragging = m_track.part == ScrollPart::Thumb;
    m_values.Fill(*scrollInfo, dragging ? m_track.trackPos : m_values.Pos());
    return TRUE;
}

}  // namespace winapi::controls
