// The palette window: 49 swatches in a 7 x 7 grid. In copy mode a click hands a swatch's colour
// to the main window, which copies it; in register mode Space takes the live colour into an
// eight-entry history (entries 8 to 15, newest first).
#pragma once

#include "platform/framework/framework.h"

enum PaletteMode : int { Copy = 0, Register = 1 };

class CPaletteDlg : public CDialog {
public:
    struct Swatch {
        CWnd* pControl = nullptr;
        COLORREF color = 0;
    };
    static constexpr int kSwatchCount = 49;

    explicit CPaletteDlg(CWnd* pParent = nullptr);
    ~CPaletteDlg() override;

    void SetDefaultColors();
    void BindSwatchControls();
    void DrawSwatches();
    void CopySwatchAt(CPoint point);

    CRect m_rcMain;
    int m_nMode = Copy;
    CString m_strRed;
    CString m_strGreen;
    CString m_strBlue;
    int m_bFirstShow = 1;
    Swatch m_swatch[kSwatchCount];

protected:
    const MessageMap& GetMessageMap() const override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;

    void OnPaint();
    void OnDestroy();
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnClose();
    void OnShowWindow(BOOL bShow, UINT nStatus);

private:
    // Space: the main window takes the live colour; in register mode it joins the history.
    void RegisterLiveColor();

    // The swatch controls, attached for the palette's life; GetDlgItem's wrapper would be a
    // temporary that the framework deletes at the next idle moment.
    CStatic m_swatchControl[kSwatchCount];
};
