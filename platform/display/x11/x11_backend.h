// The display backend on a real X server through Xlib: undecorated top-level windows that our
// non-client area frames, EWMH hints for the window manager (or our own stacking and focus
// when none runs), pixels put through MIT-SHM when the server shares memory, keys as virtual
// keys with detectable auto-repeat and input-method text, the screen read from the root window
// monitor by monitor, the CLIPBOARD selection (kept alive after exit), and other clients'
// windows found by title.
#pragma once

#include "platform/display/x11/xlib.h"

#include <array>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/display/backend.h"
#include "platform/display/x11/clipboard_keeper.h"
#include "platform/display/x11/clipboard_owner.h"
#include "platform/display/x11/clipboard_reader.h"
#include "platform/display/x11/foreign_windows.h"
#include "platform/display/x11/key_repeat.h"
#include "platform/display/x11/screen_reader.h"
#include "platform/display/x11/surface_window.h"
#include "platform/display/x11/window_manager.h"
#include "platform/display/x11/x11_connection.h"

namespace display {

struct X11Options {
    const char* displayName = nullptr;  // null: $DISPLAY
    bool allowSharedMemory = true;      // false: plain XPutImage even on a local display
    // How long the monitor list is kept before it is asked afresh: monitors another client
    // sets or deletes come with no event, and are seen within this time.
    std::uint64_t monitorRefreshMs = 1000;
};

class X11Backend : public Backend {
public:
    // How long ClipboardText waits for another client's answer.
    static constexpr std::uint64_t kClipboardTimeoutMs = 1000;

    // Null with a one-line reason when the display cannot be opened or is not usable.
    static std::unique_ptr<X11Backend> Open(const X11Options& options, std::string* error);
    ~X11Backend() override;
    X11Backend(const X11Backend&) = delete;
    X11Backend& operator=(const X11Backend&) = delete;

    // Hands our clipboard text on (see ClipboardKeeper) and destroys every surface; the
    // destructor does it if nobody did. Nothing may be called after it.
    x11::ClipboardKept Shutdown();

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
    std::uint64_t Clock() override { return x11::MonotonicMs(); }

    Point PointerPosition() override;
    void WarpPointer(Point to) override;

    void Bell() override;

    void SetClipboardText(std::string_view utf8) override;
    std::optional<std::string> ClipboardText() override;

    std::optional<ForeignWindowId> FindForeignWindow(std::string_view title) override;
    bool IsForeignWindowMinimized(ForeignWindowId id) override;
    bool RestoreForeignWindow(ForeignWindowId id) override;
    bool ActivateForeignWindow(ForeignWindowId id) override;

    // --- For tests and measurements ---
    // Waits until the server sends something or deadlineMs passes, then handles all that
    // arrived: for a wait on a state change that brings no event of its own.
    void ProcessServerEvents(std::uint64_t deadlineMs);
    Display* XDisplay() const { return m_connection->Get(); }
    // The X window of a surface, None for an unknown id.
    Window XWindowOf(SurfaceId id) const;
    bool UsesSharedMemory() const { return m_useShm; }
    bool HasInputMethod() const { return m_inputMethod != nullptr; }
    bool HasDetectableAutoRepeat() const { return m_detectableRepeat; }
    bool WindowManagerRunning() const { return m_windowManager.IsRunning(); }

private:
    using Handler = void (X11Backend::*)(XEvent&);
    static const std::array<Handler, LASTEvent>& Handlers();

    X11Backend(std::unique_ptr<x11::Connection> connection, bool allowSharedMemory,
               std::uint64_t monitorRefreshMs);
    x11::SurfaceWindow* Surface(SurfaceId id) const;
    SurfaceId SurfaceOf(Window window) const;
    bool IsOurs(Window window) const;

    // Reads everything the server has sent and turns it into events.
    void Pump();
    void Dispatch(XEvent& event);
    Event MakeEvent(EventType type, SurfaceId surface) const;
    void Push(Event event) { m_events.push_back(std::move(event)); }

    void OnKeyPress(XEvent& event);
    void OnKeyRelease(XEvent& event);
    void OnButtonPress(XEvent& event);
    void OnButtonRelease(XEvent& event);
    void OnMotion(XEvent& event);
    void OnFocusIn(XEvent& event);
    void OnFocusOut(XEvent& event);
    void OnExpose(XEvent& event);
    void OnConfigure(XEvent& event);
    void OnMap(XEvent& event);
    void OnUnmap(XEvent& event);
    void OnProperty(XEvent& event);
    void OnClientMessage(XEvent& event);
    void OnMapping(XEvent& event);

    // The text a key press types and the key symbol its modifiers select.
    std::pair<std::string, KeySym> LookUpKey(XKeyEvent& key);
    // Whether the window manager or the user made surface iconic, from its properties.
    bool IsIconic(Window window);
    // Puts our windows in the order of m_stack when no window manager does it.
    void ApplyStacking();
    int BandOf(const x11::SurfaceWindow& surface) const;

    std::unique_ptr<x11::Connection> m_connection;
    Display* m_display;
    x11::WindowManager m_windowManager;
    XIM m_inputMethod = nullptr;
    bool m_useShm = false;
    bool m_detectableRepeat = false;
    Window m_helperWindow = None;  // never mapped: owns the clipboard, learns server time
    x11::SurfaceEnvironment m_environment;
    x11::ScreenReader m_screen;
    x11::ClipboardOwner m_clipboard;
    x11::ClipboardReader m_clipboardReader;
    x11::ForeignWindows m_foreign;
    x11::KeyRepeat m_keys;

    std::map<SurfaceId, std::unique_ptr<x11::SurfaceWindow>> m_surfaces;
    std::map<Window, SurfaceId> m_surfaceOfWindow;
    std::vector<SurfaceId> m_stack;  // top to bottom: menus, topmost, normal
    SurfaceId m_nextSurface = 1;
    SurfaceId m_focused = 0;
    Time m_userTime = CurrentTime;  // server time of the last key or button press
    // The pointer as last asked of the server, good for the rest of that millisecond: every
    // message retrieved is stamped with the pointer position, and a tick's timer message and
    // its handler's GetCursorPos then cost one round trip, not two. A warp forgets it.
    std::optional<Point> m_pointer;
    std::uint64_t m_pointerReadMs = 0;

    std::deque<Event> m_events;
    bool m_shutDown = false;
};

}  // namespace display
