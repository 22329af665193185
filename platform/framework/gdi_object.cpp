#include "platform/framework/gdi_object.h"

#include "platform/framework/dc.h"
#include "platform/framework/handle_map.h"

namespace {

using GdiObjectMap = HandleMap<HGDIOBJ, CGdiObject, &CGdiObject::m_hObject>;

// Never destroyed: a program's global brushes and pens may outlive function-local statics.
GdiObjectMap& GdiObjects() {
    static GdiObjectMap* const map = new GdiObjectMap;
    return *map;
}

}  // namespace

CGdiObject::~CGdiObject() {
    DeleteObject();
}

template <class Wrapper>
Wrapper* CGdiObject::FromHandleAs(HGDIOBJ hObject) {
    return GdiObjects().FromHandle<Wrapper>(hObject);
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject) {
    return FromHandleAs<CGdiObject>(hObject);
}

CPen* CPen::FromHandle(HPEN hPen) {
    return FromHandleAs<CPen>(hPen);
}

CBrush* CBrush::FromHandle(HBRUSH hBrush) {
    return FromHandleAs<CBrush>(hBrush);
}

CBitmap* CBitmap::FromHandle(HBITMAP hBitmap) {
    return FromHandleAs<CBitmap>(hBitmap);
}

CFont* CFont::FromHandle(HFONT hFont) {
    return FromHandleAs<CFont>(hFont);
}

void CGdiObject::DeleteTempMap() {
    GdiObjects().DeleteTemporaries();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
    return GdiObjects().Attach(this, hObject) ? TRUE : FALSE;
}

HGDIOBJ CGdiObject::Detach() {
    return GdiObjects().Detach(this);
}

BOOL CGdiObject::AttachCreated(HGDIOBJ hObject) {
    if (Attach(hObject)) {
        return TRUE;
    }
    // This object already held a handle: the new one would have no owner.
    if (hObject != nullptr) {
        ::DeleteObject(hObject);
    }
    return FALSE;
}

BOOL CGdiObject::DeleteObject() {
    if (m_hObject == nullptr) {
        return FALSE;
    }
    // Only what this object owns is deleted; a temporary wrapper never owns its handle.
    if (!GdiObjects().IsPermanent(this)) {
        m_hObject = nullptr;
        return FALSE;
    }
    return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const {
    return ::GetObjectA(m_hObject, nCount, lpObject);
}

BOOL CGdiObject::CreateStockObject(int nIndex) {
    // Stock objects are not deleted, so they are wrapped without being owned.
    if (m_hObject != nullptr) {
        return FALSE;
    }
    m_hObject = ::GetStockObject(nIndex);
    return m_hObject != nullptr;
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor) {
    return AttachCreated(::CreatePen(nPenStyle, nWidth, crColor));
}

BOOL CBrush::CreateSolidBrush(COLORREF crColor) {
    return AttachCreated(::CreateSolidBrush(crColor));
}

BOOL CBrush::CreateSysColorBrush(int nIndex) {
    if (m_hObject != nullptr) {
        return FALSE;
    }
    // System colour brushes belong to the system, like stock objects.
    m_hObject = ::GetSysColorBrush(nIndex);
    return m_hObject != nullptr;
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight) {
    return AttachCreated(
        ::CreateCompatibleBitmap(pDC != nullptr ? pDC->m_hDC : nullptr, nWidth, nHeight));
}

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount,
                           const void* lpBits) {
    return AttachCreated(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}

int CBitmap::GetBitmap(BITMAP* pBitMap) const {
    return GetObject(sizeof(BITMAP), pBitMap);
}

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) {
    return lpLogFont != nullptr && AttachCreated(::CreateFontIndirectA(lpLogFont));
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                       BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet,
                       BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality, BYTE nPitchAndFamily,
                       LPCTSTR lpszFacename) {
    return AttachCreated(::CreateFontA(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic,
                                       bUnderline, cStrikeOut, nCharSet, nOutPrecision,
                                       nClipPrecision, nQuality, nPitchAndFamily, lpszFacename));
}

int CFont::GetLogFont(LOGFONT* pLogFont) const {
    return GetObject(sizeof(LOGFONT), pLogFont);
}
