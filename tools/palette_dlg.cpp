#include "tools/palette_dlg.h"

#include <algorithm>

#include "color/color_value.h"
#include "color/text_format.h"
#include "resource.h"
#include "tools/window_actions.h"

namespace {

// The 49 colours of a fresh palette in reading order; entries 8 to 15 are the history.
constexpr COLORREF kDefaultColors[CPaletteDlg::kSwatchCount] = {
    0x00FFFFFF, 0x00CCCCFF, 0x0099CCFF, 0x00CCFFFF, 0x0099FF99, 0x00FFFFCC, 0x00FFCCFF,
    0x00CCCCCC, 0x006464FF, 0x0034CCFF, 0x009CFFFF, 0x009CFF64, 0x00FFFF68, 0x00FF9CFF,
    0x00C0C0C0, 0x000000FF, 0x000098FF, 0x0000FFFF, 0x0034FF34, 0x00FFCC34, 0x00CC60CC,
    0x00989898, 0x000000CC, 0x000064FF, 0x0000CCFF, 0x0000CC00, 0x00FF6434, 0x00CC34CC,
    0x00646464, 0x0000009C, 0x000064CC, 0x0000649C, 0x00009C00, 0x00FF3434, 0x0064349C,
    0x00343434, 0x0000009C, 0x0000349C, 0x00006464, 0x00006400, 0x009C0000, 0x00643464,
    0x00000000, 0x00000034, 0x00003464, 0x00003434, 0x00003400, 0x00640000, 0x00340034,
};

constexpr int kHistoryNewest = 8;
constexpr int kHistoryOldest = 15;

// The control of each entry: ids skip the radio buttons (1017, 1018) and the value texts
// (1021 to 1023).
int SwatchControlId(int entry) {
    if (entry <= 16)
        return 1000 + entry;
    if (entry <= 18)
        return 1002 + entry;
    return 1005 + entry;
}

CString ChannelText(int value) {
    return CString(color::FormatChannel(value).c_str());
}

// The swatch's rectangle in the palette's client coordinates, as both drawing and hit testing
// see it: the control's outer rectangle with each corner converted.
CRect SwatchRect(const CWnd& palette, const CWnd& control) {
    CRect rect;
    control.GetWindowRect(&rect);
    CPoint topLeft = rect.TopLeft();
    CPoint bottomRight = rect.BottomRight();
    palette.ScreenToClient(&topLeft);
    palette.ScreenToClient(&bottomRight);
    return CRect(topLeft, bottomRight);
}

}  // namespace

CPaletteDlg::CPaletteDlg(CWnd* pParent) : CDialog(IDD_PALETTE, pParent) {
    SetDefaultColors();
}

CPaletteDlg::~CPaletteDlg() = default;

const MessageMap& CPaletteDlg::GetMessageMap() const {
    static const MessageMap map = MessageMap::Derived<CPaletteDlg>(CDialog::GetMessageMap())
                                      .On(WM_PAINT, &CPaletteDlg::OnPaint)
                                      .On(WM_DESTROY, &CPaletteDlg::OnDestroy)
                                      .On(WM_LBUTTONDOWN, &CPaletteDlg::OnLButtonDown)
                                      .On(WM_CLOSE, &CPaletteDlg::OnClose)
                                      .On(WM_SHOWWINDOW, &CPaletteDlg::OnShowWindow);
    return map;
}

void CPaletteDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_PALETTE_COPY, m_nMode);
    DDX_Text(pDX, IDC_PALETTE_RED_TEXT, m_strRed);
    DDX_Text(pDX, IDC_PALETTE_GREEN_TEXT, m_strGreen);
    DDX_Text(pDX, IDC_PALETTE_BLUE_TEXT, m_strBlue);
}

void CPaletteDlg::SetDefaultColors() {
    for (int entry = 0; entry < kSwatchCount; ++entry)
        m_swatch[entry].color = kDefaultColors[entry];
}

void CPaletteDlg::BindSwatchControls() {
    for (int entry = 0; entry < kSwatchCount; ++entry) {
        CStatic& control = m_swatchControl[entry];
        if (control.SubclassDlgItem(SwatchControlId(entry), this))
            m_swatch[entry].pControl = &control;
    }
}

BOOL CPaletteDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    BindSwatchControls();
    return TRUE;
}

// Every swatch, one brush at a time, outlined by the DC's default pen. The swatch statics draw
// only their black frame and leave the inside as painted here.
void CPaletteDlg::DrawSwatches() {
    CClientDC dc(this);
    if (dc.GetSafeHdc() == nullptr)
        return;
    for (const Swatch& swatch : m_swatch) {
        if (swatch.pControl == nullptr || swatch.pControl->m_hWnd == nullptr)
            continue;
        const CRect rect = SwatchRect(*this, *swatch.pControl);
        CBrush brush;
        if (!brush.CreateSolidBrush(swatch.color))
            return;
        CBrush* pOldBrush = dc.SelectObject(&brush);
        dc.Rectangle(rect.left, rect.top, rect.right, rect.bottom);
        dc.SelectObject(pOldBrush);
    }
}

// Rectangles do not overlap, so at most one swatch hits; the loop still looks at every one.
void CPaletteDlg::CopySwatchAt(CPoint point) {
    for (const Swatch& swatch : m_swatch) {
        if (swatch.pControl == nullptr || swatch.pControl->m_hWnd == nullptr)
            continue;
        const CRect rect = SwatchRect(*this, *swatch.pControl);
        if (!rect.PtInRect(point))
            continue;
        const color::ChannelTriple channels = color::UnpackRgb(swatch.color);
        m_strRed = ChannelText(channels.red);
        m_strGreen = ChannelText(channels.green);
        m_strBlue = ChannelText(channels.blue);
        UpdateData(FALSE);
        GetParent()->SendMessage(WM_COMMAND, IDC_GETPALETTECOLOR, 0);
    }
}

void CPaletteDlg::OnPaint() {
    CPaintDC dc(this);
    DrawSwatches();
}

void CPaletteDlg::OnDestroy() {
    CDialog::OnDestroy();
}

// The mode is read from the radios at every click.
void CPaletteDlg::OnLButtonDown(UINT nFlags, CPoint point) {
    UpdateData(TRUE);
    if (m_nMode == Copy)
        CopySwatchAt(point);
    CDialog::OnLButtonDown(nFlags, point);
}

// Space goes to the main window in both modes; in register mode its new output text is read
// back and becomes the newest history entry. The arrows aim the pointer. Enter and Esc would
// hide the palette while the main window still counts it open, so they do nothing.
BOOL CPaletteDlg::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message != WM_KEYDOWN)
        return CDialog::PreTranslateMessage(pMsg);
    if (NudgePointerByArrowKey(pMsg->wParam))
        return TRUE;
    switch (pMsg->wParam) {
        case VK_RETURN:
        case VK_ESCAPE:
            return TRUE;
        case VK_SPACE:
            RegisterLiveColor();
            return TRUE;
        default:
            return CDialog::PreTranslateMessage(pMsg);
    }
}

void CPaletteDlg::RegisterLiveColor() {
    CWnd* pMain = GetParent();
    pMain->SendMessage(WM_KEYDOWN, VK_SPACE, 0);
    UpdateData(TRUE);
    if (m_nMode == Copy)
        return;
    CString output;
    if (CWnd* pOutput = pMain->GetDlgItem(IDC_OUTPUT))
        pOutput->GetWindowText(output);
    // A channel the text does not hold counts as 0; the history moves on in any case.
    const color::ParsedChannels channels = color::ParseOutput(static_cast<const char*>(output));
    for (int entry = kHistoryOldest; entry > kHistoryNewest; --entry)
        m_swatch[entry].color = m_swatch[entry - 1].color;
    m_swatch[kHistoryNewest].color = color::PackRgb(
        channels.red.value_or(0), channels.green.value_or(0), channels.blue.value_or(0));
    DrawSwatches();
}

// Placed once, directly above the main window: left edges aligned, its own height, its bottom
// on the main window's top. The width is the main window's, but never less than the palette
// was made with, or the mode radios and the value texts would lie beyond its right edge.
void CPaletteDlg::OnShowWindow(BOOL bShow, UINT nStatus) {
    CDialog::OnShowWindow(bShow, nStatus);
    if (m_bFirstShow == 0)
        return;
    m_bFirstShow = 0;
    CRect own;
    GetWindowRect(&own);
    const int height = own.Height();
    const int width = std::max<int>(m_rcMain.Width(), own.Width());
    SetWindowPos(&wndTop, m_rcMain.left, m_rcMain.top - height, width, height, SWP_NOACTIVATE);
}

void CPaletteDlg::OnClose() {
    GetParent()->PostMessage(WM_COMMAND, IDC_PALETTE, 0);
}
