// The window system's state for one session: classes, windows, stacking, activation, focus,
// capture, the message queue, timers and the keyboard state. One thread owns all of it.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <windows.h>

#include "platform/winapi/core/window.h"

namespace winapi::core {

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT elapse = 0;
    TIMERPROC proc = nullptr;
    std::uint64_t due = 0;
};

// An input message waiting in the queue, with the keyboard state as it was when the input
// happened (GetKeyState reports that state once the message is retrieved) and, for a key
// press, the characters it types (TranslateMessage turns them into WM_CHAR).
struct InputMessage {
    MSG msg{};
    std::array<std::uint8_t, 256> keys{};
    std::string text;
    // Keyboard input (keys, characters, the wheel) goes to the focus window as it is when the
    // message is retrieved, as in Win32: keys typed right after a click reach the window that
    // the click focused. msg.hwnd is settled then; msg.message is the plain form, which becomes
    // the system key's form when systemKey is set or no window has the focus.
    bool toFocus = false;
    bool systemKey = false;
};

struct ClickMemory {
    HWND hwnd = nullptr;
    UINT message = 0;
    std::uint64_t time = 0;
    POINT screen{};
};

struct State {
    std::map<std::string, std::unique_ptr<WindowClass>> classes;  // by lower-case name
    ATOM nextAtom = 0xC000;

    WindowTable windows;
    HWND desktop = nullptr;
    std::vector<HWND> topLevels;  // stacking order, top first

    HWND active = nullptr;
    HWND focus = nullptr;
    HWND capture = nullptr;

    std::deque<MSG> posted;
    std::deque<InputMessage> input;
    MSG lastKey{};  // the last key message retrieved, and what it types
    std::string lastKeyText;
    bool quitPosted = false;
    int quitCode = 0;

    std::vector<Timer> timers;
    UINT_PTR nextTimerId = 1;

    std::array<std::uint8_t, 256> keyState{};       // as of the last message retrieved
    std::array<std::uint8_t, 256> asyncKeyState{};  // as of the last event seen
    ClickMemory lastClick;

    DWORD messageTime = 0;
    POINT messagePos{};

    // Surfaces with changes not yet presented, and the changed rectangles.
    std::map<display::SurfaceId, std::vector<display::Rect>> dirty;
};

// The running session's state; created on first use, discarded when the session ends.
State& SessionState();

// The window behind hwnd, or null (and ERROR_INVALID_WINDOW_HANDLE) when there is none.
Window* FindWindowRecord(HWND hwnd);
// The same without touching the last error.
Window* PeekWindowRecord(HWND hwnd);

}  // namespace winapi::core
