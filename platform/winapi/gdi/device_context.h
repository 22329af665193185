// A device context: its attributes, the objects selected into it, its own clip region, and
// where its drawing lands. A memory DC draws into its selected bitmap; a window DC asks the
// window system for the window's canvas at every call, so it follows the window as it moves
// and stops drawing when the window is gone.
#pragma once

#include <optional>
#include <vector>

#include "platform/winapi/gdi/clip_region.h"
#include "platform/winapi/gdi/gdi_object.h"
#include "platform/winapi/surface/surface.h"
#include "platform/winapi/surface/window_canvas.h"

namespace winapi::gdi {

class Bitmap;
class Brush;
class FontObject;
class Pen;

struct DcState {
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;
    HBITMAP bitmap = nullptr;  // memory DCs only
    COLORREF bkColour = RGB(255, 255, 255);
    COLORREF textColour = RGB(0, 0, 0);
    COLORREF dcBrushColour = RGB(255, 255, 255);
    COLORREF dcPenColour = RGB(0, 0, 0);
    int bkMode = OPAQUE;
    int stretchMode = BLACKONWHITE;
    UINT textAlign = TA_TOP | TA_LEFT;
    POINT position{0, 0};
    POINT viewportOrigin{0, 0};
    std::optional<ClipRegion> clip;  // device coordinates; none: the whole surface
};

// Where one drawing call lands, in device coordinates.
struct DrawTarget {
    Surface* surface = nullptr;  // null: nothing to draw on (the desktop)
    display::Point origin;       // device (0, 0) in surface pixels
    ClipRegion clip;             // device coordinates
    bool monochrome = false;
    bool window = false;
    display::Point screenOrigin;  // device (0, 0) in screen pixels, for screen reads
};

class DeviceContext final : public GdiObject {
public:
    static constexpr ObjectKind kKind = ObjectKind::Dc;

    // A memory DC holding the default bitmap and the default objects.
    DeviceContext();
    // A DC of hwnd's client area or whole window.
    DeviceContext(HWND hwnd, CanvasArea area, std::optional<RECT> paintClip);

    // The DC behind hdc; null (ERROR_INVALID_HANDLE) for anything else.
    static DeviceContext* Find(HDC hdc);

    bool IsMemory() const { return m_hwnd == nullptr; }
    HWND Window() const { return m_hwnd; }

    DcState& State() { return m_state; }
    const DcState& State() const { return m_state; }

    Pen& CurrentPen() const;
    Brush& CurrentBrush() const;
    FontObject& CurrentFont() const;
    Bitmap* CurrentBitmap() const;
    // The colours the selected pen and brush draw with (DC_PEN, DC_BRUSH follow the DC).
    COLORREF PenColour() const;
    COLORREF BrushColour() const;

    // Selects object, returning the handle it replaced; null when it cannot be selected here.
    HGDIOBJ Select(GdiObject& object);
    // Releases every selection, saved states' too: before the DC goes away.
    void ReleaseSelections();

    int Save();
    bool Restore(int saved);

    // Device coordinates saturate at +-2^28 (Win32 itself keeps to 27 bits), so that sizes and
    // pen widths added to them never overflow.
    static constexpr long long kFarthest = 1LL << 28;
    static int Saturate(long long value) {
        return static_cast<int>(value < -kFarthest  ? -kFarthest
                                : value > kFarthest ? kFarthest
                                                    : value);
    }
    POINT ToDevice(int x, int y) const {
        return {Saturate(static_cast<long long>(x) + m_state.viewportOrigin.x),
                Saturate(static_cast<long long>(y) + m_state.viewportOrigin.y)};
    }
    display::Rect ToDevice(const RECT& rect) const;

    // Where drawing lands now; nothing when the window is gone.
    std::optional<DrawTarget> Target() const;

private:
    void Adopt(const DcState& state);
    static void Release(const DcState& state);

    HWND m_hwnd = nullptr;
    CanvasArea m_area = CanvasArea::Client;
    std::optional<RECT> m_paintClip;
    DcState m_state;
    std::vector<DcState> m_saved;
};

}  // namespace winapi::gdi
