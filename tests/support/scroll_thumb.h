// Where a horizontal scroll bar's thumb is on the headless screen, found as a user finds it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "platform/display/headless/headless_backend.h"

// The middle of the thumb's first column but one: the thumb is the one stretch of the track with
// the button face in its middle, the track itself being a dither of face and white. Empty when
// the bar shows no thumb.
inline std::optional<POINT> ThumbOnScreen(display::HeadlessBackend& display, HWND bar) {
    RECT r{};
    GetWindowRect(bar, &r);
    const int arrow = GetSystemMetrics(SM_CXHSCROLL);
    const int y = (r.top + r.bottom) / 2;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const std::uint32_t facePixel = static_cast<std::uint32_t>(GetRValue(face)) << 16 |
                                    static_cast<std::uint32_t>(GetGValue(face)) << 8 |
                                    GetBValue(face);
    for (int x = r.left + arrow; x < r.right - arrow; ++x)
        if (display.PixelAt(x, y) == facePixel && display.PixelAt(x + 1, y) == facePixel)
            return POINT{x + 1, y};
    return std::nullopt;
}
