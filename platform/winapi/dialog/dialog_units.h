// Dialog units: a quarter of the dialog font's average character width across, an eighth of its
// height down. Win32 converts each template number on its own with MulDiv, so a control's right
// edge is x + width converted separately, never the converted sum.
#pragma once

#include <windows.h>

namespace winapi::dialog {

class DialogUnits {
public:
    constexpr DialogUnits(int baseX, int baseY) : m_baseX(baseX), m_baseY(baseY) {}

    // The classic system font's cell: 8 x 16 pixels, the Japanese one as much as the Western
    // one (its half-width characters are 8 x 16 bitmaps).
    static constexpr DialogUnits System() { return {8, 16}; }

    constexpr int BaseX() const { return m_baseX; }
    constexpr int BaseY() const { return m_baseY; }
    int X(int units) const { return MulDiv(units, m_baseX, 4); }
    int Y(int units) const { return MulDiv(units, m_baseY, 8); }
    RECT Rect(int x, int y, int cx, int cy) const {
        return {X(x), Y(y), X(x) + X(cx), Y(y) + Y(cy)};
    }

private:
    int m_baseX;
    int m_baseY;
};

}  // namespace winapi::dialog
