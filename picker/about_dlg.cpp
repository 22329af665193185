#include "picker/about_dlg.h"

#include "resource.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

const MessageMap& CAboutDlg::GetMessageMap() const {
    static const MessageMap map = MessageMap::Derived<CAboutDlg>(CDialog::GetMessageMap())
                                      .On(WM_LBUTTONDOWN, &CAboutDlg::OnLButtonDown);
    return map;
}

void CAboutDlg::DoDataExchange(CDataExchange*) {}

// The texts and the icon let clicks through to the box, so a press anywhere lands here.
void CAboutDlg::OnLButtonDown(UINT, CPoint) {
    SendMessage(WM_CLOSE);
}
