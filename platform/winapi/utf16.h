#pragma once

#include <string>
#include <string_view>

namespace winapi {

// Resources store their text as UTF-16LE; the rest of the Win32 layer speaks UTF-8. Surrogate
// pairs become one four-byte sequence; a surrogate without its partner becomes U+FFFD, as
// WideCharToMultiByte does for CP_UTF8.
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace winapi
