// One connection to an X server, closed when it goes, and the waits on its events that every
// part of the backend shares: poll on the connection's descriptor with a deadline, never a
// busy loop or a fixed sleep.
#pragma once

#include "platform/display/x11/xlib.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/display/x11/atoms.h"

namespace display::x11 {

// CLOCK_MONOTONIC in milliseconds.
std::uint64_t MonotonicMs();

class Connection {
public:
    // Null with a one-line reason when the display cannot be opened (name null: $DISPLAY).
    static std::unique_ptr<Connection> Open(const char* name, std::string* error);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Display* Get() const { return m_display; }
    Window Root() const { return m_root; }
    int ScreenNumber() const { return m_screen; }
    const Atoms& GetAtoms() const { return m_atoms; }

    // Removes and returns the first queued or arriving event that match accepts, leaving the
    // others queued in order; false when the deadline (MonotonicMs) passes first. match runs
    // inside Xlib and must not make requests.
    bool WaitForEvent(XEvent* out, const std::function<bool(const XEvent&)>& match,
                      std::uint64_t deadlineMs);
    // Polls the descriptor until data arrives or the deadline passes (none: no limit); the
    // caller then reads it with XPending.
    void WaitForData(std::optional<std::uint64_t> deadlineMs);

    // The server's current time, from a PropertyNotify on window (which must select
    // PropertyChangeMask): selection ownership wants a real timestamp, not CurrentTime.
    Time ServerTime(Window window);

    // XSetInputFocus, remembering the request: the focus events the server made before it
    // processed this request report a focus that the request has already replaced.
    void SetInputFocus(Window window);
    // A FocusIn or FocusOut made before our latest focus request. Acting on it would ask for
    // the old focus again, and two quick requests would then chase each other forever.
    bool IsStaleFocusEvent(const XFocusChangeEvent& event) const;

private:
    explicit Connection(Display* display);

    Display* m_display;
    int m_screen;
    Window m_root;
    Atoms m_atoms;
    unsigned long m_focusRequestSerial = 0;
};

}  // namespace display::x11
