#include "platform/winapi/resource/icon_decoder.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "platform/winapi/byte_reader.h"

namespace winapi::resource {
namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::uint32_t kOpaque = 0xFF000000;

struct DibHeader {
    std::uint32_t size = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
};

bool IsPng(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= sizeof kPngSignature &&
           std::equal(std::begin(kPngSignature), std::end(kPngSignature), bytes.begin());
}

DibHeader ReadHeader(ByteReader& reader) {
    DibHeader header;
    header.size = reader.U32();
    header.width = static_cast<std::int32_t>(reader.U32());
    header.height = static_cast<std::int32_t>(reader.U32());
    reader.Skip(2);  // biPlanes: Windows ignores it for icons
    header.bitCount = reader.U16();
    header.compression = reader.U32();
    reader.Skip(12);  // biSizeImage, biXPelsPerMeter, biYPelsPerMeter
    header.colorsUsed = reader.U32();
    reader.Skip(4);  // biClrImportant
    return header;
}

bool IsSupported(const DibHeader& header) {
    const bool depthKnown = header.bitCount == 1 || header.bitCount == 4 || header.bitCount == 8 ||
                            header.bitCount == 24 || header.bitCount == 32;
    return header.size >= kInfoHeaderSize && header.compression == kBiRgb && depthKnown &&
           header.width > 0 && header.width <= kMaxIconSide && header.height >= 2 &&
           header.height / 2 <= kMaxIconSide && header.colorsUsed <= 256;
}

std::size_t RowBytes(int width, int bitsPerPixel) {
    return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel) + 31) / 32 * 4;
}

int BitsAt(std::span<const std::uint8_t> row, int x, int bitsPerPixel) {
    const std::size_t bit = static_cast<std::size_t>(x) * static_cast<std::size_t>(bitsPerPixel);
    const int shift = 8 - bitsPerPixel - static_cast<int>(bit % 8);
    return (row[bit / 8] >> shift) & ((1 << bitsPerPixel) - 1);
}

// Colour of pixel x in a row of the XOR image, opaque; the alpha byte of 32-bit pixels is kept.
std::uint32_t ColorAt(std::span<const std::uint8_t> row, int x, int bitsPerPixel,
                      const std::vector<std::uint32_t>& palette) {
    const auto at = static_cast<std::size_t>(x);
    switch (bitsPerPixel) {
        case 32:
            return std::uint32_t{row[at * 4 + 3]} << 24 | std::uint32_t{row[at * 4 + 2]} << 16 |
                   std::uint32_t{row[at * 4 + 1]} << 8 | row[at * 4];
        case 24:
            return kOpaque | std::uint32_t{row[at * 3 + 2]} << 16 |
                   std::uint32_t{row[at * 3 + 1]} << 8 | row[at * 3];
        default: {
            // An index past the palette shows black, as GDI draws it.
            const auto index = static_cast<std::size_t>(BitsAt(row, x, bitsPerPixel));
            return index < palette.size() ? palette[index] : kOpaque;
        }
    }
}

}  // namespace

std::optional<gdi::IconImage> DecodeIconImage(std::span<const std::uint8_t> bytes) {
    if (IsPng(bytes)) {
        return std::nullopt;
    }
    ByteReader reader(bytes);
    const DibHeader header = ReadHeader(reader);
    if (!reader.Ok() || !IsSupported(header)) {
        return std::nullopt;
    }
    reader.Skip(header.size - kInfoHeaderSize);
    const int bits = header.bitCount;
    // Up to 8 bits the palette is biClrUsed entries, all 2^bits when 0; deeper images may carry
    // an optional palette, which colours nothing.
    std::size_t paletteSize = header.colorsUsed;
    if (bits <= 8) {
        const std::size_t full = std::size_t{1} << bits;
        paletteSize = paletteSize == 0 ? full : std::min(paletteSize, full);
    }
    std::vector<std::uint32_t> palette;
    for (std::size_t i = 0; i < paletteSize; ++i) {
        const std::uint32_t bgrx = reader.U32();
        palette.push_back(kOpaque | (bgrx & 0x00FFFFFF));
    }
    if (bits > 8) {
        palette.clear();
    }
    const int width = header.width;
    const int height = header.height / 2;
    const std::size_t colorStride = RowBytes(width, bits);
    const std::size_t maskStride = RowBytes(width, 1);
    const auto colorRows = reader.Bytes(colorStride * static_cast<std::size_t>(height));
    const auto maskRows = reader.Bytes(maskStride * static_cast<std::size_t>(height));
    if (!reader.Ok()) {
        return std::nullopt;
    }

    gdi::IconImage image;
    image.width = width;
    image.height = height;
    image.argb.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    bool hasAlpha = false;
    for (int y = 0; y < height; ++y) {
        // DIB rows run bottom-up.
        const auto source = static_cast<std::size_t>(height - 1 - y);
        const auto colorRow = colorRows.subspan(source * colorStride, colorStride);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t color = ColorAt(colorRow, x, bits, palette);
            hasAlpha = hasAlpha || (bits == 32 && (color >> 24) != 0);
            image.argb[static_cast<std::size_t>(y * width + x)] = color;
        }
    }
    if (hasAlpha) {
        return image;
    }
    for (int y = 0; y < height; ++y) {
        const auto source = static_cast<std::size_t>(height - 1 - y);
        const auto maskRow = maskRows.subspan(source * maskStride, maskStride);
        for (int x = 0; x < width; ++x) {
            std::uint32_t& pixel = image.argb[static_cast<std::size_t>(y * width + x)];
            const bool transparent = BitsAt(maskRow, x, 1) != 0;
            pixel = (pixel & 0x00FFFFFF) | (transparent ? 0 : kOpaque);
        }
    }
    return image;
}

gdi::IconImage ScaleIconImage(const gdi::IconImage& image, int width, int height) {
    gdi::IconImage scaled;
    scaled.width = width;
    scaled.height = height;
    const bool sourceWhole =
        image.width > 0 && image.height > 0 &&
        image.argb.size() >= static_cast<std::size_t>(image.width) * image.height;
    if (width <= 0 || height <= 0 || !sourceWhole) {
        scaled.argb.assign(static_cast<std::size_t>(std::max(width, 0) * std::max(height, 0)), 0);
        return scaled;
    }
    scaled.argb.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const int sourceY = y * image.height / height;
        for (int x = 0; x < width; ++x) {
            const int sourceX = x * image.width / width;
            scaled.argb[static_cast<std::size_t>(y * width + x)] =
                image.argb[static_cast<std::size_t>(sourceY * image.width + sourceX)];
        }
    }
    return scaled;
}

}  // namespace winapi::resource
