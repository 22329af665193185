// Writes part of the headless screen to a binary PPM file (P6), for a person to look at what a
// test drew; convert it with any image tool. Tests never compare these files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/display/headless/headless_backend.h"

inline bool WriteScreenshot(display::HeadlessBackend& display, const display::Rect& area,
                            const std::string& path) {
    const std::vector<std::uint32_t> pixels = display.Capture(area);
    std::ofstream out(path, std::ios::binary);
    if (!out)
        return false;
    out << "P6\n" << area.Width() << ' ' << area.Height() << "\n255\n";
    for (std::uint32_t pixel : pixels) {
        const char rgb[3] = {static_cast<char>((pixel >> 16) & 0xFF),
                             static_cast<char>((pixel >> 8) & 0xFF),
                             static_cast<char>(pixel & 0xFF)};
        out.write(rgb, 3);
    }
    return static_cast<bool>(out);
}

// A path next to the running test program, so that pictures land in the build tree.
inline std::string BesideTestProgram(const std::string& name) {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? name : (program.parent_path() / name).string();
}
