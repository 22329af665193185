// Device contexts and GDI objects through the framework: the select / draw / restore / delete
// sequence with the previous objects handed back, pixels drawn through CDC, objects that free
// what they own and wrappers that free nothing, and CPaintDC's paint cycle.
#include <gtest/gtest.h>

#include "framework_test.h"

namespace {

class GdiTest : public FrameworkTest {
protected:
    DWORD GdiObjects() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }
};

TEST_F(GdiTest, SelectHandsBackThePreviousObjectForRestoring) {
    const DWORD before = GdiObjects();
    {
        CClientDC screen(nullptr);
        CDC memory;
        ASSERT_TRUE(memory.CreateCompatibleDC(&screen));
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 8, 6));
        CBitmap* oldBitmap = memory.SelectObject(&bitmap);
        ASSERT_NE(nullptr, oldBitmap);
        EXPECT_NE(&bitmap, oldBitmap);

        CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
        CBrush brush(RGB(0, 0, 255));
        CPen* oldPen = memory.SelectObject(&pen);
        CBrush* oldBrush = memory.SelectObject(&brush);
        EXPECT_EQ(GetStockObject(BLACK_PEN), oldPen->m_hObject);
        EXPECT_EQ(GetStockObject(WHITE_BRUSH), oldBrush->m_hObject);
        memory.FillSolidRect(CRect(0, 0, 8, 6), RGB(1, 2, 3));
        EXPECT_EQ(RGB(1, 2, 3), memory.GetBkColor());  // left as the fill colour
        memory.Rectangle(1, 1, 6, 5);
        EXPECT_EQ(RGB(255, 0, 0), memory.GetPixel(1, 1));
        EXPECT_EQ(RGB(255, 0, 0), memory.GetPixel(5, 4));
        EXPECT_EQ(RGB(0, 0, 255), memory.GetPixel(3, 3));
        EXPECT_EQ(RGB(1, 2, 3), memory.GetPixel(6, 5));

        // Selecting ours back hands back our own objects, not wrappers.
        EXPECT_EQ(&pen, memory.SelectObject(oldPen));
        EXPECT_EQ(&brush, memory.SelectObject(oldBrush));
        EXPECT_TRUE(pen.DeleteObject());
        EXPECT_EQ(nullptr, pen.m_hObject);
        EXPECT_FALSE(pen.DeleteObject());
        memory.SelectObject(oldBitmap);

        // Wrappers of the stock objects own nothing.
        CGdiObject::DeleteTempMap();
        EXPECT_NE(nullptr, GetStockObject(BLACK_PEN));
    }
    // Every object and DC made above was freed by its owner.
    EXPECT_EQ(before, GdiObjects());
}

TEST_F(GdiTest, BlitsAndLinesDrawThroughTheWrappers) {
    CClientDC screen(nullptr);
    CDC source;
    CDC target;
    CBitmap sourceBits;
    CBitmap targetBits;
    ASSERT_TRUE(source.CreateCompatibleDC(&screen) && target.CreateCompatibleDC(&screen));
    ASSERT_TRUE(sourceBits.CreateCompatibleBitmap(&screen, 2, 2));
    ASSERT_TRUE(targetBits.CreateCompatibleBitmap(&screen, 8, 8));
    CBitmap* oldSource = source.SelectObject(&sourceBits);
    CBitmap* oldTarget = target.SelectObject(&targetBits);
    source.SetPixel(0, 0, RGB(10, 20, 30));
    source.SetPixel(1, 1, RGB(200, 100, 50));
    target.PatBlt(0, 0, 8, 8, WHITENESS);
    target.StretchBlt(0, 0, 8, 8, &source, 0, 0, 2, 2, SRCCOPY);
    EXPECT_EQ(RGB(10, 20, 30), target.GetPixel(3, 3));
    EXPECT_EQ(RGB(200, 100, 50), target.GetPixel(4, 4));
    target.BitBlt(6, 0, 2, 2, &source, 0, 0, SRCCOPY);
    EXPECT_EQ(RGB(10, 20, 30), target.GetPixel(6, 0));

    CPen pen(PS_SOLID, 1, RGB(0, 255, 0));
    CPen* oldPen = target.SelectObject(&pen);
    target.MoveTo(0, 7);
    EXPECT_EQ(CPoint(0, 7), target.MoveTo(0, 7));
    target.LineTo(5, 7);
    EXPECT_EQ(RGB(0, 255, 0), target.GetPixel(4, 7));
    EXPECT_NE(RGB(0, 255, 0), target.GetPixel(5, 7));  // the end point is not drawn
    target.SelectObject(oldPen);
    source.SelectObject(oldSource);
    target.SelectObject(oldTarget);
}

class CPaintingWnd : public CWnd {
public:
    int m_paints = 0;
    CRect m_painted;
    const MessageMap& GetMessageMap() const override {
        static const MessageMap map = MessageMap::Derived<CPaintingWnd>(CWnd::GetMessageMap())
                                          .On(WM_PAINT, &CPaintingWnd::OnPaint);
        return map;
    }

protected:
    void OnPaint() {
        CPaintDC dc(this);
        ++m_paints;
        m_painted = dc.m_ps.rcPaint;
        CRect client;
        GetClientRect(client);
        dc.FillSolidRect(client, RGB(0, 128, 255));
    }
};

TEST_F(GdiTest, PaintDcValidatesWhatItPainted) {
    HWND hwnd = Popup(50, 60, 120, 80, nullptr, WS_POPUP | WS_VISIBLE);
    CPaintingWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(hwnd));
    wnd.Invalidate();
    Pump();
    EXPECT_EQ(1, wnd.m_paints);
    EXPECT_EQ(CRect(0, 0, 120, 80), wnd.m_painted);
    EXPECT_EQ(0x000080FFu, ScreenPixel(60, 70));
    Pump();
    EXPECT_EQ(1, wnd.m_paints);
    wnd.InvalidateRect(CRect(10, 10, 20, 20), FALSE);
    wnd.UpdateWindow();
    EXPECT_EQ(2, wnd.m_paints);
    EXPECT_EQ(CRect(10, 10, 20, 20), wnd.m_painted);
}

}  // namespace
