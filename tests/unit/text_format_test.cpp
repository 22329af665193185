#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "color/text_format.h"

namespace color {
namespace {

constexpr std::nullopt_t none = std::nullopt;

struct FormatRow {
    int red, green, blue;
    const char* text;
};

struct ParseRow {
    const char* text;
    ParsedChannels channels;
};

void ExpectFormats(const std::vector<FormatRow>& rows, FormatMode mode) {
    for (const FormatRow& row : rows) {
        EXPECT_EQ(FormatOutput(mode, row.red, row.green, row.blue), std::string(row.text))
            << row.red << ", " << row.green << ", " << row.blue;
    }
}

void ExpectParses(const std::vector<ParseRow>& rows) {
    for (const ParseRow& row : rows) {
        EXPECT_EQ(ParseOutput(row.text), row.channels) << '"' << row.text << '"';
    }
}

TEST(RgbNotation, FormatsAndParses) {
    ExpectFormats(
        {
            {0, 0, 0, "RGB(0, 0, 0)"},
            {255, 255, 255, "RGB(255, 255, 255)"},
            {18, 52, 86, "RGB(18, 52, 86)"},
            {255, 0, 7, "RGB(255, 0, 7)"},
        },
        FormatMode::Rgb);
    ExpectParses({
        {"RGB(0, 0, 0)", {0, 0, 0}},
        {"RGB(18, 52, 86)", {18, 52, 86}},
        {"RGB(1,2,3)", {1, 2, 3}},
        {"RGB(  1 ,2, 3)", {1, none, none}},  // a blank before the comma is not in the format
        {"RGB(\t1,\n 2,   3)", {1, 2, 3}},
        {"RGB(-1, +2, 300)", {-1, 2, 300}},
        {"RGB(1, 2, 3 without the closing parenthesis", {}},
        {"RGB(1, x, 3)", {1, none, none}},
        {"RGB()", {}},
        {"rgb(9, 8, 7) trailing", {9, 8, 7}},
    });
}

TEST(ColorNotation, FormatsAndParses) {
    ExpectFormats(
        {
            {0, 0, 0, "Color(0, 0, 0)"},
            {255, 255, 255, "Color(255, 255, 255)"},
            {18, 52, 86, "Color(18, 52, 86)"},
        },
        FormatMode::Color);
    ExpectParses({
        {"Color(255, 255, 255)", {255, 255, 255}},
        {"Color(18, 52, 86)", {18, 52, 86}},
        {"Color(18, 52)", {18, 52, none}},
    });
}

TEST(BasicHexNotation, FormatsInColorRefByteOrderAndParses) {
    ExpectFormats(
        {
            {0, 0, 0, "&H00000000&"},
            {255, 255, 255, "&H00FFFFFF&"},
            {18, 52, 86, "&H00563412&"},
            {255, 0, 0, "&H000000FF&"},
            {0, 0, 255, "&H00FF0000&"},
            {10, 11, 12, "&H000C0B0A&"},
        },
        FormatMode::BasicHex);
    ExpectParses({
        {"&H00563412&", {18, 52, 86}},
        {"&H00FF0000&", {0, 0, 255}},
        {"&H00ff00aa&", {170, 0, 255}},
        {"&H0056", {none, none, 0x56}},
        {"&H00", {}},
        {"x &H00123456&", {0x56, 0x34, 0x12}},
        // Without "&H00" the digits are read from the fourth character of the text on.
        {"&h00563412&", {0x41, 0x63, 0x05}},
        {"abc123456&", {0x56, 0x34, 0x12}},
        {"&", {}},
        {"&&&", {}},
    });
}

TEST(HtmlHexNotation, FormatsAndParses) {
    ExpectFormats(
        {
            {0, 0, 0, "#000000"},
            {255, 255, 255, "#FFFFFF"},
            {18, 52, 86, "#123456"},
            {255, 0, 0, "#FF0000"},
            {0, 0, 255, "#0000FF"},
            {1, 171, 205, "#01ABCD"},
        },
        FormatMode::HtmlHex);
    ExpectParses({
        {"#FF0000", {255, 0, 0}},
        {"#123456", {18, 52, 86}},
        {"#abcdef", {0xAB, 0xCD, 0xEF}},
        {"#AbCdEf", {0xAB, 0xCD, 0xEF}},
        {"# 12 34 56", {0x12, 0x34, 0x56}},  // each conversion skips white space first
        {"#12345", {0x12, 0x34, 0x05}},
        {"#12G456", {0x12, none, none}},
        {"#", {}},
        {"#-12345", {}},
        {"colour #0A0B0C;", {10, 11, 12}},
    });
}

TEST(FormatOutput, UnknownModeGivesNoText) {
    EXPECT_EQ(FormatOutput(static_cast<FormatMode>(4), 1, 2, 3), std::nullopt);
    EXPECT_EQ(FormatOutput(static_cast<FormatMode>(-1), 1, 2, 3), std::nullopt);
}

TEST(FormatOutput, ChannelsOutsideAByteAreWrittenAsGiven) {
    EXPECT_EQ(FormatOutput(FormatMode::Rgb, 300, -1, 0), "RGB(300, -1, 0)");
    EXPECT_EQ(FormatOutput(FormatMode::HtmlHex, 300, 0, 0), "#12C0000");
    EXPECT_EQ(FormatOutput(FormatMode::HtmlHex, -1, 0, 0), "#FFFFFFFF0000");
}

// Every notation reads back the channels it was written from.
TEST(FormatOutput, EveryModeParsesBack) {
    for (const FormatMode mode :
         {FormatMode::Rgb, FormatMode::Color, FormatMode::BasicHex, FormatMode::HtmlHex}) {
        for (int v = 0; v < 256; ++v) {
            const ChannelTriple triples[] = {
                {v, 0, 0}, {0, v, 0}, {0, 0, v}, {v, 255 - v, (v * 7) % 256}, {255, v, 255 - v}};
            for (const ChannelTriple& t : triples) {
                const auto text = FormatOutput(mode, t.red, t.green, t.blue);
                ASSERT_TRUE(text);
                ASSERT_EQ(ParseOutput(*text), (ParsedChannels{t.red, t.green, t.blue})) << *text;
            }
        }
    }
}

TEST(ParseOutput, FirstMarkerInPrecedenceOrderDecides) {
    ExpectParses({
        {"#102030 RGB(1, 2, 3)", {1, 2, 3}},   // "(" wins over "#" wherever it stands
        {"&H00030201& (4, 5, 6)", {4, 5, 6}},  // and over "&"
        {"#102030 &H00030201&", {1, 2, 3}},    // "&" wins over "#"
        {"RGB(1, 2, 3) #102030", {1, 2, 3}},
    });
}

TEST(ParseOutput, OddTextsGiveNoChannelsSafely) {
    ExpectParses({
        {"", {}},
        {"no markers at all 1, 2, 3", {}},
        {")1, 2, 3(", {}},    // the last ")" stands before the first "("
        {"(1, 2, 3", {}},     // no ")"
        {"((1, 2, 3))", {}},  // the slice starts at the second "("
        {"(1, 2, 3)(4)", {1, 2, 3}},
        {"\xff\xfe(7, 8, 9)\x80", {7, 8, 9}},  // bytes that are not UTF-8
        {"#\xc3\xa9\xff", {}},
        {"RGB(１, ２, ３)", {}},  // full-width digits are not digits
    });
    const std::string longText(1'000'000, '(');
    EXPECT_EQ(ParseOutput(longText), ParsedChannels{});
    std::string longDigits = "RGB(" + std::string(100'000, '9') + ", 1, 2)";
    EXPECT_EQ(ParseOutput(longDigits), ParsedChannels{});
}

// A number too long for an int ends the read: that channel and the ones after it are absent.
TEST(ParseOutput, NumberTooLongForAnIntEndsTheRead) {
    ExpectParses({
        {"RGB(1, 2147483648, 3)", {1, none, none}},
        {"RGB(99999999999999999999, 2, 3)", {}},
        {"RGB(1, 2, -2147483649)", {1, 2, none}},
        {"RGB(2147483647, -2147483648, 0)", {2147483647, -2147483648, 0}},
    });
}

TEST(Readout, FormatsRightAlignedInThreeCharacters) {
    EXPECT_EQ(FormatReadout(0x00FFFFFF), "255, 255, 255");
    EXPECT_EQ(FormatReadout(0x00FF8005), "  5, 128, 255");
    EXPECT_EQ(FormatReadout(0x00000000), "  0,   0,   0");
    EXPECT_EQ(FormatReadout(0x00563412), " 18,  52,  86");
    EXPECT_EQ(FormatReadout(0xFFFFFFFF), "255, 255, 255");  // the top byte is not shown
}

TEST(Readout, ParsesInitialTextAndEveryFormattedText) {
    EXPECT_EQ(ParseReadout("255,255,255"), (ParsedChannels{255, 255, 255}));
    EXPECT_EQ(ParseReadout("  5, 128, 255"), (ParsedChannels{5, 128, 255}));
    EXPECT_EQ(ParseReadout("1, 2"), (ParsedChannels{1, 2, none}));
    EXPECT_EQ(ParseReadout(""), ParsedChannels{});
    for (int v = 0; v < 256; ++v) {
        const ColorRef color = PackRgb(v, 255 - v, v ^ 0x5A);
        EXPECT_EQ(ParseReadout(FormatReadout(color)), (ParsedChannels{v, 255 - v, v ^ 0x5A}));
    }
}

TEST(Channel, FormatsAndParsesDecimal) {
    EXPECT_EQ(FormatChannel(0), "0");
    EXPECT_EQ(FormatChannel(128), "128");
    EXPECT_EQ(FormatChannel(255), "255");
    EXPECT_EQ(FormatChannel(-7), "-7");
    EXPECT_EQ(ParseChannel("0"), 0);
    EXPECT_EQ(ParseChannel("128"), 128);
    EXPECT_EQ(ParseChannel(" 255"), 255);
    EXPECT_EQ(ParseChannel("+12abc"), 12);
    EXPECT_EQ(ParseChannel("-3"), -3);
    EXPECT_EQ(ParseChannel(""), std::nullopt);
    EXPECT_EQ(ParseChannel("Static"), std::nullopt);
    EXPECT_EQ(ParseChannel("-"), std::nullopt);
    EXPECT_EQ(ParseChannel("4294967296"), std::nullopt);
    for (int v = 0; v < 256; ++v) {
        EXPECT_EQ(ParseChannel(FormatChannel(v)), v);
    }
}

}  // namespace
}  // namespace color
