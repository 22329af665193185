#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/winapi/resource/module_resources.h"
#include "platform/winapi/resource/string_table.h"
#include "platform/winapi/utf8.h"

namespace {

constexpr int kStringsPerBlock = 16;
constexpr std::uint16_t kRtString = 6;

}  // namespace

int WINAPI LoadStringA(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax) {
    // Win32's A function cannot return a pointer into the resource; a zero-sized buffer is
    // refused rather than written.
    if (!lpBuffer || cchBufferMax <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    lpBuffer[0] = '\0';
    // Only the low word names a string, as in Win32.
    const auto id = static_cast<std::uint16_t>(uID);
    const auto block = static_cast<std::uint16_t>(id / kStringsPerBlock + 1);
    const auto& resources = winapi::resource::ModuleResources::Instance();
    const auto found =
        resources.Find(hInstance, kRtString, block, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    if (!found.entry) {
        SetLastError(found.error);
        return 0;
    }
    const auto text = winapi::FindString(*resources.File(), id, found.entry->language);
    if (!text) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    // The text is cut to fit with its terminator, and never inside a UTF-8 sequence.
    const std::size_t length =
        winapi::Utf8FittingLength(*text, static_cast<std::size_t>(cchBufferMax - 1));
    std::memcpy(lpBuffer, text->data(), length);
    lpBuffer[length] = '\0';
    return static_cast<int>(length);
}
