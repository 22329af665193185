// The framework's one message loop, run by CWinApp::Run and by modal dialogs. Each message is
// first offered to the CWnd objects of its target window and that window's parents up to the
// top-level window (PreTranslateMessage; a dialog there gives keyboard and mouse input to
// IsDialogMessageA); a message consumed there is neither translated nor dispatched.
#pragma once

#include <windows.h>

#include <functional>

namespace framework {

struct LoopEnd {
    bool quit = false;  // WM_QUIT arrived
    int exitCode = 0;   // its wParam
};

// Runs until keepRunning() is false (checked before each message) or WM_QUIT is retrieved.
// onIdle runs whenever the queue is empty, before the loop waits. The outermost loop also
// frees the temporary wrappers FromHandle made (handle_map.h) when it goes idle.
LoopEnd RunMessageLoop(const std::function<bool()>& keepRunning,
                       const std::function<void()>& onIdle);

// PreTranslateMessage of the CWnd objects from pMsg->hwnd up to its top-level window.
BOOL WalkPreTranslateTree(MSG* pMsg);

// Frees every temporary wrapper of windows, DCs, GDI objects and menus.
void DeleteTemporaryWrappers();

}  // namespace framework
