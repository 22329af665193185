#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "platform/winapi/resource/dialog_template.h"
#include "platform/winapi/resource/menu_template.h"
#include "platform/winapi/resource/res_file.h"
#include "platform/winapi/resource/string_table.h"
#include "platform/winapi/utf16.h"

namespace winapi {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Builds little-endian resource bytes for the cases a literal array would make unreadable.
class Writer {
public:
    Writer& U8(std::uint8_t value) {
        m_bytes.push_back(value);
        return *this;
    }
    Writer& U16(std::uint16_t value) { return U8(value & 0xFF).U8(value >> 8); }
    Writer& U32(std::uint32_t value) { return U16(value & 0xFFFF).U16(value >> 16); }
    Writer& Text(std::u16string_view text) {
        for (char16_t unit : text) {
            U16(unit);
        }
        return U16(0);
    }
    Writer& Ordinal(std::uint16_t value) { return U16(0xFFFF).U16(value); }
    Writer& Field(const std::variant<std::uint16_t, std::u16string>& field) {
        if (const auto* ordinal = std::get_if<std::uint16_t>(&field)) {
            return Ordinal(*ordinal);
        }
        return Text(std::get<std::u16string>(field));
    }
    Writer& Align4() {
        while (m_bytes.size() % 4 != 0) {
            U8(0);
        }
        return *this;
    }
    Writer& Append(const Bytes& bytes) {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
        return *this;
    }
    // One RESOURCEHEADER entry with its data and padding.
    Writer& Entry(const std::variant<std::uint16_t, std::u16string>& type,
                  const std::variant<std::uint16_t, std::u16string>& name, std::uint16_t language,
                  const Bytes& data) {
        Writer names;
        names.Field(type).Field(name).Align4();
        U32(static_cast<std::uint32_t>(data.size()));
        U32(static_cast<std::uint32_t>(8 + names.Get().size() + 16));
        Append(names.Get()).U32(0).U16(0x1030).U16(language).U32(0).U32(0);
        return Append(data).Align4();
    }
    Writer& EmptyEntry() { return Entry(std::uint16_t{0}, std::uint16_t{0}, 0, {}); }
    const Bytes& Get() const { return m_bytes; }

private:
    Bytes m_bytes;
};

Bytes Prefix(const Bytes& bytes, std::size_t length) {
    return Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
}

TEST(ResFile, ReadsTheLayoutWindowsWrites) {
    // The empty entry, then RT_RCDATA 1 in language 0x0409 holding "abc" and one padding byte.
    const Bytes bytes = {
        0x00, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x20, 0x00, 0x00, 0x00, 0xFF, 0xFF,
        0x0A, 0x00, 0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x30, 0x10, 0x09, 0x04,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 'a',  'b',  'c',  0x00,
    };
    const auto file = ResFile::Parse(bytes);
    ASSERT_TRUE(file);
    ASSERT_EQ(file->Entries().size(), 1u);
    const ResEntry& entry = file->Entries()[0];
    EXPECT_EQ(entry.type, ResId(10));
    EXPECT_EQ(entry.name, ResId(1));
    EXPECT_EQ(entry.language, 0x0409);
    EXPECT_EQ(std::string(entry.bytes.begin(), entry.bytes.end()), "abc");
}

TEST(ResFile, FindsByNameOrOrdinalAndPrefersTheLanguage) {
    // "Logo" leaves the names two bytes short of a DWORD; the odd data sizes need padding.
    Writer writer;
    writer.EmptyEntry()
        .Entry(u"PNG", u"Logo", 0x0411, {1, 2, 3})
        .Entry(std::uint16_t{5}, std::uint16_t{100}, 0x0409, {4})
        .Entry(std::uint16_t{5}, std::uint16_t{100}, 0x0411, {5, 6});
    const auto file = ResFile::Parse(writer.Get());
    ASSERT_TRUE(file);
    ASSERT_EQ(file->Entries().size(), 3u);

    const ResEntry* logo = file->Find(ResId(u"png"), ResId(u"LOGO"));
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->language, 0x0411);
    EXPECT_EQ(Bytes(logo->bytes.begin(), logo->bytes.end()), (Bytes{1, 2, 3}));
    EXPECT_EQ(file->Find(ResId(u"PNG"), ResId(u"Log")), nullptr);
    EXPECT_EQ(file->Find(ResId(u"PNG"), 1), nullptr);

    EXPECT_EQ(file->Find(5, 100)->language, 0x0409);
    EXPECT_EQ(file->Find(5, 100, 0x0411)->language, 0x0411);
    EXPECT_EQ(file->Find(5, 100, 0x0407)->language, 0x0409);
    EXPECT_EQ(file->Find(5, 101), nullptr);
}

TEST(ResFile, AcceptsOnlyCompleteEntries) {
    Writer writer;
    writer.EmptyEntry()
        .Entry(std::uint16_t{10}, u"AB", 0, {7, 7, 7})
        .Entry(std::uint16_t{10}, std::uint16_t{2}, 0, {8});
    const Bytes& bytes = writer.Get();
    // The entries end at 32, 71 (padded to 72) and 105 (padded to 108); a cut anywhere else
    // leaves an entry incomplete. Only the padding of what is then the last entry may be missing.
    const std::set<std::size_t> complete = {32, 71, 72, 105, 106, 107, 108};
    for (std::size_t length = 0; length <= bytes.size(); ++length) {
        SCOPED_TRACE(length);
        EXPECT_EQ(ResFile::Parse(Prefix(bytes, length)).has_value(), complete.count(length) == 1);
    }
}

TEST(ResFile, RejectsMalformedHeaders) {
    const Bytes valid =
        Writer().EmptyEntry().Entry(std::uint16_t{10}, std::uint16_t{1}, 0, {1, 2, 3, 4}).Get();
    auto patched = [&](std::size_t offset, std::uint8_t value) {
        Bytes bytes = valid;
        bytes[offset] = value;
        return bytes;
    };
    // No empty entry first: a 16-bit .res or not a .res at all.
    EXPECT_FALSE(ResFile::Parse(Prefix(valid, 0)));
    EXPECT_FALSE(ResFile::Parse(Bytes(valid.begin() + 32, valid.end())));
    EXPECT_FALSE(ResFile::Parse(patched(0, 4)));
    // Data size or header size beyond the end, header size too small for its fields.
    EXPECT_FALSE(ResFile::Parse(patched(32, 0x05)));
    EXPECT_FALSE(ResFile::Parse(patched(35, 0x80)));
    EXPECT_FALSE(ResFile::Parse(patched(36, 0xF0)));
    EXPECT_FALSE(ResFile::Parse(patched(36, 0x10)));
    EXPECT_FALSE(ResFile::Parse(patched(36, 0x04)));
    // A name whose terminator lies beyond the header size.
    const Bytes unterminated =
        Writer().EmptyEntry().U32(0).U32(32).Ordinal(10).Append(Bytes(40, 'x')).Get();
    EXPECT_FALSE(ResFile::Parse(unterminated));
}

// An extended template, with a font when the style has DS_SETFONT, and two items: a button with
// text and IDC_STATIC, and a control of a named class whose title is icon 128, with two bytes of
// creation data. The header and the first item each end two bytes short of a DWORD.
Bytes TwoItemDialog(std::uint32_t style) {
    Writer writer;
    writer.U16(1).U16(0xFFFF).U32(7).U32(0x00040000).U32(style).U16(2);
    writer.U16(10).U16(0xFFF6).U16(100).U16(50);
    writer.U16(0).Text(u"MyClass").Text(u"Titles");
    if (style & 0x40) {
        writer.U16(9).U16(700).U8(1).U8(0x80).Text(u"Face");
    }
    writer.Align4().U32(0).U32(0x200).U32(0x50010001).U16(1).U16(2).U16(30).U16(12);
    writer.U32(0xFFFFFFFF).Ordinal(0x0080).Text(u"OK!").U16(0);
    writer.Align4().U32(3).U32(0).U32(0x50000003).U16(5).U16(6).U16(20).U16(20);
    writer.U32(1000).Text(u"Custom").Ordinal(128).U16(2).U8(0xAB).U8(0xCD);
    return writer.Get();
}

TEST(DialogTemplate, DecodesHeaderFontAndItems) {
    const auto dialog = DialogTemplate::Parse(TwoItemDialog(0x80C800C0));
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->helpId, 7u);
    EXPECT_EQ(dialog->exStyle, 0x00040000u);
    EXPECT_EQ(dialog->style, 0x80C800C0u);
    EXPECT_EQ(dialog->x, 10);
    EXPECT_EQ(dialog->y, -10);
    EXPECT_EQ(dialog->cx, 100);
    EXPECT_EQ(dialog->cy, 50);
    EXPECT_EQ(dialog->menu, TextOrOrdinal(""));
    EXPECT_EQ(dialog->windowClass, TextOrOrdinal("MyClass"));
    EXPECT_EQ(dialog->title, "Titles");
    ASSERT_TRUE(dialog->font);
    EXPECT_EQ(dialog->font->pointSize, 9);
    EXPECT_EQ(dialog->font->weight, 700);
    EXPECT_TRUE(dialog->font->italic);
    EXPECT_EQ(dialog->font->charset, 0x80);
    EXPECT_EQ(dialog->font->typeface, "Face");

    ASSERT_EQ(dialog->items.size(), 2u);
    const DialogItem& button = dialog->items[0];
    EXPECT_EQ(button.exStyle, 0x200u);
    EXPECT_EQ(button.style, 0x50010001u);
    EXPECT_EQ(button.id, 0xFFFFFFFFu);
    EXPECT_EQ((std::vector<int>{button.x, button.y, button.cx, button.cy}),
              (std::vector<int>{1, 2, 30, 12}));
    EXPECT_EQ(button.windowClass, TextOrOrdinal(kButtonClassAtom));
    EXPECT_EQ(button.title, TextOrOrdinal("OK!"));
    EXPECT_TRUE(button.creationData.empty());
    const DialogItem& custom = dialog->items[1];
    EXPECT_EQ(custom.helpId, 3u);
    EXPECT_EQ(custom.id, 1000u);
    EXPECT_EQ(custom.windowClass, TextOrOrdinal("Custom"));
    EXPECT_EQ(custom.title, TextOrOrdinal(std::uint16_t{128}));
    EXPECT_EQ(custom.creationData, (Bytes{0xAB, 0xCD}));
}

TEST(DialogTemplate, ReadsTheFontOnlyWithDsSetFont) {
    const auto dialog = DialogTemplate::Parse(TwoItemDialog(0x80C80080));
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(dialog->font);
    ASSERT_EQ(dialog->items.size(), 2u);
    EXPECT_EQ(dialog->items[1].title, TextOrOrdinal(std::uint16_t{128}));
}

TEST(DialogTemplate, RejectsOldFormAndTruncation) {
    const Bytes valid = TwoItemDialog(0x80C800C0);
    // The old form begins with its style; a wrong version is no template Win32 reads either.
    EXPECT_FALSE(DialogTemplate::Parse(Writer().U32(0x80C800C0).U32(0).U16(0).Get()));
    Bytes version2 = valid;
    version2[0] = 2;
    EXPECT_FALSE(DialogTemplate::Parse(version2));
    // More items announced than present, and every cut inside the template.
    Bytes threeItems = valid;
    threeItems[16] = 3;
    EXPECT_FALSE(DialogTemplate::Parse(threeItems));
    for (std::size_t length = 0; length < valid.size(); ++length) {
        SCOPED_TRACE(length);
        EXPECT_FALSE(DialogTemplate::Parse(Prefix(valid, length)));
    }
}

// "&File" with "&Open" 100, a separator, and "&Recent" holding "(none)" 101 grayed; then
// "&Help" 102 checked.
Bytes MenuBytes() {
    Writer writer;
    writer.U16(0).U16(0);
    writer.U16(0x0010).Text(u"&File");
    writer.U16(0x0000).U16(100).Text(u"&Open");
    writer.U16(0x0000).U16(0).Text(u"");
    writer.U16(0x0090).Text(u"&Recent");
    writer.U16(0x0081).U16(101).Text(u"(none)");
    writer.U16(0x0088).U16(102).Text(u"&Help");
    return writer.Get();
}

TEST(MenuTemplate, BuildsTheTreeFromPopupAndEndFlags) {
    const auto menu = MenuTemplate::Parse(MenuBytes());
    ASSERT_TRUE(menu);
    ASSERT_EQ(menu->items.size(), 2u);
    const MenuItem& file = menu->items[0];
    EXPECT_EQ(file.flags, 0x0010);
    EXPECT_EQ(file.text, "&File");
    ASSERT_EQ(file.children.size(), 3u);
    EXPECT_EQ(file.children[0].id, 100);
    EXPECT_FALSE(file.children[0].IsSeparator());
    EXPECT_TRUE(file.children[1].IsSeparator());
    const MenuItem& recent = file.children[2];
    EXPECT_EQ(recent.flags, 0x0010);
    ASSERT_EQ(recent.children.size(), 1u);
    EXPECT_EQ(recent.children[0].flags, 0x0001);
    EXPECT_EQ(recent.children[0].id, 101);
    EXPECT_EQ(menu->items[1].flags, 0x0008);
    EXPECT_EQ(menu->items[1].id, 102);
    EXPECT_EQ(menu->items[1].text, "&Help");
}

TEST(MenuTemplate, RejectsExtendedFormTruncationAndRunawayNesting) {
    const Bytes menu = MenuBytes();
    Bytes extended = menu;
    extended[0] = 1;
    EXPECT_FALSE(MenuTemplate::Parse(extended));
    for (std::size_t length = 0; length < menu.size(); ++length) {
        SCOPED_TRACE(length);
        EXPECT_FALSE(MenuTemplate::Parse(Prefix(menu, length)));
    }
    Writer deep;
    deep.U16(0).U16(0);
    for (int level = 0; level < 100000; ++level) {
        deep.U16(0x0090).Text(u"");
    }
    EXPECT_FALSE(MenuTemplate::Parse(deep.Get()));
}

// Block 7 holds ids 96 to 111: 96 "first", 98 empty, 102 in Japanese, 111 "last".
Bytes StringBlock() {
    Writer writer;
    for (int index = 0; index < 16; ++index) {
        std::u16string text = index == 0    ? u"first"
                              : index == 6  ? u"\u8272\u3092\u53D6\u5F97"
                              : index == 15 ? u"last"
                                            : u"";
        writer.U16(static_cast<std::uint16_t>(text.size()));
        for (char16_t unit : text) {
            writer.U16(unit);
        }
    }
    return writer.Get();
}

TEST(FindString, FollowsLoadStringBlocks) {
    const Bytes block = StringBlock();
    const Bytes bytes =
        Writer().EmptyEntry().Entry(std::uint16_t{6}, std::uint16_t{7}, 0x0411, block).Get();
    const auto file = ResFile::Parse(bytes);
    ASSERT_TRUE(file);
    EXPECT_EQ(FindString(*file, 96), "first");
    EXPECT_EQ(FindString(*file, 102), "色を取得");
    EXPECT_EQ(FindString(*file, 111), "last");
    EXPECT_EQ(FindString(*file, 98), std::nullopt);
    EXPECT_EQ(FindString(*file, 112), std::nullopt);
    EXPECT_EQ(FindString(*file, 95), std::nullopt);
    // A block cut short inside an entry or before it.
    const Bytes cut = Writer()
                          .EmptyEntry()
                          .Entry(std::uint16_t{6}, std::uint16_t{7}, 0x0411, Prefix(block, 9))
                          .Get();
    const auto cutFile = ResFile::Parse(cut);
    ASSERT_TRUE(cutFile);
    EXPECT_EQ(FindString(*cutFile, 96), std::nullopt);
    EXPECT_EQ(FindString(*cutFile, 102), std::nullopt);
    // The last entry one unit short of its count; and a count far beyond the block, which is
    // refused before any string of that size is made.
    const Bytes lastShort =
        Writer()
            .EmptyEntry()
            .Entry(std::uint16_t{6}, std::uint16_t{7}, 0x0411, Prefix(block, block.size() - 2))
            .Get();
    const auto lastShortFile = ResFile::Parse(lastShort);
    ASSERT_TRUE(lastShortFile);
    EXPECT_EQ(FindString(*lastShortFile, 96), "first");
    EXPECT_EQ(FindString(*lastShortFile, 111), std::nullopt);
    const Bytes huge = Writer()
                           .EmptyEntry()
                           .Entry(std::uint16_t{6}, std::uint16_t{1}, 0,
                                  Writer().U16(0xFFFF).U16(u'a').U16(u'b').Get())
                           .Get();
    const auto hugeFile = ResFile::Parse(huge);
    ASSERT_TRUE(hugeFile);
    EXPECT_EQ(FindString(*hugeFile, 0), std::nullopt);
}

TEST(ResourceReaders, SurviveCorruptedBytes) {
    // Whatever they return, the readers stay inside the bytes; a sanitizer build catches a slip.
    const Bytes sample = Writer()
                             .EmptyEntry()
                             .Entry(std::uint16_t{5}, std::uint16_t{1}, 0, TwoItemDialog(0xC0))
                             .Entry(std::uint16_t{4}, u"M", 0, MenuBytes())
                             .Entry(std::uint16_t{6}, std::uint16_t{1}, 0, StringBlock())
                             .Get();
    std::mt19937 random(1234);
    for (int round = 0; round < 5000; ++round) {
        Bytes bytes = sample;
        for (int flips = 1 + static_cast<int>(random() % 4); flips > 0; --flips) {
            bytes[random() % bytes.size()] =
                static_cast<std::uint8_t>(random() % 3 ? random() : 0xFF);
        }
        if (round % 4 == 0) {
            bytes.resize(random() % bytes.size());
        }
        DialogTemplate::Parse(bytes);
        MenuTemplate::Parse(bytes);
        const auto file = ResFile::Parse(bytes);
        if (!file) {
            continue;
        }
        for (const ResEntry& entry : file->Entries()) {
            DialogTemplate::Parse(entry.bytes);
            MenuTemplate::Parse(entry.bytes);
        }
        for (std::uint16_t id = 0; id < 16; ++id) {
            FindString(*file, id);
        }
    }
}

TEST(Utf16ToUtf8, EncodesAndReplacesUnpairedSurrogates) {
    const struct {
        std::u16string in;
        std::string out;
    } rows[] = {
        {u"", ""},
        {u"RGB(0, 128, 255)", "RGB(0, 128, 255)"},
        {u"\u00E9", "\xC3\xA9"},
        {u"\u30BA\u30FC\u30E0", "ズーム"},
        {u"\uFF2D", "\xEF\xBC\xAD"},
        {u"\xD83D\xDE00", "\xF0\x9F\x98\x80"},
        {u"a\xD83D", "a\xEF\xBF\xBD"},
        {u"\xDE00z", "\xEF\xBF\xBDz"},
        {u"\xDE00\xD83D", "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {u"\xD83D\xD83D\xDE00", "\xEF\xBF\xBD\xF0\x9F\x98\x80"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(Utf16ToUtf8(row.in), row.out);
    }
}

}  // namespace
}  // namespace winapi
