#include "platform/display/x11/window_manager.h"

#include "platform/display/x11/xlib.h"

#include <algorithm>

#include "platform/display/x11/window_property.h"

namespace display::x11 {

namespace {

constexpr long kNetWmStateRemove = 0;
constexpr long kNetWmStateAdd = 1;
constexpr long kSourceApplication = 1;

Window CheckWindowOf(Display* display, Window window, Atom check) {
    const auto value = ReadProperty(display, window, check);
    if (!value || value->type != XA_WINDOW || value->format != 32 || value->items.empty()) {
        return None;
    }
    return Window(value->items.front());
}

}  // namespace

WindowManager::WindowManager(Display* display, Window root, const Atoms& atoms)
    : m_display(display), m_root(root), m_atoms(atoms) {
    Refresh();
}

void WindowManager::Refresh() {
    m_checkWindow = None;
    m_supported.clear();
    // A manager that died leaves its root property behind; the check window names itself
    // only while the manager lives.
    const Window check = CheckWindowOf(m_display, m_root, m_atoms.netSupportingWmCheck);
    if (check == None || CheckWindowOf(m_display, check, m_atoms.netSupportingWmCheck) != check) {
        return;
    }
    m_checkWindow = check;
    if (const auto supported = ReadProperty(m_display, m_root, m_atoms.netSupported);
        supported && supported->format == 32) {
        m_supported.assign(supported->items.begin(), supported->items.end());
    }
}

bool WindowManager::IsWatched(Atom property) const {
    return property == m_atoms.netSupportingWmCheck || property == m_atoms.netSupported;
}

bool WindowManager::Supports(Atom feature) const {
    return IsRunning() &&
           std::find(m_supported.begin(), m_supported.end(), feature) != m_supported.end();
}

void WindowManager::Send(Window window, Atom type, const std::array<long, 5>& data) const {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    std::copy(data.begin(), data.end(), event.xclient.data.l);
    XSendEvent(m_display, m_root, False, SubstructureNotifyMask | SubstructureRedirectMask, &event);
}

void WindowManager::ChangeState(Window window, Atom state, bool add) const {
    Send(window, m_atoms.netWmState,
         {add ? kNetWmStateAdd : kNetWmStateRemove, long(state), 0, kSourceApplication, 0});
}

}  // namespace display::x11
