// One FreeType face opened at one pixel size, with the design values that Win32's text
// metrics are computed from, and monochrome rendering of its glyphs.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/winapi/font/glyph.h"

struct FT_FaceRec_;
struct FT_LibraryRec_;

namespace winapi::font {

class MappedFontFile;

struct FaceFile {
    std::string path;
    int index = 0;
    friend bool operator==(const FaceFile&, const FaceFile&) = default;
};

// In font units. The Win32 ascent and descent (usWinAscent/usWinDescent) decide the cell.
struct DesignMetrics {
    int unitsPerEm = 1000;
    int winAscent = 800;
    int winDescent = 200;
    int hheaAscent = 800;
    int hheaDescent = 200;  // positive, below the baseline
    int lineGap = 0;
    int averageWidth = 0;  // 0 when the face does not say
    int maxAdvance = 0;
    int underlinePosition = -100;  // negative: below the baseline
    int underlineThickness = 50;
    int strikeoutPosition = 0;  // 0 when the face does not say
    int strikeoutSize = 0;
    int weightClass = 400;
};

struct RenderStyle {
    bool embolden = false;
    bool slant = false;
};

class FreeTypeFace {
public:
    // Null when the file cannot be read or is not scalable.
    static std::unique_ptr<FreeTypeFace> Open(const FaceFile& file);
    ~FreeTypeFace();
    FreeTypeFace(const FreeTypeFace&) = delete;
    FreeTypeFace& operator=(const FreeTypeFace&) = delete;

    const FaceFile& File() const { return m_file; }
    const std::string& Family() const { return m_family; }
    const DesignMetrics& Design() const { return m_design; }
    bool IsBold() const { return m_bold; }
    bool IsItalic() const { return m_italic; }
    bool IsFixedPitch() const { return m_fixedPitch; }

    // The size glyphs render at; false when the face refuses it.
    bool SetEmPixels(double emPixels);

    // 0 when the face has no glyph for ch.
    unsigned GlyphIndex(char32_t ch) const;
    // Hinted and rendered in monochrome; nothing when FreeType cannot load the glyph.
    std::optional<Glyph> Render(unsigned glyphIndex, RenderStyle style) const;
    // The advance and emboldening Render gives the glyph, from loading it alone: measuring text
    // needs no bitmap. Nothing when FreeType cannot load the glyph.
    std::optional<Glyph> Measure(unsigned glyphIndex, RenderStyle style) const;

private:
    bool Load(unsigned glyphIndex, RenderStyle style, Glyph& glyph) const;
    FreeTypeFace(std::shared_ptr<FT_LibraryRec_> library, std::shared_ptr<MappedFontFile> mapped,
                 FT_FaceRec_* face, FaceFile file);

    std::shared_ptr<FT_LibraryRec_> m_library;
    std::shared_ptr<MappedFontFile> m_mapped;  // the file's bytes, while the face reads them
    FT_FaceRec_* m_face;
    FaceFile m_file;
    std::string m_family;
    DesignMetrics m_design;
    bool m_bold = false;
    bool m_italic = false;
    bool m_fixedPitch = false;
};

}  // namespace winapi::font
