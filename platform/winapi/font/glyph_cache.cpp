#include "platform/winapi/font/glyph_cache.h"

#include <algorithm>
#include <cmath>

#include "platform/winapi/font/face_resolver.h"

namespace winapi::font {
namespace {

// East Asian wide characters, which take a whole em where a box has to stand in for them.
bool IsWide(char32_t ch) {
    struct Range {
        char32_t first;
        char32_t last;
    };
    constexpr Range kWide[] = {{0x1100, 0x115F}, {0x2E80, 0x303E}, {0x3041, 0xA4CF},
                               {0xAC00, 0xD7A3}, {0xF900, 0xFAFF}, {0xFE30, 0xFE4F},
                               {0xFF00, 0xFF60}, {0xFFE0, 0xFFE6}, {0x20000, 0x3FFFD}};
    for (const Range& range : kWide) {
        if (ch >= range.first && ch <= range.last)
            return true;
    }
    return false;
}

// A hollow box, for a default glyph that a face draws empty or a font with no face.
Glyph BoxGlyph(double emPixels, bool wide) {
    const int em = std::max(4, static_cast<int>(std::lround(emPixels)));
    Glyph box;
    box.advance = wide ? em : (em + 1) / 2;
    const auto width = static_cast<std::int16_t>(std::max(2, box.advance - 2));
    const int rows = std::max(3, em * 7 / 10);
    box.left = 1;
    box.top = rows;
    for (int row = 0; row < rows; ++row) {
        const auto r = static_cast<std::int16_t>(row);
        if (row == 0 || row == rows - 1) {
            box.ink.push_back({r, 0, width});
            continue;
        }
        box.ink.push_back({r, 0, 1});
        box.ink.push_back({r, static_cast<std::int16_t>(width - 1), width});
    }
    return box;
}

}  // namespace

GlyphCache::GlyphCache(std::unique_ptr<FreeTypeFace> primary, double emPixels, bool bold,
                       bool italic)
    : m_primary(std::move(primary)), m_emPixels(emPixels), m_bold(bold), m_italic(italic) {
    if (m_primary && !m_primary->SetEmPixels(emPixels))
        m_primary.reset();
}

const Glyph& GlyphCache::Get(char32_t ch) {
    if (ch < m_ascii.size()) {
        auto& slot = m_ascii[ch];
        if (!slot)
            slot = RenderCharacter(ch);
        return *slot;
    }
    if (auto found = m_others.find(ch); found != m_others.end())
        return found->second;
    return m_others.emplace(ch, RenderCharacter(ch)).first->second;
}

bool GlyphCache::HasOwnGlyph(char32_t ch) const {
    return m_primary && m_primary->GlyphIndex(ch) != 0;
}

Glyph GlyphCache::RenderWith(const FreeTypeFace& face, unsigned glyphIndex) const {
    const RenderStyle style{m_bold && !face.IsBold(), m_italic && !face.IsItalic()};
    if (auto glyph = face.Render(glyphIndex, style))
        return std::move(*glyph);
    return BoxGlyph(m_emPixels, false);
}

Glyph GlyphCache::RenderCharacter(char32_t ch) {
    if (!m_primary)
        return BoxGlyph(m_emPixels, IsWide(ch));
    if (const unsigned index = m_primary->GlyphIndex(ch); index != 0)
        return RenderWith(*m_primary, index);
    if (auto file = FindFaceWith(ch, m_primary->Family())) {
        if (const FreeTypeFace* face = FallbackFace(*file)) {
            if (const unsigned index = face->GlyphIndex(ch); index != 0)
                return RenderWith(*face, index);
        }
    }
    return Default();
}

const FreeTypeFace* GlyphCache::FallbackFace(const FaceFile& file) {
    if (m_primary && m_primary->File() == file)
        return nullptr;
    for (const auto& face : m_fallbacks) {
        if (face->File() == file)
            return face.get();
    }
    auto face = FreeTypeFace::Open(file);
    if (!face || !face->SetEmPixels(m_emPixels))
        return nullptr;
    m_fallbacks.push_back(std::move(face));
    return m_fallbacks.back().get();
}

const Glyph& GlyphCache::Default() {
    if (m_default)
        return *m_default;
    if (m_primary) {
        Glyph notdef = RenderWith(*m_primary, 0);
        if (!notdef.ink.empty())
            return m_default.emplace(std::move(notdef));
    }
    return m_default.emplace(BoxGlyph(m_emPixels, false));
}

}  // namespace winapi::font
