// The RGB slider window: three scroll bars compose a colour shown in a preview; Space or the
// transfer button hands it to the main window, which reads the three channel texts.
#pragma once

#include "platform/framework/framework.h"

class CSliderDlg : public CDialog {
public:
    explicit CSliderDlg(CWnd* pParent = nullptr);
    ~CSliderDlg() override;

    CRect m_rcMain;
    CStatic m_preview;
    CString m_strRed;
    CString m_strGreen;
    CString m_strBlue;
    BOOL m_bFirstShow = TRUE;

protected:
    const MessageMap& GetMessageMap() const override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;

    void OnClose();
    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnPaint();
    void OnTransfer();
};
