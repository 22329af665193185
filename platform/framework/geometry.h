// CPoint, CSize and CRect: POINT, SIZE and RECT with the classic helpers. Right and bottom are
// exclusive, as everywhere in Win32.
#pragma once

#include <windows.h>

class CSize : public SIZE {
public:
    CSize() : SIZE{0, 0} {}
    CSize(int x, int y) : SIZE{x, y} {}
    CSize(SIZE size) : SIZE(size) {}  // NOLINT
    explicit CSize(POINT point) : SIZE{point.x, point.y} {}

    friend bool operator==(const SIZE& a, const CSize& b) { return a.cx == b.cx && a.cy == b.cy; }
    CSize& operator+=(SIZE size) {
        cx += size.cx;
        cy += size.cy;
        return *this;
    }
    CSize& operator-=(SIZE size) {
        cx -= size.cx;
        cy -= size.cy;
        return *this;
    }
    CSize operator+(SIZE size) const { return CSize(cx + size.cx, cy + size.cy); }
    CSize operator-(SIZE size) const { return CSize(cx - size.cx, cy - size.cy); }
    CSize operator-() const { return CSize(-cx, -cy); }
};

class CPoint : public POINT {
public:
    CPoint() : POINT{0, 0} {}
    CPoint(int x, int y) : POINT{x, y} {}
    CPoint(POINT point) : POINT(point) {}  // NOLINT
    explicit CPoint(SIZE size) : POINT{size.cx, size.cy} {}

    void Offset(int dx, int dy) {
        x += dx;
        y += dy;
    }
    void Offset(POINT point) { Offset(point.x, point.y); }
    void Offset(SIZE size) { Offset(size.cx, size.cy); }
    void SetPoint(int newX, int newY) {
        x = newX;
        y = newY;
    }

    friend bool operator==(const POINT& a, const CPoint& b) { return a.x == b.x && a.y == b.y; }
    CPoint& operator+=(SIZE size) {
        Offset(size);
        return *this;
    }
    CPoint& operator-=(SIZE size) {
        Offset(-size.cx, -size.cy);
        return *this;
    }
    CPoint& operator+=(POINT point) {
        Offset(point);
        return *this;
    }
    CPoint& operator-=(POINT point) {
        Offset(-point.x, -point.y);
        return *this;
    }
    CPoint operator+(SIZE size) const { return CPoint(x + size.cx, y + size.cy); }
    CPoint operator-(SIZE size) const { return CPoint(x - size.cx, y - size.cy); }
    CPoint operator+(POINT point) const { return CPoint(x + point.x, y + point.y); }
    // The difference of two points is the distance between them.
    CSize operator-(POINT point) const { return CSize(x - point.x, y - point.y); }
    CPoint operator-() const { return CPoint(-x, -y); }
};

class CRect : public RECT {
public:
    CRect() : RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& rect) : RECT(rect) {}                                    // NOLINT
    CRect(LPCRECT rect) : RECT(rect != nullptr ? *rect : RECT{0, 0, 0, 0}) {}  // NOLINT
    CRect(POINT topLeft, SIZE size)
        : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}
    CRect(POINT topLeft, POINT bottomRight)
        : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint TopLeft() const { return CPoint(left, top); }
    CPoint BottomRight() const { return CPoint(right, bottom); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

    operator LPRECT() { return this; }         // NOLINT
    operator LPCRECT() const { return this; }  // NOLINT

    // Empty: no area (width or height not positive). Null: all four values zero.
    BOOL IsRectEmpty() const { return right <= left || bottom <= top; }
    BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    BOOL PtInRect(POINT point) const {
        return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
    }

    void SetRect(int l, int t, int r, int b) {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void CopyRect(LPCRECT rect) {
        if (rect != nullptr) {
            *static_cast<RECT*>(this) = *rect;
        }
    }
    BOOL EqualRect(LPCRECT rect) const {
        return rect != nullptr && left == rect->left && top == rect->top && right == rect->right &&
               bottom == rect->bottom;
    }

    void InflateRect(int dx, int dy) { SetRect(left - dx, top - dy, right + dx, bottom + dy); }
    void InflateRect(SIZE size) { InflateRect(size.cx, size.cy); }
    void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
    void DeflateRect(SIZE size) { InflateRect(-size.cx, -size.cy); }
    void OffsetRect(int dx, int dy) { SetRect(left + dx, top + dy, right + dx, bottom + dy); }
    void OffsetRect(POINT point) { OffsetRect(point.x, point.y); }
    void OffsetRect(SIZE size) { OffsetRect(size.cx, size.cy); }
    void MoveToX(int x) { OffsetRect(x - left, 0); }
    void MoveToY(int y) { OffsetRect(0, y - top); }
    void MoveToXY(int x, int y) { OffsetRect(x - left, y - top); }
    void MoveToXY(POINT point) { MoveToXY(point.x, point.y); }
    void NormalizeRect();

    // As IntersectRect/UnionRect: an empty result is stored as (0, 0, 0, 0) and gives FALSE;
    // empty inputs do not take part in a union.
    BOOL IntersectRect(LPCRECT a, LPCRECT b);
    BOOL UnionRect(LPCRECT a, LPCRECT b);

    friend bool operator==(const RECT& a, const CRect& b) { return b.EqualRect(&a); }
    CRect& operator+=(POINT point) {
        OffsetRect(point);
        return *this;
    }
    CRect& operator-=(POINT point) {
        OffsetRect(-point.x, -point.y);
        return *this;
    }
    CRect operator+(POINT point) const {
        CRect result(*this);
        result.OffsetRect(point);
        return result;
    }
    CRect operator-(POINT point) const {
        CRect result(*this);
        result.OffsetRect(-point.x, -point.y);
        return result;
    }
    CRect& operator&=(const RECT& rect) {
        IntersectRect(this, &rect);
        return *this;
    }
    CRect& operator|=(const RECT& rect) {
        UnionRect(this, &rect);
        return *this;
    }
    CRect operator&(const RECT& rect) const {
        CRect result;
        result.IntersectRect(this, &rect);
        return result;
    }
    CRect operator|(const RECT& rect) const {
        CRect result;
        result.UnionRect(this, &rect);
        return result;
    }
};

inline void CRect::NormalizeRect() {
    if (left > right) {
        const LONG swap = left;
        left = right;
        right = swap;
    }
    if (top > bottom) {
        const LONG swap = top;
        top = bottom;
        bottom = swap;
    }
}

inline BOOL CRect::IntersectRect(LPCRECT a, LPCRECT b) {
    if (a == nullptr || b == nullptr) {
        SetRectEmpty();
        return FALSE;
    }
    const CRect result(a->left > b->left ? a->left : b->left, a->top > b->top ? a->top : b->top,
                       a->right < b->right ? a->right : b->right,
                       a->bottom < b->bottom ? a->bottom : b->bottom);
    if (result.IsRectEmpty()) {
        SetRectEmpty();
        return FALSE;
    }
    *this = result;
    return TRUE;
}

inline BOOL CRect::UnionRect(LPCRECT a, LPCRECT b) {
    const CRect first(a);
    const CRect second(b);
    if (first.IsRectEmpty() && second.IsRectEmpty()) {
        SetRectEmpty();
        return FALSE;
    }
    if (first.IsRectEmpty()) {
        *this = second;
        return TRUE;
    }
    if (second.IsRectEmpty()) {
        *this = first;
        return TRUE;
    }
    *this = CRect(first.left < second.left ? first.left : second.left,
                  first.top < second.top ? first.top : second.top,
                  first.right > second.right ? first.right : second.right,
                  first.bottom > second.bottom ? first.bottom : second.bottom);
    return TRUE;
}
