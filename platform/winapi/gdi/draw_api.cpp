// Shapes with Win32's geometry: Rectangle, lines, FillRect and its relatives, single pixels.
#include <algorithm>
#include <optional>
#include <utility>

#include <windows.h>

#include "platform/winapi/gdi/bitmap.h"
#include "platform/winapi/gdi/brush.h"
#include "platform/winapi/gdi/draw_call.h"
#include "platform/winapi/gdi/line_rasterizer.h"
#include "platform/winapi/gdi/object_table.h"
#include "platform/winapi/gdi/pen.h"
#include "platform/winapi/gdi/stock_objects.h"

namespace {

using namespace winapi::gdi;

struct BrushPaint {
    bool hollow = false;
    std::uint32_t pixel = 0;
};

// A brush handle as FillRect takes it: an object, or (HBRUSH)(COLOR_x + 1) for a system colour.
std::optional<BrushPaint> ResolveBrush(const DeviceContext& dc, HBRUSH handle) {
    const auto value = reinterpret_cast<std::uintptr_t>(handle);
    if (value >= 1 && value <= 0xFFFF) {
        const std::optional<COLORREF> colour = SysColour(static_cast<int>(value) - 1);
        if (!colour)
            return std::nullopt;
        return BrushPaint{false, PixelFromColorRef(*colour)};
    }
    const Brush* brush = ObjectTable::Instance().Find<Brush>(handle);
    if (brush == nullptr)
        return std::nullopt;
    if (brush->IsNull())
        return BrushPaint{true, 0};
    const COLORREF colour = brush->UsesDcColour() ? dc.State().dcBrushColour : brush->Colour();
    return BrushPaint{false, PixelFromColorRef(colour)};
}

display::Rect Ordered(int left, int top, int right, int bottom) {
    return {std::min(left, right), std::min(top, bottom), std::max(left, right),
            std::max(top, bottom)};
}

void DrawLine(DeviceContext& dc, Painter& painter, POINT from, POINT to) {
    const Pen& pen = dc.CurrentPen();
    if (pen.IsNull())
        return;
    const std::uint32_t pixel = PixelFromColorRef(dc.PenColour());
    const display::Rect bounds = painter.Clip().Bounds();
    if (pen.PixelWidth() <= 1) {
        LineRasterizer::Cosmetic({from.x, from.y}, {to.x, to.y}, bounds,
                                 [&](int x, int y) { painter.Plot(x, y, pixel); });
        return;
    }
    LineRasterizer::Wide({from.x, from.y}, {to.x, to.y}, pen.PixelWidth(), bounds,
                         [&](int y, int left, int right) {
                             painter.Fill({left, y, right, y + 1}, pixel);
                         });
}

}  // namespace

BOOL WINAPI Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    DrawCall call(hdc);
    if (!call.Ok())
        return FALSE;
    DeviceContext& dc = call.Dc();
    const POINT a = dc.ToDevice(left, top);
    const POINT b = dc.ToDevice(right, bottom);
    display::Rect path = Ordered(a.x, a.y, b.x, b.y);
    if (path.IsEmpty())
        return TRUE;
    const Pen& pen = dc.CurrentPen();
    const int width = pen.IsNull() ? 0 : pen.PixelWidth();
    if (pen.IsInsideFrame() && width > 1) {
        path.left += width / 2;
        path.top += width / 2;
        path.right -= (width - 1) / 2;
        path.bottom -= (width - 1) / 2;
    }
    // The outline runs through the last column and row inside the rectangle; the brush fills
    // what lies inside that path, which is why a null pen leaves one pixel unfilled on the
    // right and at the bottom.
    --path.right;
    --path.bottom;
    Painter& painter = call.Paint();
    if (const Brush& brush = dc.CurrentBrush(); !brush.IsNull())
        painter.Fill(path, PixelFromColorRef(dc.BrushColour()));
    if (width == 0)
        return TRUE;
    const std::uint32_t pixel = PixelFromColorRef(dc.PenColour());
    const int lo = -(width / 2);
    const int hi = (width - 1) / 2 + 1;
    const display::Rect bands[] = {
        {path.left + lo, path.top + lo, path.right + hi, path.top + hi},
        {path.left + lo, path.bottom + lo, path.right + hi, path.bottom + hi},
        {path.left + lo, path.top + lo, path.left + hi, path.bottom + hi},
        {path.right + lo, path.top + lo, path.right + hi, path.bottom + hi},
    };
    for (const display::Rect& band : bands)
        painter.Fill(band, pixel);
    return TRUE;
}

BOOL WINAPI LineTo(HDC hdc, int x, int y) {
    DrawCall call(hdc);
    if (!call.Ok())
        return FALSE;
    DeviceContext& dc = call.Dc();
    const POINT from = dc.ToDevice(dc.State().position.x, dc.State().position.y);
    const POINT to = dc.ToDevice(x, y);
    DrawLine(dc, call.Paint(), from, to);
    dc.State().position = {x, y};
    return TRUE;
}

int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
    if (lprc == nullptr)
        return 0;
    DrawCall call(hDC);
    if (!call.Ok())
        return 0;
    const std::optional<BrushPaint> brush = ResolveBrush(call.Dc(), hbr);
    if (!brush) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (!brush->hollow)
        call.Paint().Fill(call.Dc().ToDevice(*lprc), brush->pixel);
    return 1;
}

int WINAPI FrameRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
    if (lprc == nullptr)
        return 0;
    DrawCall call(hDC);
    if (!call.Ok())
        return 0;
    const std::optional<BrushPaint> brush = ResolveBrush(call.Dc(), hbr);
    if (!brush) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    const display::Rect r = call.Dc().ToDevice(*lprc);
    if (r.IsEmpty())
        return 0;
    if (brush->hollow)
        return 1;
    Painter& painter = call.Paint();
    painter.Fill({r.left, r.top, r.right, r.top + 1}, brush->pixel);
    painter.Fill({r.left, r.bottom - 1, r.right, r.bottom}, brush->pixel);
    painter.Fill({r.left, r.top, r.left + 1, r.bottom}, brush->pixel);
    painter.Fill({r.right - 1, r.top, r.right, r.bottom}, brush->pixel);
    return 1;
}

BOOL WINAPI InvertRect(HDC hDC, const RECT* lprc) {
    if (lprc == nullptr)
        return FALSE;
    DrawCall call(hDC);
    if (!call.Ok())
        return FALSE;
    call.Paint().Apply(call.Dc().ToDevice(*lprc),
                       [](int, int, std::uint32_t& pixel) { pixel = ~pixel & 0xFFFFFF; });
    return TRUE;
}

// Inverts every other pixel of the rectangle's one-pixel border, the ones whose device
// coordinates add up to an even number, so that a second call with the same rectangle puts
// back what was there.
BOOL WINAPI DrawFocusRect(HDC hDC, const RECT* lprc) {
    if (lprc == nullptr)
        return FALSE;
    DrawCall call(hDC);
    if (!call.Ok())
        return FALSE;
    const display::Rect r = call.Dc().ToDevice(*lprc);
    if (r.IsEmpty())
        return TRUE;
    auto invert = [](int x, int y, std::uint32_t& pixel) {
        if (((x + y) & 1) == 0)
            pixel = ~pixel & 0xFFFFFF;
    };
    Painter& painter = call.Paint();
    // Each border pixel exactly once, corners included, however thin the rectangle.
    painter.Apply({r.left, r.top, r.right, r.top + 1}, invert);
    if (r.Height() > 1)
        painter.Apply({r.left, r.bottom - 1, r.right, r.bottom}, invert);
    if (r.Height() > 2) {
        painter.Apply({r.left, r.top + 1, r.left + 1, r.bottom - 1}, invert);
        if (r.Width() > 1)
            painter.Apply({r.right - 1, r.top + 1, r.right, r.bottom - 1}, invert);
    }
    return TRUE;
}

COLORREF WINAPI SetPixel(HDC hdc, int x, int y, COLORREF color) {
    DrawCall call(hdc);
    if (!call.Ok())
        return CLR_INVALID;
    const POINT at = call.Dc().ToDevice(x, y);
    Painter& painter = call.Paint();
    if (!painter.CanDraw() || !painter.Clip().Contains({at.x, at.y}))
        return CLR_INVALID;
    std::uint32_t pixel = PixelFromColorRef(color & 0xFFFFFF);
    if (painter.IsMonochrome())
        pixel = MonochromePixel(pixel);
    painter.Plot(at.x, at.y, pixel);
    return ColorRefFromPixel(pixel);
}
