// The framework with the real controls in a plain window: a colour handler's brush paints a
// static, scroll bars report to the typed scroll handler as the attached object, and DDX_Radio
// reads and sets a radio group.
#include <gtest/gtest.h>

#include <vector>

#include "framework_test.h"

namespace {

constexpr int kLabel = 100;
constexpr int kBar = 101;
constexpr int kFirstRadio = 102;
constexpr COLORREF kBackground = RGB(200, 40, 10);

class CPanelWnd : public CWnd {
public:
    CScrollBar m_bar;
    int m_choice = -1;
    std::vector<UINT> m_codes;
    CScrollBar* m_reportedBar = nullptr;
    CBrush m_brush{kBackground};

    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, kBar, m_bar);
        DDX_Radio(pDX, kFirstRadio, m_choice);
    }
    const MessageMap& GetMessageMap() const override {
        static const MessageMap map = MessageMap::Derived<CPanelWnd>(CWnd::GetMessageMap())
                                          .On(WM_CTLCOLORSTATIC, &CPanelWnd::OnCtlColor)
                                          .On(WM_HSCROLL, &CPanelWnd::OnHScroll);
        return map;
    }

protected:
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
        if (nCtlColor != CTLCOLOR_STATIC || pWnd->GetDlgCtrlID() != kLabel) {
            return CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
        }
        pDC->SetBkColor(kBackground);
        return m_brush;
    }
    void OnHScroll(UINT nSBCode, UINT, CScrollBar* pScrollBar) {
        m_codes.push_back(nSBCode);
        m_reportedBar = pScrollBar;
    }
};

class ControlsTest : public FrameworkTest {
protected:
    ControlsTest() {
        m_hwnd = Popup(40, 40, 300, 200);
        m_label = Control("Static", "", SS_LEFT, kLabel, 10, 10, 80, 20);
        m_scroll = Control("ScrollBar", "", SBS_HORZ | WS_TABSTOP, kBar, 10, 40, 150, 16);
        m_radios[0] =
            Control("Button", "A", BS_AUTORADIOBUTTON | WS_GROUP, kFirstRadio, 10, 70, 60, 16);
        Control("Static", "not a radio button", SS_LEFT, -1, 80, 70, 60, 16);
        m_radios[1] = Control("Button", "B", BS_AUTORADIOBUTTON, kFirstRadio + 1, 10, 90, 60, 16);
        m_radios[2] = Control("Button", "C", BS_AUTORADIOBUTTON, kFirstRadio + 2, 10, 110, 60, 16);
        // The next group: never part of the exchange.
        m_outside =
            Control("Button", "D", BS_AUTORADIOBUTTON | WS_GROUP, kFirstRadio + 3, 10, 130, 60, 16);
        EXPECT_TRUE(m_panel.SubclassWindow(m_hwnd));
        Pump();
    }
    HWND Control(const char* cls, const char* text, DWORD style, int id, int x, int y, int cx,
                 int cy) {
        return CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, m_hwnd,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
    LRESULT Check(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0); }

    HWND m_hwnd = nullptr;
    HWND m_label = nullptr;
    HWND m_scroll = nullptr;
    HWND m_radios[3] = {};
    HWND m_outside = nullptr;
    CPanelWnd m_panel;
};

TEST_F(ControlsTest, BrushFromTheColourHandlerPaintsTheStatic) {
    CRect label;
    GetWindowRect(m_label, &label);
    EXPECT_EQ(0x00C8280Au, ScreenPixel(label.left + 40, label.top + 10));  // 0x00RRGGBB
    CRect bar;
    GetWindowRect(m_scroll, &bar);
    EXPECT_NE(0x00C8280Au, ScreenPixel(bar.left + 75, bar.top + 8));
}

TEST_F(ControlsTest, ScrollBarReportsToTheTypedHandlerAsTheAttachedObject) {
    ASSERT_TRUE(m_panel.UpdateData(FALSE));
    ASSERT_EQ(m_scroll, m_panel.m_bar.m_hWnd);
    m_panel.m_bar.SetScrollRange(0, 255);
    EXPECT_EQ(0, m_panel.m_bar.SetScrollPos(128));
    EXPECT_EQ(128, m_panel.m_bar.GetScrollPos());
    int low = -1;
    int high = -1;
    m_panel.m_bar.GetScrollRange(&low, &high);
    EXPECT_EQ(0, low);
    EXPECT_EQ(255, high);

    SetFocus(m_scroll);
    Display().Press(VK_RIGHT);
    Pump();
    EXPECT_EQ((std::vector<UINT>{SB_LINERIGHT, SB_ENDSCROLL}), m_panel.m_codes);
    EXPECT_EQ(&m_panel.m_bar, m_panel.m_reportedBar);
}

TEST_F(ControlsTest, RadioExchangeCountsOnlyTheGroupsRadioButtons) {
    m_panel.m_choice = 2;
    SendMessageA(m_outside, BM_SETCHECK, BST_CHECKED, 0);
    ASSERT_TRUE(m_panel.UpdateData(FALSE));
    EXPECT_EQ(BST_UNCHECKED, Check(m_radios[0]));
    EXPECT_EQ(BST_UNCHECKED, Check(m_radios[1]));
    EXPECT_EQ(BST_CHECKED, Check(m_radios[2]));
    EXPECT_EQ(BST_CHECKED, Check(m_outside));

    // The user picks B.
    CRect b;
    GetWindowRect(m_radios[1], &b);
    Display().Click(display::MouseButton::Left, {b.left + 5, b.top + 5});
    Pump();
    ASSERT_TRUE(m_panel.UpdateData(TRUE));
    EXPECT_EQ(1, m_panel.m_choice);

    // An index outside the group leaves none checked, which reads back as -1.
    m_panel.m_choice = 7;
    ASSERT_TRUE(m_panel.UpdateData(FALSE));
    ASSERT_TRUE(m_panel.UpdateData(TRUE));
    EXPECT_EQ(-1, m_panel.m_choice);
    EXPECT_EQ(BST_CHECKED, Check(m_outside));
}

TEST_F(ControlsTest, ButtonWrapperChecksThroughMessages) {
    CButton* button = CButton::FromHandle(m_radios[0]);
    button->SetCheck(BST_CHECKED);
    EXPECT_EQ(BST_CHECKED, button->GetCheck());
    EXPECT_EQ(static_cast<UINT>(BS_AUTORADIOBUTTON), button->GetButtonStyle() & BS_TYPEMASK);
    EXPECT_EQ(static_cast<UINT>(BST_CHECKED), m_panel.IsDlgButtonChecked(kFirstRadio));
}

}  // namespace
