// Menu templates, as LoadMenu reads an RT_MENU resource.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/winapi/resource/menu_template.h"

namespace {

// Walks the whole tree, as building the menu does.
std::size_t CountItems(const std::vector<winapi::MenuItem>& items) {
    std::size_t count = 0;
    for (const winapi::MenuItem& item : items) {
        item.IsSeparator();
        count += 1 + CountItems(item.children);
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (const auto menu = winapi::MenuTemplate::Parse(std::span<const std::uint8_t>(data, size))) {
        CountItems(menu->items);
    }
    return 0;
}
