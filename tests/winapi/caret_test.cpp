// The caret: hidden until shown, shown and hidden by count, blinking every GetCaretBlinkTime
// ms of virtual time, drawn by inverting its rectangle, and never leaving a mark behind:
// BeginPaint takes it off a window being painted and EndPaint puts it back.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "support/headless_test.h"
#include "support/message_log.h"

namespace {

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kBlack = 0x000000;
constexpr POINT kOrigin{100, 100};  // the window's client area on the screen

class CaretTest : public HeadlessTest {
protected:
    CaretTest() {
        MessageLog::Register();
        m_hwnd = CreateWindowExA(0, "LogWindow", "", WS_POPUP | WS_VISIBLE, kOrigin.x, kOrigin.y,
                                 200, 150, nullptr, nullptr, nullptr, nullptr);
        m_child = CreateWindowExA(0, "LogWindow", "", WS_CHILD | WS_VISIBLE, 100, 50, 80, 80,
                                  m_hwnd, nullptr, nullptr, nullptr);
        Pump();
        m_clean = Area();
    }

    // The window's client area as the screen shows it.
    std::vector<std::uint32_t> Area() {
        Pump();
        return Display().Capture({kOrigin.x, kOrigin.y, kOrigin.x + 200, kOrigin.y + 150});
    }
    std::uint32_t At(int x, int y) {
        Pump();
        return ScreenPixel(kOrigin.x + x, kOrigin.y + y);
    }
    // Pixels of the client area that differ from the clean window.
    int Marks() {
        const auto now = Area();
        int count = 0;
        for (std::size_t i = 0; i < now.size(); ++i)
            count += now[i] != m_clean[i];
        return count;
    }

    HWND m_hwnd = nullptr;
    HWND m_child = nullptr;
    std::vector<std::uint32_t> m_clean;
};

TEST_F(CaretTest, HiddenUntilShownThenBlinksWithVirtualTime) {
    ASSERT_TRUE(CreateCaret(m_hwnd, nullptr, 2, 10));
    ASSERT_TRUE(SetCaretPos(20, 30));
    EXPECT_EQ(Marks(), 0) << "a new caret is hidden";
    ASSERT_TRUE(ShowCaret(m_hwnd));
    EXPECT_EQ(At(20, 30), kBlack);
    EXPECT_EQ(At(21, 39), kBlack);
    EXPECT_EQ(Marks(), 2 * 10) << "exactly its rectangle, inverted";
    EXPECT_EQ(GetCaretBlinkTime(), 530u);
    RunFor(529);
    EXPECT_EQ(At(20, 30), kBlack);
    RunFor(1);
    EXPECT_EQ(Marks(), 0) << "off after one blink time";
    RunFor(530);
    EXPECT_EQ(At(20, 30), kBlack);
    // The blinking is the window system's own: the window procedure hears nothing of it.
    EXPECT_TRUE(MessageLog::Instance().Of(WM_TIMER).empty());
}

TEST_F(CaretTest, HidingIsCountedAndLeavesNothingBehind) {
    CreateCaret(m_hwnd, nullptr, 2, 10);
    SetCaretPos(20, 30);
    ShowCaret(m_hwnd);
    EXPECT_TRUE(HideCaret(m_hwnd));
    EXPECT_TRUE(HideCaret(nullptr));  // null: whichever window has the caret
    EXPECT_EQ(Marks(), 0);
    ShowCaret(m_hwnd);
    EXPECT_EQ(Marks(), 0) << "hidden twice, shown once";
    ShowCaret(m_hwnd);
    EXPECT_EQ(At(20, 30), kBlack);
    EXPECT_TRUE(ShowCaret(m_hwnd)) << "showing a shown caret changes nothing";
    HideCaret(m_hwnd);
    EXPECT_EQ(Marks(), 0);
    RunFor(2000);
    EXPECT_EQ(Marks(), 0) << "a hidden caret does not blink";
}

// Painting over a caret that is on would turn its next inversion into a mark, unless the
// painting takes it off first and puts it back after.
TEST_F(CaretTest, PaintingUnderTheCaretLeavesNoMark) {
    CreateCaret(m_hwnd, nullptr, 2, 10);
    SetCaretPos(20, 30);
    ShowCaret(m_hwnd);
    ASSERT_EQ(At(20, 30), kBlack);
    InvalidateRect(m_hwnd, nullptr, TRUE);
    UpdateWindow(m_hwnd);
    EXPECT_EQ(At(20, 30), kBlack) << "still on after the paint";
    EXPECT_EQ(Marks(), 20);
    RunFor(530);
    EXPECT_EQ(Marks(), 0) << "blinks off cleanly";
    InvalidateRect(m_hwnd, nullptr, TRUE);
    UpdateWindow(m_hwnd);
    RunFor(530);
    EXPECT_EQ(Marks(), 20) << "blinks on after a paint while off";
    DestroyCaret();
    EXPECT_EQ(Marks(), 0);

    // A caret in a child: the parent's painting covers it too.
    CreateCaret(m_child, nullptr, 2, 10);
    SetCaretPos(5, 5);
    ShowCaret(m_child);
    EXPECT_EQ(At(105, 55), kBlack);
    RedrawWindow(m_hwnd, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(Marks(), 20);
    DestroyCaret();
    EXPECT_EQ(Marks(), 0);
}

TEST_F(CaretTest, MovingTakesTheCaretAlongAndRestartsTheBlink) {
    CreateCaret(m_hwnd, nullptr, 2, 10);
    SetCaretPos(20, 30);
    ShowCaret(m_hwnd);
    RunFor(400);
    ASSERT_TRUE(SetCaretPos(60, 30));
    EXPECT_EQ(At(20, 30), kWhite);
    EXPECT_EQ(At(60, 30), kBlack);
    POINT position{};
    EXPECT_TRUE(GetCaretPos(&position));
    EXPECT_EQ(position.x, 60);
    EXPECT_EQ(position.y, 30);
    RunFor(200);
    EXPECT_EQ(At(60, 30), kBlack) << "a moved caret stays on for a whole blink";
    EXPECT_EQ(Marks(), 20);
}

TEST_F(CaretTest, OneCaretOwnedByOneWindow) {
    SetLastError(0);
    EXPECT_FALSE(DestroyCaret()) << "no caret yet";
    EXPECT_FALSE(SetCaretPos(1, 1));
    EXPECT_FALSE(CreateCaret(reinterpret_cast<HWND>(0x4444), nullptr, 1, 1));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(GetCaretPos(nullptr));

    // Width and height 0 take the window border's size.
    ASSERT_TRUE(CreateCaret(m_hwnd, nullptr, 0, 0));
    SetCaretPos(20, 30);
    EXPECT_FALSE(ShowCaret(m_child)) << "only the owner shows it";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(HideCaret(m_child));
    ShowCaret(m_hwnd);
    EXPECT_EQ(Marks(), GetSystemMetrics(SM_CXBORDER) * GetSystemMetrics(SM_CYBORDER));

    // A new caret replaces the old one, whichever window had it; a gray one inverts half-way.
    ASSERT_TRUE(CreateCaret(m_child, reinterpret_cast<HBITMAP>(1), 3, 4));
    EXPECT_EQ(Marks(), 0);
    SetCaretPos(0, 0);
    ShowCaret(m_child);
    EXPECT_EQ(At(100, 50), 0x7F7F7Fu);
    EXPECT_EQ(Marks(), 12);

    // The caret goes with its window.
    DestroyWindow(m_child);
    EXPECT_FALSE(SetCaretPos(2, 2));
    EXPECT_FALSE(DestroyCaret());
}

}  // namespace
