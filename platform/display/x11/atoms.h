// The atoms this backend speaks, interned in one round trip.
#pragma once

#include "platform/display/x11/xlib.h"

namespace display::x11 {

struct Atoms {
    // Selections.
    Atom clipboard = None;
    Atom targets = None;
    Atom multiple = None;
    Atom timestamp = None;
    Atom utf8String = None;
    Atom text = None;
    Atom incr = None;
    Atom atomPair = None;
    Atom clipboardManager = None;
    Atom saveTargets = None;
    Atom transfer = None;   // our own property for conversions we ask for
    Atom timeProbe = None;  // an empty property appended to learn the server's time
    // ICCCM.
    Atom wmProtocols = None;
    Atom wmDeleteWindow = None;
    Atom wmState = None;
    // Motif and EWMH.
    Atom motifWmHints = None;
    Atom netSupported = None;
    Atom netSupportingWmCheck = None;
    Atom netClientList = None;
    Atom netActiveWindow = None;
    Atom netWmName = None;
    Atom netWmIcon = None;
    Atom netWmPid = None;
    Atom netWmPing = None;
    Atom netWmMoveResize = None;
    Atom netWmWindowType = None;
    Atom netWmWindowTypeNormal = None;
    Atom netWmWindowTypeDialog = None;
    Atom netWmWindowTypePopupMenu = None;
    Atom netWmState = None;
    Atom netWmStateAbove = None;
    Atom netWmStateHidden = None;
    Atom netWmStateSkipTaskbar = None;
    Atom netWmStateSkipPager = None;

    static Atoms Intern(Display* display);
};

}  // namespace display::x11
