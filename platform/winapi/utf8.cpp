#include "platform/winapi/utf8.h"

namespace winapi {
namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The well-formed byte sequences, by their first byte (the Unicode Standard's table 3-7). The
// second byte's range rules out overlong forms (after E0 and F0), surrogates (after ED) and
// values past U+10FFFF (after F4); later bytes are any continuation byte.
struct LeadBytes {
    unsigned char first;
    unsigned char last;
    std::size_t length;
    unsigned char secondLowest;
    unsigned char secondHighest;
};

constexpr LeadBytes kLeads[] = {
    {0x00, 0x7F, 1, 0, 0},       {0xC2, 0xDF, 2, 0x80, 0xBF}, {0xE0, 0xE0, 3, 0xA0, 0xBF},
    {0xE1, 0xEC, 3, 0x80, 0xBF}, {0xED, 0xED, 3, 0x80, 0x9F}, {0xEE, 0xEF, 3, 0x80, 0xBF},
    {0xF0, 0xF0, 4, 0x90, 0xBF}, {0xF1, 0xF3, 4, 0x80, 0xBF}, {0xF4, 0xF4, 4, 0x80, 0x8F},
};

const LeadBytes* FindLead(unsigned char lead) {
    for (const LeadBytes& entry : kLeads)
        if (lead >= entry.first && lead <= entry.last)
            return &entry;
    return nullptr;
}

}  // namespace

std::size_t Utf8LengthFromLead(unsigned char lead) {
    const LeadBytes* entry = FindLead(lead);
    return entry != nullptr ? entry->length : 0;
}

Utf8Character DecodeUtf8(std::string_view text, std::size_t position) {
    if (position >= text.size())
        return {kReplacementCharacter, 0, false};
    const auto lead = static_cast<unsigned char>(text[position]);
    const LeadBytes* shape = FindLead(lead);
    if (shape == nullptr)
        return {kReplacementCharacter, 1, false};
    // The lead's payload bits: 7 for ASCII, then 5, 4 and 3.
    char32_t value = lead & (shape->length == 1 ? 0x7Fu : 0x7Fu >> shape->length);
    for (std::size_t i = 1; i < shape->length; ++i) {
        if (position + i >= text.size())
            return {kReplacementCharacter, i, false};
        const auto byte = static_cast<unsigned char>(text[position + i]);
        const unsigned char lowest = i == 1 ? shape->secondLowest : 0x80;
        const unsigned char highest = i == 1 ? shape->secondHighest : 0xBF;
        if (byte < lowest || byte > highest)
            return {kReplacementCharacter, i, false};
        value = (value << 6) | (byte & 0x3Fu);
    }
    return {value, shape->length, true};
}

// A byte that is not a continuation byte always starts a character, and no character is longer
// than four bytes: the start is found from the nearest such byte at most three bytes back.
std::size_t Utf8CharacterStart(std::string_view text, std::size_t position) {
    if (position >= text.size())
        return text.size();
    for (std::size_t back = 0; back <= 3 && back <= position; ++back) {
        const std::size_t start = position - back;
        if (IsContinuation(static_cast<unsigned char>(text[start])))
            continue;
        // The bytes between start and position are continuation bytes: either all of them
        // belong to the character at start, or position is a stray byte of its own.
        return start + DecodeUtf8(text, start).length > position ? start : position;
    }
    return position;
}

std::size_t Utf8FittingLength(std::string_view text, std::size_t limit) {
    if (limit >= text.size())
        return text.size();
    return Utf8CharacterStart(text, limit);
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        code = kReplacementCharacter;
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::u16string Utf8ToUtf16(std::string_view text) {
    std::u16string result;
    result.reserve(text.size());
    Utf8Reader reader(text);
    while (const auto next = reader.Next()) {
        const char32_t code = *next;
        if (code < 0x10000) {
            result.push_back(static_cast<char16_t>(code));
            continue;
        }
        result.push_back(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
        result.push_back(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
    }
    return result;
}

std::optional<char32_t> Utf8Reader::Next() {
    if (m_pos >= m_text.size())
        return std::nullopt;
    const Utf8Character character = DecodeUtf8(m_text, m_pos);
    m_pos += character.length;
    return character.code;
}

}  // namespace winapi
