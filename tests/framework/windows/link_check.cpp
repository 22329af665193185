// A Windows program with the whole framework linked in, so that every Win32 function the
// framework calls must exist in the system's libraries, and WinMain is found where the
// system's start-up code looks for it.
#include "platform/framework/framework.h"

namespace {

class CLinkCheckApp : public CWinApp {
public:
    BOOL InitInstance() override {
        CDialog dialog(100);
        m_pMainWnd = &dialog;
        dialog.DoModal();
        return FALSE;
    }
};

CLinkCheckApp theApp;

}  // namespace
