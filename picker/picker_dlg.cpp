#include "picker/picker_dlg.h"

#include <new>

#include "color/color_value.h"
#include "picker/about_dlg.h"
#include "resource.h"
#include "tools/palette_dlg.h"
#include "tools/slider_dlg.h"
#include "tools/window_actions.h"
#include "tools/zoom_dlg.h"

namespace {

constexpr UINT_PTR kSampleTimer = 1;
constexpr UINT kSamplePeriodMs = 100;
constexpr int kWindowWidth = 202;
constexpr int kWindowHeight = 200;
constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kNavy = 0x00800000;
constexpr int kZoomBitmapSize = 21;
constexpr int kZoomReach = 10;  // pixels on each side of the pointer's pixel
constexpr POINT kZoomOpeningPoint = {100, 100};

// Destroys an open tool window and deletes its object; the pointer is NULL afterwards.
template <class Dialog>
void CloseToolWindow(Dialog*& pDialog) {
    pDialog->DestroyWindow();
    delete pDialog;
    pDialog = nullptr;
}

int ChannelValue(const CString& text) {
    return color::ParseChannel(static_cast<const char*>(text)).value_or(0);
}

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
                                      .OnCommand(IDC_ZOOM, &CPickerDlg::ToggleZoom)
                                      .OnCommand(IDC_SLIDERS, &CPickerDlg::ToggleSliders)
                                      .OnCommand(IDC_PALETTE, &CPickerDlg::TogglePalette)
                                      .OnCommand(IDC_GETCOLOR, &CPickerDlg::TakeSliderColor)
                                      .OnCommand(IDC_GETPALETTECOLOR, &CPickerDlg::TakePaletteColor)
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
    if (pMsg->message != WM_KEYDOWN)
        return CDialog::PreTranslateMessage(pMsg);
    if (NudgePointerByArrowKey(pMsg->wParam))
        return TRUE;
    switch (pMsg->wParam) {
        case VK_SPACE:
            TakeLiveColor();
            PaintSwatch(m_strip, m_crLive);
            return TRUE;
        default:
            return CDialog::PreTranslateMessage(pMsg);
    }
}

void CPickerDlg::OnTimer(UINT_PTR nIDEvent) {
    CPoint point;
    GetCursorPos(&point);
    ScreenToClient(&point);
    // One pointer reading serves both: the zoom image's centre is the sampled pixel.
    if (m_pZoomDlg != nullptr)
        CaptureZoom(&point);
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
    PaintColourIntoControl(control, color);
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

// The tool windows go with the main window: zoom first, then sliders, then palette.
void CPickerDlg::OnDestroy() {
    CDialog::OnDestroy();
    if (m_pZoomDlg != nullptr)
        CloseToolWindow(m_pZoomDlg);
    if (m_pSliderDlg != nullptr)
        CloseToolWindow(m_pSliderDlg);
    if (m_pPaletteDlg != nullptr)
        CloseToolWindow(m_pPaletteDlg);
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

// Each tool button opens its window, created hidden and owned by this one, and closes it again;
// a tool window's close request arrives here as the same command. A window that cannot be made
// leaves its tool closed rather than holding an object without a window.
void CPickerDlg::ToggleZoom() {
    if (m_pZoomDlg != nullptr) {
        CloseToolWindow(m_pZoomDlg);
        return;
    }
    m_pZoomDlg = new (std::nothrow) CZoomDlg(this);
    if (m_pZoomDlg == nullptr)
        return;
    if (!m_pZoomDlg->Create(IDD_ZOOM)) {
        delete m_pZoomDlg;
        m_pZoomDlg = nullptr;
        return;
    }
    m_pZoomDlg->CreateZoomBitmap(kZoomBitmapSize, kZoomBitmapSize);
    // Defined content before the first paint: this window's own pixels around (100, 100).
    CaptureZoom(&kZoomOpeningPoint);
    CRect main;
    GetWindowRect(&main);
    m_pZoomDlg->m_ptPos = CPoint(main.right, main.top);
    m_pZoomDlg->ShowWindow(SW_SHOWNORMAL);
}

void CPickerDlg::ToggleSliders() {
    if (m_pSliderDlg != nullptr) {
        CloseToolWindow(m_pSliderDlg);
        return;
    }
    m_pSliderDlg = new (std::nothrow) CSliderDlg(this);
    if (m_pSliderDlg == nullptr)
        return;
    if (!m_pSliderDlg->Create(IDD_SLIDERS)) {
        delete m_pSliderDlg;
        m_pSliderDlg = nullptr;
        return;
    }
    GetWindowRect(&m_pSliderDlg->m_rcMain);
    m_pSliderDlg->ShowWindow(SW_SHOWNORMAL);
}

void CPickerDlg::TogglePalette() {
    if (m_pPaletteDlg != nullptr) {
        CloseToolWindow(m_pPaletteDlg);
        return;
    }
    m_pPaletteDlg = new (std::nothrow) CPaletteDlg(this);
    if (m_pPaletteDlg == nullptr)
        return;
    if (!m_pPaletteDlg->Create(IDD_PALETTE)) {
        delete m_pPaletteDlg;
        m_pPaletteDlg = nullptr;
        return;
    }
    GetWindowRect(&m_pPaletteDlg->m_rcMain);
    m_pPaletteDlg->ShowWindow(SW_SHOWNORMAL);
}

// The square is read from the screen through the desktop window's DC at the pointer's screen
// position, which holds on every window system, composited ones included. The bitmap is white
// first, so wherever the screen has no pixel (beyond an edge, between monitors) stays white.
void CPickerDlg::CaptureZoom(const POINT* pt) {
    CPoint centre = *pt;
    ClientToScreen(&centre);
    CWindowDC screen(CWnd::GetDesktopWindow());
    CDC memory;
    memory.CreateCompatibleDC(&screen);
    CBitmap* pOldBitmap = memory.SelectObject(&m_pZoomDlg->m_bmpZoom);
    memory.PatBlt(0, 0, kZoomBitmapSize, kZoomBitmapSize, WHITENESS);
    memory.BitBlt(0, 0, kZoomBitmapSize, kZoomBitmapSize, &screen, centre.x - kZoomReach,
                  centre.y - kZoomReach, SRCCOPY);
    memory.SelectObject(pOldBitmap);
    m_pZoomDlg->DrawZoom();
}

void CPickerDlg::TakeChannelTexts(const CString& red, const CString& green, const CString& blue) {
    const int r = ChannelValue(red);
    const int g = ChannelValue(green);
    const int b = ChannelValue(blue);
    SetOutputText(r, g, b);
    UpdateData(FALSE);
    // The live colour holds the taken colour until the next tick samples the screen again.
    m_crLive = color::PackRgb(r, g, b);
    PaintSwatch(m_strip, m_crLive);
    m_crPicked = m_crLive;
}

// The slider window's texts are read directly: every scroll notification has rewritten them.
// The clipboard is left alone.
void CPickerDlg::TakeSliderColor() {
    if (m_pSliderDlg == nullptr)
        return;
    TakeChannelTexts(m_pSliderDlg->m_strRed, m_pSliderDlg->m_strGreen, m_pSliderDlg->m_strBlue);
}

// A palette click: the swatch's colour is taken and its output text is on the clipboard when
// this returns.
void CPickerDlg::TakePaletteColor() {
    if (m_pPaletteDlg == nullptr)
        return;
    TakeChannelTexts(m_pPaletteDlg->m_strRed, m_pPaletteDlg->m_strGreen, m_pPaletteDlg->m_strBlue);
    CopyOutput();
}
