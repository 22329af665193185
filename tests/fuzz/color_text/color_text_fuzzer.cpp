// The colour text readers on any bytes: the output notations, the readout and a channel. Each
// must return without fault; and every colour the formatters write must read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "color/text_format.h"

namespace {

void Expect(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    color::ParseOutput(text);
    color::ParseReadout(text);
    color::ParseChannel(text);

    // The first bytes double as a colour and a notation for the round trip.
    if (size >= 4) {
        const int red = data[0];
        const int green = data[1];
        const int blue = data[2];
        const auto mode = static_cast<color::FormatMode>(data[3] % 4);
        const color::ParsedChannels channels{red, green, blue};
        Expect(color::ParseOutput(*color::FormatOutput(mode, red, green, blue)) == channels);
        Expect(color::ParseReadout(color::FormatReadout(color::PackRgb(red, green, blue))) ==
               channels);
        Expect(color::ParseChannel(color::FormatChannel(red)) == red);
    }
    return 0;
}
