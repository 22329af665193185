// Block transfers between memory DCs: BitBlt and its raster operations, StretchBlt's exact
// enlargement, shrinking by the stretch mode, mirroring, PatBlt, and conversions to and from
// monochrome bitmaps.
#include <windows.h>

#include <vector>

#include "support/headless_test.h"

namespace {

// A memory DC holding a 32-bit bitmap of its own, released at the end of the test.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255), int bits = 32)
        : m_dc(CreateCompatibleDC(nullptr)),
          m_bitmap(CreateBitmap(width, height, 1, bits, nullptr)) {
        m_old = SelectObject(m_dc, m_bitmap);
        Fill(0, 0, width, height, fill);
    }
    ~Canvas() {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return m_dc; }
    void Fill(int left, int top, int right, int bottom, COLORREF colour) {
        RECT rect{left, top, right, bottom};
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(m_dc, &rect, brush);
        DeleteObject(brush);
    }
    COLORREF At(int x, int y) const { return GetPixel(m_dc, x, y); }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

class GdiBlitTest : public HeadlessTest {};

// Every source pixel distinct, so a misplaced pixel cannot go unseen.
COLORREF Distinct(int x, int y) {
    return RGB(x * 11 + 3, y * 7 + 5, (x + y) & 0xFF);
}

void PaintDistinct(Canvas& canvas, int width, int height) {
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetPixel(canvas.Dc(), x, y, Distinct(x, y));
}

TEST_F(GdiBlitTest, BitBltCopiesTheSourceRectangleToTheDestination) {
    Canvas source(8, 8);
    PaintDistinct(source, 8, 8);
    Canvas dest(10, 10, RGB(9, 9, 9));
    ASSERT_TRUE(BitBlt(dest.Dc(), 4, 5, 3, 2, source.Dc(), 1, 2, SRCCOPY));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 4 && x < 7 && y >= 5 && y < 7;
            EXPECT_EQ(inside ? Distinct(x - 3, y - 3) : RGB(9, 9, 9), dest.At(x, y))
                << x << "," << y;
        }
}

// Off the source bitmap there is nothing to copy: the destination keeps its pixels there.
TEST_F(GdiBlitTest, SourcePixelsOffTheBitmapLeaveTheDestinationAlone) {
    Canvas source(4, 4, RGB(0, 0, 0));
    Canvas dest(6, 6);
    ASSERT_TRUE(BitBlt(dest.Dc(), 0, 0, 6, 6, source.Dc(), -1, 2, SRCCOPY));
    EXPECT_EQ(RGB(255, 255, 255), dest.At(0, 0));  // source x -1
    EXPECT_EQ(RGB(0, 0, 0), dest.At(1, 0));
    EXPECT_EQ(RGB(0, 0, 0), dest.At(4, 1));
    EXPECT_EQ(RGB(255, 255, 255), dest.At(5, 1));  // source x 4
    EXPECT_EQ(RGB(255, 255, 255), dest.At(1, 2));  // source y 4
}

TEST_F(GdiBlitTest, RasterOperationsCombineSourceDestinationAndPattern) {
    struct Case {
        DWORD rop;
        COLORREF expected;
    };
    // destination 0x0F0F0F-ish pattern of bits, source another; brush 0x3C3C3C.
    const COLORREF dst = RGB(0x0F, 0xF0, 0x55);
    const COLORREF src = RGB(0x33, 0x33, 0xFF);
    const COLORREF pat = RGB(0x3C, 0x3C, 0x3C);
    const Case cases[] = {
        {SRCCOPY, src},
        {SRCPAINT, RGB(0x3F, 0xF3, 0xFF)},
        {SRCAND, RGB(0x03, 0x30, 0x55)},
        {SRCINVERT, RGB(0x3C, 0xC3, 0xAA)},
        {NOTSRCCOPY, RGB(0xCC, 0xCC, 0x00)},
        {SRCERASE, RGB(0x30, 0x03, 0xAA)},
        {NOTSRCERASE, RGB(0xC0, 0x0C, 0x00)},
        {MERGECOPY, RGB(0x30, 0x30, 0x3C)},
        {MERGEPAINT, RGB(0xCF, 0xFC, 0x55)},
        {PATCOPY, pat},
        {PATINVERT, RGB(0x33, 0xCC, 0x69)},
        {DSTINVERT, RGB(0xF0, 0x0F, 0xAA)},
        {BLACKNESS, RGB(0, 0, 0)},
        {WHITENESS, RGB(255, 255, 255)},
        {0x00E20746,
         RGB(0x0F, 0xF0, 0x55) ^ ((RGB(0x0F, 0xF0, 0x55) ^ RGB(0x3C, 0x3C, 0x3C)) & src)},
    };
    Canvas source(1, 1, src);
    for (const Case& c : cases) {
        Canvas dest(1, 1, dst);
        HBRUSH brush = CreateSolidBrush(pat);
        HGDIOBJ old = SelectObject(dest.Dc(), brush);
        ASSERT_TRUE(BitBlt(dest.Dc(), 0, 0, 1, 1, source.Dc(), 0, 0, c.rop)) << std::hex << c.rop;
        EXPECT_EQ(c.expected, dest.At(0, 0)) << std::hex << c.rop;
        SelectObject(dest.Dc(), old);
        DeleteObject(brush);
    }
}

TEST_F(GdiBlitTest, PatBltFillsWithTheBrushAndRefusesSourceOperations) {
    Canvas dest(4, 2, RGB(0x10, 0x20, 0x30));
    HBRUSH brush = CreateSolidBrush(RGB(0xF0, 0x0F, 0xFF));
    HGDIOBJ old = SelectObject(dest.Dc(), brush);
    ASSERT_TRUE(PatBlt(dest.Dc(), 0, 0, 1, 1, PATCOPY));
    ASSERT_TRUE(PatBlt(dest.Dc(), 1, 0, 1, 1, PATINVERT));
    ASSERT_TRUE(PatBlt(dest.Dc(), 2, 0, 1, 1, DSTINVERT));
    ASSERT_TRUE(PatBlt(dest.Dc(), 3, 0, 1, 1, BLACKNESS));
    ASSERT_TRUE(PatBlt(dest.Dc(), 3, 1, 1, 1, WHITENESS));
    EXPECT_EQ(RGB(0xF0, 0x0F, 0xFF), dest.At(0, 0));
    EXPECT_EQ(RGB(0xE0, 0x2F, 0xCF), dest.At(1, 0));
    EXPECT_EQ(RGB(0xEF, 0xDF, 0xCF), dest.At(2, 0));
    EXPECT_EQ(RGB(0, 0, 0), dest.At(3, 0));
    EXPECT_EQ(RGB(255, 255, 255), dest.At(3, 1));
    EXPECT_FALSE(PatBlt(dest.Dc(), 0, 0, 1, 1, SRCCOPY));
    // A negative width covers [x + w + 1, x + 1), as Win32 normalises it.
    ASSERT_TRUE(PatBlt(dest.Dc(), 2, 1, -2, 1, BLACKNESS));
    EXPECT_EQ(RGB(0x10, 0x20, 0x30), dest.At(0, 1));
    EXPECT_EQ(RGB(0, 0, 0), dest.At(1, 1));
    EXPECT_EQ(RGB(0, 0, 0), dest.At(2, 1));
    // A hollow brush paints nothing.
    SelectObject(dest.Dc(), GetStockObject(NULL_BRUSH));
    EXPECT_TRUE(PatBlt(dest.Dc(), 0, 0, 1, 1, PATCOPY));
    EXPECT_EQ(RGB(0xF0, 0x0F, 0xFF), dest.At(0, 0));
    SelectObject(dest.Dc(), old);
    DeleteObject(brush);
}

// The magnifier's enlargement: 21 x 21 to 210 x 210 with the default stretch mode makes every
// source pixel an exact 10 x 10 block.
TEST_F(GdiBlitTest, StretchBltByTenMakesExactBlocks) {
    Canvas source(21, 21);
    PaintDistinct(source, 21, 21);
    Canvas dest(212, 212, RGB(1, 1, 1));
    EXPECT_EQ(BLACKONWHITE, GetStretchBltMode(dest.Dc()));
    ASSERT_TRUE(StretchBlt(dest.Dc(), 1, 1, 210, 210, source.Dc(), 0, 0, 21, 21, SRCCOPY));
    int wrong = 0;
    for (int y = 0; y < 212; ++y)
        for (int x = 0; x < 212; ++x) {
            const bool inside = x >= 1 && x < 211 && y >= 1 && y < 211;
            const COLORREF expected = inside ? Distinct((x - 1) / 10, (y - 1) / 10) : RGB(1, 1, 1);
            if (dest.At(x, y) != expected)
                ++wrong;
        }
    EXPECT_EQ(0, wrong);
}

// Shrinking with BLACKONWHITE ANDs the pixels that merge, so black lines survive; with
// COLORONCOLOR one of them is kept; HALFTONE averages.
TEST_F(GdiBlitTest, ShrinkingCombinesPixelsByTheStretchMode) {
    Canvas source(4, 1);
    SetPixel(source.Dc(), 1, 0, RGB(0, 0, 0));
    SetPixel(source.Dc(), 2, 0, RGB(255, 0, 0));
    SetPixel(source.Dc(), 3, 0, RGB(0, 255, 0));
    Canvas dest(2, 1, RGB(7, 7, 7));
    ASSERT_TRUE(StretchBlt(dest.Dc(), 0, 0, 2, 1, source.Dc(), 0, 0, 4, 1, SRCCOPY));
    EXPECT_EQ(RGB(0, 0, 0), dest.At(0, 0));
    EXPECT_EQ(RGB(0, 0, 0), dest.At(1, 0));  // red AND green

    EXPECT_EQ(BLACKONWHITE, SetStretchBltMode(dest.Dc(), COLORONCOLOR));
    ASSERT_TRUE(StretchBlt(dest.Dc(), 0, 0, 2, 1, source.Dc(), 0, 0, 4, 1, SRCCOPY));
    EXPECT_EQ(RGB(255, 255, 255), dest.At(0, 0));
    EXPECT_EQ(RGB(255, 0, 0), dest.At(1, 0));

    SetStretchBltMode(dest.Dc(), WHITEONBLACK);
    ASSERT_TRUE(StretchBlt(dest.Dc(), 0, 0, 2, 1, source.Dc(), 0, 0, 4, 1, SRCCOPY));
    EXPECT_EQ(RGB(255, 255, 255), dest.At(0, 0));
    EXPECT_EQ(RGB(255, 255, 0), dest.At(1, 0));

    SetStretchBltMode(dest.Dc(), HALFTONE);
    ASSERT_TRUE(StretchBlt(dest.Dc(), 0, 0, 2, 1, source.Dc(), 0, 0, 4, 1, SRCCOPY));
    EXPECT_EQ(RGB(128, 128, 128), dest.At(0, 0));
    EXPECT_EQ(RGB(128, 128, 0), dest.At(1, 0));
    EXPECT_EQ(0, SetStretchBltMode(dest.Dc(), 0));
}

// Opposite signs of the widths (or heights) mirror; a negative extent covers
// [x + w + 1, x + 1).
TEST_F(GdiBlitTest, NegativeExtentsMirror) {
    Canvas source(4, 2);
    PaintDistinct(source, 4, 2);
    Canvas dest(6, 2, RGB(1, 1, 1));
    ASSERT_TRUE(StretchBlt(dest.Dc(), 4, 0, -4, 1, source.Dc(), 0, 0, 4, 1, SRCCOPY));
    EXPECT_EQ(RGB(1, 1, 1), dest.At(0, 0));
    for (int x = 1; x <= 4; ++x)
        EXPECT_EQ(Distinct(4 - x, 0), dest.At(x, 0)) << x;
    EXPECT_EQ(RGB(1, 1, 1), dest.At(5, 0));

    ASSERT_TRUE(StretchBlt(dest.Dc(), 0, 0, 4, 2, source.Dc(), 3, 1, -4, -2, SRCCOPY));
    EXPECT_EQ(Distinct(3, 1), dest.At(0, 0));
    EXPECT_EQ(Distinct(0, 1), dest.At(3, 0));
    EXPECT_EQ(Distinct(3, 0), dest.At(0, 1));
    // Same signs on both sides: no mirror.
    ASSERT_TRUE(StretchBlt(dest.Dc(), 3, 1, -4, -2, source.Dc(), 3, 1, -4, -2, SRCCOPY));
    EXPECT_EQ(Distinct(0, 0), dest.At(0, 0));
    EXPECT_EQ(Distinct(3, 1), dest.At(3, 1));
}

// Colour to monochrome: the source's background colour becomes white, everything else black.
// Monochrome to colour: black becomes the destination's text colour, white its background.
TEST_F(GdiBlitTest, MonochromeConversionsUseTheDcColours) {
    Canvas colour(3, 1, RGB(10, 20, 30));
    SetPixel(colour.Dc(), 1, 0, RGB(200, 200, 200));
    SetBkColor(colour.Dc(), RGB(10, 20, 30));
    Canvas mono(3, 1, RGB(0, 0, 0), 1);
    ASSERT_TRUE(BitBlt(mono.Dc(), 0, 0, 3, 1, colour.Dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(RGB(255, 255, 255), mono.At(0, 0));
    EXPECT_EQ(RGB(0, 0, 0), mono.At(1, 0));

    Canvas back(3, 1);
    SetTextColor(back.Dc(), RGB(1, 2, 3));
    SetBkColor(back.Dc(), RGB(4, 5, 6));
    ASSERT_TRUE(BitBlt(back.Dc(), 0, 0, 3, 1, mono.Dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(RGB(4, 5, 6), back.At(0, 0));
    EXPECT_EQ(RGB(1, 2, 3), back.At(1, 0));
}

// Drawing on a monochrome bitmap leaves only black and white: the nearer of the two.
TEST_F(GdiBlitTest, MonochromeBitmapsHoldOnlyBlackAndWhite) {
    Canvas mono(4, 1, RGB(0, 0, 0), 1);
    EXPECT_EQ(RGB(255, 255, 255), SetPixel(mono.Dc(), 0, 0, RGB(200, 100, 100)));
    EXPECT_EQ(RGB(0, 0, 0), SetPixel(mono.Dc(), 1, 0, RGB(100, 100, 100)));
    mono.Fill(2, 0, 4, 1, RGB(128, 128, 128));
    EXPECT_EQ(RGB(255, 255, 255), mono.At(3, 0));
}

TEST_F(GdiBlitTest, BlitsWithBadHandlesFailSafely) {
    Canvas dest(2, 2);
    EXPECT_FALSE(BitBlt(dest.Dc(), 0, 0, 2, 2, nullptr, 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(dest.Dc(), 0, 0, 2, 2, reinterpret_cast<HDC>(0x12345678), 0, 0, SRCCOPY));
    EXPECT_FALSE(StretchBlt(nullptr, 0, 0, 2, 2, dest.Dc(), 0, 0, 1, 1, SRCCOPY));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
    // A source-free operation needs no source DC.
    EXPECT_TRUE(BitBlt(dest.Dc(), 0, 0, 1, 1, nullptr, 0, 0, BLACKNESS));
    EXPECT_EQ(RGB(0, 0, 0), dest.At(0, 0));
    // Enormous extents are clipped to the bitmaps, not walked.
    EXPECT_TRUE(StretchBlt(dest.Dc(), -1000000, -1000000, 2000000, 2000000, dest.Dc(), 0, 0,
                           2000000, 2000000, SRCCOPY));
}

}  // namespace
