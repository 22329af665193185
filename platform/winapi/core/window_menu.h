// The window menu (system menu) as the window system sees it. The menus sit above the window
// system, so they register the window menu's entry points here from a namespace-scope
// WindowMenuRegistration; the caption, DefWindowProc and window destruction call through it.
// Without a registration a window has no window menu: nothing opens, and the close box stays
// enabled.
#pragma once

#include <windows.h>

namespace winapi::core {

// Win32's atom for the class of menu windows (#32768); their surfaces are shown as menus.
constexpr ATOM kMenuClassAtom = 0x8000;

struct WindowMenuHooks {
    // Opens hwnd's window menu at a screen point and tracks it until it closes.
    void (*track)(HWND hwnd, POINT at, bool fromIconClick, DWORD clickTime);
    // Whether the window menu has an enabled close item.
    bool (*canClose)(HWND hwnd);
    // hwnd is being destroyed: its copy of the menu goes with it.
    void (*forget)(HWND hwnd);
};

struct WindowMenuRegistration {
    explicit WindowMenuRegistration(const WindowMenuHooks& hooks);
};

void TrackWindowMenu(HWND hwnd, POINT at, bool fromIconClick, DWORD clickTime);
bool WindowMenuCanClose(HWND hwnd);
void ForgetWindowMenu(HWND hwnd);

}  // namespace winapi::core
