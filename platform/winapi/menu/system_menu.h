// The window menu (system menu): the standard one every window with WS_SYSMENU shows, a
// window's own copy from GetSystemMenu(FALSE), destroyed with the window, its items grayed to
// match the window each time it opens, and its opening from the caption icon and Alt+Space.
#pragma once

#include <windows.h>

namespace winapi::menu {

// Opens hwnd's window menu with its top-left corner at a screen point and tracks it; from a
// press on the caption icon (at clickTime) or from the keyboard, which selects the first item.
void TrackWindowMenu(HWND hwnd, POINT at, bool fromIconClick, DWORD clickTime);

// Whether the window menu has an enabled close item; the caption's close box is grayed and
// ignores presses otherwise.
bool WindowMenuCanClose(HWND hwnd);

// A menu changed: when it is a window's menu, the caption's close box may have to change too.
void NoteSystemMenuChange(HMENU menu);

// hwnd is being destroyed: its copy goes with it.
void ForgetWindowMenu(HWND hwnd);

}  // namespace winapi::menu
