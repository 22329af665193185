#include "platform/display/x11/foreign_windows.h"

#include "platform/display/x11/xlib.h"

#include <vector>

#include "platform/display/x11/window_property.h"

namespace display::x11 {

namespace {

constexpr long kSourcePager = 2;

std::vector<Window> ChildrenOf(Display* display, Window window) {
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count)) {
        return {};
    }
    std::vector<Window> list(children, children + count);
    if (children != nullptr) {
        XFree(children);
    }
    return list;
}

}  // namespace

ForeignWindows::ForeignWindows(Connection& connection, const WindowManager& windowManager,
                               std::function<bool(Window)> isOurs)
    : m_connection(connection),
      m_display(connection.Get()),
      m_windowManager(windowManager),
      m_isOurs(std::move(isOurs)) {}

bool ForeignWindows::HasTitle(Window window, std::string_view title) {
    if (m_isOurs(window)) {
        return false;
    }
    const Atoms& atoms = m_connection.GetAtoms();
    const auto name = ReadTitle(m_display, window, atoms.netWmName, atoms.utf8String);
    return name && *name == title;
}

std::optional<Window> ForeignWindows::Find(std::string_view title) {
    if (m_windowManager.IsRunning()) {
        if (auto found = FindListed(title)) {
            return found;
        }
    }
    return FindInTree(title);
}

std::optional<Window> ForeignWindows::FindListed(std::string_view title) {
    const auto clients =
        ReadProperty(m_display, m_connection.Root(), m_connection.GetAtoms().netClientList);
    if (!clients || clients->format != 32) {
        return std::nullopt;
    }
    for (const unsigned long window : clients->items) {
        if (HasTitle(Window(window), title)) {
            return Window(window);
        }
    }
    return std::nullopt;
}

std::optional<Window> ForeignWindows::FindInTree(std::string_view title) {
    const std::vector<Window> topLevels = ChildrenOf(m_display, m_connection.Root());
    // Top of the stack first: the window the user sees is the one meant.
    for (auto it = topLevels.rbegin(); it != topLevels.rend(); ++it) {
        if (HasTitle(*it, title)) {
            return *it;
        }
        for (const Window child : ChildrenOf(m_display, *it)) {
            if (HasTitle(child, title)) {
                return child;
            }
        }
    }
    return std::nullopt;
}

bool ForeignWindows::Exists(Window window) {
    XWindowAttributes attributes{};
    return window != None && XGetWindowAttributes(m_display, window, &attributes) != 0;
}

bool ForeignWindows::IsMinimized(Window window) {
    const Atoms& atoms = m_connection.GetAtoms();
    if (const auto state = ReadProperty(m_display, window, atoms.wmState);
        state && state->format == 32 && !state->items.empty() &&
        state->items.front() == IconicState) {
        return true;
    }
    const auto netState = ReadProperty(m_display, window, atoms.netWmState);
    return netState && netState->format == 32 && netState->HasItem(atoms.netWmStateHidden);
}

bool ForeignWindows::Restore(Window window, Time time) {
    if (!Exists(window)) {
        return false;
    }
    const Atoms& atoms = m_connection.GetAtoms();
    if (m_windowManager.Supports(atoms.netActiveWindow)) {
        // Mapping an iconic window asks its manager to make it normal (ICCCM); activation
        // brings it forward.
        XMapWindow(m_display, window);
        m_windowManager.Send(window, atoms.netActiveWindow, {kSourcePager, long(time), 0, 0, 0});
    } else {
        XMapRaised(m_display, window);
    }
    XFlush(m_display);
    return true;
}

bool ForeignWindows::Activate(Window window, Time time) {
    XWindowAttributes attributes{};
    if (window == None || XGetWindowAttributes(m_display, window, &attributes) == 0) {
        return false;
    }
    const Atoms& atoms = m_connection.GetAtoms();
    if (m_windowManager.Supports(atoms.netActiveWindow)) {
        // Acting for the user on another program's window, as a pager does: a manager's focus
        // stealing prevention would refuse an ordinary application's request.
        m_windowManager.Send(window, atoms.netActiveWindow, {kSourcePager, long(time), 0, 0, 0});
    } else {
        XRaiseWindow(m_display, window);
        if (attributes.map_state == IsViewable) {
            m_connection.SetInputFocus(window);
        }
    }
    XFlush(m_display);
    return true;
}

}  // namespace display::x11
