// The zoom window: the 21 x 21 screen pixels around the pointer, ten times enlarged, with an
// overlay that marks the sampled pixel. The main window captures into m_bmpZoom on every tick
// and has it drawn; the zoom window itself only repaints the last capture.
#pragma once

#include "platform/framework/framework.h"

class CZoomDlg : public CDialog {
public:
    explicit CZoomDlg(CWnd* pParent = nullptr);
    ~CZoomDlg() override;

    // A bitmap of cx x cy pixels compatible with the client area; the window must exist.
    void CreateZoomBitmap(int cx, int cy);
    // The enlarged capture and, while switched on, the overlay, straight into the client area.
    void DrawZoom();
    // Shows at the next draw, not at once.
    void ToggleCrosshair();

    CPoint m_ptPos{20, 20};
    CBitmap m_bmpZoom;
    BOOL m_bFirstShow = TRUE;
    BOOL m_bCrosshair = TRUE;
    int m_cxBitmap = 0;
    int m_cyBitmap = 0;

protected:
    const MessageMap& GetMessageMap() const override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void OnPaint();
    void OnDestroy();
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnClose();
};
