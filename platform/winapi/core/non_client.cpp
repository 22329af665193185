// The classic frame: raised 3-D edges, a caption bar in the active or inactive colour with the
// title, and the hit-test codes of its parts.
#include "platform/winapi/core/non_client.h"

#include <windowsx.h>

#include "platform/winapi/core/internal.h"

namespace winapi::core {
namespace {

bool HasCaption(const Window& w) { return (w.style & WS_CAPTION) == WS_CAPTION; }

RECT CaptionRect(const Window& w) {
    // The caption sits inside the frame; the client edge lies below it.
    const int edge =
        NonClientInsets(w.style, w.exStyle & ~static_cast<DWORD>(WS_EX_CLIENTEDGE | WS_EX_STATICEDGE)).left;
    const int width = w.windowRect.right - w.windowRect.left;
    const int height = GetSystemMetrics((w.exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION) - 1;
    return {edge, edge, width - edge, edge + height};
}

void FillSolid(HDC hdc, const RECT& rect, int colorIndex) { FillRect(hdc, &rect, GetSysColorBrush(colorIndex)); }

// One ring of a raised edge: light on the top and left, dark on the bottom and right.
void EdgeRing(HDC hdc, const RECT& r, int light, int dark) {
    FillSolid(hdc, {r.left, r.top, r.right - 1, r.top + 1}, light);
    FillSolid(hdc, {r.left, r.top, r.left + 1, r.bottom - 1}, light);
    FillSolid(hdc, {r.left, r.bottom - 1, r.right, r.bottom}, dark);
    FillSolid(hdc, {r.right - 1, r.top, r.right, r.bottom}, dark);
}

}  // namespace

LRESULT NonClientHitTest(HWND hwnd, POINT screen) {
    const Window* w = PeekWindowRecord(hwnd);
    if (w == nullptr) return HTNOWHERE;
    const RECT outer = ScreenWindowRect(*w);
    if (!PtInRect(&outer, screen)) return HTNOWHERE;
    if (w->minimized) return HTCAPTION;
    const RECT client = ScreenClientRect(*w);
    if (PtInRect(&client, screen)) return HTCLIENT;
    if (HasCaption(*w)) {
        RECT caption = CaptionRect(*w);
        OffsetRect(&caption, outer.left, outer.top);
        if (PtInRect(&caption, screen)) return HTCAPTION;
    }
    return HTBORDER;
}

void PaintNonClient(HWND hwnd) {
    const Window* w = PeekWindowRecord(hwnd);
    if (w == nullptr || w->minimized) return;
    const Insets insets = NonClientInsets(w->style, w->exStyle);
    if (insets.left == 0 && insets.top == 0) return;
    HDC hdc = GetWindowDC(hwnd);
    if (hdc == nullptr) return;
    const RECT outer{0, 0, w->windowRect.right - w->windowRect.left, w->windowRect.bottom - w->windowRect.top};
    RECT ring = outer;
    const bool dialogFrame = (w->style & (WS_DLGFRAME | WS_THICKFRAME)) || (w->exStyle & WS_EX_DLGMODALFRAME);
    if (dialogFrame) {
        EdgeRing(hdc, ring, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
        InflateRect(&ring, -1, -1);
        EdgeRing(hdc, ring, COLOR_3DHIGHLIGHT, COLOR_3DSHADOW);
        InflateRect(&ring, -1, -1);
        for (int i = 2; i < insets.left - ((w->exStyle & WS_EX_CLIENTEDGE) ? 2 : 0); ++i) {
            FrameRect(hdc, &ring, GetSysColorBrush(COLOR_BTNFACE));
            InflateRect(&ring, -1, -1);
        }
    } else if (w->style & WS_BORDER) {
        FrameRect(hdc, &ring, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&ring, -1, -1);
    }
    if (HasCaption(*w)) {
        const bool active = GetActiveWindow() == hwnd;
        const RECT caption = CaptionRect(*w);
        FillSolid(hdc, caption, active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
        FillSolid(hdc, {caption.left, caption.bottom, caption.right, caption.bottom + 1}, COLOR_BTNFACE);
        RECT text = caption;
        text.left += 4;
        SetBkMode(hdc, TRANSPARENT);
        SetTextColor(hdc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
        DrawTextA(hdc, w->text.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    if (w->exStyle & WS_EX_CLIENTEDGE) {
        RECT edge = ScreenClientRect(*w);
        const RECT screenOuter = ScreenWindowRect(*w);
        OffsetRect(&edge, -screenOuter.left, -screenOuter.top);
        InflateRect(&edge, 2, 2);
        EdgeRing(hdc, edge, COLOR_3DSHADOW, COLOR_3DHIGHLIGHT);
        InflateRect(&edge, -1, -1);
        EdgeRing(hdc, edge, COLOR_3DDKSHADOW, COLOR_3DLIGHT);
    }
    ReleaseDC(hwnd, hdc);
}

LRESULT HandleNonClientCommand(HWND, WPARAM) { return 0; }

LRESULT HandleNonClientMouse(HWND, UINT, WPARAM, LPARAM) { return 0; }

LRESULT HandleNonClientKey(HWND, UINT, WPARAM, LPARAM) { return 0; }

}  // namespace winapi::core
