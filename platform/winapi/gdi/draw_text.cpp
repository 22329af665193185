// DrawTextA: lines laid out in a rectangle, aligned, prefixes underlined, clipped to it.
#include <algorithm>
#include <cstring>
#include <string_view>

#include <windows.h>

#include "platform/winapi/gdi/draw_call.h"
#include "platform/winapi/gdi/font_object.h"
#include "platform/winapi/gdi/text_layout.h"
#include "platform/winapi/gdi/text_run.h"

using namespace winapi::gdi;
namespace font = winapi::font;

int WINAPI DrawTextA(HDC hdc, LPCSTR lpchText, int cchText, LPRECT lprc, UINT format) {
    DeviceContext* dc = DeviceContext::Find(hdc);
    if (dc == nullptr)
        return 0;
    if (lprc == nullptr || (lpchText == nullptr && cchText != 0) || cchText < -1) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::size_t length =
        cchText == -1 ? std::strlen(lpchText) : static_cast<std::size_t>(cchText);
    const std::string_view text =
        length == 0 ? std::string_view{} : std::string_view(lpchText, length);
    const font::Font& face = dc->CurrentFont().Face();
    const font::FontMetrics& metrics = face.Metrics();
    const int lineHeight =
        metrics.height + ((format & DT_EXTERNALLEADING) != 0 ? metrics.externalLeading : 0);
    const auto Clamp = [](long long v) { return DeviceContext::Saturate(v); };
    const std::vector<TextLine> lines =
        TextLayout(face, format, Clamp(static_cast<long long>(lprc->right) - lprc->left))
            .Lines(text);
    const int height = lineHeight * static_cast<int>(lines.size());

    if ((format & DT_CALCRECT) != 0) {
        int widest = 0;
        for (const TextLine& line : lines)
            widest = std::max(widest, face.TextWidth(line.text));
        lprc->right = Clamp(static_cast<long long>(lprc->left) + widest);
        lprc->bottom = Clamp(static_cast<long long>(lprc->top) + height);
        return height;
    }

    DrawCall call(hdc);
    if (!call.Ok())
        return 0;
    Painter& painter = call.Paint();
    if ((format & DT_NOCLIP) == 0)
        painter.Restrict(dc->ToDevice(*lprc));
    // The vertical placements only apply to a single line, with Win32's rounding.
    long long y = lprc->top;
    if ((format & DT_SINGLELINE) != 0) {
        if ((format & DT_VCENTER) != 0)
            y = Clamp(lprc->top + (static_cast<long long>(lprc->bottom) - lprc->top) / 2 -
                      lineHeight / 2);
        else if ((format & DT_BOTTOM) != 0)
            y = Clamp(static_cast<long long>(lprc->bottom) - lineHeight);
    }
    const std::uint32_t ink = PixelFromColorRef(dc->State().textColour);
    for (const TextLine& line : lines) {
        const TextRun run(face, line.text);
        int x = lprc->left;
        if ((format & DT_CENTER) != 0)
            x = Clamp((static_cast<long long>(lprc->left) + lprc->right - run.Width()) / 2);
        else if ((format & DT_RIGHT) != 0)
            x = Clamp(static_cast<long long>(lprc->right) - run.Width());
        const POINT at = dc->ToDevice(x, Clamp(y));
        if ((format & DT_PREFIXONLY) == 0)
            run.Draw(*dc, painter, at.x, at.y);
        if ((format & DT_HIDEPREFIX) == 0) {
            // One pixel below the baseline's row, one pixel shorter than the character.
            const int underlineY = at.y + metrics.ascent + 1;
            for (const auto& [first, last] : line.underlined) {
                const int from =
                    at.x + face.TextWidth(std::string_view(line.text).substr(0, first));
                const int width =
                    face.TextWidth(std::string_view(line.text).substr(first, last - first));
                painter.Fill({from, underlineY, from + width - 1, underlineY + 1}, ink);
            }
        }
        y += lineHeight;
    }
    return static_cast<int>(y - lprc->top);
}
