// The classic frame and caption: hit testing of every part, the caption boxes pressed and
// released, dragging and keyboard moves, the window menu from the icon and Alt+Space, and the
// caption's pixels when active and inactive, with its icon and title.
#include <windows.h>
#include <windowsx.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <span>
#include <vector>

#include "platform/winapi/gdi/icon_image.h"
#include "platform/winapi/host.h"
#include "res/resource.h"
#include "support/headless_test.h"
#include "support/message_log.h"
#include "support/screenshot.h"

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kLeft = 100;
constexpr int kTop = 100;
// Window coordinates of the classic parts of a 202 px wide window with a 3 px frame.
constexpr RECT kBar{3, 3, 199, 21};
constexpr RECT kClose{181, 5, 197, 19};
constexpr RECT kMaximize{163, 5, 179, 19};
constexpr RECT kMinimize{147, 5, 163, 19};

std::uint32_t SysPixel(int index) {
    const COLORREF c = GetSysColor(index);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

display::Point Screen(int x, int y) {
    return {kLeft + x, kTop + y};
}
display::Point Middle(const RECT& r) {
    return Screen((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

HICON SolidIcon(int size, std::uint32_t argb) {
    const std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size * size), argb);
    return winapi::gdi::CreateIconFromArgb(size, size, pixels);
}

class NonClientTest : public HeadlessTest {
protected:
    NonClientTest() {
        MessageLog::Register();
        m_hwnd = Create("Tintaro LE", kStyle);
        Pump();
        Log().Clear();
    }
    ~NonClientTest() override {
        for (HICON icon : m_icons)
            DestroyIcon(icon);
    }
    HWND Create(const char* title, DWORD style, int x = kLeft, int y = kTop) {
        return CreateWindowExA(WS_EX_DLGMODALFRAME, "LogWindow", title, style | WS_VISIBLE, x, y,
                               202, 200, nullptr, nullptr, nullptr, nullptr);
    }
    MessageLog& Log() { return MessageLog::Instance(); }
    void SetIcon(WPARAM which, HICON icon) {
        m_icons.push_back(icon);
        SendMessageA(m_hwnd, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
        Pump();
    }
    LRESULT HitAt(display::Point p) {
        return SendMessageA(m_hwnd, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
    }
    // Each time a modal loop waits for input, the next step runs; a step must queue input or
    // move the clock. After the last, Esc.
    void WhileTracking(std::vector<std::function<void()>> steps) {
        m_steps = std::move(steps);
        m_next = 0;
        Display().SetIdleHandler([this] {
            if (m_next < m_steps.size())
                m_steps[m_next++]();
            else
                Display().Press(VK_ESCAPE);
        });
    }
    void PumpTracking() {
        Pump();
        Display().SetIdleHandler({});
    }
    std::optional<display::Rect> Popup() {
        for (display::SurfaceId id : Display().SurfacesTopToBottom()) {
            const display::SurfaceInfo* s = Display().FindSurface(id);
            if (s != nullptr && s->kind == display::SurfaceKind::Menu && s->visible)
                return s->bounds;
        }
        return std::nullopt;
    }
    display::Rect WindowRect() {
        RECT r{};
        GetWindowRect(m_hwnd, &r);
        return {r.left, r.top, r.right, r.bottom};
    }
    std::vector<WPARAM> SysCommands() {
        std::vector<WPARAM> commands;
        for (const LoggedMessage& m : Log().Of(WM_SYSCOMMAND))
            commands.push_back(m.wParam);
        return commands;
    }

    HWND m_hwnd = nullptr;
    std::vector<HICON> m_icons;
    std::vector<std::function<void()>> m_steps;
    std::size_t m_next = 0;
};

// --- Hit testing ---

TEST_F(NonClientTest, EveryPartOfTheFrameHasItsHitTestCode) {
    SetIcon(ICON_BIG, SolidIcon(32, 0xFFFF0000));
    const struct {
        int x, y;  // window coordinates
        LRESULT hit;
    } kCases[] = {
        {5, 5, HTSYSMENU},     {20, 12, HTSYSMENU},    {21, 12, HTCAPTION},
        {100, 4, HTCAPTION},   {100, 21, HTCAPTION},   {147, 12, HTMINBUTTON},
        {162, 3, HTMINBUTTON}, {163, 12, HTMAXBUTTON}, {178, 20, HTMAXBUTTON},
        {179, 12, HTCLOSE},    {198, 3, HTCLOSE},      {190, 12, HTCLOSE},
        {1, 100, HTBORDER},    {100, 1, HTBORDER},     {200, 150, HTBORDER},
        {100, 198, HTBORDER},  {3, 22, HTCLIENT},      {198, 196, HTCLIENT},
        {-1, 100, HTNOWHERE},  {202, 100, HTNOWHERE},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(c.hit, HitAt(Screen(c.x, c.y))) << c.x << ", " << c.y;

    // Without an icon a modal-frame window has no HTSYSMENU part; without a minimise or
    // maximise box, no pair of boxes.
    HWND plain = Create("", WS_POPUP | WS_CAPTION | WS_SYSMENU, 400, 400);
    auto hit = [&](int x, int y) {
        return SendMessageA(plain, WM_NCHITTEST, 0, MAKELPARAM(400 + x, 400 + y));
    };
    EXPECT_EQ(HTCAPTION, hit(5, 5));
    EXPECT_EQ(HTCAPTION, hit(150, 12));
    EXPECT_EQ(HTCLOSE, hit(190, 12));
}

// --- Caption boxes ---

TEST_F(NonClientTest, TheCloseBoxClosesOnlyWhenReleasedOverIt) {
    const display::Point boxCorner = Screen(kClose.left, kClose.top);
    std::uint32_t whilePressed = 0, whileAway = 0;
    WhileTracking({[&] {
                       whilePressed = ScreenPixel(boxCorner.x, boxCorner.y);
                       Display().MovePointer(200, 250);
                   },
                   [&] {
                       whileAway = ScreenPixel(boxCorner.x, boxCorner.y);
                       Display().ButtonUp(display::MouseButton::Left);
                   }});
    Display().ButtonDown(display::MouseButton::Left, Middle(kClose));
    PumpTracking();
    // Pressed only while the pointer is over it.
    EXPECT_EQ(SysPixel(COLOR_3DDKSHADOW), whilePressed);
    EXPECT_EQ(SysPixel(COLOR_3DHIGHLIGHT), whileAway);
    EXPECT_EQ(SysPixel(COLOR_3DHIGHLIGHT), ScreenPixel(boxCorner.x, boxCorner.y));
    EXPECT_TRUE(IsWindow(m_hwnd));
    EXPECT_TRUE(SysCommands().empty());
    EXPECT_EQ(nullptr, GetCapture());

    // Leaving and coming back, then releasing over it, closes the window.
    WhileTracking({[&] { Display().MovePointer(200, 250); },
                   [&] { Display().MovePointer(Middle(kClose)); },
                   [&] { Display().ButtonUp(display::MouseButton::Left); }});
    Display().ButtonDown(display::MouseButton::Left, Middle(kClose));
    PumpTracking();
    EXPECT_EQ((std::vector<WPARAM>{SC_CLOSE}), SysCommands());
    EXPECT_FALSE(IsWindow(m_hwnd));
}

TEST_F(NonClientTest, TheMinimizeBoxMinimizesAndTheGrayedMaximizeBoxDoesNothing) {
    Display().Click(display::MouseButton::Left, Middle(kMaximize));
    Pump();
    EXPECT_TRUE(SysCommands().empty());
    EXPECT_FALSE(IsIconic(m_hwnd));
    Display().Click(display::MouseButton::Left, Middle(kMinimize));
    Pump();
    EXPECT_EQ((std::vector<WPARAM>{SC_MINIMIZE}), SysCommands());
    EXPECT_TRUE(IsIconic(m_hwnd));
}

// --- Moving ---

TEST_F(NonClientTest, DraggingTheCaptionMovesTheWindowByThePointersDelta) {
    WhileTracking({[&] { Display().MovePointer(230, 150); },
                   [&] { Display().MovePointer(260, 125); },
                   [&] { Display().ButtonUp(display::MouseButton::Left); }});
    Display().ButtonDown(display::MouseButton::Left, display::Point{200, 110});
    PumpTracking();
    EXPECT_EQ((display::Rect{160, 115, 362, 315}), WindowRect());
    EXPECT_EQ(static_cast<WPARAM>(SC_MOVE | HTCAPTION), SysCommands().at(0));
    const std::vector<UINT> order =
        Log().Messages(m_hwnd, {WM_ENTERSIZEMOVE, WM_MOVING, WM_WINDOWPOSCHANGED, WM_EXITSIZEMOVE});
    EXPECT_EQ((std::vector<UINT>{WM_ENTERSIZEMOVE, WM_MOVING, WM_WINDOWPOSCHANGED, WM_MOVING,
                                 WM_WINDOWPOSCHANGED, WM_EXITSIZEMOVE}),
              order);
    EXPECT_EQ(nullptr, GetCapture());

    // WM_MOVING may change the rectangle; Esc puts the window back where the drag began.
    Log().Handle(WM_MOVING, [](HWND, WPARAM, LPARAM lParam) {
        reinterpret_cast<RECT*>(lParam)->top = 40;
        return TRUE;
    });
    display::Rect duringDrag;
    WhileTracking({[&] { Display().MovePointer(300, 300); },
                   [&] {
                       duringDrag = WindowRect();
                       Display().Press(VK_ESCAPE);
                   },
                   [&] { Display().ButtonUp(display::MouseButton::Left); }});
    Display().ButtonDown(display::MouseButton::Left, display::Point{260, 125});
    PumpTracking();
    EXPECT_EQ(200, duringDrag.left);
    EXPECT_EQ(40, duringDrag.top);
    EXPECT_EQ((display::Rect{160, 115, 362, 315}), WindowRect());
}

// Arrows move 8 px a press (Win32's step), Enter keeps the place, Esc goes back.
TEST_F(NonClientTest, TheKeyboardMoveStepsEightPixelsAndEscGoesBack) {
    WhileTracking({[&] { Display().Press(VK_RIGHT); }, [&] { Display().Press(VK_RIGHT); },
                   [&] { Display().Press(VK_DOWN); }, [&] { Display().Press(VK_RETURN); }});
    SendMessageA(m_hwnd, WM_SYSCOMMAND, SC_MOVE, 0);
    Display().SetIdleHandler({});
    EXPECT_EQ(kLeft + 16, WindowRect().left);
    EXPECT_EQ(kTop + 8, WindowRect().top);
    // The pointer went to the caption's middle and moved with the window.
    POINT pointer;
    GetCursorPos(&pointer);
    EXPECT_EQ(kLeft + 16 + 101, pointer.x);
    EXPECT_EQ(kTop + 8 + 3 + 9, pointer.y);

    WhileTracking({[&] { Display().Press(VK_LEFT); }, [&] { Display().Press(VK_ESCAPE); }});
    SendMessageA(m_hwnd, WM_SYSCOMMAND, SC_MOVE, 0);
    Display().SetIdleHandler({});
    EXPECT_EQ(kLeft + 16, WindowRect().left);

    // From the window menu: Alt+Space, Down to 移動, Enter, then the move itself.
    WhileTracking({[&] { Display().Press(VK_DOWN); }, [&] { Display().Press(VK_RETURN); },
                   [&] { Display().Press(VK_UP); }, [&] { Display().Press(VK_RETURN); }});
    Display().KeyDown(VK_MENU);
    Display().Press(VK_SPACE);
    Display().KeyUp(VK_MENU);
    PumpTracking();
    EXPECT_EQ(kTop, WindowRect().top);
}

// --- The window menu ---

TEST_F(NonClientTest, TheIconOpensTheWindowMenuBelowItAndItsChoiceComesAsSysCommand) {
    SetIcon(ICON_BIG, SolidIcon(32, 0xFFFF0000));
    std::optional<display::Rect> popup;
    LPARAM initParam = 0;
    Log().Handle(WM_INITMENUPOPUP, [&](HWND, WPARAM, LPARAM lParam) {
        initParam = lParam;
        return 0;
    });
    const display::Point closeItem{kLeft + 40, kTop + 21 + 3 + 5 * 17 + 9 + 8};
    WhileTracking({[&] {
                       popup = Popup();
                       // Releasing the opening press on the icon chooses nothing.
                       Display().ButtonUp(display::MouseButton::Left);
                   },
                   [&] { Display().MovePointer(closeItem); },
                   [&] { Display().Click(display::MouseButton::Left, closeItem); }});
    Display().ButtonDown(display::MouseButton::Left, Screen(8, 8));
    PumpTracking();
    ASSERT_TRUE(popup.has_value());
    EXPECT_EQ(kLeft + 3, popup->left);
    EXPECT_EQ(kTop + 21, popup->top);
    EXPECT_TRUE(HIWORD(initParam));
    const auto commands = Log().Of(WM_SYSCOMMAND);
    ASSERT_EQ(2u, commands.size());
    EXPECT_EQ(static_cast<WPARAM>(SC_MOUSEMENU | HTSYSMENU), commands[0].wParam);
    EXPECT_EQ(static_cast<WPARAM>(SC_CLOSE), commands[1].wParam);
    EXPECT_EQ(MAKELPARAM(closeItem.x, closeItem.y), commands[1].lParam);
    EXPECT_FALSE(IsWindow(m_hwnd));
}

TEST_F(NonClientTest, ADoubleClickOnTheIconCloses) {
    SetIcon(ICON_BIG, SolidIcon(32, 0xFFFF0000));
    WhileTracking({[&] {
        Display().Advance(100);
        Display().Click(display::MouseButton::Left, Screen(9, 9));
    }});
    Display().Click(display::MouseButton::Left, Screen(8, 8));
    PumpTracking();
    EXPECT_FALSE(IsWindow(m_hwnd));
}

TEST_F(NonClientTest, AltSpaceOpensTheWindowMenuOnItsFirstItem) {
    std::optional<display::Rect> popup;
    std::uint32_t firstItem = 0;
    WhileTracking({[&] {
        popup = Popup();
        firstItem = ScreenPixel(popup->right - 5, popup->top + 4);
        Display().Press(VK_ESCAPE);
    }});
    Display().KeyDown(VK_MENU);
    Display().Press(VK_SPACE);
    Display().KeyUp(VK_MENU);
    PumpTracking();
    ASSERT_TRUE(popup.has_value());
    EXPECT_EQ((display::Point{kLeft + 3, kTop + 21}), (display::Point{popup->left, popup->top}));
    EXPECT_EQ(SysPixel(COLOR_HIGHLIGHT), firstItem);
    EXPECT_EQ((std::vector<WPARAM>{SC_KEYMENU}), SysCommands());
    EXPECT_TRUE(IsWindow(m_hwnd));
}

// --- Pixels ---

TEST_F(NonClientTest, TheCaptionIsNavyWhenActiveAndGrayWhenNot) {
    const display::Point bar = Screen(140, 6);
    EXPECT_EQ(SysPixel(COLOR_ACTIVECAPTION), ScreenPixel(bar.x, bar.y));
    EXPECT_EQ(SysPixel(COLOR_3DFACE), ScreenPixel(bar.x, kTop + kBar.bottom));  // the line below
    auto titleInk = [&](int colour) {
        int count = 0;
        for (int y = kBar.top; y < kBar.bottom; ++y)
            for (int x = kBar.left; x < kMinimize.left; ++x)
                count += ScreenPixel(kLeft + x, kTop + y) == SysPixel(colour);
        return count;
    };
    EXPECT_GT(titleInk(COLOR_CAPTIONTEXT), 40);

    HWND other = Create("other", kStyle, 600, 600);
    Pump();
    ASSERT_EQ(other, GetActiveWindow());
    EXPECT_EQ(SysPixel(COLOR_INACTIVECAPTION), ScreenPixel(bar.x, bar.y));
    EXPECT_EQ(0, titleInk(COLOR_CAPTIONTEXT));
    EXPECT_GT(titleInk(COLOR_INACTIVECAPTIONTEXT), 40);

    // The boxes are raised: white on the top left, black at the bottom right.
    EXPECT_EQ(SysPixel(COLOR_3DHIGHLIGHT), ScreenPixel(kLeft + kClose.left, kTop + kClose.top));
    EXPECT_EQ(SysPixel(COLOR_3DDKSHADOW),
              ScreenPixel(kLeft + kClose.right - 1, kTop + kClose.bottom - 1));
    EXPECT_EQ(SysPixel(COLOR_BTNTEXT),
              ScreenPixel(kLeft + kClose.left + 4, kTop + kClose.top + 3));  // the ×

    SetWindowTextA(m_hwnd, "");
    Pump();
    EXPECT_EQ(0, titleInk(COLOR_INACTIVECAPTIONTEXT));
}

TEST_F(NonClientTest, TheSmallIconOrTheBigOneShrunkSitsAtTheCaptionsLeft) {
    SetIcon(ICON_BIG, SolidIcon(32, 0xFFFF0000));
    EXPECT_EQ(0xFF0000u, ScreenPixel(kLeft + 4, kTop + 4));
    EXPECT_EQ(0xFF0000u, ScreenPixel(kLeft + 19, kTop + 19));
    EXPECT_EQ(SysPixel(COLOR_ACTIVECAPTION), ScreenPixel(kLeft + 20, kTop + 12));
    EXPECT_EQ(SysPixel(COLOR_ACTIVECAPTION), ScreenPixel(kLeft + 3, kTop + 3));
    SetIcon(ICON_SMALL, SolidIcon(16, 0xFF00FF00));
    EXPECT_EQ(0x00FF00u, ScreenPixel(kLeft + 12, kTop + 12));
}

// Pictures for a person to look at, written next to the test program: a captioned window with
// the program's icon and its notation menu open, then with its window menu open.
TEST_F(NonClientTest, ScreenshotOfACaptionedWindowWithItsMenuOpen) {
    std::ifstream file(TINTARO_RES_FILE, std::ios::binary);
    const std::vector<char> res{std::istreambuf_iterator<char>(file), {}};
    winapi::SetModuleResources(std::as_bytes(std::span(res)));
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(nullptr, icon);
    SendMessageA(m_hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    Pump();
    HMENU bar = LoadMenuA(nullptr, MAKEINTRESOURCEA(IDR_FORMAT_MENU));
    HMENU menu = GetSubMenu(bar, 0);
    CheckMenuItem(menu, ID_FORMAT_RGB, MF_CHECKED);
    CheckMenuItem(menu, ID_ALWAYS_ON_TOP, MF_CHECKED);
    bool written = false;
    WhileTracking({[&] { Display().MovePointer(190, 175); },
                   [&] {
                       written = WriteScreenshot(Display(),
                                                 {kLeft - 10, kTop - 10, kLeft + 330, kTop + 220},
                                                 BesideTestProgram("non_client_popup.ppm"));
                       Display().Press(VK_ESCAPE);
                   }});
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, 150, 140, 0, m_hwnd, nullptr);
    Display().SetIdleHandler({});
    EXPECT_TRUE(written);
    DestroyMenu(bar);

    // And its window menu, as Alt+Space shows it (non_client_window_menu.ppm).
    written = false;
    WhileTracking({[&] {
        written = WriteScreenshot(Display(), {kLeft - 10, kTop - 10, kLeft + 330, kTop + 220},
                                  BesideTestProgram("non_client_window_menu.ppm"));
        Display().Press(VK_ESCAPE);
    }});
    SendMessageA(m_hwnd, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    Display().SetIdleHandler({});
    EXPECT_TRUE(written);
}

}  // namespace
