// Menus: building and changing them, their handles, loading the program's menu 134,
// TrackPopupMenu's loop driven by mouse and keys, what the owner hears and when, the popup's
// pixels and placement, submenus, and the window menu's standard copy and how it opens.
#include <windows.h>
#include <windowsx.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/winapi/host.h"
#include "platform/winapi/resource/menu_template.h"
#include "res/resource.h"
#include "support/headless_test.h"
#include "support/message_log.h"

namespace {

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr UINT kNotFound = static_cast<UINT>(-1);
// The classic popup in the 12 px Japanese menu face: a 3 px border, items of the font's height
// and 4 px, 9 px separators, and left of the text an 11 px check box and a 4 px gap.
constexpr int kBorder = 3;
constexpr int kItemHeight = 16;
constexpr int kCheckColumn = 15;
constexpr int kSeparatorHeight = 9;

std::uint32_t Pixel(COLORREF colour) {
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}
std::uint32_t SysPixel(int index) {
    return Pixel(GetSysColor(index));
}

std::string MenuString(HMENU menu, UINT item, UINT flags) {
    char buffer[128] = {};
    GetMenuStringA(menu, item, buffer, sizeof buffer, flags);
    return buffer;
}

class MenuTest : public HeadlessTest {
protected:
    MenuTest() {
        MessageLog::Register();
        m_hwnd =
            CreateWindowExA(WS_EX_DLGMODALFRAME, "LogWindow", "Tintaro LE", kStyle | WS_VISIBLE,
                            100, 100, 202, 200, nullptr, nullptr, nullptr, nullptr);
        Pump();
        Log().Clear();
    }
    MessageLog& Log() { return MessageLog::Instance(); }

    // Each time the menu loop waits for input, the next step runs; after the last, Esc. A step
    // must queue input or move the clock.
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
    BOOL Track(HMENU menu, UINT flags, POINT at) {
        const BOOL result = TrackPopupMenu(menu, flags, at.x, at.y, 0, m_hwnd, nullptr);
        Display().SetIdleHandler({});
        return result;
    }
    // The shown popup menus, top one first.
    std::vector<display::Rect> Popups() {
        std::vector<display::Rect> rects;
        for (display::SurfaceId id : Display().SurfacesTopToBottom()) {
            const display::SurfaceInfo* s = Display().FindSurface(id);
            if (s != nullptr && s->kind == display::SurfaceKind::Menu && s->visible)
                rects.insert(rects.begin(), s->bounds);
        }
        return rects;
    }
    // The middle of an item of a popup, counting the separators above it.
    static display::Point ItemPoint(const display::Rect& popup, int index,
                                    int separatorsAbove = 0) {
        return {popup.left + 30, popup.top + kBorder + (index - separatorsAbove) * kItemHeight +
                                     separatorsAbove * kSeparatorHeight + kItemHeight / 2};
    }
    std::vector<LoggedMessage> Commands() { return Log().Of(WM_COMMAND); }

    // 0 "&Red" 101, 1 "&Green" 102 checked, 2 separator, 3 "&Blue" 103 grayed, 4 "Gr&ay" 104.
    static HMENU ColourMenu() {
        HMENU menu = CreatePopupMenu();
        AppendMenuA(menu, MF_STRING, 101, "&Red");
        AppendMenuA(menu, MF_STRING | MF_CHECKED, 102, "&Green");
        AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuA(menu, MF_STRING | MF_GRAYED, 103, "&Blue");
        AppendMenuA(menu, MF_STRING, 104, "Gr&ay");
        return menu;
    }

    HWND m_hwnd = nullptr;
    std::vector<std::function<void()>> m_steps;
    std::size_t m_next = 0;
};

// The program's own resources, for menu 134.
class ProgramMenuTest : public MenuTest {
protected:
    ProgramMenuTest() {
        std::ifstream file(TINTARO_RES_FILE, std::ios::binary);
        m_res.assign(std::istreambuf_iterator<char>(file), {});
        winapi::SetModuleResources(std::as_bytes(std::span(m_res)));
        m_bar = LoadMenuA(nullptr, MAKEINTRESOURCEA(IDR_FORMAT_MENU));
        m_popup = GetSubMenu(m_bar, 0);
    }
    ~ProgramMenuTest() override { DestroyMenu(m_bar); }

    std::vector<char> m_res;
    HMENU m_bar = nullptr;
    HMENU m_popup = nullptr;
};

// --- Building and reading menus ---

TEST_F(MenuTest, AppendedItemsReportTheirIdsStatesAndTexts) {
    HMENU sub = CreatePopupMenu();
    AppendMenuA(sub, MF_STRING, 201, "Inner");
    AppendMenuA(sub, MF_STRING, 202, "Inner 2");
    HMENU menu = ColourMenu();
    ASSERT_TRUE(AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&More"));
    EXPECT_EQ(6, GetMenuItemCount(menu));

    EXPECT_EQ(101u, GetMenuItemID(menu, 0));
    EXPECT_EQ(0u, GetMenuItemID(menu, 2));         // a separator
    EXPECT_EQ(kNotFound, GetMenuItemID(menu, 5));  // a popup
    EXPECT_EQ(kNotFound, GetMenuItemID(menu, 6));  // past the end
    EXPECT_EQ(kNotFound, GetMenuItemID(menu, -1));
    EXPECT_EQ(sub, GetSubMenu(menu, 5));
    EXPECT_EQ(nullptr, GetSubMenu(menu, 0));

    EXPECT_EQ(static_cast<UINT>(MF_STRING), GetMenuState(menu, 101, MF_BYCOMMAND));
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), GetMenuState(menu, 1, MF_BYPOSITION));
    EXPECT_EQ(static_cast<UINT>(MF_SEPARATOR), GetMenuState(menu, 2, MF_BYPOSITION));
    EXPECT_EQ(static_cast<UINT>(MF_GRAYED), GetMenuState(menu, 103, MF_BYCOMMAND));
    // A popup: its submenu's item count in the high byte.
    EXPECT_EQ(static_cast<UINT>((2 << 8) | MF_POPUP), GetMenuState(menu, 5, MF_BYPOSITION));
    // By command the submenus are searched too.
    EXPECT_EQ(static_cast<UINT>(MF_STRING), GetMenuState(menu, 202, MF_BYCOMMAND));
    EXPECT_EQ(kNotFound, GetMenuState(menu, 999, MF_BYCOMMAND));

    // Texts come back as stored, prefixes and all; without a buffer, the length.
    EXPECT_EQ("&Green", MenuString(menu, 102, MF_BYCOMMAND));
    EXPECT_EQ("Inner 2", MenuString(menu, 202, MF_BYCOMMAND));
    EXPECT_EQ(4, GetMenuStringA(menu, 0, nullptr, 0, MF_BYPOSITION));
    char small[4];
    EXPECT_EQ(3, GetMenuStringA(menu, 101, small, sizeof small, MF_BYCOMMAND));
    EXPECT_STREQ("&Re", small);
    EXPECT_EQ(0, GetMenuStringA(menu, 2, small, sizeof small, MF_BYPOSITION));  // a separator
    // A string item without a string is a separator.
    AppendMenuA(menu, MF_STRING, 300, nullptr);
    EXPECT_EQ(static_cast<UINT>(MF_SEPARATOR), GetMenuState(menu, 6, MF_BYPOSITION));
    DestroyMenu(menu);
    EXPECT_FALSE(IsMenu(sub));  // destroyed with its menu
}

TEST_F(MenuTest, InsertAndModifyByPositionAndByCommandInsideSubmenus) {
    HMENU sub = CreatePopupMenu();
    AppendMenuA(sub, MF_STRING, 201, "A");
    AppendMenuA(sub, MF_STRING, 203, "C");
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 101, "One");
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "Sub");

    ASSERT_TRUE(InsertMenuA(menu, 0, MF_BYPOSITION | MF_STRING, 100, "Zero"));
    ASSERT_TRUE(InsertMenuA(menu, static_cast<UINT>(-1), MF_BYPOSITION | MF_STRING, 102, "Last"));
    // By command the new item goes before that item, in the submenu that holds it.
    ASSERT_TRUE(InsertMenuA(menu, 203, MF_BYCOMMAND | MF_STRING, 202, "B"));
    EXPECT_EQ(4, GetMenuItemCount(menu));
    EXPECT_EQ(100u, GetMenuItemID(menu, 0));
    EXPECT_EQ(102u, GetMenuItemID(menu, 3));
    EXPECT_EQ(202u, GetMenuItemID(sub, 1));
    SetLastError(0);
    EXPECT_FALSE(InsertMenuA(menu, 999, MF_BYCOMMAND, 5, "x"));
    EXPECT_EQ(static_cast<DWORD>(ERROR_MENU_ITEM_NOT_FOUND), GetLastError());

    // Modify replaces the item's type, state, id and text.
    ASSERT_TRUE(ModifyMenuA(menu, 101, MF_BYCOMMAND | MF_STRING | MF_CHECKED, 111, "Uno"));
    EXPECT_EQ(111u, GetMenuItemID(menu, 1));
    EXPECT_EQ(static_cast<UINT>(MF_CHECKED), GetMenuState(menu, 111, MF_BYCOMMAND));
    EXPECT_EQ("Uno", MenuString(menu, 1, MF_BYPOSITION));
    // A popup replaced by another popup takes its old submenu with it.
    HMENU other = CreatePopupMenu();
    ASSERT_TRUE(
        ModifyMenuA(menu, 2, MF_BYPOSITION | MF_POPUP, reinterpret_cast<UINT_PTR>(other), "Other"));
    EXPECT_FALSE(IsMenu(sub));
    EXPECT_EQ(other, GetSubMenu(menu, 2));
    DestroyMenu(menu);
}

TEST_F(MenuTest, RemoveDetachesASubmenuAndDeleteDestroysIt) {
    HMENU sub = CreatePopupMenu();
    AppendMenuA(sub, MF_STRING, 201, "Inner");
    HMENU menu = ColourMenu();
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "More");

    ASSERT_TRUE(RemoveMenu(menu, 5, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(sub));
    EXPECT_EQ(201u, GetMenuItemID(sub, 0));
    // Detached, it can be put elsewhere and is then deleted with the item.
    ASSERT_TRUE(AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "Again"));
    ASSERT_TRUE(DeleteMenu(menu, 5, MF_BYPOSITION));
    EXPECT_FALSE(IsMenu(sub));

    ASSERT_TRUE(DeleteMenu(menu, 103, MF_BYCOMMAND));
    EXPECT_EQ(4, GetMenuItemCount(menu));
    EXPECT_EQ(104u, GetMenuItemID(menu, 3));
    SetLastError(0);
    EXPECT_FALSE(RemoveMenu(menu, 9, MF_BYPOSITION));
    EXPECT_EQ(static_cast<DWORD>(ERROR_MENU_ITEM_NOT_FOUND), GetLastError());
    EXPECT_FALSE(DeleteMenu(menu, 103, MF_BYCOMMAND));
    EXPECT_EQ(4, GetMenuItemCount(menu));
    DestroyMenu(menu);
}

TEST_F(MenuTest, CheckAndEnableReturnThePreviousStateOrMinusOne) {
    HMENU menu = ColourMenu();
    EXPECT_EQ(static_cast<DWORD>(MF_UNCHECKED),
              CheckMenuItem(menu, 101, MF_BYCOMMAND | MF_CHECKED));
    EXPECT_EQ(static_cast<DWORD>(MF_CHECKED), CheckMenuItem(menu, 101, MF_BYCOMMAND | MF_CHECKED));
    EXPECT_EQ(static_cast<DWORD>(MF_CHECKED), CheckMenuItem(menu, 1, MF_BYPOSITION | MF_UNCHECKED));
    EXPECT_EQ(0u, GetMenuState(menu, 102, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(static_cast<DWORD>(-1), CheckMenuItem(menu, 999, MF_CHECKED));

    EXPECT_EQ(MF_GRAYED, EnableMenuItem(menu, 103, MF_BYCOMMAND | MF_ENABLED));
    EXPECT_EQ(MF_ENABLED, EnableMenuItem(menu, 103, MF_BYCOMMAND | MF_DISABLED));
    EXPECT_EQ(static_cast<UINT>(MF_DISABLED), GetMenuState(menu, 103, MF_BYCOMMAND));
    EXPECT_EQ(-1, EnableMenuItem(menu, 999, MF_GRAYED));
    DestroyMenu(menu);
}

TEST_F(MenuTest, StaleHandlesAndLoopsFailSafely) {
    HMENU menu = ColourMenu();
    ASSERT_TRUE(DestroyMenu(menu));
    SetLastError(0);
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_FALSE(DestroyMenu(menu));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE), GetLastError());
    SetLastError(0);
    EXPECT_EQ(-1, GetMenuItemCount(menu));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE), GetLastError());
    EXPECT_FALSE(AppendMenuA(menu, MF_STRING, 1, "x"));
    EXPECT_FALSE(InsertMenuA(menu, 0, MF_BYPOSITION, 1, "x"));
    EXPECT_FALSE(ModifyMenuA(menu, 0, MF_BYPOSITION, 1, "x"));
    EXPECT_FALSE(DeleteMenu(menu, 0, MF_BYPOSITION));
    EXPECT_EQ(kNotFound, GetMenuItemID(menu, 0));
    EXPECT_EQ(kNotFound, GetMenuState(menu, 0, MF_BYPOSITION));
    EXPECT_EQ(static_cast<DWORD>(-1), CheckMenuItem(menu, 101, MF_CHECKED));
    EXPECT_EQ(nullptr, GetSubMenu(menu, 0));
    SetLastError(0);
    EXPECT_FALSE(TrackPopupMenu(menu, 0, 10, 10, 0, m_hwnd, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE), GetLastError());
    // Window handles are not menu handles.
    EXPECT_FALSE(IsMenu(reinterpret_cast<HMENU>(m_hwnd)));

    // A menu inside its own tree would make every walk of it endless.
    HMENU outer = CreatePopupMenu();
    HMENU inner = CreatePopupMenu();
    ASSERT_TRUE(AppendMenuA(outer, MF_POPUP, reinterpret_cast<UINT_PTR>(inner), "Inner"));
    EXPECT_FALSE(AppendMenuA(inner, MF_POPUP, reinterpret_cast<UINT_PTR>(outer), "Outer"));
    EXPECT_FALSE(AppendMenuA(outer, MF_POPUP, reinterpret_cast<UINT_PTR>(outer), "Self"));
    EXPECT_FALSE(AppendMenuA(outer, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), "Stale"));
    EXPECT_EQ(1, GetMenuItemCount(outer));
    DestroyMenu(outer);
    EXPECT_FALSE(IsMenu(inner));

    // Bad arguments to TrackPopupMenu.
    HMENU live = ColourMenu();
    SetLastError(0);
    EXPECT_FALSE(TrackPopupMenu(live, 0, 10, 10, 0, reinterpret_cast<HWND>(0x1234), nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE), GetLastError());
    EXPECT_EQ(nullptr, LoadMenuIndirectA(nullptr));
    DestroyMenu(live);
}

// LoadMenu builds what the template holds, item for item: ids, texts as written (a doubled
// ampersand stays doubled) and separators. What the template holds is the resource script's
// test's to say.
TEST_F(ProgramMenuTest, LoadMenuBuildsWhatTheTemplateHolds) {
    const HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_FORMAT_MENU), RT_MENU);
    ASSERT_NE(nullptr, found);
    const auto* bytes =
        static_cast<const std::uint8_t*>(LockResource(LoadResource(nullptr, found)));
    const auto parsed = winapi::MenuTemplate::Parse(
        {bytes, static_cast<std::size_t>(SizeofResource(nullptr, found))});
    ASSERT_TRUE(parsed);
    ASSERT_EQ(1u, parsed->items.size());
    ASSERT_EQ(1, GetMenuItemCount(m_bar));
    EXPECT_EQ(parsed->items[0].text, MenuString(m_bar, 0, MF_BYPOSITION));
    ASSERT_NE(nullptr, m_popup);
    const std::vector<winapi::MenuItem>& items = parsed->items[0].children;
    ASSERT_EQ(static_cast<int>(items.size()), GetMenuItemCount(m_popup));
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto at = static_cast<UINT>(i);
        if (items[i].IsSeparator()) {
            EXPECT_EQ(static_cast<UINT>(MF_SEPARATOR), GetMenuState(m_popup, at, MF_BYPOSITION))
                << i;
            continue;
        }
        EXPECT_EQ(items[i].id, GetMenuItemID(m_popup, static_cast<int>(i))) << i;
        EXPECT_EQ(items[i].text, MenuString(m_popup, at, MF_BYPOSITION)) << i;
        EXPECT_EQ(0u, GetMenuState(m_popup, at, MF_BYPOSITION) & MF_CHECKED) << i;
    }
    // Through the bar, CheckMenuItem reaches an item of its popup and returns its old state.
    EXPECT_EQ(static_cast<DWORD>(MF_UNCHECKED), CheckMenuItem(m_bar, ID_FORMAT_COLOR, MF_CHECKED));
    EXPECT_EQ(nullptr, LoadMenuA(nullptr, MAKEINTRESOURCEA(999)));
}

// --- TrackPopupMenu ---

// The owner hears the loop begin and end, and the choice comes afterwards, posted.
TEST_F(ProgramMenuTest, AMouseChoiceIsPostedAfterTheMenuLoopEnds) {
    std::optional<display::Rect> popup;
    WhileTracking({[&] {
                       popup = Popups().front();
                       Display().MovePointer(ItemPoint(*popup, 1));
                   },
                   [&] { Display().Click(display::MouseButton::Left, ItemPoint(*popup, 1)); }});
    EXPECT_TRUE(Track(m_popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, {150, 130}));
    ASSERT_TRUE(popup.has_value());
    EXPECT_EQ((display::Rect{150, 130, popup->right,
                             130 + 2 * kBorder + 5 * kItemHeight + kSeparatorHeight}),
              *popup);
    EXPECT_TRUE(Popups().empty());
    EXPECT_TRUE(Commands().empty());  // not yet: it is posted
    Pump();
    const std::vector<UINT> order =
        Log().Messages(m_hwnd, {WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_MENUSELECT,
                                WM_UNINITMENUPOPUP, WM_EXITMENULOOP, WM_COMMAND});
    EXPECT_EQ((std::vector<UINT>{WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP, WM_MENUSELECT,
                                 WM_UNINITMENUPOPUP, WM_MENUSELECT, WM_EXITMENULOOP, WM_COMMAND}),
              order);
    EXPECT_EQ(static_cast<WPARAM>(TRUE), Log().Of(WM_ENTERMENULOOP)[0].wParam);
    EXPECT_EQ(reinterpret_cast<WPARAM>(m_popup), Log().Of(WM_INITMENU)[0].wParam);
    EXPECT_EQ(0, HIWORD(Log().Of(WM_INITMENUPOPUP)[0].lParam));
    const auto selects = Log().Of(WM_MENUSELECT);
    EXPECT_EQ(ID_FORMAT_COLOR, LOWORD(selects[0].wParam));
    EXPECT_EQ(static_cast<WORD>(MF_HILITE | MF_MOUSESELECT), HIWORD(selects[0].wParam));
    EXPECT_EQ(reinterpret_cast<LPARAM>(m_popup), selects[0].lParam);
    EXPECT_EQ(0xFFFF, HIWORD(selects[1].wParam));  // the menu has closed
    EXPECT_EQ(0, selects[1].lParam);
    ASSERT_EQ(1u, Commands().size());
    EXPECT_EQ(static_cast<WPARAM>(ID_FORMAT_COLOR), Commands()[0].wParam);
    EXPECT_EQ(0, Commands()[0].lParam);
    // The popup never took the activation.
    EXPECT_EQ(m_hwnd, GetActiveWindow());
}

TEST_F(ProgramMenuTest, KeysStepOverTheSeparatorWrapAndChoose) {
    WhileTracking({[&] { Display().Press(VK_DOWN); },  // RGB
                   [&] { Display().Press(VK_UP); },    // wraps to 常に手前に表示
                   [&] { Display().Press(VK_UP); },    // over the separator to #FFFFFF
                   [&] { Display().Press(VK_RETURN); }});
    EXPECT_TRUE(Track(m_popup, TPM_LEFTALIGN, {150, 130}));
    Pump();
    ASSERT_EQ(1u, Commands().size());
    EXPECT_EQ(static_cast<WPARAM>(ID_FORMAT_HTMLHEX), Commands()[0].wParam);
    std::vector<WORD> selected;
    for (const LoggedMessage& m : Log().Of(WM_MENUSELECT))
        selected.push_back(LOWORD(m.wParam));
    EXPECT_EQ((std::vector<WORD>{ID_FORMAT_RGB, ID_ALWAYS_ON_TOP, ID_FORMAT_HTMLHEX, 0}), selected);

    // With TPM_RETURNCMD the id is returned and nothing is posted.
    Log().Clear();
    WhileTracking({[&] { Display().Press(VK_DOWN); }, [&] { Display().Press(VK_RETURN); }});
    EXPECT_EQ(static_cast<BOOL>(ID_FORMAT_RGB), Track(m_popup, TPM_RETURNCMD, {150, 130}));
    Pump();
    EXPECT_TRUE(Commands().empty());
}

TEST_F(MenuTest, MnemonicsChooseAndARepeatedLetterWalksItsItems) {
    HMENU menu = ColourMenu();
    AppendMenuA(menu, MF_STRING, 105, "&Rose");
    WhileTracking({[&] { Display().Press('A', "a"); }});
    EXPECT_EQ(104, Track(menu, TPM_RETURNCMD, {150, 130}));
    // Two items share R: the letter selects them in turn, Enter chooses.
    WhileTracking({[&] { Display().Press('R', "r"); }, [&] { Display().Press('R', "r"); },
                   [&] { Display().Press(VK_RETURN); }});
    EXPECT_EQ(105, Track(menu, TPM_RETURNCMD, {150, 130}));
    // A grayed item's letter only selects it; a letter no item has asks the owner, and when
    // the owner answers MNC_IGNORE the display's bell sounds.
    Log().Clear();
    const int bells = Display().BellCount();
    WhileTracking({[&] { Display().Press('B', "b"); }, [&] { Display().Press('Q', "q"); }});
    EXPECT_EQ(0, Track(menu, TPM_RETURNCMD, {150, 130}));
    const auto menuChars = Log().Of(WM_MENUCHAR);
    ASSERT_EQ(1u, menuChars.size());
    EXPECT_EQ('q', LOWORD(menuChars[0].wParam));
    EXPECT_EQ(reinterpret_cast<LPARAM>(menu), menuChars[0].lParam);
    EXPECT_EQ(Display().BellCount(), bells + 1);
    DestroyMenu(menu);
}

TEST_F(ProgramMenuTest, EscAndAClickOutsideDismissAndTheClickGoesNoFurther) {
    WhileTracking({[&] { Display().Press(VK_DOWN); }, [&] { Display().Press(VK_ESCAPE); }});
    EXPECT_TRUE(Track(m_popup, TPM_LEFTALIGN, {150, 130}));
    WhileTracking({});  // Esc at once
    EXPECT_EQ(0, Track(m_popup, TPM_RETURNCMD, {150, 130}));
    // So does a fresh press of Alt.
    bool openAfterAlt = false;
    WhileTracking({[&] { Display().Press(VK_DOWN); }, [&] { Display().Press(VK_MENU); },
                   [&] {
                       openAfterAlt = true;
                       Display().Press(VK_ESCAPE);
                   }});
    EXPECT_EQ(0, Track(m_popup, TPM_RETURNCMD, {150, 130}));
    EXPECT_FALSE(openAfterAlt);

    // The click lands on the owner's client area, outside the menu.
    WhileTracking({[&] { Display().Click(display::MouseButton::Left, {110, 200}); }});
    EXPECT_TRUE(Track(m_popup, TPM_LEFTALIGN, {150, 130}));
    Pump();
    EXPECT_TRUE(Commands().empty());
    EXPECT_TRUE(Log().Of(WM_LBUTTONDOWN).empty());
    EXPECT_TRUE(Log().Of(WM_LBUTTONUP).empty());
    EXPECT_TRUE(Popups().empty());
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(ProgramMenuTest, TheRightButtonChoosesOnlyWithTpmRightButtonAndNotOnTheOpeningRelease) {
    // The menu opens centred on the pointer, over an item, while the right button is held.
    const POINT at{300, 300};
    Display().ButtonDown(display::MouseButton::Right, display::Point{at.x, at.y});
    Pump();
    std::optional<display::Rect> popup;
    WhileTracking({[&] {
                       popup = Popups().front();
                       Display().ButtonUp(display::MouseButton::Right);
                   },
                   [&] { Display().MovePointer(ItemPoint(*popup, 1)); },
                   [&] { Display().Click(display::MouseButton::Right, ItemPoint(*popup, 1)); }});
    EXPECT_EQ(
        static_cast<BOOL>(ID_FORMAT_COLOR),
        Track(m_popup, TPM_CENTERALIGN | TPM_VCENTERALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at));

    // Without TPM_RIGHTBUTTON the right button chooses nothing; the left one does.
    WhileTracking({[&] { Display().Click(display::MouseButton::Right, ItemPoint(*popup, 0)); },
                   [&] { Display().Click(display::MouseButton::Left, ItemPoint(*popup, 0)); }});
    EXPECT_EQ(static_cast<BOOL>(ID_FORMAT_RGB),
              Track(m_popup, TPM_CENTERALIGN | TPM_VCENTERALIGN | TPM_RETURNCMD, at));
}

TEST_F(ProgramMenuTest, NoNotifyKeepsTheOwnerToTheLoopMessages) {
    WhileTracking({[&] { Display().Press(VK_DOWN); }, [&] { Display().Press(VK_RETURN); }});
    EXPECT_EQ(static_cast<BOOL>(ID_FORMAT_RGB),
              Track(m_popup, TPM_NONOTIFY | TPM_RETURNCMD, {150, 130}));
    EXPECT_EQ((std::vector<UINT>{WM_ENTERMENULOOP, WM_EXITMENULOOP}),
              Log().Messages(m_hwnd, {WM_ENTERMENULOOP, WM_INITMENU, WM_INITMENUPOPUP,
                                      WM_MENUSELECT, WM_UNINITMENUPOPUP, WM_EXITMENULOOP}));
}

// Win32 keeps dispatching posted messages, painting and timers while a menu is open.
TEST_F(MenuTest, TimersAndPaintingGoOnWhileTheMenuIsOpen) {
    HWND other = CreateWindowExA(0, "LogWindow", "", WS_POPUP | WS_VISIBLE, 500, 500, 50, 50,
                                 nullptr, nullptr, nullptr, nullptr);
    SetActiveWindow(m_hwnd);
    Pump();
    Log().Clear();
    SetTimer(m_hwnd, 7, 100, nullptr);
    HMENU menu = ColourMenu();
    std::size_t timersDuringMenu = 0;
    bool otherPaintedDuringMenu = false;
    WhileTracking({[&] { Display().Advance(100); },
                   [&] {
                       InvalidateRect(other, nullptr, TRUE);
                       Display().Advance(100);
                   },
                   [&] { Display().Advance(100); },
                   [&] {
                       timersDuringMenu = Log().Of(WM_TIMER).size();
                       for (const LoggedMessage& m : Log().Of(WM_PAINT))
                           if (m.hwnd == other)
                               otherPaintedDuringMenu = true;
                       Display().Press(VK_ESCAPE);
                   }});
    Track(menu, TPM_LEFTALIGN, {150, 130});
    EXPECT_EQ(3u, timersDuringMenu);
    EXPECT_TRUE(otherPaintedDuringMenu);
    DestroyMenu(menu);
}

TEST_F(MenuTest, EndMenuQuitAndNestedTrackingEndOrRefuse) {
    HMENU menu = ColourMenu();
    SetTimer(m_hwnd, 3, 50, nullptr);
    Log().Handle(WM_TIMER, [](HWND, WPARAM, LPARAM) {
        EndMenu();
        return 0;
    });
    BOOL nested = TRUE;
    DWORD nestedError = 0;
    bool emptyIt = false;
    Log().Handle(WM_INITMENUPOPUP, [&](HWND hwnd, WPARAM wParam, LPARAM) {
        const auto popup = reinterpret_cast<HMENU>(wParam);
        if (emptyIt) {
            while (GetMenuItemCount(popup) > 0)
                DeleteMenu(popup, 0, MF_BYPOSITION);
            return 0;
        }
        nested = TrackPopupMenu(popup, 0, 0, 0, 0, hwnd, nullptr);
        nestedError = GetLastError();
        return 0;
    });
    WhileTracking({[&] { Display().Advance(50); }});
    EXPECT_TRUE(Track(menu, TPM_LEFTALIGN, {150, 130}));
    EXPECT_FALSE(nested);
    EXPECT_EQ(static_cast<DWORD>(ERROR_POPUP_ALREADY_ACTIVE), nestedError);
    EXPECT_TRUE(Popups().empty());
    KillTimer(m_hwnd, 3);

    // WM_QUIT ends the menu and stays for the program's own loop.
    WhileTracking({[&] {
        PostQuitMessage(4);
        Display().Advance(1);
    }});
    EXPECT_EQ(0, Track(menu, TPM_RETURNCMD, {150, 130}));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(4u, msg.wParam);

    // A menu emptied by the owner's WM_INITMENUPOPUP is not shown.
    emptyIt = true;
    EXPECT_FALSE(Track(menu, TPM_LEFTALIGN, {150, 130}));
    DestroyMenu(menu);
}

// Fonts, brushes and DCs made for drawing menus and captions are all given back.
TEST_F(ProgramMenuTest, MenusAndCaptionsLeaveNoGdiObjectsBehind) {
    const DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    CheckMenuItem(m_popup, ID_FORMAT_RGB, MF_CHECKED);
    WhileTracking({[&] { Display().MovePointer(ItemPoint(Popups().front(), 1)); },
                   [&] { Display().Press(VK_DOWN); }});
    Track(m_popup, TPM_LEFTALIGN, {150, 130});
    WhileTracking({});
    SendMessageA(m_hwnd, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    Display().SetIdleHandler({});
    SendMessageA(m_hwnd, WM_NCPAINT, 1, 0);
    Pump();
    EXPECT_EQ(before, GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
}

// Check marks, separators, grayed items and the highlight bar, pixel by pixel.
TEST_F(ProgramMenuTest, PopupPixelsShowTheClassicLook) {
    CheckMenuItem(m_popup, ID_FORMAT_COLOR, MF_CHECKED);
    CheckMenuItem(m_popup, ID_ALWAYS_ON_TOP, MF_CHECKED);
    EnableMenuItem(m_popup, ID_FORMAT_HTMLHEX, MF_GRAYED);
    const display::Rect popupAt{150, 130, 0, 0};
    bool looked = false;
    WhileTracking(
        {[&] { Display().MovePointer(ItemPoint(popupAt, 0)); },
         [&] {
             looked = true;
             const display::Rect p = Popups().front();
             // The raised border.
             EXPECT_EQ(SysPixel(COLOR_3DLIGHT), ScreenPixel(p.left, p.top));
             EXPECT_EQ(SysPixel(COLOR_3DHIGHLIGHT), ScreenPixel(p.left + 1, p.top + 1));
             EXPECT_EQ(SysPixel(COLOR_3DDKSHADOW), ScreenPixel(p.right - 1, p.bottom - 1));
             EXPECT_EQ(SysPixel(COLOR_3DSHADOW), ScreenPixel(p.right - 2, p.bottom - 2));
             EXPECT_EQ(SysPixel(COLOR_MENU), ScreenPixel(p.left + 2, p.top + 2));
             // The hovered item lies on the highlight bar, from border to border.
             const int top0 = p.top + kBorder;
             EXPECT_EQ(SysPixel(COLOR_HIGHLIGHT), ScreenPixel(p.left + kBorder, top0));
             EXPECT_EQ(SysPixel(COLOR_HIGHLIGHT),
                       ScreenPixel(p.right - kBorder - 1, top0 + kItemHeight - 1));
             EXPECT_EQ(SysPixel(COLOR_MENU),
                       ScreenPixel(p.right - kBorder - 1, top0 + kItemHeight));
             // Text-coloured pixels in the check column of checked items only.
             auto inkInCheckColumn = [&](int index, int separators, std::uint32_t ink) {
                 const int top =
                     top0 + (index - separators) * kItemHeight + separators * kSeparatorHeight;
                 int count = 0;
                 for (int y = top; y < top + kItemHeight; ++y)
                     for (int x = p.left + kBorder; x < p.left + kBorder + kCheckColumn; ++x)
                         count += ScreenPixel(x, y) == ink;
                 return count;
             };
             const std::uint32_t text = SysPixel(COLOR_MENUTEXT);
             EXPECT_EQ(0, inkInCheckColumn(0, 0, SysPixel(COLOR_HIGHLIGHTTEXT)));
             EXPECT_GT(inkInCheckColumn(1, 0, text), 8);
             EXPECT_EQ(0, inkInCheckColumn(2, 0, text));
             EXPECT_EQ(0, inkInCheckColumn(3, 0, text));
             EXPECT_GT(inkInCheckColumn(5, 1, text), 8);
             // The separator is an etched line: shadow above highlight.
             const int separatorTop = top0 + 4 * kItemHeight;
             const int x = p.left + 40;
             EXPECT_EQ(SysPixel(COLOR_MENU), ScreenPixel(x, separatorTop + 3));
             EXPECT_EQ(SysPixel(COLOR_3DSHADOW), ScreenPixel(x, separatorTop + 4));
             EXPECT_EQ(SysPixel(COLOR_3DHIGHLIGHT), ScreenPixel(x, separatorTop + 5));
             // Grayed text is embossed: shadow and highlight pixels, none in the text
             // colour.
             int shadow = 0, light = 0, dark = 0;
             for (int y = top0 + 3 * kItemHeight; y < top0 + 4 * kItemHeight; ++y)
                 for (int xx = p.left + kBorder + kCheckColumn; xx < p.right - kBorder; ++xx) {
                     const std::uint32_t pixel = ScreenPixel(xx, y);
                     shadow += pixel == SysPixel(COLOR_3DSHADOW);
                     light += pixel == SysPixel(COLOR_3DHIGHLIGHT);
                     dark += pixel == text;
                 }
             EXPECT_GT(shadow, 10);
             EXPECT_GT(light, 10);
             EXPECT_EQ(0, dark);
             Display().Press(VK_ESCAPE);
         }});
    Track(m_popup, TPM_LEFTALIGN, {150, 130});
    EXPECT_TRUE(looked);
}

TEST_F(MenuTest, APopupStaysOnTheScreenOpeningToTheOtherSideOfThePoint) {
    HMENU menu = ColourMenu();
    const int height = 2 * kBorder + 4 * kItemHeight + kSeparatorHeight;
    auto placed = [&](POINT at, UINT flags) {
        display::Rect rect;
        WhileTracking({[&] {
            rect = Popups().front();
            Display().Press(VK_ESCAPE);
        }});
        Track(menu, flags, at);
        return rect;
    };
    const display::Rect normal = placed({200, 200}, TPM_LEFTALIGN);
    EXPECT_EQ(200, normal.left);
    EXPECT_EQ(200 + height, normal.bottom);
    const int width = normal.Width();
    // Near the bottom-right corner it opens up and to the left of the point.
    const display::Rect corner = placed({1270, 1000}, TPM_LEFTALIGN);
    EXPECT_EQ((display::Rect{1270 - width, 1000 - height, 1270, 1000}), corner);
    // A keyboard context menu's (-1, -1) ends up on the screen.
    const display::Rect keyboard = placed({-1, -1}, TPM_LEFTALIGN);
    EXPECT_EQ(0, keyboard.left);
    EXPECT_EQ(0, keyboard.top);
    const display::Rect right = placed({400, 200}, TPM_RIGHTALIGN | TPM_BOTTOMALIGN);
    EXPECT_EQ((display::Rect{400 - width, 200 - height, 400, 200}), right);
    DestroyMenu(menu);
}

TEST_F(MenuTest, SubmenusCascadeToTheRightByPointerAndByKeys) {
    HMENU sub = CreatePopupMenu();
    AppendMenuA(sub, MF_STRING, 201, "&Open");
    AppendMenuA(sub, MF_STRING, 202, "&Save");
    HMENU menu = CreatePopupMenu();
    AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&File");
    AppendMenuA(menu, MF_STRING, 301, "E&xit");
    std::vector<display::Rect> shown;
    WhileTracking(
        {[&] { Display().MovePointer(ItemPoint(Popups().front(), 0)); },
         [&] {
             shown = Popups();
             Display().MovePointer(ItemPoint(shown.back(), 1));
         },
         [&] { Display().Click(display::MouseButton::Left, ItemPoint(shown.back(), 1)); }});
    EXPECT_EQ(202, Track(menu, TPM_RETURNCMD, {300, 300}));
    ASSERT_EQ(2u, shown.size());
    EXPECT_EQ(shown[0].right - kBorder, shown[1].left);
    EXPECT_EQ(300, shown[1].top);  // its first item level with the parent's item
    const auto inits = Log().Of(WM_INITMENUPOPUP);
    ASSERT_EQ(2u, inits.size());
    EXPECT_EQ(reinterpret_cast<WPARAM>(sub), inits[1].wParam);
    EXPECT_EQ(0, LOWORD(inits[1].lParam));
    EXPECT_EQ(2u, Log().Of(WM_UNINITMENUPOPUP).size());

    // Right opens the submenu on its first item, Left closes it again.
    std::size_t levelsAfterRight = 0, levelsAfterLeft = 0;
    WhileTracking({[&] { Display().Press(VK_DOWN); }, [&] { Display().Press(VK_RIGHT); },
                   [&] {
                       levelsAfterRight = Popups().size();
                       Display().Press(VK_LEFT);
                   },
                   [&] {
                       levelsAfterLeft = Popups().size();
                       Display().Press(VK_RETURN);  // opens it again, on its first item
                   },
                   [&] { Display().Press(VK_RETURN); }});
    EXPECT_EQ(201, Track(menu, TPM_RETURNCMD, {300, 300}));
    EXPECT_EQ(2u, levelsAfterRight);
    EXPECT_EQ(1u, levelsAfterLeft);
    DestroyMenu(menu);
}

// --- The window menu ---

TEST_F(MenuTest, EachWindowGetsItsOwnStandardWindowMenuDestroyedWithIt) {
    HMENU menu = GetSystemMenu(m_hwnd, FALSE);
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ(menu, GetSystemMenu(m_hwnd, FALSE));
    const UINT ids[] = {SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, 0, SC_CLOSE};
    const char* texts[] = {"元のサイズに戻す(&R)", "移動(&M)", "サイズ変更(&S)",    "最小化(&N)",
                           "最大化(&X)",           "",         "閉じる(&C)\tAlt+F4"};
    ASSERT_EQ(7, GetMenuItemCount(menu));
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(ids[i], GetMenuItemID(menu, i)) << i;
        EXPECT_EQ(texts[i], MenuString(menu, static_cast<UINT>(i), MF_BYPOSITION)) << i;
    }
    EXPECT_TRUE(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND) & MF_DEFAULT);

    // Another window has its own; reverting drops the copy and returns NULL.
    HWND other = CreateWindowExA(0, "LogWindow", "", kStyle, 0, 0, 100, 100, nullptr, nullptr,
                                 nullptr, nullptr);
    HMENU otherMenu = GetSystemMenu(other, FALSE);
    EXPECT_NE(menu, otherMenu);
    DeleteMenu(menu, SC_MAXIMIZE, MF_BYCOMMAND);
    EXPECT_EQ(7, GetMenuItemCount(otherMenu));
    EXPECT_EQ(nullptr, GetSystemMenu(m_hwnd, TRUE));
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_EQ(7, GetMenuItemCount(GetSystemMenu(m_hwnd, FALSE)));

    DestroyWindow(other);
    EXPECT_FALSE(IsMenu(otherMenu));
    HWND plain = CreateWindowExA(0, "LogWindow", "", WS_POPUP | WS_CAPTION, 0, 0, 100, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    EXPECT_EQ(nullptr, GetSystemMenu(plain, FALSE));
    SetLastError(0);
    EXPECT_EQ(nullptr, GetSystemMenu(reinterpret_cast<HWND>(0x1234), FALSE));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE), GetLastError());
}

// Alt+Space opens the window menu as such (WM_INITMENUPOPUP's high word TRUE, the loop's
// WM_ENTERMENULOOP FALSE), and an item a program added arrives as WM_SYSCOMMAND after the
// SC_KEYMENU that opened it. The picker's own rebuilt menu is driven in the picker's tests.
TEST_F(MenuTest, AltSpaceOpensTheWindowMenuAndAnAddedItemArrivesAsASystemCommand) {
    constexpr UINT kExtra = 0x0110;
    AppendMenuA(GetSystemMenu(m_hwnd, FALSE), MF_STRING, kExtra, "Extra");
    LPARAM initParam = 0;
    Log().Handle(WM_INITMENUPOPUP, [&](HWND, WPARAM, LPARAM lParam) {
        initParam = lParam;
        return 0;
    });
    // Up reaches the last item.
    WhileTracking({[&] { Display().Press(VK_UP); }, [&] { Display().Press(VK_RETURN); }});
    Display().KeyDown(VK_MENU);
    Display().Press(VK_SPACE);
    Display().KeyUp(VK_MENU);
    Pump();
    Display().SetIdleHandler({});
    EXPECT_TRUE(HIWORD(initParam));
    std::vector<WPARAM> commands;
    for (const LoggedMessage& m : Log().Of(WM_SYSCOMMAND))
        commands.push_back(m.wParam);
    EXPECT_EQ((std::vector<WPARAM>{SC_KEYMENU, kExtra}), commands);
    EXPECT_EQ(static_cast<WPARAM>(FALSE), Log().Of(WM_ENTERMENULOOP).at(0).wParam);
}

// Items that do not apply to the window are grayed each time its menu opens.
TEST_F(MenuTest, TheWindowMenuGraysWhatDoesNotApply) {
    std::vector<UINT> states;
    Log().Handle(WM_INITMENUPOPUP, [&](HWND, WPARAM wParam, LPARAM) {
        states.clear();
        for (UINT command : {SC_RESTORE, SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE})
            states.push_back(GetMenuState(reinterpret_cast<HMENU>(wParam), command, MF_BYCOMMAND) &
                             (MF_GRAYED | MF_DISABLED));
        return 0;
    });
    WhileTracking({[&] { Display().Press(VK_ESCAPE); }});
    SendMessageA(m_hwnd, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    EXPECT_EQ((std::vector<UINT>{MF_GRAYED, 0, MF_GRAYED, 0, MF_GRAYED, 0}), states);

    HWND sizable = CreateWindowExA(0, "LogWindow", "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                                   300, nullptr, nullptr, nullptr, nullptr);
    WhileTracking({[&] { Display().Press(VK_ESCAPE); }});
    SendMessageA(sizable, WM_SYSCOMMAND, SC_KEYMENU, ' ');
    EXPECT_EQ((std::vector<UINT>{MF_GRAYED, 0, 0, 0, 0, 0}), states);
    Display().SetIdleHandler({});
}

}  // namespace
