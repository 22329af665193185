#include "picker/picker_dlg.h"

#include "app/about_dlg.h"
#include "color/color_value.h"
#include "resource.h"

namespace {

constexpr UINT_PTR kSampleTimer = 1;
constexpr UINT kSamplePeriodMs = 100;
constexpr int kWindowWidth = 202;
constexpr int kWindowHeight = 200;
constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kNavy = 0x00800000;

CString ToCString(const std::string& text) {
    return CString(text.c_str());
}

}  // namespace

CPickerDlg::CPickerDlg(CWnd* pParent) : CDialog(IDD_PICKER, pParent), m_strReadout("255,255,255") {
    m_hIcon = AfxGetApp()->LoadIcon(IDR_MAINFRAME);
}

CPickerDlg::~CPickerDlg() = default;

const MessageMap& CPickerDlg::GetMessageMap() const {
    static const MessageMap map = MessageMap::Derived<CPickerDlg>(CDialog::GetMessageMap())
                                      .On(WM_SYSCOMMAND, &CPickerDlg::OnSysCommand)
                                      .On(WM_PAINT, &CPickerDlg::OnPaint)
                                      .On(WM_QUERYDRAGICON, &CPickerDlg::OnQueryDragIcon)
                                      .OnCtlColor(&CPickerDlg::OnCtlColor)
                                      .On(WM_DESTROY, &CPickerDlg::OnDestroy)
                                      .On(WM_TIMER, &CPickerDlg::OnTimer)
                                      .On(WM_KEYDOWN, &CPickerDlg::OnKeyDown)
                                      .On(WM_CONTEXTMENU, &CPickerDlg::OnContextMenu)
                                      .OnCommand(IDC_COPY, &CPickerDlg::CopyOutput)
                                      .OnCommand(ID_FORMAT_RGB, &CPickerDlg::OnFormatRgb)
                                      .OnCommand(ID_FORMAT_COLOR, &CPickerDlg::OnFormatColor)
                                      .OnCommand(ID_FORMAT_BASICHEX, &CPickerDlg::OnFormatBasicHex)
                                      .OnCommand(ID_FORMAT_HTMLHEX, &CPickerDlg::OnFormatHtmlHex)
                                      .OnCommand(ID_ALWAYS_ON_TOP, &CPickerDlg::ToggleTopMost);
    return map;
}

void CPickerDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_OUTPUT, m_editOutput);
    DDX_Control(pDX, IDC_LIVE_SWATCH, m_liveSwatch);
    DDX_Control(pDX, IDC_ZOOM, m_btnZoom);
    DDX_Control(pDX, IDC_STRIP, m_strip);
    DDX_Text(pDX, IDC_OUTPUT, m_strOutput);
    DDX_Text(pDX, IDC_READOUT, m_strReadout);
}

BOOL CPickerDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    RebuildSystemMenu();
    SetTimer(kSampleTimer, kSamplePeriodMs, nullptr);
    SetWindowPos(&wndTopMost, 0, 0, kWindowWidth, kWindowHeight, SWP_NOMOVE);
    m_bTopMost = TRUE;
    CString title;
    title.LoadString(IDS_WINDOW_TITLE);
    SetWindowText(title);
    return TRUE;
}

// The system menu becomes: move, minimise, close, separator, About. The three standard items
// keep the ids the system gave them, and with them its default handling.
void CPickerDlg::RebuildSystemMenu() {
    CMenu* pSysMenu = GetSystemMenu(FALSE);
    if (pSysMenu == nullptr)
        return;
    const UINT closeId = pSysMenu->GetMenuItemID(6);
    pSysMenu->RemoveMenu(6, MF_BYPOSITION);
    const UINT minimizeId = pSysMenu->GetMenuItemID(3);
    pSysMenu->RemoveMenu(3, MF_BYPOSITION);
    const UINT moveId = pSysMenu->GetMenuItemID(1);
    pSysMenu->RemoveMenu(1, MF_BYPOSITION);
    for (int position = 7; position >= 0; --position)
        pSysMenu->DeleteMenu(position, MF_BYPOSITION);
    pSysMenu->AppendMenu(MF_STRING, moveId, "移動");
    pSysMenu->AppendMenu(MF_STRING, minimizeId, "最少化");
    pSysMenu->AppendMenu(MF_STRING, closeId, "閉じる");
    CString about;
    about.LoadString(IDS_ABOUTBOX);
    if (!about.IsEmpty()) {
        pSysMenu->AppendMenu(MF_SEPARATOR);
        pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, about);
    }
}

// Space and the arrow keys belong to the picker wherever the focus is: they never reach a
// control, never type, and never move the focus.
BOOL CPickerDlg::PreTranslateMessage(MSG* pMsg) {
    POINT pointer;
    GetCursorPos(&pointer);
    if (pMsg->message != WM_KEYDOWN)
        return CDialog::PreTranslateMessage(pMsg);
    switch (pMsg->wParam) {
        case VK_SPACE:
            TakeLiveColor();
            PaintSwatch(m_strip, m_crLive);
            return TRUE;
        case VK_LEFT:
            SetCursorPos(pointer.x - 1, pointer.y);
            return TRUE;
        case VK_UP:
            SetCursorPos(pointer.x, pointer.y - 1);
            return TRUE;
        case VK_RIGHT:
            SetCursorPos(pointer.x + 1, pointer.y);
            return TRUE;
        case VK_DOWN:
            SetCursorPos(pointer.x, pointer.y + 1);
            return TRUE;
        default:
            return CDialog::PreTranslateMessage(pMsg);
    }
}

void CPickerDlg::OnTimer(UINT_PTR nIDEvent) {
    CPoint point;
    GetCursorPos(&point);
    ScreenToClient(&point);
    {
        CWindowDC desktop(CWnd::GetDesktopWindow());
        ClientToScreen(&point);
        m_crLive = desktop.GetPixel(point);
        m_strReadout = ToCString(color::FormatReadout(m_crLive));
        UpdateData(FALSE);
        PaintSwatch(m_liveSwatch, m_crLive);
        CDialog::OnTimer(nIDEvent);
    }
}

void CPickerDlg::TakeLiveColor() {
    const color::ParsedChannels channels =
        color::ParseReadout(static_cast<const char*>(m_strReadout));
    // The readout is always a text FormatReadout made (or the initial one), so it parses.
    const int red = channels.red.value_or(0);
    const int green = channels.green.value_or(0);
    const int blue = channels.blue.value_or(0);
    SetOutputText(red, green, blue);
    UpdateData(FALSE);
    m_crPicked = color::PackRgb(red, green, blue);
}

void CPickerDlg::SetOutputText(int red, int green, int blue) {
    // A notation outside the four leaves the text as it was.
    if (const auto text = color::FormatOutput(m_nFormat, red, green, blue))
        m_strOutput = ToCString(*text);
}

void CPickerDlg::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
    if (nChar == VK_SPACE) {
        TakeLiveColor();
        PaintSwatch(m_strip, m_crLive);
    }
    CDialog::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CPickerDlg::PaintSwatch(CWnd& control, COLORREF color) {
    // Declared first so that it outlives the DC: the brush is deleted after the DC is released.
    CBrush brush;
    CClientDC dc(&control);
    brush.CreateSolidBrush(color);
    CBrush* pOldBrush = dc.SelectObject(&brush);
    CRect rect;
    control.GetClientRect(&rect);
    dc.Rectangle(rect.left, rect.top, rect.right, rect.bottom);
    dc.SelectObject(pOldBrush);
}

void CPickerDlg::OnPaint() {
    if (IsIconic()) {
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        const int cxIcon = GetSystemMetrics(SM_CXICON);
        const int cyIcon = GetSystemMetrics(SM_CYICON);
        CRect rect;
        GetClientRect(&rect);
        const int x = (rect.Width() - cxIcon + 1) / 2;
        const int y = (rect.Height() - cyIcon + 1) / 2;
        dc.DrawIcon(x, y, m_hIcon);
    } else {
        CDialog::OnPaint();
    }
    PaintSwatch(m_strip, m_crPicked);
}

HCURSOR CPickerDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_hIcon);
}

HBRUSH CPickerDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    HBRUSH hbr = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    switch (nCtlColor) {
        case CTLCOLOR_EDIT:
        case CTLCOLOR_BTN:
            pDC->SetBkColor(kWhite);
            if (m_brWhite.GetSafeHandle() == nullptr)
                m_brWhite.CreateSolidBrush(kWhite);
            return static_cast<HBRUSH>(m_brWhite.GetSafeHandle());
        case CTLCOLOR_STATIC:
            pDC->SetBkColor(kWhite);
            pDC->SetTextColor(kNavy);
            return hbr;
        default:
            return hbr;
    }
}

void CPickerDlg::OnDestroy() {
    CDialog::OnDestroy();
}

void CPickerDlg::OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
        return;
    }
    CDialog::OnSysCommand(nID, lParam);
}

void CPickerDlg::OnContextMenu(CWnd*, CPoint point) {
    CMenu menu;
    menu.LoadMenu(IDR_FORMAT_MENU);
    CMenu* pPopup = menu.GetSubMenu(0);
    if (pPopup != nullptr) {
        static const UINT kFormatItems[] = {ID_FORMAT_RGB, ID_FORMAT_COLOR, ID_FORMAT_BASICHEX,
                                            ID_FORMAT_HTMLHEX};
        const auto format = static_cast<int>(m_nFormat);
        if (format >= 0 && format < 4)
            pPopup->CheckMenuItem(kFormatItems[format], MF_CHECKED);
        if (m_bTopMost)
            pPopup->CheckMenuItem(ID_ALWAYS_ON_TOP, MF_CHECKED);
        pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
    }
    menu.DestroyMenu();
}

// A new notation is used from the next take on; the output text stays as it is.
void CPickerDlg::OnFormatRgb() {
    m_nFormat = color::FormatMode::Rgb;
}
void CPickerDlg::OnFormatColor() {
    m_nFormat = color::FormatMode::Color;
}
void CPickerDlg::OnFormatBasicHex() {
    m_nFormat = color::FormatMode::BasicHex;
}
void CPickerDlg::OnFormatHtmlHex() {
    m_nFormat = color::FormatMode::HtmlHex;
}

void CPickerDlg::ToggleTopMost() {
    SetWindowPos(m_bTopMost ? &wndNoTopMost : &wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    m_bTopMost = !m_bTopMost;
}

// The field copies its own text: the program never opens the clipboard itself.
void CPickerDlg::CopyOutput() {
    m_editOutput.SendMessage(EM_SETSEL, 0, -1);
    m_editOutput.SendMessage(EM_SCROLLCARET, 0, 0);
    m_editOutput.SendMessage(WM_COPY, 0, 0);
}
