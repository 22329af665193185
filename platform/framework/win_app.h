// CWinApp: the program object. The program defines exactly one, as a global; its constructor
// makes it the one AfxGetApp returns. AfxWinMain (called by WinMain) fills in the module,
// command line and show state, then runs InitInstance: a dialog-based program shows its main
// dialog modally there and returns FALSE, which ends the program with ExitInstance's result.
// Returning TRUE runs the message loop (Run) until WM_QUIT.
#pragma once

#include <windows.h>

#include <string>

#include "platform/framework/cstring.h"
#include "platform/framework/tchar_types.h"

class CWnd;

class CWinApp {
public:
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    HINSTANCE m_hInstance = nullptr;
    // The command line after the program name and the blanks that follow it.
    LPTSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    // The name given to the constructor, else the program file's name without its extension.
    LPCTSTR m_pszAppName = nullptr;
    // The program file's name without folders and extension.
    LPCTSTR m_pszExeName = nullptr;
    // The main window: destroying it ends the message loop (WM_QUIT is posted).
    CWnd* m_pMainWnd = nullptr;

    virtual BOOL InitInstance();
    // The exit code of the program: the code WM_QUIT carried, 0 if the loop never ran.
    virtual int ExitInstance();
    virtual int Run();
    // Offers a message to the windows it is aimed at, from the target up through its parents
    // to its top-level window; TRUE when one of them consumed it.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    // Controls have had the 3-D look for as long as this program has existed: nothing to do.
    BOOL Enable3dControls() { return TRUE; }
    BOOL Enable3dControlsStatic() { return TRUE; }

    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadIcon(LPCTSTR lpszResourceName) const;
    HICON LoadStandardIcon(LPCTSTR lpszIconName) const;

private:
    friend int AfxWinMain(HINSTANCE, HINSTANCE, LPTSTR, int);

    std::string m_appName;
    std::string m_exeName;
    int m_exitCode = 0;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// The program module: the application's m_hInstance, or the running module before AfxWinMain.
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();

// The framework's WinMain (declared by <windows.h>) calls it.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
