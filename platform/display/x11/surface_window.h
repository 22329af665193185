// One top-level surface as an X window: the hints that keep the window manager's frame off it
// and tell it what kind of window it is, the pixel copy it is presented from, its input
// context, and what the backend knows of its state on the server.
#pragma once

#include "platform/display/x11/xlib.h"

#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "platform/display/backend.h"
#include "platform/display/x11/window_image.h"
#include "platform/display/x11/window_manager.h"
#include "platform/display/x11/x11_connection.h"

namespace display::x11 {

// What every surface shares.
struct SurfaceEnvironment {
    Connection& connection;
    const WindowManager& windowManager;
    XIM inputMethod = nullptr;  // null: keys are looked up without one
    bool useShm = false;
};

class SurfaceWindow {
public:
    // The window starts unmapped; owner is the X window of the owner surface (None: none).
    SurfaceWindow(const SurfaceEnvironment& environment, SurfaceId id, const SurfaceSpec& spec,
                  Window owner);
    ~SurfaceWindow();
    SurfaceWindow(const SurfaceWindow&) = delete;
    SurfaceWindow& operator=(const SurfaceWindow&) = delete;

    SurfaceId Id() const { return m_id; }
    Window XWindow() const { return m_window; }
    XIC InputContext() const { return m_inputContext; }
    // Gives the window its input context once the environment has an input method; a menu
    // takes no keys and gets none.
    void AttachInputContext();
    SurfaceKind Kind() const { return m_kind; }
    const Rect& Bounds() const { return m_bounds; }
    bool IsTopmost() const { return m_topmost; }
    bool IsShown() const { return m_shown; }
    bool IsMinimized() const { return m_minimized; }
    bool IsMapped() const { return m_mapped; }
    // Whether the window manager decorates, focuses and stacks this window.
    bool IsManaged() const;

    void SetBounds(const Rect& bounds);
    // Where the server says the window is, after the window manager moved it.
    void NoteMoved(Point topLeft) {
        m_bounds = m_bounds.Offset(topLeft.x - m_bounds.left, topLeft.y - m_bounds.top);
    }
    void SetTitle(std::string_view utf8);
    void SetIcon(const PixelView& argb);
    void SetTopmost(bool topmost);
    void Show(bool shown);
    void Minimize(bool minimized);
    // Asks for the keyboard focus; `time` is the server time of the user's last input.
    void Activate(Time time, Window currentlyActive);
    bool BeginMoveDrag(Point screen);

    void Present(const PixelView& image, std::span<const Rect> changed);
    // Puts area again from the copy; false while nothing was presented at this size.
    bool Repaint(const Rect& area);

    // What the server reports. Each returns true when the state changed by someone else's
    // hand (the user through the window manager, or another client).
    bool NoteMapped(const XMapEvent& event);
    bool NoteUnmapped(const XUnmapEvent& event);
    bool NoteIconic(bool iconic);

private:
    void WriteHints(const SurfaceSpec& spec, Window owner);
    void WriteSizeHints();
    void WriteNetWmState();
    void PublishStateWithoutManager();
    void Unmap();
    // Map and unmap requests whose notifications are told apart from other clients'.
    void MapOwn();
    void UnmapOwn();
    // Whether serial is one of serials (which it then leaves, with every older one).
    static bool TakeOwn(std::deque<unsigned long>& serials, unsigned long serial);

    Display* m_display;
    const SurfaceEnvironment& m_env;
    SurfaceId m_id;
    SurfaceKind m_kind;
    Rect m_bounds;
    bool m_topmost;
    Window m_window = None;
    GC m_gc = nullptr;
    XIC m_inputContext = nullptr;
    std::unique_ptr<WindowImage> m_image;
    bool m_presented = false;
    bool m_shown = false;      // as the backend was asked
    bool m_minimized = false;  // as the backend was asked or told
    bool m_mapped = false;     // as the server last reported
    bool m_focusOnMap = false;
    // Serials of our own map and unmap requests whose notifications have not come back. The
    // server stamps a notification with the serial of the request that caused it, so one read
    // late (after we minimised or showed again) is still told from another client's doing.
    std::deque<unsigned long> m_ownMaps;
    std::deque<unsigned long> m_ownUnmaps;
    // Our own iconify or restore asked of a window manager, until the manager's state shows it.
    // Till then a state read that contradicts it is older news (a property written before the
    // manager got to our request), not the user's doing. A manager that never obliges does not
    // hold the window's state hostage: the request lapses after a while.
    std::optional<bool> m_askedIconic;
    std::chrono::steady_clock::time_point m_askedAt;
};

}  // namespace display::x11
