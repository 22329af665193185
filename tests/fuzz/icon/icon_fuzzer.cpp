// Icon resources: an RT_GROUP_ICON directory and an RT_ICON image from the same bytes, chosen
// for the sizes LoadIcon and the caption ask, and the image decoded and scaled.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/winapi/resource/icon_decoder.h"
#include "platform/winapi/resource/icon_directory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    for (const int side : {16, 32, 256}) {
        winapi::resource::ChooseIconImage(bytes, side, side);
    }
    const auto image = winapi::resource::DecodeIconImage(bytes);
    if (!image) {
        return 0;
    }
    const auto pixels =
        static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height);
    if (image->width <= 0 || image->height <= 0 || image->argb.size() != pixels) {
        std::abort();
    }
    for (const int side : {16, 32, 48}) {
        if (winapi::resource::ScaleIconImage(*image, side, side).argb.size() !=
            static_cast<std::size_t>(side * side)) {
            std::abort();
        }
    }
    return 0;
}
