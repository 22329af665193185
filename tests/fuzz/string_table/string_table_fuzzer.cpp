// One RT_STRING block of any bytes, as LoadString reads it: every id the block holds, and the
// first of the next block, which it does not.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "platform/winapi/resource/res_file.h"
#include "platform/winapi/resource/string_table.h"

namespace {

constexpr std::uint16_t kRtString = 6;
constexpr std::uint16_t kBlock = 1;

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    PutU16(out, static_cast<std::uint16_t>(value & 0xFFFF));
    PutU16(out, static_cast<std::uint16_t>(value >> 16));
}

// A 32-bit .res entry header of 32 bytes for an ordinal type and name.
void PutEntry(std::vector<std::uint8_t>& out, std::uint16_t type, std::uint16_t name,
              std::span<const std::uint8_t> data) {
    PutU32(out, static_cast<std::uint32_t>(data.size()));
    PutU32(out, 32);
    PutU16(out, 0xFFFF);
    PutU16(out, type);
    PutU16(out, 0xFFFF);
    PutU16(out, name);
    PutU32(out, 0);  // DataVersion
    PutU16(out, 0);  // MemoryFlags
    PutU16(out, 0);  // LanguageId
    PutU32(out, 0);  // Version
    PutU32(out, 0);  // Characteristics
    out.insert(out.end(), data.begin(), data.end());
    while (out.size() % 4 != 0) {
        out.push_back(0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> res;
    PutEntry(res, 0, 0, {});
    PutEntry(res, kRtString, kBlock, std::span<const std::uint8_t>(data, size));
    const auto file = winapi::ResFile::Parse(res);
    if (!file) {
        std::abort();  // the container is well formed whatever the block holds
    }
    for (std::uint16_t id = 0; id < 16; ++id) {
        // A string takes at least its count and one unit, so no text can outgrow the block.
        if (const auto text = winapi::FindString(*file, id); text && text->size() > size * 2) {
            std::abort();
        }
    }
    if (winapi::FindString(*file, 16)) {
        std::abort();
    }
    return 0;
}
