// GDI objects: creation, selection, deletion, inspection and counting.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include <windows.h>

#include "platform/winapi/gdi/bitmap.h"
#include "platform/winapi/gdi/brush.h"
#include "platform/winapi/gdi/device_context.h"
#include "platform/winapi/gdi/font_object.h"
#include "platform/winapi/gdi/object_table.h"
#include "platform/winapi/gdi/pen.h"
#include "platform/winapi/gdi/stock_objects.h"

namespace {

using namespace winapi::gdi;

// Larger bitmaps fail as out of memory rather than bring the process down.
constexpr long long kMaxBitmapPixels = 64LL * 1024 * 1024;

HGDIOBJ Fail(DWORD error) {
    SetLastError(error);
    return nullptr;
}

HBITMAP NewBitmap(int width, int height, bool monochrome) {
    if (width < 0 || height < 0)
        return static_cast<HBITMAP>(Fail(ERROR_INVALID_PARAMETER));
    if (width == 0 || height == 0)
        return DefaultBitmap();
    if (static_cast<long long>(width) * height > kMaxBitmapPixels)
        return static_cast<HBITMAP>(Fail(ERROR_NOT_ENOUGH_MEMORY));
    try {
        return static_cast<HBITMAP>(
            ObjectTable::Instance().Add(std::make_unique<Bitmap>(width, height, monochrome)));
    } catch (const std::bad_alloc&) {
        return static_cast<HBITMAP>(Fail(ERROR_NOT_ENOUGH_MEMORY));
    }
}

// Copies a Win32 structure out the way GetObject does: the size asked for with no buffer,
// nothing into a buffer too small.
template <typename T>
int CopyOut(const T& value, int size, void* buffer) {
    if (buffer == nullptr)
        return static_cast<int>(sizeof(T));
    if (size < static_cast<int>(sizeof(T)))
        return 0;
    std::memcpy(buffer, &value, sizeof(T));
    return static_cast<int>(sizeof(T));
}

}  // namespace

HGDIOBJ WINAPI GetStockObject(int i) {
    return StockObject(i);
}

HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
    DeviceContext* dc = DeviceContext::Find(hdc);
    if (dc == nullptr)
        return nullptr;
    GdiObject* object = ObjectTable::Instance().Find(h);
    if (object == nullptr)
        return Fail(ERROR_INVALID_HANDLE);
    return dc->Select(*object);
}

BOOL WINAPI DeleteObject(HGDIOBJ ho) {
    GdiObject* object = ObjectTable::Instance().Find(ho);
    if (object == nullptr || object->Kind() == ObjectKind::Icon) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (object->IsStock())
        return TRUE;
    if (object->Kind() == ObjectKind::Dc)
        return DeleteDC(static_cast<HDC>(ho));
    // Win32: an object selected into a DC is not deleted and the call fails.
    if (object->IsSelected())
        return FALSE;
    return ObjectTable::Instance().Remove(ho) ? TRUE : FALSE;
}

int WINAPI GetObjectA(HANDLE h, int c, LPVOID pv) {
    GdiObject* object = ObjectTable::Instance().Find(h);
    if (object == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    switch (object->Kind()) {
        case ObjectKind::Pen: {
            const auto& pen = static_cast<const Pen&>(*object);
            LOGPEN logPen{static_cast<UINT>(pen.Style()), {pen.Width(), 0}, pen.Colour()};
            return CopyOut(logPen, c, pv);
        }
        case ObjectKind::Brush: {
            const auto& brush = static_cast<const Brush&>(*object);
            LOGBRUSH logBrush{brush.Style(), brush.Colour(), 0};
            return CopyOut(logBrush, c, pv);
        }
        case ObjectKind::Bitmap: {
            const auto& bitmap = static_cast<const Bitmap&>(*object);
            const int width = bitmap.Pixels().Width();
            // Device-dependent bitmap rows are padded to 16 bits.
            const int rowBytes = (width * bitmap.BitsPerPixel() + 15) / 16 * 2;
            BITMAP info{0,        width, bitmap.Pixels().Height(),
                        rowBytes, 1,     static_cast<WORD>(bitmap.BitsPerPixel()),
                        nullptr};
            return CopyOut(info, c, pv);
        }
        case ObjectKind::Font: {
            const LOGFONTA& logFont = static_cast<const FontObject&>(*object).LogFont();
            if (pv == nullptr)
                return static_cast<int>(sizeof(LOGFONTA));
            const int size = std::clamp(c, 0, static_cast<int>(sizeof(LOGFONTA)));
            std::memcpy(pv, &logFont, static_cast<std::size_t>(size));
            return size;
        }
        default:
            return 0;
    }
}

DWORD WINAPI GetObjectType(HGDIOBJ h) {
    GdiObject* object = ObjectTable::Instance().Find(h);
    if (object == nullptr || object->Kind() == ObjectKind::Icon) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    if (object->Kind() == ObjectKind::Dc)
        return static_cast<DeviceContext*>(object)->IsMemory() ? OBJ_MEMDC : OBJ_DC;
    return static_cast<DWORD>(object->Kind());
}

HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT type) {
    const DeviceContext* dc = DeviceContext::Find(hdc);
    if (dc == nullptr)
        return nullptr;
    switch (type) {
        case OBJ_PEN:
            return dc->State().pen;
        case OBJ_BRUSH:
            return dc->State().brush;
        case OBJ_FONT:
            return dc->State().font;
        case OBJ_BITMAP:
            return dc->State().bitmap;
        default:
            return Fail(ERROR_INVALID_PARAMETER);
    }
}

HBRUSH WINAPI CreateSolidBrush(COLORREF color) {
    return static_cast<HBRUSH>(
        ObjectTable::Instance().Add(std::make_unique<Brush>(BS_SOLID, color)));
}

HBRUSH WINAPI CreateBrushIndirect(const LOGBRUSH* plbrush) {
    if (plbrush == nullptr || (plbrush->lbStyle != BS_SOLID && plbrush->lbStyle != BS_NULL))
        return static_cast<HBRUSH>(Fail(ERROR_INVALID_PARAMETER));
    return static_cast<HBRUSH>(
        ObjectTable::Instance().Add(std::make_unique<Brush>(plbrush->lbStyle, plbrush->lbColor)));
}

HPEN WINAPI CreatePen(int iStyle, int cWidth, COLORREF color) {
    int style = iStyle & PS_STYLE_MASK;
    constexpr int kKnownBits =
        PS_STYLE_MASK | 0xF00 | 0xF000 | 0xF0000;  // style, ends, joins, type
    if ((iStyle & ~kKnownBits) != 0 || style > PS_ALTERNATE)
        return static_cast<HPEN>(Fail(ERROR_INVALID_PARAMETER));
    // Win32: dashes and dots are for one-pixel pens; wider ones draw solid.
    if (cWidth > 1 && style >= PS_DASH && style <= PS_DASHDOTDOT)
        style = PS_SOLID;
    return static_cast<HPEN>(
        ObjectTable::Instance().Add(std::make_unique<Pen>(style, cWidth, color)));
}

HPEN WINAPI CreatePenIndirect(const LOGPEN* plpen) {
    if (plpen == nullptr)
        return static_cast<HPEN>(Fail(ERROR_INVALID_PARAMETER));
    return CreatePen(static_cast<int>(plpen->lopnStyle), plpen->lopnWidth.x, plpen->lopnColor);
}

// Win32 makes the bitmap like the one the DC holds: a memory DC that still has its default
// bitmap gets a monochrome one; window and screen DCs get 32-bit colour.
HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy) {
    const DeviceContext* dc = DeviceContext::Find(hdc);
    if (dc == nullptr)
        return nullptr;
    const Bitmap* current = dc->CurrentBitmap();
    return NewBitmap(cx, cy, current != nullptr && current->IsMonochrome());
}

HBITMAP WINAPI CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount,
                            const void* lpBits) {
    if (nPlanes != 1 || (nBitCount != 1 && nBitCount != 32))
        return static_cast<HBITMAP>(Fail(ERROR_INVALID_PARAMETER));
    const HBITMAP handle = NewBitmap(nWidth, nHeight, nBitCount == 1);
    Bitmap* bitmap = ObjectTable::Instance().Find<Bitmap>(handle);
    if (bitmap == nullptr || bitmap->IsStock() || lpBits == nullptr)
        return handle;
    Surface& pixels = bitmap->Pixels();
    const auto* bytes = static_cast<const std::uint8_t*>(lpBits);
    if (nBitCount == 32) {
        // Rows of B, G, R, X bytes: the surface's own layout; the fourth byte is kept, as
        // icons made from the bitmap read it as alpha.
        for (int y = 0; y < nHeight; ++y)
            std::memcpy(pixels.Row(y), bytes + static_cast<std::size_t>(y) * nWidth * 4,
                        static_cast<std::size_t>(nWidth) * 4);
        return handle;
    }
    // One bit a pixel, most significant first, 1 white; rows padded to 16 bits.
    const std::size_t rowBytes = static_cast<std::size_t>((nWidth + 15) / 16 * 2);
    for (int y = 0; y < nHeight; ++y)
        for (int x = 0; x < nWidth; ++x) {
            const std::uint8_t byte = bytes[static_cast<std::size_t>(y) * rowBytes + x / 8];
            pixels.At(x, y) = (byte & (0x80 >> (x % 8))) != 0 ? 0xFFFFFFu : 0u;
        }
    return handle;
}

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* lplf) {
    if (lplf == nullptr)
        return static_cast<HFONT>(Fail(ERROR_INVALID_PARAMETER));
    return static_cast<HFONT>(ObjectTable::Instance().Add(std::make_unique<FontObject>(*lplf)));
}

HFONT WINAPI CreateFontA(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight,
                         DWORD bItalic, DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet,
                         DWORD iOutPrecision, DWORD iClipPrecision, DWORD iQuality,
                         DWORD iPitchAndFamily, LPCSTR pszFaceName) {
    LOGFONTA logFont{};
    logFont.lfHeight = cHeight;
    logFont.lfWidth = cWidth;
    logFont.lfEscapement = cEscapement;
    logFont.lfOrientation = cOrientation;
    logFont.lfWeight = cWeight;
    logFont.lfItalic = static_cast<BYTE>(bItalic);
    logFont.lfUnderline = static_cast<BYTE>(bUnderline);
    logFont.lfStrikeOut = static_cast<BYTE>(bStrikeOut);
    logFont.lfCharSet = static_cast<BYTE>(iCharSet);
    logFont.lfOutPrecision = static_cast<BYTE>(iOutPrecision);
    logFont.lfClipPrecision = static_cast<BYTE>(iClipPrecision);
    logFont.lfQuality = static_cast<BYTE>(iQuality);
    logFont.lfPitchAndFamily = static_cast<BYTE>(iPitchAndFamily);
    if (pszFaceName != nullptr)
        std::strncpy(logFont.lfFaceName, pszFaceName, LF_FACESIZE - 1);
    return CreateFontIndirectA(&logFont);
}

DWORD WINAPI GetSysColor(int nIndex) {
    return SysColour(nIndex).value_or(0);
}

HBRUSH WINAPI GetSysColorBrush(int nIndex) {
    return SysColorBrush(nIndex);
}
