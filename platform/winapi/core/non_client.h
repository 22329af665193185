// The non-client area: the classic frame and caption that the window system draws around a
// window's client area, its hit testing, and the mouse and keys that act on it.
#pragma once

#include <windows.h>

namespace winapi::core {

LRESULT NonClientHitTest(HWND hwnd, POINT screen);
void PaintNonClient(HWND hwnd);
LRESULT HandleNonClientCommand(HWND hwnd, WPARAM command);
LRESULT HandleNonClientMouse(HWND hwnd, UINT message, WPARAM hit, LPARAM screenPoint);
LRESULT HandleNonClientKey(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace winapi::core
