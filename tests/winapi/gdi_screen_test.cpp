// Window and screen DCs on the headless display: drawing lands in the window where it is now,
// a dead window's DC fails, and reading through a window or the screen DC gives the screen's
// pixels, as classic Win32 does, with off-screen pixels left alone.
#include <windows.h>

#include "platform/winapi/gdi/window_dc.h"
#include "support/headless_test.h"

namespace {

constexpr std::uint32_t kDesktop = display::HeadlessBackend::kDesktopColour;

COLORREF AsColorRef(std::uint32_t pixel) {
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

class GdiScreenTest : public HeadlessTest {
protected:
    GdiScreenTest() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "GdiScreenTest";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        RegisterClassA(&wc);
    }
    static DWORD Count() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }

    // A visible borderless window, so its client area starts at its top-left corner.
    HWND Window(int x, int y, int w, int h, DWORD style = WS_POPUP | WS_VISIBLE) {
        HWND hwnd = CreateWindowExA(0, "GdiScreenTest", "", style, x, y, w, h, nullptr, nullptr,
                                    nullptr, nullptr);
        Pump();
        return hwnd;
    }
    static void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
        RECT rect{left, top, right, bottom};
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
    }
};

TEST_F(GdiScreenTest, WindowDcDrawingReachesTheScreenWhereTheWindowIs) {
    HWND hwnd = Window(100, 50, 60, 40);
    const DWORD before = Count();
    HDC dc = GetDC(hwnd);
    ASSERT_NE(nullptr, dc);
    EXPECT_EQ(before + 1, Count());
    Fill(dc, 0, 0, 10, 10, RGB(255, 0, 0));
    Pump();
    EXPECT_EQ(0xFF0000u, ScreenPixel(100, 50));
    EXPECT_EQ(0xFF0000u, ScreenPixel(109, 59));
    EXPECT_EQ(0xFFFFFFu, ScreenPixel(110, 59));  // the class background, COLOR_WINDOW
    // The window moves; the DC taken before draws where the window is now.
    MoveWindow(hwnd, 300, 200, 60, 40, TRUE);
    Pump();
    Fill(dc, 0, 0, 5, 5, RGB(0, 0, 255));
    Pump();
    EXPECT_EQ(0x0000FFu, ScreenPixel(304, 204));
    // Drawing stays inside the window.
    Fill(dc, -20, -20, 100, 100, RGB(0, 255, 0));
    Pump();
    EXPECT_EQ(0x00FF00u, ScreenPixel(359, 239));
    EXPECT_EQ(kDesktop, ScreenPixel(360, 239));
    EXPECT_EQ(kDesktop, ScreenPixel(299, 200));
    EXPECT_EQ(1, ReleaseDC(hwnd, dc));
    EXPECT_EQ(before, Count());
}

TEST_F(GdiScreenTest, ADeadWindowsDcDrawsNothingAndFails) {
    HWND hwnd = Window(10, 10, 30, 30);
    HDC dc = GetDC(hwnd);
    DestroyWindow(hwnd);
    Pump();
    RECT rect{0, 0, 5, 5};
    EXPECT_EQ(0, FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
    EXPECT_FALSE(Rectangle(dc, 0, 0, 5, 5));
    EXPECT_EQ(CLR_INVALID, GetPixel(dc, 1, 1));
    EXPECT_EQ(kDesktop, ScreenPixel(12, 12));
    EXPECT_EQ(1, ReleaseDC(hwnd, dc));
    EXPECT_EQ(0, ReleaseDC(hwnd, dc));
    SetLastError(0);
    EXPECT_EQ(nullptr, GetDC(hwnd));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE), GetLastError());
    EXPECT_EQ(nullptr, GetDC(reinterpret_cast<HWND>(static_cast<UINT_PTR>(0x7777))));
}

// A window DC's origin: the client area's corner for GetDC, the window's for GetWindowDC.
TEST_F(GdiScreenTest, GetWindowDcStartsAtTheWindowsCorner) {
    HWND hwnd = Window(200, 100, 120, 80, WS_POPUP | WS_CAPTION | WS_VISIBLE);
    RECT window{};
    GetWindowRect(hwnd, &window);
    POINT client{0, 0};
    ClientToScreen(hwnd, &client);
    ASSERT_NE(client.y, window.top);
    HDC whole = GetWindowDC(hwnd);
    SetPixel(whole, 0, 0, RGB(1, 2, 3));
    ReleaseDC(hwnd, whole);
    HDC inside = GetDC(hwnd);
    SetPixel(inside, 0, 0, RGB(4, 5, 6));
    ReleaseDC(hwnd, inside);
    Pump();
    EXPECT_EQ(0x010203u, ScreenPixel(window.left, window.top));
    EXPECT_EQ(0x040506u, ScreenPixel(client.x, client.y));
}

TEST_F(GdiScreenTest, AHiddenWindowsDcSucceedsButShowsNothing) {
    HWND hwnd = Window(10, 10, 30, 30, WS_POPUP);
    HDC dc = GetDC(hwnd);
    RECT rect{0, 0, 5, 5};
    EXPECT_NE(0, FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
    Pump();
    EXPECT_EQ(kDesktop, ScreenPixel(12, 12));
    ReleaseDC(hwnd, dc);
}

// Drawing on the desktop DC is clipped away: it succeeds and changes nothing.
TEST_F(GdiScreenTest, TheScreenDcReadsTheScreenAndDrawsNothing) {
    Display().FillDesktop({40, 30, 41, 31}, 0x123456);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), GetPixel(screen, 40, 30));
    EXPECT_EQ(AsColorRef(kDesktop), GetPixel(screen, 0, 0));
    EXPECT_EQ(CLR_INVALID, GetPixel(screen, -1, 0));
    EXPECT_EQ(CLR_INVALID, GetPixel(screen, display::HeadlessBackend::kDefaultWidth, 0));
    RECT rect{40, 30, 41, 31};
    EXPECT_NE(0, FillRect(screen, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), GetPixel(screen, 40, 30));
    ReleaseDC(nullptr, screen);
    HDC desktop = GetWindowDC(GetDesktopWindow());
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), GetPixel(desktop, 40, 30));
    ReleaseDC(GetDesktopWindow(), desktop);
}

// Reading through a window's DC gives what is on the screen there, whichever window that is.
TEST_F(GdiScreenTest, WindowDcReadsWhateverIsOnTheScreen) {
    HWND below = Window(100, 100, 50, 50);
    HWND above = Window(120, 120, 50, 50);
    HDC aboveDc = GetDC(above);
    Fill(aboveDc, 0, 0, 50, 50, RGB(255, 0, 0));
    ReleaseDC(above, aboveDc);
    HDC belowDc = GetDC(below);
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(belowDc, 30, 30));  // under the other window
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(belowDc, 5, 5));
    EXPECT_EQ(CLR_INVALID, GetPixel(belowDc, 60, 5));  // outside the window's own area

    // As a blit source, unclipped: the desktop beside the window comes along too.
    HDC memory = CreateCompatibleDC(belowDc);
    HBITMAP bitmap = CreateCompatibleBitmap(belowDc, 80, 1);
    HGDIOBJ old = SelectObject(memory, bitmap);
    ASSERT_TRUE(BitBlt(memory, 0, 0, 80, 1, belowDc, -10, 30, SRCCOPY));
    EXPECT_EQ(AsColorRef(kDesktop), GetPixel(memory, 0, 0));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(memory, 10, 0));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(memory, 40, 0));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(below, belowDc);
}

// A 21 x 21 read centred on the screen's corner: the part off the screen keeps the
// destination's white.
TEST_F(GdiScreenTest, ReadsOffTheScreenKeepTheDestination) {
    for (int y = 0; y < 11; ++y)
        for (int x = 0; x < 11; ++x)
            Display().SetDesktopPixel({x, y}, static_cast<std::uint32_t>(x << 16 | y << 8 | 7));
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 21, 21);
    HGDIOBJ old = SelectObject(memory, bitmap);
    Fill(memory, 0, 0, 21, 21, RGB(255, 255, 255));
    ASSERT_TRUE(BitBlt(memory, 0, 0, 21, 21, screen, -10, -10, SRCCOPY));
    for (int y = 0; y < 21; ++y)
        for (int x = 0; x < 21; ++x) {
            const bool onScreen = x >= 10 && y >= 10;
            const COLORREF expected = !onScreen            ? RGB(255, 255, 255)
                                      : x <= 20 && y <= 20 ? RGB(x - 10, y - 10, 7)
                                                           : 0;
            EXPECT_EQ(expected, GetPixel(memory, x, y)) << x << "," << y;
        }

    // Enlarged ten times from the screen: exact blocks, the off-screen part left white.
    HBITMAP big = CreateCompatibleBitmap(screen, 210, 210);
    SelectObject(memory, big);
    Fill(memory, 0, 0, 210, 210, RGB(255, 255, 255));
    ASSERT_TRUE(StretchBlt(memory, 0, 0, 210, 210, screen, -10, -10, 21, 21, SRCCOPY));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(memory, 99, 150));
    EXPECT_EQ(RGB(0, 0, 7), GetPixel(memory, 100, 100));
    EXPECT_EQ(RGB(0, 0, 7), GetPixel(memory, 109, 109));
    EXPECT_EQ(RGB(1, 0, 7), GetPixel(memory, 110, 109));
    EXPECT_EQ(RGB(10, 10, 7), GetPixel(memory, 209, 209));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteObject(big);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

TEST_F(GdiScreenTest, AChildsDcIsClippedToItsParent) {
    HWND parent = Window(50, 50, 40, 40);
    HWND child = CreateWindowExA(0, "GdiScreenTest", "", WS_CHILD | WS_VISIBLE, 30, 30, 30, 30,
                                 parent, nullptr, nullptr, nullptr);
    Pump();
    HDC dc = GetDC(child);
    Fill(dc, 0, 0, 30, 30, RGB(9, 9, 9));
    RECT box{};
    EXPECT_EQ(SIMPLEREGION, GetClipBox(dc, &box));
    EXPECT_EQ(10, box.right);
    ReleaseDC(child, dc);
    Pump();
    EXPECT_EQ(0x090909u, ScreenPixel(89, 89));
    EXPECT_EQ(kDesktop, ScreenPixel(90, 90));
}

// The window system's DCs for painting: clipped to the area being painted, closed once.
TEST_F(GdiScreenTest, PaintDcsKeepToThePaintedArea) {
    HWND hwnd = Window(20, 20, 40, 40);
    const DWORD before = Count();
    HDC dc = winapi::gdi::OpenWindowDc(hwnd, winapi::CanvasArea::Client, RECT{5, 5, 10, 10});
    ASSERT_NE(nullptr, dc);
    Fill(dc, 0, 0, 40, 40, RGB(7, 7, 7));
    RECT box{};
    GetClipBox(dc, &box);
    EXPECT_EQ(5, box.left);
    EXPECT_EQ(10, box.bottom);
    EXPECT_TRUE(winapi::gdi::CloseWindowDc(dc));
    EXPECT_FALSE(winapi::gdi::CloseWindowDc(dc));
    EXPECT_EQ(before, Count());
    Pump();
    EXPECT_EQ(0x070707u, ScreenPixel(25, 25));
    EXPECT_EQ(0x070707u, ScreenPixel(29, 29));
    EXPECT_EQ(0xFFFFFFu, ScreenPixel(30, 29));
    EXPECT_EQ(0xFFFFFFu, ScreenPixel(24, 25));

    HDC memory = CreateCompatibleDC(nullptr);
    EXPECT_FALSE(winapi::gdi::CloseWindowDc(memory));
    DeleteDC(memory);
    EXPECT_EQ(nullptr,
              winapi::gdi::OpenWindowDc(nullptr, winapi::CanvasArea::Client, std::nullopt));

    // BeginPaint's DC covers what was invalid; EndPaint gives it back.
    RECT invalid{0, 0, 4, 4};
    InvalidateRect(hwnd, &invalid, FALSE);
    PAINTSTRUCT ps{};
    HDC paint = BeginPaint(hwnd, &ps);
    Fill(paint, 0, 0, 40, 40, RGB(8, 8, 8));
    EndPaint(hwnd, &ps);
    EXPECT_EQ(before, Count());
    Pump();
    EXPECT_EQ(0x080808u, ScreenPixel(23, 23));
    EXPECT_EQ(0x070707u, ScreenPixel(25, 25));
}

}  // namespace
