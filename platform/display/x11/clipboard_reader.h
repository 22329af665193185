// Reading another client's CLIPBOARD: convert to UTF8_STRING (then STRING) into a property of
// our window and read it, piece by piece when the owner sends it incrementally. Every wait has
// a deadline, so an owner that never answers costs a bounded time.
#pragma once

#include "platform/display/x11/xlib.h"

#include <cstdint>
#include <optional>
#include <string>

#include "platform/display/x11/x11_connection.h"

namespace display::x11 {

class ClipboardReader {
public:
    // window: ours, selecting PropertyChangeMask.
    ClipboardReader(Connection& connection, Window window);

    // Null when the selection has no owner, the owner refuses both texts, or the deadline
    // (MonotonicMs) passes.
    std::optional<std::string> Read(Time time, std::uint64_t deadlineMs);

private:
    // The property's bytes, or null if the owner refused target.
    std::optional<std::string> Convert(Atom target, Time time, std::uint64_t deadlineMs);
    std::optional<std::string> ReceiveIncrementally(std::uint64_t deadlineMs);

    Connection& m_connection;
    Display* m_display;
    Window m_window;
};

}  // namespace display::x11
