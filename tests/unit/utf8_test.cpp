#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/winapi/utf8.h"

namespace winapi {
namespace {

constexpr char32_t kBad = kReplacementCharacter;

struct Decoded {
    char32_t code;
    std::size_t length;
    bool operator==(const Decoded&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Decoded& d) {
    return out << "U+" << std::hex << static_cast<unsigned>(d.code) << std::dec << "/" << d.length;
}

// Each malformed piece is one U+FFFD: a lead byte with the continuation bytes that could still
// have completed it, or else a single byte. Every reader of UTF-8 in the layer (caret, font,
// clipboard, resource names, text cut to a buffer) sees the same characters at the same bounds.
TEST(Utf8Codec, DecodesTextAndReplacesEachMaximalSubpart) {
    const struct {
        std::string_view text;
        std::vector<Decoded> characters;
    } rows[] = {
        {"", {}},
        {"aZ", {{U'a', 1}, {U'Z', 1}}},
        {"\xC3\xA9", {{0xE9, 2}}},
        {"終了", {{U'終', 3}, {U'了', 3}}},
        {"\xF0\x9F\x98\x80", {{0x1F600, 4}}},
        {"\xEF\xBF\xBF\xF4\x8F\xBF\xBF", {{0xFFFF, 3}, {0x10FFFF, 4}}},
        {"\xC0\x80", {{kBad, 1}, {kBad, 1}}},                                // overlong NUL
        {"\xC1\xBF", {{kBad, 1}, {kBad, 1}}},                                // overlong
        {"\xE0\x80\xAF", {{kBad, 1}, {kBad, 1}, {kBad, 1}}},                 // overlong
        {"\xED\xA0\x80", {{kBad, 1}, {kBad, 1}, {kBad, 1}}},                 // surrogate
        {"\xF4\x90\x80\x80", {{kBad, 1}, {kBad, 1}, {kBad, 1}, {kBad, 1}}},  // past U+10FFFF
        {"\xE7\xB5"
         "A",
         {{kBad, 2}, {U'A', 1}}},  // cut short by another character
        {"\xF0\x9F\x98"
         "A",
         {{kBad, 3}, {U'A', 1}}},
        {"a\xF0\x9F", {{U'a', 1}, {kBad, 2}}},  // cut short by the end
        {"\xE1\x80\xE1\x80\x80", {{kBad, 2}, {0x1000, 3}}},
        {"\x80\xBF\x80\xBF\x80", {{kBad, 1}, {kBad, 1}, {kBad, 1}, {kBad, 1}, {kBad, 1}}},
        {"\xFE\xFF\xF5", {{kBad, 1}, {kBad, 1}, {kBad, 1}}},
        {"\xC2", {{kBad, 1}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(std::string(row.text)));
        std::vector<Decoded> decoded;
        std::vector<std::size_t> starts;
        for (std::size_t at = 0; at < row.text.size();) {
            const Utf8Character c = DecodeUtf8(row.text, at);
            EXPECT_EQ(c.wellFormed, c.code != kBad);
            decoded.push_back({c.code, c.length});
            starts.push_back(at);
            at += c.length;
        }
        EXPECT_EQ(decoded, row.characters);

        Utf8Reader reader(row.text);
        std::u32string read;
        while (const auto c = reader.Next())
            read.push_back(*c);
        ASSERT_EQ(read.size(), row.characters.size());
        for (std::size_t i = 0; i < read.size(); ++i)
            EXPECT_EQ(read[i], row.characters[i].code);

        // Walking back from any byte finds the start the forward reading gave it, so a caret
        // and a cut agree with what is drawn.
        for (std::size_t p = 0; p < row.text.size(); ++p) {
            std::size_t expected = 0;
            for (std::size_t start : starts)
                if (start <= p)
                    expected = start;
            EXPECT_EQ(Utf8CharacterStart(row.text, p), expected) << "at " << p;
            EXPECT_EQ(Utf8FittingLength(row.text, p), expected) << "limit " << p;
        }
        EXPECT_EQ(Utf8FittingLength(row.text, row.text.size() + 1), row.text.size());

        // Written back, the characters are the input itself when it was well formed, and the
        // same text to UTF-16 either way.
        std::string written;
        for (const Decoded& c : row.characters)
            AppendUtf8(written, c.code);
        if (std::find(read.begin(), read.end(), kBad) == read.end()) {
            EXPECT_EQ(written, row.text);
        }
        EXPECT_EQ(Utf8ToUtf16(written), Utf8ToUtf16(row.text));
    }
    EXPECT_EQ(Utf8ToUtf16("\xF0\x9F\x98\x80\xE7\xB5"), u"\U0001F600\uFFFD");
    std::string surrogate;
    AppendUtf8(surrogate, 0xD800);
    AppendUtf8(surrogate, 0x110000);
    EXPECT_EQ(surrogate, "\xEF\xBF\xBD\xEF\xBF\xBD");
}

}  // namespace
}  // namespace winapi
