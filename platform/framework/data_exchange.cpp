#include "platform/framework/data_exchange.h"

#include "platform/framework/wnd.h"

HWND CDataExchange::PrepareCtrl(int nIDC) {
    const HWND control = m_pDlgWnd != nullptr ? ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) : nullptr;
    if (control == nullptr) {
        Fail();
    }
    return control;
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    if (pDX == nullptr) {
        return;
    }
    const HWND control = pDX->PrepareCtrl(nIDC);
    if (control == nullptr) {
        return;
    }
    CString shown;
    CWnd::FromHandle(control)->GetWindowText(shown);
    if (pDX->m_bSaveAndValidate) {
        value = shown;
    } else if (shown != value) {
        ::SetWindowTextA(control, value);
    }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (pDX == nullptr || rControl.m_hWnd != nullptr) {
        return;
    }
    const HWND control = pDX->PrepareCtrl(nIDC);
    if (control != nullptr && !rControl.SubclassWindow(control)) {
        pDX->Fail();
    }
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value) {
    if (pDX == nullptr) {
        return;
    }
    HWND control = pDX->PrepareCtrl(nIDC);
    if (control == nullptr) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        value = -1;
    }
    // Only radio buttons count towards the index; other controls in the group are passed over.
    int index = 0;
    do {
        if ((::SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0) {
            if (pDX->m_bSaveAndValidate) {
                if (value == -1 && ::SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED) {
                    value = index;
                }
            } else {
                ::SendMessageA(control, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED,
                               0);
            }
            ++index;
        }
        control = ::GetWindow(control, GW_HWNDNEXT);
    } while (control != nullptr && (::GetWindowLongA(control, GWL_STYLE) & WS_GROUP) == 0);
}
