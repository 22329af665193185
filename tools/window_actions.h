// What every window of the picker does with the same keys: the arrow keys aim the pointer one
// pixel at a time, and a colour is shown by painting a control's whole client rectangle.
#pragma once

#include "platform/framework/framework.h"

// Moves the pointer one pixel for an arrow key (every key-down, auto-repeats included); false for
// any other key, which is left alone.
bool NudgePointerByArrowKey(WPARAM key);

// Paints colour into a control through the control's own DC: a rectangle over its whole client
// area, filled with a solid brush and edged by the DC's default one-pixel black pen. Nothing of
// it is remembered; the owner paints it again when it repaints.
void PaintColourIntoControl(CWnd& control, COLORREF colour);
