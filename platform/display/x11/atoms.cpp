#include "platform/display/x11/atoms.h"

#include <array>
#include <utility>

namespace display::x11 {

Atoms Atoms::Intern(Display* display) {
    static constexpr std::array<std::pair<const char*, Atom Atoms::*>, 34> kNames{{
        {"CLIPBOARD", &Atoms::clipboard},
        {"TARGETS", &Atoms::targets},
        {"MULTIPLE", &Atoms::multiple},
        {"TIMESTAMP", &Atoms::timestamp},
        {"UTF8_STRING", &Atoms::utf8String},
        {"TEXT", &Atoms::text},
        {"INCR", &Atoms::incr},
        {"ATOM_PAIR", &Atoms::atomPair},
        {"CLIPBOARD_MANAGER", &Atoms::clipboardManager},
        {"SAVE_TARGETS", &Atoms::saveTargets},
        {"_TINTARO_TRANSFER", &Atoms::transfer},
        {"_TINTARO_TIME", &Atoms::timeProbe},
        {"WM_PROTOCOLS", &Atoms::wmProtocols},
        {"WM_DELETE_WINDOW", &Atoms::wmDeleteWindow},
        {"WM_STATE", &Atoms::wmState},
        {"_MOTIF_WM_HINTS", &Atoms::motifWmHints},
        {"_NET_SUPPORTED", &Atoms::netSupported},
        {"_NET_SUPPORTING_WM_CHECK", &Atoms::netSupportingWmCheck},
        {"_NET_CLIENT_LIST", &Atoms::netClientList},
        {"_NET_ACTIVE_WINDOW", &Atoms::netActiveWindow},
        {"_NET_WM_NAME", &Atoms::netWmName},
        {"_NET_WM_ICON", &Atoms::netWmIcon},
        {"_NET_WM_PID", &Atoms::netWmPid},
        {"_NET_WM_PING", &Atoms::netWmPing},
        {"_NET_WM_MOVERESIZE", &Atoms::netWmMoveResize},
        {"_NET_WM_WINDOW_TYPE", &Atoms::netWmWindowType},
        {"_NET_WM_WINDOW_TYPE_NORMAL", &Atoms::netWmWindowTypeNormal},
        {"_NET_WM_WINDOW_TYPE_DIALOG", &Atoms::netWmWindowTypeDialog},
        {"_NET_WM_WINDOW_TYPE_POPUP_MENU", &Atoms::netWmWindowTypePopupMenu},
        {"_NET_WM_STATE", &Atoms::netWmState},
        {"_NET_WM_STATE_ABOVE", &Atoms::netWmStateAbove},
        {"_NET_WM_STATE_HIDDEN", &Atoms::netWmStateHidden},
        {"_NET_WM_STATE_SKIP_TASKBAR", &Atoms::netWmStateSkipTaskbar},
        {"_NET_WM_STATE_SKIP_PAGER", &Atoms::netWmStateSkipPager},
    }};
    std::array<char*, kNames.size()> names{};
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        names[i] = const_cast<char*>(kNames[i].first);
    }
    std::array<Atom, kNames.size()> values{};
    Atoms atoms;
    if (XInternAtoms(display, names.data(), int(names.size()), False, values.data()) == 0) {
        return atoms;
    }
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        if (kNames[i].second != nullptr) {
            atoms.*(kNames[i].second) = values[i];
        }
    }
    return atoms;
}

}  // namespace display::x11
