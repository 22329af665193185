// CMenu: menus the program loads and owns are destroyed with their object, menus owned
// elsewhere (submenus, the window menu) are wrapped without being destroyed, and a popup's
// choice arrives as a command in the owner's message map.
#include <gtest/gtest.h>

#include <vector>

#include "framework_test.h"
#include "resource.h"

namespace {

class CMenuOwner : public CWnd {
public:
    std::vector<UINT> m_formats;
    const MessageMap& GetMessageMap() const override {
        static const MessageMap map =
            MessageMap::Derived<CMenuOwner>(CWnd::GetMessageMap())
                .OnCommandRange(ID_FORMAT_RGB, ID_FORMAT_HTMLHEX, &CMenuOwner::OnFormat);
        return map;
    }

protected:
    void OnFormat(UINT nID) { m_formats.push_back(nID); }
};

class MenuTest : public FrameworkTest {
protected:
    ~MenuTest() override { Display().SetIdleHandler(nullptr); }
};

TEST_F(MenuTest, LoadedMenuIsDestroyedWithItsObjectAndItsSubmenuWrappedOnly) {
    HMENU loaded = nullptr;
    HMENU popup = nullptr;
    {
        CMenu menu;
        ASSERT_TRUE(menu.LoadMenu(IDR_FORMAT_MENU));
        EXPECT_FALSE(menu.LoadMenu(IDR_FORMAT_MENU));  // already holds one
        loaded = menu.m_hMenu;
        CMenu* sub = menu.GetSubMenu(0);
        ASSERT_NE(nullptr, sub);
        popup = sub->m_hMenu;
        EXPECT_EQ(GetMenuItemCount(popup), sub->GetMenuItemCount());
        EXPECT_EQ(GetMenuItemID(popup, 0), sub->GetMenuItemID(0));
        EXPECT_EQ(static_cast<UINT>(MF_UNCHECKED), sub->CheckMenuItem(ID_FORMAT_COLOR, MF_CHECKED));
        EXPECT_EQ(static_cast<UINT>(MF_CHECKED), sub->CheckMenuItem(ID_FORMAT_COLOR, MF_UNCHECKED));
        EXPECT_EQ(static_cast<UINT>(-1), sub->CheckMenuItem(12345, MF_CHECKED));
        CString text;
        char raw[64] = {};
        const int length = GetMenuStringA(popup, ID_FORMAT_HTMLHEX, raw, sizeof raw, MF_BYCOMMAND);
        EXPECT_GT(length, 0);
        EXPECT_EQ(length, sub->GetMenuString(ID_FORMAT_HTMLHEX, text, MF_BYCOMMAND));
        EXPECT_STREQ(raw, text);
        // Freeing the wrapper leaves the submenu in its menu.
        CMenu::DeleteTempMap();
        EXPECT_TRUE(IsMenu(popup));
        EXPECT_EQ(&menu, CMenu::FromHandle(loaded));
    }
    EXPECT_FALSE(IsMenu(loaded));
    EXPECT_FALSE(IsMenu(popup));
}

TEST_F(MenuTest, BuiltMenuCanBeLetGo) {
    HMENU kept = nullptr;
    {
        CMenu menu;
        ASSERT_TRUE(menu.CreatePopupMenu());
        EXPECT_TRUE(menu.AppendMenu(MF_STRING, 7, "seven"));
        EXPECT_TRUE(menu.AppendMenu(MF_SEPARATOR));
        EXPECT_TRUE(menu.InsertMenu(0, MF_BYPOSITION | MF_STRING, 6, "six"));
        EXPECT_EQ(3, menu.GetMenuItemCount());
        EXPECT_TRUE(menu.DeleteMenu(2, MF_BYPOSITION));
        EXPECT_EQ(6u, menu.GetMenuItemID(0));
        kept = menu.Detach();
    }
    EXPECT_TRUE(IsMenu(kept));
    CMenu owner;
    EXPECT_TRUE(owner.Attach(kept));
    EXPECT_TRUE(owner.DestroyMenu());
    EXPECT_FALSE(IsMenu(kept));
    EXPECT_FALSE(owner.DestroyMenu());
}

TEST_F(MenuTest, WindowMenuIsWrappedAndSurvivesItsWrapper) {
    HWND hwnd = Popup(100, 100, 200, 150);
    CMenuOwner owner;
    ASSERT_TRUE(owner.SubclassWindow(hwnd));
    CMenu* system = owner.GetSystemMenu(FALSE);
    ASSERT_NE(nullptr, system);
    const HMENU handle = system->m_hMenu;
    EXPECT_LT(0, system->GetMenuItemCount());
    EXPECT_FALSE(system->DestroyMenu());  // not this object's to destroy
    EXPECT_TRUE(IsMenu(handle));
}

TEST_F(MenuTest, ChosenItemArrivesAsACommandOfTheOwner) {
    HWND hwnd = Popup(100, 100, 200, 150);
    CMenuOwner owner;
    ASSERT_TRUE(owner.SubclassWindow(hwnd));
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_FORMAT_MENU));
    int steps = 0;
    Display().SetIdleHandler([&] {
        switch (steps++) {
            case 0:
            case 1:
                Display().Press(VK_DOWN);
                break;
            case 2:
                Display().Press(VK_RETURN);
                break;
            default:
                Display().Press(VK_ESCAPE);
        }
    });
    EXPECT_TRUE(menu.GetSubMenu(0)->TrackPopupMenu(TPM_LEFTALIGN, 150, 130, &owner));
    Display().SetIdleHandler(nullptr);
    Pump();
    EXPECT_EQ((std::vector<UINT>{ID_FORMAT_COLOR}), owner.m_formats);
}

}  // namespace
