#include "tools/slider_dlg.h"

#include "color/color_value.h"
#include "color/text_format.h"
#include "resource.h"
#include "tools/window_actions.h"

namespace {

constexpr int kChannelMax = 255;
constexpr int kPageStep = 8;
// Placed once, flush against the main window's left edge, as high as the main window.
constexpr int kWindowWidth = 197;
constexpr int kWindowHeight = 200;

int ChannelOf(const CString& text) {
    // The texts are written only here, from integers, so they always hold a number.
    return color::ParseChannel(static_cast<const char*>(text)).value_or(0);
}

CString ChannelText(int value) {
    return CString(color::FormatChannel(value).c_str());
}

// The new position for a scroll code: lines by one, pages to the next multiple of 8, the thumb
// where it was released; tracking and the end codes leave the position as it is.
int SteppedPosition(UINT code, int pos, UINT thumbPos) {
    switch (code) {
        case SB_LINELEFT:
            return pos - 1;
        case SB_LINERIGHT:
            return pos + 1;
        case SB_PAGELEFT: {
            const int p = pos % kPageStep == 0 ? pos - 1 : pos;
            return p - p % kPageStep;
        }
        case SB_PAGERIGHT:
            return kPageStep * (pos / kPageStep) + kPageStep;
        case SB_THUMBPOSITION:
            return static_cast<int>(thumbPos);
        default:
            return pos;
    }
}

}  // namespace

CSliderDlg::CSliderDlg(CWnd* pParent)
    : CDialog(IDD_SLIDERS, pParent), m_strRed("128"), m_strGreen("128"), m_strBlue("128") {}

CSliderDlg::~CSliderDlg() = default;

const MessageMap& CSliderDlg::GetMessageMap() const {
    static const MessageMap map = MessageMap::Derived<CSliderDlg>(CDialog::GetMessageMap())
                                      .On(WM_CLOSE, &CSliderDlg::OnClose)
                                      .On(WM_SHOWWINDOW, &CSliderDlg::OnShowWindow)
                                      .On(WM_HSCROLL, &CSliderDlg::OnHScroll)
                                      .On(WM_PAINT, &CSliderDlg::OnPaint)
                                      .OnClicked(IDC_TRANSFER, &CSliderDlg::OnTransfer);
    return map;
}

void CSliderDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SLIDER_PREVIEW, m_preview);
    DDX_Text(pDX, IDC_SLIDER_RED_TEXT, m_strRed);
    DDX_Text(pDX, IDC_SLIDER_GREEN_TEXT, m_strGreen);
    DDX_Text(pDX, IDC_SLIDER_BLUE_TEXT, m_strBlue);
}

BOOL CSliderDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const int channels[] = {ChannelOf(m_strRed), ChannelOf(m_strGreen), ChannelOf(m_strBlue)};
    for (int index = 0; index < 3; ++index) {
        const HWND bar = ::GetDlgItem(m_hWnd, IDC_SLIDER_RED + index);
        ::SetScrollRange(bar, SB_CTL, 0, kChannelMax, TRUE);
        ::SetScrollPos(bar, SB_CTL, channels[index], TRUE);
    }
    return TRUE;
}

void CSliderDlg::OnShowWindow(BOOL bShow, UINT nStatus) {
    CDialog::OnShowWindow(bShow, nStatus);
    if (!m_bFirstShow)
        return;
    m_bFirstShow = FALSE;
    SetWindowPos(&wndTop, m_rcMain.left - kWindowWidth, m_rcMain.top, kWindowWidth, kWindowHeight,
                 SWP_NOACTIVATE);
}

void CSliderDlg::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    UpdateData(TRUE);
    int red = ChannelOf(m_strRed);
    int green = ChannelOf(m_strGreen);
    int blue = ChannelOf(m_strBlue);
    if (pScrollBar != nullptr) {
        const int pos = pScrollBar->GetScrollPos();
        int minPos = 0;
        int maxPos = 0;
        pScrollBar->GetScrollRange(&minPos, &maxPos);
        int newPos = SteppedPosition(nSBCode, pos, nPos);
        if (newPos < minPos)
            newPos = minPos;
        if (newPos > maxPos)
            newPos = maxPos;
        pScrollBar->SetScrollPos(newPos, TRUE);
        switch (pScrollBar->GetDlgCtrlID()) {
            case IDC_SLIDER_RED:
                red = newPos;
                break;
            case IDC_SLIDER_GREEN:
                green = newPos;
                break;
            default:
                blue = newPos;
                break;
        }
    }
    PaintColourIntoControl(m_preview, color::PackRgb(red, green, blue));
    m_strRed = ChannelText(red);
    m_strGreen = ChannelText(green);
    m_strBlue = ChannelText(blue);
    UpdateData(FALSE);
    CDialog::OnHScroll(nSBCode, nPos, pScrollBar);
}

void CSliderDlg::OnPaint() {
    CPaintDC dc(this);
    UpdateData(TRUE);
    PaintColourIntoControl(m_preview, color::PackRgb(ChannelOf(m_strRed), ChannelOf(m_strGreen),
                                                     ChannelOf(m_strBlue)));
}

// Sent, so the main window has read the three texts when the call returns.
void CSliderDlg::OnTransfer() {
    GetParent()->SendMessage(WM_COMMAND, IDC_GETCOLOR, 0);
}

// Space transfers and the arrows aim the pointer, wherever the focus is; the bars never see
// them. Enter and Esc would hide the window while the main window still counts it open.
BOOL CSliderDlg::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message != WM_KEYDOWN)
        return CDialog::PreTranslateMessage(pMsg);
    if (NudgePointerByArrowKey(pMsg->wParam))
        return TRUE;
    switch (pMsg->wParam) {
        case VK_SPACE:
            OnTransfer();
            return TRUE;
        case VK_RETURN:
        case VK_ESCAPE:
            return TRUE;
        default:
            return CDialog::PreTranslateMessage(pMsg);
    }
}

void CSliderDlg::OnClose() {
    GetParent()->PostMessage(WM_COMMAND, IDC_SLIDERS, 0);
}
