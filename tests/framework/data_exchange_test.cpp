// Data exchange on plain child windows: DDX_Text reads texts and writes only what changed,
// DDX_Control attaches once, and a missing control makes UpdateData fail safely.
#include <gtest/gtest.h>

#include "framework_test.h"

namespace {

constexpr int kName = 10;
constexpr int kValue = 11;
constexpr int kMissing = 99;

class CFormWnd : public CWnd {
public:
    CString m_name;
    CString m_value;
    CWnd m_valueCtrl;
    bool m_withMissing = false;
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, kValue, m_valueCtrl);
        DDX_Text(pDX, kName, m_name);
        DDX_Text(pDX, kValue, m_value);
        if (m_withMissing) {
            DDX_Text(pDX, kMissing, m_name);
        }
    }
};

class DataExchangeTest : public FrameworkTest {
protected:
    DataExchangeTest() {
        m_hwnd = Popup(0, 0, 200, 100);
        m_name = Child(m_hwnd, kName, 0, 0, 50, 20);
        m_value = Child(m_hwnd, kValue, 0, 30, 50, 20);
        EXPECT_TRUE(m_form.Attach(m_hwnd));
        Log().Clear();
    }
    ~DataExchangeTest() override { m_form.Detach(); }
    size_t TextsSet(HWND hwnd) { return Log().Messages(hwnd, {WM_SETTEXT}).size(); }

    HWND m_hwnd = nullptr;
    HWND m_name = nullptr;
    HWND m_value = nullptr;
    CFormWnd m_form;
};

TEST_F(DataExchangeTest, LoadWritesOnlyTextsThatDiffer) {
    SetWindowTextA(m_name, "same");
    Log().Clear();
    m_form.m_name = "same";
    m_form.m_value = "#FFFFFF";
    EXPECT_TRUE(m_form.UpdateData(FALSE));
    EXPECT_EQ(0u, TextsSet(m_name));
    EXPECT_EQ(1u, TextsSet(m_value));
    EXPECT_TRUE(m_form.UpdateData(FALSE));
    EXPECT_EQ(1u, TextsSet(m_value));
    m_form.m_value = "";
    EXPECT_TRUE(m_form.UpdateData(FALSE));
    EXPECT_EQ(2u, TextsSet(m_value));
    char text[16] = "x";
    GetWindowTextA(m_value, text, sizeof text);
    EXPECT_STREQ("", text);
}

TEST_F(DataExchangeTest, SaveReadsTheTextsAndAttachesControlsOnce) {
    SetWindowTextA(m_name, "赤");
    SetWindowTextA(m_value, "RGB(1, 2, 3)");
    EXPECT_TRUE(m_form.UpdateData(TRUE));
    EXPECT_STREQ("赤", m_form.m_name);
    EXPECT_STREQ("RGB(1, 2, 3)", m_form.m_value);
    EXPECT_EQ(m_value, m_form.m_valueCtrl.m_hWnd);
    EXPECT_EQ(&m_form.m_valueCtrl, CWnd::FromHandlePermanent(m_value));
    EXPECT_TRUE(m_form.UpdateData(TRUE));  // a second exchange keeps the same attachment
    EXPECT_EQ(&m_form.m_valueCtrl, CWnd::FromHandlePermanent(m_value));
}

TEST_F(DataExchangeTest, MissingControlFailsAndLeavesTheMemberAlone) {
    SetWindowTextA(m_name, "read");
    m_form.m_withMissing = true;
    EXPECT_FALSE(m_form.UpdateData(TRUE));
    EXPECT_STREQ("read", m_form.m_name);  // read by the first DDX_Text, kept by the second
    int index = 5;
    CDataExchange exchange(&m_form, TRUE);
    DDX_Radio(&exchange, kMissing, index);
    EXPECT_EQ(5, index);
    EXPECT_TRUE(exchange.HasFailed());
    DDX_Text(nullptr, kName, m_form.m_name);  // no exchange: nothing happens
}

}  // namespace
