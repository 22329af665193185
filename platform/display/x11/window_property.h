// Reading and writing window properties whole, whatever their size.
#pragma once

#include "platform/display/x11/xlib.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace display::x11 {

struct PropertyValue {
    Atom type = None;
    int format = 0;
    std::vector<unsigned char> bytes;  // format 8 data
    std::vector<unsigned long> items;  // format 32 data; Xlib hands 32-bit items as longs

    std::string Text() const { return {bytes.begin(), bytes.end()}; }
    bool HasItem(unsigned long item) const;
};

// Null when the property does not exist or the window is gone. With deleteAfter the property
// is deleted once read to its end (how incremental transfers ask for the next piece).
std::optional<PropertyValue> ReadProperty(Display* display, Window window, Atom property,
                                          bool deleteAfter = false);

void WriteAtoms(Display* display, Window window, Atom property, std::span<const Atom> atoms);
void WriteCardinals(Display* display, Window window, Atom property,
                    std::span<const unsigned long> values);
void WriteBytes(Display* display, Window window, Atom property, Atom type, std::string_view bytes);

// A window's title: _NET_WM_NAME (UTF-8) when it has one, else WM_NAME; null when neither.
std::optional<std::string> ReadTitle(Display* display, Window window, Atom netWmName,
                                     Atom utf8String);

}  // namespace display::x11
