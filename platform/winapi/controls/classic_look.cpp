#include "platform/winapi/controls/classic_look.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

#include "platform/winapi/controls/control_paint.h"

namespace winapi::controls {
namespace {

// Radio button glyph: the outer ring (o), the inner ring (i), the well (w) and the dot (d)
// that sits in the well of a checked button. Of each ring the upper-left half is dark and the
// lower-right half light, so the well looks sunken.
constexpr std::array<const char*, 12> kRadioGlyph{
    "....oooo....",  //
    "..ooiiiioo..",  //
    ".oiiwwwwiio.",  //
    ".oiwwwwwwio.",  //
    "oiwwwddwwwio",  //
    "oiwwddddwwio",  //
    "oiwwddddwwio",  //
    "oiwwwddwwwio",  //
    ".oiwwwwwwio.",  //
    ".oiiwwwwiio.",  //
    "..ooiiiioo..",  //
    "....oooo....",  //
};

// The check mark, drawn 3 pixels in from the check box's corner.
constexpr std::array<const char*, 7> kCheckMark{
    "......x",  //
    ".....xx",  //
    "x...xxx",  //
    "xx.xxx.",  //
    "xxxxx..",  //
    ".xxx...",  //
    "..x....",  //
};

COLORREF Sys(int index) {
    return GetSysColor(index);
}

COLORREF WellColour(const GlyphState& state) {
    return (state.pushed || !state.enabled) ? Sys(COLOR_BTNFACE) : Sys(COLOR_WINDOW);
}

COLORREF InkColour(const GlyphState& state) {
    return state.enabled ? state.ink : Sys(COLOR_GRAYTEXT);
}

}  // namespace

void FillColour(HDC hdc, const RECT& rect, COLORREF colour) {
    const COLORREF old = SetDCBrushColor(hdc, colour);
    FillRect(hdc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
    SetDCBrushColor(hdc, old);
}

void FillSysColour(HDC hdc, const RECT& rect, int colourIndex) {
    FillRect(hdc, &rect, GetSysColorBrush(colourIndex));
}

void DrawArrowGlyph(HDC hdc, const RECT& rect, ArrowDirection direction, COLORREF colour) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    // A 16-pixel button gets a triangle 4 deep with a 7-pixel base.
    const int depth = std::max(1, (std::min(width, height) - 4) / 3);
    const bool horizontal = direction == ArrowDirection::Left || direction == ArrowDirection::Right;
    const int alongStart =
        (horizontal ? rect.left : rect.top) + ((horizontal ? width : height) - depth) / 2;
    const int acrossCentre =
        (horizontal ? rect.top : rect.left) + ((horizontal ? height : width) - 1) / 2;
    for (int step = 0; step < depth; ++step) {
        // step 0 is the tip; each step further the line grows by a pixel at both ends.
        const bool tipFirst = direction == ArrowDirection::Left || direction == ArrowDirection::Up;
        const int along = alongStart + (tipFirst ? step : depth - 1 - step);
        const int from = acrossCentre - step;
        const int to = acrossCentre + step + 1;
        const RECT line =
            horizontal ? RECT{along, from, along + 1, to} : RECT{from, along, to, along + 1};
        FillColour(hdc, line, colour);
    }
}

// Built as an image and copied in one blit: a pixel at a time would cost a drawing call each.
void FillHalftone(HDC hdc, const RECT& rect, COLORREF even, COLORREF odd) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    // 32-bit bitmap rows hold B, G, R and an unused byte: 0x00RRGGBB as a little-endian word.
    const auto pixel = [](COLORREF colour) {
        return (static_cast<std::uint32_t>(GetRValue(colour)) << 16) |
               (static_cast<std::uint32_t>(GetGValue(colour)) << 8) | GetBValue(colour);
    };
    std::vector<std::uint32_t> image(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image[static_cast<std::size_t>(y) * width + x] =
                ((rect.left + x + rect.top + y) & 1) == 0 ? pixel(even) : pixel(odd);
    const MemoryDc source(hdc);
    const OwnedObject bitmap(CreateBitmap(width, height, 1, 32, image.data()));
    const SelectedObject selected(source.Dc(), bitmap.Get());
    BitBlt(hdc, rect.left, rect.top, width, height, source.Dc(), 0, 0, SRCCOPY);
}

void DrawRadioGlyph(HDC hdc, int left, int top, const GlyphState& state) {
    const int last = static_cast<int>(kRadioGlyph.size()) - 1;
    for (int y = 0; y <= last; ++y) {
        for (int x = 0; kRadioGlyph[y][x] != '\0'; ++x) {
            const bool upperLeft = x + y < last;
            COLORREF colour = 0;
            switch (kRadioGlyph[y][x]) {
                case 'o':
                    colour = Sys(upperLeft ? COLOR_3DSHADOW : COLOR_3DHILIGHT);
                    break;
                case 'i':
                    colour = Sys(upperLeft ? COLOR_3DDKSHADOW : COLOR_3DLIGHT);
                    break;
                case 'w':
                    colour = WellColour(state);
                    break;
                case 'd':
                    colour = state.check != BST_UNCHECKED ? InkColour(state) : WellColour(state);
                    break;
                default:
                    continue;
            }
            SetPixel(hdc, left + x, top + y, colour);
        }
    }
}

void DrawCheckGlyph(HDC hdc, int left, int top, const GlyphState& state) {
    RECT box{left, top, left + kCheckGlyphSize, top + kCheckGlyphSize};
    DrawEdge(hdc, &box, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    FillColour(hdc, box, WellColour(state));
    if (state.check == BST_UNCHECKED)
        return;
    // An indeterminate box shows its mark in grey.
    const COLORREF ink = state.check == BST_INDETERMINATE ? Sys(COLOR_BTNSHADOW) : InkColour(state);
    for (int y = 0; y < static_cast<int>(kCheckMark.size()); ++y)
        for (int x = 0; kCheckMark[y][x] != '\0'; ++x)
            if (kCheckMark[y][x] == 'x')
                SetPixel(hdc, left + 3 + x, top + 3 + y, ink);
}

void DrawEmbossedText(HDC hdc, std::string_view text, RECT rect, UINT format) {
    SetBkMode(hdc, TRANSPARENT);
    RECT light = rect;
    OffsetRect(&light, 1, 1);
    SetTextColor(hdc, Sys(COLOR_3DHILIGHT));
    DrawTextA(hdc, text.data(), static_cast<int>(text.size()), &light, format);
    SetTextColor(hdc, Sys(COLOR_3DSHADOW));
    DrawTextA(hdc, text.data(), static_cast<int>(text.size()), &rect, format);
}

}  // namespace winapi::controls
