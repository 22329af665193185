#include "tests/support/memory_x_server.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/display/x11/x11_connection.h"

namespace memory_server {
namespace {

void NotifyProperty(Window window, Atom property, int state) {
    Server& server = TheServer();
    const auto mask = server.eventMasks.find(window);
    if (mask == server.eventMasks.end() || !(mask->second & PropertyChangeMask)) {
        return;
    }
    XPropertyEvent event{};
    event.type = PropertyNotify;
    event.display = TheDisplay();
    event.window = window;
    event.atom = property;
    event.state = state;
    server.propertyEvents.push_back(event);
}

}  // namespace

Server& TheServer() {
    static Server server;
    return server;
}

Display* TheDisplay() {
    static char placeholder;
    return reinterpret_cast<Display*>(&placeholder);
}

display::x11::Atoms InternedAtoms() {
    display::x11::Atoms atoms;
    atoms.clipboard = 70;
    atoms.targets = 71;
    atoms.multiple = 72;
    atoms.timestamp = 73;
    atoms.utf8String = 74;
    atoms.text = 75;
    atoms.incr = 76;
    atoms.atomPair = 77;
    atoms.saveTargets = 78;
    return atoms;
}

std::optional<std::vector<std::uint32_t>> Items32(Window window, Atom property) {
    const auto& properties = TheServer().properties;
    const auto it = properties.find({window, property});
    if (it == properties.end() || it->second.format != 32) {
        return std::nullopt;
    }
    std::vector<std::uint32_t> items(it->second.bytes.size() / 4);
    if (!items.empty()) {
        std::memcpy(items.data(), it->second.bytes.data(), items.size() * 4);
    }
    return items;
}

}  // namespace memory_server

using memory_server::TheServer;

namespace display::x11 {

std::uint64_t MonotonicMs() {
    return TheServer().nowMs;
}

}  // namespace display::x11

extern "C" {

int XChangeProperty(Display*, Window window, Atom property, Atom type, int format, int mode,
                    const unsigned char* data, int count) {
    auto& server = TheServer();
    if (!server.windows.count(window) || count < 0 ||
        (format != 8 && format != 16 && format != 32)) {
        return 1;  // BadWindow or BadValue: the request fails, the error handler sees it
    }
    // Xlib takes 32-bit items as longs and 16-bit ones as shorts; the server stores 4 and 2 bytes.
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < count; ++i) {
        std::uint32_t unit = 0;
        if (format == 32) {
            unit = static_cast<std::uint32_t>(reinterpret_cast<const long*>(data)[i]);
        } else if (format == 16) {
            unit = reinterpret_cast<const unsigned short*>(data)[i];
        } else {
            unit = data[i];
        }
        for (int b = 0; b < format / 8; ++b) {
            bytes.push_back(static_cast<std::uint8_t>(unit >> (8 * b)));
        }
    }
    auto [it, created] = server.properties.try_emplace({window, property});
    memory_server::Property& stored = it->second;
    if (mode == PropModeReplace || created) {
        stored = {type, format, std::move(bytes)};
    } else if (stored.type != type || stored.format != format) {
        return 1;  // BadMatch
    } else if (mode == PropModePrepend) {
        stored.bytes.insert(stored.bytes.begin(), bytes.begin(), bytes.end());
    } else {
        stored.bytes.insert(stored.bytes.end(), bytes.begin(), bytes.end());
    }
    memory_server::NotifyProperty(window, property, PropertyNewValue);
    return 1;
}

int XGetWindowProperty(Display*, Window window, Atom property, long offset, long length,
                       Bool remove, Atom requested, Atom* type, int* format, unsigned long* count,
                       unsigned long* after, unsigned char** data) {
    auto& server = TheServer();
    *type = None;
    *format = 0;
    *count = 0;
    *after = 0;
    *data = nullptr;
    if (!server.windows.count(window)) {
        return BadWindow;
    }
    const auto it = server.properties.find({window, property});
    if (it == server.properties.end()) {
        return Success;
    }
    const memory_server::Property& stored = it->second;
    *type = stored.type;
    *format = stored.format;
    if (requested != AnyPropertyType && requested != stored.type) {
        *after = stored.bytes.size();
        return Success;
    }
    // The protocol's GetProperty: offset and length in 4-byte units, BadValue past the end.
    const std::size_t size = stored.bytes.size();
    if (offset < 0 || length < 0 || std::size_t(offset) * 4 > size) {
        return BadValue;
    }
    const std::size_t start = std::size_t(offset) * 4;
    const std::size_t taken = std::min(size - start, std::size_t(length) * 4);
    const std::size_t unitSize = std::size_t(stored.format / 8);
    const std::size_t units = taken / unitSize;
    // Xlib widens 32-bit units to longs (sign-extended) and 16-bit ones to shorts, and always
    // adds a terminating NUL.
    const std::size_t itemSize = stored.format == 32   ? sizeof(long)
                                 : stored.format == 16 ? sizeof(short)
                                                       : 1;
    auto* out = static_cast<unsigned char*>(std::calloc(units * itemSize + 1, 1));
    for (std::size_t i = 0; i < units; ++i) {
        const std::uint8_t* unit = &stored.bytes[start + i * unitSize];
        if (stored.format == 32) {
            std::int32_t value;
            std::memcpy(&value, unit, 4);
            reinterpret_cast<long*>(out)[i] = value;
        } else if (stored.format == 16) {
            reinterpret_cast<unsigned short*>(out)[i] =
                static_cast<unsigned short>(unit[0] | unit[1] << 8);
        } else {
            out[i] = unit[0];
        }
    }
    *count = units;
    *after = size - start - taken;
    *data = out;
    if (remove && *after == 0) {
        server.properties.erase(it);
        memory_server::NotifyProperty(window, property, PropertyDelete);
    }
    return Success;
}

int XFree(void* data) {
    std::free(data);
    return 1;
}

Status XSendEvent(Display*, Window window, Bool, long, XEvent* event) {
    auto& server = TheServer();
    if (!server.windows.count(window)) {
        return 1;  // BadWindow comes later, through the error handler
    }
    server.sentEvents.push_back(*event);
    return 1;
}

int XSetSelectionOwner(Display*, Atom selection, Window owner, Time) {
    TheServer().selectionOwners[selection] = owner;
    return 1;
}

Window XGetSelectionOwner(Display*, Atom selection) {
    const auto& owners = TheServer().selectionOwners;
    const auto it = owners.find(selection);
    return it == owners.end() ? None : it->second;
}

int XSelectInput(Display*, Window window, long mask) {
    if (!TheServer().windows.count(window)) {
        return 1;  // BadWindow
    }
    TheServer().eventMasks[window] = mask;
    return 1;
}

int XFlush(Display*) {
    return 1;
}

long XMaxRequestSize(Display*) {
    return TheServer().maxRequestSize;
}

}  // extern "C"
