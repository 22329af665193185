// Icons: made from ARGB pixels or from colour and mask bitmaps, read back, counted, destroyed
// once, and drawn by blending their alpha over the destination.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "platform/winapi/gdi/icon_image.h"
#include "support/headless_test.h"

namespace {

class GdiIconTest : public HeadlessTest {
protected:
    GdiIconTest()
        : m_dc(CreateCompatibleDC(nullptr)), m_bitmap(CreateBitmap(8, 8, 1, 32, nullptr)) {
        m_old = SelectObject(m_dc, m_bitmap);
        RECT all{0, 0, 8, 8};
        HBRUSH grey = CreateSolidBrush(RGB(100, 100, 100));
        FillRect(m_dc, &all, grey);
        DeleteObject(grey);
    }
    ~GdiIconTest() override {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    static DWORD Count() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }

    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

TEST_F(GdiIconTest, ArgbIconsRoundTripAndAreCountedUntilDestroyed) {
    const DWORD before = Count();
    const std::vector<std::uint32_t> argb{0xFF112233, 0x00000000, 0x80FFFFFF, 0xFF000000};
    HICON icon = winapi::gdi::CreateIconFromArgb(2, 2, argb);
    ASSERT_NE(nullptr, icon);
    EXPECT_EQ(before + 1, Count());
    const auto image = winapi::gdi::GetIconImage(icon);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(2, image->width);
    EXPECT_EQ(argb, image->argb);
    // Icons are not GDI objects to GetObjectType or DeleteObject.
    EXPECT_EQ(0u, GetObjectType(icon));
    EXPECT_FALSE(DeleteObject(icon));
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    EXPECT_FALSE(winapi::gdi::GetIconImage(icon).has_value());
    EXPECT_EQ(before, Count());
    EXPECT_EQ(nullptr, winapi::gdi::CreateIconFromArgb(3, 3, argb));  // too few pixels
    EXPECT_EQ(nullptr, winapi::gdi::CreateIconFromArgb(-2, 2, argb));
}

// Opaque pixels replace, transparent ones keep, partial ones blend (rounded to nearest).
TEST_F(GdiIconTest, DrawIconBlendsItsAlphaOverTheDestination) {
    const std::vector<std::uint32_t> argb{0xFFFF0000, 0x00FF0000, 0x80FFFFFF, 0x40000000};
    HICON icon = winapi::gdi::CreateIconFromArgb(4, 1, argb);
    ASSERT_TRUE(DrawIcon(m_dc, 2, 3, icon));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(m_dc, 2, 3));
    EXPECT_EQ(RGB(100, 100, 100), GetPixel(m_dc, 3, 3));
    EXPECT_EQ(RGB(178, 178, 178), GetPixel(m_dc, 4, 3));  // (255*128 + 100*127) / 255
    EXPECT_EQ(RGB(75, 75, 75), GetPixel(m_dc, 5, 3));     // 100*191 / 255
    EXPECT_EQ(RGB(100, 100, 100), GetPixel(m_dc, 1, 3));
    // Clipped at the bitmap's edge without harm.
    EXPECT_TRUE(DrawIcon(m_dc, 6, 7, icon));
    EXPECT_EQ(RGB(255, 0, 0), GetPixel(m_dc, 6, 7));
    DestroyIcon(icon);
    EXPECT_FALSE(DrawIcon(m_dc, 0, 0, icon));
    EXPECT_FALSE(DrawIcon(nullptr, 0, 0, icon));
}

// Without alpha in the colour bitmap the mask decides: white transparent, black opaque.
TEST_F(GdiIconTest, CreateIconIndirectUsesTheMaskWhenTheColoursHaveNoAlpha) {
    const DWORD colours[] = {0x000000FF, 0x0000FF00};
    HBITMAP colour = CreateBitmap(2, 1, 1, 32, colours);
    const BYTE maskBits[] = {0x40, 0x00};  // second pixel white
    HBITMAP mask = CreateBitmap(2, 1, 1, 1, maskBits);
    ICONINFO info{TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&info);
    ASSERT_NE(nullptr, icon);
    DrawIcon(m_dc, 0, 0, icon);
    EXPECT_EQ(RGB(0, 0, 255), GetPixel(m_dc, 0, 0));
    EXPECT_EQ(RGB(100, 100, 100), GetPixel(m_dc, 1, 0));
    DestroyIcon(icon);

    // With alpha present it is used and the mask ignored.
    const DWORD withAlpha[] = {0x00FF0000, 0xFF00FF00};
    HBITMAP alphaColour = CreateBitmap(2, 1, 1, 32, withAlpha);
    info.hbmColor = alphaColour;
    icon = CreateIconIndirect(&info);
    const auto image = winapi::gdi::GetIconImage(icon);
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ((std::vector<std::uint32_t>{0x00FF0000, 0xFF00FF00}), image->argb);
    DestroyIcon(icon);

    // The bitmaps stay the caller's.
    EXPECT_TRUE(DeleteObject(colour));
    EXPECT_TRUE(DeleteObject(alphaColour));
    EXPECT_TRUE(DeleteObject(mask));
    info.hbmMask = nullptr;
    EXPECT_EQ(nullptr, CreateIconIndirect(&info));
    EXPECT_EQ(nullptr, CreateIconIndirect(nullptr));
}

// GetIconInfo hands out two new bitmaps that the caller must delete.
TEST_F(GdiIconTest, GetIconInfoGivesNewColourAndMaskBitmaps) {
    const std::vector<std::uint32_t> argb{0xFF010203, 0x00000000};
    HICON icon = winapi::gdi::CreateIconFromArgb(2, 1, argb);
    const DWORD before = Count();
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    EXPECT_EQ(before + 2, Count());
    EXPECT_TRUE(info.fIcon);
    EXPECT_EQ(1u, info.xHotspot);
    BITMAP bitmap{};
    GetObjectA(info.hbmMask, sizeof(bitmap), &bitmap);
    EXPECT_EQ(1, bitmap.bmBitsPixel);
    GetObjectA(info.hbmColor, sizeof(bitmap), &bitmap);
    EXPECT_EQ(32, bitmap.bmBitsPixel);
    SelectObject(m_dc, info.hbmMask);
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(m_dc, 0, 0));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(m_dc, 1, 0));
    SelectObject(m_dc, info.hbmColor);
    EXPECT_EQ(RGB(1, 2, 3), GetPixel(m_dc, 0, 0));
    SelectObject(m_dc, m_bitmap);
    // Made back into an icon, the pair gives the same pixels.
    HICON copy = CreateIconIndirect(&info);
    EXPECT_EQ(argb, winapi::gdi::GetIconImage(copy)->argb);
    DestroyIcon(copy);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    EXPECT_EQ(before, Count());
    EXPECT_FALSE(GetIconInfo(icon, nullptr));
    DestroyIcon(icon);
    EXPECT_FALSE(GetIconInfo(icon, &info));
}

}  // namespace
