// Every X11 header this backend uses, included in one place. X.h defines FocusIn, FocusOut and
// Expose as macros, which would rewrite display::EventType's names of the same spelling: they
// become constants here and the macros go. Include this instead of any X11 header.
#pragma once

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <X11/extensions/Xrandr.h>
#include <X11/keysym.h>

namespace display::x11 {
inline constexpr int kFocusInEvent = FocusIn;
inline constexpr int kFocusOutEvent = FocusOut;
inline constexpr int kExposeEvent = Expose;
}  // namespace display::x11

#undef FocusIn
#undef FocusOut
#undef Expose
