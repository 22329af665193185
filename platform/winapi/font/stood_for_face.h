// The faces the dialog templates name but that this system does not have. Their layout
// metrics (cell, dialog base units, fixed pitch) are fixed here from the real faces, so
// dialogs keep their size whatever face finally draws the text.
#pragma once

#include "platform/display/backend.h"
#include "platform/winapi/font/font_engine.h"

namespace winapi::font {

class StoodForFace {
public:
    // Design values per em; the cell is exactly one em tall at every size.
    constexpr StoodForFace(double ascentEm, double averageWidthEm, double alphabetWidthEm,
                           bool fixedPitch)
        : m_ascentEm(ascentEm),
          m_averageWidthEm(averageWidthEm),
          m_alphabetWidthEm(alphabetWidthEm),
          m_fixedPitch(fixedPitch) {}

    bool FixedPitch() const { return m_fixedPitch; }

    // TEXTMETRIC at an em of emPixels; embolden adds Win32's one-pixel widening.
    FontMetrics MetricsAt(int emPixels, bool embolden) const;
    // What Win32 computes from A-Z a-z and the cell height. At 9 pt (em 12) these are the
    // measured 6 x 12 (fixed pitch) and 7 x 12 (proportional); other sizes scale the
    // alphabet's design width linearly with the em.
    display::Point DialogBaseUnitsAt(int emPixels, bool embolden) const;
    // A fixed-pitch face advances by half or whole cells: a narrow glyph of the face that
    // draws takes a half cell, anything wider a whole one.
    int CellAdvance(int glyphAdvance, int emPixels) const;

private:
    double m_ascentEm;
    double m_averageWidthEm;
    double m_alphabetWidthEm;
    bool m_fixedPitch;
};

// The fixed-pitch and the proportional Japanese Gothic of the dialog templates.
const StoodForFace& FixedGothic();
const StoodForFace& ProportionalGothic();

}  // namespace winapi::font
