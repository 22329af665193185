// The small pixel glyphs of the classic look: the menu check mark and submenu arrow, and the
// close, minimise and maximise marks of the caption boxes, each drawn pixel for pixel in one
// colour as the classic system's marks are.
#pragma once

#include <windows.h>

namespace winapi::ui {

enum class Glyph { Check, SubmenuArrow, Close, Minimize, Maximize };

SIZE GlyphSize(Glyph glyph);
void DrawGlyph(HDC hdc, Glyph glyph, int x, int y, COLORREF colour);
// A disabled mark: a highlight copy one pixel down and right under a shadow-coloured one.
void DrawEmbossedGlyph(HDC hdc, Glyph glyph, int x, int y);

}  // namespace winapi::ui
