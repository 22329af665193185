// Scroll bar controls: the exact requests a click, a held arrow or track, a thumb drag and the
// keyboard send to the parent, with Win32's repeat timing on the virtual clock; the bar never
// moves its own thumb; range, page and position rules of the Set/GetScroll* functions; and the
// classic look at key pixels (edges, arrow glyphs, the thumb for 0, 128 and 255).
//
// The bar under test is 200 x 16: arrows of 16 at both ends, a track from 16 to 184 and a
// 16-pixel thumb that travels 152 pixels over the range 0 to 255.
#include <windows.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "support/headless_test.h"
#include "support/message_log.h"

namespace {

constexpr POINT kBarOrigin{110, 110};  // on the screen
constexpr int kBarWidth = 200;
constexpr int kMiddle = 8;

std::uint32_t Pixel(COLORREF colour) {
    return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

std::uint32_t Sys(int index) {
    return Pixel(GetSysColor(index));
}

struct Request {
    WORD code;
    WORD pos;
    bool operator==(const Request&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Request& r) {
    return out << "{" << r.code << "," << r.pos << "}";
}

using Requests = std::vector<Request>;

class ScrollBarTest : public HeadlessTest {
protected:
    ScrollBarTest() {
        MessageLog::Register();
        m_parent = CreateWindowExA(0, "LogWindow", "", WS_POPUP | WS_VISIBLE, 100, 100, 320, 240,
                                   nullptr, nullptr, nullptr, nullptr);
        m_bar = Bar(SBS_HORZ, 10, 10, kBarWidth, 16, 7);
        SetScrollRange(m_bar, SB_CTL, 0, 255, TRUE);
        // The owner: records each request and, when following, moves the thumb as the program
        // does (a line is 1, a page 16).
        Log().Handle(WM_HSCROLL, [this](HWND, WPARAM wParam, LPARAM lParam) {
            OnScroll(wParam, lParam);
            return LRESULT{0};
        });
        Log().Handle(WM_VSCROLL, [this](HWND, WPARAM wParam, LPARAM lParam) {
            OnScroll(wParam, lParam);
            return LRESULT{0};
        });
        Pump();
    }

    MessageLog& Log() { return MessageLog::Instance(); }

    HWND Bar(DWORD style, int x, int y, int w, int h, int id) {
        return CreateWindowExA(0, "ScrollBar", "", WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                               m_parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                               nullptr);
    }

    void OnScroll(WPARAM wParam, LPARAM lParam) {
        const HWND bar = reinterpret_cast<HWND>(lParam);
        m_requests.push_back({LOWORD(wParam), HIWORD(wParam)});
        m_times.push_back(Display().Clock());
        m_senders.push_back(bar);
        if (!m_follow)
            return;
        const int pos = GetScrollPos(bar, SB_CTL);
        switch (LOWORD(wParam)) {
            case SB_LINELEFT:
                SetScrollPos(bar, SB_CTL, pos - 1, TRUE);
                break;
            case SB_LINERIGHT:
                SetScrollPos(bar, SB_CTL, pos + 1, TRUE);
                break;
            case SB_PAGELEFT:
                SetScrollPos(bar, SB_CTL, pos - 16, TRUE);
                break;
            case SB_PAGERIGHT:
                SetScrollPos(bar, SB_CTL, pos + 16, TRUE);
                break;
            case SB_THUMBTRACK:
            case SB_THUMBPOSITION:
                SetScrollPos(bar, SB_CTL, HIWORD(wParam), TRUE);
                break;
            default:
                break;
        }
    }

    void PressAt(int x, int y = kMiddle) {
        Display().MovePointer(kBarOrigin.x + x, kBarOrigin.y + y);
        Display().ButtonDown(display::MouseButton::Left);
        Pump();
    }
    void MoveTo(int x, int y = kMiddle) {
        Display().MovePointer(kBarOrigin.x + x, kBarOrigin.y + y);
        Pump();
    }
    void Release() {
        Display().ButtonUp(display::MouseButton::Left);
        Pump();
    }
    void Key(int vk) {
        Display().KeyDown(vk);
        Pump();
        Display().KeyUp(vk);
        Pump();
    }

    std::uint32_t At(int x, int y = kMiddle) {
        return ScreenPixel(kBarOrigin.x + x, kBarOrigin.y + y);
    }

    // Where the thumb is drawn: its right edge is the only black column in the track.
    int DrawnThumbStart() {
        for (int x = 17; x < 184; ++x)
            if (At(x) == 0 && At(x - 1) == Sys(COLOR_3DSHADOW))
                return x - 15;
        return -1;
    }

    void Forget() {
        m_requests.clear();
        m_times.clear();
        m_senders.clear();
    }

    HWND m_parent = nullptr;
    HWND m_bar = nullptr;
    bool m_follow = false;
    Requests m_requests;
    std::vector<std::uint64_t> m_times;
    std::vector<HWND> m_senders;
};

TEST_F(ScrollBarTest, ArrowClickAsksForALineThenEnds) {
    PressAt(5);
    EXPECT_EQ((Requests{{SB_LINELEFT, 0}}), m_requests);
    EXPECT_EQ(m_bar, GetCapture());
    Release();
    EXPECT_EQ((Requests{{SB_LINELEFT, 0}, {SB_ENDSCROLL, 0}}), m_requests);
    ASSERT_EQ(2u, m_senders.size());
    EXPECT_EQ(m_bar, m_senders[0]);
    EXPECT_EQ(m_bar, m_senders[1]);
    EXPECT_EQ(nullptr, GetCapture());

    Forget();
    PressAt(kBarWidth - 3);
    Release();
    EXPECT_EQ((Requests{{SB_LINERIGHT, 0}, {SB_ENDSCROLL, 0}}), m_requests);
}

// A held arrow asks again after 200 ms and then every 50 ms: 18 requests in a second.
TEST_F(ScrollBarTest, HeldArrowRepeatsAfterTheDelayAtTheRepeatRate) {
    const std::uint64_t start = Display().Clock();
    PressAt(5);
    RunFor(1000);
    Release();
    ASSERT_EQ(19u, m_requests.size());
    for (std::size_t i = 0; i + 1 < m_requests.size(); ++i) {
        EXPECT_EQ(SB_LINELEFT, m_requests[i].code) << i;
        const std::uint64_t due = i == 0 ? 0 : 200 + 50 * (i - 1);
        EXPECT_EQ(due, m_times[i] - start) << i;
    }
    EXPECT_EQ(SB_ENDSCROLL, m_requests.back().code);
}

// Repeats wait while the pointer is off the held arrow, and the arrow looks raised meanwhile.
TEST_F(ScrollBarTest, HeldArrowRepeatsOnlyWhileThePointerIsOnIt) {
    PressAt(kBarWidth - 3);
    EXPECT_EQ(Sys(COLOR_3DSHADOW), At(184, 0));  // pushed: a flat grey frame
    RunFor(200);
    EXPECT_EQ(2u, m_requests.size());
    MoveTo(100);
    EXPECT_EQ(Sys(COLOR_3DLIGHT), At(184, 0));  // raised again
    RunFor(500);
    EXPECT_EQ(2u, m_requests.size());
    MoveTo(kBarWidth - 3);
    RunFor(50);
    EXPECT_EQ(3u, m_requests.size());
    Release();
    EXPECT_EQ(SB_ENDSCROLL, m_requests.back().code);
}

TEST_F(ScrollBarTest, TrackClickAsksForAPageOnEitherSideOfTheThumb) {
    SetScrollPos(m_bar, SB_CTL, 128, TRUE);  // thumb 92..108
    PressAt(50);
    Release();
    PressAt(150);
    Release();
    EXPECT_EQ((Requests{{SB_PAGELEFT, 0}, {SB_ENDSCROLL, 0}, {SB_PAGERIGHT, 0}, {SB_ENDSCROLL, 0}}),
              m_requests);
    EXPECT_EQ(128, GetScrollPos(m_bar, SB_CTL));
}

// Held in the track, the bar keeps asking for pages until the thumb, moved by the owner,
// reaches the pointer: at x = 150 that is position 208 (thumb 140..156), after 13 pages.
TEST_F(ScrollBarTest, HeldTrackStopsWhenTheThumbReachesThePointer) {
    m_follow = true;
    PressAt(150);
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), At(170));  // the held stretch of track is dark
    RunFor(2000);
    EXPECT_EQ(208, GetScrollPos(m_bar, SB_CTL));
    EXPECT_EQ(13u, m_requests.size());
    for (const Request& r : m_requests)
        EXPECT_EQ(SB_PAGERIGHT, r.code);
    EXPECT_EQ(140, DrawnThumbStart());
    Release();
    EXPECT_EQ(SB_ENDSCROLL, m_requests.back().code);
    EXPECT_EQ(14u, m_requests.size());
}

// Dragging the thumb reports the position under it as it moves, that position again on
// release, and the end; the thumb is drawn where the pointer holds it all along.
TEST_F(ScrollBarTest, ThumbDragTracksThePointer) {
    PressAt(20);  // 4 pixels into the thumb at 16..32
    EXPECT_TRUE(m_requests.empty());
    MoveTo(60);  // thumb at 56: 40 of 152 pixels is 67 of 255
    EXPECT_EQ(56, DrawnThumbStart());
    MoveTo(100);  // thumb at 96: 134
    SCROLLINFO info{sizeof info, SIF_POS | SIF_TRACKPOS, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(m_bar, SB_CTL, &info));
    EXPECT_EQ(0, info.nPos);
    EXPECT_EQ(134, info.nTrackPos);
    EXPECT_EQ(96, DrawnThumbStart());
    MoveTo(400, 30);  // far past the end: the thumb stops at the end of the track
    EXPECT_EQ(168, DrawnThumbStart());
    MoveTo(102);  // thumb at 98: 138
    Release();
    EXPECT_EQ((Requests{{SB_THUMBTRACK, 67},
                        {SB_THUMBTRACK, 134},
                        {SB_THUMBTRACK, 255},
                        {SB_THUMBTRACK, 138},
                        {SB_THUMBPOSITION, 138},
                        {SB_ENDSCROLL, 0}}),
              m_requests);
    // The owner ignored it all: the position and the drawn thumb are where they were.
    EXPECT_EQ(0, GetScrollPos(m_bar, SB_CTL));
    EXPECT_EQ(16, DrawnThumbStart());
}

// Whatever the user does, only the owner moves the thumb.
TEST_F(ScrollBarTest, TheBarNeverMovesItsOwnThumb) {
    SetScrollPos(m_bar, SB_CTL, 100, TRUE);
    PressAt(5);
    RunFor(300);
    Release();
    PressAt(180);
    Release();
    PressAt(77);
    MoveTo(150);
    Release();
    SetFocus(m_bar);
    Key(VK_END);
    Key(VK_NEXT);
    EXPECT_GT(m_requests.size(), 8u);
    EXPECT_EQ(100, GetScrollPos(m_bar, SB_CTL));
}

TEST_F(ScrollBarTest, KeysAskForLinesPagesAndEndsEachEndingOnRelease) {
    struct Case {
        int vk;
        WORD code;
    };
    const Case cases[] = {
        {VK_LEFT, SB_LINELEFT}, {VK_UP, SB_LINEUP},    {VK_RIGHT, SB_LINERIGHT},
        {VK_DOWN, SB_LINEDOWN}, {VK_PRIOR, SB_PAGEUP}, {VK_NEXT, SB_PAGEDOWN},
        {VK_HOME, SB_TOP},      {VK_END, SB_BOTTOM},
    };
    SetFocus(m_bar);
    EXPECT_EQ(DLGC_WANTARROWS, SendMessageA(m_bar, WM_GETDLGCODE, 0, 0));
    for (const Case& c : cases) {
        Forget();
        Key(c.vk);
        EXPECT_EQ((Requests{{c.code, 0}, {SB_ENDSCROLL, 0}}), m_requests) << c.vk;
    }
    Forget();
    Key('A');
    EXPECT_TRUE(m_requests.empty());
}

TEST_F(ScrollBarTest, VerticalBarAsksWithVScroll) {
    HWND bar = Bar(SBS_VERT, 250, 10, 16, 150, 8);
    Pump();
    Display().MovePointer(100 + 250 + 8, 100 + 10 + 145);
    Display().ButtonDown(display::MouseButton::Left);
    Pump();
    Release();
    EXPECT_EQ((Requests{{SB_LINEDOWN, 0}, {SB_ENDSCROLL, 0}}), m_requests);
    EXPECT_EQ(2u, Log().Of(WM_VSCROLL).size());
    EXPECT_TRUE(Log().Of(WM_HSCROLL).empty());
    EXPECT_EQ(bar, m_senders[0]);
}

TEST_F(ScrollBarTest, PositionStaysInTheRangeAndThePage) {
    HWND fresh = Bar(SBS_HORZ, 10, 50, 100, 16, 9);
    int min = -1;
    int max = -1;
    ASSERT_TRUE(GetScrollRange(fresh, SB_CTL, &min, &max));
    EXPECT_EQ(0, min);  // a new control has an empty range
    EXPECT_EQ(0, max);

    EXPECT_EQ(0, SetScrollPos(m_bar, SB_CTL, 300, FALSE));
    EXPECT_EQ(255, GetScrollPos(m_bar, SB_CTL));
    EXPECT_EQ(255, SetScrollPos(m_bar, SB_CTL, -5, FALSE));
    EXPECT_EQ(0, GetScrollPos(m_bar, SB_CTL));
    SetScrollPos(m_bar, SB_CTL, 200, FALSE);
    ASSERT_TRUE(SetScrollRange(m_bar, SB_CTL, 0, 100, FALSE));
    EXPECT_EQ(100, GetScrollPos(m_bar, SB_CTL));
    // SBM_SETRANGE answers the position before only when the range moved it.
    EXPECT_EQ(100, SendMessageA(m_bar, SBM_SETRANGE, 0, 50));
    EXPECT_EQ(0, SendMessageA(m_bar, SBM_SETRANGE, 0, 100));
    SetScrollPos(m_bar, SB_CTL, 100, FALSE);

    // With a page of 10 the last position is 91: the page then ends at the range's end.
    SCROLLINFO page{sizeof page, SIF_PAGE, 0, 0, 10, 0, 0};
    EXPECT_EQ(91, SetScrollInfo(m_bar, SB_CTL, &page, FALSE));
    EXPECT_EQ(91, SetScrollPos(m_bar, SB_CTL, 95, FALSE));
    EXPECT_EQ(91, GetScrollPos(m_bar, SB_CTL));
    SCROLLINFO all{sizeof all, SIF_ALL, -1, -1, 0, -1, -1};
    ASSERT_TRUE(GetScrollInfo(m_bar, SB_CTL, &all));
    EXPECT_EQ(0, all.nMin);
    EXPECT_EQ(100, all.nMax);
    EXPECT_EQ(10u, all.nPage);
    EXPECT_EQ(91, all.nPos);
    EXPECT_EQ(91, all.nTrackPos);

    // A page larger than the range shrinks to it; a reversed range becomes empty.
    SCROLLINFO huge{sizeof huge, SIF_PAGE, 0, 0, 500, 0, 0};
    EXPECT_EQ(0, SetScrollInfo(m_bar, SB_CTL, &huge, FALSE));
    ASSERT_TRUE(GetScrollInfo(m_bar, SB_CTL, &all));
    EXPECT_EQ(101u, all.nPage);
    SCROLLINFO reversed{sizeof reversed, SIF_RANGE | SIF_PAGE, 50, 10, 0, 0, 0};
    SetScrollInfo(m_bar, SB_CTL, &reversed, FALSE);
    ASSERT_TRUE(GetScrollRange(m_bar, SB_CTL, &min, &max));
    EXPECT_EQ(0, min);
    EXPECT_EQ(0, max);
}

TEST_F(ScrollBarTest, BadArgumentsFailWithWin32sErrors) {
    HWND button = CreateWindowExA(0, "Button", "b", WS_CHILD, 0, 0, 10, 10, m_parent, nullptr,
                                  nullptr, nullptr);
    const HWND gone = CreateWindowExA(0, "ScrollBar", "", WS_CHILD, 0, 0, 10, 10, m_parent, nullptr,
                                      nullptr, nullptr);
    DestroyWindow(gone);
    struct Case {
        HWND hwnd;
        int bar;
        DWORD error;
    };
    const Case cases[] = {
        {gone, SB_CTL, ERROR_INVALID_WINDOW_HANDLE}, {m_parent, SB_HORZ, ERROR_NO_SCROLLBARS},
        {m_parent, SB_VERT, ERROR_NO_SCROLLBARS},    {button, SB_CTL, ERROR_NO_SCROLLBARS},
        {m_bar, 7, ERROR_INVALID_PARAMETER},
    };
    for (const Case& c : cases) {
        SetLastError(0);
        EXPECT_EQ(0, GetScrollPos(c.hwnd, c.bar));
        EXPECT_EQ(c.error, GetLastError());
        SetLastError(0);
        EXPECT_FALSE(SetScrollRange(c.hwnd, c.bar, 0, 10, FALSE));
        EXPECT_EQ(c.error, GetLastError());
    }
    SetLastError(0);
    EXPECT_FALSE(SetScrollRange(m_bar, SB_CTL, INT_MIN, INT_MAX, FALSE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_SCROLLBAR_RANGE), GetLastError());
    int min = -1;
    int max = -1;
    GetScrollRange(m_bar, SB_CTL, &min, &max);
    EXPECT_EQ(255, max);

    SCROLLINFO wrongSize{0, SIF_POS, 0, 0, 0, 5, 0};
    EXPECT_EQ(0, SetScrollInfo(m_bar, SB_CTL, &wrongSize, FALSE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    SCROLLINFO nothingAsked{sizeof nothingAsked, 0, 0, 0, 0, 0, 0};
    EXPECT_FALSE(GetScrollInfo(m_bar, SB_CTL, &nothingAsked));
    EXPECT_FALSE(GetScrollInfo(m_bar, SB_CTL, nullptr));
    EXPECT_EQ(0, GetScrollPos(m_bar, SB_CTL));
}

// Raised arrow buttons (light and white outside, grey and black inside the lower-right) with a
// black triangle 4 deep and 7 across, centred.
TEST_F(ScrollBarTest, ArrowsAreRaisedButtonsWithTriangles) {
    EXPECT_EQ(Sys(COLOR_3DLIGHT), At(0, 0));
    EXPECT_EQ(Sys(COLOR_3DHILIGHT), At(1, 1));
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), At(15, 0));
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), At(0, 15));
    EXPECT_EQ(Sys(COLOR_3DSHADOW), At(14, 14));
    EXPECT_EQ(Sys(COLOR_BTNFACE), At(5, 7));
    EXPECT_EQ(Sys(COLOR_BTNTEXT), At(6, 7));  // the tip
    EXPECT_EQ(Sys(COLOR_BTNFACE), At(6, 6));
    EXPECT_EQ(Sys(COLOR_BTNTEXT), At(9, 4));  // the base
    EXPECT_EQ(Sys(COLOR_BTNTEXT), At(9, 10));
    EXPECT_EQ(Sys(COLOR_BTNFACE), At(9, 11));
    EXPECT_EQ(Sys(COLOR_BTNFACE), At(10, 7));
    EXPECT_EQ(Sys(COLOR_BTNTEXT), At(184 + 9, 7));  // the right arrow's tip
    EXPECT_EQ(Sys(COLOR_BTNTEXT), At(184 + 6, 4));
    // Held, the glyph sinks a pixel.
    PressAt(190);
    EXPECT_EQ(Sys(COLOR_BTNTEXT), At(184 + 10, 8));
    EXPECT_EQ(Sys(COLOR_BTNFACE), At(184 + 6, 4));
    Release();
}

TEST_F(ScrollBarTest, ThumbStandsForThePosition) {
    struct Case {
        int pos;
        int start;
    };
    for (const Case& c : {Case{0, 16}, Case{128, 92}, Case{255, 168}}) {
        SetScrollPos(m_bar, SB_CTL, c.pos, TRUE);
        Pump();
        EXPECT_EQ(c.start, DrawnThumbStart()) << c.pos;
        EXPECT_EQ(Sys(COLOR_3DHILIGHT), At(c.start + 1, 1)) << c.pos;
        EXPECT_EQ(Sys(COLOR_3DSHADOW), At(c.start + 14, 14)) << c.pos;
    }
}

// The default track is Win32's 50% pattern of face and highlight; a brush from the parent's
// WM_CTLCOLORSCROLLBAR paints it instead.
TEST_F(ScrollBarTest, TrackIsTheHalftoneOrTheParentsBrush) {
    EXPECT_EQ(Sys(COLOR_3DFACE), At(40, 8));
    EXPECT_EQ(Sys(COLOR_3DHILIGHT), At(41, 8));
    EXPECT_EQ(Sys(COLOR_3DHILIGHT), At(40, 9));
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    Log().Handle(WM_CTLCOLORSCROLLBAR,
                 [green](HWND, WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(green); });
    InvalidateRect(m_bar, nullptr, TRUE);
    Pump();
    EXPECT_EQ(0x00FF00u, At(40, 8));
    EXPECT_EQ(0x00FF00u, At(41, 8));
    const auto asks = Log().Of(WM_CTLCOLORSCROLLBAR);
    ASSERT_FALSE(asks.empty());
    EXPECT_EQ(reinterpret_cast<LPARAM>(m_bar), asks.back().lParam);
    DestroyWindow(m_bar);
    DeleteObject(green);
}

// Painting borrows its pattern bitmap and DCs and gives them all back.
TEST_F(ScrollBarTest, PaintingKeepsNoGdiObjects) {
    const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    for (int i = 0; i < 5; ++i)
        RedrawWindow(m_bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PressAt(100);
    MoveTo(120);
    Release();
    EXPECT_EQ(before, GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
}

// Disabled, the bar shows grey arrows and no thumb, and takes no clicks.
TEST_F(ScrollBarTest, DisabledBarHasNoThumb) {
    SetScrollPos(m_bar, SB_CTL, 128, TRUE);
    EnableWindow(m_bar, FALSE);
    Pump();
    EXPECT_EQ(-1, DrawnThumbStart());
    EXPECT_EQ(Sys(COLOR_3DSHADOW), At(6, 7));
    PressAt(5);
    Release();
    EXPECT_TRUE(m_requests.empty());
}

}  // namespace
