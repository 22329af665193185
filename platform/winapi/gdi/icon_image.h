// Icons as GDI objects: built from ARGB pixels by the resource loader, read back for the
// caption and the window system's icon hints.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include <windows.h>

namespace winapi::gdi {

struct IconImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;  // 0xAARRGGBB, rows top-down
};

// A new HICON (counted like every GDI object) from width x height ARGB pixels.
HICON CreateIconFromArgb(int width, int height, std::span<const std::uint32_t> argb);
std::optional<IconImage> GetIconImage(HICON icon);

}  // namespace winapi::gdi
