#include "platform/winapi/ui/modal_loop.h"

namespace winapi::ui {
namespace {

constexpr UINT kNonClientMouseLast = 0x00A9;  // WM_NCMBUTTONDBLCLK

}  // namespace

bool ModalLoop::IsMouse(UINT message) {
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= kNonClientMouseLast);
}

bool ModalLoop::IsKey(UINT message) {
    return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

bool ModalLoop::NextInput(MSG& msg) {
    for (;;) {
        if (!m_running())
            return false;
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            WaitMessage();
            continue;
        }
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        // Input queued before the tracking took the capture may name the non-client area;
        // trackers read only the screen point, so it comes as the client message.
        if (msg.message >= WM_NCMOUSEMOVE && msg.message <= kNonClientMouseLast)
            msg.message += WM_MOUSEMOVE - WM_NCMOUSEMOVE;
        if (IsMouse(msg.message) || IsKey(msg.message))
            return true;
        DispatchMessageA(&msg);
    }
}

}  // namespace winapi::ui
