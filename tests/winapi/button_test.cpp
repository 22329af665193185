// Buttons: a click is a press and a release over the button (mouse or Space), BM_CLICK
// simulates one, automatic radio buttons keep their group exclusive, and each kind tells the
// dialog manager what it is. The classic look is checked at key pixels: the default button's
// black ring, the pushed face, the focus rectangle, the radio glyph, and the DrawEdge rings
// they are made of.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "support/headless_test.h"
#include "support/message_log.h"

namespace {

constexpr POINT kParentOrigin{100, 100};

std::uint32_t Pixel(COLORREF colour) {
    return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
}

std::uint32_t Sys(int index) {
    return Pixel(GetSysColor(index));
}

class ButtonTest : public HeadlessTest {
protected:
    ButtonTest() {
        MessageLog::Register();
        m_parent = CreateWindowExA(0, "LogWindow", "", WS_POPUP | WS_VISIBLE, kParentOrigin.x,
                                   kParentOrigin.y, 320, 240, nullptr, nullptr, nullptr, nullptr);
        Pump();
    }

    MessageLog& Log() { return MessageLog::Instance(); }

    HWND Button(const char* text, DWORD style, int x, int y, int w, int h, int id) {
        HWND hwnd =
            CreateWindowExA(0, "Button", text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, m_parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        Pump();
        return hwnd;
    }

    POINT OnScreen(HWND control, int x, int y) {
        POINT p{x, y};
        ClientToScreen(control, &p);
        return p;
    }

    std::uint32_t At(HWND control, int x, int y) {
        const POINT p = OnScreen(control, x, y);
        return ScreenPixel(p.x, p.y);
    }

    // The notification codes the parent received from control, in order.
    std::vector<WORD> Notifications(HWND control) {
        std::vector<WORD> codes;
        for (const LoggedMessage& m : Log().Of(WM_COMMAND))
            if (m.lParam == reinterpret_cast<LPARAM>(control))
                codes.push_back(HIWORD(m.wParam));
        return codes;
    }

    void Press(HWND control, int x, int y) {
        const POINT p = OnScreen(control, x, y);
        Display().MovePointer(p.x, p.y);
        Display().ButtonDown(display::MouseButton::Left);
        Pump();
    }
    void MoveTo(HWND control, int x, int y) {
        const POINT p = OnScreen(control, x, y);
        Display().MovePointer(p.x, p.y);
        Pump();
    }
    void Release() {
        Display().ButtonUp(display::MouseButton::Left);
        Pump();
    }

    bool Pushed(HWND control) {
        return (SendMessageA(control, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    }

    HWND m_parent = nullptr;
};

using Codes = std::vector<WORD>;

// Pressed, the button looks pushed while the pointer is over it; it clicks only when the
// button is released over it.
TEST_F(ButtonTest, ClickNeedsTheReleaseOverTheButton) {
    HWND ok = Button("OK", BS_PUSHBUTTON, 10, 10, 80, 30, 7);
    Press(ok, 40, 15);
    EXPECT_TRUE(Pushed(ok));
    EXPECT_EQ(ok, GetCapture());
    EXPECT_EQ(ok, GetFocus());
    EXPECT_TRUE(Notifications(ok).empty());
    MoveTo(ok, 200, 100);
    EXPECT_FALSE(Pushed(ok));
    MoveTo(ok, 10, 10);
    EXPECT_TRUE(Pushed(ok));
    Release();
    EXPECT_FALSE(Pushed(ok));
    EXPECT_EQ(nullptr, GetCapture());
    const auto commands = Log().Of(WM_COMMAND);
    ASSERT_EQ(1u, commands.size());
    EXPECT_EQ(m_parent, commands[0].hwnd);
    EXPECT_EQ(MAKEWPARAM(7, BN_CLICKED), commands[0].wParam);
    EXPECT_EQ(reinterpret_cast<LPARAM>(ok), commands[0].lParam);

    Log().Clear();
    Press(ok, 40, 15);
    MoveTo(ok, 200, 100);
    Release();
    EXPECT_TRUE(Notifications(ok).empty());
    EXPECT_EQ(nullptr, GetCapture());
}

// Space pushes the focused button and clicks it when it comes up.
TEST_F(ButtonTest, SpaceClicksOnRelease) {
    HWND ok = Button("OK", BS_PUSHBUTTON, 10, 10, 80, 30, 7);
    SetFocus(ok);
    Display().KeyDown(VK_SPACE, " ");
    Pump();
    EXPECT_TRUE(Pushed(ok));
    EXPECT_TRUE(Notifications(ok).empty());
    Display().KeyUp(VK_SPACE);
    Pump();
    EXPECT_FALSE(Pushed(ok));
    EXPECT_EQ(Codes{BN_CLICKED}, Notifications(ok));
}

TEST_F(ButtonTest, BmClickClicksAnEnabledButtonOnly) {
    HWND ok = Button("OK", BS_PUSHBUTTON, 10, 10, 80, 30, 7);
    SendMessageA(ok, BM_CLICK, 0, 0);
    EXPECT_EQ(Codes{BN_CLICKED}, Notifications(ok));
    EXPECT_FALSE(Pushed(ok));
    EXPECT_EQ(nullptr, GetCapture());
    Log().Clear();
    EnableWindow(ok, FALSE);
    SendMessageA(ok, BM_CLICK, 0, 0);
    EXPECT_TRUE(Notifications(ok).empty());
}

TEST_F(ButtonTest, EachKindTellsTheDialogManagerWhatItIs) {
    struct Case {
        DWORD style;
        LRESULT code;
    };
    const Case cases[] = {
        {BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
        {BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
        {BS_AUTORADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
        {BS_RADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
        {BS_AUTOCHECKBOX, DLGC_BUTTON},
        {BS_CHECKBOX, DLGC_BUTTON},
        {BS_GROUPBOX, DLGC_STATIC},
    };
    for (const Case& c : cases) {
        HWND button = Button("b", c.style, 10, 10, 80, 30, 1);
        EXPECT_EQ(c.code, SendMessageA(button, WM_GETDLGCODE, 0, 0)) << c.style;
        DestroyWindow(button);
    }
}

// The classic push button: white and black outer edges, a grey inner shadow; the default one
// has a black ring outside that. BM_SETSTYLE moves between the two looks.
TEST_F(ButtonTest, DefaultButtonWearsABlackRing) {
    HWND plain = Button("A", BS_PUSHBUTTON, 10, 10, 80, 30, 1);
    HWND chosen = Button("B", BS_DEFPUSHBUTTON | BS_NOTIFY, 100, 10, 80, 30, 2);
    EXPECT_EQ(Sys(COLOR_3DHILIGHT), At(plain, 0, 0));
    EXPECT_EQ(Sys(COLOR_3DHILIGHT), At(plain, 0, 28));
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), At(plain, 79, 0));
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), At(plain, 79, 29));
    EXPECT_EQ(Sys(COLOR_3DSHADOW), At(plain, 78, 28));
    EXPECT_EQ(Sys(COLOR_BTNFACE), At(plain, 2, 2));

    EXPECT_EQ(Sys(COLOR_WINDOWFRAME), At(chosen, 0, 0));
    EXPECT_EQ(Sys(COLOR_WINDOWFRAME), At(chosen, 79, 29));
    EXPECT_EQ(Sys(COLOR_3DHILIGHT), At(chosen, 1, 1));
    EXPECT_EQ(Sys(COLOR_3DSHADOW), At(chosen, 77, 27));

    SendMessageA(plain, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    SendMessageA(chosen, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    Pump();
    EXPECT_EQ(Sys(COLOR_WINDOWFRAME), At(plain, 0, 0));
    EXPECT_EQ(Sys(COLOR_3DHILIGHT), At(chosen, 0, 0));
    EXPECT_EQ(DLGC_BUTTON | DLGC_DEFPUSHBUTTON, SendMessageA(plain, WM_GETDLGCODE, 0, 0));
    EXPECT_EQ(BS_PUSHBUTTON | BS_NOTIFY, GetWindowLongA(chosen, GWL_STYLE) & 0xFFFF);
}

// Pushed, the face loses its highlight: a grey one-pixel frame round a flat face.
TEST_F(ButtonTest, PushedButtonLooksSunken) {
    HWND ok = Button("", BS_PUSHBUTTON, 10, 10, 80, 30, 1);
    SendMessageA(ok, BM_SETSTATE, TRUE, 0);
    Pump();
    EXPECT_TRUE(Pushed(ok));
    EXPECT_EQ(Sys(COLOR_3DSHADOW), At(ok, 0, 0));
    EXPECT_EQ(Sys(COLOR_3DSHADOW), At(ok, 79, 29));
    EXPECT_EQ(Sys(COLOR_BTNFACE), At(ok, 1, 1));
    SendMessageA(ok, BM_SETSTATE, FALSE, 0);
    Pump();
    EXPECT_EQ(Sys(COLOR_3DHILIGHT), At(ok, 0, 0));
}

// The dotted focus rectangle runs directly inside the raised edge, and only while focused.
TEST_F(ButtonTest, FocusRectangleOnlyWhileFocused) {
    HWND ok = Button("", BS_PUSHBUTTON, 10, 10, 80, 40, 1);
    HWND other = Button("", BS_PUSHBUTTON, 100, 10, 80, 40, 2);
    auto changedOnRow = [&](int y) {
        int changed = 0;
        for (int x = 4; x < 76; ++x)
            changed += At(ok, x, y) != Sys(COLOR_BTNFACE) ? 1 : 0;
        return changed;
    };
    SetFocus(other);
    Pump();
    EXPECT_EQ(0, changedOnRow(2));
    SetFocus(ok);
    Pump();
    EXPECT_EQ(BST_FOCUS, SendMessageA(ok, BM_GETSTATE, 0, 0) & BST_FOCUS);
    // Directly inside the 2 px raised edge.
    EXPECT_GT(changedOnRow(2), 30);  // every other pixel
    EXPECT_EQ(0, changedOnRow(3));
    SetFocus(other);
    Pump();
    EXPECT_EQ(0, changedOnRow(2));
}

// Clicking an automatic radio button checks it and unchecks the others of its group, which
// runs from the sibling with WS_GROUP to the next one; the checked button becomes the tab stop.
TEST_F(ButtonTest, AutomaticRadioButtonsAreExclusiveWithinTheirGroup) {
    HWND copy = Button("Copy", BS_AUTORADIOBUTTON | WS_GROUP, 10, 10, 100, 20, 1);
    HWND keep = Button("Keep", BS_AUTORADIOBUTTON, 10, 30, 100, 20, 2);
    HWND paste = Button("Paste", BS_AUTORADIOBUTTON, 10, 50, 100, 20, 3);
    CreateWindowExA(0, "Static", "next", WS_CHILD | WS_VISIBLE | WS_GROUP, 10, 70, 100, 20,
                    m_parent, nullptr, nullptr, nullptr);
    HWND other = Button("Other", BS_AUTORADIOBUTTON, 10, 90, 100, 20, 4);
    SendMessageA(other, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(paste, BM_SETCHECK, BST_CHECKED, 0);
    Pump();

    Press(keep, 5, 10);
    Release();
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(copy, BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_CHECKED, SendMessageA(keep, BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(paste, BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_CHECKED, SendMessageA(other, BM_GETCHECK, 0, 0));  // another group
    EXPECT_EQ(Codes{BN_CLICKED}, Notifications(keep));
    EXPECT_TRUE(GetWindowLongA(keep, GWL_STYLE) & WS_TABSTOP);
    EXPECT_FALSE(GetWindowLongA(paste, GWL_STYLE) & WS_TABSTOP);

    SendMessageA(copy, BM_CLICK, 0, 0);
    EXPECT_EQ(BST_CHECKED, SendMessageA(copy, BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(keep, BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_CHECKED, SendMessageA(other, BM_GETCHECK, 0, 0));
}

// Setting a radio button's check directly leaves the rest of its group as it is.
TEST_F(ButtonTest, SetCheckTouchesOnlyItsButton) {
    HWND first = Button("1", BS_AUTORADIOBUTTON | WS_GROUP, 10, 10, 100, 20, 1);
    HWND second = Button("2", BS_AUTORADIOBUTTON, 10, 30, 100, 20, 2);
    SendMessageA(first, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(second, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(BST_CHECKED, SendMessageA(first, BM_GETCHECK, 0, 0));
    EXPECT_TRUE(Notifications(second).empty());
}

TEST_F(ButtonTest, CheckBoxesToggleAndPushButtonsHaveNoCheck) {
    HWND box = Button("Box", BS_AUTOCHECKBOX, 10, 10, 100, 20, 1);
    HWND manual = Button("Manual", BS_CHECKBOX, 10, 30, 100, 20, 2);
    HWND three = Button("Three", BS_AUTO3STATE, 10, 50, 100, 20, 3);
    HWND push = Button("Push", BS_PUSHBUTTON, 10, 70, 100, 20, 4);
    SendMessageA(box, BM_CLICK, 0, 0);
    EXPECT_EQ(BST_CHECKED, SendMessageA(box, BM_GETCHECK, 0, 0));
    SendMessageA(box, BM_CLICK, 0, 0);
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(box, BM_GETCHECK, 0, 0));
    SendMessageA(manual, BM_CLICK, 0, 0);
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(manual, BM_GETCHECK, 0, 0));
    EXPECT_EQ(Codes{BN_CLICKED}, Notifications(manual));
    SendMessageA(three, BM_CLICK, 0, 0);
    SendMessageA(three, BM_CLICK, 0, 0);
    EXPECT_EQ(BST_INDETERMINATE, SendMessageA(three, BM_GETCHECK, 0, 0));
    SendMessageA(manual, BM_SETCHECK, BST_INDETERMINATE, 0);  // two states only
    EXPECT_EQ(BST_CHECKED, SendMessageA(manual, BM_GETCHECK, 0, 0));
    SendMessageA(push, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(push, BM_GETCHECK, 0, 0));
}

// The radio glyph: a sunken 12-pixel circle whose well shows a dot in the text colour when
// checked; the parent's WM_CTLCOLORSTATIC brush paints around it.
TEST_F(ButtonTest, RadioGlyphAndBackgroundFollowTheParent) {
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    Log().Handle(WM_CTLCOLORSTATIC, [green](HWND, WPARAM dc, LPARAM) {
        SetTextColor(reinterpret_cast<HDC>(dc), RGB(0, 0, 255));
        SetBkColor(reinterpret_cast<HDC>(dc), RGB(0, 255, 0));
        return reinterpret_cast<LRESULT>(green);
    });
    HWND radio = Button("Radio", BS_AUTORADIOBUTTON, 10, 10, 100, 13, 1);
    EXPECT_EQ(0x00FF00u, At(radio, 0, 0));            // outside the circle
    EXPECT_EQ(Sys(COLOR_3DSHADOW), At(radio, 4, 0));  // outer ring, upper half
    EXPECT_EQ(Sys(COLOR_3DHILIGHT), At(radio, 4, 11));
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), At(radio, 4, 1));
    EXPECT_EQ(Sys(COLOR_WINDOW), At(radio, 5, 5));  // the empty well
    SendMessageA(radio, BM_SETCHECK, BST_CHECKED, 0);
    Pump();
    EXPECT_EQ(0x0000FFu, At(radio, 5, 5));
    EXPECT_EQ(0x0000FFu, At(radio, 6, 7));
    EXPECT_EQ(Sys(COLOR_WINDOW), At(radio, 3, 5));
    EXPECT_EQ(0x00FF00u, At(radio, 99, 6));
    EXPECT_FALSE(Log().Of(WM_CTLCOLORSTATIC).empty());
    EXPECT_TRUE(Log().Of(WM_CTLCOLORBTN).empty());
    DestroyWindow(radio);
    DeleteObject(green);
}

// A focused radio button's dotted rectangle runs along the label's own lines, no higher or
// lower, and starts half a digit's width past the 13 px glyph, one pixel before the text.
TEST_F(ButtonTest, RadioFocusRectangleHugsTheLabelsLines) {
    HWND radio = Button("Radio", BS_AUTORADIOBUTTON, 10, 10, 100, 24, 1);
    HDC dc = GetDC(radio);
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    SIZE digit{};
    GetTextExtentPoint32A(dc, "0", 1, &digit);
    ReleaseDC(radio, dc);
    SetFocus(radio);
    Pump();
    const int left = 13 + digit.cx / 2;
    const int top = (24 - metrics.tmHeight) / 2;
    // A dot is the face inverted; the text is black.
    const std::uint32_t dot = ~Sys(COLOR_BTNFACE) & 0xFFFFFF;
    std::vector<int> dottedRows;
    for (int y = 0; y < 24; ++y)
        for (int x = left - 1; x < 100; ++x)
            if (At(radio, x, y) == dot) {
                dottedRows.push_back(y);
                EXPECT_GE(x, left) << "a dot left of the rectangle, row " << y;
                break;
            }
    ASSERT_FALSE(dottedRows.empty());
    EXPECT_EQ(top, dottedRows.front());
    EXPECT_EQ(top + metrics.tmHeight - 1, dottedRows.back());
}

// Push buttons ask with WM_CTLCOLORBTN, as Win32's do, but keep the system colours: the face
// needs more colours than one brush gives.
TEST_F(ButtonTest, PushButtonKeepsTheSystemColours) {
    HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    Log().Handle(WM_CTLCOLORBTN,
                 [green](HWND, WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(green); });
    HWND ok = Button("", BS_PUSHBUTTON, 10, 10, 80, 30, 1);
    const auto asks = Log().Of(WM_CTLCOLORBTN);
    ASSERT_FALSE(asks.empty());
    EXPECT_EQ(reinterpret_cast<LPARAM>(ok), asks.back().lParam);
    EXPECT_EQ(Sys(COLOR_BTNFACE), At(ok, 40, 15));
    DestroyWindow(ok);
    DeleteObject(green);
}

// A disabled push button's text is embossed: highlight and shadow, no black.
TEST_F(ButtonTest, DisabledTextIsEmbossed) {
    HWND ok = Button("WWW", BS_PUSHBUTTON | WS_DISABLED, 10, 10, 80, 30, 1);
    int light = 0;
    int shadow = 0;
    int black = 0;
    for (int y = 2; y < 28; ++y)
        for (int x = 2; x < 78; ++x) {
            const std::uint32_t p = At(ok, x, y);
            light += p == Sys(COLOR_3DHILIGHT) ? 1 : 0;
            shadow += p == Sys(COLOR_3DSHADOW) ? 1 : 0;
            black += p == 0 ? 1 : 0;
        }
    EXPECT_GT(light, 0);
    EXPECT_GT(shadow, 0);
    EXPECT_EQ(0, black);
}

TEST_F(ButtonTest, FocusNotificationsOnlyWithNotifyStyle) {
    HWND quiet = Button("q", BS_PUSHBUTTON, 10, 10, 80, 30, 1);
    HWND chatty = Button("c", BS_PUSHBUTTON | BS_NOTIFY, 100, 10, 80, 30, 2);
    SetFocus(quiet);
    SetFocus(chatty);
    SetFocus(quiet);
    EXPECT_TRUE(Notifications(quiet).empty());
    EXPECT_EQ((Codes{BN_SETFOCUS, BN_KILLFOCUS}), Notifications(chatty));
}

// A group box is a frame the pointer passes through; its etched line runs under the title's
// middle.
TEST_F(ButtonTest, GroupBoxIsAnEtchedFrameThePointerPassesThrough) {
    HWND group = Button("", BS_GROUPBOX, 10, 10, 100, 60, 1);
    EXPECT_EQ(HTTRANSPARENT, SendMessageA(group, WM_NCHITTEST, 0, 0));
    // Etched: a shadow line with a highlight line inside it on the left, the reverse at the
    // bottom.
    EXPECT_EQ(Sys(COLOR_3DSHADOW), At(group, 0, 40));
    EXPECT_EQ(Sys(COLOR_3DHILIGHT), At(group, 1, 40));
    EXPECT_EQ(Sys(COLOR_3DSHADOW), At(group, 50, 58));
    EXPECT_EQ(Sys(COLOR_3DHILIGHT), At(group, 50, 59));
    EXPECT_EQ(0xFFFFFFu, At(group, 50, 30));  // the parent shows inside
}

}  // namespace

namespace {

// DrawEdge, which draws the buttons: each ring's colours for each kind of edge, the sides
// asked for, the middle and BF_ADJUST, on a 10 x 10 bitmap.
class ClassicEdgeTest : public HeadlessTest {
protected:
    static constexpr COLORREF kUntouched = RGB(0x12, 0x34, 0x56);

    ClassicEdgeTest()
        : m_dc(CreateCompatibleDC(nullptr)), m_bitmap(CreateBitmap(10, 10, 1, 32, nullptr)) {
        m_old = SelectObject(m_dc, m_bitmap);
    }
    ~ClassicEdgeTest() override {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    RECT Draw(UINT edge, UINT flags) {
        RECT all{0, 0, 10, 10};
        HBRUSH untouched = CreateSolidBrush(kUntouched);
        FillRect(m_dc, &all, untouched);
        DeleteObject(untouched);
        EXPECT_TRUE(DrawEdge(m_dc, &all, edge, flags));
        return all;
    }
    COLORREF At(int x, int y) { return GetPixel(m_dc, x, y); }

    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old = nullptr;
};

TEST_F(ClassicEdgeTest, RingsTakeTheColoursOfTheirEdge) {
    constexpr int kNone = -1;
    struct Case {
        UINT edge;
        UINT flags;
        int outerLight, outerDark, innerLight, innerDark, middle;
    };
    const Case cases[] = {
        {EDGE_RAISED, BF_RECT, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_3DHILIGHT, COLOR_3DSHADOW,
         kNone},
        {EDGE_RAISED, BF_RECT | BF_SOFT, COLOR_3DHILIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT,
         COLOR_3DSHADOW, kNone},
        {EDGE_SUNKEN, BF_RECT, COLOR_3DSHADOW, COLOR_3DHILIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT,
         kNone},
        {EDGE_ETCHED, BF_RECT, COLOR_3DSHADOW, COLOR_3DHILIGHT, COLOR_3DHILIGHT, COLOR_3DSHADOW,
         kNone},
        {EDGE_BUMP, BF_RECT, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_3DDKSHADOW, COLOR_3DLIGHT,
         kNone},
        {EDGE_RAISED, BF_RECT | BF_MIDDLE, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_3DHILIGHT,
         COLOR_3DSHADOW, COLOR_BTNFACE},
        {EDGE_SUNKEN, BF_RECT | BF_FLAT | BF_MIDDLE, COLOR_3DSHADOW, COLOR_3DSHADOW, COLOR_BTNFACE,
         COLOR_BTNFACE, COLOR_BTNFACE},
        {EDGE_SUNKEN, BF_RECT | BF_MONO | BF_MIDDLE, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME,
         COLOR_WINDOW, COLOR_WINDOW, COLOR_WINDOW},
        {BDR_RAISEDOUTER, BF_RECT, COLOR_3DLIGHT, COLOR_3DDKSHADOW, kNone, kNone, kNone},
    };
    auto expected = [](int index) { return index == kNone ? kUntouched : GetSysColor(index); };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "edge " << c.edge << " flags " << c.flags);
        Draw(c.edge, c.flags);
        EXPECT_EQ(expected(c.outerLight), At(0, 0));
        EXPECT_EQ(expected(c.outerLight), At(0, 8));
        EXPECT_EQ(expected(c.outerDark), At(9, 0));  // the corners belong to the dark sides
        EXPECT_EQ(expected(c.outerDark), At(0, 9));
        EXPECT_EQ(expected(c.outerDark), At(9, 9));
        EXPECT_EQ(expected(c.innerLight), At(1, 1));
        EXPECT_EQ(expected(c.innerDark), At(8, 8));
        EXPECT_EQ(expected(c.middle), At(5, 5));
    }
}

TEST_F(ClassicEdgeTest, OnlyTheAskedSidesAreDrawnAndAdjustSkipsThem) {
    RECT inside = Draw(EDGE_SUNKEN, BF_LEFT | BF_TOP | BF_ADJUST);
    EXPECT_EQ(GetSysColor(COLOR_3DSHADOW), At(9, 0));  // the top runs to the corner
    EXPECT_EQ(GetSysColor(COLOR_3DSHADOW), At(0, 9));
    EXPECT_EQ(kUntouched, At(9, 5));
    EXPECT_EQ(kUntouched, At(5, 9));
    EXPECT_EQ(2, inside.left);
    EXPECT_EQ(2, inside.top);
    EXPECT_EQ(10, inside.right);
    EXPECT_EQ(10, inside.bottom);
    inside = Draw(EDGE_RAISED, BF_RECT | BF_ADJUST);
    EXPECT_EQ(2, inside.left);
    EXPECT_EQ(8, inside.bottom);
    inside = Draw(EDGE_RAISED, BF_RECT);
    EXPECT_EQ(0, inside.left);
    EXPECT_EQ(10, inside.bottom);
}

TEST_F(ClassicEdgeTest, BadArgumentsFail) {
    SetLastError(0);
    EXPECT_FALSE(DrawEdge(m_dc, nullptr, EDGE_RAISED, BF_RECT));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    RECT rect{0, 0, 5, 5};
    EXPECT_FALSE(DrawEdge(reinterpret_cast<HDC>(m_bitmap), &rect, EDGE_RAISED, BF_RECT));
    EXPECT_FALSE(DrawEdge(nullptr, &rect, EDGE_RAISED, BF_RECT));
}

}  // namespace
