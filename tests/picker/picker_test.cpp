// The main picker window as a user meets it: sampling under the pointer, Space and the arrow
// keys wherever the focus is, the output field, the strip, the right-click menu, the system
// menu, the About box, copying, and the ways the window ends.
#include "picker_test.h"

#include <string>
#include <vector>

#include "color/text_format.h"
#include "picker/picker_dlg.h"

namespace {

constexpr std::uint32_t kRedPixel = 0x00C81E32;   // RGB(200, 30, 50) on the screen
constexpr std::uint32_t kBluePixel = 0x00102090;  // RGB(16, 32, 144)
constexpr COLORREF kRed = RGB(200, 30, 50);
constexpr COLORREF kBlue = RGB(16, 32, 144);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// Records what the right-click menu and the system menu show each time they open.
class CPickerProbe : public CPickerDlg {
public:
    struct MenuSeen {
        std::vector<UINT> checked;  // command ids with a check mark
    };
    std::vector<MenuSeen> m_menus;
    struct SystemMenuSeen {
        std::vector<std::string> texts;
        std::vector<UINT> ids;
        std::vector<UINT> grayed;  // ids of the items that cannot be chosen
    };
    std::vector<SystemMenuSeen> m_systemMenus;

protected:
    const MessageMap& GetMessageMap() const override {
        static const MessageMap map = MessageMap::Derived<CPickerProbe>(CPickerDlg::GetMessageMap())
                                          .On(WM_INITMENUPOPUP, &CPickerProbe::OnInitMenuPopup);
        return map;
    }
    void OnInitMenuPopup(CMenu* pMenu, UINT, BOOL bSysMenu) {
        if (bSysMenu) {
            SystemMenuSeen seen;
            for (int i = 0; i < pMenu->GetMenuItemCount(); ++i) {
                const auto at = static_cast<UINT>(i);
                CString text;
                pMenu->GetMenuString(at, text, MF_BYPOSITION);
                seen.texts.emplace_back(static_cast<LPCSTR>(text));
                seen.ids.push_back(pMenu->GetMenuItemID(i));
                if (pMenu->GetMenuState(at, MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED))
                    seen.grayed.push_back(seen.ids.back());
            }
            m_systemMenus.push_back(seen);
            return;
        }
        MenuSeen seen;
        for (const UINT id : {ID_FORMAT_RGB, ID_FORMAT_COLOR, ID_FORMAT_BASICHEX, ID_FORMAT_HTMLHEX,
                              ID_ALWAYS_ON_TOP}) {
            if (pMenu->GetMenuState(id, MF_BYCOMMAND) & MF_CHECKED)
                seen.checked.push_back(id);
        }
        m_menus.push_back(seen);
    }
};

class PickerWindowTest : public PickerTest {
protected:
    PickerWindowTest() {
        // The About box and the framework find their owner in the application's main window.
        AfxGetApp()->m_pMainWnd = &m_dlg;
        Display().FillDesktop({0, 0, 100, 100}, kRedPixel);
        Display().FillDesktop({100, 0, 200, 100}, kBluePixel);
        Display().MovePointer(50, 50);
    }
    ~PickerWindowTest() override { AfxGetApp()->m_pMainWnd = nullptr; }

    CPickerProbe m_dlg;
    HWND Hwnd() const { return m_dlg.m_hWnd; }

    // Opens the right-click menu on a free spot of the client area.
    void RightClickWindow() {
        RECT client{};
        GetClientRect(Hwnd(), &client);
        POINT at{client.right - 3, client.bottom / 2};
        ClientToScreen(Hwnd(), &at);
        Display().Click(display::MouseButton::Right, {at.x, at.y});
    }
    // Chooses the item at a position of the open menu with the keyboard (from no selection,
    // Down selects the first item; the separator is skipped).
    void ChooseFromMenu(int downs) {
        for (int i = 0; i < downs; ++i)
            Display().Press(VK_DOWN);
        Display().Press(VK_RETURN);
    }
    POINT Pointer() {
        POINT p{};
        GetCursorPos(&p);
        return p;
    }
};

TEST_F(PickerWindowTest, StartsTopmostCentredAtItsSizeWithWhiteTextsAndTheFirstButtonFocused) {
    RECT window{};
    std::string readout, output, caption;
    bool topmost = false;
    int focusId = 0;
    Script({{0,
             [&] {
                 GetWindowRect(Hwnd(), &window);
                 readout = TextOf(Hwnd(), IDC_READOUT);
                 output = TextOf(Hwnd(), IDC_OUTPUT);
                 char text[64] = {};
                 GetWindowTextA(Hwnd(), text, sizeof text);
                 caption = text;
                 topmost = (GetWindowLongA(Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
                 focusId = GetDlgCtrlID(GetFocus());
             }},
            {1, [&] { m_dlg.EndDialog(IDCANCEL); }}});
    m_dlg.DoModal();
    EXPECT_EQ(202, window.right - window.left);
    EXPECT_EQ(200, window.bottom - window.top);
    EXPECT_EQ((display::HeadlessBackend::kDefaultWidth - 202) / 2, window.left);
    EXPECT_EQ((display::HeadlessBackend::kDefaultHeight - 200) / 2, window.top);
    EXPECT_EQ("Tintaro LE", caption);
    EXPECT_EQ("255,255,255", readout);
    EXPECT_EQ("", output);
    EXPECT_TRUE(topmost);
    EXPECT_EQ(IDOK, focusId);
}

TEST_F(PickerWindowTest, ReadoutAndSwatchFollowThePointerWithinOneTick) {
    std::string before, atFirstTick, afterMove;
    COLORREF swatch = 0;
    Script({{0, [&] { before = TextOf(Hwnd(), IDC_READOUT); }},
            {100,
             [&] {
                 atFirstTick = TextOf(Hwnd(), IDC_READOUT);
                 Display().MovePointer(150, 50);
             }},
            {200,
             [&] {
                 afterMove = TextOf(Hwnd(), IDC_READOUT);
                 swatch = SeenInside(Hwnd(), IDC_LIVE_SWATCH);
             }},
            {201, [&] { m_dlg.EndDialog(IDCANCEL); }}});
    m_dlg.DoModal();
    EXPECT_EQ("255,255,255", before);
    EXPECT_EQ(color::FormatReadout(kRed), atFirstTick);
    EXPECT_EQ(color::FormatReadout(kBlue), afterMove);
    EXPECT_EQ(kBlue, swatch);
}

TEST_F(PickerWindowTest, SpaceBeforeTheFirstTickTakesWhite) {
    std::string output;
    COLORREF strip = 0;
    Script({{0, [&] { Display().Press(VK_SPACE, " "); }},
            {1,
             [&] {
                 output = TextOf(Hwnd(), IDC_OUTPUT);
                 strip = SeenInside(Hwnd(), IDC_STRIP);
             }},
            {2, [&] { m_dlg.EndDialog(IDCANCEL); }}});
    m_dlg.DoModal();
    EXPECT_EQ("RGB(255, 255, 255)", output);
    EXPECT_EQ(kWhite, strip);
    EXPECT_EQ(kWhite, m_dlg.m_crPicked);
}

// Space and the arrows belong to the picker: a focused button is not pressed (Copy would write
// the clipboard), and nothing is typed into the focused output field nor its caret moved.
TEST_F(PickerWindowTest, SpaceAndArrowsWorkWhateverHasTheFocus) {
    std::string onButton, inField;
    DWORD selection = 0, selectionAfterArrow = 0;
    POINT afterArrow{};
    Script({{150, [&] { SetFocus(GetDlgItem(Hwnd(), IDC_COPY)); }},
            {151, [&] { Display().Press(VK_SPACE, " "); }},
            {152,
             [&] {
                 onButton = TextOf(Hwnd(), IDC_OUTPUT);
                 Display().MovePointer(150, 50);
             }},
            {250, [&] { SetFocus(GetDlgItem(Hwnd(), IDC_OUTPUT)); }},
            {251,
             [&] {
                 SendDlgItemMessageA(Hwnd(), IDC_OUTPUT, EM_SETSEL, 3, 3);
                 selection =
                     static_cast<DWORD>(SendDlgItemMessageA(Hwnd(), IDC_OUTPUT, EM_GETSEL, 0, 0));
                 Display().Press(VK_SPACE, " ");
             }},
            {252,
             [&] {
                 inField = TextOf(Hwnd(), IDC_OUTPUT);
                 SendDlgItemMessageA(Hwnd(), IDC_OUTPUT, EM_SETSEL, 3, 3);
                 Display().Press(VK_RIGHT);
             }},
            {253,
             [&] {
                 afterArrow = Pointer();
                 selectionAfterArrow =
                     static_cast<DWORD>(SendDlgItemMessageA(Hwnd(), IDC_OUTPUT, EM_GETSEL, 0, 0));
             }},
            {254, [&] { m_dlg.EndDialog(IDCANCEL); }}});
    m_dlg.DoModal();
    EXPECT_EQ("RGB(200, 30, 50)", onButton);
    EXPECT_EQ(0, Display().ClipboardWriteCount());
    EXPECT_EQ("RGB(16, 32, 144)", inField);
    EXPECT_EQ(151, afterArrow.x);
    EXPECT_EQ(50, afterArrow.y);
    EXPECT_EQ(selection, selectionAfterArrow);
}

TEST_F(PickerWindowTest, HeldArrowMovesOnePixelPerKeyDownAndHeldSpaceTakesOnEachRepeat) {
    POINT afterLeft{}, afterUp{};
    std::string takenFirst;
    Script({{0,
             [&] {
                 Display().KeyDown(VK_LEFT);
                 for (int i = 0; i < 4; ++i)
                     Display().KeyRepeat(VK_LEFT);
                 Display().KeyUp(VK_LEFT);
             }},
            {1,
             [&] {
                 afterLeft = Pointer();
                 Display().KeyDown(VK_UP);
                 Display().KeyRepeat(VK_UP);
                 Display().KeyUp(VK_UP);
                 Display().KeyDown(VK_DOWN);
                 Display().KeyUp(VK_DOWN);
                 Display().Press(VK_RIGHT);
             }},
            {2, [&] { afterUp = Pointer(); }},
            {100, [&] { Display().KeyDown(VK_SPACE, " "); }},
            {101,
             [&] {
                 takenFirst = TextOf(Hwnd(), IDC_OUTPUT);
                 Display().MovePointer(150, 50);
             }},
            {250, [&] { Display().KeyRepeat(VK_SPACE, " "); }},
            {251, [&] {
                 Display().KeyUp(VK_SPACE);
                 m_dlg.EndDialog(IDCANCEL);
             }}});
    m_dlg.DoModal();
    EXPECT_EQ(45, afterLeft.x);
    EXPECT_EQ(50, afterLeft.y);
    EXPECT_EQ(46, afterUp.x);
    EXPECT_EQ(49, afterUp.y);
    EXPECT_EQ("RGB(200, 30, 50)", takenFirst);
    EXPECT_EQ(kBlue, m_dlg.m_crPicked);
}

// The field shows the output text again at the next tick; while the pointer rests, ticks leave
// it alone, so a selection the user made stays.
TEST_F(PickerWindowTest, TypedTextLastsUntilTheNextTickAndASelectionSurvivesTicks) {
    std::string typed, afterTick;
    DWORD selectedBefore = 0, selectedAfter = 0;
    Script({{100, [&] { Display().Press(VK_SPACE, " "); }},
            {110,
             [&] {
                 SetFocus(GetDlgItem(Hwnd(), IDC_OUTPUT));
                 Display().Press(VK_END);
                 Display().Press('X', "x");
             }},
            {111, [&] { typed = TextOf(Hwnd(), IDC_OUTPUT); }},
            {201,
             [&] {
                 afterTick = TextOf(Hwnd(), IDC_OUTPUT);
                 SendDlgItemMessageA(Hwnd(), IDC_OUTPUT, EM_SETSEL, 4, 9);
                 selectedBefore =
                     static_cast<DWORD>(SendDlgItemMessageA(Hwnd(), IDC_OUTPUT, EM_GETSEL, 0, 0));
             }},
            {550,
             [&] {
                 selectedAfter =
                     static_cast<DWORD>(SendDlgItemMessageA(Hwnd(), IDC_OUTPUT, EM_GETSEL, 0, 0));
             }},
            {551, [&] { m_dlg.EndDialog(IDCANCEL); }}});
    m_dlg.DoModal();
    EXPECT_EQ("RGB(200, 30, 50)x", typed);
    EXPECT_EQ("RGB(200, 30, 50)", afterTick);
    EXPECT_EQ(MAKELONG(4, 9), selectedBefore);
    EXPECT_EQ(selectedBefore, selectedAfter);
}

// The window's own painting puts the picked colour back into the strip when it is uncovered.
TEST_F(PickerWindowTest, TheStripSurvivesBeingCoveredAndUncovered) {
    COLORREF covered = 0, uncovered = 0;
    HWND cover = nullptr;
    Script({{100, [&] { Display().Press(VK_SPACE, " "); }},
            {101, [&] { Display().MovePointer(150, 50); }},
            {150,
             [&] {
                 RECT rect{};
                 GetWindowRect(Hwnd(), &rect);
                 cover =
                     CreateWindowExA(WS_EX_TOPMOST, "LogWindow", "", WS_POPUP | WS_VISIBLE,
                                     rect.left, rect.top, rect.right - rect.left,
                                     rect.bottom - rect.top, nullptr, nullptr, nullptr, nullptr);
             }},
            {151,
             [&] {
                 covered = SeenInside(Hwnd(), IDC_STRIP);
                 DestroyWindow(cover);
             }},
            {152, [&] { uncovered = SeenInside(Hwnd(), IDC_STRIP); }},
            {153, [&] { m_dlg.EndDialog(IDCANCEL); }}});
    m_dlg.DoModal();
    EXPECT_NE(kRed, covered);
    EXPECT_EQ(kRed, uncovered);
}

// One notation is checked, the current one, and always-on-top while the window is topmost.
// Choosing a notation leaves the output as it is; the next take uses it.
TEST_F(PickerWindowTest, TheMenuShowsTheStateAndANotationAppliesFromTheNextTake) {
    std::string afterChoice, afterTake;
    Script({{100, [&] { Display().Press(VK_SPACE, " "); }},
            {110, [&] { RightClickWindow(); }},
            {111, [&] { ChooseFromMenu(4); }},  // "#FFFFFF"
            {112, [&] { afterChoice = TextOf(Hwnd(), IDC_OUTPUT); }},
            {120, [&] { RightClickWindow(); }},
            {121, [&] { ChooseFromMenu(5); }},  // "常に手前に表示"
            {130, [&] { RightClickWindow(); }},
            {131, [&] { ChooseFromMenu(2); }},  // "Color(255, 255, 255)"
            {140, [&] { RightClickWindow(); }},
            {141,
             [&] {
                 Display().Press(VK_ESCAPE);
                 Display().MovePointer(50, 50);
             }},
            // The menus took a few ticks; the take waits for a tick with the pointer back.
            {1000, [&] { Display().Press(VK_SPACE, " "); }},
            {1001, [&] { afterTake = TextOf(Hwnd(), IDC_OUTPUT); }},
            {1002, [&] { m_dlg.EndDialog(IDCANCEL); }}});
    m_dlg.DoModal();
    ASSERT_EQ(4u, m_dlg.m_menus.size());
    EXPECT_EQ((std::vector<UINT>{ID_FORMAT_RGB, ID_ALWAYS_ON_TOP}), m_dlg.m_menus[0].checked);
    EXPECT_EQ((std::vector<UINT>{ID_FORMAT_HTMLHEX, ID_ALWAYS_ON_TOP}), m_dlg.m_menus[1].checked);
    EXPECT_EQ((std::vector<UINT>{ID_FORMAT_HTMLHEX}), m_dlg.m_menus[2].checked);
    EXPECT_EQ((std::vector<UINT>{ID_FORMAT_COLOR}), m_dlg.m_menus[3].checked);
    EXPECT_EQ("RGB(200, 30, 50)", afterChoice);
    EXPECT_EQ("Color(200, 30, 50)", afterTake);
}

TEST_F(PickerWindowTest, AlwaysOnTopTwiceReturnsTheWindowToTopmost) {
    std::vector<bool> topmost;
    const auto note = [&] {
        topmost.push_back((GetWindowLongA(Hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0);
    };
    Script({{0, note},
            {10, [&] { RightClickWindow(); }},
            {11, [&] { ChooseFromMenu(5); }},
            {12, note},
            {20, [&] { RightClickWindow(); }},
            {21, [&] { ChooseFromMenu(5); }},
            {22, note},
            {23, [&] { m_dlg.EndDialog(IDCANCEL); }}});
    m_dlg.DoModal();
    EXPECT_EQ((std::vector<bool>{true, false, true}), topmost);
    EXPECT_TRUE(m_dlg.m_bTopMost);
}

// Copy puts exactly what the field shows on the clipboard, typed text included.
TEST_F(PickerWindowTest, CopyPutsTheFieldsTextOnTheClipboard) {
    std::string first;
    Script({{100, [&] { Display().Press(VK_SPACE, " "); }},
            {110, [&] { ClickOn(Hwnd(), IDC_COPY); }},
            {111,
             [&] {
                 first = Display().ClipboardContent().value_or("");
                 SetDlgItemTextA(Hwnd(), IDC_OUTPUT, "#ABCDEF");
                 ClickOn(Hwnd(), IDC_COPY);
             }},
            {112, [&] { m_dlg.EndDialog(IDCANCEL); }}});
    m_dlg.DoModal();
    EXPECT_EQ("RGB(200, 30, 50)", first);
    EXPECT_EQ("#ABCDEF", Display().ClipboardContent().value_or(""));
}

// As Alt+Space shows it: every item the window rebuilt can be chosen.
TEST_F(PickerWindowTest, TheSystemMenuReadsMoveMinimiseCloseAndAbout) {
    Script({{0,
             [&] {
                 Display().KeyDown(VK_MENU);
                 Display().KeyDown(VK_SPACE, " ");
                 Display().KeyUp(VK_SPACE);
                 Display().KeyUp(VK_MENU);
             }},
            {1, [&] { Display().Press(VK_ESCAPE); }},
            {2, [&] { m_dlg.EndDialog(IDCANCEL); }}});
    m_dlg.DoModal();
    ASSERT_EQ(1u, m_dlg.m_systemMenus.size());
    const CPickerProbe::SystemMenuSeen& seen = m_dlg.m_systemMenus[0];
    EXPECT_EQ((std::vector<std::string>{"移動", "最少化", "閉じる", "", "Tintaro LE について ..."}),
              seen.texts);
    EXPECT_EQ((std::vector<UINT>{SC_MOVE, SC_MINIMIZE, SC_CLOSE, 0, IDM_ABOUTBOX}), seen.ids);
    EXPECT_TRUE(seen.grayed.empty());
}

// About opens modal over the window from the system menu (Alt+Space, then the last item) and
// a press anywhere in it closes it; the picker goes on.
TEST_F(PickerWindowTest, AboutOpensFromTheSystemMenuAndAPressClosesIt) {
    HWND about = nullptr;
    bool ownerDisabled = false;
    bool goneAfterPress = false;
    bool pickerAlive = false;
    Script({{10, [&] { Display().Press(VK_SPACE, " "); }},
            {11,
             [&] {
                 // Alt+Space opens the system menu; Up from no selection chooses the last item.
                 Display().KeyDown(VK_MENU);
                 Display().KeyDown(VK_SPACE, " ");
                 Display().KeyUp(VK_SPACE);
                 Display().KeyUp(VK_MENU);
             }},
            {12,
             [&] {
                 Display().Press(VK_UP);
                 Display().Press(VK_RETURN);
             }},
            {20,
             [&] {
                 about = FindWindowA(nullptr, "Tintaro LE 1.2 について ...");
                 ownerDisabled = !IsWindowEnabled(Hwnd());
                 RECT rect{};
                 GetWindowRect(about, &rect);
                 Display().Click(display::MouseButton::Left, {rect.right - 10, rect.bottom - 6});
             }},
            {30,
             [&] {
                 goneAfterPress = !IsWindow(about);
                 pickerAlive = IsWindow(Hwnd()) && IsWindowEnabled(Hwnd());
             }},
            {31, [&] { m_dlg.EndDialog(IDCANCEL); }}});
    m_dlg.DoModal();
    ASSERT_NE(nullptr, about);
    EXPECT_TRUE(ownerDisabled);
    EXPECT_TRUE(goneAfterPress);
    EXPECT_TRUE(pickerAlive);
}

TEST_F(PickerWindowTest, EnterEndsTheWindowWithOk) {
    Script({{150, [&] { Display().Press(VK_RETURN); }}});
    EXPECT_EQ(IDOK, m_dlg.DoModal());
}

TEST_F(PickerWindowTest, EscapeEndsTheWindowWithCancel) {
    Script({{150, [&] { Display().Press(VK_ESCAPE); }}});
    EXPECT_EQ(IDCANCEL, m_dlg.DoModal());
}

// A read that fails gives CLR_INVALID, whose low bytes the readout shows as 255, 255, 255; the
// swatch shows the same white inside its black frame.
TEST_F(PickerWindowTest, AFailedReadPaintsAWhiteSwatch) {
    COLORREF inside = 0;
    Script({{0,
             [&] {
                 m_dlg.PaintSwatch(m_dlg.m_strip, CLR_INVALID);
                 inside = SeenInside(Hwnd(), IDC_STRIP);
             }},
            {1, [&] { m_dlg.EndDialog(IDCANCEL); }}});
    m_dlg.DoModal();
    EXPECT_EQ(kWhite, inside);
    EXPECT_EQ(color::FormatReadout(kWhite), color::FormatReadout(CLR_INVALID));
}

TEST_F(PickerWindowTest, RestoredFromMinimisedTheWindowShowsItsStripAgain) {
    bool iconic = false;
    COLORREF stripAfterRestore = 0;
    Script({{100, [&] { Display().Press(VK_SPACE, " "); }},
            {110, [&] { ShowWindow(Hwnd(), SW_MINIMIZE); }},
            {111,
             [&] {
                 iconic = IsIconic(Hwnd());
                 ShowWindow(Hwnd(), SW_RESTORE);
             }},
            {112, [&] { stripAfterRestore = SeenInside(Hwnd(), IDC_STRIP); }},
            {113, [&] { m_dlg.EndDialog(IDCANCEL); }}});
    m_dlg.DoModal();
    EXPECT_TRUE(iconic);
    EXPECT_EQ(kRed, stripAfterRestore);
}

// The standard items of the rebuilt system menu keep their standard effect.
TEST_F(PickerWindowTest, TheSystemMenusMinimiseAndCloseKeepTheirEffect) {
    bool iconic = false;
    const auto openSystemMenu = [&] {
        Display().KeyDown(VK_MENU);
        Display().KeyDown(VK_SPACE, " ");
        Display().KeyUp(VK_SPACE);
        Display().KeyUp(VK_MENU);
    };
    Script({{0, openSystemMenu},
            // Opened from the keyboard, the menu starts on its first item.
            {1, [&] { ChooseFromMenu(1); }},  // 最少化
            {2,
             [&] {
                 iconic = IsIconic(Hwnd());
                 ShowWindow(Hwnd(), SW_RESTORE);
                 SetForegroundWindow(Hwnd());
             }},
            {3, openSystemMenu},
            {4, [&] { ChooseFromMenu(2); }}});  // 閉じる
    EXPECT_EQ(IDCANCEL, m_dlg.DoModal());
    EXPECT_TRUE(iconic);
}

// Shift+F10 asks for the menu from the keyboard; it opens all the same.
TEST_F(PickerWindowTest, TheKeyboardOpensTheRightClickMenu) {
    Script({{0,
             [&] {
                 Display().KeyDown(VK_SHIFT);
                 Display().Press(VK_F10);
                 Display().KeyUp(VK_SHIFT);
             }},
            {1, [&] { Display().Press(VK_ESCAPE); }},
            {2, [&] { m_dlg.EndDialog(IDCANCEL); }}});
    m_dlg.DoModal();
    ASSERT_EQ(1u, m_dlg.m_menus.size());
    EXPECT_EQ((std::vector<UINT>{ID_FORMAT_RGB, ID_ALWAYS_ON_TOP}), m_dlg.m_menus[0].checked);
}

// A swatch fills the control with the colour inside a one-pixel black frame, right and bottom
// edges included, and touches nothing outside it.
TEST_F(PickerWindowTest, ASwatchIsItsColourInsideABlackFrame) {
    RECT strip{};
    std::vector<std::uint32_t> seen;
    Script({{100, [&] { Display().Press(VK_SPACE, " "); }},
            {101,
             [&] {
                 strip = ScreenRectOf(Hwnd(), IDC_STRIP);
                 for (const POINT p :
                      std::initializer_list<POINT>{{strip.left, strip.top},
                                                   {strip.right - 1, strip.bottom - 1},
                                                   {strip.left + 1, strip.top + 1},
                                                   {strip.right - 2, strip.bottom - 2},
                                                   {strip.left - 1, strip.top},
                                                   {strip.right, strip.bottom - 1},
                                                   {strip.left, strip.bottom}}) {
                     seen.push_back(ScreenPixel(p.x, p.y));
                 }
             }},
            {102, [&] { m_dlg.EndDialog(IDCANCEL); }}});
    m_dlg.DoModal();
    const std::uint32_t face = GetSysColor(COLOR_3DFACE);  // grey: the same in both orders
    EXPECT_EQ((std::vector<std::uint32_t>{0, 0, kRedPixel, kRedPixel, face, face, face}), seen);
}

}  // namespace
