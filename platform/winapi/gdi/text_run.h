// One line of text as TextOut, ExtTextOut and DrawText draw it: the cell filled with the
// background colour when the DC's mode is OPAQUE, then the glyphs in the text colour.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "platform/winapi/gdi/device_context.h"
#include "platform/winapi/gdi/painter.h"

namespace winapi::gdi {

// The characters of utf8 as the font engine counts them: code points, and each malformed piece
// as one.
std::vector<std::string_view> SplitCharacters(std::string_view utf8);

class TextRun {
public:
    // advances: ExtTextOut's lpDx, one per character; empty for the font's own.
    TextRun(const font::Font& face, std::string_view utf8, std::span<const INT> advances = {});

    int Width() const { return m_width; }
    int Height() const { return m_face.Metrics().height; }
    // Draws with the cell's top-left corner at (left, top), device coordinates.
    void Draw(const DeviceContext& dc, Painter& painter, int left, int top) const;

private:
    const font::Font& m_face;
    std::string_view m_text;
    std::span<const INT> m_advances;
    int m_width = 0;
};

}  // namespace winapi::gdi
