// Pictures of what the headless display shows, for a person to look at; tests never compare
// these files. WriteScreenshot writes an area of the screen as binary PPM (P6); the screenshot
// namespace writes 0x00RRGGBB pixels, as Capture() returns them, as PNG (stored, not
// compressed, so no library is needed) or PPM.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
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

namespace screenshot {

namespace detail {

inline std::uint32_t Crc32(const std::vector<std::uint8_t>& bytes, std::size_t from) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = from; i < bytes.size(); ++i)
        crc = table[(crc ^ bytes[i]) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

inline void PutBig32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(v >> shift));
}

inline void Chunk(std::vector<std::uint8_t>& out, const char* type,
                  const std::vector<std::uint8_t>& data) {
    PutBig32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBig32(out, Crc32(out, start));
}

// A zlib stream of stored deflate blocks.
inline std::vector<std::uint8_t> Stored(const std::vector<std::uint8_t>& raw) {
    std::vector<std::uint8_t> out{0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t length = std::min<std::size_t>(raw.size() - at, 0xFFFF);
        const bool last = at + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(length & 0xFF);
        out.push_back((length >> 8) & 0xFF);
        out.push_back(~length & 0xFF);
        out.push_back((~length >> 8) & 0xFF);
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                   raw.begin() + static_cast<std::ptrdiff_t>(at + length));
        at += length;
    } while (at < raw.size());
    std::uint32_t a = 1, b = 0;
    for (std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBig32(out, b << 16 | a);
    return out;
}

}  // namespace detail

inline bool WritePng(const std::string& path, const std::vector<std::uint32_t>& pixels, int width,
                     int height) {
    if (width <= 0 || height <= 0 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return false;
    std::vector<std::uint8_t> raw;
    raw.reserve(static_cast<std::size_t>(height) * (1 + 3 * static_cast<std::size_t>(width)));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // no filter
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
            raw.insert(raw.end(),
                       {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                        static_cast<std::uint8_t>(p)});
        }
    }
    std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    detail::PutBig32(header, static_cast<std::uint32_t>(width));
    detail::PutBig32(header, static_cast<std::uint32_t>(height));
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8-bit RGB
    detail::Chunk(out, "IHDR", header);
    detail::Chunk(out, "IDAT", detail::Stored(raw));
    detail::Chunk(out, "IEND", {});
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    return static_cast<bool>(file);
}

inline bool WritePpm(const std::string& path, const std::vector<std::uint32_t>& pixels, int width,
                     int height) {
    if (width <= 0 || height <= 0 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height))
        return false;
    std::ofstream file(path, std::ios::binary);
    file << "P6\n" << width << " " << height << "\n255\n";
    for (std::uint32_t p : pixels) {
        const char rgb[3] = {static_cast<char>(p >> 16), static_cast<char>(p >> 8),
                             static_cast<char>(p)};
        file.write(rgb, 3);
    }
    return static_cast<bool>(file);
}

}  // namespace screenshot
