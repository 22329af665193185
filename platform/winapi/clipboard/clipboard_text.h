// Text in the clipboard's text formats: CF_TEXT (and CF_OEMTEXT) hold UTF-8 in this system's A
// world, CF_UNICODETEXT holds UTF-16; both end at their first zero character.
#pragma once

#include <windows.h>

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace winapi::clipboard {

bool IsTextFormat(UINT format);
// The text a block of format holds, up to its terminating zero (or its end when it has none).
std::string TextFromBytes(UINT format, std::span<const std::byte> bytes);
// The bytes of utf8 in format, with the terminating zero.
std::vector<std::byte> BytesFromText(UINT format, std::string_view utf8);

}  // namespace winapi::clipboard
