#include "platform/display/x11/x11_connection.h"

#include <poll.h>
#include <time.h>

#include <algorithm>
#include <cerrno>
#include <optional>

namespace display::x11 {

std::uint64_t MonotonicMs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return std::uint64_t(now.tv_sec) * 1000 + std::uint64_t(now.tv_nsec) / 1'000'000;
}

std::unique_ptr<Connection> Connection::Open(const char* name, std::string* error) {
    const char* shown = name != nullptr ? name : XDisplayName(nullptr);
    if (shown == nullptr || *shown == '\0') {
        if (error != nullptr) {
            *error = "no X display: DISPLAY is not set";
        }
        return nullptr;
    }
    Display* display = XOpenDisplay(name);
    if (display == nullptr) {
        if (error != nullptr) {
            *error = std::string("cannot open the X display ") + shown;
        }
        return nullptr;
    }
    return std::unique_ptr<Connection>(new Connection(display));
}

Connection::Connection(Display* display)
    : m_display(display),
      m_screen(DefaultScreen(display)),
      m_root(RootWindow(display, m_screen)),
      m_atoms(Atoms::Intern(display)) {}

Connection::~Connection() {
    XCloseDisplay(m_display);
}

namespace {

Bool MatchThrough(Display*, XEvent* event, XPointer arg) {
    const auto& match = *reinterpret_cast<const std::function<bool(const XEvent&)>*>(arg);
    return match(*event) ? True : False;
}

}  // namespace

bool Connection::WaitForEvent(XEvent* out, const std::function<bool(const XEvent&)>& match,
                              std::uint64_t deadlineMs) {
    auto* arg = reinterpret_cast<XPointer>(const_cast<std::function<bool(const XEvent&)>*>(&match));
    for (;;) {
        // XCheckIfEvent flushes and reads what has arrived before it looks.
        if (XCheckIfEvent(m_display, out, MatchThrough, arg)) {
            return true;
        }
        if (MonotonicMs() >= deadlineMs) {
            return false;
        }
        WaitForData(deadlineMs);
    }
}

void Connection::WaitForData(std::optional<std::uint64_t> deadlineMs) {
    XFlush(m_display);
    pollfd fd{ConnectionNumber(m_display), POLLIN, 0};
    for (;;) {
        int timeout = -1;
        if (deadlineMs) {
            const std::uint64_t now = MonotonicMs();
            if (now >= *deadlineMs) {
                return;
            }
            timeout = int(std::min<std::uint64_t>(*deadlineMs - now, 60'000));
        }
        const int ready = poll(&fd, 1, timeout);
        if (ready > 0) {
            return;  // data or a hang-up: XPending reads it or calls the I/O error handler
        }
        if (ready < 0 && errno != EINTR) {
            return;
        }
    }
}

void Connection::SetInputFocus(Window window) {
    m_focusRequestSerial = NextRequest(m_display);
    XSetInputFocus(m_display, window, RevertToParent, CurrentTime);
}

bool Connection::IsStaleFocusEvent(const XFocusChangeEvent& event) const {
    // An event carries the serial of the last request the server had processed.
    return event.serial < m_focusRequestSerial;
}

Time Connection::ServerTime(Window window) {
    XChangeProperty(m_display, window, m_atoms.timeProbe, m_atoms.timeProbe, 8, PropModeAppend,
                    nullptr, 0);
    XEvent event;
    const Atom property = m_atoms.timeProbe;
    const auto isStamp = [window, property](const XEvent& e) {
        return e.type == PropertyNotify && e.xproperty.window == window &&
               e.xproperty.atom == property;
    };
    if (!WaitForEvent(&event, isStamp, MonotonicMs() + 1000)) {
        return CurrentTime;
    }
    return event.xproperty.time;
}

}  // namespace display::x11
