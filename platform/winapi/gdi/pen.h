// A logical pen. Widths above one make a geometric pen with round ends (CreatePen's default);
// PS_INSIDEFRAME keeps a wide outline inside the shape's bounds.
#pragma once

#include <cstdlib>

#include "platform/winapi/gdi/gdi_object.h"

namespace winapi::gdi {

class Pen final : public GdiObject {
public:
    static constexpr ObjectKind kKind = ObjectKind::Pen;

    // usesDcColour: the stock DC_PEN, whose colour is the DC's SetDCPenColor.
    Pen(int style, int width, COLORREF colour, bool usesDcColour = false)
        : GdiObject(kKind),
          m_style(style),
          m_width(width < 0 ? -width : width),
          m_colour(colour & 0xFFFFFF),
          m_usesDcColour(usesDcColour) {}

    int Style() const { return m_style; }
    // The width GetObject reports; 0 is a cosmetic one-pixel pen.
    int Width() const { return m_width; }
    // The width drawn; beyond 2^24 pixels no difference can show.
    int PixelWidth() const { return m_width < 1 ? 1 : m_width > (1 << 24) ? (1 << 24) : m_width; }
    COLORREF Colour() const { return m_colour; }
    bool UsesDcColour() const { return m_usesDcColour; }
    bool IsNull() const { return (m_style & 0xF) == PS_NULL; }
    bool IsInsideFrame() const { return (m_style & 0xF) == PS_INSIDEFRAME; }

private:
    int m_style;
    int m_width;
    COLORREF m_colour;
    bool m_usesDcColour;
};

}  // namespace winapi::gdi
