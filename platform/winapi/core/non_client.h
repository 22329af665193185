// The non-client area: the classic frame and caption that the window system draws around a
// window's client area, its hit testing, and the mouse, keys and system commands that act on
// it (caption boxes, moving the window, the window menu).
#pragma once

#include <windows.h>

namespace winapi::core {

LRESULT NonClientHitTest(HWND hwnd, POINT screen);
void PaintNonClient(HWND hwnd);
// WM_SYSCOMMAND's default for SC_MOVE, SC_MOUSEMENU and SC_KEYMENU.
LRESULT HandleNonClientCommand(HWND hwnd, WPARAM command, LPARAM lParam);
LRESULT HandleNonClientMouse(HWND hwnd, UINT message, WPARAM hit, LPARAM screenPoint);
LRESULT HandleNonClientKey(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace winapi::core
