#include "platform/framework/dc.h"

#include "platform/framework/handle_map.h"
#include "platform/framework/wnd.h"

namespace {

using DcMap = HandleMap<HDC, CDC, &CDC::m_hDC>;

DcMap& DeviceContexts() {
    static DcMap* const map = new DcMap;
    return *map;
}

HDC HandleOf(const CDC* dc) {
    return dc != nullptr ? dc->m_hDC : nullptr;
}

HBRUSH HandleOf(const CBrush* brush) {
    return brush != nullptr ? static_cast<HBRUSH>(brush->m_hObject) : nullptr;
}

HWND HandleOf(const CWnd* wnd) {
    return wnd != nullptr ? wnd->m_hWnd : nullptr;
}

// A window whose class owns its DC hands out the same HDC every time; a second CClientDC on it
// still draws and releases, it is only not what FromHandle returns.
void AttachOpened(CDC& dc, HDC hdc) {
    if (!dc.Attach(hdc)) {
        dc.m_hDC = hdc;
    }
}

}  // namespace

CDC::~CDC() {
    DeleteDC();
}

CDC* CDC::FromHandle(HDC hDC) {
    return DeviceContexts().FromHandle<CDC>(hDC);
}

void CDC::DeleteTempMap() {
    DeviceContexts().DeleteTemporaries();
}

BOOL CDC::Attach(HDC hDC) {
    return DeviceContexts().Attach(this, hDC) ? TRUE : FALSE;
}

HDC CDC::Detach() {
    return DeviceContexts().Detach(this);
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
    if (m_hDC != nullptr) {
        return FALSE;
    }
    const HDC created = ::CreateCompatibleDC(HandleOf(pDC));
    if (!Attach(created)) {
        if (created != nullptr) {
            ::DeleteDC(created);
        }
        return FALSE;
    }
    return TRUE;
}

BOOL CDC::DeleteDC() {
    if (m_hDC == nullptr) {
        return FALSE;
    }
    if (!DeviceContexts().IsPermanent(this)) {
        m_hDC = nullptr;
        return FALSE;
    }
    return ::DeleteDC(Detach());
}

int CDC::SaveDC() {
    return ::SaveDC(m_hDC);
}

BOOL CDC::RestoreDC(int nSavedDC) {
    return ::RestoreDC(m_hDC, nSavedDC);
}

CPen* CDC::SelectObject(CPen* pPen) {
    if (pPen == nullptr) {
        return nullptr;
    }
    return CPen::FromHandle(static_cast<HPEN>(::SelectObject(m_hDC, pPen->m_hObject)));
}

CBrush* CDC::SelectObject(CBrush* pBrush) {
    if (pBrush == nullptr) {
        return nullptr;
    }
    return CBrush::FromHandle(static_cast<HBRUSH>(::SelectObject(m_hDC, pBrush->m_hObject)));
}

CFont* CDC::SelectObject(CFont* pFont) {
    if (pFont == nullptr) {
        return nullptr;
    }
    return CFont::FromHandle(static_cast<HFONT>(::SelectObject(m_hDC, pFont->m_hObject)));
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap) {
    if (pBitmap == nullptr) {
        return nullptr;
    }
    return CBitmap::FromHandle(static_cast<HBITMAP>(::SelectObject(m_hDC, pBitmap->m_hObject)));
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject) {
    if (pObject == nullptr) {
        return nullptr;
    }
    return CGdiObject::FromHandle(::SelectObject(m_hDC, pObject->m_hObject));
}

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject) {
    return hObject != nullptr ? ::SelectObject(m_hDC, hObject) : nullptr;
}

CGdiObject* CDC::SelectStockObject(int nIndex) {
    const HGDIOBJ stock = ::GetStockObject(nIndex);
    if (stock == nullptr) {
        return nullptr;
    }
    return CGdiObject::FromHandle(::SelectObject(m_hDC, stock));
}

COLORREF CDC::SetBkColor(COLORREF crColor) {
    return ::SetBkColor(m_hDC, crColor);
}

COLORREF CDC::GetBkColor() const {
    return ::GetBkColor(m_hDC);
}

COLORREF CDC::SetTextColor(COLORREF crColor) {
    return ::SetTextColor(m_hDC, crColor);
}

COLORREF CDC::GetTextColor() const {
    return ::GetTextColor(m_hDC);
}

int CDC::SetBkMode(int nBkMode) {
    return ::SetBkMode(m_hDC, nBkMode);
}

int CDC::GetBkMode() const {
    return ::GetBkMode(m_hDC);
}

int CDC::SetStretchBltMode(int nStretchMode) {
    return ::SetStretchBltMode(m_hDC, nStretchMode);
}

CPoint CDC::MoveTo(int x, int y) {
    POINT previous{0, 0};
    ::MoveToEx(m_hDC, x, y, &previous);
    return CPoint(previous);
}

BOOL CDC::LineTo(int x, int y) {
    return ::LineTo(m_hDC, x, y);
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) {
    return ::Rectangle(m_hDC, x1, y1, x2, y2);
}

BOOL CDC::Rectangle(LPCRECT lpRect) {
    if (lpRect == nullptr) {
        return FALSE;
    }
    return Rectangle(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
}

void CDC::FillRect(LPCRECT lpRect, CBrush* pBrush) {
    if (lpRect != nullptr) {
        ::FillRect(m_hDC, lpRect, HandleOf(pBrush));
    }
}

void CDC::FrameRect(LPCRECT lpRect, CBrush* pBrush) {
    if (lpRect != nullptr) {
        ::FrameRect(m_hDC, lpRect, HandleOf(pBrush));
    }
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF crColor) {
    if (lpRect == nullptr) {
        return;
    }
    ::SetBkColor(m_hDC, crColor);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF crColor) {
    const CRect rect(x, y, x + cx, y + cy);
    FillSolidRect(&rect, crColor);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF crTopLeft, COLORREF crBottomRight) {
    if (lpRect == nullptr) {
        return;
    }
    const CRect r(lpRect);
    FillSolidRect(r.left, r.top, r.Width() - 1, 1, crTopLeft);
    FillSolidRect(r.left, r.top, 1, r.Height() - 1, crTopLeft);
    FillSolidRect(r.right - 1, r.top, 1, r.Height(), crBottomRight);
    FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, crBottomRight);
}

BOOL CDC::DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags) {
    return lpRect != nullptr && ::DrawEdge(m_hDC, lpRect, nEdge, nFlags);
}

BOOL CDC::DrawIcon(int x, int y, HICON hIcon) {
    return ::DrawIcon(m_hDC, x, y, hIcon);
}

BOOL CDC::PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop) {
    return ::PatBlt(m_hDC, x, y, nWidth, nHeight, dwRop);
}

BOOL CDC::BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                 DWORD dwRop) {
    return ::BitBlt(m_hDC, x, y, nWidth, nHeight, HandleOf(pSrcDC), xSrc, ySrc, dwRop);
}

BOOL CDC::StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                     int nSrcWidth, int nSrcHeight, DWORD dwRop) {
    return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, HandleOf(pSrcDC), xSrc, ySrc, nSrcWidth,
                        nSrcHeight, dwRop);
}

COLORREF CDC::GetPixel(int x, int y) const {
    return ::GetPixel(m_hDC, x, y);
}

COLORREF CDC::SetPixel(int x, int y, COLORREF crColor) {
    return ::SetPixel(m_hDC, x, y, crColor);
}

BOOL CDC::TextOut(int x, int y, LPCTSTR lpszString, int nCount) {
    return ::TextOutA(m_hDC, x, y, lpszString, nCount);
}

BOOL CDC::TextOut(int x, int y, const CString& str) {
    return ::TextOutA(m_hDC, x, y, str, str.GetLength());
}

int CDC::DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
    return ::DrawTextA(m_hDC, lpszString, nCount, lpRect, nFormat);
}

int CDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat) {
    return ::DrawTextA(m_hDC, str, str.GetLength(), lpRect, nFormat);
}

CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const {
    SIZE size{0, 0};
    ::GetTextExtentPoint32A(m_hDC, lpszString, nCount, &size);
    return CSize(size);
}

CSize CDC::GetTextExtent(const CString& str) const {
    return GetTextExtent(str, str.GetLength());
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* lpMetrics) const {
    return ::GetTextMetricsA(m_hDC, lpMetrics);
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(HandleOf(pWnd)) {
    AttachOpened(*this, ::GetDC(m_hWnd));
}

CClientDC::~CClientDC() {
    if (m_hDC != nullptr) {
        ::ReleaseDC(m_hWnd, Detach());
    }
}

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(HandleOf(pWnd)) {
    AttachOpened(*this, ::GetWindowDC(m_hWnd));
}

CWindowDC::~CWindowDC() {
    if (m_hDC != nullptr) {
        ::ReleaseDC(m_hWnd, Detach());
    }
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(HandleOf(pWnd)) {
    AttachOpened(*this, ::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC() {
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
}
