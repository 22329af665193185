// Input: key messages with Win32's lParam, WM_CHAR only through TranslateMessage, pointer
// messages in client coordinates, activation by click, context menus and the key state.
#include <windows.h>
#include <windowsx.h>

#include "support/headless_test.h"
#include "support/message_log.h"

namespace {

class InputTest : public HeadlessTest {
protected:
    InputTest() {
        MessageLog::Register(CS_DBLCLKS);
        m_hwnd = CreateWindowExA(0, "LogWindow", "", WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 100,
                                 200, 150, nullptr, nullptr, nullptr, nullptr);
        m_child = CreateWindowExA(0, "LogWindow", "", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, m_hwnd,
                                  reinterpret_cast<HMENU>(5), nullptr, nullptr);
        Pump();
        Log().Clear();
    }
    MessageLog& Log() { return MessageLog::Instance(); }
    // Retrieves and dispatches without TranslateMessage.
    void PumpUntranslated() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    HWND m_hwnd = nullptr;
    HWND m_child = nullptr;
};

TEST_F(InputTest, KeyLParamCarriesScanCodeExtendedRepeatAndTransitionBits) {
    Display().KeyDown(VK_LEFT);
    Display().KeyRepeat(VK_LEFT);
    Display().KeyUp(VK_LEFT);
    Pump();
    const auto downs = Log().Of(WM_KEYDOWN);
    const auto ups = Log().Of(WM_KEYUP);
    ASSERT_EQ(2u, downs.size());
    ASSERT_EQ(1u, ups.size());
    EXPECT_EQ(m_hwnd, downs[0].hwnd);  // the focus window
    EXPECT_EQ(static_cast<WPARAM>(VK_LEFT), downs[0].wParam);
    EXPECT_EQ(0x014B0001, downs[0].lParam);                      // count 1, scan 0x4B, extended
    EXPECT_EQ(0x414B0001, downs[1].lParam);                      // + previously down
    EXPECT_EQ(static_cast<LPARAM>(0xC14B0001u), ups[0].lParam);  // + released
}

TEST_F(InputTest, AltMakesSystemKeysAndAltF4Closes) {
    Display().KeyDown(VK_MENU);
    Display().KeyDown(VK_F4);
    Pump();
    const auto sys = Log().Of(WM_SYSKEYDOWN);
    ASSERT_EQ(2u, sys.size());
    EXPECT_EQ(static_cast<WPARAM>(VK_F4), sys[1].wParam);
    EXPECT_TRUE(HIWORD(sys[1].lParam) & KF_ALTDOWN);
    EXPECT_FALSE(IsWindow(m_hwnd));  // SC_CLOSE -> WM_CLOSE -> DestroyWindow
}

// A key press types only when it goes through TranslateMessage, so a key that a dialog
// swallows before dispatching never types.
TEST_F(InputTest, CharactersComeOnlyFromTranslatedKeys) {
    Display().Press('A', "a");
    PumpUntranslated();
    EXPECT_TRUE(Log().Of(WM_CHAR).empty());

    Display().Press('A', "a");
    Pump();
    auto chars = Log().Of(WM_CHAR);
    ASSERT_EQ(1u, chars.size());
    EXPECT_EQ(static_cast<WPARAM>('a'), chars[0].wParam);

    // Beyond ASCII, one WM_CHAR per UTF-8 byte; Ctrl+letter gives the control code.
    Log().Clear();
    Display().Press('X', "é");
    Display().KeyDown(VK_CONTROL);
    Display().Press('C', "c");
    Pump();
    chars = Log().Of(WM_CHAR);
    ASSERT_EQ(3u, chars.size());
    EXPECT_EQ(0xC3u, chars[0].wParam);
    EXPECT_EQ(0xA9u, chars[1].wParam);
    EXPECT_EQ(3u, chars[2].wParam);
}

TEST_F(InputTest, KeyStateFollowsTheMessagesRetrieved) {
    Display().KeyDown(VK_SHIFT);
    Display().KeyDown('B', "B");
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
    EXPECT_TRUE(GetKeyState(VK_SHIFT) < 0);
    EXPECT_FALSE(GetKeyState('B') < 0);  // 'B' is still waiting in the queue
    EXPECT_TRUE(GetAsyncKeyState('B') & 0x8000);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE));
    EXPECT_TRUE(GetKeyState('B') < 0);
}

TEST_F(InputTest, ClicksArriveInClientCoordinatesOfTheWindowUnderThePointer) {
    POINT childOrigin{0, 0};
    ClientToScreen(m_child, &childOrigin);
    Display().Click(display::MouseButton::Left, {childOrigin.x + 4, childOrigin.y + 6});
    Pump();
    const auto downs = Log().Of(WM_LBUTTONDOWN);
    ASSERT_EQ(1u, downs.size());
    EXPECT_EQ(m_child, downs[0].hwnd);
    EXPECT_EQ(4, GET_X_LPARAM(downs[0].lParam));
    EXPECT_EQ(6, GET_Y_LPARAM(downs[0].lParam));
    EXPECT_TRUE(downs[0].wParam & MK_LBUTTON);
    EXPECT_EQ(1u, Log().Of(WM_LBUTTONUP).size());

    // A second press soon after, on the same spot, is a double click for a CS_DBLCLKS class.
    Display().Advance(100);
    Display().Click(display::MouseButton::Left, {childOrigin.x + 5, childOrigin.y + 6});
    Pump();
    EXPECT_EQ(1u, Log().Of(WM_LBUTTONDBLCLK).size());

    // The caption is not client area.
    Display().Click(display::MouseButton::Left, {150, 105});
    Pump();
    const auto nc = Log().Of(WM_NCLBUTTONDOWN);
    ASSERT_EQ(1u, nc.size());
    EXPECT_EQ(static_cast<WPARAM>(HTCAPTION), nc[0].wParam);
}

TEST_F(InputTest, ClickActivatesAnInactiveWindow) {
    HWND other = CreateWindowExA(0, "LogWindow", "", WS_POPUP | WS_VISIBLE, 400, 400, 50, 50,
                                 nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(other, GetActiveWindow());
    Log().Clear();
    Display().Click(display::MouseButton::Left, {150, 200});
    Pump();
    EXPECT_EQ(m_hwnd, GetActiveWindow());
    const auto activates = Log().Of(WM_ACTIVATE);
    ASSERT_FALSE(activates.empty());
    EXPECT_EQ(static_cast<WORD>(WA_CLICKACTIVE), LOWORD(activates.back().wParam));
    EXPECT_EQ(1u, Log().Of(WM_MOUSEACTIVATE).size());
}

// Keys typed right after a click go where the click put the focus, however soon they follow: a
// key's window is the focus window when the key is retrieved, not when it arrived. With no focus
// they reach the active window as system keys.
TEST_F(InputTest, KeysFollowTheFocusAsItIsWhenTheyAreRetrieved) {
    Log().Handle(WM_LBUTTONDOWN, [](HWND hwnd, WPARAM, LPARAM) {
        SetFocus(hwnd);
        return LRESULT{0};
    });
    POINT inChild{20, 20};
    ClientToScreen(m_child, &inChild);
    Display().Click(display::MouseButton::Left, {inChild.x, inChild.y});
    Display().Press('X', "x");
    SetFocus(nullptr);  // until the click is dispatched, nothing has the focus
    Pump();
    ASSERT_EQ(1u, Log().Of(WM_KEYDOWN).size());
    EXPECT_EQ(m_child, Log().Of(WM_KEYDOWN)[0].hwnd);
    ASSERT_EQ(1u, Log().Of(WM_CHAR).size());
    EXPECT_EQ(m_child, Log().Of(WM_CHAR)[0].hwnd);
    EXPECT_TRUE(Log().Of(WM_SYSKEYDOWN).empty());

    SetFocus(nullptr);
    Log().Clear();
    Display().Press('Y', "y");
    Pump();
    ASSERT_EQ(1u, Log().Of(WM_SYSKEYDOWN).size());
    EXPECT_EQ(m_hwnd, Log().Of(WM_SYSKEYDOWN)[0].hwnd);
}

TEST_F(InputTest, CaptureTakesThePointerOutsideTheWindow) {
    SetCapture(m_child);
    Display().MovePointer(700, 700);
    Pump();
    const auto moves = Log().Of(WM_MOUSEMOVE);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(m_child, moves.back().hwnd);
    POINT p{700, 700};
    ScreenToClient(m_child, &p);
    EXPECT_EQ(p.x, GET_X_LPARAM(moves.back().lParam));
    ReleaseCapture();
    EXPECT_EQ(1u, Log().Of(WM_CAPTURECHANGED).size());
}

// The right button's release, Shift+F10 and the menu key all ask for a context menu; a
// child that does not answer passes the request to its parent.
TEST_F(InputTest, ContextMenuRequestsReachTheParent) {
    POINT inChild{0, 0};
    ClientToScreen(m_child, &inChild);
    Display().Click(display::MouseButton::Right, {inChild.x + 1, inChild.y + 1});
    Pump();
    auto menus = Log().Of(WM_CONTEXTMENU);
    ASSERT_EQ(2u, menus.size());
    EXPECT_EQ(m_hwnd, menus[1].hwnd);
    EXPECT_EQ(reinterpret_cast<WPARAM>(m_child), menus[1].wParam);
    EXPECT_EQ(inChild.x + 1, GET_X_LPARAM(menus[1].lParam));

    Log().Clear();
    Display().KeyDown(VK_SHIFT);
    Display().Press(VK_F10);
    Display().KeyUp(VK_SHIFT);
    Display().Press(VK_APPS);
    Pump();
    menus = Log().Of(WM_CONTEXTMENU);
    ASSERT_EQ(2u, menus.size());
    EXPECT_EQ(-1, menus[0].lParam);
    EXPECT_EQ(-1, menus[1].lParam);
}

TEST_F(InputTest, CursorPositionIsClampedToTheScreen) {
    SetCursorPos(-50, 5000);
    POINT p;
    ASSERT_TRUE(GetCursorPos(&p));
    EXPECT_EQ(0, p.x);
    EXPECT_EQ(1023, p.y);
    SetCursorPos(640, 512);
    GetCursorPos(&p);
    EXPECT_EQ(640, p.x);
}

}  // namespace
