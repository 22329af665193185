#include "app/picker_app.h"

#include "picker/picker_dlg.h"
#include "resource.h"

CPickerApp theApp;

// No name of its own: the framework names the application after the program file.
CPickerApp::CPickerApp() = default;

BOOL CPickerApp::InitInstance() {
    Enable3dControlsStatic();

    // The mutex comes first, so even a copy that is about to refuse its arguments holds it.
    CreateMutexA(nullptr, TRUE, m_pszExeName);
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CString title;
        title.LoadString(IDS_WINDOW_TITLE);
        if (HWND running = ::FindWindowA(nullptr, title)) {
            ::ShowWindow(running, SW_RESTORE);
            ::SetForegroundWindow(running);
        }
        return FALSE;
    }
    if (m_lpCmdLine != nullptr && *m_lpCmdLine != '\0')
        return FALSE;

    CPickerDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    return FALSE;
}
