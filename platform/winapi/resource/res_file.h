#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace winapi {

// A resource type or name: a 16-bit ordinal (MAKEINTRESOURCE) or a string.
class ResId {
public:
    ResId(std::uint16_t ordinal) : m_value(ordinal) {}
    explicit ResId(std::u16string name) : m_value(std::move(name)) {}

    bool IsOrdinal() const { return std::holds_alternative<std::uint16_t>(m_value); }
    // 0 for a name.
    std::uint16_t Ordinal() const;
    // Empty for an ordinal.
    std::u16string Name() const;

    // FindResource's rule: ordinals compare by value, names without regard to case; an ordinal
    // never matches a name. Case is folded for ASCII letters only, which covers the names that
    // resource scripts use.
    bool Matches(const ResId& other) const;

    friend bool operator==(const ResId&, const ResId&) = default;

private:
    std::variant<std::uint16_t, std::u16string> m_value;
};

struct ResEntry {
    ResId type;
    ResId name;
    std::uint16_t language = 0;
    // Points into the bytes given to ResFile::Parse.
    std::span<const std::uint8_t> bytes;
};

// The entries of a compiled 32-bit .res file, in file order.
class ResFile {
public:
    // The bytes must outlive the result: the entries point into them. Nullopt unless the bytes
    // start with the empty entry that marks a 32-bit .res and every entry after it is complete:
    // header fields, terminated names and data all inside the bytes. Only the final entry's
    // trailing padding may be missing.
    static std::optional<ResFile> Parse(std::span<const std::uint8_t> bytes);

    const std::vector<ResEntry>& Entries() const { return m_entries; }

    // The entry of that type and name in the given language; without a language, or when no
    // entry has it, the first entry of that type and name. Nullptr when there is none.
    const ResEntry* Find(const ResId& type, const ResId& name,
                         std::optional<std::uint16_t> language = std::nullopt) const;

private:
    std::vector<ResEntry> m_entries;
};

}  // namespace winapi
