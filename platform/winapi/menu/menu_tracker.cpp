#include "platform/winapi/menu/menu_tracker.h"

#include <algorithm>
#include <cctype>

#include <windowsx.h>

#include "platform/winapi/menu/menu_table.h"
#include "platform/winapi/ui/modal_loop.h"

namespace winapi::menu {
namespace {

MenuTracker* g_active = nullptr;

RECT ScreenBounds() {
    const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
            top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

int Clamp(int value, int low, int high) {
    return std::max(low, std::min(value, high));
}

// Where a popup of this size goes for TrackPopupMenu's point and alignment: a menu that would
// leave the screen on the right or at the bottom opens on the other side of the point, and
// what still does not fit is shifted onto the screen.
POINT PlaceTopPopup(SIZE size, POINT at, UINT flags) {
    const RECT screen = ScreenBounds();
    int x = at.x;
    if (flags & TPM_RIGHTALIGN)
        x -= size.cx;
    else if (flags & TPM_CENTERALIGN)
        x -= size.cx / 2;
    int y = at.y;
    if (flags & TPM_BOTTOMALIGN)
        y -= size.cy;
    else if (flags & TPM_VCENTERALIGN)
        y -= size.cy / 2;
    if (x + size.cx > screen.right && x == at.x)
        x = at.x - size.cx;
    if (y + size.cy > screen.bottom && y == at.y)
        y = at.y - size.cy;
    return {Clamp(x, screen.left, screen.right - size.cx),
            Clamp(y, screen.top, screen.bottom - size.cy)};
}

// A submenu opens to the right of its parent, its first item level with the parent's item;
// without room on the right it opens to the left.
POINT PlaceSubmenu(SIZE size, const RECT& parent, const RECT& item) {
    const RECT screen = ScreenBounds();
    int x = parent.right - PopupView::kBorder;
    if (x + size.cx > screen.right)
        x = parent.left - size.cx + PopupView::kBorder;
    const int y = item.top - PopupView::kBorder;
    return {Clamp(x, screen.left, screen.right - size.cx),
            Clamp(y, screen.top, screen.bottom - size.cy)};
}

const MenuEntry* EntryOf(HMENU menu, int index) {
    const Menu* found = MenuTable::Instance().Find(menu);
    return found != nullptr && index >= 0 ? found->At(static_cast<std::size_t>(index)) : nullptr;
}

int FirstItem(HMENU menu) {
    const Menu* found = MenuTable::Instance().Find(menu);
    if (found == nullptr)
        return -1;
    for (std::size_t i = 0; i < found->Count(); ++i)
        if (!found->At(i)->IsSeparator())
            return static_cast<int>(i);
    return -1;
}

// The letter after a single '&' in an item's text, lower case; 0 when there is none.
char MnemonicOf(const MenuEntry& entry) {
    if (!entry.HasText())
        return 0;
    const std::string& text = entry.text;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        const auto letter = static_cast<unsigned char>(text[i + 1]);
        return letter < 0x80 ? static_cast<char>(std::tolower(letter)) : 0;
    }
    return 0;
}

bool IsLeftButton(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_LBUTTONDBLCLK || message == WM_LBUTTONUP;
}
bool IsRightButton(UINT message) {
    return message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK || message == WM_RBUTTONUP;
}

}  // namespace

MenuTracker::MenuTracker(const TrackRequest& request) : m_request(request) {
    if (const Menu* menu = MenuTable::Instance().Find(request.menu))
        m_system = menu->IsSystem();
}

MenuTracker::~MenuTracker() {
    if (g_active == this)
        g_active = nullptr;
}

MenuTracker* MenuTracker::Active() {
    return g_active;
}

void MenuTracker::End() {
    Dismiss();
}

bool MenuTracker::IsRunning() const {
    return m_outcome == Outcome::Tracking && IsWindow(m_request.owner) &&
           MenuTable::Instance().Find(m_request.menu) != nullptr && !m_levels.empty() &&
           GetCapture() == m_levels.front()->Handle() && GetActiveWindow() == m_activeAtStart;
}

std::optional<UINT_PTR> MenuTracker::Run() {
    g_active = this;
    m_activeAtStart = GetActiveWindow();
    const HWND owner = m_request.owner;
    SendMessageA(owner, WM_ENTERMENULOOP, m_request.byTrackPopupMenu, 0);
    if (Notifies()) {
        SendMessageA(owner, WM_INITMENU, reinterpret_cast<WPARAM>(m_request.menu), 0);
        SendMessageA(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(m_request.menu),
                     MAKELPARAM(0, m_system));
    }
    const bool shown = m_outcome == Outcome::Tracking && OpenTop();
    if (shown) {
        GetCursorPos(&m_startPointer);
        SetCapture(m_levels.front()->Handle());
        m_holdsCapture = true;
        if (m_request.fromKeyboard)
            Select(0, FirstItem(m_request.menu), false);

        struct Handler {
            UINT message;
            void (MenuTracker::*handle)(const MSG&);
        };
        static constexpr Handler kHandlers[] = {
            {WM_MOUSEMOVE, &MenuTracker::OnMouseMove},
            {WM_LBUTTONDOWN, &MenuTracker::OnButtonDown},
            {WM_LBUTTONDBLCLK, &MenuTracker::OnButtonDown},
            {WM_RBUTTONDOWN, &MenuTracker::OnButtonDown},
            {WM_RBUTTONDBLCLK, &MenuTracker::OnButtonDown},
            {WM_MBUTTONDOWN, &MenuTracker::OnButtonDown},
            {WM_LBUTTONUP, &MenuTracker::OnButtonUp},
            {WM_RBUTTONUP, &MenuTracker::OnButtonUp},
            {WM_KEYDOWN, &MenuTracker::OnKeyDown},
            {WM_SYSKEYDOWN, &MenuTracker::OnKeyDown},
            {WM_CHAR, &MenuTracker::OnChar},
            {WM_SYSCHAR, &MenuTracker::OnChar},
        };
        ui::ModalLoop loop([this] { return IsRunning(); });
        MSG msg;
        while (loop.NextInput(msg)) {
            for (const Handler& handler : kHandlers)
                if (handler.message == msg.message)
                    (this->*handler.handle)(msg);
        }
    }
    Finish();
    if (!shown)
        return std::nullopt;
    return m_outcome == Outcome::Chosen ? m_choice : 0;
}

void MenuTracker::Finish() {
    if (m_holdsCapture && !m_levels.empty() && GetCapture() == m_levels.front()->Handle())
        ReleaseCapture();
    CloseFrom(0);
    const HWND owner = m_request.owner;
    if (Notifies() && IsWindow(owner))
        SendMessageA(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    if (IsWindow(owner))
        SendMessageA(owner, WM_EXITMENULOOP, m_request.byTrackPopupMenu, 0);
    g_active = nullptr;
    // The choice arrives after the menu has gone, as a posted message.
    if (m_outcome != Outcome::Chosen || (m_request.flags & TPM_RETURNCMD) || !IsWindow(owner))
        return;
    if (m_system)
        PostMessageA(owner, WM_SYSCOMMAND, m_choice, m_choiceParam);
    else
        PostMessageA(owner, WM_COMMAND, m_choice, 0);
}

bool MenuTracker::OpenTop() {
    const Menu* menu = MenuTable::Instance().Find(m_request.menu);
    if (menu == nullptr || menu->Count() == 0 || !IsWindow(m_request.owner))
        return false;
    auto window = std::make_unique<PopupWindow>(m_request.owner, m_request.menu);
    if (window->Handle() == nullptr)
        return false;
    window->ShowAt(PlaceTopPopup(window->Size(), m_request.at, m_request.flags));
    m_levels.push_back(std::move(window));
    return true;
}

void MenuTracker::OpenSubmenu(std::size_t parent, bool selectFirst) {
    CloseFrom(parent + 1);
    const PopupWindow& parentWindow = *m_levels[parent];
    const int index = parentWindow.Selected();
    const MenuEntry* entry = EntryOf(parentWindow.View().MenuHandle(), index);
    if (entry == nullptr || !entry->IsPopup() || !entry->IsEnabled())
        return;
    const HMENU submenu = entry->submenu;
    if (Notifies())
        SendMessageA(m_request.owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(submenu),
                     MAKELPARAM(index, m_system));
    const Menu* menu = MenuTable::Instance().Find(submenu);
    if (menu == nullptr || menu->Count() == 0 || m_outcome != Outcome::Tracking ||
        parent + 1 != m_levels.size())
        return;
    auto window = std::make_unique<PopupWindow>(m_request.owner, submenu);
    if (window->Handle() == nullptr)
        return;
    window->ShowAt(PlaceSubmenu(window->Size(), parentWindow.ScreenRect(),
                                parentWindow.ItemScreenRect(index)));
    m_levels.push_back(std::move(window));
    if (selectFirst)
        Select(m_levels.size() - 1, FirstItem(submenu), false);
}

void MenuTracker::CloseFrom(std::size_t level) {
    while (m_levels.size() > level) {
        const HMENU menu = m_levels.back()->View().MenuHandle();
        if (Menu* found = MenuTable::Instance().Find(menu))
            if (MenuEntry* selected =
                    found->At(static_cast<std::size_t>(m_levels.back()->Selected())))
                selected->state &= ~static_cast<UINT>(MF_HILITE);
        m_levels.pop_back();
        if (Notifies() && IsWindow(m_request.owner))
            SendMessageA(m_request.owner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(menu),
                         MAKELPARAM(0, m_system));
    }
}

std::optional<std::size_t> MenuTracker::LevelAt(POINT screen) const {
    for (std::size_t level = m_levels.size(); level-- > 0;) {
        const RECT rect = m_levels[level]->ScreenRect();
        if (PtInRect(&rect, screen))
            return level;
    }
    return std::nullopt;
}

void MenuTracker::Select(std::size_t level, int index, bool byMouse) {
    PopupWindow& window = *m_levels[level];
    if (window.Selected() == index)
        return;
    const HMENU menu = window.View().MenuHandle();
    // GetMenuState reports the highlighted item as MF_HILITE while the menu is open.
    if (Menu* found = MenuTable::Instance().Find(menu)) {
        if (MenuEntry* old = found->At(static_cast<std::size_t>(window.Selected())))
            old->state &= ~static_cast<UINT>(MF_HILITE);
        if (MenuEntry* now = found->At(static_cast<std::size_t>(index)))
            now->state |= MF_HILITE;
    }
    window.Select(index);
    const MenuEntry* entry = EntryOf(menu, index);
    if (entry == nullptr || !Notifies())
        return;
    // A popup item is named by its position, a command by its id.
    const UINT item = entry->IsPopup() ? static_cast<UINT>(index) : static_cast<UINT>(entry->id);
    const UINT flags =
        entry->Flags() | MF_HILITE | (byMouse ? MF_MOUSESELECT : 0) | (m_system ? MF_SYSMENU : 0);
    SendMessageA(m_request.owner, WM_MENUSELECT, MAKEWPARAM(item, flags),
                 reinterpret_cast<LPARAM>(menu));
}

void MenuTracker::Step(int direction) {
    const HMENU handle = Deepest().View().MenuHandle();
    const Menu* menu = MenuTable::Instance().Find(handle);
    if (menu == nullptr || menu->Count() == 0)
        return;
    const int count = static_cast<int>(menu->Count());
    int index = Deepest().Selected();
    if (index < 0)
        index = direction > 0 ? -1 : count;
    // Separators are skipped and the selection wraps around the ends.
    for (int tries = 0; tries < count; ++tries) {
        index = ((index + direction) % count + count) % count;
        if (!menu->At(static_cast<std::size_t>(index))->IsSeparator()) {
            Select(m_levels.size() - 1, index, false);
            return;
        }
    }
}

void MenuTracker::Execute(std::size_t level, int index, bool byMouse, POINT screen) {
    const MenuEntry* entry = EntryOf(m_levels[level]->View().MenuHandle(), index);
    if (entry == nullptr || entry->IsSeparator())
        return;
    Select(level, index, byMouse);
    if (entry->IsPopup()) {
        if (m_levels.size() == level + 1)
            OpenSubmenu(level, !byMouse);
        return;
    }
    if (!entry->IsEnabled())
        return;
    Choose(entry->id, byMouse ? MAKELPARAM(screen.x, screen.y) : 0);
}

void MenuTracker::Choose(UINT_PTR command, LPARAM systemParam) {
    m_outcome = Outcome::Chosen;
    m_choice = command;
    m_choiceParam = systemParam;
}

void MenuTracker::OnMouseMove(const MSG& msg) {
    if (msg.pt.x != m_startPointer.x || msg.pt.y != m_startPointer.y)
        m_mouseActed = true;
    const auto level = LevelAt(msg.pt);
    if (!level) {
        // Off the menu the highlight goes, unless it marks the item whose submenu is open.
        const std::size_t deepest = m_levels.size() - 1;
        const MenuEntry* entry = EntryOf(Deepest().View().MenuHandle(), Deepest().Selected());
        if (entry != nullptr && !entry->IsPopup())
            Select(deepest, -1, true);
        return;
    }
    PopupWindow& window = *m_levels[*level];
    const int index = window.ItemAt(msg.pt);
    const MenuEntry* entry = EntryOf(window.View().MenuHandle(), index);
    if (entry == nullptr || entry->IsSeparator()) {
        if (*level + 1 == m_levels.size())
            Select(*level, -1, true);
        return;
    }
    if (index == window.Selected()) {
        CloseFrom(*level + (entry->IsPopup() ? 2 : 1));
        return;
    }
    CloseFrom(*level + 1);
    Select(*level, index, true);
    if (entry->IsPopup())
        OpenSubmenu(*level, false);
}

void MenuTracker::OnButtonDown(const MSG& msg) {
    m_mouseActed = true;
    const auto level = LevelAt(msg.pt);
    if (level) {
        const bool counts = IsLeftButton(msg.message) ||
                            (IsRightButton(msg.message) && (m_request.flags & TPM_RIGHTBUTTON));
        if (!counts)
            return;
        PopupWindow& window = *m_levels[*level];
        const int index = window.ItemAt(msg.pt);
        const MenuEntry* entry = EntryOf(window.View().MenuHandle(), index);
        if (entry == nullptr || entry->IsSeparator())
            return;
        CloseFrom(*level + 1);
        Select(*level, index, true);
        if (entry->IsPopup())
            OpenSubmenu(*level, false);
        return;
    }
    // A second press on the caption icon that opened the window menu is a double click: close.
    if (m_request.fromIconClick && IsLeftButton(msg.message) &&
        msg.time - m_request.openTime <= GetDoubleClickTime() &&
        SendMessageA(m_request.owner, WM_NCHITTEST, 0, MAKELPARAM(msg.pt.x, msg.pt.y)) ==
            HTSYSMENU) {
        Choose(SC_CLOSE, MAKELPARAM(msg.pt.x, msg.pt.y));
        return;
    }
    // A press outside ends the menu and goes no further.
    Dismiss();
}

void MenuTracker::OnButtonUp(const MSG& msg) {
    if (IsRightButton(msg.message) && !(m_request.flags & TPM_RIGHTBUTTON))
        return;
    // The release of the press that opened the menu chooses nothing until the pointer moves.
    if (!m_mouseActed)
        return;
    const auto level = LevelAt(msg.pt);
    if (!level)
        return;
    const int index = m_levels[*level]->ItemAt(msg.pt);
    const MenuEntry* entry = EntryOf(m_levels[*level]->View().MenuHandle(), index);
    if (entry == nullptr || entry->IsSeparator() || entry->IsPopup())
        return;
    Execute(*level, index, true, msg.pt);
}

void MenuTracker::OnKeyDown(const MSG& msg) {
    struct KeyHandler {
        int vk;
        void (MenuTracker::*handle)();
    };
    static constexpr KeyHandler kKeys[] = {
        {VK_UP, &MenuTracker::SelectPrevious},      {VK_DOWN, &MenuTracker::SelectNext},
        {VK_LEFT, &MenuTracker::CloseSubmenu},      {VK_RIGHT, &MenuTracker::OpenSelectedSubmenu},
        {VK_RETURN, &MenuTracker::ExecuteSelected}, {VK_ESCAPE, &MenuTracker::Escape},
        {VK_MENU, &MenuTracker::Dismiss},           {VK_F10, &MenuTracker::Dismiss},
    };
    // Alt still held from Alt+Space repeats; only a fresh press of it closes the menu.
    const bool repeat = (msg.lParam & (1L << 30)) != 0;
    if (msg.wParam == VK_MENU && repeat)
        return;
    TranslateMessage(&msg);
    for (const KeyHandler& key : kKeys)
        if (key.vk == static_cast<int>(msg.wParam))
            (this->*key.handle)();
}

void MenuTracker::OnChar(const MSG& msg) {
    const auto letter = static_cast<unsigned char>(msg.wParam);
    if (letter <= ' ' || letter >= 0x80)
        return;
    OnMnemonic(static_cast<char>(std::tolower(letter)));
}

void MenuTracker::OnMnemonic(char letter) {
    const std::size_t level = m_levels.size() - 1;
    const HMENU handle = Deepest().View().MenuHandle();
    const Menu* menu = MenuTable::Instance().Find(handle);
    if (menu == nullptr)
        return;
    const int count = static_cast<int>(menu->Count());
    std::vector<int> matches;
    // Search from the item after the selection, so that a repeated letter walks its items.
    for (int step = 1; step <= count; ++step) {
        const int index = (std::max(Deepest().Selected(), -1) + step + count) % count;
        if (MnemonicOf(*menu->At(static_cast<std::size_t>(index))) == letter)
            matches.push_back(index);
    }
    if (matches.size() == 1) {
        Execute(level, matches.front(), false, {});
        return;
    }
    if (matches.size() > 1) {
        Select(level, matches.front(), false);
        return;
    }
    const LRESULT answer = SendMessageA(m_request.owner, WM_MENUCHAR,
                                        MAKEWPARAM(letter, MF_POPUP | (m_system ? MF_SYSMENU : 0)),
                                        reinterpret_cast<LPARAM>(handle));
    if (m_outcome != Outcome::Tracking || m_levels.size() != level + 1)
        return;
    const int index = static_cast<int>(LOWORD(answer));
    switch (HIWORD(answer)) {
        case MNC_EXECUTE:
            Execute(level, index, false, {});
            break;
        case MNC_SELECT:
            Select(level, index, false);
            break;
        case MNC_CLOSE:
            Dismiss();
            break;
        default:
            MessageBeep(0);
            break;
    }
}

void MenuTracker::CloseSubmenu() {
    if (m_levels.size() > 1)
        CloseFrom(m_levels.size() - 1);
}

void MenuTracker::OpenSelectedSubmenu() {
    OpenSubmenu(m_levels.size() - 1, true);
}

void MenuTracker::ExecuteSelected() {
    const std::size_t level = m_levels.size() - 1;
    const MenuEntry* entry = EntryOf(Deepest().View().MenuHandle(), Deepest().Selected());
    // Enter on nothing or on a grayed item closes the menu without a command.
    if (entry == nullptr || (!entry->IsPopup() && !entry->IsEnabled())) {
        Dismiss();
        return;
    }
    Execute(level, Deepest().Selected(), false, {});
}

void MenuTracker::Escape() {
    if (m_levels.size() > 1)
        CloseFrom(m_levels.size() - 1);
    else
        Dismiss();
}

}  // namespace winapi::menu

using namespace winapi::menu;

BOOL WINAPI TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int, HWND hWnd, const RECT*) {
    if (FindMenu(hMenu) == nullptr)
        return FALSE;
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (MenuTracker::Active() != nullptr) {
        SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
        return FALSE;
    }
    TrackRequest request;
    request.menu = hMenu;
    request.flags = uFlags;
    request.at = {x, y};
    request.owner = hWnd;
    const std::optional<UINT_PTR> chosen = MenuTracker(request).Run();
    if (!chosen)
        return FALSE;
    if (uFlags & TPM_RETURNCMD)
        return static_cast<BOOL>(*chosen);
    return TRUE;
}

// With no menu open there is nothing to end, which Win32 also reports as success.
BOOL WINAPI EndMenu(void) {
    if (MenuTracker* tracker = MenuTracker::Active())
        tracker->End();
    return TRUE;
}
