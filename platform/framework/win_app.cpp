#include "platform/framework/win_app.h"

#include <cstdio>
#include <cstdlib>

#include "platform/framework/command_line.h"
#include "platform/framework/message_loop.h"
#include "platform/framework/wnd.h"

namespace {

CWinApp* g_app = nullptr;

// The file name of the module without folders and extension: "C:\x\tintaro.exe" -> "tintaro".
std::string ModuleBaseName(HINSTANCE instance) {
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(instance, path, MAX_PATH);
    std::string name(path, length < MAX_PATH ? length : 0);
    const std::size_t slash = name.find_last_of("\\/");
    if (slash != std::string::npos) {
        name.erase(0, slash + 1);
    }
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) {
        name.erase(dot);
    }
    return name;
}

}  // namespace

CWinApp::CWinApp(LPCTSTR lpszAppName) {
    if (g_app != nullptr) {
        std::fprintf(stderr, "CWinApp: a program has one application object; a second was made\n");
        std::abort();
    }
    g_app = this;
    if (lpszAppName != nullptr) {
        m_appName = lpszAppName;
        m_pszAppName = m_appName.c_str();
    }
}

CWinApp::~CWinApp() {
    if (g_app == this) {
        g_app = nullptr;
    }
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    return m_exitCode;
}

int CWinApp::Run() {
    const framework::LoopEnd end = framework::RunMessageLoop([] { return true; }, nullptr);
    m_exitCode = end.exitCode;
    return ExitInstance();
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg) {
    return framework::WalkPreTranslateTree(pMsg);
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
    return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource));
}

HICON CWinApp::LoadIcon(LPCTSTR lpszResourceName) const {
    return ::LoadIconA(AfxGetResourceHandle(), lpszResourceName);
}

HICON CWinApp::LoadStandardIcon(LPCTSTR lpszIconName) const {
    return ::LoadIconA(nullptr, lpszIconName);
}

CWinApp* AfxGetApp() {
    return g_app;
}

CWnd* AfxGetMainWnd() {
    return g_app != nullptr ? g_app->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetInstanceHandle() {
    if (g_app != nullptr && g_app->m_hInstance != nullptr) {
        return g_app->m_hInstance;
    }
    return ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle() {
    return AfxGetInstanceHandle();
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPTSTR, int nCmdShow) {
    CWinApp* app = AfxGetApp();
    if (app == nullptr) {
        std::fprintf(stderr, "AfxWinMain: the program defines no application object\n");
        return -1;
    }
    app->m_hInstance = hInstance != nullptr ? hInstance : ::GetModuleHandleA(nullptr);
    // Taken from GetCommandLineA, as the system's start-up code does for lpCmdLine, so that it
    // is the same however the program was entered.
    app->m_lpCmdLine = framework::SkipProgramName(::GetCommandLineA());
    app->m_nCmdShow = nCmdShow;
    app->m_exeName = ModuleBaseName(app->m_hInstance);
    app->m_pszExeName = app->m_exeName.c_str();
    if (app->m_pszAppName == nullptr) {
        app->m_appName = app->m_exeName;
        app->m_pszAppName = app->m_appName.c_str();
    }
    if (!app->InitInstance()) {
        if (app->m_pMainWnd != nullptr && app->m_pMainWnd->m_hWnd != nullptr) {
            app->m_pMainWnd->DestroyWindow();
        }
        return app->ExitInstance();
    }
    return app->Run();
}

// <windows.h> declares it, with the linkage the system's start-up code expects.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nShowCmd) {
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nShowCmd);
}
