// CWnd: a C++ object attached to a window. Messages for a subclassed window go through the
// class's message map; what the map does not handle goes to the window's previous procedure.
//
// Handles and objects: FromHandle returns the CWnd the program attached to a window (a
// permanent object), or else a temporary CWnd that the framework owns and deletes when the
// outermost message loop next goes idle (or on DeleteTempMap): keep such a pointer only for
// the handler that received it. A subclassed window lets go of its CWnd after WM_NCDESTROY:
// m_hWnd becomes NULL and PostNcDestroy runs, where a heap-allocated window may delete itself.
#pragma once

#include <windows.h>

#include "platform/framework/cstring.h"
#include "platform/framework/geometry.h"
#include "platform/framework/message_map.h"

// <windowsx.h> defines SubclassWindow as a macro of two arguments, which would hide the member.
#ifdef SubclassWindow
#undef SubclassWindow
#endif

class CDataExchange;
class CDC;
class CMenu;
class CScrollBar;

class CWnd {
public:
    CWnd() = default;
    // Destroys the window if this object is still attached to it.
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    operator HWND() const { return m_hWnd; }  // NOLINT
    HWND GetSafeHwnd() const { return m_hWnd; }

    // Insert-after positions for SetWindowPos.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    // --- Objects and handles ---
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    static void DeleteTempMap();
    // FALSE when hWnd is not a window, this object already has one, or another object is
    // already attached to hWnd.
    BOOL Attach(HWND hWnd);
    HWND Detach();
    // Attach, and route the window's messages through this object's message map; the
    // previous window procedure handles what the map does not (Default()).
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    // --- Messages ---
    virtual const MessageMap& GetMessageMap() const;
    // Called by the message loop for each message aimed at this window or a descendant
    // before it is translated and dispatched; TRUE consumes it.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // WM_COMMAND: menu items, accelerators and control notifications, by id and code.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // The previous window procedure, or DefWindowProcA for a window never subclassed.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The message being handled, passed on unchanged to DefWindowProc.
    LRESULT Default();
    // The message the framework is handling now, or nullptr outside of one.
    static const MSG* GetCurrentMessage();
    virtual void PostNcDestroy();
    virtual BOOL DestroyWindow();

    // --- Data exchange ---
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);

    // --- The window ---
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    int GetDlgCtrlID() const;
    CWnd* GetDlgItem(int nID) const;
    CWnd* GetParent() const;
    CWnd* GetOwner() const;
    CWnd* GetTopLevelParent() const;
    CWnd* GetWindow(UINT nCmd) const;
    void SetWindowText(LPCTSTR lpszString);
    int GetWindowText(LPTSTR lpszString, int nMaxCount) const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    void SetDlgItemText(int nID, LPCTSTR lpszString);
    int GetDlgItemText(int nID, CString& rString) const;
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    BOOL ShowWindow(int nCmdShow);
    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    // Centres on the owner (or pAlternateOwner) when it is visible and not minimised, else on
    // the screen; a child centres in its parent's client area. The window is kept on screen.
    void CenterWindow(CWnd* pAlternateOwner = nullptr);
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    HICON GetIcon(BOOL bBigIcon) const;
    CMenu* GetSystemMenu(BOOL bRevert) const;
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr);
    BOOL KillTimer(UINT_PTR nIDEvent);
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, UINT flags = RDW_INVALIDATE | RDW_ERASE);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL IsWindowVisible() const;
    BOOL IsWindowEnabled() const;
    BOOL IsIconic() const;
    BOOL IsZoomed() const;
    BOOL IsChild(const CWnd* pWnd) const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    CWnd* SetFocus();
    static CWnd* GetFocus();
    static CWnd* GetActiveWindow();
    static CWnd* GetDesktopWindow();
    CWnd* SetActiveWindow();
    BOOL SetForegroundWindow();
    static CWnd* GetForegroundWindow();
    CDC* GetDC();
    CDC* GetWindowDC();
    int ReleaseDC(CDC* pDC);
    BOOL CheckRadioButton(int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
    UINT IsDlgButtonChecked(int nIDButton) const;
    void CheckDlgButton(int nIDButton, UINT nCheck);

protected:
    // Default handlers: each passes the message on unchanged (Default()). A handler that
    // decides not to handle a message calls its base class's version.
    void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    void OnCancelMode();
    void OnCaptureChanged(CWnd* pWnd);
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnClose();
    void OnContextMenu(CWnd* pWnd, CPoint pos);
    int OnCreate(CREATESTRUCT* lpCreateStruct);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnDestroy();
    void OnEnable(BOOL bEnable);
    void OnEnterMenuLoop(BOOL bIsTrackPopupMenu);
    void OnEnterSizeMove();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnExitMenuLoop(BOOL bIsTrackPopupMenu);
    void OnExitSizeMove();
    UINT OnGetDlgCode();
    void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnInitMenu(CMenu* pMenu);
    void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnKillFocus(CWnd* pNewWnd);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnMButtonDown(UINT nFlags, CPoint point);
    void OnMButtonUp(UINT nFlags, CPoint point);
    int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
    void OnMouseMove(UINT nFlags, CPoint point);
    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    void OnMove(int x, int y);
    void OnMoving(UINT fwSide, LPRECT pRect);
    BOOL OnNcActivate(BOOL bActive);
    void OnNcDestroy();
    LRESULT OnNcHitTest(CPoint point);
    void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    void OnNcLButtonDown(UINT nHitTest, CPoint point);
    void OnNcLButtonUp(UINT nHitTest, CPoint point);
    void OnNcMouseMove(UINT nHitTest, CPoint point);
    void OnNcRButtonDown(UINT nHitTest, CPoint point);
    void OnNcRButtonUp(UINT nHitTest, CPoint point);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnRButtonDblClk(UINT nFlags, CPoint point);
    void OnRButtonDown(UINT nFlags, CPoint point);
    void OnRButtonUp(UINT nFlags, CPoint point);
    BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    void OnSetFocus(CWnd* pOldWnd);
    void OnShowWindow(BOOL bShow, UINT nStatus);
    void OnSize(UINT nType, int cx, int cy);
    void OnSysChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    void OnTimer(UINT_PTR nIDEvent);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnWindowPosChanged(WINDOWPOS* lpwndpos);
    void OnWindowPosChanging(WINDOWPOS* lpwndpos);

private:
    friend LRESULT CALLBACK FrameworkWindowProc(HWND, UINT, WPARAM, LPARAM);
    friend class CDialog;

    explicit CWnd(HWND special) : m_hWnd(special) {}

    // After WM_NCDESTROY has been handled: restores the previous procedure, lets go of the
    // window, ends the program if this was its main window, then PostNcDestroy.
    void FinishNcDestroy();

    WNDPROC m_superProc = nullptr;
};

// Routes a window's messages to the CWnd attached to it.
LRESULT CALLBACK FrameworkWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
