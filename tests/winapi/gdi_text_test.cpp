// Text through GDI: background modes, colours, alignment and the current position, ExtTextOut's
// rectangle, DrawText's alignment, prefixes, line breaking and measuring, and the font
// queries. Placement is checked against text drawn by TextOut where DrawText must put it, so
// the checks hold for whatever face draws.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "support/headless_test.h"

namespace {

constexpr COLORREF kPaper = RGB(0, 0, 255);
constexpr COLORREF kInk = RGB(255, 255, 0);
constexpr COLORREF kBack = RGB(0, 255, 0);

class TextCanvas {
public:
    TextCanvas(int width, int height)
        : m_width(width),
          m_height(height),
          m_dc(CreateCompatibleDC(nullptr)),
          m_bitmap(CreateBitmap(width, height, 1, 32, nullptr)) {
        m_old = SelectObject(m_dc, m_bitmap);
        SelectObject(m_dc, GetStockObject(DEFAULT_GUI_FONT));
        SetTextColor(m_dc, kInk);
        SetBkColor(m_dc, kBack);
        Clear();
    }
    ~TextCanvas() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    TextCanvas(const TextCanvas&) = delete;
    TextCanvas& operator=(const TextCanvas&) = delete;

    HDC Dc() const { return m_dc; }
    void Clear() {
        RECT all{0, 0, m_width, m_height};
        HBRUSH paper = CreateSolidBrush(kPaper);
        FillRect(m_dc, &all, paper);
        DeleteObject(paper);
    }
    std::vector<COLORREF> Pixels() const {
        std::vector<COLORREF> pixels;
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                pixels.push_back(GetPixel(m_dc, x, y));
        return pixels;
    }
    // The smallest rectangle holding every pixel of colour.
    RECT BoundsOf(COLORREF colour) const {
        RECT box{m_width, m_height, -1, -1};
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                if (GetPixel(m_dc, x, y) == colour) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box;
    }
    int Count(COLORREF colour) const {
        const std::vector<COLORREF> pixels = Pixels();
        return static_cast<int>(std::count(pixels.begin(), pixels.end(), colour));
    }
    SIZE Extent(const char* text) const {
        SIZE size{};
        GetTextExtentPoint32A(m_dc, text, static_cast<int>(std::strlen(text)), &size);
        return size;
    }

private:
    int m_width;
    int m_height;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

class GdiTextTest : public HeadlessTest {};

TEST_F(GdiTextTest, ExtentsAndMetricsAgree) {
    TextCanvas canvas(10, 10);
    TEXTMETRICA metrics{};
    ASSERT_TRUE(GetTextMetricsA(canvas.Dc(), &metrics));
    EXPECT_GT(metrics.tmHeight, 0);
    EXPECT_EQ(metrics.tmHeight, metrics.tmAscent + metrics.tmDescent);
    const SIZE one = canvas.Extent("Hello");
    const SIZE two = canvas.Extent("HelloHello");
    EXPECT_EQ(metrics.tmHeight, one.cy);
    EXPECT_GT(one.cx, 0);
    EXPECT_EQ(2 * one.cx, two.cx);
    EXPECT_EQ(0, canvas.Extent("").cx);
    SIZE size{};
    EXPECT_FALSE(GetTextExtentPoint32A(canvas.Dc(), "x", -1, &size));
    EXPECT_FALSE(GetTextExtentPoint32A(canvas.Dc(), nullptr, 3, &size));
    EXPECT_FALSE(GetTextExtentPoint32A(canvas.Dc(), "x", 1, nullptr));
}

// OPAQUE fills exactly the text cell with the background colour; TRANSPARENT leaves it.
TEST_F(GdiTextTest, OpaqueModeFillsTheCellAndTransparentModeDoesNot) {
    TextCanvas canvas(120, 40);
    const SIZE size = canvas.Extent("Wide text");
    ASSERT_TRUE(TextOutA(canvas.Dc(), 5, 6, "Wide text", 9));
    const RECT filled = canvas.BoundsOf(kBack);
    EXPECT_EQ(5, filled.left);
    EXPECT_EQ(6, filled.top);
    EXPECT_EQ(5 + size.cx, filled.right);
    EXPECT_EQ(6 + size.cy, filled.bottom);
    EXPECT_EQ(size.cx * size.cy, canvas.Count(kBack) + canvas.Count(kInk));
    const RECT inked = canvas.BoundsOf(kInk);
    EXPECT_GE(inked.left, 5);
    EXPECT_LE(inked.bottom, 6 + size.cy);

    canvas.Clear();
    EXPECT_EQ(OPAQUE, SetBkMode(canvas.Dc(), TRANSPARENT));
    ASSERT_TRUE(TextOutA(canvas.Dc(), 5, 6, "Wide text", 9));
    EXPECT_EQ(0, canvas.Count(kBack));
    EXPECT_GT(canvas.Count(kInk), 0);
}

// TA_RIGHT and TA_CENTER move the text left by all or half its width, TA_BOTTOM and
// TA_BASELINE up by its height or ascent; TA_UPDATECP draws at the current position and
// moves it past the text.
TEST_F(GdiTextTest, AlignmentPlacesTheCellAroundTheReferencePoint) {
    TextCanvas canvas(200, 60);
    const SIZE size = canvas.Extent("Align");
    TEXTMETRICA metrics{};
    GetTextMetricsA(canvas.Dc(), &metrics);
    struct Case {
        UINT align;
        int left;
        int top;
    };
    const Case cases[] = {
        {TA_LEFT | TA_TOP, 100, 30},
        {TA_RIGHT | TA_TOP, 100 - size.cx, 30},
        {TA_CENTER | TA_TOP, 100 - size.cx / 2, 30},
        {TA_LEFT | TA_BOTTOM, 100, 30 - size.cy},
        {TA_LEFT | TA_BASELINE, 100, 30 - metrics.tmAscent},
    };
    for (const Case& c : cases) {
        canvas.Clear();
        SetTextAlign(canvas.Dc(), c.align);
        TextOutA(canvas.Dc(), 100, 30, "Align", 5);
        const RECT cell = canvas.BoundsOf(kBack);
        EXPECT_EQ(c.left, cell.left) << c.align;
        EXPECT_EQ(c.top, cell.top) << c.align;
    }
    canvas.Clear();
    SetTextAlign(canvas.Dc(), TA_UPDATECP);
    MoveToEx(canvas.Dc(), 10, 5, nullptr);
    TextOutA(canvas.Dc(), 150, 50, "Align", 5);
    TextOutA(canvas.Dc(), 150, 50, "Align", 5);
    POINT position{};
    GetCurrentPositionEx(canvas.Dc(), &position);
    EXPECT_EQ(10 + 2 * size.cx, position.x);
    EXPECT_EQ(5, position.y);
    const RECT cells = canvas.BoundsOf(kBack);
    EXPECT_EQ(10, cells.left);
    EXPECT_EQ(10 + 2 * size.cx, cells.right);
}

TEST_F(GdiTextTest, ExtTextOutFillsAndClipsToItsRectangle) {
    TextCanvas canvas(100, 40);
    RECT rect{2, 3, 50, 30};
    ASSERT_TRUE(ExtTextOutA(canvas.Dc(), 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr));
    EXPECT_EQ(48 * 27, canvas.Count(kBack));

    canvas.Clear();
    SetBkMode(canvas.Dc(), TRANSPARENT);
    RECT clip{10, 0, 20, 40};
    ASSERT_TRUE(ExtTextOutA(canvas.Dc(), 0, 5, ETO_CLIPPED, &clip, "WWWWWWWW", 8, nullptr));
    const RECT inked = canvas.BoundsOf(kInk);
    EXPECT_GE(inked.left, 10);
    EXPECT_LE(inked.right, 20);
    EXPECT_FALSE(ExtTextOutA(canvas.Dc(), 0, 0, 0, nullptr, nullptr, 3, nullptr));
}

// DrawText draws what TextOut draws, where Win32 puts it: centred at
// (left + right - width) / 2, right-aligned at right - width, vertically centred at
// top + height / 2 - cell / 2.
TEST_F(GdiTextTest, DrawTextAlignsLikeTextOutAtWin32sPositions) {
    TextCanvas drawn(160, 50);
    TextCanvas expected(160, 50);
    const SIZE size = drawn.Extent("Centre");
    struct Case {
        UINT format;
        int x;
        int y;
    };
    RECT rect{11, 4, 150, 45};
    const Case cases[] = {
        {DT_LEFT, 11, 4},
        {DT_CENTER, (11 + 150 - size.cx) / 2, 4},
        {DT_RIGHT, 150 - size.cx, 4},
        {DT_SINGLELINE | DT_VCENTER | DT_CENTER, (11 + 150 - size.cx) / 2,
         4 + 41 / 2 - size.cy / 2},
        {DT_SINGLELINE | DT_BOTTOM, 11, 45 - size.cy},
    };
    for (const Case& c : cases) {
        drawn.Clear();
        expected.Clear();
        RECT r = rect;
        const int height = DrawTextA(drawn.Dc(), "Centre", -1, &r, c.format);
        TextOutA(expected.Dc(), c.x, c.y, "Centre", 6);
        EXPECT_EQ(expected.Pixels(), drawn.Pixels()) << c.format;
        EXPECT_EQ(c.y + size.cy - 4, height) << c.format;
    }
}

// "&x" underlines x one pixel below the baseline, "&&" shows one "&", and DT_NOPREFIX shows
// the text as it is.
TEST_F(GdiTextTest, PrefixesUnderlineAndDoubleAmpersandsShowOne) {
    TextCanvas drawn(120, 30);
    TextCanvas expected(120, 30);
    TEXTMETRICA metrics{};
    GetTextMetricsA(drawn.Dc(), &metrics);
    RECT rect{2, 2, 118, 28};
    DrawTextA(drawn.Dc(), "&File", -1, &rect, DT_LEFT);
    TextOutA(expected.Dc(), 2, 2, "File", 4);
    const int underlineY = 2 + metrics.tmAscent + 1;
    const int widthF = expected.Extent("F").cx;
    const std::vector<COLORREF> got = drawn.Pixels();
    const std::vector<COLORREF> plain = expected.Pixels();
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * 120 + x;
            const bool underline = y == underlineY && x >= 2 && x < 2 + widthF - 1;
            EXPECT_EQ(underline ? kInk : plain[i], got[i]) << x << "," << y;
        }

    drawn.Clear();
    expected.Clear();
    DrawTextA(drawn.Dc(), "A&&B", -1, &rect, DT_LEFT);
    TextOutA(expected.Dc(), 2, 2, "A&B", 3);
    EXPECT_EQ(expected.Pixels(), drawn.Pixels());

    drawn.Clear();
    expected.Clear();
    DrawTextA(drawn.Dc(), "&File", -1, &rect, DT_LEFT | DT_NOPREFIX);
    TextOutA(expected.Dc(), 2, 2, "&File", 5);
    EXPECT_EQ(expected.Pixels(), drawn.Pixels());

    RECT measure{0, 0, 0, 0};
    DrawTextA(drawn.Dc(), "&File", -1, &measure, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(drawn.Extent("File").cx, measure.right);
}

TEST_F(GdiTextTest, CalcRectMeasuresLinesAndWordBreaks) {
    TextCanvas canvas(10, 10);
    const SIZE size = canvas.Extent("one two");
    RECT rect{5, 7, 500, 500};
    EXPECT_EQ(size.cy, DrawTextA(canvas.Dc(), "one two", -1, &rect, DT_CALCRECT | DT_SINGLELINE));
    EXPECT_EQ(5 + size.cx, rect.right);
    EXPECT_EQ(7 + size.cy, rect.bottom);

    rect = {0, 0, 500, 500};
    EXPECT_EQ(3 * size.cy, DrawTextA(canvas.Dc(), "a\nbb\r\nccc", -1, &rect, DT_CALCRECT));
    EXPECT_EQ(canvas.Extent("ccc").cx, rect.right);

    // A line narrower than "one two" but wider than either word breaks at the space.
    const int narrow = std::max(canvas.Extent("one").cx, canvas.Extent("two").cx) + 1;
    rect = {0, 0, narrow, 500};
    EXPECT_EQ(2 * size.cy,
              DrawTextA(canvas.Dc(), "one two", -1, &rect, DT_CALCRECT | DT_WORDBREAK));
    EXPECT_EQ(std::max(canvas.Extent("one").cx, canvas.Extent("two").cx), rect.right);

    // A word wider than the line is not broken: the rectangle grows to hold it.
    rect = {0, 0, 10, 500};
    EXPECT_EQ(size.cy,
              DrawTextA(canvas.Dc(), "unbreakable", -1, &rect, DT_CALCRECT | DT_WORDBREAK));
    EXPECT_EQ(canvas.Extent("unbreakable").cx, rect.right);
    // ... unless an edit control's rules are asked for.
    rect = {0, 0, canvas.Extent("unbr").cx, 500};
    EXPECT_LT(size.cy, DrawTextA(canvas.Dc(), "unbreakable", -1, &rect,
                                 DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL));
}

TEST_F(GdiTextTest, DrawTextClipsToItsRectangleUnlessToldNot) {
    TextCanvas canvas(120, 30);
    SetBkMode(canvas.Dc(), TRANSPARENT);
    RECT rect{10, 5, 20, 25};
    DrawTextA(canvas.Dc(), "WWWWWWWW", -1, &rect, DT_LEFT);
    RECT inked = canvas.BoundsOf(kInk);
    EXPECT_GE(inked.left, 10);
    EXPECT_LE(inked.right, 20);
    canvas.Clear();
    DrawTextA(canvas.Dc(), "WWWWWWWW", -1, &rect, DT_LEFT | DT_NOCLIP);
    inked = canvas.BoundsOf(kInk);
    EXPECT_GT(inked.right, 20);
    EXPECT_EQ(0, DrawTextA(canvas.Dc(), "x", -1, nullptr, 0));
    EXPECT_EQ(0, DrawTextA(canvas.Dc(), nullptr, 4, &rect, 0));
}

TEST_F(GdiTextTest, TextFaceNamesTheSelectedFont) {
    TextCanvas canvas(4, 4);
    char name[LF_FACESIZE] = {};
    EXPECT_EQ(12, GetTextFaceA(canvas.Dc(), sizeof(name), name));
    EXPECT_STREQ("MS Shell Dlg", name);
    EXPECT_EQ(13, GetTextFaceA(canvas.Dc(), 0, nullptr));
    EXPECT_EQ(4, GetTextFaceA(canvas.Dc(), 5, name));
    EXPECT_STREQ("MS S", name);
    HDC fresh = CreateCompatibleDC(nullptr);
    GetTextFaceA(fresh, sizeof(name), name);
    EXPECT_STREQ("System", name);  // every DC starts with the system font
    DeleteDC(fresh);
}

}  // namespace
