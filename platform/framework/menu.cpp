#include "platform/framework/menu.h"

#include "platform/framework/handle_map.h"
#include "platform/framework/win_app.h"
#include "platform/framework/wnd.h"

namespace {

using MenuMap = HandleMap<HMENU, CMenu, &CMenu::m_hMenu>;

MenuMap& Menus() {
    static MenuMap* const map = new MenuMap;
    return *map;
}

}  // namespace

CMenu::~CMenu() {
    DestroyMenu();
}

CMenu* CMenu::FromHandle(HMENU hMenu) {
    return Menus().FromHandle<CMenu>(hMenu);
}

void CMenu::DeleteTempMap() {
    Menus().DeleteTemporaries();
}

BOOL CMenu::Attach(HMENU hMenu) {
    return Menus().Attach(this, hMenu) ? TRUE : FALSE;
}

HMENU CMenu::Detach() {
    return Menus().Detach(this);
}

namespace {

BOOL AttachCreated(CMenu& owner, HMENU created) {
    if (owner.Attach(created)) {
        return TRUE;
    }
    if (created != nullptr) {
        ::DestroyMenu(created);
    }
    return FALSE;
}

}  // namespace

BOOL CMenu::LoadMenu(UINT nIDResource) {
    return LoadMenu(MAKEINTRESOURCEA(nIDResource));
}

BOOL CMenu::LoadMenu(LPCTSTR lpszResourceName) {
    if (m_hMenu != nullptr) {
        return FALSE;
    }
    return AttachCreated(*this, ::LoadMenuA(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CMenu::CreateMenu() {
    return m_hMenu == nullptr && AttachCreated(*this, ::CreateMenu());
}

BOOL CMenu::CreatePopupMenu() {
    return m_hMenu == nullptr && AttachCreated(*this, ::CreatePopupMenu());
}

BOOL CMenu::DestroyMenu() {
    if (m_hMenu == nullptr) {
        return FALSE;
    }
    // Only a menu this object owns is destroyed; temporaries wrap menus owned elsewhere.
    if (!Menus().IsPermanent(this)) {
        m_hMenu = nullptr;
        return FALSE;
    }
    return ::DestroyMenu(Detach());
}

CMenu* CMenu::GetSubMenu(int nPos) const {
    return FromHandle(::GetSubMenu(m_hMenu, nPos));
}

UINT CMenu::GetMenuItemID(int nPos) const {
    return ::GetMenuItemID(m_hMenu, nPos);
}

int CMenu::GetMenuItemCount() const {
    return ::GetMenuItemCount(m_hMenu);
}

UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const {
    return ::GetMenuState(m_hMenu, nID, nFlags);
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
    rString.Empty();
    const int length = ::GetMenuStringA(m_hMenu, nIDItem, nullptr, 0, nFlags);
    if (length <= 0) {
        return 0;
    }
    const int copied =
        ::GetMenuStringA(m_hMenu, nIDItem, rString.GetBuffer(length), length + 1, nFlags);
    rString.ReleaseBuffer(copied > 0 ? copied : 0);
    return rString.GetLength();
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    return ::AppendMenuA(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    return ::InsertMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    return ::ModifyMenuA(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags) {
    return ::RemoveMenu(m_hMenu, nPosition, nFlags);
}

BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) {
    return ::DeleteMenu(m_hMenu, nPosition, nFlags);
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) {
    return static_cast<UINT>(::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck));
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
    return static_cast<UINT>(::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable));
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd != nullptr ? pWnd->m_hWnd : nullptr,
                            lpRect);
}
