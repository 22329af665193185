// GDI objects: every object and DC counted so leaks show, stock objects shared and never
// deleted, selection rules, stale and foreign handles, what GetObject reports, saved DC
// states, system colours and the rectangle helpers.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "platform/winapi/gdi/icon_image.h"
#include "support/headless_test.h"

namespace {

class GdiObjectTest : public HeadlessTest {
protected:
    static DWORD Count() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }
};

TEST_F(GdiObjectTest, CreateSelectDeleteSequencesLeaveTheCountUnchanged) {
    const DWORD before = Count();
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, 10, 10);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(4, 5, 6));
    HFONT font =
        CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    EXPECT_EQ(before + 5, Count());
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldFont = SelectObject(dc, font);
    Rectangle(dc, 0, 0, 5, 5);
    EXPECT_EQ(before + 5, Count());
    SelectObject(dc, oldBitmap);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldFont);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_EQ(before, Count());
}

TEST_F(GdiObjectTest, ALeakedObjectShowsInTheCount) {
    const DWORD before = Count();
    HBRUSH leaked = CreateSolidBrush(RGB(0, 0, 0));
    EXPECT_EQ(before + 1, Count());
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(before + 2, Count());  // an unreleased DC is a leak too
    EXPECT_EQ(1, ReleaseDC(nullptr, screen));
    DeleteObject(leaked);
    EXPECT_EQ(before, Count());
}

// Stock objects are shared, not counted, and DeleteObject on them succeeds doing nothing.
TEST_F(GdiObjectTest, StockObjectsAreSharedAndNeverDeleted) {
    const DWORD before = Count();
    HGDIOBJ black = GetStockObject(BLACK_BRUSH);
    EXPECT_EQ(black, GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), GetObjectType(black));
    EXPECT_EQ(static_cast<DWORD>(OBJ_PEN), GetObjectType(GetStockObject(NULL_PEN)));
    EXPECT_EQ(static_cast<DWORD>(OBJ_FONT), GetObjectType(GetStockObject(DEFAULT_GUI_FONT)));
    EXPECT_TRUE(DeleteObject(black));
    EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), GetObjectType(black));
    EXPECT_EQ(before, Count());
    EXPECT_EQ(nullptr, GetStockObject(9));
    EXPECT_EQ(nullptr, GetStockObject(-1));
    EXPECT_EQ(nullptr, GetStockObject(1000));
}

// Win32 refuses to delete an object selected into a DC; it stays usable and counted.
TEST_F(GdiObjectTest, DeletingASelectedObjectFailsUntilItIsDeselected) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(9, 9, 9));
    HGDIOBJ old = SelectObject(dc, brush);
    EXPECT_EQ(GetStockObject(WHITE_BRUSH), old);
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), GetObjectType(brush));
    EXPECT_EQ(brush, GetCurrentObject(dc, OBJ_BRUSH));
    EXPECT_EQ(brush, SelectObject(dc, old));
    EXPECT_TRUE(DeleteObject(brush));
    DeleteDC(dc);
}

// Deleting a DC lets go of what it had selected, so those objects can be deleted.
TEST_F(GdiObjectTest, DeletingADcReleasesItsSelections) {
    const DWORD before = Count();
    HDC dc = CreateCompatibleDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    SelectObject(dc, pen);
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_EQ(before, Count());
}

TEST_F(GdiObjectTest, ABitmapIsSelectedIntoOneDcAtATime) {
    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(4, 4, 1, 32, nullptr);
    HGDIOBJ defaultBitmap = SelectObject(first, bitmap);
    ASSERT_NE(nullptr, defaultBitmap);
    EXPECT_EQ(nullptr, SelectObject(second, bitmap));
    EXPECT_EQ(bitmap, SelectObject(first, defaultBitmap));
    HGDIOBJ secondDefault = SelectObject(second, bitmap);
    EXPECT_EQ(defaultBitmap, secondDefault);  // one shared default bitmap
    SelectObject(second, secondDefault);
    // Only memory DCs take bitmaps.
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(nullptr, SelectObject(screen, bitmap));
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    DeleteDC(first);
    DeleteDC(second);
}

// A new memory DC holds a 1 x 1 monochrome bitmap, so a bitmap made compatible with it is
// monochrome too, while one made compatible with the screen is 32-bit.
TEST_F(GdiObjectTest, CompatibleBitmapsFollowTheDcsCurrentBitmap) {
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAP info{};
    ASSERT_EQ(static_cast<int>(sizeof(BITMAP)),
              GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof(info), &info));
    EXPECT_EQ(1, info.bmWidth);
    EXPECT_EQ(1, info.bmHeight);
    EXPECT_EQ(1, info.bmBitsPixel);

    HBITMAP mono = CreateCompatibleBitmap(dc, 20, 3);
    GetObjectA(mono, sizeof(info), &info);
    EXPECT_EQ(1, info.bmBitsPixel);
    EXPECT_EQ(4, info.bmWidthBytes);

    HDC screen = GetDC(nullptr);
    HBITMAP colour = CreateCompatibleBitmap(screen, 20, 3);
    ReleaseDC(nullptr, screen);
    GetObjectA(colour, sizeof(info), &info);
    EXPECT_EQ(32, info.bmBitsPixel);
    EXPECT_EQ(80, info.bmWidthBytes);
    EXPECT_EQ(20, info.bmWidth);
    EXPECT_EQ(1, info.bmPlanes);

    SelectObject(dc, colour);
    HBITMAP alsoColour = CreateCompatibleBitmap(dc, 2, 2);
    GetObjectA(alsoColour, sizeof(info), &info);
    EXPECT_EQ(32, info.bmBitsPixel);

    DeleteDC(dc);
    DeleteObject(mono);
    DeleteObject(colour);
    DeleteObject(alsoColour);
}

TEST_F(GdiObjectTest, BitmapSizesOutOfRangeFailOrGiveTheDefaultBitmap) {
    HDC dc = CreateCompatibleDC(nullptr);
    const DWORD before = Count();
    // Zero sizes give the shared 1 x 1 monochrome bitmap, which is not counted.
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), CreateCompatibleBitmap(dc, 0, 5));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), CreateBitmap(5, 0, 1, 32, nullptr));
    SetLastError(0);
    EXPECT_EQ(nullptr, CreateCompatibleBitmap(dc, -1, 5));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
    EXPECT_EQ(nullptr, CreateBitmap(100000, 100000, 1, 32, nullptr));
    EXPECT_EQ(static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY), GetLastError());
    EXPECT_EQ(nullptr, CreateBitmap(4, 4, 2, 32, nullptr));
    EXPECT_EQ(nullptr, CreateBitmap(4, 4, 1, 7, nullptr));
    EXPECT_EQ(nullptr, CreateCompatibleBitmap(nullptr, 4, 4));
    EXPECT_EQ(before, Count());
    DeleteDC(dc);
}

TEST_F(GdiObjectTest, CreateBitmapReadsItsBits) {
    const DWORD pixels[] = {0x00112233, 0x80445566};
    HBITMAP colour = CreateBitmap(2, 1, 1, 32, pixels);
    const BYTE monoBits[] = {0xA0, 0x00, 0x40, 0x00};  // rows padded to 16 bits
    HBITMAP mono = CreateBitmap(3, 2, 1, 1, monoBits);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, colour);
    EXPECT_EQ(RGB(0x11, 0x22, 0x33), GetPixel(dc, 0, 0));
    EXPECT_EQ(RGB(0x44, 0x55, 0x66), GetPixel(dc, 1, 0));
    SelectObject(dc, mono);
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 0, 0));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 1, 0));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 2, 0));
    EXPECT_EQ(RGB(255, 255, 255), GetPixel(dc, 1, 1));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(colour);
    DeleteObject(mono);
}

// A deleted object's handle is dead for good: no function accepts it, and new objects never
// get it back.
TEST_F(GdiObjectTest, StaleHandlesFailEverywhere) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(1, 1, 1));
    ASSERT_TRUE(DeleteObject(brush));
    EXPECT_FALSE(DeleteObject(brush));
    SetLastError(0);
    EXPECT_EQ(0u, GetObjectType(brush));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
    EXPECT_EQ(nullptr, SelectObject(dc, brush));
    RECT rect{0, 0, 1, 1};
    EXPECT_EQ(0, FillRect(dc, &rect, brush));
    LOGBRUSH logBrush{};
    EXPECT_EQ(0, GetObjectA(brush, sizeof(logBrush), &logBrush));
    std::set<HGDIOBJ> later;
    for (int i = 0; i < 3000; ++i) {
        HBRUSH again = CreateSolidBrush(RGB(2, 2, 2));
        later.insert(again);
        DeleteObject(again);
    }
    EXPECT_EQ(0u, later.count(brush));
    ASSERT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_EQ(CLR_INVALID, GetPixel(dc, 0, 0));
}

TEST_F(GdiObjectTest, ForeignAndNullHandlesFailWithoutHarm) {
    HDC dc = CreateCompatibleDC(nullptr);
    const auto garbage = reinterpret_cast<HDC>(static_cast<UINT_PTR>(0xDEADBEEF));
    SetLastError(0);
    EXPECT_EQ(nullptr, SelectObject(garbage, GetStockObject(BLACK_PEN)));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
    EXPECT_EQ(nullptr, SelectObject(dc, nullptr));
    EXPECT_EQ(nullptr, SelectObject(dc, dc));  // a DC is not selectable
    EXPECT_FALSE(DeleteDC(nullptr));
    EXPECT_FALSE(DeleteObject(nullptr));
    EXPECT_FALSE(Rectangle(garbage, 0, 0, 1, 1));
    EXPECT_FALSE(LineTo(garbage, 1, 1));
    EXPECT_FALSE(TextOutA(garbage, 0, 0, "x", 1));
    EXPECT_EQ(CLR_INVALID, SetBkColor(garbage, 0));
    EXPECT_EQ(0, SetBkMode(garbage, OPAQUE));
    EXPECT_EQ(GDI_ERROR, SetTextAlign(garbage, TA_LEFT));
    EXPECT_EQ(0, SaveDC(garbage));
    EXPECT_EQ(nullptr, CreateCompatibleDC(garbage));
    EXPECT_EQ(0, FillRect(dc, nullptr, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
    EXPECT_EQ(0, ReleaseDC(nullptr, dc));  // a memory DC is deleted, not released
    EXPECT_EQ(0, GetObjectA(dc, 0, nullptr));
    EXPECT_EQ(nullptr, CreateBrushIndirect(nullptr));
    EXPECT_EQ(nullptr, CreatePenIndirect(nullptr));
    EXPECT_EQ(nullptr, CreateFontIndirectA(nullptr));
    EXPECT_EQ(nullptr, CreatePen(99, 1, 0));
    EXPECT_EQ(nullptr, CreatePen(PS_ALTERNATE + 1, 1, 0));
    EXPECT_EQ(0, SetBkMode(dc, 7));
    EXPECT_EQ(0, SetStretchBltMode(dc, 9));
    DeleteDC(dc);
}

TEST_F(GdiObjectTest, GetObjectReportsWhatTheObjectWasMadeFrom) {
    HPEN pen = CreatePen(PS_SOLID, 3, RGB(1, 2, 3));
    LOGPEN logPen{};
    EXPECT_EQ(static_cast<int>(sizeof(LOGPEN)), GetObjectA(pen, 0, nullptr));
    EXPECT_EQ(0, GetObjectA(pen, sizeof(LOGPEN) - 1, &logPen));
    ASSERT_EQ(static_cast<int>(sizeof(LOGPEN)), GetObjectA(pen, sizeof(LOGPEN), &logPen));
    EXPECT_EQ(static_cast<UINT>(PS_SOLID), logPen.lopnStyle);
    EXPECT_EQ(3, logPen.lopnWidth.x);
    EXPECT_EQ(RGB(1, 2, 3), logPen.lopnColor);

    LOGBRUSH logBrush{};
    HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
    ASSERT_EQ(static_cast<int>(sizeof(LOGBRUSH)), GetObjectA(brush, sizeof(logBrush), &logBrush));
    EXPECT_EQ(static_cast<UINT>(BS_SOLID), logBrush.lbStyle);
    EXPECT_EQ(RGB(4, 5, 6), logBrush.lbColor);
    GetObjectA(GetStockObject(NULL_BRUSH), sizeof(logBrush), &logBrush);
    EXPECT_EQ(static_cast<UINT>(BS_NULL), logBrush.lbStyle);

    LOGFONTA wanted{};
    wanted.lfHeight = -13;
    wanted.lfWeight = FW_BOLD;
    wanted.lfItalic = 1;
    std::strcpy(wanted.lfFaceName, "MS Shell Dlg");
    HFONT font = CreateFontIndirectA(&wanted);
    LOGFONTA got{};
    ASSERT_EQ(static_cast<int>(sizeof(LOGFONTA)), GetObjectA(font, sizeof(got), &got));
    EXPECT_EQ(0, std::memcmp(&wanted, &got, sizeof(got)));

    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(got), &got);
    EXPECT_STREQ("MS Shell Dlg", got.lfFaceName);
    EXPECT_EQ(-11, got.lfHeight);
    GetObjectA(GetStockObject(SYSTEM_FONT), sizeof(got), &got);
    EXPECT_STREQ("System", got.lfFaceName);
    EXPECT_EQ(16, got.lfHeight);

    DeleteObject(pen);
    DeleteObject(brush);
    DeleteObject(font);
}

TEST_F(GdiObjectTest, ObjectTypesAndCurrentObjectsOfNewDcs) {
    HDC memory = CreateCompatibleDC(nullptr);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(static_cast<DWORD>(OBJ_MEMDC), GetObjectType(memory));
    EXPECT_EQ(static_cast<DWORD>(OBJ_DC), GetObjectType(screen));
    for (HDC dc : {memory, screen}) {
        EXPECT_EQ(GetStockObject(BLACK_PEN), GetCurrentObject(dc, OBJ_PEN));
        EXPECT_EQ(GetStockObject(WHITE_BRUSH), GetCurrentObject(dc, OBJ_BRUSH));
        EXPECT_EQ(GetStockObject(SYSTEM_FONT), GetCurrentObject(dc, OBJ_FONT));
        EXPECT_EQ(RGB(255, 255, 255), GetBkColor(dc));
        EXPECT_EQ(RGB(0, 0, 0), GetTextColor(dc));
        EXPECT_EQ(OPAQUE, GetBkMode(dc));
        EXPECT_EQ(BLACKONWHITE, GetStretchBltMode(dc));
        EXPECT_EQ(static_cast<UINT>(TA_TOP | TA_LEFT), GetTextAlign(dc));
    }
    EXPECT_EQ(32, GetDeviceCaps(screen, BITSPIXEL));
    EXPECT_EQ(96, GetDeviceCaps(memory, LOGPIXELSY));
    EXPECT_EQ(display::HeadlessBackend::kDefaultWidth, GetDeviceCaps(screen, HORZRES));
    ReleaseDC(nullptr, screen);
    DeleteDC(memory);
}

TEST_F(GdiObjectTest, SavedStatesKeepTheirObjectsAndAttributes) {
    const DWORD before = Count();
    HDC dc = CreateCompatibleDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 1, 1));
    SelectObject(dc, pen);
    SetBkColor(dc, RGB(7, 7, 7));
    const int level = SaveDC(dc);
    EXPECT_EQ(1, level);
    SelectObject(dc, GetStockObject(WHITE_PEN));
    SetBkColor(dc, RGB(8, 8, 8));
    EXPECT_FALSE(DeleteObject(pen));  // the saved state still holds it
    EXPECT_EQ(2, SaveDC(dc));
    ASSERT_TRUE(RestoreDC(dc, -2));
    EXPECT_EQ(pen, GetCurrentObject(dc, OBJ_PEN));
    EXPECT_EQ(RGB(7, 7, 7), GetBkColor(dc));
    EXPECT_FALSE(RestoreDC(dc, 1));
    SelectObject(dc, GetStockObject(BLACK_PEN));
    EXPECT_TRUE(DeleteObject(pen));
    DeleteDC(dc);
    EXPECT_EQ(before, Count());
}

TEST_F(GdiObjectTest, SystemColoursAreTheClassicScheme) {
    EXPECT_EQ(RGB(192, 192, 192), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(RGB(255, 255, 255), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(RGB(0, 0, 128), GetSysColor(COLOR_ACTIVECAPTION));
    EXPECT_EQ(RGB(128, 128, 128), GetSysColor(COLOR_INACTIVECAPTION));
    EXPECT_EQ(RGB(255, 255, 255), GetSysColor(COLOR_CAPTIONTEXT));
    EXPECT_EQ(RGB(192, 192, 192), GetSysColor(COLOR_INACTIVECAPTIONTEXT));
    EXPECT_EQ(RGB(0, 0, 128), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(RGB(255, 255, 255), GetSysColor(COLOR_HIGHLIGHTTEXT));
    EXPECT_EQ(RGB(128, 128, 128), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(RGB(255, 255, 255), GetSysColor(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(RGB(0, 0, 0), GetSysColor(COLOR_3DDKSHADOW));
    EXPECT_EQ(RGB(192, 192, 192), GetSysColor(COLOR_3DLIGHT));
    EXPECT_EQ(RGB(128, 128, 128), GetSysColor(COLOR_GRAYTEXT));
    EXPECT_EQ(RGB(0, 0, 0), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(RGB(0, 0, 0), GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(RGB(0, 128, 128), GetSysColor(COLOR_BACKGROUND));
    EXPECT_EQ(0u, GetSysColor(-1));
    EXPECT_EQ(0u, GetSysColor(400));
}

// System colour brushes belong to the system: shared, uncounted, deleting them does nothing.
TEST_F(GdiObjectTest, SystemColourBrushesAreSharedAndUncounted) {
    const DWORD before = Count();
    HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
    EXPECT_EQ(face, GetSysColorBrush(COLOR_BTNFACE));
    EXPECT_NE(face, GetSysColorBrush(COLOR_WINDOW));
    LOGBRUSH logBrush{};
    GetObjectA(face, sizeof(logBrush), &logBrush);
    EXPECT_EQ(RGB(192, 192, 192), logBrush.lbColor);
    EXPECT_TRUE(DeleteObject(face));
    EXPECT_EQ(static_cast<DWORD>(OBJ_BRUSH), GetObjectType(face));
    EXPECT_EQ(nullptr, GetSysColorBrush(99));
    EXPECT_EQ(before, Count());
}

// GDI objects (DCs among them) and USER objects (windows, menus, icons, the caret) are counted
// apart; an icon counts in both, being a USER object that holds GDI bitmaps.
TEST_F(GdiObjectTest, GuiResourcesCountGdiAndUserObjectsApart) {
    const auto gdi = [] { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); };
    const auto user = [] { return GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS); };
    const DWORD gdiBefore = gdi();
    const DWORD userBefore = user();
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                  nullptr, nullptr);
    HMENU menu = CreatePopupMenu();
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_TRUE(CreateCaret(window, nullptr, 1, 10));
    EXPECT_EQ(gdiBefore + 1, gdi());
    EXPECT_EQ(userBefore + 3, user());
    const std::uint32_t argb[] = {0xFF000000};
    HICON icon = winapi::gdi::CreateIconFromArgb(1, 1, argb);
    EXPECT_EQ(gdiBefore + 2, gdi());
    EXPECT_EQ(userBefore + 4, user());
    DestroyIcon(icon);
    DeleteDC(dc);
    DestroyMenu(menu);
    DestroyWindow(window);  // the caret goes with its window
    EXPECT_EQ(gdiBefore, gdi());
    EXPECT_EQ(userBefore, user());
    SetLastError(0);
    EXPECT_EQ(0u, GetGuiResources(GetCurrentProcess(), 7));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
}

TEST_F(GdiObjectTest, RectangleHelpersFollowWin32OnEmptyAndNull) {
    auto is = [](const RECT& r, RECT expected) { return EqualRect(&r, &expected) != FALSE; };
    RECT a{};
    RECT b{};
    RECT out{};
    EXPECT_TRUE(SetRect(&a, 0, 0, 10, 10));
    EXPECT_TRUE(SetRect(&b, 5, 5, 15, 20));
    EXPECT_TRUE(IntersectRect(&out, &a, &b));
    EXPECT_TRUE(is(out, RECT{5, 5, 10, 10}));
    EXPECT_TRUE(UnionRect(&out, &a, &b));
    EXPECT_TRUE(is(out, RECT{0, 0, 15, 20}));
    SetRect(&b, 10, 0, 20, 10);  // touching is not overlapping
    EXPECT_FALSE(IntersectRect(&out, &a, &b));
    EXPECT_TRUE(IsRectEmpty(&out));
    RECT empty{3, 3, 3, 9};
    EXPECT_TRUE(UnionRect(&out, &empty, &a));  // an empty rectangle takes no part
    EXPECT_TRUE(EqualRect(&out, &a));
    EXPECT_FALSE(UnionRect(&out, &empty, &empty));
    EXPECT_TRUE(IsRectEmpty(&empty));
    EXPECT_TRUE(IsRectEmpty(nullptr));
    EXPECT_TRUE(InflateRect(&a, 2, -1));
    EXPECT_TRUE(is(a, RECT{-2, 1, 12, 9}));
    EXPECT_TRUE(OffsetRect(&a, 2, -1));
    EXPECT_TRUE(is(a, RECT{0, 0, 14, 8}));
    EXPECT_TRUE(PtInRect(&a, POINT{0, 0}));
    EXPECT_FALSE(PtInRect(&a, POINT{14, 0}));
    EXPECT_FALSE(PtInRect(&a, POINT{0, 8}));
    EXPECT_TRUE(CopyRect(&b, &a));
    EXPECT_TRUE(EqualRect(&a, &b));
    EXPECT_TRUE(SetRectEmpty(&b));
    EXPECT_TRUE(IsRectEmpty(&b));
    EXPECT_FALSE(SetRect(nullptr, 0, 0, 1, 1));
    EXPECT_FALSE(CopyRect(nullptr, &a));
    EXPECT_FALSE(InflateRect(nullptr, 1, 1));
    EXPECT_FALSE(OffsetRect(nullptr, 1, 1));
    EXPECT_FALSE(IntersectRect(&out, nullptr, &a));
    EXPECT_FALSE(UnionRect(nullptr, &a, &a));
    EXPECT_FALSE(EqualRect(nullptr, &a));
    EXPECT_FALSE(PtInRect(nullptr, POINT{0, 0}));
}

}  // namespace
