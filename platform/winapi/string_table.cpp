#include "platform/winapi/string_table.h"

#include <cstddef>

#include "platform/winapi/byte_reader.h"
#include "platform/winapi/utf16.h"

namespace winapi {
namespace {

constexpr std::uint16_t kRtString = 6;
constexpr int kStringsPerBlock = 16;

}  // namespace

std::optional<std::string> FindString(const ResFile& resources, std::uint16_t id,
                                      std::optional<std::uint16_t> language) {
    const auto block = static_cast<std::uint16_t>(id / kStringsPerBlock + 1);
    const ResEntry* entry = resources.Find(kRtString, block, language);
    if (!entry) {
        return std::nullopt;
    }
    ByteReader reader(entry->bytes);
    for (int skipped = 0; skipped < id % kStringsPerBlock; ++skipped) {
        const auto length = reader.U16();
        if (!length || !reader.Skip(std::size_t{*length} * 2)) {
            return std::nullopt;
        }
    }
    const auto length = reader.U16();
    if (!length || *length == 0) {
        return std::nullopt;
    }
    std::u16string text;
    for (std::uint16_t i = 0; i < *length; ++i) {
        const auto unit = reader.U16();
        if (!unit) {
            return std::nullopt;
        }
        text += static_cast<char16_t>(*unit);
    }
    return Utf16ToUtf8(text);
}

}  // namespace winapi
