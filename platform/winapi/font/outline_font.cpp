#include "platform/winapi/font/outline_font.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/winapi/utf8.h"

namespace winapi::font {
namespace {

constexpr int kDefaultCellHeight = 12;  // lfHeight 0
// Larger requests are drawn at this size rather than allocating glyphs without bound.
constexpr long long kMaxPixels = 1024;
constexpr int kSemiBold = 600;
constexpr int kDefaultCharSet = 1;
constexpr int kShiftJisCharSet = 128;
constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

int Round(double value) {
    return static_cast<int>(std::lround(value));
}

// lfHeight < 0 asks for the em, > 0 for the cell (Win32's ascent + descent).
double EmPixels(int height, const StoodForFace* stoodFor, const FreeTypeFace* face) {
    long long requested = height == 0 ? kDefaultCellHeight : height;
    const bool cell = requested > 0;
    const auto pixels = static_cast<double>(std::clamp(std::llabs(requested), 1LL, kMaxPixels));
    // A stood-for face's cell is one em.
    if (!cell || stoodFor != nullptr)
        return pixels;
    const DesignMetrics design = face ? face->Design() : DesignMetrics{};
    const double em = pixels * design.unitsPerEm / (design.winAscent + design.winDescent);
    return std::max(1.0, em);
}

int ClipToInt(long long value) {
    return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

void FillRows(gdi::Surface& target, const display::Rect& area, long long left, long long right,
              long long top, long long bottom, std::uint32_t colour) {
    const long long x0 = std::max<long long>(left, area.left);
    const long long x1 = std::min<long long>(right, area.right);
    const long long y0 = std::max<long long>(top, area.top);
    const long long y1 = std::min<long long>(bottom, area.bottom);
    for (long long y = y0; y < y1; ++y) {
        std::uint32_t* row = target.Row(static_cast<int>(y));
        std::fill(row + x0, row + std::max(x0, x1), colour);
    }
}

void PaintGlyph(gdi::Surface& target, const display::Rect& area, long long left, long long top,
                const Glyph& glyph, std::uint32_t colour) {
    for (const InkRun& run : glyph.ink) {
        const long long y = top + run.row;
        if (y < area.top || y >= area.bottom)
            continue;
        FillRows(target, area, left + run.left, left + run.right, y, y + 1, colour);
    }
}

}  // namespace

OutlineFont::OutlineFont(FontSpec logFont, const StoodForFace* stoodFor,
                         std::unique_ptr<FreeTypeFace> face)
    : m_logFont(std::move(logFont)),
      m_stoodFor(stoodFor),
      m_emPixels(EmPixels(m_logFont.height, stoodFor, face.get())),
      // Win32 emboldens a face with no bold of its own; the faces stood for have none.
      m_synthesizedBold(m_logFont.weight >= kSemiBold &&
                        (stoodFor != nullptr || (face != nullptr && !face->IsBold()))),
      m_glyphs(std::move(face), m_emPixels, m_logFont.weight >= kSemiBold, m_logFont.italic) {
    m_metrics =
        m_stoodFor ? m_stoodFor->MetricsAt(Round(m_emPixels), m_synthesizedBold) : MeasureFace();
    const bool japanese = m_stoodFor != nullptr || m_glyphs.HasOwnGlyph(U'\u3042');
    m_metrics.charSet = m_logFont.charSet != kDefaultCharSet ? (m_logFont.charSet & 0xFF)
                        : japanese                           ? kShiftJisCharSet
                                                             : 0;
    m_baseUnits = m_stoodFor ? m_stoodFor->DialogBaseUnitsAt(Round(m_emPixels), m_synthesizedBold)
                             : MeasureBaseUnits();
    PlaceStrokes();
}

// TEXTMETRIC as Win32 derives it from an outline face: the cell from usWinAscent and
// usWinDescent, the external leading from what the hhea line gap adds beyond that cell.
FontMetrics OutlineFont::MeasureFace() const {
    const FreeTypeFace* face = m_glyphs.Primary();
    const DesignMetrics design = face ? face->Design() : DesignMetrics{};
    const double scale = m_emPixels / design.unitsPerEm;
    const int widen = m_synthesizedBold ? 1 : 0;
    FontMetrics metrics;
    metrics.ascent = Round(design.winAscent * scale);
    metrics.descent = Round(design.winDescent * scale);
    metrics.height = metrics.ascent + metrics.descent;
    metrics.internalLeading = std::max(0, metrics.height - Round(m_emPixels));
    const int hheaCell = design.hheaAscent + design.hheaDescent;
    const int winCell = design.winAscent + design.winDescent;
    metrics.externalLeading = std::max(0, Round((design.lineGap - (winCell - hheaCell)) * scale));
    metrics.aveCharWidth = design.averageWidth > 0 ? Round(design.averageWidth * scale) + widen
                                                   : AdvanceOf(m_glyphs.Get(U'x'));
    metrics.maxCharWidth = std::max(Round(design.maxAdvance * scale) + widen, metrics.aveCharWidth);
    metrics.weight = m_synthesizedBold ? 700 : design.weightClass;
    metrics.fixedPitch = face != nullptr && face->IsFixedPitch();
    return metrics;
}

// Win32's dialog base units: the average of A-Z a-z, rounded as (total / 26 + 1) / 2, by the
// cell height.
display::Point OutlineFont::MeasureBaseUnits() const {
    return {(TextWidth(kAlphabet) / 26 + 1) / 2, m_metrics.height};
}

void OutlineFont::PlaceStrokes() {
    const FreeTypeFace* face = m_glyphs.Primary();
    const DesignMetrics design = face ? face->Design() : DesignMetrics{};
    const double scale = m_emPixels / design.unitsPerEm;
    m_underline.thickness = std::max(1, Round(design.underlineThickness * scale));
    // Kept inside the cell, so an underline is drawn where the text's background is.
    const int lowest = std::max(0, m_metrics.descent - m_underline.thickness);
    m_underline.offset = std::clamp(Round(-design.underlinePosition * scale), 0, lowest);
    m_strikeOut.thickness = design.strikeoutSize > 0
                                ? std::max(1, Round(design.strikeoutSize * scale))
                                : m_underline.thickness;
    const int above = design.strikeoutPosition > 0 ? Round(design.strikeoutPosition * scale)
                                                   : Round(m_metrics.ascent * 0.4);
    m_strikeOut.offset = -std::clamp(above, m_strikeOut.thickness, std::max(1, m_metrics.ascent));
}

int OutlineFont::AdvanceOf(const Glyph& glyph) const {
    const int advance =
        m_stoodFor ? m_stoodFor->CellAdvance(glyph.advance, Round(m_emPixels)) : glyph.advance;
    return advance + (glyph.emboldened ? 1 : 0);
}

std::vector<int> OutlineFont::Advances(std::string_view utf8) const {
    std::vector<int> advances;
    advances.reserve(utf8.size());
    Utf8Reader reader(utf8);
    while (auto ch = reader.Next())
        advances.push_back(AdvanceOf(m_glyphs.Get(*ch)));
    return advances;
}

int OutlineFont::TextWidth(std::string_view utf8) const {
    long long width = 0;
    Utf8Reader reader(utf8);
    while (auto ch = reader.Next())
        width += AdvanceOf(m_glyphs.Get(*ch));
    return ClipToInt(width);
}

int OutlineFont::Draw(gdi::Surface& target, int x, int y, std::string_view utf8, std::uint32_t rgb,
                      const display::Rect& clip) const {
    const display::Rect area = clip.Intersect(target.Bounds());
    const std::uint32_t colour = rgb & 0xFFFFFFu;
    const long long baseline = static_cast<long long>(y) + m_metrics.ascent;
    long long pen = x;
    Utf8Reader reader(utf8);
    while (auto ch = reader.Next()) {
        const Glyph& glyph = m_glyphs.Get(*ch);
        if (!area.IsEmpty())
            PaintGlyph(target, area, pen + glyph.left, baseline - glyph.top, glyph, colour);
        pen += AdvanceOf(glyph);
    }
    if (!area.IsEmpty() && pen > x) {
        if (m_logFont.underline) {
            const long long top = baseline + m_underline.offset;
            FillRows(target, area, x, pen, top, top + m_underline.thickness, colour);
        }
        if (m_logFont.strikeOut) {
            const long long top = baseline + m_strikeOut.offset;
            FillRows(target, area, x, pen, top, top + m_strikeOut.thickness, colour);
        }
    }
    return ClipToInt(pen);
}

}  // namespace winapi::font
