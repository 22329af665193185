// The top-level window that shows one popup menu: a WS_POPUP window of the menu class (#32768,
// WS_EX_TOOLWINDOW | WS_EX_TOPMOST), owned by the menu's owner, never activated, painted from
// its PopupView. The window is destroyed with the object.
#pragma once

#include <windows.h>

#include "platform/winapi/core/window_menu.h"
#include "platform/winapi/menu/popup_view.h"

namespace winapi::menu {

class PopupWindow {
public:
    // The class atom Win32 gives its menu windows.
    static constexpr ATOM kClassAtom = core::kMenuClassAtom;

    PopupWindow(HWND owner, HMENU menu);
    ~PopupWindow();
    PopupWindow(const PopupWindow&) = delete;
    PopupWindow& operator=(const PopupWindow&) = delete;

    HWND Handle() const { return m_hwnd; }
    const PopupView& View() const { return m_view; }
    SIZE Size() const { return m_view.Size(); }
    RECT ScreenRect() const;

    // Places the window with its top-left corner at a screen point and shows it, unactivated.
    void ShowAt(POINT topLeft);
    // The item under a screen point, or -1.
    int ItemAt(POINT screen) const;
    RECT ItemScreenRect(int index) const;
    int Selected() const { return m_view.Selected(); }
    // Repaints the items whose look changes.
    void Select(int index);

    // The menu class's window procedure.
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void Paint();

    PopupView m_view;
    HWND m_hwnd = nullptr;
    POINT m_origin{0, 0};
};

}  // namespace winapi::menu
