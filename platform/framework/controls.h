// The control classes: a CWnd with the messages of one control class as member functions.
// They work on any control of that class, attached (DDX_Control, SubclassDlgItem) or not
// (GetDlgItem's temporary, cast by FromHandle).
#pragma once

#include <windows.h>

#include "platform/framework/wnd.h"

class CStatic : public CWnd {
public:
    static CStatic* FromHandle(HWND hWnd);
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
};

class CButton : public CWnd {
public:
    static CButton* FromHandle(HWND hWnd);
    int GetCheck() const;
    void SetCheck(int nCheck);
    UINT GetState() const;
    void SetState(BOOL bHighlight);
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);
    void Click();
};

class CEdit : public CWnd {
public:
    static CEdit* FromHandle(HWND hWnd);
    // Start and end of the selection: LOWORD and HIWORD.
    DWORD GetSel() const;
    void GetSel(int& nStartChar, int& nEndChar) const;
    void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE);
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE);
    void Copy();
    void Cut();
    void Paste();
    void Clear();
    BOOL Undo();
    BOOL CanUndo() const;
    BOOL GetModify() const;
    void SetModify(BOOL bModified = TRUE);
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
    void SetLimitText(UINT nMax);
    UINT GetLimitText() const;
    int GetLineCount() const;
};

class CScrollBar : public CWnd {
public:
    static CScrollBar* FromHandle(HWND hWnd);
    int GetScrollPos() const;
    int SetScrollPos(int nPos, BOOL bRedraw = TRUE);
    void GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const;
    void SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
    BOOL SetScrollInfo(LPSCROLLINFO lpScrollInfo, BOOL bRedraw = TRUE);
    BOOL GetScrollInfo(LPSCROLLINFO lpScrollInfo, UINT nMask = SIF_ALL) const;
};
