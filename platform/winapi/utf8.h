// UTF-8, the text of every A function in this layer, read and written in one place so that
// broken text comes out the same wherever it is shown, measured, stepped over or converted.
//
// Malformed input: each maximal subpart of an ill-formed sequence is one character, U+FFFD.
// A maximal subpart is a lead byte with as many of the continuation bytes that could still
// complete it as follow (so "\xE7\xB5A" is U+FFFD then "A"), or else a single byte. That is the
// Unicode Standard's recommended practice, also followed by the WHATWG decoder: a caret steps
// over a broken piece the way the font engine draws it, as one replacement character.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace winapi {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

struct Utf8Character {
    char32_t code = kReplacementCharacter;  // U+FFFD for a malformed piece
    std::size_t length = 0;                 // bytes it takes, 1 to 4 (0 only at the end)
    bool wellFormed = false;
};

// The character that starts at position; length 0 at or past the end.
Utf8Character DecodeUtf8(std::string_view text, std::size_t position);

// The number of bytes a sequence with this first byte has when well formed; 0 for a byte that
// starts none (a continuation byte, C0, C1, F5 to FF).
std::size_t Utf8LengthFromLead(unsigned char lead);

// The start of the character that holds the byte at position; text.size() at or past the end.
std::size_t Utf8CharacterStart(std::string_view text, std::size_t position);

// The longest start of text no longer than limit bytes that ends between two characters, as
// the A functions cut a text to fit a caller's buffer.
std::size_t Utf8FittingLength(std::string_view text, std::size_t limit);

// Appends code as UTF-8; a surrogate or a value past U+10FFFF goes as U+FFFD.
void AppendUtf8(std::string& out, char32_t code);

// UTF-16 for Win32's wide structures (resource names, CF_UNICODETEXT); a malformed piece
// becomes U+FFFD as above.
std::u16string Utf8ToUtf16(std::string_view text);

// Reads text one character at a time.
class Utf8Reader {
public:
    explicit Utf8Reader(std::string_view text) : m_text(text) {}

    // The next character (U+FFFD for a malformed piece), nothing at the end.
    std::optional<char32_t> Next();

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
};

}  // namespace winapi
