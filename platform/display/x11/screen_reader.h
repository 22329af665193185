// Reads the screen: the root window's pixels where a monitor shows them. With RandR the screen
// is the union of the monitors and the gaps between them are not on it; without it, the root.
#pragma once

#include "platform/display/x11/xlib.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/display/backend.h"

namespace display::x11 {

class ScreenReader {
public:
    ScreenReader(Display* display, Window root);

    // The monitors' rectangles. A monitor may come or go at any time, and RandR tells nobody
    // when a client sets or deletes one, so they are asked afresh after each Forget (the
    // backend forgets them whenever it turns to the server's events); in between they are
    // kept, since one tick of the picker asks for the bounds and reads a pixel in a row.
    const std::vector<Rect>& Monitors();
    void Forget() { m_monitors.reset(); }
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
    std::optional<std::vector<Rect>> m_monitors;
};

}  // namespace display::x11
