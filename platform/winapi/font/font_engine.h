// Fonts for GDI: faces found through fontconfig, drawn with FreeType. The Japanese dialog
// faces resolve to metric-compatible faces, and their layout metrics (the dialog base units)
// are those of the faces they stand for, whatever face finally draws.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/display/backend.h"
#include "platform/winapi/surface/surface.h"

namespace winapi::font {

// What a LOGFONT asks for.
struct FontSpec {
    std::string face;  // UTF-8, as in lfFaceName
    int height = 0;    // lfHeight: < 0 character height, > 0 cell height, 0 default
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charSet = 1;
};

// TEXTMETRIC's values, in pixels.
struct FontMetrics {
    int height = 0;
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int externalLeading = 0;
    int aveCharWidth = 0;
    int maxCharWidth = 0;
    int weight = 400;
    bool fixedPitch = false;
    int charSet = 1;
};

class Font {
public:
    virtual ~Font() = default;

    virtual const FontMetrics& Metrics() const = 0;
    // The face name as requested (what GetTextFace reports).
    virtual const std::string& FaceName() const = 0;
    // Dialog base units (x, y) of a dialog using this font, as Win32 computes them.
    virtual display::Point DialogBaseUnits() const = 0;
    // Advance widths, one per character (code point) of utf8; invalid bytes count as one
    // character each.
    virtual std::vector<int> Advances(std::string_view utf8) const = 0;
    virtual int TextWidth(std::string_view utf8) const = 0;
    // Draws utf8 with the top of its cell at y and its pen starting at x, in colour rgb
    // (0x00RRGGBB), only inside clip (surface pixels). Returns the pen's end x.
    virtual int Draw(gdi::Surface& target, int x, int y, std::string_view utf8, std::uint32_t rgb,
                     const display::Rect& clip) const = 0;
};

// Never null: a face that cannot be found falls back to another without changing metrics
// the layout depends on.
std::shared_ptr<const Font> OpenFont(const FontSpec& spec);

}  // namespace winapi::font
