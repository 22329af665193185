// Pieces of the classic look that the controls share: solid fills, the arrow glyphs of scroll
// bars, the radio button and check box glyphs, the 50% pattern of a scroll bar track and
// embossed (disabled) text. The 3-D edges themselves are DrawEdge's.
#pragma once

#include <string_view>

#include <windows.h>

namespace winapi::controls {

void FillColour(HDC hdc, const RECT& rect, COLORREF colour);
void FillSysColour(HDC hdc, const RECT& rect, int colourIndex);

enum class ArrowDirection { Left, Right, Up, Down };

// A solid triangle centred in rect, its size following the smaller side of rect.
void DrawArrowGlyph(HDC hdc, const RECT& rect, ArrowDirection direction, COLORREF colour);

// Pixels whose coordinates add up to an even number get even, the others odd: Win32's 50%
// pattern brush, which paints the default scroll bar track in the DC's text and background
// colours.
void FillHalftone(HDC hdc, const RECT& rect, COLORREF even, COLORREF odd);

// The 13 x 13 glyphs of radio buttons and check boxes.
constexpr int kCheckGlyphSize = 13;

struct GlyphState {
    UINT check = BST_UNCHECKED;  // BST_CHECKED or BST_INDETERMINATE
    bool pushed = false;         // held down: the well shows the button face
    bool enabled = true;
    COLORREF ink = 0;  // the dot or the check mark
};

void DrawRadioGlyph(HDC hdc, int left, int top, const GlyphState& state);
void DrawCheckGlyph(HDC hdc, int left, int top, const GlyphState& state);

// Text the classic way of a disabled control: a highlight copy one pixel down and right under
// a shadow copy. Leaves the DC transparent.
void DrawEmbossedText(HDC hdc, std::string_view text, RECT rect, UINT format);

}  // namespace winapi::controls
