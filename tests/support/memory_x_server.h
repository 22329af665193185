// The few Xlib calls the clipboard owner makes, answered from memory with the X server's rules:
// window properties (8-, 16- and 32-bit, replaced, prepended or appended, read in pieces and
// deleted at their end), selection owners, event masks and sent events. Linked in place of
// libX11, so the clipboard owner's request handling runs with no server and every reply is
// checkable: by its unit tests and its fuzzer.
#pragma once

#include "platform/display/x11/xlib.h"

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

#include "platform/display/x11/atoms.h"

namespace memory_server {

struct Property {
    Atom type = None;
    int format = 8;
    // The units as the protocol carries them: 1, 2 or 4 bytes each, little-endian.
    std::vector<std::uint8_t> bytes;
};

struct Server {
    std::set<Window> windows;
    std::map<std::pair<Window, Atom>, Property> properties;
    std::map<Atom, Window> selectionOwners;
    std::map<Window, long> eventMasks;
    std::vector<XEvent> sentEvents;
    // A PropertyNotify the server owes each client that selected PropertyChangeMask on the
    // window; the fuzzer hands them to the owner.
    std::vector<XPropertyEvent> propertyEvents;
    long maxRequestSize = 65535;
    std::uint64_t nowMs = 1;
};

Server& TheServer();
Display* TheDisplay();

// The backend's atoms with fixed values, as this server would intern them.
display::x11::Atoms InternedAtoms();

// The property as 32-bit items, or nullopt when it is missing or of another format.
std::optional<std::vector<std::uint32_t>> Items32(Window window, Atom property);

}  // namespace memory_server
