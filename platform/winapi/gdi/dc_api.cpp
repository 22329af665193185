// Device contexts: memory DCs, saved states, attributes, the viewport origin and clipping.
#include <memory>

#include <windows.h>

#include "platform/winapi/gdi/device_context.h"
#include "platform/winapi/gdi/object_table.h"
#include "platform/winapi/host.h"

using winapi::gdi::DeviceContext;
using winapi::gdi::ObjectTable;

namespace {

// Sets one attribute, returning the old value, or failure for a handle that is not a DC.
template <typename T>
T Exchange(HDC hdc, T failure, T winapi::gdi::DcState::*member, T value) {
    DeviceContext* dc = DeviceContext::Find(hdc);
    if (dc == nullptr)
        return failure;
    T previous = dc->State().*member;
    dc->State().*member = value;
    return previous;
}

template <typename T>
T Read(HDC hdc, T failure, T winapi::gdi::DcState::*member) {
    const DeviceContext* dc = DeviceContext::Find(hdc);
    return dc == nullptr ? failure : dc->State().*member;
}

}  // namespace

HDC WINAPI CreateCompatibleDC(HDC hdc) {
    if (hdc != nullptr && DeviceContext::Find(hdc) == nullptr)
        return nullptr;
    return static_cast<HDC>(ObjectTable::Instance().Add(std::make_unique<DeviceContext>()));
}

BOOL WINAPI DeleteDC(HDC hdc) {
    DeviceContext* dc = DeviceContext::Find(hdc);
    if (dc == nullptr)
        return FALSE;
    // A window's DC goes back with ReleaseDC or EndPaint, never DeleteDC.
    if (!dc->IsMemory())
        return FALSE;
    dc->ReleaseSelections();
    return ObjectTable::Instance().Remove(hdc) ? TRUE : FALSE;
}

int WINAPI SaveDC(HDC hdc) {
    DeviceContext* dc = DeviceContext::Find(hdc);
    return dc == nullptr ? 0 : dc->Save();
}

BOOL WINAPI RestoreDC(HDC hdc, int nSavedDC) {
    DeviceContext* dc = DeviceContext::Find(hdc);
    if (dc == nullptr)
        return FALSE;
    if (!dc->Restore(nSavedDC)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}

namespace {

struct DeviceCap {
    int index;
    int (*value)(const display::Rect& screen);
};

constexpr int kDpi = 96;

// A 32-bit raster display at 96 dpi, the size of the session's screen.
constexpr DeviceCap kDeviceCaps[] = {
    {TECHNOLOGY, [](const display::Rect&) { return DT_RASDISPLAY; }},
    {HORZSIZE, [](const display::Rect& s) { return s.Width() * 254 / (kDpi * 10); }},
    {VERTSIZE, [](const display::Rect& s) { return s.Height() * 254 / (kDpi * 10); }},
    {HORZRES, [](const display::Rect& s) { return s.Width(); }},
    {VERTRES, [](const display::Rect& s) { return s.Height(); }},
    {BITSPIXEL, [](const display::Rect&) { return 32; }},
    {PLANES, [](const display::Rect&) { return 1; }},
    {NUMCOLORS, [](const display::Rect&) { return -1; }},
    {RASTERCAPS, [](const display::Rect&) { return RC_BITBLT | RC_STRETCHBLT; }},
    {LOGPIXELSX, [](const display::Rect&) { return kDpi; }},
    {LOGPIXELSY, [](const display::Rect&) { return kDpi; }},
};

}  // namespace

int WINAPI GetDeviceCaps(HDC hdc, int index) {
    if (DeviceContext::Find(hdc) == nullptr)
        return 0;
    const display::Rect screen =
        winapi::HasSession() ? winapi::CurrentBackend().ScreenBounds() : display::Rect{};
    for (const DeviceCap& cap : kDeviceCaps)
        if (cap.index == index)
            return cap.value(screen);
    return 0;
}

COLORREF WINAPI SetBkColor(HDC hdc, COLORREF color) {
    return Exchange<COLORREF>(hdc, CLR_INVALID, &winapi::gdi::DcState::bkColour, color & 0xFFFFFF);
}
COLORREF WINAPI GetBkColor(HDC hdc) {
    return Read<COLORREF>(hdc, CLR_INVALID, &winapi::gdi::DcState::bkColour);
}
COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
    return Exchange<COLORREF>(hdc, CLR_INVALID, &winapi::gdi::DcState::textColour,
                              color & 0xFFFFFF);
}
COLORREF WINAPI GetTextColor(HDC hdc) {
    return Read<COLORREF>(hdc, CLR_INVALID, &winapi::gdi::DcState::textColour);
}
COLORREF WINAPI SetDCBrushColor(HDC hdc, COLORREF color) {
    return Exchange<COLORREF>(hdc, CLR_INVALID, &winapi::gdi::DcState::dcBrushColour,
                              color & 0xFFFFFF);
}
COLORREF WINAPI GetDCBrushColor(HDC hdc) {
    return Read<COLORREF>(hdc, CLR_INVALID, &winapi::gdi::DcState::dcBrushColour);
}
COLORREF WINAPI SetDCPenColor(HDC hdc, COLORREF color) {
    return Exchange<COLORREF>(hdc, CLR_INVALID, &winapi::gdi::DcState::dcPenColour,
                              color & 0xFFFFFF);
}
COLORREF WINAPI GetDCPenColor(HDC hdc) {
    return Read<COLORREF>(hdc, CLR_INVALID, &winapi::gdi::DcState::dcPenColour);
}

int WINAPI SetBkMode(HDC hdc, int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return Exchange<int>(hdc, 0, &winapi::gdi::DcState::bkMode, mode);
}
int WINAPI GetBkMode(HDC hdc) {
    return Read<int>(hdc, 0, &winapi::gdi::DcState::bkMode);
}

int WINAPI SetStretchBltMode(HDC hdc, int mode) {
    if (mode < BLACKONWHITE || mode > HALFTONE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return Exchange<int>(hdc, 0, &winapi::gdi::DcState::stretchMode, mode);
}
int WINAPI GetStretchBltMode(HDC hdc) {
    return Read<int>(hdc, 0, &winapi::gdi::DcState::stretchMode);
}

UINT WINAPI SetTextAlign(HDC hdc, UINT align) {
    return Exchange<UINT>(hdc, GDI_ERROR, &winapi::gdi::DcState::textAlign, align);
}
UINT WINAPI GetTextAlign(HDC hdc) {
    return Read<UINT>(hdc, GDI_ERROR, &winapi::gdi::DcState::textAlign);
}

BOOL WINAPI SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT lppt) {
    DeviceContext* dc = DeviceContext::Find(hdc);
    if (dc == nullptr)
        return FALSE;
    if (lppt != nullptr)
        *lppt = dc->State().viewportOrigin;
    dc->State().viewportOrigin = {x, y};
    return TRUE;
}

BOOL WINAPI GetViewportOrgEx(HDC hdc, LPPOINT lppt) {
    const DeviceContext* dc = DeviceContext::Find(hdc);
    if (dc == nullptr || lppt == nullptr)
        return FALSE;
    *lppt = dc->State().viewportOrigin;
    return TRUE;
}

BOOL WINAPI MoveToEx(HDC hdc, int x, int y, LPPOINT lppt) {
    DeviceContext* dc = DeviceContext::Find(hdc);
    if (dc == nullptr)
        return FALSE;
    if (lppt != nullptr)
        *lppt = dc->State().position;
    dc->State().position = {x, y};
    return TRUE;
}

BOOL WINAPI GetCurrentPositionEx(HDC hdc, LPPOINT lppt) {
    const DeviceContext* dc = DeviceContext::Find(hdc);
    if (dc == nullptr || lppt == nullptr)
        return FALSE;
    *lppt = dc->State().position;
    return TRUE;
}

int WINAPI IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
    DeviceContext* dc = DeviceContext::Find(hdc);
    if (dc == nullptr)
        return ERROR;
    const display::Rect rect = dc->ToDevice(RECT{left, top, right, bottom});
    auto& clip = dc->State().clip;
    if (!clip)
        clip = winapi::gdi::ClipRegion::Unlimited();
    clip->Intersect(rect);
    return clip->Complexity();
}

int WINAPI ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
    DeviceContext* dc = DeviceContext::Find(hdc);
    if (dc == nullptr)
        return ERROR;
    const display::Rect rect = dc->ToDevice(RECT{left, top, right, bottom});
    auto& clip = dc->State().clip;
    if (!clip)
        clip = winapi::gdi::ClipRegion::Unlimited();
    clip->Subtract(rect);
    return clip->Complexity();
}

int WINAPI SelectClipRgn(HDC hdc, HRGN hrgn) {
    DeviceContext* dc = DeviceContext::Find(hdc);
    if (dc == nullptr)
        return ERROR;
    // Regions are not objects here; only resetting the clip (a null region) is possible.
    if (hrgn != nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return ERROR;
    }
    dc->State().clip.reset();
    return SIMPLEREGION;
}

int WINAPI GetClipBox(HDC hdc, LPRECT lprect) {
    const DeviceContext* dc = DeviceContext::Find(hdc);
    if (dc == nullptr || lprect == nullptr)
        return ERROR;
    const std::optional<winapi::gdi::DrawTarget> target = dc->Target();
    if (!target)
        return ERROR;
    const display::Rect box = target->clip.Bounds();
    const POINT origin = dc->State().viewportOrigin;
    *lprect = {box.left - origin.x, box.top - origin.y, box.right - origin.x,
               box.bottom - origin.y};
    return target->clip.Complexity();
}
