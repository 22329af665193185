// A device-dependent bitmap: a 32-bit surface, or a monochrome one whose pixels are only ever
// black or white (the 1x1 bitmap of a new memory DC, and what is made compatible with it).
#pragma once

#include "platform/winapi/gdi/gdi_object.h"
#include "platform/winapi/surface/surface.h"

namespace winapi::gdi {

class Bitmap final : public GdiObject {
public:
    static constexpr ObjectKind kKind = ObjectKind::Bitmap;

    Bitmap(int width, int height, bool monochrome)
        : GdiObject(kKind), m_surface(width, height, 0), m_monochrome(monochrome) {}

    Surface& Pixels() { return m_surface; }
    const Surface& Pixels() const { return m_surface; }
    bool IsMonochrome() const { return m_monochrome; }
    int BitsPerPixel() const { return m_monochrome ? 1 : 32; }

    // The memory DC it is selected into; a bitmap can be in one DC at a time.
    HDC SelectedInto() const { return m_selectedInto; }
    void SetSelectedInto(HDC dc) { m_selectedInto = dc; }

private:
    Surface m_surface;
    bool m_monochrome;
    HDC m_selectedInto = nullptr;
};

// Monochrome surfaces hold 0 (black) or 0xFFFFFF (white): the nearer of the two to colour
// (0x00RRGGBB), ties going to black.
constexpr std::uint32_t MonochromePixel(std::uint32_t pixel) {
    const unsigned sum = ((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF);
    return sum >= 383 ? 0xFFFFFFu : 0u;
}

}  // namespace winapi::gdi
