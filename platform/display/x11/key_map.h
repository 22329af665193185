// From X key symbols to Win32 virtual-key codes, and the text a key press hands on.
#pragma once

#include "platform/display/x11/xlib.h"

#include <string>
#include <string_view>

namespace display::x11 {

// The virtual key of a key press. `unshifted` is the key's first symbol (its name whatever the
// modifiers: 'a' for A, '1' for '!'); `typed` is the symbol the modifiers select, which decides
// the keypad keys (with Num Lock a digit, without it a cursor key). 0 for keys Win32 has no
// code for.
int VirtualKeyOf(KeySym unshifted, KeySym typed);

// What a key types as Win32 reports it with the key: the control characters X gives for
// Return, Delete or Ctrl+letter are dropped, since the window system derives the ones Win32
// types from the virtual key.
std::string TypedText(std::string_view utf8);

}  // namespace display::x11
