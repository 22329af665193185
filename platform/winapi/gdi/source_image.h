// The pixels a blit reads from its source DC. A memory DC gives its bitmap's pixels. A window
// DC, as in classic Win32, gives the screen's pixels at its screen position, whatever window is
// there, unclipped; pixels off the screen or off the bitmap are missing, and the blit leaves
// the destination as it was there.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/winapi/gdi/device_context.h"

namespace winapi::gdi {

class SourceImage {
public:
    // area: device coordinates of source. Nothing when source is a window that is gone.
    static std::optional<SourceImage> Read(const DeviceContext& source, const display::Rect& area);

    bool IsMonochrome() const { return m_monochrome; }
    // The pixel at a device point of the source, if it has one.
    std::optional<std::uint32_t> At(int x, int y) const {
        if (!m_read.Contains({x, y}))
            return std::nullopt;
        const std::size_t index = static_cast<std::size_t>(y - m_read.top) * m_read.Width() +
                                  static_cast<std::size_t>(x - m_read.left);
        if (!m_delivered.empty() && m_delivered[index] == 0)
            return std::nullopt;
        return m_pixels[index];
    }

    // The pixels of row y from column left to right (exclusive), when every one of them can be
    // read: a pointer to the one at left. Null when any is missing.
    const std::uint32_t* WholeRow(int y, int left, int right) const {
        if (!m_delivered.empty() || y < m_read.top || y >= m_read.bottom || left < m_read.left ||
            right > m_read.right || left >= right)
            return nullptr;
        return &m_pixels[static_cast<std::size_t>(y - m_read.top) * m_read.Width() +
                         static_cast<std::size_t>(left - m_read.left)];
    }

private:
    display::Rect m_read;  // the part of the asked area that can have pixels
    std::vector<std::uint32_t> m_pixels;
    std::vector<std::uint8_t> m_delivered;  // empty: all delivered
    bool m_monochrome = false;
};

}  // namespace winapi::gdi
