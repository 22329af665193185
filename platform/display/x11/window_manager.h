// What the running window manager offers (EWMH: a supporting-WM-check window and the
// _NET_SUPPORTED list) and the client messages that ask it for things. With no such manager
// the backend stacks, focuses and maps windows itself.
#pragma once

#include "platform/display/x11/xlib.h"

#include <array>
#include <vector>

#include "platform/display/x11/atoms.h"

namespace display::x11 {

class WindowManager {
public:
    WindowManager(Display* display, Window root, const Atoms& atoms);

    // Reads the root's properties again: a manager may start or stop while we run.
    void Refresh();
    // Whether a root PropertyNotify of this atom calls for Refresh.
    bool IsWatched(Atom property) const;

    bool IsRunning() const { return m_checkWindow != None; }
    bool Supports(Atom feature) const;

    // A message about window to the manager (to the root, as EWMH asks).
    void Send(Window window, Atom type, const std::array<long, 5>& data) const;
    // _NET_WM_STATE: add (true) or remove one state of a mapped window.
    void ChangeState(Window window, Atom state, bool add) const;

private:
    Display* m_display;
    Window m_root;
    const Atoms& m_atoms;
    Window m_checkWindow = None;
    std::vector<Atom> m_supported;
};

}  // namespace display::x11
