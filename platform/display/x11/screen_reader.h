// Reads the screen: the root window's pixels where a monitor shows them. With RandR the screen
// is the union of the monitors and the gaps between them are not on it; without it, the root.
#pragma once

#include "platform/display/x11/xlib.h"

#include <cstdint>
#include <span>
#include <vector>

#include "platform/display/backend.h"

namespace display::x11 {

class ScreenReader {
public:
    ScreenReader(Display* display, Window root);

    // The monitors' rectangles, asked afresh (a monitor may come or go at any time).
    std::vector<Rect> Monitors();
    Rect Bounds();
    // As Backend::ReadScreen.
    void Read(const Rect& area, std::span<std::uint32_t> pixels, std::span<std::uint8_t> delivered);

private:
    Rect RootRect() const;
    // Reads part (inside the root) into the caller's buffer laid out as area.
    void ReadPart(const Rect& part, const Rect& area, std::uint32_t* pixels,
                  std::uint8_t* delivered);

    Display* m_display;
    Window m_root;
    bool m_hasMonitors = false;
};

}  // namespace display::x11
