#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/winapi/gdi/icon_image.h"

namespace winapi::resource {

// The largest icon image Windows stores, and the largest decoded.
inline constexpr int kMaxIconSide = 256;

// An RT_ICON image as ARGB: a BITMAPINFOHEADER DIB (or a later header of the same start) whose
// height counts the colour rows and then the 1-bpp AND mask, bottom-up. Colour is 32-bit BI_RGB
// with alpha, 24-bit, or 8/4/1-bit through the palette. When the image carries no alpha, AND-mask
// pixels become transparent (alpha 0) and the others opaque. Nullopt for PNG-compressed images,
// other formats, sizes beyond 256 and data cut short.
std::optional<gdi::IconImage> DecodeIconImage(std::span<const std::uint8_t> bytes);

// The image resampled to width x height by nearest neighbour, as LoadIcon stretches an image to
// the icon size when no image of that size exists.
gdi::IconImage ScaleIconImage(const gdi::IconImage& image, int width, int height);

}  // namespace winapi::resource
