// A font drawn from FreeType outlines in monochrome, with Win32's text metrics. When it
// stands for a face this system lacks, the layout metrics are that face's.
#pragma once

#include <memory>

#include "platform/winapi/font/font_engine.h"
#include "platform/winapi/font/glyph_cache.h"
#include "platform/winapi/font/stood_for_face.h"

namespace winapi::font {

class OutlineFont final : public Font {
public:
    // face may be null (nothing to draw with): glyphs are then boxes.
    OutlineFont(FontSpec logFont, const StoodForFace* stoodFor, std::unique_ptr<FreeTypeFace> face);

    const FontMetrics& Metrics() const override { return m_metrics; }
    const std::string& FaceName() const override { return m_logFont.face; }
    display::Point DialogBaseUnits() const override { return m_baseUnits; }
    std::vector<int> Advances(std::string_view utf8) const override;
    int TextWidth(std::string_view utf8) const override;
    int Draw(gdi::Surface& target, int x, int y, std::string_view utf8, std::uint32_t rgb,
             const display::Rect& clip) const override;

    // The face that draws, for diagnostics and tests; null when there is none.
    const FreeTypeFace* DrawingFace() const { return m_glyphs.Primary(); }

private:
    // Rows from the baseline (down is positive) and how many.
    struct Stroke {
        int offset = 0;
        int thickness = 1;
    };

    int AdvanceOf(const Glyph& glyph) const;
    FontMetrics MeasureFace() const;
    display::Point MeasureBaseUnits() const;
    void PlaceStrokes();

    FontSpec m_logFont;
    const StoodForFace* m_stoodFor;
    double m_emPixels;
    bool m_synthesizedBold;
    mutable GlyphCache m_glyphs;
    FontMetrics m_metrics;
    display::Point m_baseUnits;
    Stroke m_underline;
    Stroke m_strikeOut;
};

}  // namespace winapi::font
