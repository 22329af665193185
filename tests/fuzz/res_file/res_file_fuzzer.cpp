// A whole compiled .res, as the program's module resources are read: the container, then every
// entry by its type through the reader the loader hands it to, and the lookups between them.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/winapi/dialog/template_reader.h"
#include "platform/winapi/resource/icon_decoder.h"
#include "platform/winapi/resource/icon_directory.h"
#include "platform/winapi/resource/menu_template.h"
#include "platform/winapi/resource/res_file.h"
#include "platform/winapi/resource/string_table.h"

namespace {

constexpr std::uint16_t kRtIcon = 3;
constexpr std::uint16_t kRtMenu = 4;
constexpr std::uint16_t kRtDialog = 5;
constexpr std::uint16_t kRtString = 6;
constexpr std::uint16_t kRtGroupIcon = 14;
constexpr int kStringsPerBlock = 16;

void ReadIconGroup(const winapi::ResFile& file, const winapi::ResEntry& group) {
    for (const int side : {16, 32, 48}) {
        const auto id = winapi::resource::ChooseIconImage(group.bytes, side, side);
        if (!id) {
            continue;
        }
        const winapi::ResEntry* icon = file.Find(kRtIcon, *id, group.language);
        if (!icon) {
            continue;
        }
        if (const auto image = winapi::resource::DecodeIconImage(icon->bytes)) {
            winapi::resource::ScaleIconImage(*image, side, side);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto file = winapi::ResFile::Parse(std::span<const std::uint8_t>(data, size));
    if (!file) {
        return 0;
    }
    for (const winapi::ResEntry& entry : file->Entries()) {
        // Lookups by string name fold case; by ordinal they compare values.
        file->Find(entry.type, entry.name, entry.language);
        file->Find(winapi::ResId(entry.type.Name()), winapi::ResId(entry.name.Name()));
        if (!entry.type.IsOrdinal()) {
            continue;
        }
        switch (entry.type.Ordinal()) {
            case kRtIcon:
                winapi::resource::DecodeIconImage(entry.bytes);
                break;
            case kRtMenu:
                winapi::MenuTemplate::Parse(entry.bytes);
                break;
            case kRtDialog:
                winapi::dialog::ParseAnyDialogTemplate(entry.bytes);
                break;
            case kRtString: {
                // Block N holds string ids (N - 1) * 16 to (N - 1) * 16 + 15.
                const int first = (entry.name.Ordinal() - 1) * kStringsPerBlock;
                for (int id = first; id < first + kStringsPerBlock; ++id) {
                    winapi::FindString(*file, static_cast<std::uint16_t>(id), entry.language);
                }
                break;
            }
            case kRtGroupIcon:
                ReadIconGroup(*file, entry);
                break;
            default:
                break;
        }
    }
    return 0;
}
