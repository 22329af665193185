#include "platform/winapi/resource/icon_directory.h"

#include <cstddef>
#include <cstdlib>
#include <vector>

#include "platform/winapi/byte_reader.h"

namespace winapi::resource {
namespace {

constexpr std::uint16_t kIconGroupType = 1;
// GRPICONDIRENTRY: width, height, colours, reserved, planes, bit count, size, id.
constexpr std::size_t kEntrySize = 14;

struct DirectoryEntry {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    std::uint16_t id = 0;
};

// Colours counted in bColorCount when wBitCount is left 0; 0 colours means 256 or more.
int BitsFromColorCount(int colors) {
    int bits = 1;
    while (bits < 8 && (1 << bits) < colors) {
        ++bits;
    }
    return colors == 0 ? 8 : bits;
}

std::optional<std::vector<DirectoryEntry>> ReadDirectory(std::span<const std::uint8_t> group) {
    ByteReader reader(group);
    const std::uint16_t reserved = reader.U16();
    const std::uint16_t type = reader.U16();
    const std::uint16_t count = reader.U16();
    if (!reader.Ok() || reserved != 0 || type != kIconGroupType || count == 0) {
        return std::nullopt;
    }
    // The count comes from the bytes: entries they cannot hold make no list of that size.
    if (std::size_t{count} * kEntrySize > reader.Remaining()) {
        return std::nullopt;
    }
    std::vector<DirectoryEntry> entries(count);
    for (DirectoryEntry& entry : entries) {
        const int width = reader.U8();
        const int height = reader.U8();
        const int colors = reader.U8();
        reader.Skip(3);  // bReserved, wPlanes
        const int bitCount = reader.U16();
        reader.Skip(4);  // dwBytesInRes
        entry.id = reader.U16();
        // A stored 0 means 256.
        entry.width = width == 0 ? 256 : width;
        entry.height = height == 0 ? 256 : height;
        entry.bitsPerPixel = bitCount != 0 ? bitCount : BitsFromColorCount(colors);
    }
    if (!reader.Ok()) {
        return std::nullopt;
    }
    return entries;
}

bool Fits(const DirectoryEntry& entry, int width, int height) {
    return entry.width <= width && entry.height <= height;
}

int Distance(const DirectoryEntry& entry, int width, int height) {
    return std::abs(entry.width - width) + std::abs(entry.height - height);
}

// Lower is better.
int DepthRank(int bitsPerPixel) {
    if (bitsPerPixel == kDisplayBitsPerPixel) {
        return 0;
    }
    if (bitsPerPixel < kDisplayBitsPerPixel) {
        return 1 + (kDisplayBitsPerPixel - bitsPerPixel);
    }
    return 1 + kDisplayBitsPerPixel + bitsPerPixel;
}

}  // namespace

std::optional<std::uint16_t> ChooseIconImage(std::span<const std::uint8_t> group, int width,
                                             int height) {
    const auto entries = ReadDirectory(group);
    if (!entries) {
        return std::nullopt;
    }
    bool anyFits = false;
    for (const DirectoryEntry& entry : *entries) {
        anyFits = anyFits || Fits(entry, width, height);
    }
    const DirectoryEntry* size = nullptr;
    for (const DirectoryEntry& entry : *entries) {
        if (anyFits && !Fits(entry, width, height)) {
            continue;
        }
        if (!size || Distance(entry, width, height) < Distance(*size, width, height)) {
            size = &entry;
        }
    }
    const DirectoryEntry* best = nullptr;
    for (const DirectoryEntry& entry : *entries) {
        if (entry.width != size->width || entry.height != size->height) {
            continue;
        }
        if (!best || DepthRank(entry.bitsPerPixel) < DepthRank(best->bitsPerPixel)) {
            best = &entry;
        }
    }
    return best->id;
}

}  // namespace winapi::resource
