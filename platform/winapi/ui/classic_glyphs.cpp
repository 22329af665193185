#include "platform/winapi/ui/classic_glyphs.h"

#include <array>
#include <string_view>

namespace winapi::ui {
namespace {

struct GlyphPattern {
    Glyph glyph;
    std::array<std::string_view, 9> rows;  // '#' is ink; unused rows are empty
};

constexpr GlyphPattern kPatterns[] = {
    {Glyph::Check, {"......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#...."}},
    {Glyph::SubmenuArrow, {"#...", "##..", "###.", "####", "###.", "##..", "#..."}},
    {Glyph::Close,
     {"##....##", ".##..##.", "..####..", "...##...", "..####..", ".##..##.", "##....##"}},
    {Glyph::Minimize, {"######", "######"}},
    {Glyph::Maximize,
     {"#########", "#########", "#.......#", "#.......#", "#.......#", "#.......#", "#.......#",
      "#.......#", "#########"}},
};

const GlyphPattern& PatternOf(Glyph glyph) {
    for (const GlyphPattern& pattern : kPatterns)
        if (pattern.glyph == glyph)
            return pattern;
    return kPatterns[0];
}

}  // namespace

SIZE GlyphSize(Glyph glyph) {
    const GlyphPattern& pattern = PatternOf(glyph);
    SIZE size{0, 0};
    for (std::string_view row : pattern.rows) {
        if (row.empty())
            break;
        size.cx = static_cast<LONG>(row.size());
        ++size.cy;
    }
    return size;
}

void DrawGlyph(HDC hdc, Glyph glyph, int x, int y, COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    const GlyphPattern& pattern = PatternOf(glyph);
    for (int row = 0; row < static_cast<int>(pattern.rows.size()); ++row) {
        const std::string_view ink = pattern.rows[static_cast<std::size_t>(row)];
        // One rectangle per run of ink in the row.
        for (std::size_t start = ink.find('#'); start != std::string_view::npos;
             start = ink.find('#', start)) {
            std::size_t end = ink.find('.', start);
            if (end == std::string_view::npos)
                end = ink.size();
            const RECT run{x + static_cast<int>(start), y + row, x + static_cast<int>(end),
                           y + row + 1};
            FillRect(hdc, &run, brush);
            start = end;
        }
    }
    DeleteObject(brush);
}

void DrawEmbossedGlyph(HDC hdc, Glyph glyph, int x, int y) {
    DrawGlyph(hdc, glyph, x + 1, y + 1, GetSysColor(COLOR_3DHIGHLIGHT));
    DrawGlyph(hdc, glyph, x, y, GetSysColor(COLOR_3DSHADOW));
}

}  // namespace winapi::ui
