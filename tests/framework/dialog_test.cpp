// CDialog on the dialog manager with the program's own templates: the modal loop and its
// results, the owner's disabling, centring, the message map with typed arguments on real
// controls, data exchange with an edit and a radio group, and keys offered to
// PreTranslateMessage from the control up to the dialog before IsDialogMessageA.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework_test.h"
#include "resource.h"

namespace {

class DialogTest : public FrameworkTest {
protected:
    ~DialogTest() override { Display().SetIdleHandler(nullptr); }

    // Each time the loop would wait, the next step runs; the clock moves on by a millisecond
    // after each so that the wait ends even when a step only posts messages.
    void Script(std::vector<std::function<void()>> steps) {
        m_steps = std::move(steps);
        m_nextStep = 0;
        Display().SetIdleHandler([this] {
            if (m_nextStep < m_steps.size()) {
                m_steps[m_nextStep++]();
            }
            Display().Advance(1);
        });
    }
    std::function<void()> Press(int vk, const char* text = "") {
        return [this, vk, text] { Display().Press(vk, text); };
    }
    static CRect WindowRect(HWND hwnd) {
        CRect rect;
        GetWindowRect(hwnd, &rect);
        return rect;
    }
    static CRect Centred(const CRect& rect) {
        const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - rect.Width() / 2;
        const int y = GetSystemMetrics(SM_CYSCREEN) / 2 - rect.Height() / 2;
        return CRect(CPoint(x, y), rect.Size());
    }

private:
    std::vector<std::function<void()>> m_steps;
    std::size_t m_nextStep = 0;
};

class CAboutProbe : public CDialog {
public:
    explicit CAboutProbe(CWnd* pParent = nullptr) : CDialog(IDD_ABOUTBOX, pParent) {}
    int m_inits = 0;
    bool m_visibleInInit = true;
    CPoint m_moveTo{-1, -1};
    int m_endInInit = 0;

    BOOL OnInitDialog() override {
        ++m_inits;
        m_visibleInInit = IsWindowVisible();
        if (m_moveTo.x >= 0) {
            SetWindowPos(nullptr, m_moveTo.x, m_moveTo.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        }
        if (m_endInInit != 0) {
            EndDialog(m_endInInit);
        }
        return CDialog::OnInitDialog();
    }
};

TEST_F(DialogTest, EnterAndEscapeEndTheModalLoopWithOkAndCancel) {
    CAboutProbe ok;
    HWND shown = nullptr;
    Script({[&] { shown = ok.m_hWnd; }, Press(VK_RETURN)});
    EXPECT_EQ(IDOK, ok.DoModal());
    EXPECT_EQ(1, ok.m_inits);
    EXPECT_EQ(nullptr, ok.m_hWnd);
    ASSERT_NE(nullptr, shown);
    EXPECT_FALSE(IsWindow(shown));

    CAboutProbe cancel;
    Script({Press(VK_ESCAPE)});
    EXPECT_EQ(IDCANCEL, cancel.DoModal());
}

TEST_F(DialogTest, DialogAppearsWhenTheLoopFirstGoesIdleCentredOnTheScreen) {
    CAboutProbe about;
    bool visible = false;
    CRect rect;
    Script({[&] {
                visible = about.IsWindowVisible() != FALSE;
                rect = WindowRect(about.m_hWnd);
            },
            Press(VK_ESCAPE)});
    about.DoModal();
    EXPECT_FALSE(about.m_visibleInInit);
    EXPECT_TRUE(visible);
    EXPECT_FALSE(rect.IsRectEmpty());
    EXPECT_EQ(Centred(rect), rect);
}

TEST_F(DialogTest, DialogPlacedByOnInitDialogStaysWhereItWasPut) {
    CAboutProbe about;
    about.m_moveTo = CPoint(30, 40);
    CRect rect;
    Script({[&] { rect = WindowRect(about.m_hWnd); }, Press(VK_ESCAPE)});
    about.DoModal();
    EXPECT_EQ(CPoint(30, 40), rect.TopLeft());
}

TEST_F(DialogTest, OwnerIsTheParentsTopLevelWindowDisabledWhileTheDialogRuns) {
    HWND owner = Popup(100, 100, 400, 300);
    HWND panel = Child(owner, 1, 0, 0, 100, 100);
    CWnd panelWnd;
    ASSERT_TRUE(panelWnd.Attach(panel));
    CAboutProbe about(&panelWnd);
    HWND ownerSeen = nullptr;
    bool ownerEnabled = true;
    Script({[&] {
                ownerSeen = GetWindow(about.m_hWnd, GW_OWNER);
                ownerEnabled = IsWindowEnabled(owner) != FALSE;
            },
            Press(VK_ESCAPE)});
    EXPECT_EQ(IDCANCEL, about.DoModal());
    EXPECT_EQ(owner, ownerSeen);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(owner, GetActiveWindow());
    panelWnd.Detach();
}

class CModalApp : public CWinApp {
public:
    CModalApp() : CWinApp("modal test") {}
};

TEST_F(DialogTest, WithoutAParentTheMainWindowOwnsTheDialog) {
    CModalApp app;
    CWnd main;
    HWND mainHwnd = Popup(0, 0, 300, 200);
    ASSERT_TRUE(main.Attach(mainHwnd));
    app.m_pMainWnd = &main;
    CAboutProbe about;
    bool mainEnabled = true;
    Script({[&] { mainEnabled = IsWindowEnabled(mainHwnd) != FALSE; }, Press(VK_ESCAPE)});
    about.DoModal();
    EXPECT_FALSE(mainEnabled);
    EXPECT_TRUE(IsWindowEnabled(mainHwnd));
    app.m_pMainWnd = nullptr;
    main.Detach();
}

TEST_F(DialogTest, QuitEndsTheModalLoopAndIsPostedAgainForTheOuterLoop) {
    CAboutProbe about;
    Script({[] { PostQuitMessage(5); }});
    EXPECT_EQ(-1, about.DoModal());
    EXPECT_EQ(nullptr, about.m_hWnd);
    Pump();
    EXPECT_EQ(5, m_quitCode);
}

TEST_F(DialogTest, FailuresReturnMinusOneAndLeaveTheOwnerEnabled) {
    HWND owner = Popup(0, 0, 200, 200);
    CWnd ownerWnd;
    ASSERT_TRUE(ownerWnd.Attach(owner));
    CDialog missing(4242, &ownerWnd);
    EXPECT_EQ(-1, missing.DoModal());
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_FALSE(missing.Create(4242, &ownerWnd));

    // Ended before it ever showed: the result, and nothing left behind.
    CAboutProbe early(&ownerWnd);
    early.m_endInInit = 17;
    EXPECT_EQ(17, early.DoModal());
    EXPECT_EQ(1, early.m_inits);
    EXPECT_TRUE(IsWindowEnabled(owner));
    ownerWnd.Detach();
}

// The slider window's template: typed handlers on its scroll bars, timer, button and statics.
class CSliderProbe : public CDialog {
public:
    CSliderProbe() : CDialog(IDD_SLIDERS) {}
    CScrollBar m_red;
    CScrollBar m_green;
    std::vector<std::pair<CScrollBar*, UINT>> m_scrolls;
    std::vector<UINT_PTR> m_timers;
    int m_transfers = 0;
    CBrush m_labelBrush{RGB(0, 0, 160)};

    const MessageMap& GetMessageMap() const override {
        static const MessageMap map = MessageMap::Derived<CSliderProbe>(CDialog::GetMessageMap())
                                          .On(WM_HSCROLL, &CSliderProbe::OnHScroll)
                                          .On(WM_TIMER, &CSliderProbe::OnTimer)
                                          .OnCtlColor(&CSliderProbe::OnCtlColor)
                                          .OnClicked(IDC_TRANSFER, &CSliderProbe::OnTransfer);
        return map;
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_SLIDER_RED, m_red);
        DDX_Control(pDX, IDC_SLIDER_GREEN, m_green);
    }
    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_red.SetScrollRange(0, 255);
        m_green.SetScrollRange(0, 255);
        SetTimer(3, 100);
        return TRUE;
    }
    void OnHScroll(UINT nSBCode, UINT, CScrollBar* pScrollBar) {
        if (nSBCode != SB_ENDSCROLL) {
            m_scrolls.emplace_back(pScrollBar, nSBCode);
        }
    }
    void OnTimer(UINT_PTR nIDEvent) { m_timers.push_back(nIDEvent); }
    void OnTransfer() { ++m_transfers; }
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
        if (nCtlColor == CTLCOLOR_STATIC && pWnd->GetDlgCtrlID() == IDC_SLIDER_RED_TEXT) {
            pDC->SetBkColor(RGB(0, 0, 160));
            return m_labelBrush;
        }
        return CWnd::OnCtlColor(pDC, pWnd, nCtlColor);
    }
};

TEST_F(DialogTest, MessageMapOfARealDialogGetsTypedArguments) {
    CSliderProbe sliders;
    std::uint32_t labelPixel = 0;
    Script({[&] { sliders.GotoDlgCtrl(&sliders.m_green); }, Press(VK_RIGHT), Press(VK_RIGHT),
            [&] { Display().Advance(250); },
            [&] { sliders.GetDlgItem(IDC_TRANSFER)->SendMessage(BM_CLICK); },
            [&] {
                CRect label = WindowRect(sliders.GetDlgItem(IDC_SLIDER_RED_TEXT)->m_hWnd);
                labelPixel = ScreenPixel(label.left + 1, label.bottom - 2);
            },
            Press(VK_ESCAPE)});
    EXPECT_EQ(IDCANCEL, sliders.DoModal());
    ASSERT_EQ(2u, sliders.m_scrolls.size());
    EXPECT_EQ(&sliders.m_green, sliders.m_scrolls[0].first);
    EXPECT_EQ(static_cast<UINT>(SB_LINERIGHT), sliders.m_scrolls[0].second);
    // The loop's waits run the clock on to each tick, so only the ids are certain.
    ASSERT_LE(2u, sliders.m_timers.size());
    EXPECT_EQ(std::vector<UINT_PTR>(sliders.m_timers.size(), 3), sliders.m_timers);
    EXPECT_EQ(1, sliders.m_transfers);
    EXPECT_EQ(0x000000A0u, labelPixel);
    EXPECT_EQ(nullptr, sliders.m_red.m_hWnd);  // let go with the dialog
}

// The main window's template: its edit and the keys the picker keeps for itself.
class CEditProbe : public CEdit {
public:
    std::vector<std::string>* m_trace = nullptr;
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_KEYDOWN) {
            m_trace->push_back("edit");
        }
        return FALSE;
    }
};

class CPickerProbe : public CDialog {
public:
    CPickerProbe() : CDialog(IDD_PICKER) { m_edit.m_trace = &m_trace; }
    CEditProbe m_edit;
    CString m_output;
    std::vector<std::string> m_trace;
    int m_spaces = 0;

    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_KEYDOWN) {
            m_trace.push_back("dialog");
            if (pMsg->wParam == VK_SPACE) {
                ++m_spaces;
                return TRUE;
            }
        }
        return CDialog::PreTranslateMessage(pMsg);
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_OUTPUT, m_edit);
        DDX_Text(pDX, IDC_OUTPUT, m_output);
    }
};

TEST_F(DialogTest, KeysGoFromTheControlToTheDialogAndAConsumedKeyNeverTypes) {
    CPickerProbe picker;
    picker.m_output = "RGB";
    // The field takes Enter itself (ES_WANTRETURN), so the dialog ends by its button.
    Script({[&] { picker.GotoDlgCtrl(&picker.m_edit); }, Press(VK_SPACE, " "), Press('A', "a"),
            [&] { picker.GetDlgItem(IDOK)->SendMessage(BM_CLICK); }});
    EXPECT_EQ(IDOK, picker.DoModal());
    EXPECT_EQ(1, picker.m_spaces);
    EXPECT_EQ((std::vector<std::string>{"edit", "dialog", "edit", "dialog"}), picker.m_trace);
    // OnOK read the field: moving the focus there selected its text, which the letter replaced;
    // the space never typed (it would have come first).
    EXPECT_STREQ("a", picker.m_output);
}

TEST_F(DialogTest, TemplateWithVisibleStyleIsCentredToo) {
    CPickerProbe picker;
    CRect rect;
    Script({[&] { rect = WindowRect(picker.m_hWnd); }, Press(VK_ESCAPE)});
    picker.DoModal();
    EXPECT_EQ(Centred(rect), rect);
}

TEST_F(DialogTest, RefreshLeavesTheSelectionAloneUnlessTheTextChanged) {
    CPickerProbe picker;
    picker.m_output = "#A0B0C0";
    ASSERT_TRUE(picker.Create(IDD_PICKER));
    picker.m_edit.SetSel(2, 5);
    picker.UpdateData(FALSE);
    int start = -1;
    int end = -1;
    picker.m_edit.GetSel(start, end);
    EXPECT_EQ(2, start);
    EXPECT_EQ(5, end);

    picker.m_output = "RGB(1, 2, 3)";
    picker.UpdateData(FALSE);
    CString shown;
    picker.m_edit.GetWindowText(shown);
    EXPECT_STREQ("RGB(1, 2, 3)", shown);
    picker.m_edit.GetSel(start, end);
    EXPECT_FALSE(start == 2 && end == 5);

    picker.m_edit.SetSel(0, -1);
    picker.m_edit.ReplaceSel("typed");
    ASSERT_TRUE(picker.UpdateData(TRUE));
    EXPECT_STREQ("typed", picker.m_output);
    picker.DestroyWindow();
    EXPECT_EQ(nullptr, picker.m_hWnd);
}

class CPaletteProbe : public CDialog {
public:
    CPaletteProbe() : CDialog(IDD_PALETTE) {}
    int m_mode = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Radio(pDX, IDC_PALETTE_COPY, m_mode); }
};

TEST_F(DialogTest, RadioGroupOfThePaletteExchangesByIndex) {
    CPaletteProbe palette;
    palette.m_mode = 1;
    ASSERT_TRUE(palette.Create(IDD_PALETTE));
    EXPECT_EQ(BST_UNCHECKED, palette.IsDlgButtonChecked(IDC_PALETTE_COPY));
    EXPECT_EQ(BST_CHECKED, palette.IsDlgButtonChecked(IDC_PALETTE_REGISTER));
    palette.CheckRadioButton(IDC_PALETTE_COPY, IDC_PALETTE_REGISTER, IDC_PALETTE_COPY);
    ASSERT_TRUE(palette.UpdateData(TRUE));
    EXPECT_EQ(0, palette.m_mode);
    palette.DestroyWindow();
}

// A tool window: a modeless dialog owned by the main window sees the keys for its own controls;
// the main window does not.
class CKeyWatcher : public CDialog {
public:
    explicit CKeyWatcher(UINT id) : CDialog(id) {}
    int m_keys = 0;
    BOOL PreTranslateMessage(MSG* pMsg) override {
        if (pMsg->message == WM_KEYDOWN) {
            ++m_keys;
        }
        return CDialog::PreTranslateMessage(pMsg);
    }
};

TEST_F(DialogTest, ToolWindowSeesTheKeysForItsControls) {
    CModalApp app;
    CKeyWatcher main(IDD_ABOUTBOX);
    ASSERT_TRUE(main.Create(IDD_ABOUTBOX));
    app.m_pMainWnd = &main;
    CKeyWatcher tool(IDD_SLIDERS);
    ASSERT_TRUE(tool.Create(IDD_SLIDERS));
    EXPECT_EQ(main.m_hWnd, GetWindow(tool.m_hWnd, GW_OWNER));
    tool.ShowWindow(SW_SHOW);
    tool.GetDlgItem(IDC_SLIDER_RED)->SetFocus();
    Script({Press(VK_RIGHT), [] { PostQuitMessage(0); }});
    app.Run();
    EXPECT_EQ(1, tool.m_keys);
    EXPECT_EQ(0, main.m_keys);
    app.m_pMainWnd = nullptr;
}

}  // namespace
