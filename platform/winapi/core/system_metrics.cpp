// System metrics with the classic values, so that window sizes come out as the program's
// layout expects: a 202 x 200 dialog with a 3 px frame and a 19 px caption has a 196 x 175
// client area.
#include "platform/winapi/core/internal.h"
#include "platform/winapi/host.h"

namespace {

struct Metric {
    int index;
    int value;
};

// The menu check box follows the menu font: its height and external leading made the next
// odd number down, ((height + leading + 1) / 2) * 2 - 1. The Japanese menu face at 9 point is
// 12 px high with no leading, so 11 (the Western 13 px face gives the familiar 13).
constexpr int kMenuCheck = 11;

constexpr Metric kMetrics[] = {
    {SM_CXVSCROLL, 16},
    {SM_CYHSCROLL, 16},
    {SM_CYCAPTION, 19},
    {SM_CXBORDER, 1},
    {SM_CYBORDER, 1},
    {SM_CXDLGFRAME, 3},
    {SM_CYDLGFRAME, 3},
    {SM_CYVTHUMB, 16},
    {SM_CXHTHUMB, 16},
    {SM_CXICON, 32},
    {SM_CYICON, 32},
    {SM_CXCURSOR, 32},
    {SM_CYCURSOR, 32},
    {SM_CYMENU, 19},
    {SM_CYVSCROLL, 16},
    {SM_CXHSCROLL, 16},
    {SM_CXMIN, 112},
    {SM_CYMIN, 27},
    {SM_CXSIZE, 18},
    {SM_CYSIZE, 18},
    {SM_CXFRAME, 4},
    {SM_CYFRAME, 4},
    {SM_CXMINTRACK, 112},
    {SM_CYMINTRACK, 27},
    {SM_CXDOUBLECLK, 4},
    {SM_CYDOUBLECLK, 4},
    {SM_CXEDGE, 2},
    {SM_CYEDGE, 2},
    {SM_CXSMICON, 16},
    {SM_CYSMICON, 16},
    {SM_CYSMCAPTION, 15},
    {SM_CXSMSIZE, 12},
    {SM_CYSMSIZE, 14},
    {SM_CXMENUSIZE, 18},
    {SM_CYMENUSIZE, 18},
    {SM_CXMINIMIZED, 160},
    {SM_CYMINIMIZED, 24},
    {SM_CXMENUCHECK, kMenuCheck},
    {SM_CYMENUCHECK, kMenuCheck},
    {SM_CMONITORS, 1},
};

}  // namespace

int WINAPI GetSystemMetrics(int nIndex) {
    const display::Rect screen = winapi::CurrentBackend().ScreenBounds();
    switch (nIndex) {
        case SM_CXSCREEN:
        case SM_CXVIRTUALSCREEN:
            return screen.Width();
        case SM_CYSCREEN:
        case SM_CYVIRTUALSCREEN:
            return screen.Height();
        case SM_XVIRTUALSCREEN:
            return screen.left;
        case SM_YVIRTUALSCREEN:
            return screen.top;
        case SM_CXFULLSCREEN:
            return screen.Width();
        case SM_CYFULLSCREEN:
            return screen.Height() - 19;
        default:
            break;
    }
    for (const Metric& metric : kMetrics)
        if (metric.index == nIndex)
            return metric.value;
    return 0;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR lpCursorName) {
    // The pointer's look belongs to the display; a cursor handle only has to be a valid one.
    static int stockCursor;
    if (lpCursorName == nullptr)
        return nullptr;
    return reinterpret_cast<HCURSOR>(&stockCursor);
}

// Only remembered: every window shows the display's own pointer, the one cursor there is.
HCURSOR WINAPI SetCursor(HCURSOR hCursor) {
    static HCURSOR current = nullptr;
    const HCURSOR old = current;
    current = hCursor;
    return old;
}

// Every sound type rings the display's one bell; there are no sound schemes to choose from.
BOOL WINAPI MessageBeep(UINT) {
    if (!winapi::HasSession())
        return FALSE;
    winapi::CurrentBackend().Bell();
    return TRUE;
}
