// The display backend: what the Win32 layer needs from a window system. Top-level surfaces
// that it fills with pixels, input as virtual-key codes and screen-coordinate pointer events,
// screen reading, the pointer, the clipboard, other processes' windows, a clock and a wait.
// It knows nothing of windows' insides, dialogs or controls.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace display {

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Right and bottom are exclusive, as in Win32.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool Contains(Point p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    Rect Intersect(const Rect& o) const {
        Rect r{left > o.left ? left : o.left, top > o.top ? top : o.top,
               right < o.right ? right : o.right, bottom < o.bottom ? bottom : o.bottom};
        return r.IsEmpty() ? Rect{} : r;
    }
    Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

// Pixels are 0x00RRGGBB (0xAARRGGBB for icons), rows top-down; stride counts pixels.
struct PixelView {
    const std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};

// A top-level surface of this process, 0 for none.
using SurfaceId = std::uint32_t;

// A top-level window of another process.
using ForeignWindowId = std::uint64_t;

enum class SurfaceKind {
    Normal,  // main windows: a task-bar entry (WS_EX_APPWINDOW or unowned)
    Tool,    // owned windows: transient for the owner, no task-bar entry
    Menu,    // pop-up menus and similar: never activated, above everything
};

struct SurfaceSpec {
    Rect bounds;  // outer rectangle, screen pixels
    SurfaceKind kind = SurfaceKind::Normal;
    SurfaceId owner = 0;
    bool topmost = false;
    std::string title;  // UTF-8
};

enum class MouseButton { Left, Right, Middle };

enum class EventType {
    KeyDown,       // vk; repeat: auto-repeat of a key already down; text: what it types
    KeyUp,         // vk
    Char,          // text: UTF-8 committed by an input method without a key of its own
    PointerMove,   // screen
    ButtonDown,    // button, screen
    ButtonUp,      // button, screen
    Wheel,         // wheelDelta (120 a notch, positive away from the user), screen
    FocusIn,       // surface got the keyboard focus from the window system
    FocusOut,      // surface lost it
    CloseRequest,  // the window system asks surface to close
    Expose,        // area of surface must be presented again
    Moved,         // the window system moved surface; area holds its new outer rectangle
    Minimized,     // the window system minimised surface
    Restored,      // ... or restored it
};

struct Event {
    EventType type = EventType::PointerMove;
    SurfaceId surface = 0;  // the surface concerned; for pointer events the one under it
    int vk = 0;
    bool repeat = false;
    std::string text;
    MouseButton button = MouseButton::Left;
    int wheelDelta = 0;
    Point screen;
    Rect area;
    std::uint64_t timeMs = 0;  // Clock() when it happened
};

class Backend {
public:
    virtual ~Backend() = default;

    // Screen: the union of monitors. ReadScreen fills the pixels of area (row-major, area's
    // width per row) that lie on the screen and sets their delivered flag; others are untouched.
    virtual Rect ScreenBounds() = 0;
    virtual void ReadScreen(const Rect& area, std::span<std::uint32_t> pixels,
                            std::span<std::uint8_t> delivered) = 0;

    // Top-level surfaces, stacked by the backend; new surfaces start hidden.
    virtual SurfaceId CreateSurface(const SurfaceSpec& spec) = 0;
    virtual void DestroySurface(SurfaceId id) = 0;
    virtual void SetSurfaceBounds(SurfaceId id, const Rect& bounds) = 0;
    virtual void SetSurfaceTitle(SurfaceId id, std::string_view utf8) = 0;
    virtual void SetSurfaceIcon(SurfaceId id, const PixelView& argb) = 0;
    virtual void SetSurfaceTopmost(SurfaceId id, bool topmost) = 0;
    virtual void ShowSurface(SurfaceId id, bool visible) = 0;
    virtual void MinimizeSurface(SurfaceId id, bool minimized) = 0;
    // Puts id directly below `below` (0: on top of its band, topmost or not).
    virtual void RaiseSurface(SurfaceId id, SurfaceId below) = 0;
    virtual void ActivateSurface(SurfaceId id) = 0;
    // Starts a window-system move of id with the left button held at screen; false when the
    // window system cannot, so the caller moves the window itself.
    virtual bool BeginMoveDrag(SurfaceId id, Point screen) = 0;
    // The surface's whole image; only the changed rectangles need reach the screen.
    virtual void Present(SurfaceId id, const PixelView& image, std::span<const Rect> changed) = 0;

    // Input and time.
    virtual std::optional<Event> NextEvent() = 0;
    // Returns when an event is pending or the clock has reached deadlineMs (none: no limit).
    virtual void Wait(std::optional<std::uint64_t> deadlineMs) = 0;
    // Milliseconds, monotonic.
    virtual std::uint64_t Clock() = 0;

    // Pointer, screen pixels.
    virtual Point PointerPosition() = 0;
    virtual void WarpPointer(Point to) = 0;

    // Sounds the display's bell: feedback for a key or click that did nothing.
    virtual void Bell() = 0;

    // Clipboard text, UTF-8.
    virtual void SetClipboardText(std::string_view utf8) = 0;
    virtual std::optional<std::string> ClipboardText() = 0;

    // Other processes' top-level windows, found by their exact title.
    virtual std::optional<ForeignWindowId> FindForeignWindow(std::string_view title) = 0;
    virtual bool IsForeignWindowMinimized(ForeignWindowId id) = 0;
    virtual bool RestoreForeignWindow(ForeignWindowId id) = 0;
    virtual bool ActivateForeignWindow(ForeignWindowId id) = 0;
};

}  // namespace display
