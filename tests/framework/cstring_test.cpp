// CString: printf formatting, comparisons, clamped substrings and searches, the buffer
// protocol of the API functions that write C text, and strings from the string table.
#include <gtest/gtest.h>

#include <cstring>

#include "framework_test.h"
#include "resource.h"

namespace {

TEST(CStringTest, FormatFollowsPrintfAtAnyLength) {
    CString s;
    s.Format("RGB(%d, %d, %d)", 255, 0, 16);
    EXPECT_STREQ("RGB(255, 0, 16)", s);
    s.Format("#%02X%02X%02X", 0xAB, 0x0C, 0xEF);
    EXPECT_STREQ("#AB0CEF", s);
    s.Format("&H%08X&", 0x00FFFFFFu);
    EXPECT_STREQ("&H00FFFFFF&", s);
    // Longer than any fixed buffer a formatter might start with.
    const std::string longText(5000, 'x');
    s.Format("[%s]", longText.c_str());
    EXPECT_EQ(5002, s.GetLength());
    s.AppendFormat("%c", '!');
    EXPECT_EQ('!', s[5002]);
    s.Format("%s", "");
    EXPECT_TRUE(s.IsEmpty());
}

TEST(CStringTest, ComparesByteWiseAndWithoutCaseForAscii) {
    const CString a("abc");
    EXPECT_TRUE(a == "abc");
    EXPECT_TRUE("abc" == a);
    EXPECT_TRUE(a != "abd");
    EXPECT_TRUE(a < CString("abd"));
    EXPECT_TRUE(a < "b");
    EXPECT_FALSE(CString("b") < a);
    EXPECT_TRUE(CString("") < a);
    EXPECT_EQ(0, a.Compare("abc"));
    EXPECT_GT(0, a.Compare("abcd"));
    EXPECT_EQ(0, a.CompareNoCase("ABC"));
    EXPECT_GT(0, CString("Apple").CompareNoCase("banana"));
    EXPECT_LT(0, CString("x").CompareNoCase(nullptr));
    // Bytes above 0x7F compare as unsigned, after ASCII.
    EXPECT_LT(0, CString("\xE8\xB5\xA4").CompareNoCase("z"));
    EXPECT_TRUE(CString(nullptr).IsEmpty());
}

TEST(CStringTest, ConcatenatesWithTextAndCharacters) {
    CString s("R");
    s += "GB";
    s += '(';
    s += CString("1");
    EXPECT_STREQ("RGB(1", s);
    EXPECT_STREQ("RGB(1)", s + ")");
    EXPECT_STREQ("xRGB(1", "x" + s);
    EXPECT_STREQ("RGB(1;", s + ';');
    s += static_cast<const char*>(nullptr);
    EXPECT_EQ(5, s.GetLength());
}

TEST(CStringTest, SubstringsAndSearchesClampToTheString) {
    const CString s("#AABBCC");
    EXPECT_STREQ("#AA", s.Left(3));
    EXPECT_STREQ("CC", s.Right(2));
    EXPECT_STREQ("BB", s.Mid(3, 2));
    EXPECT_STREQ("BBCC", s.Mid(3));
    EXPECT_STREQ("#AABBCC", s.Left(100));
    EXPECT_STREQ("", s.Left(-1));
    EXPECT_STREQ("", s.Mid(100));
    EXPECT_STREQ("CC", s.Mid(5, 100));
    EXPECT_STREQ("#AABBCC", s.Right(99));
    EXPECT_EQ(3, s.Find('B'));
    EXPECT_EQ(4, s.Find('B', 4));
    EXPECT_EQ(-1, s.Find('B', 5));
    EXPECT_EQ(-1, s.Find('B', 100));
    EXPECT_EQ(-1, s.Find('B', -1));
    EXPECT_EQ(5, s.Find("CC"));
    EXPECT_EQ(-1, s.Find(static_cast<LPCTSTR>(nullptr)));
    EXPECT_EQ(4, s.ReverseFind('B'));
    EXPECT_EQ('\0', s.GetAt(7));
    EXPECT_EQ('\0', s.GetAt(-1));
}

TEST(CStringTest, EditingKeepsTheRestOfTheText) {
    CString s("  a-b-c \t");
    s.Trim();
    EXPECT_STREQ("a-b-c", s);
    EXPECT_EQ(2, s.Replace("-", "--"));
    EXPECT_STREQ("a--b--c", s);
    EXPECT_EQ(0, s.Replace("", "x"));
    s.Delete(1, 2);
    EXPECT_STREQ("ab--c", s);
    s.Insert(100, "!");
    EXPECT_STREQ("ab--c!", s);
    s.MakeUpper();
    EXPECT_STREQ("AB--C!", s);
}

// GetWindowText-style writers fill a buffer; ReleaseBuffer takes the written length.
TEST(CStringTest, BufferKeepsTextAndTakesTheWrittenLength) {
    CString s("old");
    char* buffer = s.GetBuffer(10);
    EXPECT_STREQ("old", buffer);
    std::strcpy(buffer, "new text");
    s.ReleaseBuffer();
    EXPECT_STREQ("new text", s);
    EXPECT_EQ(8, s.GetLength());
    std::strcpy(s.GetBuffer(20), "abcdef");
    s.ReleaseBuffer(3);
    EXPECT_STREQ("abc", s);
    s.ReleaseBuffer(100);
    EXPECT_EQ(3, s.GetLength());
}

class CStringResourceTest : public FrameworkTest {};

TEST_F(CStringResourceTest, LoadsFromTheStringTableAndKeepsTextOnMissingIds) {
    char raw[64] = {};
    ASSERT_GT(LoadStringA(nullptr, IDS_WINDOW_TITLE, raw, sizeof raw), 0);
    CString title;
    EXPECT_TRUE(title.LoadString(IDS_WINDOW_TITLE));
    EXPECT_STREQ(raw, title);
    ASSERT_GT(LoadStringA(nullptr, IDS_ABOUTBOX, raw, sizeof raw), 0);
    EXPECT_STREQ(raw, CString(MAKEINTRESOURCEA(IDS_ABOUTBOX)));
    CString kept("kept");
    EXPECT_FALSE(kept.LoadString(9999));
    EXPECT_STREQ("kept", kept);
}

}  // namespace
