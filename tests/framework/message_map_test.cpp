// Message maps on subclassed windows: each message reaches its handler with the typed
// arguments Win32 packs into wParam and lParam, commands are routed by id and notification
// code, derived maps come before their base, whatever no map handles reaches the window's
// previous procedure unchanged, and a handler that does not fit its message stops the program
// when the map is built.
#include <gtest/gtest.h>

#include <vector>

#include "framework_test.h"

namespace {

constexpr UINT kCopyId = 1020;
constexpr UINT kFormatFirst = 32771;
constexpr UINT kFormatLast = 32774;
constexpr UINT kOutputId = 1004;
constexpr UINT kRawMessage = WM_APP + 7;

class CProbeWnd : public CWnd {
public:
    std::vector<UINT_PTR> m_timers;
    UINT m_scrollCode = 0;
    UINT m_scrollPos = 0;
    CScrollBar* m_scrollBar = nullptr;
    CDC* m_ctlColorDC = nullptr;
    CWnd* m_ctlColorWnd = nullptr;
    UINT m_ctlColorType = 99;
    HBRUSH m_brush = nullptr;
    std::vector<UINT> m_commands;
    UINT m_key = 0;
    UINT m_repeat = 0;
    UINT m_keyFlags = 0;
    CPoint m_click;
    CPoint m_menuAt;
    CWnd* m_menuWnd = nullptr;
    WPARAM m_rawW = 0;
    LPARAM m_rawL = 0;

    const MessageMap& GetMessageMap() const override {
        static const MessageMap map =
            MessageMap::Derived<CProbeWnd>(CWnd::GetMessageMap())
                .On(WM_TIMER, &CProbeWnd::OnTimer)
                .On(WM_HSCROLL, &CProbeWnd::OnHScroll)
                .OnCtlColor(&CProbeWnd::OnCtlColor)
                .On(WM_KEYDOWN, &CProbeWnd::OnKeyDown)
                .On(WM_LBUTTONDOWN, &CProbeWnd::OnLButtonDown)
                .On(WM_CONTEXTMENU, &CProbeWnd::OnContextMenu)
                .On(WM_QUERYDRAGICON, &CProbeWnd::OnQueryDragIcon)
                .OnMessage(kRawMessage, &CProbeWnd::OnRaw)
                .OnClicked(kCopyId, &CProbeWnd::OnCopy)
                .OnCommandRange(kFormatFirst, kFormatLast, &CProbeWnd::OnFormat)
                .OnControl(EN_CHANGE, kOutputId, &CProbeWnd::OnChange);
        return map;
    }

protected:
    void OnTimer(UINT_PTR nIDEvent) { m_timers.push_back(nIDEvent); }
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
        m_scrollCode = nSBCode;
        m_scrollPos = nPos;
        m_scrollBar = pScrollBar;
    }
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
        m_ctlColorDC = pDC;
        m_ctlColorWnd = pWnd;
        m_ctlColorType = nCtlColor;
        return m_brush;
    }
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
        m_key = nChar;
        m_repeat = nRepCnt;
        m_keyFlags = nFlags;
        // Passed on with different arguments: Default() must use the message's own.
        CWnd::OnKeyDown(0, 0, 0);
    }
    void OnLButtonDown(UINT, CPoint point) { m_click = point; }
    void OnContextMenu(CWnd* pWnd, CPoint pos) {
        m_menuWnd = pWnd;
        m_menuAt = pos;
    }
    HCURSOR OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(static_cast<INT_PTR>(0x1234)); }
    LRESULT OnRaw(WPARAM wParam, LPARAM lParam) {
        m_rawW = wParam;
        m_rawL = lParam;
        return 77;
    }
    void OnCopy() { m_commands.push_back(kCopyId); }
    void OnFormat(UINT nID) { m_commands.push_back(nID); }
    void OnChange() { m_commands.push_back(EN_CHANGE); }
};

class MessageMapTest : public FrameworkTest {
protected:
    MessageMapTest() {
        m_hwnd = Popup(100, 100, 200, 150);
        m_child = Child(m_hwnd, static_cast<int>(kOutputId), 10, 10, 50, 20);
        EXPECT_TRUE(m_probe.SubclassWindow(m_hwnd));
        Pump();
        Log().Clear();
    }
    std::vector<UINT> ReachedOriginal(UINT message) {
        std::vector<UINT> found;
        for (const LoggedMessage& e : Log().Of(message)) {
            if (e.hwnd == m_hwnd) {
                found.push_back(static_cast<UINT>(e.wParam));
            }
        }
        return found;
    }

    HWND m_hwnd = nullptr;
    HWND m_child = nullptr;
    CProbeWnd m_probe;
};

TEST_F(MessageMapTest, TimerHandlerGetsItsIdAndTheMessageStopsThere) {
    m_probe.SetTimer(7, 100);
    m_probe.SetTimer(9, 250);
    RunFor(300);
    EXPECT_EQ((std::vector<UINT_PTR>{7, 7, 9, 7}), m_probe.m_timers);
    EXPECT_TRUE(ReachedOriginal(WM_TIMER).empty());
}

TEST_F(MessageMapTest, ScrollHandlerGetsCodePositionAndTheBar) {
    m_probe.SendMessage(WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, 40000),
                        reinterpret_cast<LPARAM>(m_child));
    EXPECT_EQ(static_cast<UINT>(SB_THUMBTRACK), m_probe.m_scrollCode);
    EXPECT_EQ(40000u, m_probe.m_scrollPos);
    ASSERT_NE(nullptr, m_probe.m_scrollBar);
    EXPECT_EQ(m_child, m_probe.m_scrollBar->m_hWnd);

    // A bar the program attached arrives as its own object.
    CScrollBar bar;
    ASSERT_TRUE(bar.Attach(m_child));
    m_probe.SendMessage(WM_HSCROLL, SB_LINERIGHT, reinterpret_cast<LPARAM>(m_child));
    EXPECT_EQ(&bar, m_probe.m_scrollBar);
    EXPECT_EQ(static_cast<UINT>(SB_LINERIGHT), m_probe.m_scrollCode);
    bar.Detach();
}

TEST_F(MessageMapTest, CtlColorHandlerGetsTheDcTheControlAndItsKindAndReturnsTheBrush) {
    CBrush brush(RGB(10, 200, 30));
    m_probe.m_brush = brush;
    const HDC dc = GetDC(m_child);
    const LRESULT result = SendMessageA(m_hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                        reinterpret_cast<LPARAM>(m_child));
    EXPECT_EQ(reinterpret_cast<LRESULT>(static_cast<HBRUSH>(brush)), result);
    ASSERT_NE(nullptr, m_probe.m_ctlColorDC);
    EXPECT_EQ(dc, m_probe.m_ctlColorDC->m_hDC);
    EXPECT_EQ(m_child, m_probe.m_ctlColorWnd->m_hWnd);
    EXPECT_EQ(static_cast<UINT>(CTLCOLOR_STATIC), m_probe.m_ctlColorType);
    SendMessageA(m_hwnd, WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(m_child));
    EXPECT_EQ(static_cast<UINT>(CTLCOLOR_EDIT), m_probe.m_ctlColorType);
    ReleaseDC(m_child, dc);
}

TEST_F(MessageMapTest, KeyAndMouseArgumentsAreUnpackedWithTheirSigns) {
    SendMessageA(m_hwnd, WM_KEYDOWN, VK_SPACE, 0x40390003);
    EXPECT_EQ(static_cast<UINT>(VK_SPACE), m_probe.m_key);
    EXPECT_EQ(3u, m_probe.m_repeat);
    EXPECT_EQ(0x4039u, m_probe.m_keyFlags);
    // The handler passed on other values; the original procedure saw the message's own.
    const auto keys = Log().Of(WM_KEYDOWN);
    ASSERT_EQ(1u, keys.size());
    EXPECT_EQ(static_cast<WPARAM>(VK_SPACE), keys[0].wParam);
    EXPECT_EQ(0x40390003, keys[0].lParam);

    SendMessageA(m_hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-5, 7));
    EXPECT_EQ(CPoint(-5, 7), m_probe.m_click);
    // A context menu asked for from the keyboard comes at (-1, -1).
    SendMessageA(m_hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(m_child), MAKELPARAM(-1, -1));
    EXPECT_EQ(CPoint(-1, -1), m_probe.m_menuAt);
    EXPECT_EQ(m_child, m_probe.m_menuWnd->m_hWnd);
}

TEST_F(MessageMapTest, HandlerResultsBecomeTheMessageResult) {
    EXPECT_EQ(0x1234, SendMessageA(m_hwnd, WM_QUERYDRAGICON, 0, 0));
    EXPECT_EQ(77, SendMessageA(m_hwnd, kRawMessage, 5, -6));
    EXPECT_EQ(5u, m_probe.m_rawW);
    EXPECT_EQ(-6, m_probe.m_rawL);
}

TEST_F(MessageMapTest, CommandsRouteByIdAndNotificationCode) {
    // A button click, a menu item, an accelerator and a notification.
    SendMessageA(m_hwnd, WM_COMMAND, MAKEWPARAM(kCopyId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(m_child));
    SendMessageA(m_hwnd, WM_COMMAND, MAKEWPARAM(kFormatFirst + 2, 0), 0);
    SendMessageA(m_hwnd, WM_COMMAND, MAKEWPARAM(kFormatLast, 1), 0);
    SendMessageA(m_hwnd, WM_COMMAND, MAKEWPARAM(kOutputId, EN_CHANGE),
                 reinterpret_cast<LPARAM>(m_child));
    EXPECT_EQ((std::vector<UINT>{kCopyId, kFormatFirst + 2, kFormatLast, EN_CHANGE}),
              m_probe.m_commands);
    EXPECT_TRUE(ReachedOriginal(WM_COMMAND).empty());

    // Outside the range, another code, or code 1 from a control: not handled, passed on.
    SendMessageA(m_hwnd, WM_COMMAND, MAKEWPARAM(kFormatLast + 1, 0), 0);
    SendMessageA(m_hwnd, WM_COMMAND, MAKEWPARAM(kOutputId, EN_KILLFOCUS),
                 reinterpret_cast<LPARAM>(m_child));
    SendMessageA(m_hwnd, WM_COMMAND, MAKEWPARAM(kFormatFirst, 1),
                 reinterpret_cast<LPARAM>(m_child));
    EXPECT_EQ(4u, m_probe.m_commands.size());
    EXPECT_EQ(3u, ReachedOriginal(WM_COMMAND).size());
}

TEST_F(MessageMapTest, UnmappedMessagesReachThePreviousProcedureUnchanged) {
    SendMessageA(m_hwnd, WM_USER + 3, 11, 22);
    const auto seen = Log().Of(WM_USER + 3);
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(11u, seen[0].wParam);
    EXPECT_EQ(22, seen[0].lParam);
    // Nothing is being handled outside a message: Default has nothing to pass on.
    EXPECT_EQ(nullptr, CWnd::GetCurrentMessage());
    EXPECT_EQ(0, m_probe.Default());
}

class CBaseProbe : public CWnd {
public:
    std::vector<const char*> m_calls;
    const MessageMap& GetMessageMap() const override {
        static const MessageMap map = MessageMap::Derived<CBaseProbe>(CWnd::GetMessageMap())
                                          .On(WM_TIMER, &CBaseProbe::OnTimer)
                                          .On(WM_CLOSE, &CBaseProbe::OnClose)
                                          .OnCommand(IDOK, &CBaseProbe::OnOk);
        return map;
    }

protected:
    void OnTimer(UINT_PTR) { m_calls.push_back("base timer"); }
    void OnClose() { m_calls.push_back("base close"); }
    void OnOk() { m_calls.push_back("base ok"); }
};

class CDerivedProbe : public CBaseProbe {
public:
    const MessageMap& GetMessageMap() const override {
        static const MessageMap map =
            MessageMap::Derived<CDerivedProbe>(CBaseProbe::GetMessageMap())
                .On(WM_TIMER, &CDerivedProbe::OnTimer)
                .OnCommand(IDOK, &CDerivedProbe::OnOk);
        return map;
    }

protected:
    void OnTimer(UINT_PTR id) {
        m_calls.push_back("derived timer");
        CBaseProbe::OnTimer(id);
    }
    void OnOk() { m_calls.push_back("derived ok"); }
};

TEST_F(MessageMapTest, DerivedMapComesFirstAndFallsBackToItsBase) {
    CDerivedProbe probe;
    ASSERT_TRUE(probe.SubclassWindow(m_child));
    SendMessageA(m_child, WM_TIMER, 1, 0);
    SendMessageA(m_child, WM_CLOSE, 0, 0);
    SendMessageA(m_child, WM_COMMAND, IDOK, 0);
    EXPECT_EQ((std::vector<const char*>{"derived timer", "base timer", "base close", "derived ok"}),
              probe.m_calls);
    EXPECT_TRUE(IsWindow(m_child));  // WM_CLOSE was handled, not passed on to destroy it
}

// Maps that must not be built: each names the handler form the message needs.
class CWrongTimer : public CWnd {
public:
    const MessageMap& GetMessageMap() const override {
        static const MessageMap map = MessageMap::Derived<CWrongTimer>(CWnd::GetMessageMap())
                                          .On(WM_TIMER, &CWrongTimer::OnTimer);
        return map;
    }
    void OnTimer(UINT) {}
};

class CWrongScroll : public CWnd {
public:
    const MessageMap& GetMessageMap() const override {
        static const MessageMap map = MessageMap::Derived<CWrongScroll>(CWnd::GetMessageMap())
                                          .On(WM_HSCROLL, &CWrongScroll::OnHScroll);
        return map;
    }
    void OnHScroll(UINT, UINT, CWnd*) {}
};

class CUntypedMessage : public CWnd {
public:
    const MessageMap& GetMessageMap() const override {
        static const MessageMap map = MessageMap::Derived<CUntypedMessage>(CWnd::GetMessageMap())
                                          .On(WM_APP, &CUntypedMessage::OnApp);
        return map;
    }
    void OnApp() {}
};

class CTwiceRegistered : public CWnd {
public:
    const MessageMap& GetMessageMap() const override {
        static const MessageMap map = MessageMap::Derived<CTwiceRegistered>(CWnd::GetMessageMap())
                                          .OnClicked(IDOK, &CTwiceRegistered::OnOk)
                                          .OnCommandRange(1, 5, &CTwiceRegistered::OnRange);
        return map;
    }
    void OnOk() {}
    void OnRange(UINT) {}
};

TEST(MessageMapDeathTest, HandlerThatDoesNotFitItsMessageStopsTheProgram) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(CWrongTimer().GetMessageMap(),
                 "CWrongTimer.*WM_TIMER.*must be void OnTimer\\(UINT_PTR nIDEvent\\)");
    EXPECT_DEATH(CWrongScroll().GetMessageMap(),
                 "WM_HSCROLL.*must be void OnHScroll\\(UINT nSBCode, UINT nPos, CScrollBar\\* "
                 "pScrollBar\\)");
    EXPECT_DEATH(CUntypedMessage().GetMessageMap(), "0x8000.*OnMessage");
    EXPECT_DEATH(CTwiceRegistered().GetMessageMap(), "registers id 1 .*twice");
}

}  // namespace
