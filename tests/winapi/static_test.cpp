// Static controls: where their text goes for each alignment, vertical centring, the colours the
// parent gives, the frame and rectangle styles (a frame leaves its inside alone), icons that
// size their static, and clicks that pass through to the parent unless SS_NOTIFY asks for them.
#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include "platform/winapi/host.h"
#include "support/headless_test.h"
#include "support/message_log.h"

namespace {

constexpr POINT kParentOrigin{100, 100};
constexpr WORD kProgramIcon = 128;  // IDR_MAINFRAME
constexpr COLORREF kPaper = RGB(255, 255, 0);
constexpr COLORREF kInk = RGB(255, 0, 0);

std::uint32_t Pixel(COLORREF colour) {
    return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

class StaticTest : public HeadlessTest {
protected:
    StaticTest() {
        MessageLog::Register();
        m_parent = CreateWindowExA(0, "LogWindow", "", WS_POPUP | WS_VISIBLE, kParentOrigin.x,
                                   kParentOrigin.y, 320, 240, nullptr, nullptr, nullptr, nullptr);
        m_paper = CreateSolidBrush(kPaper);
        Pump();
    }
    ~StaticTest() override { DeleteObject(m_paper); }

    MessageLog& Log() { return MessageLog::Instance(); }

    HWND Static(const char* text, DWORD style, int x, int y, int w, int h, int id = 10) {
        HWND hwnd =
            CreateWindowExA(0, "Static", text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, m_parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        Pump();
        return hwnd;
    }

    // The parent answers WM_CTLCOLORSTATIC with red text on yellow paper.
    void PaintOnPaper() {
        Log().Handle(WM_CTLCOLORSTATIC, [this](HWND, WPARAM dc, LPARAM) {
            SetTextColor(reinterpret_cast<HDC>(dc), kInk);
            SetBkColor(reinterpret_cast<HDC>(dc), kPaper);
            return reinterpret_cast<LRESULT>(m_paper);
        });
    }

    std::uint32_t At(HWND control, int x, int y) {
        POINT p{x, y};
        ClientToScreen(control, &p);
        return ScreenPixel(p.x, p.y);
    }

    // The smallest rectangle, in the control's client coordinates, holding every pixel that is
    // not the paper colour.
    RECT InkBox(HWND control) {
        RECT client;
        GetClientRect(control, &client);
        RECT box{client.right, client.bottom, -1, -1};
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x)
                if (At(control, x, y) != Pixel(kPaper)) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box;
    }

    int CountOf(HWND control, COLORREF colour) {
        RECT client;
        GetClientRect(control, &client);
        int count = 0;
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x)
                count += At(control, x, y) == Pixel(colour) ? 1 : 0;
        return count;
    }

    int LineHeight(HWND control) {
        HDC dc = GetDC(control);
        const HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0));
        const HGDIOBJ old = font != nullptr ? SelectObject(dc, font) : nullptr;
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        if (old != nullptr)
            SelectObject(dc, old);
        ReleaseDC(control, dc);
        return metrics.tmHeight;
    }

    HWND m_parent = nullptr;
    HBRUSH m_paper = nullptr;
};

// Left text starts at the left edge, right text ends at the right edge, centred text sits in
// the middle; the parent's brush fills the rest and its text colour draws the text.
TEST_F(StaticTest, TextAlignsAsItsStyleSaysInTheParentsColours) {
    PaintOnPaper();
    struct Case {
        DWORD style;
        const char* name;
    };
    for (const Case& c :
         {Case{SS_LEFT, "left"}, Case{SS_CENTER, "center"}, Case{SS_RIGHT, "right"}}) {
        SCOPED_TRACE(c.name);
        HWND label = Static("Wide", c.style, 10, 10, 200, 24);
        const RECT ink = InkBox(label);
        ASSERT_LT(ink.left, ink.right) << "no text drawn";
        EXPECT_GT(CountOf(label, kInk), 0);
        const int width = ink.right - ink.left;
        if (c.style == SS_LEFT) {
            EXPECT_LE(ink.left, 2);
        } else if (c.style == SS_RIGHT) {
            EXPECT_GE(ink.right, 198);
        } else {
            EXPECT_NEAR(100, ink.left + width / 2, 2);
        }
        EXPECT_LE(ink.top, 4);  // text starts at the top unless centred vertically
        DestroyWindow(label);
    }
}

TEST_F(StaticTest, CenterImagePutsASingleLineInTheVerticalMiddle) {
    PaintOnPaper();
    HWND top = Static("Mid", SS_LEFT, 10, 10, 100, 60, 1);
    HWND centred = Static("Mid", SS_LEFT | SS_CENTERIMAGE, 120, 10, 100, 60, 2);
    const RECT atTop = InkBox(top);
    const RECT atMiddle = InkBox(centred);
    ASSERT_LT(atTop.top, atTop.bottom);
    // DrawText's single-line centring: the line starts half a line above the middle.
    EXPECT_EQ(30 - LineHeight(centred) / 2, atMiddle.top - atTop.top);
    EXPECT_EQ(atTop.left, atMiddle.left);
}

TEST_F(StaticTest, LeftTextWrapsAtWordsUnlessTheStyleSaysNot) {
    PaintOnPaper();
    HWND wrapping = Static("one two three four", SS_LEFT, 10, 10, 60, 80, 1);
    HWND single = Static("one two three four", SS_LEFTNOWORDWRAP, 80, 10, 60, 80, 2);
    const int line = LineHeight(wrapping);
    EXPECT_GT(InkBox(wrapping).bottom, line);
    EXPECT_LE(InkBox(single).bottom, line);
    EXPECT_GE(InkBox(single).right, 59);  // the one line runs on to the edge and is clipped
}

TEST_F(StaticTest, AmpersandUnderlinesUnlessNoPrefix) {
    PaintOnPaper();
    HWND prefixed = Static("&W", SS_LEFT, 10, 10, 100, 24, 1);
    HWND plain = Static("&W", SS_LEFT | SS_NOPREFIX, 120, 10, 100, 24, 2);
    // The ampersand shows only with SS_NOPREFIX, which makes the text wider.
    EXPECT_LT(InkBox(prefixed).right, InkBox(plain).right);
}

// A black frame is a one-pixel ring in the 3-D dark shadow colour; what the program paints
// inside it through the static's own DC survives the static painting itself again.
TEST_F(StaticTest, BlackFramePaintsItsRingAndLeavesTheInsideAlone) {
    HWND swatch = Static("", SS_BLACKFRAME, 20, 20, 40, 30);
    const std::uint32_t black = Pixel(GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(0x000000u, black);
    for (const POINT p : {POINT{0, 0}, POINT{39, 0}, POINT{0, 29}, POINT{39, 29}, POINT{20, 0},
                          POINT{0, 15}, POINT{39, 15}, POINT{20, 29}})
        EXPECT_EQ(black, At(swatch, p.x, p.y)) << p.x << "," << p.y;
    EXPECT_EQ(0xFFFFFFu, At(swatch, 1, 1));  // the parent's background shows through

    HDC dc = GetDC(swatch);
    RECT inside{1, 1, 39, 29};
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(dc, &inside, blue);
    DeleteObject(blue);
    ReleaseDC(swatch, dc);
    InvalidateRect(swatch, nullptr, TRUE);
    Pump();
    EXPECT_EQ(0x0000FFu, At(swatch, 1, 1));
    EXPECT_EQ(0x0000FFu, At(swatch, 20, 15));
    EXPECT_EQ(black, At(swatch, 0, 0));
    EXPECT_EQ(0u, Log().Of(WM_CTLCOLORSTATIC).size());
}

TEST_F(StaticTest, RectanglesAndFramesTakeTheThreeDColours) {
    struct Case {
        DWORD style;
        int colour;
        bool filled;
    };
    const Case cases[] = {
        {SS_BLACKRECT, COLOR_3DDKSHADOW, true},  {SS_GRAYRECT, COLOR_3DSHADOW, true},
        {SS_WHITERECT, COLOR_3DHILIGHT, true},   {SS_GRAYFRAME, COLOR_3DSHADOW, false},
        {SS_WHITEFRAME, COLOR_3DHILIGHT, false},
    };
    // A red parent, so that white and grey shapes stand out from what lies beneath.
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    Log().Handle(WM_ERASEBKGND, [red](HWND hwnd, WPARAM dc, LPARAM) {
        RECT all;
        GetClientRect(hwnd, &all);
        FillRect(reinterpret_cast<HDC>(dc), &all, red);
        return LRESULT{1};
    });
    RedrawWindow(m_parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        HWND shape = Static("", c.style, 10, 10, 30, 20);
        EXPECT_EQ(Pixel(GetSysColor(c.colour)), At(shape, 0, 0));
        EXPECT_EQ(c.filled ? Pixel(GetSysColor(c.colour)) : 0xFF0000u, At(shape, 15, 10));
        DestroyWindow(shape);
        Pump();
    }
    DeleteObject(red);
}

TEST_F(StaticTest, DisabledTextIsGrey) {
    PaintOnPaper();
    HWND label = Static("Grey", SS_LEFT | WS_DISABLED, 10, 10, 100, 24);
    EXPECT_EQ(0, CountOf(label, kInk));
    EXPECT_GT(CountOf(label, GetSysColor(COLOR_GRAYTEXT)), 0);
    EnableWindow(label, TRUE);
    Pump();
    EXPECT_GT(CountOf(label, kInk), 0);
}

TEST_F(StaticTest, CtlColorStaticNamesTheStaticAndItsDc) {
    DWORD dcType = 0;
    HWND asker = nullptr;
    Log().Handle(WM_CTLCOLORSTATIC, [&](HWND, WPARAM dc, LPARAM control) {
        dcType = GetObjectType(reinterpret_cast<HGDIOBJ>(dc));
        asker = reinterpret_cast<HWND>(control);
        return reinterpret_cast<LRESULT>(m_paper);
    });
    HWND label = Static("x", SS_LEFT, 10, 10, 50, 20);
    const auto asks = Log().Of(WM_CTLCOLORSTATIC);
    ASSERT_FALSE(asks.empty());
    EXPECT_EQ(m_parent, asks.back().hwnd);
    EXPECT_EQ(label, asker);
    EXPECT_EQ(static_cast<DWORD>(OBJ_DC), dcType);
    EXPECT_EQ(Pixel(kPaper), At(label, 49, 19));
}

TEST_F(StaticTest, NewTextAndFontShowAtOnce) {
    PaintOnPaper();
    HWND label = Static("i", SS_LEFT, 10, 10, 200, 60);
    const RECT narrow = InkBox(label);
    ASSERT_TRUE(SetWindowTextA(label, "iiiiiiii"));
    RECT pending;
    EXPECT_FALSE(GetUpdateRect(label, &pending, FALSE));  // painted already, nothing waits
    Pump();
    const RECT wide = InkBox(label);
    EXPECT_GT(wide.right, narrow.right);

    HFONT big = CreateFontA(40, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(big), TRUE);
    EXPECT_EQ(reinterpret_cast<LRESULT>(big), SendMessageA(label, WM_GETFONT, 0, 0));
    Pump();
    EXPECT_GT(InkBox(label).bottom - InkBox(label).top, wide.bottom - wide.top);
    DestroyWindow(label);
    DeleteObject(big);
}

// Without SS_NOTIFY a static is transparent to the pointer: the click lands on the parent, at
// the parent's coordinates. With it, the static takes the click and tells the parent.
TEST_F(StaticTest, ClicksPassThroughUnlessNotifyAsksForThem) {
    HWND plain = Static("plain", SS_LEFT, 10, 10, 100, 20, 1);
    HWND notifying = Static("notify", SS_LEFT | SS_NOTIFY, 10, 40, 100, 20, 2);
    EXPECT_EQ(HTTRANSPARENT, SendMessageA(plain, WM_NCHITTEST, 0, MAKELPARAM(115, 115)));
    Log().Clear();
    Display().Click(display::MouseButton::Left, {kParentOrigin.x + 15, kParentOrigin.y + 15});
    Pump();
    auto downs = Log().Of(WM_LBUTTONDOWN);
    ASSERT_EQ(1u, downs.size());
    EXPECT_EQ(m_parent, downs[0].hwnd);
    EXPECT_EQ(MAKELPARAM(15, 15), downs[0].lParam);
    EXPECT_TRUE(Log().Of(WM_COMMAND).empty());

    Log().Clear();
    Display().Click(display::MouseButton::Left, {kParentOrigin.x + 15, kParentOrigin.y + 45});
    Pump();
    EXPECT_TRUE(Log().Of(WM_LBUTTONDOWN).empty());
    auto commands = Log().Of(WM_COMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(MAKEWPARAM(2, STN_CLICKED), commands[0].wParam);
    EXPECT_EQ(reinterpret_cast<LPARAM>(notifying), commands[0].lParam);

    Log().Clear();
    Display().Click(display::MouseButton::Left, {kParentOrigin.x + 15, kParentOrigin.y + 45});
    Pump();
    commands = Log().Of(WM_COMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(MAKEWPARAM(2, STN_DBLCLK), commands[0].wParam);
}

TEST_F(StaticTest, AsksTheDialogManagerForNothing) {
    HWND label = Static("x", SS_LEFT, 10, 10, 50, 20);
    EXPECT_EQ(DLGC_STATIC, SendMessageA(label, WM_GETDLGCODE, 0, 0));
}

// An icon static loads the icon its text names and takes the icon's size; SS_CENTERIMAGE keeps
// the static's size and centres the icon instead.
TEST_F(StaticTest, IconStaticSizesItselfToItsIcon) {
    HWND icon = Static(IDI_APPLICATION, SS_ICON, 10, 10, 5, 5);
    const HICON application = LoadIconA(nullptr, IDI_APPLICATION);
    ASSERT_NE(nullptr, application);
    EXPECT_EQ(reinterpret_cast<LRESULT>(application), SendMessageA(icon, STM_GETICON, 0, 0));
    RECT client;
    GetClientRect(icon, &client);
    EXPECT_EQ(32, client.right);
    EXPECT_EQ(32, client.bottom);

    // Measuring the icon borrows its bitmaps and gives them back.
    const DWORD objects = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    HWND centred = Static(IDI_APPLICATION, SS_ICON | SS_CENTERIMAGE, 60, 10, 50, 40);
    GetClientRect(centred, &client);
    EXPECT_EQ(50, client.right);
    EXPECT_EQ(40, client.bottom);
    EXPECT_EQ(objects, GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));

    // STM_SETICON answers the icon before; a static that shows text has no icon to set.
    EXPECT_EQ(reinterpret_cast<LRESULT>(application), SendMessageA(icon, STM_SETICON, 0, 0));
    EXPECT_EQ(0, SendMessageA(icon, STM_GETICON, 0, 0));
    HWND label = Static("x", SS_LEFT, 10, 60, 50, 20);
    EXPECT_EQ(0, SendMessageA(label, STM_SETICON, reinterpret_cast<WPARAM>(application), 0));
    EXPECT_EQ(0, SendMessageA(label, STM_GETICON, 0, 0));
}

// The About box's icon: the dialog template names the program's icon by ordinal, which the
// static loads from the module it is created for, given as a resource integer or as a dialog
// template writes it (0xFF and the 16-bit ordinal).
TEST_F(StaticTest, IconStaticLoadsTheModulesIconByOrdinal) {
    static const std::vector<char> res = [] {
        std::ifstream in(TINTARO_RES_FILE, std::ios::binary);
        return std::vector<char>(std::istreambuf_iterator<char>(in), {});
    }();
    ASSERT_FALSE(res.empty());
    winapi::SetModuleResources(std::as_bytes(std::span(res)));
    const HINSTANCE module = GetModuleHandleA(nullptr);
    const HICON programIcon = LoadIconA(module, MAKEINTRESOURCEA(kProgramIcon));
    ASSERT_NE(nullptr, programIcon);
    const char templateForm[] = {'\xFF', '\x80', '\x00', '\x00'};
    for (LPCSTR name :
         {static_cast<LPCSTR>(MAKEINTRESOURCEA(kProgramIcon)), static_cast<LPCSTR>(templateForm)}) {
        HWND icon = CreateWindowExA(0, "Static", name, WS_CHILD | WS_VISIBLE | SS_ICON, 10, 10, 20,
                                    20, m_parent, nullptr, module, nullptr);
        EXPECT_EQ(reinterpret_cast<LRESULT>(programIcon), SendMessageA(icon, STM_GETICON, 0, 0));
        RECT client;
        GetClientRect(icon, &client);
        EXPECT_EQ(32, client.right);
        DestroyWindow(icon);
    }
}

}  // namespace
