// The message loop that runs inside a menu and inside the non-client area's mouse and keyboard
// tracking (a held caption box, a window being moved). It hands the tracker the mouse and key
// messages and dispatches everything else itself, so painting, posted messages and timers keep
// running meanwhile: Win32 keeps dispatching them during its menu and move loops, and the
// program's views go on updating while a menu is open.
#pragma once

#include <functional>

#include <windows.h>

namespace winapi::ui {

class ModalLoop {
public:
    // running is asked before each wait and after each message dispatched here: a handler run
    // by the loop may end the tracking (EndMenu, a destroyed window, a lost capture).
    explicit ModalLoop(std::function<bool()> running) : m_running(std::move(running)) {}

    // The next mouse or key message, removed from the queue, a non-client mouse message turned
    // into its client form (the point is in msg.pt); false when the tracking should end:
    // running said so, or WM_QUIT came (it is posted again for the program's own loop).
    bool NextInput(MSG& msg);

    static bool IsMouse(UINT message);
    static bool IsKey(UINT message);

private:
    std::function<bool()> m_running;
};

}  // namespace winapi::ui
