// Win32's pixel rules for shapes on memory DCs: Rectangle with thin, wide and null pens,
// FillRect, FrameRect, lines and their end points, inversions, single pixels, clipping and the
// viewport origin.
#include <windows.h>

#include <limits>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "support/headless_test.h"

namespace {

constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlack = RGB(0, 0, 0);

class GdiGeometryTest : public HeadlessTest {
protected:
    ~GdiGeometryTest() override {
        if (m_dc == nullptr)
            return;
        SelectObject(m_dc, m_oldBitmap);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }

    // A width x height 32-bit canvas in a memory DC, all blue, with a black pen and red brush.
    HDC Canvas(int width, int height) {
        m_width = width;
        m_height = height;
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateBitmap(width, height, 1, 32, nullptr);
        m_oldBitmap = SelectObject(m_dc, m_bitmap);
        RECT all{0, 0, width, height};
        HBRUSH blue = CreateSolidBrush(kBlue);
        FillRect(m_dc, &all, blue);
        DeleteObject(blue);
        SelectObject(m_dc, GetStockObject(BLACK_PEN));
        SelectObject(m_dc, GetStockObject(DC_BRUSH));
        SetDCBrushColor(m_dc, kRed);
        return m_dc;
    }

    // The canvas as rows of characters: '.' blue, '#' black, 'r' red, '?' anything else.
    std::vector<std::string> Picture() const {
        const std::map<COLORREF, char> legend{{kBlue, '.'}, {kBlack, '#'}, {kRed, 'r'}};
        std::vector<std::string> rows;
        for (int y = 0; y < m_height; ++y) {
            std::string row;
            for (int x = 0; x < m_width; ++x) {
                auto found = legend.find(GetPixel(m_dc, x, y));
                row += found == legend.end() ? '?' : found->second;
            }
            rows.push_back(row);
        }
        return rows;
    }

    void UsePen(int style, int width) {
        HPEN pen = CreatePen(style, width, kBlack);
        DeleteObject(SelectObject(m_dc, pen));
        m_pens.push_back(pen);
    }

    // The pixels a line from a to b lights, drawn alone on a fresh canvas area.
    std::set<std::pair<int, int>> LinePixels(POINT a, POINT b) {
        RECT all{0, 0, m_width, m_height};
        HBRUSH blue = CreateSolidBrush(kBlue);
        FillRect(m_dc, &all, blue);
        DeleteObject(blue);
        MoveToEx(m_dc, a.x, a.y, nullptr);
        LineTo(m_dc, b.x, b.y);
        std::set<std::pair<int, int>> lit;
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                if (GetPixel(m_dc, x, y) == kBlack)
                    lit.insert({x, y});
        return lit;
    }

    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_oldBitmap = nullptr;
    std::vector<HPEN> m_pens;
    int m_width = 0;
    int m_height = 0;
};

// A one-pixel pen outlines [left, right - 1] x [top, bottom - 1]; the brush fills inside.
TEST_F(GdiGeometryTest, RectangleWithOnePixelPenExcludesRightAndBottomEdges) {
    HDC dc = Canvas(8, 7);
    ASSERT_TRUE(Rectangle(dc, 1, 1, 6, 5));
    EXPECT_EQ((std::vector<std::string>{
                  "........",
                  ".#####..",
                  ".#rrr#..",
                  ".#rrr#..",
                  ".#####..",
                  "........",
                  "........",
              }),
              Picture());
}

// Win32: with a PS_NULL pen the rectangle is one pixel smaller in width and height.
TEST_F(GdiGeometryTest, RectangleWithNullPenFillsOnePixelLess) {
    HDC dc = Canvas(8, 6);
    SelectObject(dc, GetStockObject(NULL_PEN));
    ASSERT_TRUE(Rectangle(dc, 1, 1, 6, 5));
    EXPECT_EQ((std::vector<std::string>{
                  "........",
                  ".rrrr...",
                  ".rrrr...",
                  ".rrrr...",
                  "........",
                  "........",
              }),
              Picture());
}

// Wide pens are centred on the outline; an even width puts its extra pixel outside on the
// top and left edges and inside on the right and bottom ones.
TEST_F(GdiGeometryTest, RectangleWithTwoPixelPenCentresItOnTheOutline) {
    HDC dc = Canvas(10, 9);
    UsePen(PS_SOLID, 2);
    ASSERT_TRUE(Rectangle(dc, 2, 2, 8, 7));
    EXPECT_EQ((std::vector<std::string>{
                  "..........",
                  ".#######..",
                  ".#######..",
                  ".##rrr##..",
                  ".##rrr##..",
                  ".#######..",
                  ".#######..",
                  "..........",
                  "..........",
              }),
              Picture());
}

TEST_F(GdiGeometryTest, RectangleWithThreePixelPenCoversOnePixelEachSide) {
    HDC dc = Canvas(11, 10);
    UsePen(PS_SOLID, 3);
    ASSERT_TRUE(Rectangle(dc, 2, 2, 9, 8));
    EXPECT_EQ((std::vector<std::string>{
                  "...........",
                  ".#########.",
                  ".#########.",
                  ".#########.",
                  ".###rrr###.",
                  ".###rrr###.",
                  ".#########.",
                  ".#########.",
                  ".#########.",
                  "...........",
              }),
              Picture());
}

// PS_INSIDEFRAME keeps a wide outline inside [left, right) x [top, bottom).
TEST_F(GdiGeometryTest, InsideFramePenStaysInsideTheBounds) {
    HDC dc = Canvas(9, 8);
    UsePen(PS_INSIDEFRAME, 2);
    ASSERT_TRUE(Rectangle(dc, 1, 1, 7, 6));
    EXPECT_EQ((std::vector<std::string>{
                  ".........",
                  ".######..",
                  ".######..",
                  ".##rr##..",
                  ".######..",
                  ".######..",
                  ".........",
                  ".........",
              }),
              Picture());
}

TEST_F(GdiGeometryTest, RectangleOrdersItsCornersAndDrawsNothingWhenFlat) {
    HDC dc = Canvas(6, 5);
    ASSERT_TRUE(Rectangle(dc, 4, 3, 1, 1));
    EXPECT_EQ((std::vector<std::string>{
                  "......",
                  ".###..",
                  ".###..",
                  "......",
                  "......",
              }),
              Picture());
    HDC other = dc;
    ASSERT_TRUE(Rectangle(other, 5, 0, 5, 4));  // no width: nothing
    EXPECT_EQ('.', Picture()[0][5]);
}

TEST_F(GdiGeometryTest, FillRectAndFrameRectKeepInsideLeftTopRightBottom) {
    HDC dc = Canvas(7, 6);
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    HBRUSH red = CreateSolidBrush(kRed);
    RECT fill{3, 3, 6, 5};
    RECT frame{0, 0, 4, 3};
    EXPECT_NE(0, FillRect(dc, &fill, red));
    EXPECT_NE(0, FrameRect(dc, &frame, black));
    EXPECT_EQ((std::vector<std::string>{
                  "####...",
                  "#..#...",
                  "####...",
                  "...rrr.",
                  "...rrr.",
                  ".......",
              }),
              Picture());
    DeleteObject(red);
}

// (HBRUSH)(COLOR_x + 1) paints with the system colour, as window classes' backgrounds do.
TEST_F(GdiGeometryTest, FillRectTakesSystemColourIndexesAsBrushes) {
    HDC dc = Canvas(4, 4);
    RECT rect{0, 0, 2, 2};
    EXPECT_NE(0, FillRect(dc, &rect, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)));
    EXPECT_EQ(RGB(192, 192, 192), GetPixel(dc, 1, 1));
    EXPECT_EQ(kBlue, GetPixel(dc, 2, 2));
    EXPECT_NE(0, FillRect(dc, &rect, reinterpret_cast<HBRUSH>(COLOR_BACKGROUND + 1)));
    EXPECT_EQ(RGB(0, 128, 128), GetPixel(dc, 0, 0));
    EXPECT_EQ(0, FillRect(dc, &rect, reinterpret_cast<HBRUSH>(200)));
}

// Each segment of a polyline leaves out its end point, where the next one starts.
TEST_F(GdiGeometryTest, LineToLeavesOutTheEndPointAndMovesThePosition) {
    HDC dc = Canvas(8, 4);
    MoveToEx(dc, 1, 1, nullptr);
    ASSERT_TRUE(LineTo(dc, 6, 1));
    ASSERT_TRUE(LineTo(dc, 6, 3));
    POINT position{};
    GetCurrentPositionEx(dc, &position);
    EXPECT_EQ(6, position.x);
    EXPECT_EQ(3, position.y);
    EXPECT_EQ((std::vector<std::string>{
                  "........",
                  ".######.",
                  "......#.",
                  "........",
              }),
              Picture());
}

// Halfway cases: x-major lines take the upper pixel, y-major lines the left one, whichever
// way the line is drawn.
TEST_F(GdiGeometryTest, DiagonalTiesGoUpAndLeftInEveryDirection) {
    Canvas(6, 6);
    using Pixels = std::set<std::pair<int, int>>;
    EXPECT_EQ((Pixels{{0, 0}, {1, 0}, {2, 1}, {3, 1}}), LinePixels({0, 0}, {4, 2}));
    EXPECT_EQ((Pixels{{4, 2}, {3, 1}, {2, 1}, {1, 0}}), LinePixels({4, 2}, {0, 0}));
    EXPECT_EQ((Pixels{{0, 2}, {1, 1}, {2, 1}, {3, 0}}), LinePixels({0, 2}, {4, 0}));
    EXPECT_EQ((Pixels{{4, 0}, {3, 0}, {2, 1}, {1, 1}}), LinePixels({4, 0}, {0, 2}));
    EXPECT_EQ((Pixels{{0, 0}, {0, 1}, {1, 2}, {1, 3}}), LinePixels({0, 0}, {2, 4}));
    EXPECT_EQ((Pixels{{2, 4}, {1, 3}, {1, 2}, {0, 1}}), LinePixels({2, 4}, {0, 0}));
    EXPECT_EQ((Pixels{{2, 0}, {1, 1}, {1, 2}, {0, 3}}), LinePixels({2, 0}, {0, 4}));
    EXPECT_EQ((Pixels{{0, 4}, {0, 3}, {1, 2}, {1, 1}}), LinePixels({0, 4}, {2, 0}));
}

// In all eight octants a line and its reverse light the same pixels, apart from the end point
// each leaves out, and one pixel per step of the longer axis.
TEST_F(GdiGeometryTest, LinesLightTheSamePixelsBothWays) {
    Canvas(15, 15);
    const POINT centre{7, 7};
    for (int dx = -6; dx <= 6; ++dx)
        for (int dy = -6; dy <= 6; ++dy) {
            if (dx == 0 && dy == 0)
                continue;
            const POINT end{centre.x + dx, centre.y + dy};
            auto forward = LinePixels(centre, end);
            auto backward = LinePixels(end, centre);
            const std::size_t steps =
                static_cast<std::size_t>(std::max(std::abs(dx), std::abs(dy)));
            EXPECT_EQ(steps, forward.size()) << dx << "," << dy;
            EXPECT_TRUE(forward.count({centre.x, centre.y}) && !forward.count({end.x, end.y}));
            forward.insert({end.x, end.y});
            backward.insert({centre.x, centre.y});
            EXPECT_EQ(forward, backward) << dx << "," << dy;
        }
}

TEST_F(GdiGeometryTest, HugeLinesAreClippedWithoutWalkingEveryPixel) {
    HDC dc = Canvas(6, 6);
    MoveToEx(dc, -1000000000, -1000000000, nullptr);
    ASSERT_TRUE(LineTo(dc, 1000000000, 1000000000));
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(kBlack, GetPixel(dc, i, i));
    EXPECT_EQ(kBlue, GetPixel(dc, 1, 0));
}

// Wide geometric lines have round ends past their end points and the thickness a wide
// rectangle outline has.
TEST_F(GdiGeometryTest, WideLinesAreThickAndReachPastTheirEnds) {
    HDC dc = Canvas(16, 10);
    UsePen(PS_SOLID, 3);
    MoveToEx(dc, 3, 4, nullptr);
    LineTo(dc, 12, 4);
    const std::vector<std::string> picture = Picture();
    // Rows 3..5, and the round ends reach a pixel past both end points.
    for (int y : {3, 4, 5})
        EXPECT_EQ("..############..", picture[y]) << y;
    EXPECT_EQ("................", picture[2]);
    EXPECT_EQ("................", picture[6]);

    UsePen(PS_SOLID, 2);
    MoveToEx(dc, 8, 7, nullptr);  // vertical, even: the extra column on the left
    LineTo(dc, 8, 9);
    const std::vector<std::string> after = Picture();
    EXPECT_EQ('#', after[8][7]);
    EXPECT_EQ('#', after[8][8]);
    EXPECT_EQ('.', after[8][9]);
    EXPECT_EQ('.', after[8][6]);
}

// A two-pixel pen (CreatePen makes wide pens geometric, with round ends): the extra pixel of
// the even width goes above or left of the path, and each end is a disc of diameter 2 round
// the end point, whose pixels exactly on its edge count on its top and left sides only, as in
// every Win32 fill. So the far end's row or column is drawn whole and the start gains one
// pixel beyond it on the path.
TEST_F(GdiGeometryTest, TwoPixelLinesHaveRoundEndsOfDiameterTwo) {
    HDC dc = Canvas(10, 10);
    UsePen(PS_SOLID, 2);
    MoveToEx(dc, 3, 2, nullptr);
    LineTo(dc, 3, 5);
    MoveToEx(dc, 5, 8, nullptr);
    LineTo(dc, 8, 8);
    EXPECT_EQ((std::vector<std::string>{
                  "..........",
                  "...#......",
                  "..##......",
                  "..##......",
                  "..##......",
                  "..##......",
                  "..........",
                  ".....####.",
                  "....#####.",
                  "..........",
              }),
              Picture());
}

TEST_F(GdiGeometryTest, NullPenDrawsNoLineButMovesThePosition) {
    HDC dc = Canvas(5, 3);
    SelectObject(dc, GetStockObject(NULL_PEN));
    MoveToEx(dc, 0, 1, nullptr);
    EXPECT_TRUE(LineTo(dc, 4, 1));
    EXPECT_EQ(".....", Picture()[1]);
    POINT position{};
    GetCurrentPositionEx(dc, &position);
    EXPECT_EQ(4, position.x);
}

TEST_F(GdiGeometryTest, InvertRectAndDrawFocusRectUndoThemselves) {
    HDC dc = Canvas(6, 5);
    RECT rect{1, 1, 5, 4};
    ASSERT_TRUE(InvertRect(dc, &rect));
    EXPECT_EQ(RGB(255, 255, 0), GetPixel(dc, 1, 1));
    EXPECT_EQ(kBlue, GetPixel(dc, 5, 4));
    InvertRect(dc, &rect);
    EXPECT_EQ(kBlue, GetPixel(dc, 1, 1));

    // Every other pixel of the border, inverted; the inside untouched.
    ASSERT_TRUE(DrawFocusRect(dc, &rect));
    EXPECT_EQ((std::vector<std::string>{
                  "......",
                  ".?.?..",
                  "....?.",
                  ".?.?..",
                  "......",
              }),
              Picture());
    DrawFocusRect(dc, &rect);
    for (const std::string& row : Picture())
        EXPECT_EQ("......", row);
}

TEST_F(GdiGeometryTest, SetPixelAndGetPixelStayOnTheBitmap) {
    HDC dc = Canvas(3, 3);
    EXPECT_EQ(RGB(1, 2, 3), SetPixel(dc, 2, 2, RGB(1, 2, 3)));
    EXPECT_EQ(RGB(1, 2, 3), GetPixel(dc, 2, 2));
    EXPECT_EQ(CLR_INVALID, SetPixel(dc, 3, 0, kRed));
    EXPECT_EQ(CLR_INVALID, GetPixel(dc, 3, 0));
    EXPECT_EQ(CLR_INVALID, GetPixel(dc, -1, 0));
}

TEST_F(GdiGeometryTest, ClipRectanglesLimitDrawingAndSaveDcRestoresThem) {
    HDC dc = Canvas(6, 4);
    const int saved = SaveDC(dc);
    EXPECT_EQ(SIMPLEREGION, IntersectClipRect(dc, 1, 0, 5, 4));
    EXPECT_EQ(COMPLEXREGION, ExcludeClipRect(dc, 2, 1, 4, 3));
    RECT all{0, 0, 6, 4};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(CLR_INVALID, GetPixel(dc, 2, 1));  // GetPixel keeps to the clip too
    RECT box{};
    EXPECT_EQ(COMPLEXREGION, GetClipBox(dc, &box));
    EXPECT_EQ(1, box.left);
    EXPECT_EQ(5, box.right);
    ASSERT_TRUE(RestoreDC(dc, saved));
    EXPECT_EQ(SIMPLEREGION, GetClipBox(dc, &box));
    EXPECT_EQ(6, box.right);
    EXPECT_FALSE(RestoreDC(dc, saved));  // already restored
    EXPECT_EQ((std::vector<std::string>{
                  ".####.",
                  ".#..#.",
                  ".#..#.",
                  ".####.",
              }),
              Picture());
}

TEST_F(GdiGeometryTest, ViewportOriginMovesEverythingDrawn) {
    HDC dc = Canvas(6, 4);
    POINT previous{-1, -1};
    SetViewportOrgEx(dc, 3, 2, &previous);
    EXPECT_EQ(0, previous.x);
    RECT rect{0, 0, 2, 1};
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetPixel(dc, -3, -2, kRed);
    EXPECT_EQ(kRed, GetPixel(dc, -3, -2));
    SetViewportOrgEx(dc, 0, 0, nullptr);
    EXPECT_EQ((std::vector<std::string>{
                  "r.....",
                  "......",
                  "...##.",
                  "......",
              }),
              Picture());
}

// Extreme coordinates and sizes are clipped, never overflowed: the calls succeed and cover
// the canvas as the geometry says.
TEST_F(GdiGeometryTest, ExtremeCoordinatesAndWidthsAreSafe) {
    HDC dc = Canvas(4, 3);
    constexpr int kMin = std::numeric_limits<int>::min();
    constexpr int kMax = std::numeric_limits<int>::max();
    SelectObject(dc, GetStockObject(NULL_PEN));
    ASSERT_TRUE(Rectangle(dc, kMin, kMin, kMax, kMax));
    EXPECT_EQ("rrrr", Picture()[2]);
    UsePen(PS_SOLID, kMax);
    ASSERT_TRUE(Rectangle(dc, kMax, kMin, kMin, kMax));  // the outline is far outside
    EXPECT_EQ("rrrr", Picture()[1]);
    ASSERT_TRUE(Rectangle(dc, 2, 1, 3, 2));  // ... or covers everything
    EXPECT_EQ("####", Picture()[1]);
    MoveToEx(dc, kMin, kMax, nullptr);
    EXPECT_TRUE(LineTo(dc, kMax, kMin));
    RECT huge{kMin, kMin, kMax, kMax};
    EXPECT_NE(0, FillRect(dc, &huge, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))));
    EXPECT_TRUE(InvertRect(dc, &huge));
    EXPECT_TRUE(DrawFocusRect(dc, &huge));
    EXPECT_TRUE(PatBlt(dc, kMax, kMax, kMin, kMin, BLACKNESS));
    EXPECT_EQ("####", Picture()[0]);
    EXPECT_TRUE(StretchBlt(dc, kMin, 0, kMax, kMax, dc, kMax, kMin, kMin, kMax, SRCCOPY));
    SetViewportOrgEx(dc, kMax, kMin, nullptr);
    EXPECT_NE(0, FillRect(dc, &huge, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))));
    EXPECT_NE(0, DrawTextA(dc, "text", -1, &huge, DT_CENTER | DT_VCENTER | DT_SINGLELINE));
    EXPECT_TRUE(TextOutA(dc, kMax, kMax, "text", 4));
}

}  // namespace
