// DrawEdge in the classic colours. Each of the two rings is one pixel wide; the top and left
// sides take the ring's upper-left colour and the bottom and right sides its lower-right
// colour, which also owns the two corners where they meet.
#include <windows.h>

#include "platform/winapi/controls/classic_look.h"

namespace {

constexpr UINT kRaisedOuter = BDR_RAISEDOUTER;
constexpr UINT kSunkenOuter = BDR_SUNKENOUTER;
constexpr UINT kRaisedInner = BDR_RAISEDINNER;
constexpr UINT kSunkenInner = BDR_SUNKENINNER;

struct RingColours {
    int upperLeft;
    int lowerRight;
};

// BF_SOFT moves the lighter colour outward on a raised edge and the darker one outward on a
// sunken edge.
RingColours OuterColours(bool raised, UINT flags) {
    if ((flags & BF_MONO) != 0)
        return {COLOR_WINDOWFRAME, COLOR_WINDOWFRAME};
    if ((flags & BF_FLAT) != 0)
        return {COLOR_3DSHADOW, COLOR_3DSHADOW};
    const bool soft = (flags & BF_SOFT) != 0;
    if (raised)
        return {soft ? COLOR_3DHILIGHT : COLOR_3DLIGHT, COLOR_3DDKSHADOW};
    return {soft ? COLOR_3DDKSHADOW : COLOR_3DSHADOW, COLOR_3DHILIGHT};
}

RingColours InnerColours(bool raised, UINT flags) {
    if ((flags & BF_MONO) != 0)
        return {COLOR_WINDOW, COLOR_WINDOW};
    if ((flags & BF_FLAT) != 0)
        return {COLOR_BTNFACE, COLOR_BTNFACE};
    const bool soft = (flags & BF_SOFT) != 0;
    if (raised)
        return {soft ? COLOR_3DLIGHT : COLOR_3DHILIGHT, COLOR_3DSHADOW};
    return {soft ? COLOR_3DSHADOW : COLOR_3DDKSHADOW, COLOR_3DLIGHT};
}

// Draws one ring on the sides in flags and moves those sides of rect inward past it.
void DrawRing(HDC hdc, RECT& rect, RingColours colours, UINT flags) {
    using winapi::controls::FillSysColour;
    const int trimRight = (flags & BF_RIGHT) != 0 ? 1 : 0;
    const int trimBottom = (flags & BF_BOTTOM) != 0 ? 1 : 0;
    if ((flags & BF_TOP) != 0)
        FillSysColour(hdc, {rect.left, rect.top, rect.right - trimRight, rect.top + 1},
                      colours.upperLeft);
    if ((flags & BF_LEFT) != 0)
        FillSysColour(hdc, {rect.left, rect.top, rect.left + 1, rect.bottom - trimBottom},
                      colours.upperLeft);
    if ((flags & BF_BOTTOM) != 0)
        FillSysColour(hdc, {rect.left, rect.bottom - 1, rect.right, rect.bottom},
                      colours.lowerRight);
    if ((flags & BF_RIGHT) != 0)
        FillSysColour(hdc, {rect.right - 1, rect.top, rect.right, rect.bottom}, colours.lowerRight);
    if ((flags & BF_LEFT) != 0)
        ++rect.left;
    if ((flags & BF_TOP) != 0)
        ++rect.top;
    if ((flags & BF_RIGHT) != 0)
        --rect.right;
    if ((flags & BF_BOTTOM) != 0)
        --rect.bottom;
}

// One ring of edge: raised, sunken, or (both or neither bit set) none.
void DrawRingOf(HDC hdc, RECT& rect, UINT edge, UINT raisedBit, UINT sunkenBit, bool outer,
                UINT flags) {
    const bool raised = (edge & raisedBit) != 0;
    const bool sunken = (edge & sunkenBit) != 0;
    if (raised == sunken)
        return;
    DrawRing(hdc, rect, outer ? OuterColours(raised, flags) : InnerColours(raised, flags), flags);
}

}  // namespace

BOOL WINAPI DrawEdge(HDC hdc, LPRECT qrc, UINT edge, UINT grfFlags) {
    if (qrc == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (GetObjectType(hdc) != OBJ_DC && GetObjectType(hdc) != OBJ_MEMDC) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    RECT inside = *qrc;
    DrawRingOf(hdc, inside, edge, kRaisedOuter, kSunkenOuter, true, grfFlags);
    DrawRingOf(hdc, inside, edge, kRaisedInner, kSunkenInner, false, grfFlags);
    if ((grfFlags & BF_MIDDLE) != 0)
        winapi::controls::FillSysColour(hdc, inside,
                                        (grfFlags & BF_MONO) != 0 ? COLOR_WINDOW : COLOR_BTNFACE);
    if ((grfFlags & BF_ADJUST) != 0)
        *qrc = inside;
    return TRUE;
}
