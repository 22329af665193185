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
    // refreshMs: how long monitors are kept before they are asked afresh.
    ScreenReader(Display* display, Window root, std::uint64_t refreshMs);

    // The monitors' rectangles at nowMs. A change of outputs, CRTCs or the root's size comes
    // as a RandR event (NoteEvent) and is seen at once. A monitor a client sets or deletes
    // comes with no event at all, so the list is also asked afresh once it is refreshMs old;
    // in between it is kept, since asking costs two round trips and the picker asks on every
    // tick.
    const std::vector<Rect>& Monitors(std::uint64_t nowMs);
    // True when the event was RandR's: the list is asked afresh at the next use.
    bool NoteEvent(XEvent& event);
    Rect Bounds(std::uint64_t nowMs);
    // As Backend::ReadScreen. A small area inside the last one read, in the same millisecond
    // and with no request of ours in between (none of our windows drawn, moved or shown), is
    // taken from that read: a tick reads the zoom's square and then the pixel at its centre.
    void Read(const Rect& area, std::span<std::uint32_t> pixels, std::span<std::uint8_t> delivered,
              std::uint64_t nowMs);

private:
    Rect RootRect() const;
    // Reads part (inside the root) into the caller's buffer laid out as area.
    void ReadPart(const Rect& part, const Rect& area, std::uint32_t* pixels,
                  std::uint8_t* delivered);

    Display* m_display;
    Window m_root;
    std::uint64_t m_refreshMs;
    bool m_hasRandr = false;
    bool m_hasMonitors = false;
    int m_randrEventBase = 0;
    std::optional<std::vector<Rect>> m_monitors;
    std::uint64_t m_readMs = 0;

    struct LastRead {
        Rect area;
        std::vector<std::uint32_t> pixels;
        std::vector<std::uint8_t> delivered;
        std::uint64_t ms = 0;
        unsigned long nextRequest = 0;
    };
    std::optional<LastRead> m_lastRead;
};

}  // namespace display::x11
