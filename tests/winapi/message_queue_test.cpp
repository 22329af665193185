// The message queue: what comes first, timers, painting, sending and quitting.
#include <windows.h>

#include "support/headless_test.h"
#include "support/message_log.h"

namespace {

class MessageQueueTest : public HeadlessTest {
protected:
    MessageQueueTest() {
        MessageLog::Register();
        m_hwnd = CreateWindowExA(0, "LogWindow", "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                 nullptr, nullptr, nullptr);
        Pump();
        Log().Clear();
    }
    MessageLog& Log() { return MessageLog::Instance(); }
    HWND m_hwnd = nullptr;
};

// Posted messages come before painting, painting before timers.
TEST_F(MessageQueueTest, PostedThenPaintThenTimer) {
    SetTimer(m_hwnd, 1, 100, nullptr);
    Display().Advance(100);
    InvalidateRect(m_hwnd, nullptr, TRUE);
    PostMessageA(m_hwnd, WM_USER, 0, 0);
    std::vector<UINT> order;
    MSG msg;
    for (int i = 0; i < 3 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        order.push_back(msg.message);
        DispatchMessageA(&msg);
    }
    EXPECT_EQ((std::vector<UINT>{WM_USER, WM_PAINT, WM_TIMER}), order);
}

TEST_F(MessageQueueTest, TimerTicksEveryPeriodAndDoesNotPileUp) {
    SetTimer(m_hwnd, 1, 100, nullptr);
    RunFor(1000);
    EXPECT_EQ(10u, Log().Of(WM_TIMER).size());
    EXPECT_EQ(1u, Log().Of(WM_TIMER)[0].wParam);

    // A long stall gives one WM_TIMER, not ten.
    Log().Clear();
    Display().Advance(1000);
    Pump();
    EXPECT_EQ(1u, Log().Of(WM_TIMER).size());

    // Setting the same id again restarts it; killing it stops it.
    Log().Clear();
    SetTimer(m_hwnd, 1, 50, nullptr);
    RunFor(200);
    EXPECT_EQ(4u, Log().Of(WM_TIMER).size());
    EXPECT_TRUE(KillTimer(m_hwnd, 1));
    EXPECT_FALSE(KillTimer(m_hwnd, 1));
    Log().Clear();
    RunFor(200);
    EXPECT_TRUE(Log().Of(WM_TIMER).empty());
}

TEST_F(MessageQueueTest, TimerWaitsWhileOtherMessagesArrive) {
    SetTimer(m_hwnd, 1, 100, nullptr);
    Display().Advance(100);
    for (int i = 0; i < 3; ++i)
        PostMessageA(m_hwnd, WM_USER + i, 0, 0);
    MSG msg;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
        EXPECT_NE(static_cast<UINT>(WM_TIMER), msg.message);
    }
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_TIMER), msg.message);
}

TEST_F(MessageQueueTest, TimersDieWithTheirWindowAndBadHandlesFail) {
    SetTimer(m_hwnd, 1, 100, nullptr);
    DestroyWindow(m_hwnd);
    RunFor(300);
    EXPECT_TRUE(Log().Of(WM_TIMER).empty());
    EXPECT_EQ(0u, SetTimer(m_hwnd, 1, 100, nullptr));
    EXPECT_FALSE(PostMessageA(m_hwnd, WM_USER, 0, 0));
}

TEST_F(MessageQueueTest, SendMessageIsADirectCallAndReturnsTheResult) {
    bool inside = false;
    Log().Handle(WM_USER, [&](HWND, WPARAM w, LPARAM l) {
        inside = true;
        return static_cast<LRESULT>(w + l);
    });
    EXPECT_EQ(7, SendMessageA(m_hwnd, WM_USER, 3, 4));
    EXPECT_TRUE(inside);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

// WM_PAINT comes again and again until the window validates, and BeginPaint does that.
TEST_F(MessageQueueTest, PaintRepeatsUntilValidated) {
    int paints = 0;
    Log().Handle(WM_PAINT, [&](HWND, WPARAM, LPARAM) {
        ++paints;
        return 0;
    });
    InvalidateRect(m_hwnd, nullptr, FALSE);
    MSG msg;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(3, paints);
    ValidateRect(m_hwnd, nullptr);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));

    RECT part{10, 10, 20, 30};
    InvalidateRect(m_hwnd, &part, TRUE);
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(m_hwnd, &ps);
    EXPECT_NE(nullptr, hdc);
    EXPECT_TRUE(EqualRect(&part, &ps.rcPaint));
    EndPaint(m_hwnd, &ps);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));

    InvalidateRect(m_hwnd, nullptr, FALSE);
    const int before = paints;
    UpdateWindow(m_hwnd);  // paints at once, without the queue
    EXPECT_EQ(before + 1, paints);
}

TEST_F(MessageQueueTest, QuitComesAfterPostedMessages) {
    PostQuitMessage(3);
    PostMessageA(m_hwnd, WM_USER, 0, 0);
    MSG msg;
    EXPECT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(static_cast<UINT>(WM_USER), msg.message);
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(3u, msg.wParam);
}

TEST_F(MessageQueueTest, GetMessageWaitsForTheNextTimerInVirtualTime) {
    SetTimer(m_hwnd, 5, 250, nullptr);
    const DWORD start = GetTickCount();
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(static_cast<UINT>(WM_TIMER), msg.message);
    EXPECT_EQ(250u, GetTickCount() - start);
}

TEST_F(MessageQueueTest, FiltersSelectByWindowAndRange) {
    HWND other = CreateWindowExA(0, "LogWindow", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    PostMessageA(m_hwnd, WM_USER, 0, 0);
    PostMessageA(other, WM_USER + 1, 0, 0);
    PostMessageA(nullptr, WM_USER + 2, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, other, 0, 0, PM_REMOVE));
    EXPECT_EQ(static_cast<UINT>(WM_USER + 1), msg.message);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 2, WM_USER + 2, PM_REMOVE));
    EXPECT_EQ(nullptr, msg.hwnd);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(m_hwnd, msg.hwnd);
    EXPECT_EQ(-1, GetMessageA(&msg, reinterpret_cast<HWND>(0x7777770), 0, 0));
}

}  // namespace
