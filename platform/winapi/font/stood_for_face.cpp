#include "platform/winapi/font/stood_for_face.h"

#include <cmath>

namespace winapi::font {
namespace {

constexpr int kAlphabetLength = 52;

int HalfCell(int emPixels) {
    return (emPixels + 1) / 2;
}

}  // namespace

FontMetrics StoodForFace::MetricsAt(int emPixels, bool embolden) const {
    FontMetrics metrics;
    metrics.height = emPixels;
    metrics.ascent = static_cast<int>(std::lround(emPixels * m_ascentEm));
    metrics.descent = emPixels - metrics.ascent;
    metrics.internalLeading = 0;
    metrics.externalLeading = 0;
    const int widen = embolden ? 1 : 0;
    metrics.aveCharWidth = static_cast<int>(std::lround(emPixels * m_averageWidthEm)) + widen;
    metrics.maxCharWidth = emPixels + widen;
    metrics.weight = embolden ? 700 : 400;
    metrics.fixedPitch = m_fixedPitch;
    metrics.charSet = 128;
    return metrics;
}

display::Point StoodForFace::DialogBaseUnitsAt(int emPixels, bool embolden) const {
    int alphabetWidth = static_cast<int>(m_alphabetWidthEm * emPixels);
    if (embolden)
        alphabetWidth += kAlphabetLength;
    return {(alphabetWidth / 26 + 1) / 2, emPixels};
}

int StoodForFace::CellAdvance(int glyphAdvance, int emPixels) const {
    if (!m_fixedPitch)
        return glyphAdvance;
    return glyphAdvance * 4 <= emPixels * 3 ? HalfCell(emPixels) : emPixels;
}

const StoodForFace& FixedGothic() {
    // Ascent 220 of 256 units; half-width glyphs are half an em.
    static constexpr StoodForFace face(220.0 / 256, 0.5, 26.0, true);
    return face;
}

const StoodForFace& ProportionalGothic() {
    // The alphabet's design width, 30.76 em, averages 7.08 px at em 12: base unit 7.
    static constexpr StoodForFace face(220.0 / 256, 956.0 / 2048, 62998.0 / 2048, false);
    return face;
}

}  // namespace winapi::font
