#pragma once

#include "platform/winapi/gdi/icon_image.h"

namespace winapi::resource {

// IDI_APPLICATION: a 32 x 32 picture of a window, a white client area under a blue caption in a
// black frame, on a transparent ground.
gdi::IconImage StockApplicationIcon();

}  // namespace winapi::resource
