#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "color/text_scan.h"

namespace color {
namespace {

struct ScanRow {
    const char* text;
    const char* pattern;
    std::vector<int> values;
};

TEST(ScanText, FollowsFormattedInputRules) {
    const ScanRow rows[] = {
        // A blank in the pattern matches any run of white space, including none.
        {"1,2", "%d, %d", {1, 2}},
        {"1, \t\n\v\f\r 2", "%d, %d", {1, 2}},
        // A literal must match exactly; white space before it is not skipped.
        {"1 ,2", "%d,%d", {1}},
        {"1;2", "%d,%d", {1}},
        // %d skips leading white space and takes one sign.
        {"   -42", "%d", {-42}},
        {"+7", "%d", {7}},
        {"--7", "%d", {}},
        {"- 7", "%d", {}},
        {"12abc", "%d", {12}},
        {"007", "%d", {7}},
        // %2X takes at most two hex digits of either case, after white space; no sign.
        {"aBcD", "%2X%2X", {0xAB, 0xCD}},
        {"abc", "%2X%2X", {0xAB, 0xC}},
        {"  f 0e", "%2X%2X", {0xF, 0x0E}},
        {"-1", "%2X", {}},
        {"0x12", "%2X%2X", {0}},
        {"1234567", "%X", {0x1234567}},
        // A width limits %d too, sign included.
        {"-123", "%3d%d", {-12, 3}},
        // Reading stops at the first mismatch.
        {"", "%d", {}},
        {"   ", "%d", {}},
        {"1, x, 3", "%d, %d, %d", {1}},
    };
    for (const ScanRow& row : rows) {
        EXPECT_EQ(ScanText(row.text, row.pattern), row.values)
            << '"' << row.text << "\" against \"" << row.pattern << '"';
    }
}

TEST(ScanText, NumbersOutsideIntAreMismatches) {
    EXPECT_EQ(ScanText("2147483647", "%d"), std::vector<int>{2147483647});
    EXPECT_EQ(ScanText("-2147483648", "%d"), std::vector<int>{-2147483647 - 1});
    EXPECT_EQ(ScanText("2147483648", "%d"), std::vector<int>{});
    EXPECT_EQ(ScanText("-2147483649", "%d"), std::vector<int>{});
    EXPECT_EQ(ScanText("7FFFFFFF", "%X"), std::vector<int>{0x7FFFFFFF});
    EXPECT_EQ(ScanText("80000000", "%X"), std::vector<int>{});
    EXPECT_EQ(ScanText(std::string(10'000, '1') + ",2", "%d,%d"), std::vector<int>{});
}

TEST(ScanText, RejectsPatternsOutsideTheSubset) {
    EXPECT_THROW(ScanText("1", "%s"), std::invalid_argument);
    EXPECT_THROW(ScanText("1", "%"), std::invalid_argument);
    EXPECT_THROW(ScanText("1", "%2"), std::invalid_argument);
}

bool HasLongDigitRun(const std::string& text) {
    int run = 0;
    for (const char c : text) {
        run = std::isxdigit(static_cast<unsigned char>(c)) ? run + 1 : 0;
        if (run > 7) {
            return true;
        }
    }
    return false;
}

// Against the C library's own reader, on texts where the two are meant to agree: numbers that fit
// in an int, and no sign or "0x" prefix where hexadecimal is read.
TEST(ScanText, AgreesWithTheCLibraryOnOrdinaryTexts) {
    std::mt19937 random(20261207);
    const std::string alphabet = " ,\t-+0123456789abcdefABCDEFgx(";
    int compared = 0;
    for (int i = 0; i < 50'000; ++i) {
        std::string text;
        const int length = static_cast<int>(random() % 17);
        for (int j = 0; j < length; ++j) {
            text += alphabet[random() % alphabet.size()];
        }
        if (HasLongDigitRun(text)) {
            continue;
        }
        int a = 0, b = 0, c = 0;
        int count = std::sscanf(text.c_str(), "%d, %d, %d", &a, &b, &c);
        std::vector<int> expected{a, b, c};
        expected.resize(static_cast<std::size_t>(std::max(count, 0)));
        ASSERT_EQ(ScanText(text, "%d, %d, %d"), expected) << '"' << text << '"';
        ++compared;

        if (text.find_first_of("+-xX") != std::string::npos) {
            continue;
        }
        unsigned x = 0, y = 0, z = 0;
        count = std::sscanf(text.c_str(), "%2X%2X%2X", &x, &y, &z);
        std::vector<int> expectedHex{static_cast<int>(x), static_cast<int>(y), static_cast<int>(z)};
        expectedHex.resize(static_cast<std::size_t>(std::max(count, 0)));
        ASSERT_EQ(ScanText(text, "%2X%2X%2X"), expectedHex) << '"' << text << '"';
    }
    EXPECT_GT(compared, 40'000);
}

}  // namespace
}  // namespace color
