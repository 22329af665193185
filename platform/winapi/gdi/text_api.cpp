// Text output and measurement through the DC's font.
#include <algorithm>
#include <cstring>
#include <span>
#include <string_view>

#include <windows.h>

#include "platform/winapi/gdi/draw_call.h"
#include "platform/winapi/gdi/font_object.h"
#include "platform/winapi/gdi/text_run.h"

namespace {

using namespace winapi::gdi;
namespace font = winapi::font;

// Draws text at a reference point placed by the DC's text alignment.
BOOL OutputText(DrawCall& call, int x, int y, std::string_view text, std::span<const INT> dx) {
    DeviceContext& dc = call.Dc();
    const font::Font& face = dc.CurrentFont().Face();
    const TextRun run(face, text, dx);
    const UINT align = dc.State().textAlign;
    const bool updateCp = (align & TA_UPDATECP) != 0;
    if (updateCp) {
        x = dc.State().position.x;
        y = dc.State().position.y;
    }
    int left = x;
    if ((align & TA_CENTER) == TA_CENTER)
        left = x - run.Width() / 2;
    else if ((align & TA_RIGHT) != 0)
        left = x - run.Width();
    int top = y;
    if ((align & TA_BASELINE) == TA_BASELINE)
        top = y - face.Metrics().ascent;
    else if ((align & TA_BOTTOM) != 0)
        top = y - run.Height();
    const POINT at = dc.ToDevice(left, top);
    run.Draw(dc, call.Paint(), at.x, at.y);
    if (updateCp) {
        if ((align & TA_CENTER) == TA_CENTER)
            return TRUE;
        dc.State().position.x += (align & TA_RIGHT) != 0 ? -run.Width() : run.Width();
    }
    return TRUE;
}

bool ValidText(LPCSTR text, long long count) {
    if (count < 0 || (text == nullptr && count > 0)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

}  // namespace

BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c) {
    DrawCall call(hdc);
    if (!call.Ok() || !ValidText(lpString, c))
        return FALSE;
    if (c == 0)
        return TRUE;
    return OutputText(call, x, y, std::string_view(lpString, static_cast<std::size_t>(c)), {});
}

BOOL WINAPI ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* lprect, LPCSTR lpString,
                        UINT c, const INT* lpDx) {
    DrawCall call(hdc);
    if (!call.Ok() || !ValidText(lpString, c))
        return FALSE;
    DeviceContext& dc = call.Dc();
    Painter& painter = call.Paint();
    if (lprect != nullptr) {
        const display::Rect rect = dc.ToDevice(*lprect);
        if ((options & ETO_OPAQUE) != 0)
            painter.Fill(rect, PixelFromColorRef(dc.State().bkColour));
        if ((options & ETO_CLIPPED) != 0)
            painter.Restrict(rect);
    }
    if (c == 0)
        return TRUE;
    const std::string_view text(lpString, c);
    std::span<const INT> dx;
    if (lpDx != nullptr)
        dx = {lpDx, SplitCharacters(text).size()};
    return OutputText(call, x, y, text, dx);
}

BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl) {
    const DeviceContext* dc = DeviceContext::Find(hdc);
    if (dc == nullptr)
        return FALSE;
    if (psizl == nullptr || !ValidText(lpString, c))
        return FALSE;
    const font::Font& face = dc->CurrentFont().Face();
    const std::string_view text = c == 0 ? std::string_view{} : std::string_view(lpString, c);
    psizl->cx = face.TextWidth(text);
    psizl->cy = face.Metrics().height;
    return TRUE;
}

BOOL WINAPI GetTextMetricsA(HDC hdc, LPTEXTMETRICA lptm) {
    const DeviceContext* dc = DeviceContext::Find(hdc);
    if (dc == nullptr)
        return FALSE;
    if (lptm == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const FontObject& fontObject = dc->CurrentFont();
    const font::FontMetrics& m = fontObject.Face().Metrics();
    const LOGFONTA& logFont = fontObject.LogFont();
    *lptm = TEXTMETRICA{};
    lptm->tmHeight = m.height;
    lptm->tmAscent = m.ascent;
    lptm->tmDescent = m.descent;
    lptm->tmInternalLeading = m.internalLeading;
    lptm->tmExternalLeading = m.externalLeading;
    lptm->tmAveCharWidth = m.aveCharWidth;
    lptm->tmMaxCharWidth = m.maxCharWidth;
    lptm->tmWeight = m.weight;
    lptm->tmDigitizedAspectX = 96;
    lptm->tmDigitizedAspectY = 96;
    lptm->tmFirstChar = 0x20;
    lptm->tmLastChar = 0xFF;
    lptm->tmDefaultChar = 0x1F;
    lptm->tmBreakChar = 0x20;
    lptm->tmItalic = logFont.lfItalic != 0 ? 0xFF : 0;
    lptm->tmUnderlined = logFont.lfUnderline != 0 ? 0xFF : 0;
    lptm->tmStruckOut = logFont.lfStrikeOut != 0 ? 0xFF : 0;
    // Win32's TMPF_FIXED_PITCH bit means the opposite of its name: set for variable pitch.
    lptm->tmPitchAndFamily =
        static_cast<BYTE>((logFont.lfPitchAndFamily & 0xF0) |
                          (m.fixedPitch ? 0 : TMPF_FIXED_PITCH) | TMPF_VECTOR | TMPF_TRUETYPE);
    lptm->tmCharSet = static_cast<BYTE>(m.charSet);
    return TRUE;
}

int WINAPI GetTextFaceA(HDC hdc, int c, LPSTR lpName) {
    const DeviceContext* dc = DeviceContext::Find(hdc);
    if (dc == nullptr)
        return 0;
    const std::string& name = dc->CurrentFont().Face().FaceName();
    if (lpName == nullptr)
        return static_cast<int>(name.size()) + 1;
    if (c <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::size_t copied = std::min(name.size(), static_cast<std::size_t>(c) - 1);
    std::memcpy(lpName, name.data(), copied);
    lpName[copied] = '\0';
    return static_cast<int>(copied);
}
