#include "tools/zoom_dlg.h"

#include "resource.h"
#include "tools/window_actions.h"

namespace {

constexpr int kMagnification = 10;
constexpr COLORREF kArmColour = 0x00FF0000;          // blue
constexpr COLORREF kCentreFrameColour = 0x00801010;  // dark blue
constexpr COLORREF kAreaFrameColour = 0x00FF4040;    // light blue

}  // namespace

CZoomDlg::CZoomDlg(CWnd* pParent) : CDialog(IDD_ZOOM, pParent) {}

CZoomDlg::~CZoomDlg() = default;

const MessageMap& CZoomDlg::GetMessageMap() const {
    static const MessageMap map = MessageMap::Derived<CZoomDlg>(CDialog::GetMessageMap())
                                      .On(WM_PAINT, &CZoomDlg::OnPaint)
                                      .On(WM_DESTROY, &CZoomDlg::OnDestroy)
                                      .On(WM_KEYDOWN, &CZoomDlg::OnKeyDown)
                                      .On(WM_LBUTTONDOWN, &CZoomDlg::OnLButtonDown)
                                      .On(WM_CHAR, &CZoomDlg::OnChar)
                                      .On(WM_SHOWWINDOW, &CZoomDlg::OnShowWindow)
                                      .On(WM_CLOSE, &CZoomDlg::OnClose);
    return map;
}

void CZoomDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
}

void CZoomDlg::CreateZoomBitmap(int cx, int cy) {
    CClientDC dc(this);
    m_bmpZoom.CreateCompatibleBitmap(&dc, cx, cy);
    m_cxBitmap = cx;
    m_cyBitmap = cy;
}

void CZoomDlg::DrawZoom() {
    CClientDC dc(this);
    CDC memory;
    memory.CreateCompatibleDC(&dc);
    CBitmap* pOldBitmap = memory.SelectObject(&m_bmpZoom);
    dc.StretchBlt(0, 0, kMagnification * m_cxBitmap, kMagnification * m_cyBitmap, &memory, 0, 0,
                  m_cxBitmap, m_cyBitmap, SRCCOPY);
    memory.SelectObject(pOldBitmap);
    if (!m_bCrosshair)
        return;

    // The arms leave the centre pixel free; every horizontal position lies one pixel right of
    // the block grid, the vertical ones on it. All of it stays inside the enlarged image, so
    // the next stretch covers it and switching the overlay off needs no erasing.
    const int mid = 5 * m_cxBitmap;
    const int outer = kMagnification * m_cyBitmap - 50;
    CPen pen(PS_SOLID, 2, kArmColour);
    CPen* pOldPen = dc.SelectObject(&pen);
    dc.MoveTo(mid + 1, 50);
    dc.LineTo(mid + 1, mid - 5);
    dc.MoveTo(50, mid);
    dc.LineTo(mid - 4, mid);
    dc.MoveTo(mid + 1, mid + 5);
    dc.LineTo(mid + 1, outer);
    dc.MoveTo(mid + 6, mid);
    dc.LineTo(outer, mid);
    dc.SelectObject(pOldPen);

    CBrush centreFrame;
    centreFrame.CreateSolidBrush(kCentreFrameColour);
    const CRect centre(mid - 4, mid - 5, mid + 6, mid + 5);
    dc.FrameRect(&centre, &centreFrame);
    CBrush areaFrame;
    areaFrame.CreateSolidBrush(kAreaFrameColour);
    const CRect area(mid - 24, mid - 25, mid + 26, mid + 25);
    dc.FrameRect(&area, &areaFrame);
}

void CZoomDlg::ToggleCrosshair() {
    m_bCrosshair = !m_bCrosshair;
}

// Enter and Esc would end the dialog; the arrows aim the pointer, one pixel per key-down.
BOOL CZoomDlg::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message != WM_KEYDOWN)
        return CDialog::PreTranslateMessage(pMsg);
    if (NudgePointerByArrowKey(pMsg->wParam))
        return TRUE;
    switch (pMsg->wParam) {
        case VK_RETURN:
        case VK_ESCAPE:
            return TRUE;
        default:
            return CDialog::PreTranslateMessage(pMsg);
    }
}

// Repaints the last capture; only the main window's tick captures anew.
void CZoomDlg::OnPaint() {
    CPaintDC dc(this);
    DrawZoom();
}

void CZoomDlg::OnDestroy() {
    CDialog::OnDestroy();
    m_bmpZoom.DeleteObject();
}

void CZoomDlg::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (nChar == VK_SHIFT)
        ToggleCrosshair();
    else if (nChar == VK_SPACE)
        GetParent()->SendMessage(WM_KEYDOWN, VK_SPACE, 0);
    CDialog::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CZoomDlg::OnLButtonDown(UINT nFlags, CPoint point) {
    ToggleCrosshair();
    CDialog::OnLButtonDown(nFlags, point);
}

void CZoomDlg::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (nChar == 'v' || nChar == 'V')
        ToggleCrosshair();
    CDialog::OnChar(nChar, nRepCnt, nFlags);
}

// Placed once, against the main window's right edge; later shows and hides leave it where the
// user has it.
void CZoomDlg::OnShowWindow(BOOL bShow, UINT nStatus) {
    CDialog::OnShowWindow(bShow, nStatus);
    if (!m_bFirstShow)
        return;
    m_bFirstShow = FALSE;
    SetWindowPos(&wndTop, m_ptPos.x, m_ptPos.y, 0, 0, SWP_NOSIZE);
}

// The main window destroys the zoom window; a close request only asks it to.
void CZoomDlg::OnClose() {
    GetParent()->PostMessage(WM_COMMAND, IDC_ZOOM, 0);
}
