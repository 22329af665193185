#include "platform/winapi/menu/system_menu.h"

#include <map>

#include "platform/winapi/core/state.h"
#include "platform/winapi/core/window_menu.h"
#include "platform/winapi/menu/menu_table.h"
#include "platform/winapi/menu/menu_tracker.h"
#include "platform/winapi/session_parts.h"

namespace winapi::menu {
namespace {

struct StandardItem {
    UINT command;  // 0: a separator
    const char* text;
};

// The standard window menu of a Japanese system; Close is its default (bold) item.
constexpr StandardItem kStandardItems[] = {
    {SC_RESTORE, "元のサイズに戻す(&R)"}, {SC_MOVE, "移動(&M)"},       {SC_SIZE, "サイズ変更(&S)"},
    {SC_MINIMIZE, "最小化(&N)"},          {SC_MAXIMIZE, "最大化(&X)"}, {0, nullptr},
    {SC_CLOSE, "閉じる(&C)\tAlt+F4"},
};

// Which items do not apply to a window of this style.
struct GrayRule {
    UINT command;
    bool (*grayed)(DWORD style);
};

constexpr GrayRule kGrayRules[] = {
    {SC_RESTORE, [](DWORD style) { return !(style & (WS_MINIMIZE | WS_MAXIMIZE)); }},
    {SC_MOVE, [](DWORD style) { return (style & WS_MAXIMIZE) != 0; }},
    {SC_SIZE,
     [](DWORD style) {
         return !(style & WS_THICKFRAME) || (style & (WS_MINIMIZE | WS_MAXIMIZE)) != 0;
     }},
    {SC_MINIMIZE,
     [](DWORD style) { return !(style & WS_MINIMIZEBOX) || (style & WS_MINIMIZE) != 0; }},
    {SC_MAXIMIZE,
     [](DWORD style) { return !(style & WS_MAXIMIZEBOX) || (style & WS_MAXIMIZE) != 0; }},
};

// Each window's own copy, made on first use.
std::map<HWND, HMENU>& Copies() {
    static std::map<HWND, HMENU> copies;
    return copies;
}

void EndSession() {
    Copies().clear();
}
const SessionEndHook kEndHook{SessionEndOrder::Gdi, &EndSession};

HMENU BuildStandardMenu() {
    MenuTable& table = MenuTable::Instance();
    const HMENU handle = table.Add(true);
    Menu* menu = table.Find(handle);
    menu->MarkSystem();
    for (const StandardItem& item : kStandardItems) {
        MenuEntry entry;
        entry.id = item.command;
        if (item.text == nullptr)
            entry.type = MF_SEPARATOR;
        else
            entry.text = item.text;
        if (item.command == SC_CLOSE)
            entry.state = MF_DEFAULT;
        menu->Insert(menu->Count(), std::move(entry));
    }
    return handle;
}

HMENU CopyOf(HWND hwnd, bool create) {
    auto& copies = Copies();
    if (const auto it = copies.find(hwnd); it != copies.end()) {
        if (MenuTable::Instance().Find(it->second) != nullptr)
            return it->second;
        copies.erase(it);
    }
    if (!create)
        return nullptr;
    const HMENU menu = BuildStandardMenu();
    copies[hwnd] = menu;
    return menu;
}

UINT ClassStyleOf(HWND hwnd) {
    const core::Window* window = core::PeekWindowRecord(hwnd);
    return window != nullptr && window->windowClass != nullptr ? window->windowClass->style : 0;
}

void GrayWhatDoesNotApply(HMENU menu, HWND hwnd) {
    const auto style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    for (const GrayRule& rule : kGrayRules)
        if (FindItem(menu, rule.command, MF_BYCOMMAND))
            EnableMenuItem(menu, rule.command,
                           MF_BYCOMMAND | (rule.grayed(style) ? MF_GRAYED : MF_ENABLED));
    // A class without a close command keeps the item grayed; an item grayed by the program
    // stays grayed.
    if (ClassStyleOf(hwnd) & CS_NOCLOSE)
        EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
}

}  // namespace

void TrackWindowMenu(HWND hwnd, POINT at, bool fromIconClick, DWORD clickTime) {
    if (MenuTracker::Active() != nullptr || !IsWindow(hwnd) ||
        !(GetWindowLongA(hwnd, GWL_STYLE) & WS_SYSMENU))
        return;
    const HMENU menu = CopyOf(hwnd, true);
    GrayWhatDoesNotApply(menu, hwnd);
    TrackRequest request;
    request.menu = menu;
    request.flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON;
    request.at = at;
    request.owner = hwnd;
    request.byTrackPopupMenu = false;
    request.fromKeyboard = !fromIconClick;
    request.fromIconClick = fromIconClick;
    request.openTime = clickTime;
    MenuTracker(request).Run();
}

bool WindowMenuCanClose(HWND hwnd) {
    const HMENU menu = CopyOf(hwnd, false);
    if (menu == nullptr)
        return !(ClassStyleOf(hwnd) & CS_NOCLOSE);
    const auto item = FindItem(menu, SC_CLOSE, MF_BYCOMMAND);
    return item && item->entry->IsEnabled();
}

void NoteSystemMenuChange(HMENU menu) {
    const Menu* found = MenuTable::Instance().Find(menu);
    if (found == nullptr || !found->IsSystem())
        return;
    for (const auto& [hwnd, copy] : Copies())
        if (copy == menu && IsWindowVisible(hwnd)) {
            SendMessageA(hwnd, WM_NCPAINT, 1, 0);
            return;
        }
}

void ForgetWindowMenu(HWND hwnd) {
    auto& copies = Copies();
    const auto it = copies.find(hwnd);
    if (it == copies.end())
        return;
    MenuTable::Instance().Destroy(it->second);
    copies.erase(it);
}

namespace {

// The window system opens, asks about and drops window menus through these.
const core::WindowMenuRegistration kWindowMenu{
    {&TrackWindowMenu, &WindowMenuCanClose, &ForgetWindowMenu}};

}  // namespace

}  // namespace winapi::menu

using namespace winapi::menu;

HMENU WINAPI GetSystemMenu(HWND hWnd, BOOL bRevert) {
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    // Reverting drops the copy: the window shows the standard menu again.
    if (bRevert) {
        ForgetWindowMenu(hWnd);
        return nullptr;
    }
    if (!(GetWindowLongA(hWnd, GWL_STYLE) & WS_SYSMENU))
        return nullptr;
    return CopyOf(hWnd, true);
}
