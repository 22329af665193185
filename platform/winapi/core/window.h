// The window system's own record of a window, and the table that hands out handles.
// Handles are never reused, so a stale HWND can never reach another window's record.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <windows.h>

#include "platform/display/backend.h"
#include "platform/winapi/surface/surface.h"

namespace winapi::core {

struct WindowClass {
    std::string name;
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC proc = nullptr;
    int classExtra = 0;
    int windowExtra = 0;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
};

enum class WindowKind { Normal, Desktop, Foreign };

struct Window {
    HWND handle = nullptr;
    WindowKind kind = WindowKind::Normal;
    const WindowClass* windowClass = nullptr;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    UINT_PTR id = 0;  // the control id of a child, the menu of a top-level window
    HINSTANCE instance = nullptr;
    LONG_PTR userData = 0;
    std::vector<std::uint8_t> extra;
    std::string text;

    HWND parent = nullptr;       // null for top-level windows
    HWND owner = nullptr;        // top-level windows only
    std::vector<HWND> children;  // z-order, top first

    // Window rectangle in the parent's client coordinates (screen for top-level windows), and
    // the client rectangle relative to the window rectangle's top-left corner.
    RECT windowRect{};
    RECT clientRect{};
    RECT restoredRect{};  // the rectangle to go back to when a minimised window is restored

    bool visible = false;
    bool enabled = true;
    bool minimized = false;
    bool destroying = false;       // DestroyWindow has begun: no new children, no painting
    bool hiddenWithOwner = false;  // hidden because its owner was minimised

    // Painting: the invalid part of the client area (bounding rectangle), whether it must be
    // erased, and whether the frame must be drawn again.
    std::optional<RECT> update;
    bool eraseOnPaint = false;
    bool frameInvalid = false;

    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;

    // Top-level windows: their backing store and the display surface showing it.
    std::unique_ptr<gdi::Surface> surface;
    display::SurfaceId surfaceId = 0;

    display::ForeignWindowId foreignId = 0;  // windows of other processes
};

class WindowTable {
public:
    Window& Add(WindowKind kind);
    Window* Find(HWND hwnd);
    void Remove(HWND hwnd);
    void Clear();
    // Every window in the table, in creation order (for searches that need all of them).
    std::vector<HWND> Handles() const;

private:
    std::map<std::uintptr_t, std::unique_ptr<Window>> m_windows;
    std::uintptr_t m_nextId = 1;
};

}  // namespace winapi::core
