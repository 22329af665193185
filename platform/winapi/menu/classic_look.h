// The drawing primitives of the classic look that menus and the window frame share: 3-D edges
// of two one-pixel rings, and the small pixel glyphs (the menu check mark and submenu arrow,
// the close, minimise and maximise marks of the caption boxes), each drawn pixel for pixel in
// one colour as the classic system's marks are.
#pragma once

#include <windows.h>

namespace winapi::menu {

enum class Edge {
    Raised,      // windows and menus: EDGE_RAISED
    Sunken,      // the client edge: EDGE_SUNKEN
    ButtonUp,    // push buttons and caption boxes
    ButtonDown,  // ... while pressed
};

// Draws the edge's two rings just inside rect and returns what lies inside them.
RECT DrawClassicEdge(HDC hdc, RECT rect, Edge edge);

enum class Glyph { Check, SubmenuArrow, Close, Minimize, Maximize };

SIZE GlyphSize(Glyph glyph);
void DrawGlyph(HDC hdc, Glyph glyph, int x, int y, COLORREF colour);
// A disabled mark: a highlight copy one pixel down and right under a shadow-coloured one.
void DrawEmbossedGlyph(HDC hdc, Glyph glyph, int x, int y);

}  // namespace winapi::menu
