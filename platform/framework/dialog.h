// CDialog: a dialog from a template in the program's resources, modal (DoModal) or modeless
// (Create). Its messages go through the message map; IDOK and IDCANCEL commands run the
// virtual OnOK and OnCancel unless the derived map handles them.
//
// DoModal disables the owner (the parent's top-level window, or the program's main window
// when there is no parent) while the dialog runs in the framework's message loop, re-enables
// it before the dialog is destroyed and returns EndDialog's value, or -1 when the dialog could
// not be created or WM_QUIT ended the loop (WM_QUIT is posted again for the outer loop).
// A dialog whose template puts it at (0, 0) is centred after OnInitDialog, unless
// OnInitDialog moved or showed it, or its owner is enabled.
#pragma once

#include <windows.h>

#include "platform/framework/wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    CWnd* m_pParentWnd = nullptr;
    UINT m_nIDTemplate = 0;

    virtual INT_PTR DoModal();
    // Modeless; with no parent the program's main window owns it. FALSE when the template is
    // missing or the window could not be made. Destroy the window before the object: once the
    // derived class's members are gone, its handlers must not run.
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // Ends a modal dialog's loop with nResult; hides a modeless dialog (::EndDialog).
    void EndDialog(int nResult);

    // Default: loads the members into the controls (UpdateData(FALSE)) and returns TRUE, so
    // that the dialog manager gives the focus to the first control.
    virtual BOOL OnInitDialog();
    // Default: saves the controls into the members and ends with IDOK unless that failed.
    virtual void OnOK();
    // Default: ends with IDCANCEL.
    virtual void OnCancel();

    // Keyboard and mouse input for the dialog or its controls goes to IsDialogMessageA.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    const MessageMap& GetMessageMap() const override;

    void GotoDlgCtrl(CWnd* pWndCtrl);
    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void SetDefID(UINT nID);
    DWORD GetDefID() const;

protected:
    CDialog() = default;

private:
    friend INT_PTR CALLBACK FrameworkDialogProc(HWND, UINT, WPARAM, LPARAM);

    // The window made from the template, subclassed by this object; nullptr on failure.
    HWND CreateFromTemplate(UINT nIDTemplate, HWND hWndParent);
    HWND ModalOwner() const;
    BOOL HandleInitDialog();

    int m_modalResult = -1;
    bool m_inModalLoop = false;
    bool m_continueModal = false;
    bool m_centreAfterInit = false;
};

// The dialog procedure of framework dialogs: adopts the dialog being created and runs
// OnInitDialog; everything else reaches the CDialog through its window procedure.
INT_PTR CALLBACK FrameworkDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam);
