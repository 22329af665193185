#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/winapi/resource/res_file.h"

namespace winapi {

// LoadString's lookup. String id N is entry N % 16 of the RT_STRING block named N / 16 + 1; each
// entry is a WORD count of UTF-16 units and the units, without terminator. Nullopt when the block
// or the entry is missing, the block is cut short, or the entry is empty: LoadString returns 0
// for an empty entry as for a missing one, so a caller cannot tell them apart either.
std::optional<std::string> FindString(const ResFile& resources, std::uint16_t id,
                                      std::optional<std::uint16_t> language = std::nullopt);

}  // namespace winapi
