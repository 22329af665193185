#pragma once

#include <windows.h>

#include <optional>

#include "platform/winapi/resource/res_file.h"

namespace winapi::resource {

// A type or name argument as FindResource reads it: an ordinal made by MAKEINTRESOURCE, "#123"
// for ordinal 123, or else a UTF-8 name. Nullopt for a "#" form that is not a 16-bit decimal
// number.
std::optional<ResId> ResIdFromArgument(LPCSTR argument);

}  // namespace winapi::resource
