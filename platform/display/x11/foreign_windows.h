// Other processes' top-level windows: found by their exact title, restored and activated, as
// the program does to bring forward the copy that is already running.
#pragma once

#include "platform/display/x11/xlib.h"

#include <functional>
#include <optional>
#include <string_view>

#include "platform/display/x11/window_manager.h"
#include "platform/display/x11/x11_connection.h"

namespace display::x11 {

class ForeignWindows {
public:
    // isOurs: whether a window is one of this process's own.
    ForeignWindows(Connection& connection, const WindowManager& windowManager,
                   std::function<bool(Window)> isOurs);

    std::optional<Window> Find(std::string_view title);
    bool IsMinimized(Window window);
    bool Restore(Window window, Time time);
    bool Activate(Window window, Time time);

private:
    bool Exists(Window window);
    bool HasTitle(Window window, std::string_view title);
    // Clients whose manager lists them, else the root's children and their children (a
    // manager without EWMH reparents clients into frames).
    std::optional<Window> FindListed(std::string_view title);
    std::optional<Window> FindInTree(std::string_view title);

    Connection& m_connection;
    Display* m_display;
    const WindowManager& m_windowManager;
    std::function<bool(Window)> m_isOurs;
};

}  // namespace display::x11
