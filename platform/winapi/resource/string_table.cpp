#include "platform/winapi/resource/string_table.h"

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
        reader.Skip(std::size_t{reader.U16()} * 2);
    }
    // The count comes from the bytes: a count they cannot hold is a block cut short, found
    // before a string of that size is made.
    const std::size_t length = reader.U16();
    if (!reader.Ok() || length * 2 > reader.Remaining()) {
        return std::nullopt;
    }
    std::u16string text(length, u'\0');
    for (char16_t& unit : text) {
        unit = static_cast<char16_t>(reader.U16());
    }
    if (!reader.Ok() || text.empty()) {
        return std::nullopt;
    }
    return Utf16ToUtf8(text);
}

}  // namespace winapi
