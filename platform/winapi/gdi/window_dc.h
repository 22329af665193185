// Device contexts of windows, for the window system's painting (BeginPaint, WM_ERASEBKGND,
// the non-client area) and for GetDC/GetWindowDC.
#pragma once

#include <optional>

#include <windows.h>

#include "platform/winapi/surface/window_canvas.h"

namespace winapi::gdi {

// A DC drawing into hwnd's client area or whole window, optionally clipped further to
// paintClip (DC coordinates). Null when hwnd is not a window.
HDC OpenWindowDc(HWND hwnd, CanvasArea area, std::optional<RECT> paintClip);
// Releases a DC from OpenWindowDc; false when hdc is not one.
bool CloseWindowDc(HDC hdc);

}  // namespace winapi::gdi
