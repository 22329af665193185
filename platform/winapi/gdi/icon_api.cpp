// Icons: made from ARGB pixels or from colour and mask bitmaps, read back, drawn with alpha.
#include <algorithm>
#include <memory>

#include <windows.h>

#include "platform/winapi/gdi/bitmap.h"
#include "platform/winapi/gdi/draw_call.h"
#include "platform/winapi/gdi/icon.h"
#include "platform/winapi/gdi/icon_image.h"
#include "platform/winapi/gdi/object_table.h"

namespace winapi::gdi {
namespace {

constexpr int kMaxIconSide = 1024;

HICON AddIcon(IconImage image) {
    return static_cast<HICON>(
        ObjectTable::Instance().Add(std::make_unique<Icon>(std::move(image))));
}

}  // namespace

HICON CreateIconFromArgb(int width, int height, std::span<const std::uint32_t> argb) {
    if (width <= 0 || height <= 0 || width > kMaxIconSide || height > kMaxIconSide ||
        argb.size() < static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    IconImage image{width, height, {argb.begin(), argb.begin() + width * height}};
    return AddIcon(std::move(image));
}

std::optional<IconImage> GetIconImage(HICON icon) {
    const Icon* found = ObjectTable::Instance().Find<Icon>(icon);
    if (found == nullptr)
        return std::nullopt;
    return found->Image();
}

}  // namespace winapi::gdi

using namespace winapi::gdi;

// With a colour bitmap whose fourth bytes hold any alpha, that alpha is used; otherwise the
// mask decides: white is transparent, black shows the colour. Without a colour bitmap the
// mask is twice as tall, AND mask above XOR image, as Win32's monochrome icons.
HICON WINAPI CreateIconIndirect(PICONINFO piconinfo) {
    if (piconinfo == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    ObjectTable& table = ObjectTable::Instance();
    const Bitmap* mask = table.Find<Bitmap>(piconinfo->hbmMask);
    const Bitmap* colour = table.Find<Bitmap>(piconinfo->hbmColor);
    if (mask == nullptr || (piconinfo->hbmColor != nullptr && colour == nullptr)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const Surface& maskPixels = mask->Pixels();
    const int width = colour != nullptr ? colour->Pixels().Width() : maskPixels.Width();
    const int height = colour != nullptr ? colour->Pixels().Height() : maskPixels.Height() / 2;
    if (width <= 0 || height <= 0 || width > kMaxIconSide || height > kMaxIconSide) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto transparent = [&](int x, int y) {
        return x < maskPixels.Width() && y < maskPixels.Height() &&
               (maskPixels.At(x, y) & 0xFFFFFF) != 0;
    };
    IconImage image{width, height,
                    std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height)};
    bool hasAlpha = false;
    if (colour != nullptr)
        for (int y = 0; y < height && !hasAlpha; ++y)
            for (int x = 0; x < width; ++x)
                if ((colour->Pixels().At(x, y) >> 24) != 0)
                    hasAlpha = true;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            std::uint32_t& out = image.argb[static_cast<std::size_t>(y) * width + x];
            if (colour == nullptr) {
                const std::uint32_t xorPixel =
                    y + height < maskPixels.Height() ? maskPixels.At(x, y + height) & 0xFFFFFF : 0;
                out = transparent(x, y) ? 0 : 0xFF000000u | xorPixel;
                continue;
            }
            const std::uint32_t pixel = colour->Pixels().At(x, y);
            if (hasAlpha)
                out = pixel;
            else
                out = transparent(x, y) ? 0 : 0xFF000000u | (pixel & 0xFFFFFF);
        }
    return AddIcon(std::move(image));
}

BOOL WINAPI DestroyIcon(HICON hIcon) {
    if (ObjectTable::Instance().Find<Icon>(hIcon) == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return ObjectTable::Instance().Remove(hIcon) ? TRUE : FALSE;
}

// Win32 hands out new bitmaps that the caller deletes: a 32-bit colour bitmap carrying the
// alpha in its fourth bytes, and a monochrome mask, white where the icon is transparent.
BOOL WINAPI GetIconInfo(HICON hIcon, PICONINFO piconinfo) {
    const Icon* icon = ObjectTable::Instance().Find<Icon>(hIcon);
    if (icon == nullptr || piconinfo == nullptr) {
        SetLastError(icon == nullptr ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const IconImage& image = icon->Image();
    const HBITMAP colourHandle = CreateBitmap(image.width, image.height, 1, 32, nullptr);
    const HBITMAP maskHandle = CreateBitmap(image.width, image.height, 1, 1, nullptr);
    Bitmap* colour = ObjectTable::Instance().Find<Bitmap>(colourHandle);
    Bitmap* mask = ObjectTable::Instance().Find<Bitmap>(maskHandle);
    if (colour == nullptr || mask == nullptr) {
        DeleteObject(colourHandle);
        DeleteObject(maskHandle);
        return FALSE;
    }
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x) {
            const std::uint32_t argb = image.argb[static_cast<std::size_t>(y) * image.width + x];
            colour->Pixels().At(x, y) = argb;
            mask->Pixels().At(x, y) = (argb >> 24) == 0 ? 0xFFFFFFu : 0u;
        }
    piconinfo->fIcon = TRUE;
    piconinfo->xHotspot = static_cast<DWORD>(image.width / 2);
    piconinfo->yHotspot = static_cast<DWORD>(image.height / 2);
    piconinfo->hbmColor = colourHandle;
    piconinfo->hbmMask = maskHandle;
    return TRUE;
}

// Drawn at the icon's own size (LoadIcon's icons are 32 x 32), blended over what is there.
BOOL WINAPI DrawIcon(HDC hDC, int X, int Y, HICON hIcon) {
    const Icon* icon = ObjectTable::Instance().Find<Icon>(hIcon);
    if (icon == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    DrawCall call(hDC);
    if (!call.Ok())
        return FALSE;
    const POINT at = call.Dc().ToDevice(X, Y);
    const IconImage& image = icon->Image();
    call.Paint().Blend(at.x, at.y, image.width, image.height, image.argb);
    return TRUE;
}

namespace {

// The icon at width x height: each destination pixel averages the source pixels it covers
// (weighted by alpha, so transparent pixels lend no colour); enlarging repeats them.
std::vector<std::uint32_t> ScaleIcon(const IconImage& image, int width, int height) {
    std::vector<std::uint32_t> out(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        const int top = y * image.height / height;
        const int bottom = std::max(top + 1, (y + 1) * image.height / height);
        for (int x = 0; x < width; ++x) {
            const int left = x * image.width / width;
            const int right = std::max(left + 1, (x + 1) * image.width / width);
            std::uint64_t a = 0, r = 0, g = 0, b = 0, count = 0;
            for (int sy = top; sy < bottom; ++sy)
                for (int sx = left; sx < right; ++sx) {
                    const std::uint32_t p =
                        image.argb[static_cast<std::size_t>(sy) * image.width + sx];
                    const std::uint32_t alpha = p >> 24;
                    a += alpha;
                    r += ((p >> 16) & 0xFF) * alpha;
                    g += ((p >> 8) & 0xFF) * alpha;
                    b += (p & 0xFF) * alpha;
                    ++count;
                }
            std::uint32_t pixel = 0;
            if (a != 0)
                pixel = static_cast<std::uint32_t>((a / count) << 24 | (r / a) << 16 |
                                                   (g / a) << 8 | (b / a));
            out[static_cast<std::size_t>(y) * width + x] = pixel;
        }
    }
    return out;
}

}  // namespace

// Drawn at cxWidth x cyWidth; 0 takes the icon's own size, or SM_CXICON x SM_CYICON with
// DI_DEFAULTSIZE. DI_NORMAL blends, DI_IMAGE alone copies the colours opaquely, DI_MASK alone
// blackens what the icon covers. A flicker-free brush fills the area first.
BOOL WINAPI DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth, UINT,
                       HBRUSH hbrFlickerFreeDraw, UINT diFlags) {
    const Icon* icon = ObjectTable::Instance().Find<Icon>(hIcon);
    if (icon == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if ((diFlags & DI_NORMAL) == 0 || cxWidth < 0 || cyWidth < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const IconImage& image = icon->Image();
    const bool defaultSize = (diFlags & DI_DEFAULTSIZE) != 0;
    const int width = std::min(kMaxIconSide, cxWidth != 0  ? cxWidth
                                             : defaultSize ? GetSystemMetrics(SM_CXICON)
                                                           : image.width);
    const int height = std::min(kMaxIconSide, cyWidth != 0  ? cyWidth
                                              : defaultSize ? GetSystemMetrics(SM_CYICON)
                                                            : image.height);
    if (hbrFlickerFreeDraw != nullptr) {
        const RECT area{xLeft, yTop, xLeft + width, yTop + height};
        FillRect(hdc, &area, hbrFlickerFreeDraw);
    }
    std::vector<std::uint32_t> pixels = width == image.width && height == image.height
                                            ? image.argb
                                            : ScaleIcon(image, width, height);
    if ((diFlags & DI_NORMAL) == DI_IMAGE)
        for (std::uint32_t& p : pixels)
            p |= 0xFF000000u;
    else if ((diFlags & DI_NORMAL) == DI_MASK)
        for (std::uint32_t& p : pixels)
            p = (p >> 24) != 0 ? 0xFF000000u : 0u;
    DrawCall call(hdc);
    if (!call.Ok())
        return FALSE;
    const POINT at = call.Dc().ToDevice(xLeft, yTop);
    call.Paint().Blend(at.x, at.y, width, height, pixels);
    return TRUE;
}
