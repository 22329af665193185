// The headless display backend: a window system held in memory for tests. One composited
// virtual screen, one monitor or several side by side, with a desktop the test paints, our surfaces
// stacked in three bands, input the test injects, a virtual clock the test advances, a clipboard
// string and windows of "other processes" that exist only as titles. No threads, no real time: the
// same test gives the same pixels and the same events on every run.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/display/backend.h"
#include "platform/display/headless/pixel_image.h"
#include "platform/display/headless/surface_stack.h"

namespace display {

// What a test may inspect of one of our surfaces.
struct SurfaceInfo {
    SurfaceId id = 0;
    Rect bounds;
    SurfaceKind kind = SurfaceKind::Normal;
    SurfaceId owner = 0;
    bool topmost = false;
    bool visible = false;
    bool minimized = false;
    std::string title;
    PixelImage icon;       // empty until SetSurfaceIcon
    PixelImage image;      // the pixels presented so far, surface coordinates; black at first
    int presentCount = 0;  // Present calls since creation or ClearPresentRecords
    std::vector<Rect> presentedRects;  // their changed rectangles, in call order, as passed
};

// A top-level window of another process.
struct ForeignWindowInfo {
    ForeignWindowId id = 0;
    std::string title;
    bool minimized = false;
    int activationCount = 0;  // successful ActivateForeignWindow calls
};

class HeadlessBackend : public Backend {
public:
    static constexpr int kDefaultWidth = 1280;
    static constexpr int kDefaultHeight = 1024;
    static constexpr std::uint32_t kDesktopColour = 0x00008080;  // RGB(0, 128, 128), teal
    // The clock starts here, not at 0, so that code which subtracts times or treats 0 as
    // "never" is exercised as on a machine that has been up for a while (about 2 h 47 min).
    static constexpr std::uint64_t kClockStartMs = 10'000'000;
    // Wait gives up (abort) after this many returns in a row with no event queued in between:
    // the program or test is looping on timers alone and would never end.
    static constexpr int kMaxWaitsWithoutInput = 100'000;

    // One monitor of this size.
    explicit HeadlessBackend(int width = kDefaultWidth, int height = kDefaultHeight);
    HeadlessBackend(const HeadlessBackend&) = delete;
    HeadlessBackend& operator=(const HeadlessBackend&) = delete;

    // --- Backend ---
    Rect ScreenBounds() override;
    void ReadScreen(const Rect& area, std::span<std::uint32_t> pixels,
                    std::span<std::uint8_t> delivered) override;

    SurfaceId CreateSurface(const SurfaceSpec& spec) override;
    void DestroySurface(SurfaceId id) override;
    void SetSurfaceBounds(SurfaceId id, const Rect& bounds) override;
    void SetSurfaceTitle(SurfaceId id, std::string_view utf8) override;
    void SetSurfaceIcon(SurfaceId id, const PixelView& argb) override;
    void SetSurfaceTopmost(SurfaceId id, bool topmost) override;
    void ShowSurface(SurfaceId id, bool visible) override;
    void MinimizeSurface(SurfaceId id, bool minimized) override;
    void RaiseSurface(SurfaceId id, SurfaceId below) override;
    void ActivateSurface(SurfaceId id) override;
    bool BeginMoveDrag(SurfaceId id, Point screen) override;
    void Present(SurfaceId id, const PixelView& image, std::span<const Rect> changed) override;

    std::optional<Event> NextEvent() override;
    void Wait(std::optional<std::uint64_t> deadlineMs) override;
    std::uint64_t Clock() override { return m_clockMs; }

    Point PointerPosition() override { return m_pointer; }
    void WarpPointer(Point to) override;

    // Silent; counted for the tests.
    void Bell() override { ++m_bells; }

    void SetClipboardText(std::string_view utf8) override;
    std::optional<std::string> ClipboardText() override { return m_clipboard; }

    std::optional<ForeignWindowId> FindForeignWindow(std::string_view title) override;
    bool IsForeignWindowMinimized(ForeignWindowId id) override;
    bool RestoreForeignWindow(ForeignWindowId id) override;
    bool ActivateForeignWindow(ForeignWindowId id) override;

    // --- Test API: the screen ---
    // Several monitors instead, in screen coordinates from (0, 0) on; the screen is their
    // union, and the parts of it that no monitor shows (beside the smaller of two monitors of
    // different sizes) have no pixels to read. The desktop is repainted in its colour.
    void SetMonitors(std::vector<Rect> monitors);
    // Desktop painting clips to the screen.
    void FillDesktop(const Rect& area, std::uint32_t colour);
    void SetDesktopPixel(Point p, std::uint32_t colour);
    // The composite of area, row-major; pixels off the screen read 0.
    std::vector<std::uint32_t> Capture(const Rect& area);
    std::vector<std::uint32_t> Capture() { return Capture(ScreenBounds()); }
    // The composite at one screen pixel; 0 off the screen.
    std::uint32_t PixelAt(int x, int y);

    // --- Test API: our surfaces ---
    std::vector<SurfaceId> SurfacesTopToBottom() const { return m_stack.TopToBottom(); }
    // nullptr for an unknown id; valid until the surface is destroyed.
    const SurfaceInfo* FindSurface(SurfaceId id) const;
    // The surface under a screen point as the pointer sees it: topmost shown, not minimised.
    SurfaceId SurfaceAt(Point screen) const;
    SurfaceId ActiveSurface() const { return m_active; }
    void ClearPresentRecords();

    // --- Test API: input, queued with the current clock ---
    // Keys and characters go to the active surface (0 when none of ours is active).
    void KeyDown(int vk, std::string_view text = "");
    void KeyRepeat(int vk, std::string_view text = "");
    void KeyUp(int vk);
    void Press(int vk, std::string_view text = "");
    void InputMethodText(std::string_view utf8);
    // Pointer events go to the surface under the pointer (0: the desktop). A move to where the
    // pointer already is queues nothing, as with a real pointer.
    void MovePointer(int x, int y);
    void MovePointer(Point p) { MovePointer(p.x, p.y); }
    void ButtonDown(MouseButton button, std::optional<Point> at = std::nullopt);
    void ButtonUp(MouseButton button, std::optional<Point> at = std::nullopt);
    void Click(MouseButton button, Point at);
    void Wheel(int delta);
    std::size_t PendingEventCount() const { return m_events.size(); }

    // --- Test API: the user acting through the window system ---
    void RequestClose(SurfaceId id);
    void MinimizeByUser(SurfaceId id);
    void RestoreByUser(SurfaceId id);
    void MoveByUser(SurfaceId id, const Rect& bounds);
    void ExposeByUser(SurfaceId id, const Rect& area);
    // FocusOut for the surface that had the focus, FocusIn for id (0: focus to no surface).
    void FocusTo(SurfaceId id);

    // --- Test API: time ---
    void Advance(std::uint64_t ms) { m_clockMs += ms; }
    // Called by Wait when nothing is pending: the test's hand inside a loop it does not run
    // itself (a modal loop, the program's message loop). It may inject input and advance the
    // clock. An empty function removes it.
    void SetIdleHandler(std::function<void()> handler) { m_idleHandler = std::move(handler); }

    // --- Test API: the bell ---
    int BellCount() const { return m_bells; }

    // --- Test API: the clipboard as other programs see it ---
    void CopyFromOtherProgram(std::string_view utf8) { m_clipboard = std::string(utf8); }
    std::optional<std::string> ClipboardContent() const { return m_clipboard; }
    int ClipboardWriteCount() const { return m_clipboardWrites; }

    // --- Test API: other processes' windows ---
    // The new window is the top-most of them.
    ForeignWindowId AddForeignWindow(std::string_view title, bool minimized = false);
    const ForeignWindowInfo* FindForeignWindowInfo(ForeignWindowId id) const;
    ForeignWindowId ActiveForeignWindow() const { return m_activeForeign; }

private:
    SurfaceInfo* Surface(SurfaceId id);
    ForeignWindowInfo* Foreign(ForeignWindowId id);
    static StackBand BandOf(const SurfaceInfo& s);
    bool IsComposed(const SurfaceInfo& s) const { return s.visible && !s.minimized; }
    void Compose(const Rect& area, std::uint32_t* pixels, int stride) const;

    Event MakeEvent(EventType type, SurfaceId surface) const;
    void Enqueue(Event e);
    void QueueKey(EventType type, int vk, bool repeat, std::string_view text);
    void QueueButton(EventType type, MouseButton button, std::optional<Point> at);
    // Moves the pointer (clamped) and queues a PointerMove if it moved.
    void PointerTo(Point p);
    void SetActive(SurfaceId id);
    // After a Wait that leaves nothing pending.
    void CountWaitWithoutInput();

    PixelImage m_desktop;  // the union of the monitors
    std::vector<Rect> m_monitors;
    std::map<SurfaceId, SurfaceInfo> m_surfaces;
    SurfaceStack m_stack;
    SurfaceId m_nextSurface = 1;
    SurfaceId m_active = 0;

    std::deque<Event> m_events;
    std::uint64_t m_clockMs = kClockStartMs;
    std::uint64_t m_eventsQueued = 0;
    std::uint64_t m_eventsQueuedAtLastIdleWait = 0;
    int m_waitsWithoutInput = 0;
    std::function<void()> m_idleHandler;
    bool m_inIdleHandler = false;

    Point m_pointer;

    std::optional<std::string> m_clipboard;
    int m_clipboardWrites = 0;
    int m_bells = 0;

    std::map<ForeignWindowId, ForeignWindowInfo> m_foreign;
    std::vector<ForeignWindowId> m_foreignOrder;  // bottom to top
    ForeignWindowId m_nextForeign = 0x10000;
    ForeignWindowId m_activeForeign = 0;
};

}  // namespace display
