// Dialog data exchange: DoDataExchange lists the controls and the members they show, and
// UpdateData runs it one way or the other. Loading (FALSE) writes members into controls,
// saving (TRUE) reads controls into members. A control id the dialog does not have leaves the
// member as it was and makes UpdateData return FALSE.
#pragma once

#include <windows.h>

#include "platform/framework/cstring.h"

class CWnd;

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    BOOL m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

    // The control's window, or nullptr (and the exchange marked failed) when there is none.
    HWND PrepareCtrl(int nIDC);
    void Fail() { m_failed = true; }
    bool HasFailed() const { return m_failed; }

private:
    bool m_failed = false;
};

// Save: the control's text into value. Load: value into the control, only when it differs,
// so that a refresh with the same text neither repaints nor moves the selection.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// Attaches rControl to the control (subclassing it) the first time; later calls do nothing.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// The radio group that starts at nIDC and runs up to the next control with WS_GROUP. Save:
// the index of the checked button among the group's radio buttons, -1 when none is checked.
// Load: checks the button at value and unchecks the others (none for an index out of range).
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
