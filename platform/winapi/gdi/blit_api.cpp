// Block transfers: PatBlt, BitBlt, StretchBlt, and reading single pixels back.
#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include <windows.h>

#include "platform/winapi/gdi/bitmap.h"
#include "platform/winapi/gdi/brush.h"
#include "platform/winapi/gdi/draw_call.h"
#include "platform/winapi/gdi/source_image.h"
#include "platform/winapi/host.h"

namespace {

using namespace winapi::gdi;

// A span along one axis after Win32's normalisation: a negative extent covers
// [start + extent + 1, start + 1) and mirrors.
struct Span {
    int start = 0;
    int length = 0;
    bool mirrored = false;
};

Span Normalise(int start, int extent) {
    long long from = start;
    long long length = extent;
    const bool mirrored = extent < 0;
    if (mirrored) {
        from = from + length + 1;
        length = -length;
    }
    const int first = DeviceContext::Saturate(from);
    return {first, DeviceContext::Saturate(from + length) - first, mirrored};
}

// Which source pixels each destination pixel of one axis gathers: one when enlarging (or
// keeping the size), the run that shrinks into it otherwise.
struct Gather {
    int first = 0;
    int count = 1;
};

Gather GatherFor(long long destIndex, long long destLength, long long sourceLength) {
    if (destLength >= sourceLength)
        return {static_cast<int>(destIndex * sourceLength / destLength), 1};
    const long long first = (destIndex * sourceLength + destLength - 1) / destLength;
    const long long end = ((destIndex + 1) * sourceLength + destLength - 1) / destLength;
    return {static_cast<int>(first), static_cast<int>(end - first)};
}

std::vector<Gather> GatherAxis(const Span& dest, const Span& source, bool mirrored, int from,
                               int to) {
    std::vector<Gather> gathers;
    gathers.reserve(static_cast<std::size_t>(std::max(0, to - from)));
    for (int d = from; d < to; ++d) {
        long long index = d - dest.start;
        if (mirrored)
            index = dest.length - 1 - index;
        Gather gather = GatherFor(index, dest.length, source.length);
        gather.first += source.start;
        gathers.push_back(gather);
    }
    return gathers;
}

// How a stretch mode combines the source pixels that shrink into one.
class Combiner {
public:
    explicit Combiner(int mode) : m_mode(mode) {}
    void Add(std::uint32_t pixel) {
        if (m_count == 0) {
            m_value = pixel;
        } else if (m_mode == BLACKONWHITE) {
            m_value &= pixel;
        } else if (m_mode == WHITEONBLACK) {
            m_value |= pixel;
        }
        for (int c = 0; c < 3; ++c)
            m_sum[c] += (pixel >> (8 * c)) & 0xFF;
        ++m_count;
    }
    std::optional<std::uint32_t> Result() const {
        if (m_count == 0)
            return std::nullopt;
        if (m_mode != HALFTONE || m_count == 1)
            return m_value;
        std::uint32_t average = 0;
        for (int c = 0; c < 3; ++c)
            average |= static_cast<std::uint32_t>((m_sum[c] + m_count / 2) / m_count) << (8 * c);
        return average;
    }

private:
    int m_mode;
    std::uint32_t m_value = 0;
    unsigned long long m_sum[3] = {0, 0, 0};
    unsigned long long m_count = 0;
};

BOOL PatternBlt(DrawCall& call, int x, int y, int w, int h, DWORD rop) {
    const RasterOp op(rop);
    if (op.UsesSource()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DeviceContext& dc = call.Dc();
    const Span across = Normalise(x, w);
    const Span down = Normalise(y, h);
    const POINT at = dc.ToDevice(across.start, down.start);
    const display::Rect rect{at.x, at.y, at.x + across.length, at.y + down.length};
    if (op.UsesPattern() && dc.CurrentBrush().IsNull())
        return TRUE;
    const std::uint32_t pattern = PixelFromColorRef(dc.BrushColour());
    const DWORD table = (rop >> 16) & 0xFF;
    if (table == 0xF0 || table == 0x00 || table == 0xFF)
        call.Paint().Fill(rect, op.Apply(pattern, 0, 0) & 0xFFFFFF);
    else
        call.Paint().Fill(rect, op, pattern);
    return TRUE;
}

// Colour conversions between monochrome and colour DCs, as Win32 does them: a colour source
// pixel equal to the source's background colour becomes white in a monochrome destination,
// any other black; a monochrome source's black becomes the destination's text colour and its
// white the destination's background colour.
std::uint32_t Convert(std::uint32_t pixel, bool sourceMono, bool destMono,
                      const DeviceContext& source, const DeviceContext& dest) {
    if (sourceMono == destMono)
        return pixel;
    if (destMono)
        return (pixel & 0xFFFFFF) == PixelFromColorRef(source.State().bkColour) ? 0xFFFFFFu : 0u;
    return PixelFromColorRef((pixel & 0xFFFFFF) == 0 ? dest.State().textColour
                                                     : dest.State().bkColour);
}

BOOL StretchTransfer(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc,
                     int ySrc, int wSrc, int hSrc, DWORD rop) {
    DrawCall call(hdcDest);
    if (!call.Ok())
        return FALSE;
    const RasterOp op(rop);
    if (!op.UsesSource())
        return PatternBlt(call, xDest, yDest, wDest, hDest, rop);
    DeviceContext* source = DeviceContext::Find(hdcSrc);
    if (source == nullptr)
        return FALSE;
    if (wDest == 0 || hDest == 0 || wSrc == 0 || hSrc == 0)
        return TRUE;
    DeviceContext& dest = call.Dc();

    Span destX = Normalise(xDest, wDest);
    Span destY = Normalise(yDest, hDest);
    Span srcX = Normalise(xSrc, wSrc);
    Span srcY = Normalise(ySrc, hSrc);
    const bool mirrorX = destX.mirrored != srcX.mirrored;
    const bool mirrorY = destY.mirrored != srcY.mirrored;
    const POINT destAt = dest.ToDevice(destX.start, destY.start);
    destX.start = destAt.x;
    destY.start = destAt.y;
    const POINT srcAt = source->ToDevice(srcX.start, srcY.start);
    srcX.start = srcAt.x;
    srcY.start = srcAt.y;

    const display::Rect destRect{destX.start, destY.start, destX.start + destX.length,
                                 destY.start + destY.length};
    Painter& painter = call.Paint();
    const display::Rect area = destRect.Intersect(painter.Clip().Bounds());
    if (area.IsEmpty())
        return TRUE;
    const std::optional<SourceImage> image = SourceImage::Read(
        *source, {srcX.start, srcY.start, srcX.start + srcX.length, srcY.start + srcY.length});
    if (!image) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    const std::vector<Gather> columns = GatherAxis(destX, srcX, mirrorX, area.left, area.right);
    const std::vector<Gather> rows = GatherAxis(destY, srcY, mirrorY, area.top, area.bottom);

    if (op.UsesPattern() && dest.CurrentBrush().IsNull())
        return TRUE;
    const std::uint32_t pattern = PixelFromColorRef(dest.BrushColour());
    const bool destMono = painter.IsMonochrome();
    const int mode = dest.State().stretchMode;
    // Only a plain copy between bitmaps carries the fourth byte, which icons read as alpha.
    const bool keepAlpha = ((rop >> 16) & 0xFF) == 0xCC && dest.IsMemory() && source->IsMemory();
    const std::uint32_t mask = keepAlpha ? 0xFFFFFFFFu : 0xFFFFFFu;
    const bool oneToOne =
        std::all_of(columns.begin(), columns.end(), [](const Gather& g) { return g.count == 1; }) &&
        std::all_of(rows.begin(), rows.end(), [](const Gather& g) { return g.count == 1; });
    const bool plainCopy = ((rop >> 16) & 0xFF) == 0xCC && image->IsMonochrome() == destMono;
    if (oneToOne && plainCopy) {
        // The magnifier's path, every tick: whole rows where the source has every pixel the row
        // gathers, a pixel at a time only where some are missing (off every monitor).
        const auto [leftmost, rightmost] =
            std::minmax_element(columns.begin(), columns.end(),
                                [](const Gather& a, const Gather& b) { return a.first < b.first; });
        const int sourceLeft = leftmost->first;
        const int sourceRight = rightmost->first + 1;
        painter.ApplyRows(area, [&](int y, int left, int right, std::uint32_t* out) {
            const int sourceRow = rows[static_cast<std::size_t>(y - area.top)].first;
            const std::uint32_t* in = image->WholeRow(sourceRow, sourceLeft, sourceRight);
            const Gather* gather = &columns[static_cast<std::size_t>(left - area.left)];
            if (in != nullptr) {
                for (int x = left; x < right; ++x, ++gather, ++out)
                    *out = in[gather->first - sourceLeft] & mask;
                return;
            }
            for (int x = left; x < right; ++x, ++gather, ++out)
                if (const std::optional<std::uint32_t> sample = image->At(gather->first, sourceRow))
                    *out = *sample & mask;
        });
        return TRUE;
    }
    if (oneToOne) {
        // Enlarging or copying: each destination pixel takes exactly one source pixel.
        painter.Apply(area, [&](int x, int y, std::uint32_t& pixel) {
            const std::optional<std::uint32_t> sample =
                image->At(columns[static_cast<std::size_t>(x - area.left)].first,
                          rows[static_cast<std::size_t>(y - area.top)].first);
            if (!sample)
                return;
            const std::uint32_t s =
                Convert(*sample, image->IsMonochrome(), destMono, *source, dest);
            pixel = op.Apply(pattern, s, pixel) & mask;
        });
        return TRUE;
    }
    painter.Apply(area, [&](int x, int y, std::uint32_t& pixel) {
        const Gather& column = columns[static_cast<std::size_t>(x - area.left)];
        const Gather& row = rows[static_cast<std::size_t>(y - area.top)];
        Combiner combiner(mode);
        for (int sy = row.first; sy < row.first + row.count; ++sy)
            for (int sx = column.first; sx < column.first + column.count; ++sx)
                if (const std::optional<std::uint32_t> s = image->At(sx, sy))
                    combiner.Add(*s);
        const std::optional<std::uint32_t> sample = combiner.Result();
        if (!sample)
            return;
        const std::uint32_t s = Convert(*sample, image->IsMonochrome(), destMono, *source, dest);
        pixel = op.Apply(pattern, s, pixel) & mask;
    });
    return TRUE;
}

}  // namespace

BOOL WINAPI PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
    DrawCall call(hdc);
    if (!call.Ok())
        return FALSE;
    return PatternBlt(call, x, y, w, h, rop);
}

BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop) {
    return StretchTransfer(hdc, x, y, cx, cy, hdcSrc, x1, y1, cx, cy, rop);
}

BOOL WINAPI StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc,
                       int xSrc, int ySrc, int wSrc, int hSrc, DWORD rop) {
    return StretchTransfer(hdcDest, xDest, yDest, wDest, hDest, hdcSrc, xSrc, ySrc, wSrc, hSrc,
                           rop);
}

// A window DC reads the screen, as the pixels a user sees there; a memory DC its bitmap.
COLORREF WINAPI GetPixel(HDC hdc, int x, int y) {
    const DeviceContext* dc = DeviceContext::Find(hdc);
    if (dc == nullptr)
        return CLR_INVALID;
    const std::optional<DrawTarget> target = dc->Target();
    const POINT at = dc->ToDevice(x, y);
    if (!target || !target->clip.Contains({at.x, at.y}))
        return CLR_INVALID;
    if (dc->IsMemory()) {
        const std::uint32_t pixel = target->surface->At(at.x, at.y);
        return ColorRefFromPixel(pixel & 0xFFFFFF);
    }
    const std::optional<SourceImage> image =
        SourceImage::Read(*dc, {at.x, at.y, at.x + 1, at.y + 1});
    if (!image)
        return CLR_INVALID;
    const std::optional<std::uint32_t> pixel = image->At(at.x, at.y);
    return pixel ? ColorRefFromPixel(*pixel & 0xFFFFFF) : CLR_INVALID;
}
