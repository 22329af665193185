#include "platform/framework/message_loop.h"

#include "platform/framework/dc.h"
#include "platform/framework/gdi_object.h"
#include "platform/framework/menu.h"
#include "platform/framework/win_app.h"
#include "platform/framework/wnd.h"

namespace framework {
namespace {

int g_loopDepth = 0;

class LoopDepthScope {
public:
    LoopDepthScope() { ++g_loopDepth; }
    ~LoopDepthScope() { --g_loopDepth; }
    LoopDepthScope(const LoopDepthScope&) = delete;
    LoopDepthScope& operator=(const LoopDepthScope&) = delete;
    // Inner loops run inside a handler of the outer one, which may still hold temporaries; so
    // does a loop entered from a handler that another loop (a menu's, a test's) dispatched.
    bool Outermost() const { return g_loopDepth == 1 && CWnd::GetCurrentMessage() == nullptr; }
};

BOOL PreTranslate(MSG* msg) {
    if (CWinApp* app = AfxGetApp()) {
        return app->PreTranslateMessage(msg);
    }
    return WalkPreTranslateTree(msg);
}

}  // namespace

void DeleteTemporaryWrappers() {
    CWnd::DeleteTempMap();
    CDC::DeleteTempMap();
    CGdiObject::DeleteTempMap();
    CMenu::DeleteTempMap();
}

BOOL WalkPreTranslateTree(MSG* pMsg) {
    if (pMsg == nullptr) {
        return FALSE;
    }
    for (HWND hwnd = pMsg->hwnd; hwnd != nullptr; hwnd = ::GetParent(hwnd)) {
        if (CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
            wnd != nullptr && wnd->PreTranslateMessage(pMsg)) {
            return TRUE;
        }
        // GetParent of a top-level window is its owner, which is not asked.
        if ((::GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) == 0) {
            break;
        }
    }
    return FALSE;
}

LoopEnd RunMessageLoop(const std::function<bool()>& keepRunning,
                       const std::function<void()>& onIdle) {
    LoopDepthScope depth;
    MSG msg{};
    while (keepRunning()) {
        if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (depth.Outermost()) {
                DeleteTemporaryWrappers();
            }
            if (onIdle) {
                onIdle();
            }
            if (!keepRunning()) {
                break;
            }
        }
        const BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            return {true, static_cast<int>(msg.wParam)};
        }
        if (got == -1) {
            // Only bad arguments make GetMessageA fail; ending beats spinning.
            return {true, -1};
        }
        if (!PreTranslate(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
    }
    return {};
}

}  // namespace framework
