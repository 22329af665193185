#include "platform/display/x11/window_property.h"

#include "platform/display/x11/xlib.h"

#include <algorithm>
#include <memory>

#include "platform/display/x11/text_encoding.h"

namespace display::x11 {

namespace {

// Read in pieces of this many 32-bit units, so one reply never holds a huge property.
constexpr long kPieceLongs = 1 << 20;

// Xlib frees what it returns with XFree.
struct XFreeDeleter {
    void operator()(unsigned char* data) const {
        if (data != nullptr) {
            XFree(data);
        }
    }
};

}  // namespace

bool PropertyValue::HasItem(unsigned long item) const {
    return std::find(items.begin(), items.end(), item) != items.end();
}

std::optional<PropertyValue> ReadProperty(Display* display, Window window, Atom property,
                                          bool deleteAfter) {
    PropertyValue value;
    long offset = 0;
    for (;;) {
        Atom type = None;
        int format = 0;
        unsigned long count = 0;
        unsigned long bytesAfter = 0;
        unsigned char* raw = nullptr;
        if (XGetWindowProperty(display, window, property, offset, kPieceLongs,
                               deleteAfter ? True : False, AnyPropertyType, &type, &format, &count,
                               &bytesAfter, &raw) != Success) {
            return std::nullopt;
        }
        const std::unique_ptr<unsigned char, XFreeDeleter> data(raw);
        if (type == None) {
            return std::nullopt;
        }
        if (offset != 0 && (type != value.type || format != value.format)) {
            return std::nullopt;  // replaced while we read it
        }
        value.type = type;
        value.format = format;
        if (format == 32) {
            // Xlib widens 32-bit items to longs, sign-extending them: keep the 32 bits.
            const auto* items = reinterpret_cast<const unsigned long*>(raw);
            for (unsigned long i = 0; i < count; ++i) {
                value.items.push_back(items[i] & 0xFFFFFFFFul);
            }
            offset += long(count);
        } else if (format == 8) {
            value.bytes.insert(value.bytes.end(), raw, raw + count);
            offset += long(count / 4);
        } else {
            const auto* shorts = reinterpret_cast<const unsigned short*>(raw);
            value.items.insert(value.items.end(), shorts, shorts + count);
            offset += long(count / 2);
        }
        if (bytesAfter == 0 || count == 0) {
            return value;
        }
    }
}

void WriteAtoms(Display* display, Window window, Atom property, std::span<const Atom> atoms) {
    const std::vector<unsigned long> items(atoms.begin(), atoms.end());
    XChangeProperty(display, window, property, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(items.data()), int(items.size()));
}

void WriteCardinals(Display* display, Window window, Atom property,
                    std::span<const unsigned long> values) {
    XChangeProperty(display, window, property, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(values.data()), int(values.size()));
}

void WriteBytes(Display* display, Window window, Atom property, Atom type, std::string_view bytes) {
    XChangeProperty(display, window, property, type, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(bytes.data()), int(bytes.size()));
}

std::optional<std::string> ReadTitle(Display* display, Window window, Atom netWmName,
                                     Atom utf8String) {
    if (auto name = ReadProperty(display, window, netWmName);
        name && name->format == 8 && name->type == utf8String) {
        return name->Text();
    }
    auto name = ReadProperty(display, window, XA_WM_NAME);
    if (!name || name->format != 8) {
        return std::nullopt;
    }
    if (name->type == XA_STRING) {
        return Latin1ToUtf8(name->Text());
    }
    return name->Text();
}

}  // namespace display::x11
