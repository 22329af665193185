// Building, changing and reading menus: LoadMenu from RT_MENU templates, the Append, Insert,
// Modify, Remove and Delete family, and the queries, with Win32's return values for absent
// items and stale handles.
#include <algorithm>
#include <cstring>
#include <span>

#include <windows.h>

#include "platform/winapi/menu/menu_table.h"
#include "platform/winapi/menu/system_menu.h"
#include "platform/winapi/resource/menu_template.h"
#include "platform/winapi/utf8.h"

namespace winapi::menu {
namespace {

constexpr UINT kTypeBits =
    MF_SEPARATOR | MF_POPUP | MF_BITMAP | MF_OWNERDRAW | MF_MENUBREAK | MF_MENUBARBREAK;
constexpr UINT kStateBits = MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE;
constexpr UINT kNotFound = static_cast<UINT>(-1);
// LoadMenuIndirect gets no size: the template ends itself, as Win32 trusts it to.
constexpr std::size_t kMaxIndirectTemplate = 0x10000;

// The item the flags describe, to be placed into the menu `into`; nullopt when its submenu is
// not a menu or would make the tree loop.
std::optional<MenuEntry> MakeEntry(UINT flags, UINT_PTR id, LPCSTR text, HMENU into) {
    MenuEntry entry;
    entry.type = flags & kTypeBits;
    entry.state = flags & kStateBits;
    entry.id = id;
    if (entry.IsPopup()) {
        const auto submenu = reinterpret_cast<HMENU>(id);
        if (FindMenu(submenu) == nullptr)
            return std::nullopt;
        if (Reaches(submenu, into)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return std::nullopt;
        }
        entry.submenu = submenu;
        entry.type &= ~static_cast<UINT>(MF_SEPARATOR);
    }
    if (entry.HasText()) {
        // A string item without a string is a separator.
        if (text == nullptr)
            entry.type |= MF_SEPARATOR;
        else
            entry.text = text;
    }
    return entry;
}

std::optional<ItemRef> FindOrFail(HMENU handle, UINT item, UINT flags) {
    if (FindMenu(handle) == nullptr)
        return std::nullopt;
    auto ref = FindItem(handle, item, flags);
    if (!ref)
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
    return ref;
}

BOOL TakeItem(HMENU handle, UINT item, UINT flags, bool destroySubmenu) {
    const auto ref = FindOrFail(handle, item, flags);
    if (!ref)
        return FALSE;
    const std::optional<MenuEntry> taken = ref->menu->Take(ref->position);
    if (destroySubmenu && taken && taken->IsPopup())
        MenuTable::Instance().Destroy(taken->submenu);
    NoteSystemMenuChange(ref->handle);
    return TRUE;
}

void Build(const std::vector<MenuItem>& items, HMENU into) {
    Menu* menu = MenuTable::Instance().Find(into);
    for (const MenuItem& item : items) {
        MenuEntry entry;
        entry.type = item.flags & kTypeBits;
        entry.state = item.flags & (kStateBits & ~static_cast<UINT>(MF_HILITE));
        entry.id = item.id;
        entry.text = item.text;
        if (item.flags & MF_POPUP) {
            entry.submenu = MenuTable::Instance().Add(true);
            entry.id = reinterpret_cast<UINT_PTR>(entry.submenu);
            Build(item.children, entry.submenu);
        } else if (item.IsSeparator()) {
            entry.type |= MF_SEPARATOR;
            entry.text.clear();
        }
        menu->Insert(menu->Count(), std::move(entry));
    }
}

HMENU FromTemplate(std::span<const std::uint8_t> bytes) {
    const std::optional<MenuTemplate> parsed = MenuTemplate::Parse(bytes);
    if (!parsed) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    const HMENU handle = MenuTable::Instance().Add(false);
    Build(parsed->items, handle);
    return handle;
}

// Copies at most size - 1 bytes and never splits a UTF-8 character.
int CopyText(const std::string& text, LPSTR buffer, int size) {
    if (size <= 0)
        return 0;
    const std::size_t count = Utf8FittingLength(text, static_cast<std::size_t>(size - 1));
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return static_cast<int>(count);
}

}  // namespace
}  // namespace winapi::menu

using namespace winapi::menu;

HMENU WINAPI CreateMenu(void) {
    return MenuTable::Instance().Add(false);
}

HMENU WINAPI CreatePopupMenu(void) {
    return MenuTable::Instance().Add(true);
}

BOOL WINAPI DestroyMenu(HMENU hMenu) {
    if (!MenuTable::Instance().Destroy(hMenu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI IsMenu(HMENU hMenu) {
    return FindMenu(hMenu) != nullptr;
}

HMENU WINAPI LoadMenuA(HINSTANCE hInstance, LPCSTR lpMenuName) {
    const HRSRC found = FindResourceA(hInstance, lpMenuName, RT_MENU);
    if (found == nullptr)
        return nullptr;
    const HGLOBAL loaded = LoadResource(hInstance, found);
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(loaded));
    if (bytes == nullptr)
        return nullptr;
    return FromTemplate({bytes, SizeofResource(hInstance, found)});
}

HMENU WINAPI LoadMenuIndirectA(const void* lpMenuTemplate) {
    if (lpMenuTemplate == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return FromTemplate({static_cast<const std::uint8_t*>(lpMenuTemplate), kMaxIndirectTemplate});
}

HMENU WINAPI GetSubMenu(HMENU hMenu, int nPos) {
    Menu* menu = FindMenu(hMenu);
    if (menu == nullptr || nPos < 0)
        return nullptr;
    const MenuEntry* entry = menu->At(static_cast<std::size_t>(nPos));
    if (entry == nullptr || !entry->IsPopup() ||
        MenuTable::Instance().Find(entry->submenu) == nullptr)
        return nullptr;
    return entry->submenu;
}

BOOL WINAPI AppendMenuA(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCSTR lpNewItem) {
    Menu* menu = FindMenu(hMenu);
    if (menu == nullptr)
        return FALSE;
    auto entry = MakeEntry(uFlags, uIDNewItem, lpNewItem, hMenu);
    if (!entry)
        return FALSE;
    menu->Insert(menu->Count(), std::move(*entry));
    NoteSystemMenuChange(hMenu);
    return TRUE;
}

BOOL WINAPI InsertMenuA(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem,
                        LPCSTR lpNewItem) {
    Menu* menu = FindMenu(hMenu);
    if (menu == nullptr)
        return FALSE;
    HMENU target = hMenu;
    std::size_t at = uPosition;
    if (!(uFlags & MF_BYPOSITION)) {
        const auto ref = FindOrFail(hMenu, uPosition, MF_BYCOMMAND);
        if (!ref)
            return FALSE;
        target = ref->handle;
        at = ref->position;
    }
    auto entry = MakeEntry(uFlags, uIDNewItem, lpNewItem, target);
    if (!entry)
        return FALSE;
    MenuTable::Instance().Find(target)->Insert(at, std::move(*entry));
    NoteSystemMenuChange(target);
    return TRUE;
}

BOOL WINAPI ModifyMenuA(HMENU hMnu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem,
                        LPCSTR lpNewItem) {
    const auto ref = FindOrFail(hMnu, uPosition, uFlags);
    if (!ref)
        return FALSE;
    auto entry = MakeEntry(uFlags, uIDNewItem, lpNewItem, ref->handle);
    if (!entry)
        return FALSE;
    // A popup replaced by another popup takes its old submenu with it.
    const MenuEntry old = *ref->entry;
    *ref->entry = std::move(*entry);
    if (old.IsPopup() && ref->entry->IsPopup() && old.submenu != ref->entry->submenu)
        MenuTable::Instance().Destroy(old.submenu);
    NoteSystemMenuChange(ref->handle);
    return TRUE;
}

BOOL WINAPI RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags) {
    return TakeItem(hMenu, uPosition, uFlags, false);
}

BOOL WINAPI DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags) {
    return TakeItem(hMenu, uPosition, uFlags, true);
}

UINT WINAPI GetMenuItemID(HMENU hMenu, int nPos) {
    if (FindMenu(hMenu) == nullptr || nPos < 0)
        return kNotFound;
    const auto ref = FindItem(hMenu, static_cast<UINT>(nPos), MF_BYPOSITION);
    if (!ref || ref->entry->IsPopup())
        return kNotFound;
    return static_cast<UINT>(ref->entry->id);
}

int WINAPI GetMenuItemCount(HMENU hMenu) {
    const Menu* menu = FindMenu(hMenu);
    return menu == nullptr ? -1 : static_cast<int>(menu->Count());
}

UINT WINAPI GetMenuState(HMENU hMenu, UINT uId, UINT uFlags) {
    const auto ref = FindOrFail(hMenu, uId, uFlags);
    if (!ref)
        return kNotFound;
    const MenuEntry& entry = *ref->entry;
    if (!entry.IsPopup())
        return entry.Flags();
    // A popup reports its submenu's item count in the high byte of the low word.
    const Menu* submenu = MenuTable::Instance().Find(entry.submenu);
    const UINT count = submenu != nullptr ? static_cast<UINT>(submenu->Count()) : 0;
    return (count << 8) | (entry.Flags() & 0xFF);
}

int WINAPI GetMenuStringA(HMENU hMenu, UINT uIDItem, LPSTR lpString, int cchMax, UINT flags) {
    const auto ref = FindOrFail(hMenu, uIDItem, flags);
    if (!ref || !ref->entry->HasText())
        return 0;
    if (lpString == nullptr)
        return static_cast<int>(ref->entry->text.size());
    return CopyText(ref->entry->text, lpString, cchMax);
}

DWORD WINAPI CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck) {
    const auto ref = FindOrFail(hMenu, uIDCheckItem, uCheck);
    if (!ref)
        return static_cast<DWORD>(-1);
    UINT& state = ref->entry->state;
    const DWORD previous = state & MF_CHECKED;
    state = (state & ~static_cast<UINT>(MF_CHECKED)) | (uCheck & MF_CHECKED);
    return previous;
}

BOOL WINAPI EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable) {
    const auto ref = FindOrFail(hMenu, uIDEnableItem, uEnable);
    if (!ref)
        return -1;
    constexpr UINT kEnableBits = MF_GRAYED | MF_DISABLED;
    UINT& state = ref->entry->state;
    const UINT previous = state & kEnableBits;
    state = (state & ~kEnableBits) | (uEnable & kEnableBits);
    if (previous != (state & kEnableBits))
        NoteSystemMenuChange(ref->handle);
    return static_cast<BOOL>(previous);
}

HMENU WINAPI GetMenu(HWND hWnd) {
    if (!IsWindow(hWnd))
        return nullptr;
    if (GetWindowLongPtrA(hWnd, GWL_STYLE) & WS_CHILD)
        return nullptr;
    const auto menu = reinterpret_cast<HMENU>(GetWindowLongPtrA(hWnd, GWLP_ID));
    return MenuTable::Instance().Find(menu) != nullptr ? menu : nullptr;
}
