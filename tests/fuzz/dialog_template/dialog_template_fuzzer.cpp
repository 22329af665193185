// Dialog templates in either form, as the dialog manager reads an RT_DIALOG resource.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/winapi/dialog/template_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const auto dialog = winapi::dialog::ParseAnyDialogTemplate(bytes);
    // Every item takes bytes of its own, so a count can never conjure more items than fit.
    if (dialog && dialog->items.size() > size / 24) {
        std::abort();
    }
    return 0;
}
