// The rendered glyphs of one font (face, size and style), each rendered once. A character the
// face lacks is taken from another face that has it; with none, or for a stray byte, the face's
// default glyph stands in.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/winapi/font/freetype_face.h"
#include "platform/winapi/font/glyph.h"

namespace winapi::font {

class GlyphCache {
public:
    // primary may be null (no face at all): every character is then the default glyph.
    GlyphCache(std::unique_ptr<FreeTypeFace> primary, double emPixels, bool bold, bool italic);

    const FreeTypeFace* Primary() const { return m_primary.get(); }
    const Glyph& Get(char32_t ch);
    // Its advance and emboldening, as Get's glyph has them; where the glyph is not rendered
    // yet and the primary face has it, only loaded, without ink: text is measured far more
    // often than every glyph of it drawn.
    const Glyph& Metrics(char32_t ch);
    bool HasOwnGlyph(char32_t ch) const;

private:
    RenderStyle StyleFor(const FreeTypeFace& face) const;
    const Glyph* Rendered(char32_t ch) const;
    Glyph RenderWith(const FreeTypeFace& face, unsigned glyphIndex) const;
    Glyph RenderCharacter(char32_t ch);
    const FreeTypeFace* FallbackFace(const FaceFile& file);
    const Glyph& Default();

    std::unique_ptr<FreeTypeFace> m_primary;
    double m_emPixels;
    bool m_bold;
    bool m_italic;
    std::array<std::optional<Glyph>, 128> m_ascii;
    std::unordered_map<char32_t, Glyph> m_others;
    std::unordered_map<char32_t, Glyph> m_measured;  // not rendered yet: no ink
    std::optional<Glyph> m_default;
    std::vector<std::unique_ptr<FreeTypeFace>> m_fallbacks;
};

}  // namespace winapi::font
