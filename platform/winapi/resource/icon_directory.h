#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace winapi::resource {

// The colour depth icons are chosen for: the 32-bit surfaces everything is drawn on.
inline constexpr int kDisplayBitsPerPixel = 32;

// LookupIconIdFromDirectoryEx for icons: the RT_ICON id in an RT_GROUP_ICON directory that best
// fits width x height. Win32's rule: the closest size that does not exceed the request (the
// closest larger one when all do), then among images of that size the display's colour depth,
// else the deepest below it, else the shallowest. Nullopt for a directory that is not an icon
// group, is cut short or lists nothing.
std::optional<std::uint16_t> ChooseIconImage(std::span<const std::uint8_t> group, int width,
                                             int height);

}  // namespace winapi::resource
