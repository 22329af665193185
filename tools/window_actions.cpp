#include "tools/window_actions.h"

bool NudgePointerByArrowKey(WPARAM key) {
    int dx = 0;
    int dy = 0;
    switch (key) {
        case VK_LEFT:
            dx = -1;
            break;
        case VK_UP:
            dy = -1;
            break;
        case VK_RIGHT:
            dx = 1;
            break;
        case VK_DOWN:
            dy = 1;
            break;
        default:
            return false;
    }
    POINT pointer;
    GetCursorPos(&pointer);
    SetCursorPos(pointer.x + dx, pointer.y + dy);
    return true;
}

void PaintColourIntoControl(CWnd& control, COLORREF colour) {
    // Declared first so that it outlives the DC: the brush is deleted after the DC is released.
    CBrush brush;
    CClientDC dc(&control);
    brush.CreateSolidBrush(colour);
    CBrush* pOldBrush = dc.SelectObject(&brush);
    CRect rect;
    control.GetClientRect(&rect);
    dc.Rectangle(rect.left, rect.top, rect.right, rect.bottom);
    dc.SelectObject(pOldBrush);
}
