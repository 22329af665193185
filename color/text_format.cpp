#include "color/text_format.h"

#include <array>
#include <cstdio>
#include <utility>
#include <vector>

#include "color/text_scan.h"

namespace color {
namespace {

struct Notation {
    const char* format;  // printf format taking three channels
    bool hex;            // the channels are written as hexadecimal bytes
    bool blueFirst;      // the channels are written in COLORREF byte order: blue, green, red
};

constexpr std::array<Notation, 4> kNotations = {{
    {"RGB(%d, %d, %d)", false, false},
    {"Color(%d, %d, %d)", false, false},
    {"&H00%02X%02X%02X&", true, true},
    {"#%02X%02X%02X", true, false},
}};

template <typename... Args>
std::string Print(const char* format, Args... args) {
    // The longest text is three negative ten-digit numbers in "Color(...)": well under 64.
    char buffer[64];
    const int length = std::snprintf(buffer, sizeof buffer, format, args...);
    return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
}

ParsedChannels ToChannels(const std::vector<int>& values, bool blueFirst) {
    std::array<std::optional<int>, 3> read;
    for (std::size_t i = 0; i < values.size() && i < read.size(); ++i) {
        read[i] = values[i];
    }
    if (blueFirst) {
        return {read[2], read[1], read[0]};
    }
    return {read[0], read[1], read[2]};
}

}  // namespace

std::optional<std::string> FormatOutput(FormatMode mode, int red, int green, int blue) {
    const auto index = static_cast<std::int32_t>(mode);
    if (index < 0 || index >= static_cast<std::int32_t>(kNotations.size())) {
        return std::nullopt;
    }
    const Notation& notation = kNotations[static_cast<std::size_t>(index)];
    if (notation.blueFirst) {
        std::swap(red, blue);
    }
    if (notation.hex) {
        // Hexadecimal conversions take unsigned arguments; a negative channel prints its bits.
        return Print(notation.format, static_cast<unsigned>(red), static_cast<unsigned>(green),
                     static_cast<unsigned>(blue));
    }
    return Print(notation.format, red, green, blue);
}

std::string FormatReadout(ColorRef color) {
    const ChannelTriple channels = UnpackRgb(color);
    return Print("%3d, %3d, %3d", channels.red, channels.green, channels.blue);
}

ParsedChannels ParseReadout(std::string_view text) {
    return ToChannels(ScanText(text, "%d, %d, %d,"), false);
}

std::string FormatChannel(int value) {
    return Print("%d", value);
}

std::optional<int> ParseChannel(std::string_view text) {
    const std::vector<int> values = ScanText(text, "%d");
    if (values.empty()) {
        return std::nullopt;
    }
    return values.front();
}

ParsedChannels ParseOutput(std::string_view text) {
    if (const auto open = text.find('('); open != std::string_view::npos) {
        // Between the first "(" and the last ")"; nothing when ")" is missing or comes first.
        const auto close = text.rfind(')');
        if (close == std::string_view::npos || close < open) {
            return {};
        }
        return ToChannels(ScanText(text.substr(open + 1, close - open - 1), "%d, %d, %d"), false);
    }
    if (text.find('&') != std::string_view::npos) {
        // The digits follow "&H00". Without it the text is read from its fourth character on,
        // as if the prefix had been found one place before the start.
        const auto prefix = text.find("&H00");
        const std::size_t start = prefix == std::string_view::npos ? 3 : prefix + 4;
        const std::string_view digits = start < text.size() ? text.substr(start) : "";
        return ToChannels(ScanText(digits, "%2X%2X%2X"), true);
    }
    if (const auto hash = text.find('#'); hash != std::string_view::npos) {
        return ToChannels(ScanText(text.substr(hash + 1), "%2X%2X%2X"), false);
    }
    return {};
}

}  // namespace color
