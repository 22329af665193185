// A logical brush: solid colour or hollow (BS_NULL), which fills nothing.
#pragma once

#include "platform/winapi/gdi/gdi_object.h"

namespace winapi::gdi {

class Brush final : public GdiObject {
public:
    static constexpr ObjectKind kKind = ObjectKind::Brush;

    // usesDcColour: the stock DC_BRUSH, whose colour is the DC's SetDCBrushColor.
    Brush(UINT style, COLORREF colour, bool usesDcColour = false)
        : GdiObject(kKind),
          m_style(style),
          m_colour(colour & 0xFFFFFF),
          m_usesDcColour(usesDcColour) {}

    UINT Style() const { return m_style; }
    COLORREF Colour() const { return m_colour; }
    bool IsNull() const { return m_style == BS_NULL; }
    bool UsesDcColour() const { return m_usesDcColour; }

private:
    UINT m_style;
    COLORREF m_colour;
    bool m_usesDcColour;
};

}  // namespace winapi::gdi
