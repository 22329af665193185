#include "platform/winapi/resource/stock_icon.h"

#include <cstddef>
#include <cstdint>

namespace winapi::resource {
namespace {

constexpr int kSide = 32;
constexpr std::uint32_t kFrame = 0xFF000000;
constexpr std::uint32_t kCaption = 0xFF000080;
constexpr std::uint32_t kClient = 0xFFFFFFFF;

// The window's outer rectangle, right and bottom exclusive, and its caption's last row.
constexpr int kLeft = 2;
constexpr int kTop = 4;
constexpr int kRight = 30;
constexpr int kBottom = 28;
constexpr int kCaptionBottom = 9;

void Fill(gdi::IconImage& image, int left, int top, int right, int bottom, std::uint32_t argb) {
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            image.argb[static_cast<std::size_t>(y * image.width + x)] = argb;
        }
    }
}

}  // namespace

gdi::IconImage StockApplicationIcon() {
    gdi::IconImage image;
    image.width = kSide;
    image.height = kSide;
    image.argb.assign(static_cast<std::size_t>(kSide * kSide), 0);
    Fill(image, kLeft, kTop, kRight, kBottom, kFrame);
    Fill(image, kLeft + 1, kTop + 1, kRight - 1, kCaptionBottom, kCaption);
    Fill(image, kLeft + 1, kCaptionBottom + 1, kRight - 1, kBottom - 1, kClient);
    return image;
}

}  // namespace winapi::resource
