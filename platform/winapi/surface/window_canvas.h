// Where a window's drawing lands: the window system's side of window device contexts.
// GDI asks for the canvas at every drawing call, so a window that moved, was hidden or was
// destroyed since the DC was taken is always drawn (or not) where it is now.
#pragma once

#include <optional>

#include <windows.h>

#include "platform/display/backend.h"
#include "platform/winapi/surface/surface.h"

namespace winapi {

enum class CanvasArea { Client, Window };

struct WindowCanvas {
    gdi::Surface* surface = nullptr;  // the top-level window's backing store; null: the screen
    display::Point origin;            // the DC's (0, 0) in surface pixels
    display::Rect clip;               // where drawing may land, in DC coordinates
    display::Point screenOrigin;      // the DC's (0, 0) in screen pixels, for screen reads
};

// Nothing for a window that does not exist. The desktop window's canvas has no surface: its
// DC reads the whole screen and draws nowhere.
std::optional<WindowCanvas> GetWindowCanvas(HWND hwnd, CanvasArea area);

// Tells the window system that rect (surface pixels) of surface changed and must be shown.
void MarkCanvasDirty(const gdi::Surface* surface, const display::Rect& rect);

// Brings every pending change to the display, so a screen read sees what was drawn.
void FlushScreen();

}  // namespace winapi
