#include "platform/winapi/resource/res_file.h"

#include <algorithm>
#include <cstddef>

#include "platform/winapi/byte_reader.h"

namespace winapi {
namespace {

char16_t FoldCase(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

bool SameNameIgnoringCase(const std::u16string& a, const std::u16string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char16_t x, char16_t y) { return FoldCase(x) == FoldCase(y); });
}

ResId ToResId(std::variant<std::uint16_t, std::u16string>&& field) {
    if (const auto* ordinal = std::get_if<std::uint16_t>(&field)) {
        return ResId(*ordinal);
    }
    return ResId(std::move(std::get<std::u16string>(field)));
}

}  // namespace

std::uint16_t ResId::Ordinal() const {
    const auto* ordinal = std::get_if<std::uint16_t>(&m_value);
    return ordinal ? *ordinal : 0;
}

std::u16string ResId::Name() const {
    const auto* name = std::get_if<std::u16string>(&m_value);
    return name ? *name : std::u16string();
}

bool ResId::Matches(const ResId& other) const {
    if (IsOrdinal() || other.IsOrdinal()) {
        return m_value == other.m_value;
    }
    return SameNameIgnoringCase(std::get<std::u16string>(m_value),
                                std::get<std::u16string>(other.m_value));
}

std::optional<ResFile> ResFile::Parse(std::span<const std::uint8_t> bytes) {
    ResFile file;
    std::size_t start = 0;
    bool first = true;
    while (start < bytes.size()) {
        ByteReader sizes(bytes.subspan(start));
        const std::uint32_t dataSize = sizes.U32();
        const std::uint32_t headerSize = sizes.U32();
        if (!sizes.Ok() || headerSize > bytes.size() - start) {
            return std::nullopt;
        }
        // HeaderSize counts from the entry's first byte and bounds the names: a name that runs
        // on past it is garbage, not a longer name.
        ByteReader header(bytes.subspan(start, headerSize));
        header.Skip(8);
        auto type = header.NameOrOrdinal();
        auto name = header.NameOrOrdinal();
        header.Align(4);
        header.Skip(6);  // DataVersion, MemoryFlags
        const std::uint16_t language = header.U16();
        header.Skip(8);  // Version, Characteristics
        const std::size_t dataStart = start + headerSize;
        if (!header.Ok() || dataSize > bytes.size() - dataStart) {
            return std::nullopt;
        }
        ResEntry entry{ToResId(std::move(type)), ToResId(std::move(name)), language,
                       bytes.subspan(dataStart, dataSize)};
        if (first) {
            // Every 32-bit .res starts with this empty entry; a 16-bit one has a different
            // header layout and no such entry.
            if (!entry.type.Matches(0) || !entry.name.Matches(0) || !entry.bytes.empty()) {
                return std::nullopt;
            }
            first = false;
        } else {
            file.m_entries.push_back(std::move(entry));
        }
        const std::size_t dataEnd = dataStart + dataSize;
        start = std::min(bytes.size(), dataEnd + (4 - dataEnd % 4) % 4);
    }
    if (first) {
        return std::nullopt;
    }
    return file;
}

const ResEntry* ResFile::Find(const ResId& type, const ResId& name,
                              std::optional<std::uint16_t> language) const {
    const ResEntry* found = nullptr;
    for (const ResEntry& entry : m_entries) {
        if (!entry.type.Matches(type) || !entry.name.Matches(name)) {
            continue;
        }
        if (!language || entry.language == *language) {
            return &entry;
        }
        if (!found) {
            found = &entry;
        }
    }
    return found;
}

}  // namespace winapi
