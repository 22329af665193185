// The main picker window: samples the pixel under the pointer every tick, takes it with Space,
// nudges the pointer with the arrow keys, writes the picked colour in the chosen notation and
// copies it; its right-click menu chooses the notation and always-on-top.
#pragma once

#include "color/text_format.h"
#include "platform/framework/framework.h"

class CZoomDlg;
class CSliderDlg;
class CPaletteDlg;

class CPickerDlg : public CDialog {
public:
    explicit CPickerDlg(CWnd* pParent = nullptr);
    ~CPickerDlg() override;

    // Paints colour into a static control as a rectangle with the default black pen.
    void PaintSwatch(CWnd& control, COLORREF color);
    void SetOutputText(int red, int green, int blue);
    void TakeLiveColor();
    // Copies the 21 x 21 screen square centred on pt (client coordinates) into the zoom
    // window's bitmap, white where the screen has no pixel, and has the zoom window draw it.
    void CaptureZoom(const POINT* pt);

    CEdit m_editOutput;
    CStatic m_liveSwatch;
    CButton m_btnZoom;
    CStatic m_strip;
    CString m_strOutput;
    CString m_strReadout;
    HICON m_hIcon = nullptr;
    BOOL m_bTopMost = FALSE;
    color::FormatMode m_nFormat = color::FormatMode::Rgb;
    COLORREF m_crPicked = 0x00FFFFFF;
    COLORREF m_crLive = 0x00FFFFFF;
    CZoomDlg* m_pZoomDlg = nullptr;
    CSliderDlg* m_pSliderDlg = nullptr;
    CPaletteDlg* m_pPaletteDlg = nullptr;

protected:
    const MessageMap& GetMessageMap() const override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnInitDialog() override;

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnDestroy();
    void OnTimer(UINT_PTR nIDEvent);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnContextMenu(CWnd* pWnd, CPoint point);

    void OnFormatRgb();
    void OnFormatColor();
    void OnFormatBasicHex();
    void OnFormatHtmlHex();
    void ToggleTopMost();
    void CopyOutput();
    void ToggleZoom();
    void ToggleSliders();
    void TogglePalette();
    void TakeSliderColor();
    void TakePaletteColor();

private:
    void RebuildSystemMenu();
    // The colour of a tool window's three channel texts becomes the picked and live colour.
    void TakeChannelTexts(const CString& red, const CString& green, const CString& blue);

    // White for the output field, the buttons and the texts: made on first use, kept for the
    // window's life.
    CBrush m_brWhite;
};
