// CWnd and its handles: which object FromHandle gives, what attaching, subclassing and
// destroying do to the window and the object, the end of the main window, and the wrappers'
// geometry, text and centring.
#include <gtest/gtest.h>

#include "framework_test.h"

namespace {

class WndTest : public FrameworkTest {
protected:
    WndTest() {
        m_hwnd = Popup(100, 100, 200, 150);
        m_child = Child(m_hwnd, 5, 10, 10, 50, 20);
        Pump();
    }
    HWND m_hwnd = nullptr;
    HWND m_child = nullptr;
};

TEST_F(WndTest, FromHandleGivesTheAttachedObjectOrATemporaryPerType) {
    EXPECT_EQ(nullptr, CWnd::FromHandle(nullptr));
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(m_child));
    CWnd* temporary = CWnd::FromHandle(m_child);
    ASSERT_NE(nullptr, temporary);
    EXPECT_EQ(m_child, temporary->m_hWnd);
    EXPECT_EQ(temporary, CWnd::FromHandle(m_child));
    CScrollBar* asBar = CScrollBar::FromHandle(m_child);
    EXPECT_NE(static_cast<CWnd*>(asBar), temporary);
    EXPECT_EQ(m_child, asBar->m_hWnd);

    CButton attached;
    ASSERT_TRUE(attached.Attach(m_child));
    EXPECT_EQ(&attached, CWnd::FromHandle(m_child));
    EXPECT_EQ(&attached, CWnd::FromHandlePermanent(m_child));
    EXPECT_EQ(&attached, CButton::FromHandle(m_child));
    attached.Detach();

    // Freeing the temporaries leaves their windows alone.
    CWnd::DeleteTempMap();
    EXPECT_TRUE(IsWindow(m_child));
}

TEST_F(WndTest, AttachRefusesWhatIsNotFree) {
    CWnd first;
    CWnd second;
    EXPECT_FALSE(first.Attach(nullptr));
    EXPECT_FALSE(first.Attach(reinterpret_cast<HWND>(static_cast<INT_PTR>(0x7777))));
    ASSERT_TRUE(first.Attach(m_child));
    EXPECT_FALSE(second.Attach(m_child));
    EXPECT_FALSE(first.Attach(m_hwnd));
    EXPECT_EQ(m_child, first.Detach());
    EXPECT_EQ(nullptr, first.m_hWnd);
    EXPECT_TRUE(second.Attach(m_child));
    second.Detach();
}

TEST_F(WndTest, ObjectDestroysTheWindowItIsAttachedToButNotOneItLetGo) {
    {
        CWnd kept;
        ASSERT_TRUE(kept.Attach(m_child));
        kept.Detach();
    }
    EXPECT_TRUE(IsWindow(m_child));
    {
        CWnd owner;
        ASSERT_TRUE(owner.SubclassWindow(m_child));
    }
    EXPECT_FALSE(IsWindow(m_child));
    // The object let go before the window's last messages, which found no object.
    EXPECT_EQ(1u, Log().Of(WM_NCDESTROY).size());
}

TEST_F(WndTest, UnsubclassingRestoresThePreviousProcedure) {
    const LONG_PTR original = GetWindowLongPtrA(m_child, GWLP_WNDPROC);
    CWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(m_child));
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&FrameworkWindowProc),
              GetWindowLongPtrA(m_child, GWLP_WNDPROC));
    EXPECT_FALSE(CWnd().SubclassWindow(m_child));
    EXPECT_EQ(m_child, wnd.UnsubclassWindow());
    EXPECT_EQ(original, GetWindowLongPtrA(m_child, GWLP_WNDPROC));
    EXPECT_TRUE(IsWindow(m_child));
}

class CTrackedWnd : public CWnd {
public:
    static inline int s_deleted = 0;
    HWND m_hWndInPostNcDestroy = reinterpret_cast<HWND>(1);
    bool m_deleteSelf = false;
    ~CTrackedWnd() override { ++s_deleted; }
    void PostNcDestroy() override {
        m_hWndInPostNcDestroy = m_hWnd;
        if (m_deleteSelf) {
            delete this;
        }
    }
};

TEST_F(WndTest, DestroyedWindowLetsGoOfItsObjectBeforePostNcDestroy) {
    CTrackedWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(m_child));
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(nullptr, wnd.m_hWndInPostNcDestroy);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(m_child));
    EXPECT_FALSE(wnd.DestroyWindow());

    // A heap window may delete itself there, as modeless dialogs do.
    CTrackedWnd::s_deleted = 0;
    auto* heap = new CTrackedWnd;
    heap->m_deleteSelf = true;
    ASSERT_TRUE(heap->SubclassWindow(m_hwnd));
    DestroyWindow(m_hwnd);
    EXPECT_EQ(1, CTrackedWnd::s_deleted);

    // Merely attached, the object is detached by its own DestroyWindow.
    HWND plain = Popup(0, 0, 10, 10);
    CWnd attached;
    ASSERT_TRUE(attached.Attach(plain));
    EXPECT_TRUE(attached.DestroyWindow());
    EXPECT_EQ(nullptr, attached.m_hWnd);
}

class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp("test") {}
};

TEST_F(WndTest, DestroyingTheMainWindowEndsTheMessageLoop) {
    CTestApp app;
    CWnd main;
    ASSERT_TRUE(main.SubclassWindow(m_hwnd));
    app.m_pMainWnd = &main;
    main.DestroyWindow();
    EXPECT_EQ(nullptr, app.m_pMainWnd);
    Pump();
    EXPECT_EQ(0, m_quitCode);
}

TEST_F(WndTest, TextRoundTripsAsUtf8) {
    CWnd* wnd = CWnd::FromHandle(m_hwnd);
    wnd->SetWindowText("カラーダイアログ");
    CString text("old");
    wnd->GetWindowText(text);
    EXPECT_STREQ("カラーダイアログ", text);
    EXPECT_EQ(24, wnd->GetWindowTextLength());
    wnd->SetWindowText("");
    wnd->GetWindowText(text);
    EXPECT_TRUE(text.IsEmpty());
    CString item;
    EXPECT_EQ(0, wnd->GetDlgItemText(12345, item));
}

TEST_F(WndTest, RectanglesConvertBetweenClientAndScreen) {
    CWnd* child = CWnd::FromHandle(m_child);
    CRect rect;
    child->GetClientRect(rect);
    EXPECT_EQ(CRect(0, 0, 50, 20), rect);
    child->ClientToScreen(rect);
    CRect window;
    child->GetWindowRect(window);
    EXPECT_EQ(window, rect);
    child->ScreenToClient(rect);
    EXPECT_EQ(CRect(0, 0, 50, 20), rect);
    EXPECT_EQ(CWnd::FromHandle(m_hwnd), child->GetParent());
    EXPECT_EQ(m_child, CWnd::FromHandle(m_hwnd)->GetDlgItem(5)->m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandle(m_hwnd)->GetDlgItem(6));
}

TEST_F(WndTest, CentringUsesTheVisibleOwnerOrElseTheScreenAndStaysOnScreen) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    HWND lone = Popup(0, 0, 301, 200);
    CWnd::FromHandle(lone)->CenterWindow();
    CRect rect;
    GetWindowRect(lone, &rect);
    EXPECT_EQ(CRect(screenWidth / 2 - 150, screenHeight / 2 - 100, screenWidth / 2 - 150 + 301,
                    screenHeight / 2 + 100),
              rect);

    HWND owned = Popup(0, 0, 100, 50, m_hwnd);
    CWnd::FromHandle(owned)->CenterWindow();
    GetWindowRect(owned, &rect);
    EXPECT_EQ(CRect(150, 150, 250, 200), rect);  // over the owner at (100, 100, 300, 250)

    // An owner near the corner would put it partly off the screen.
    SetWindowPos(m_hwnd, nullptr, -150, -100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    CWnd::FromHandle(owned)->CenterWindow();
    GetWindowRect(owned, &rect);
    EXPECT_EQ(CRect(0, 0, 100, 50), rect);

    // A hidden owner does not count.
    ShowWindow(m_hwnd, SW_HIDE);
    CWnd::FromHandle(owned)->CenterWindow();
    GetWindowRect(owned, &rect);
    EXPECT_EQ(CPoint(screenWidth / 2 - 50, screenHeight / 2 - 25), rect.TopLeft());

    // A child centres in its parent's client area.
    CWnd::FromHandle(m_child)->CenterWindow();
    CRect client;
    GetClientRect(m_hwnd, &client);
    CRect childRect;
    CWnd::FromHandle(m_child)->GetWindowRect(childRect);
    CWnd::FromHandle(m_hwnd)->ScreenToClient(childRect);
    EXPECT_EQ(CPoint(client.Width() / 2 - 25, client.Height() / 2 - 10), childRect.TopLeft());
}

}  // namespace
