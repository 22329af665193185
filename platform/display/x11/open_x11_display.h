// Opens the X11 display backend on $DISPLAY. Kept apart from x11_backend.h so that the
// program's start-up code sees no X11 header.
#pragma once

#include <memory>
#include <string>

#include "platform/display/backend.h"

namespace display {

// Null when there is no usable display; error (if given) then holds a one-line reason for the
// user, without a trailing newline.
std::unique_ptr<Backend> OpenX11Display(std::string* error);

}  // namespace display
