// The small values of the framework: rectangles with Win32's exclusive right and bottom, and the
// arguments part of the command line.
#include <gtest/gtest.h>

#include <string>

#include "platform/framework/command_line.h"
#include "platform/framework/geometry.h"

namespace {

TEST(CRectTest, EdgesAreExclusive) {
    const CRect r(10, 20, 30, 25);
    EXPECT_EQ(20, r.Width());
    EXPECT_EQ(5, r.Height());
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(30, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(10, 25)));
    EXPECT_TRUE(CRect(5, 5, 5, 9).IsRectEmpty());
    EXPECT_TRUE(CRect(5, 5, 2, 9).IsRectEmpty());
    EXPECT_FALSE(CRect(5, 5, 2, 9).IsRectNull());
}

TEST(CRectTest, MovesAndResizes) {
    CRect r(0, 0, 10, 10);
    r.OffsetRect(5, -2);
    EXPECT_EQ(CRect(5, -2, 15, 8), r);
    r.InflateRect(1, 2);
    EXPECT_EQ(CRect(4, -4, 16, 10), r);
    r.DeflateRect(CSize(1, 2));
    r.MoveToXY(100, 200);
    EXPECT_EQ(CRect(100, 200, 110, 210), r);
    CRect flipped(10, 10, 0, 0);
    flipped.NormalizeRect();
    EXPECT_EQ(CRect(0, 0, 10, 10), flipped);
    EXPECT_EQ(CPoint(105, 205), r.CenterPoint());
    EXPECT_EQ(CSize(3, 4), CPoint(4, 6) - CPoint(1, 2));
}

TEST(CRectTest, IntersectionAndUnionIgnoreEmptyRectangles) {
    CRect r;
    EXPECT_TRUE(r.IntersectRect(CRect(0, 0, 10, 10), CRect(5, 5, 20, 20)));
    EXPECT_EQ(CRect(5, 5, 10, 10), r);
    // Touching edges share no pixel.
    EXPECT_FALSE(r.IntersectRect(CRect(0, 0, 10, 10), CRect(10, 0, 20, 10)));
    EXPECT_TRUE(r.IsRectNull());
    EXPECT_TRUE(r.UnionRect(CRect(0, 0, 0, 0), CRect(3, 3, 4, 4)));
    EXPECT_EQ(CRect(3, 3, 4, 4), r);
    EXPECT_EQ(CRect(0, 0, 20, 30), CRect(0, 0, 10, 10) | CRect(15, 25, 20, 30));
    EXPECT_FALSE(r.UnionRect(CRect(1, 1, 1, 5), CRect(9, 9, 2, 2)));
}

struct CommandLineCase {
    const char* line;
    const char* arguments;
};

TEST(CommandLineTest, ArgumentsFollowTheProgramNameAndItsBlanks) {
    const CommandLineCase cases[] = {
        {"tintaro.exe", ""},
        {"tintaro.exe /x", "/x"},
        {"tintaro.exe \t  a  b ", "a  b "},
        {"\"C:\\Program Files\\Tintaro\\tintaro.exe\" /x", "/x"},
        // A quoted name ends at its closing quote, blank or not.
        {"\"C:\\a b\\t.exe\"/x y", "/x y"},
        {"\"unterminated name", ""},
        {"\"\" a", "a"},
        {"", ""},
        {"   ", ""},
        {"ツール.exe 引数", "引数"},
    };
    for (const CommandLineCase& c : cases) {
        std::string line = c.line;
        EXPECT_STREQ(c.arguments, framework::SkipProgramName(line.data())) << c.line;
    }
    EXPECT_STREQ("", framework::SkipProgramName(nullptr));
}

}  // namespace
