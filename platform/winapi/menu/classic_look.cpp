#include "platform/winapi/menu/classic_look.h"

#include <array>
#include <string_view>

namespace winapi::menu {
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

struct EdgeColours {
    Edge edge;
    int outerLight, outerDark, innerLight, innerDark;
};

constexpr EdgeColours kEdges[] = {
    {Edge::Raised, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_3DHIGHLIGHT, COLOR_3DSHADOW},
    {Edge::Sunken, COLOR_3DSHADOW, COLOR_3DHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT},
    {Edge::ButtonUp, COLOR_3DHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT, COLOR_3DSHADOW},
    {Edge::ButtonDown, COLOR_3DDKSHADOW, COLOR_3DHIGHLIGHT, COLOR_3DSHADOW, COLOR_3DLIGHT},
};

void Fill(HDC hdc, const RECT& rect, int colour) {
    FillRect(hdc, &rect, GetSysColorBrush(colour));
}

// Light along the top and left, dark along the bottom and right; the dark side owns the
// bottom-left and top-right corners.
void Ring(HDC hdc, const RECT& r, int light, int dark) {
    Fill(hdc, {r.left, r.top, r.right - 1, r.top + 1}, light);
    Fill(hdc, {r.left, r.top, r.left + 1, r.bottom - 1}, light);
    Fill(hdc, {r.left, r.bottom - 1, r.right, r.bottom}, dark);
    Fill(hdc, {r.right - 1, r.top, r.right, r.bottom}, dark);
}

const GlyphPattern& PatternOf(Glyph glyph) {
    for (const GlyphPattern& pattern : kPatterns)
        if (pattern.glyph == glyph)
            return pattern;
    return kPatterns[0];
}

}  // namespace

RECT DrawClassicEdge(HDC hdc, RECT rect, Edge edge) {
    for (const EdgeColours& colours : kEdges) {
        if (colours.edge != edge)
            continue;
        Ring(hdc, rect, colours.outerLight, colours.outerDark);
        InflateRect(&rect, -1, -1);
        Ring(hdc, rect, colours.innerLight, colours.innerDark);
        InflateRect(&rect, -1, -1);
        break;
    }
    return rect;
}

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

}  // namespace winapi::menu
