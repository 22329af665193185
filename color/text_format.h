#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "color/color_value.h"

namespace color {

// The notation of the output text. Held as a plain 32-bit integer by its owner, so a value outside
// the four named ones can occur; formatting then produces nothing.
enum class FormatMode : std::int32_t {
    Rgb = 0,       // RGB(r, g, b)
    Color = 1,     // Color(r, g, b)
    BasicHex = 2,  // &H00BBGGRR&
    HtmlHex = 3,   // #RRGGBB
};

// Channels read back from text; a channel is absent when reading stopped before it.
struct ParsedChannels {
    std::optional<int> red;
    std::optional<int> green;
    std::optional<int> blue;

    friend bool operator==(const ParsedChannels&, const ParsedChannels&) = default;
};

// The output text of a colour in a notation, for example "RGB(18, 52, 86)" or "&H00563412&".
// No text for a mode outside the four: the caller keeps the text it had.
std::optional<std::string> FormatOutput(FormatMode mode, int red, int green, int blue);

// The readout of the live colour: each channel right-aligned in three characters, "  5, 128, 255".
std::string FormatReadout(ColorRef color);

// Reads a readout text as "%d, %d, %d,": both the initial "255,255,255" and every text that
// FormatReadout makes give three channels.
ParsedChannels ParseReadout(std::string_view text);

// One channel as plain decimal text, and back; no value when the text holds no number.
std::string FormatChannel(int value);
std::optional<int> ParseChannel(std::string_view text);

// Reads an output text back into channels. The first marker present decides the notation:
// "(" for RGB(...) and Color(...), then "&" for &H00BBGGRR&, then "#" for #RRGGBB. Safe on any
// text; whatever cannot be read is absent.
ParsedChannels ParseOutput(std::string_view text);

}  // namespace color
