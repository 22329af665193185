// From the display's events to Win32 input messages: keys to the focus window with Win32's
// lParam, pointer events to the window under the pointer (or the capture) in client or
// non-client form, activation by click, double clicks, and the keyboard state.
#include <algorithm>
#include <cstdlib>

#include "platform/winapi/core/internal.h"
#include "platform/winapi/host.h"
#include "platform/winapi/surface/window_canvas.h"

namespace winapi::core {

void MinimizeWindow(HWND hwnd, bool fromDisplay);
void RestoreWindow(HWND hwnd, bool fromDisplay);

namespace {

constexpr std::uint8_t kDown = 0x80;
constexpr std::uint8_t kToggled = 0x01;
constexpr UINT kDoubleClickTime = 500;

// The keys a keyboard sends: their set-1 scan codes, and whether they sit in the enhanced
// keyboard's separate blocks (which Win32 marks with the extended-key flag).
struct KeyEntry {
    int vk;
    int scan;
    bool extended = false;
};

constexpr KeyEntry kKeys[] = {
    {VK_ESCAPE, 0x01},
    {'1', 0x02},
    {'2', 0x03},
    {'3', 0x04},
    {'4', 0x05},
    {'5', 0x06},
    {'6', 0x07},
    {'7', 0x08},
    {'8', 0x09},
    {'9', 0x0A},
    {'0', 0x0B},
    {VK_BACK, 0x0E},
    {VK_TAB, 0x0F},
    {'Q', 0x10},
    {'W', 0x11},
    {'E', 0x12},
    {'R', 0x13},
    {'T', 0x14},
    {'Y', 0x15},
    {'U', 0x16},
    {'I', 0x17},
    {'O', 0x18},
    {'P', 0x19},
    {VK_RETURN, 0x1C},
    {VK_CONTROL, 0x1D},
    {VK_LCONTROL, 0x1D},
    {VK_RCONTROL, 0x1D, true},
    {'A', 0x1E},
    {'S', 0x1F},
    {'D', 0x20},
    {'F', 0x21},
    {'G', 0x22},
    {'H', 0x23},
    {'J', 0x24},
    {'K', 0x25},
    {'L', 0x26},
    {VK_SHIFT, 0x2A},
    {VK_LSHIFT, 0x2A},
    {'Z', 0x2C},
    {'X', 0x2D},
    {'C', 0x2E},
    {'V', 0x2F},
    {'B', 0x30},
    {'N', 0x31},
    {'M', 0x32},
    {VK_DIVIDE, 0x35, true},
    {VK_RSHIFT, 0x36},
    {VK_MULTIPLY, 0x37},
    {VK_SNAPSHOT, 0x37, true},
    {VK_MENU, 0x38},
    {VK_LMENU, 0x38},
    {VK_RMENU, 0x38, true},
    {VK_SPACE, 0x39},
    {VK_CAPITAL, 0x3A},
    {VK_F1, 0x3B},
    {VK_F2, 0x3C},
    {VK_F3, 0x3D},
    {VK_F4, 0x3E},
    {VK_F5, 0x3F},
    {VK_F6, 0x40},
    {VK_F7, 0x41},
    {VK_F8, 0x42},
    {VK_F9, 0x43},
    {VK_F10, 0x44},
    {VK_NUMLOCK, 0x45, true},
    {VK_SCROLL, 0x46},
    {VK_HOME, 0x47, true},
    {VK_UP, 0x48, true},
    {VK_PRIOR, 0x49, true},
    {VK_SUBTRACT, 0x4A},
    {VK_LEFT, 0x4B, true},
    {VK_RIGHT, 0x4D, true},
    {VK_ADD, 0x4E},
    {VK_END, 0x4F, true},
    {VK_DOWN, 0x50, true},
    {VK_NEXT, 0x51, true},
    {VK_INSERT, 0x52, true},
    {VK_DELETE, 0x53, true},
    {VK_F11, 0x57},
    {VK_F12, 0x58},
    {VK_LWIN, 0x5B, true},
    {VK_RWIN, 0x5C, true},
    {VK_APPS, 0x5D, true},
};

const KeyEntry* FindKey(int vk) {
    for (const KeyEntry& entry : kKeys)
        if (entry.vk == vk)
            return &entry;
    return nullptr;
}

// The left and right keys of a pair also set, and are reported as, the pair's generic key.
int GenericKey(int vk) {
    static constexpr struct {
        int sided;
        int generic;
    } kPairs[] = {
        {VK_LSHIFT, VK_SHIFT},     {VK_RSHIFT, VK_SHIFT}, {VK_LCONTROL, VK_CONTROL},
        {VK_RCONTROL, VK_CONTROL}, {VK_LMENU, VK_MENU},   {VK_RMENU, VK_MENU},
    };
    for (const auto& pair : kPairs)
        if (pair.sided == vk)
            return pair.generic;
    return vk;
}

bool IsDown(const std::array<std::uint8_t, 256>& keys, int vk) {
    return (keys[vk & 0xFF] & kDown) != 0;
}

void SetKey(int vk, bool down) {
    auto& keys = SessionState().asyncKeyState;
    auto apply = [&](int key) {
        std::uint8_t& state = keys[key & 0xFF];
        if (down && !(state & kDown))
            state ^= kToggled;
        state = down ? (state | kDown) : (state & ~kDown);
    };
    apply(vk);
    if (GenericKey(vk) != vk)
        apply(GenericKey(vk));
}

WPARAM MouseKeyFlags() {
    const auto& keys = SessionState().asyncKeyState;
    WPARAM flags = 0;
    if (IsDown(keys, VK_LBUTTON))
        flags |= MK_LBUTTON;
    if (IsDown(keys, VK_RBUTTON))
        flags |= MK_RBUTTON;
    if (IsDown(keys, VK_MBUTTON))
        flags |= MK_MBUTTON;
    if (IsDown(keys, VK_SHIFT))
        flags |= MK_SHIFT;
    if (IsDown(keys, VK_CONTROL))
        flags |= MK_CONTROL;
    return flags;
}

InputMessage& Enqueue(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                      const display::Event& event, std::string text = {}) {
    InputMessage input;
    input.msg = {hwnd,
                 message,
                 wParam,
                 lParam,
                 static_cast<DWORD>(event.timeMs),
                 {event.screen.x, event.screen.y}};
    input.keys = SessionState().asyncKeyState;
    input.text = std::move(text);
    SessionState().input.push_back(std::move(input));
    return SessionState().input.back();
}

// Keyboard input for whichever window has the focus when it is retrieved.
void EnqueueForFocus(UINT message, WPARAM wParam, LPARAM lParam, const display::Event& event,
                     bool systemKey = false, std::string text = {}) {
    InputMessage& input = Enqueue(nullptr, message, wParam, lParam, event, std::move(text));
    input.toFocus = true;
    input.systemKey = systemKey;
}

Window* WindowOfSurface(display::SurfaceId id) {
    if (id == 0)
        return nullptr;
    for (HWND hwnd : SessionState().topLevels)
        if (Window* w = PeekWindowRecord(hwnd); w != nullptr && w->surfaceId == id)
            return w;
    return nullptr;
}

// What a key types when the display says nothing: the control characters Win32's keyboard
// layouts give, and Ctrl+letter as the matching control code.
std::string TextOfKey(int vk, const std::string& displayText) {
    const auto& keys = SessionState().asyncKeyState;
    const bool ctrl = IsDown(keys, VK_CONTROL);
    const bool alt = IsDown(keys, VK_MENU);
    if (ctrl && !alt && vk >= 'A' && vk <= 'Z')
        return std::string(1, static_cast<char>(vk - 'A' + 1));
    if (!displayText.empty())
        return displayText;
    static constexpr struct {
        int vk;
        const char* text;
    } kControlKeys[] = {
        {VK_BACK, "\b"}, {VK_TAB, "\t"}, {VK_RETURN, "\r"}, {VK_ESCAPE, "\x1b"}, {VK_SPACE, " "},
    };
    for (const auto& key : kControlKeys)
        if (key.vk == vk)
            return key.text;
    return {};
}

void OnKey(const display::Event& event, bool down) {
    State& state = SessionState();
    const int vk = event.vk & 0xFF;
    const bool wasDown = IsDown(state.asyncKeyState, vk);
    SetKey(vk, down);
    const int messageKey = GenericKey(vk);
    const bool alt = IsDown(state.asyncKeyState, VK_MENU);
    const bool ctrl = IsDown(state.asyncKeyState, VK_CONTROL);
    const bool system = (alt && !ctrl) || messageKey == VK_F10 || (!down && messageKey == VK_MENU);
    const LPARAM lParam =
        KeyLParam(vk, !down, down ? (event.repeat || wasDown) : true, alt && !ctrl);
    EnqueueForFocus(down ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(messageKey), lParam, event,
                    system, down ? TextOfKey(messageKey, event.text) : std::string());
}

struct PointerTarget {
    HWND hwnd = nullptr;
    LRESULT hit = HTNOWHERE;
};

PointerTarget TargetAt(const display::Event& event) {
    State& state = SessionState();
    const POINT screen{event.screen.x, event.screen.y};
    if (state.capture != nullptr)
        return {state.capture, HTCLIENT};
    const HWND hwnd = WindowFromPoint(screen);
    const Window* w = PeekWindowRecord(hwnd);
    if (w == nullptr || w->kind != WindowKind::Normal)
        return {};
    // A disabled top-level window (the owner of a modal dialog) takes no pointer input.
    if (const Window* top = PeekWindowRecord(TopLevelOf(hwnd)); top == nullptr || !top->enabled)
        return {};
    return {hwnd, Send(hwnd, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y))};
}

void EnqueuePointer(const PointerTarget& target, UINT clientMessage, UINT nonClientMessage,
                    const display::Event& event, WPARAM extra = 0) {
    POINT point{event.screen.x, event.screen.y};
    if (target.hit == HTCLIENT) {
        ScreenToClient(target.hwnd, &point);
        Enqueue(target.hwnd, clientMessage, MouseKeyFlags() | extra,
                MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)), event);
    } else if (nonClientMessage != 0) {
        Enqueue(target.hwnd, nonClientMessage, static_cast<WPARAM>(target.hit),
                MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y)), event);
    }
}

void OnPointerMove(const display::Event& event) {
    const PointerTarget target = TargetAt(event);
    if (target.hwnd == nullptr)
        return;
    // Consecutive moves collapse into the latest, as Win32's queue does.
    auto& input = SessionState().input;
    if (!input.empty()) {
        const MSG& last = input.back().msg;
        if ((last.message == WM_MOUSEMOVE || last.message == WM_NCMOUSEMOVE) &&
            last.hwnd == target.hwnd)
            input.pop_back();
    }
    EnqueuePointer(target, WM_MOUSEMOVE, WM_NCMOUSEMOVE, event);
}

struct ButtonMessages {
    int vk;
    UINT down, up, dblclk, ncDown, ncUp, ncDblclk;
};

const ButtonMessages& MessagesOf(display::MouseButton button) {
    static constexpr struct {
        display::MouseButton button;
        ButtonMessages messages;
    } kButtons[] = {
        {display::MouseButton::Left,
         {VK_LBUTTON, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_NCLBUTTONDOWN,
          WM_NCLBUTTONUP, WM_NCLBUTTONDBLCLK}},
        {display::MouseButton::Right,
         {VK_RBUTTON, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_NCRBUTTONDOWN,
          WM_NCRBUTTONUP, WM_NCRBUTTONDBLCLK}},
        {display::MouseButton::Middle,
         {VK_MBUTTON, WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK, 0, 0, 0}},
    };
    for (const auto& entry : kButtons)
        if (entry.button == button)
            return entry.messages;
    return kButtons[0].messages;
}

bool IsDoubleClick(HWND hwnd, UINT message, const display::Event& event) {
    State& state = SessionState();
    const Window* w = PeekWindowRecord(hwnd);
    const ClickMemory last = state.lastClick;
    state.lastClick = {hwnd, message, event.timeMs, {event.screen.x, event.screen.y}};
    if (w == nullptr || w->windowClass == nullptr || !(w->windowClass->style & CS_DBLCLKS))
        return false;
    const bool near =
        std::abs(event.screen.x - last.screen.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
        std::abs(event.screen.y - last.screen.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    if (last.hwnd == hwnd && last.message == message &&
        event.timeMs - last.time <= kDoubleClickTime && near) {
        state.lastClick = {};  // a third press starts a new pair
        return true;
    }
    return false;
}

void OnButton(const display::Event& event, bool down) {
    const ButtonMessages& messages = MessagesOf(event.button);
    SetKey(messages.vk, down);
    PointerTarget target = TargetAt(event);
    if (target.hwnd == nullptr)
        return;
    if (!down) {
        EnqueuePointer(target, messages.up, messages.ncUp, event);
        return;
    }
    State& state = SessionState();
    const HWND top = TopLevelOf(target.hwnd);
    if (state.capture == nullptr && top != state.active) {
        const LRESULT answer = Send(target.hwnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top),
                                    MAKELPARAM(target.hit, messages.down));
        if (answer != MA_NOACTIVATE && answer != MA_NOACTIVATEANDEAT)
            ActivateWindow(top, WA_CLICKACTIVE);
        if (answer == MA_ACTIVATEANDEAT || answer == MA_NOACTIVATEANDEAT)
            return;
        if (PeekWindowRecord(target.hwnd) == nullptr)
            return;
    }
    const bool client = target.hit == HTCLIENT;
    const bool dbl = IsDoubleClick(target.hwnd, client ? messages.down : messages.ncDown, event);
    EnqueuePointer(target, dbl ? messages.dblclk : messages.down,
                   dbl ? messages.ncDblclk : messages.ncDown, event);
}

void OnWheel(const display::Event& event) {
    EnqueueForFocus(
        WM_MOUSEWHEEL, MAKEWPARAM(MouseKeyFlags(), static_cast<WORD>(event.wheelDelta)),
        MAKELPARAM(static_cast<WORD>(event.screen.x), static_cast<WORD>(event.screen.y)), event);
}

void DeactivateApplication() {
    State& state = SessionState();
    const HWND old = state.active;
    if (old == nullptr)
        return;
    const bool minimized = PeekWindowRecord(old) != nullptr && PeekWindowRecord(old)->minimized;
    state.active = nullptr;
    Send(old, WM_NCACTIVATE, FALSE, 0);
    Send(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, minimized), 0);
    if (state.focus != nullptr)
        SetFocus(nullptr);
    for (HWND hwnd : std::vector<HWND>(state.topLevels))
        Send(hwnd, WM_ACTIVATEAPP, FALSE, 0);
}

void OnChar(const display::Event& event) {
    for (unsigned char byte : event.text)
        EnqueueForFocus(WM_CHAR, byte, 1, event);
}

// The window system's news about a surface; surfaceWindow is null when no window has it.
void OnFocusIn(const display::Event&, Window* surfaceWindow) {
    if (surfaceWindow != nullptr && SessionState().active != surfaceWindow->handle)
        ActivateWindow(surfaceWindow->handle, WA_ACTIVE);
}

void OnFocusOut(const display::Event&, Window* surfaceWindow) {
    if (surfaceWindow != nullptr && SessionState().active == surfaceWindow->handle)
        DeactivateApplication();
}

void OnCloseRequest(const display::Event&, Window* surfaceWindow) {
    if (surfaceWindow != nullptr)
        PostTo(surfaceWindow->handle, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void OnExpose(const display::Event& event, Window* surfaceWindow) {
    if (surfaceWindow != nullptr && surfaceWindow->surface)
        MarkCanvasDirty(surfaceWindow->surface.get(), event.area);
}

void OnMoved(const display::Event& event, Window* surfaceWindow) {
    if (surfaceWindow == nullptr || surfaceWindow->minimized)
        return;
    const HWND hwnd = surfaceWindow->handle;
    const RECT old = surfaceWindow->windowRect;
    surfaceWindow->windowRect = {event.area.left, event.area.top,
                                 event.area.left + (old.right - old.left),
                                 event.area.top + (old.bottom - old.top)};
    WINDOWPOS pos{hwnd,
                  nullptr,
                  event.area.left,
                  event.area.top,
                  old.right - old.left,
                  old.bottom - old.top,
                  SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE};
    Send(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
}

void OnMinimized(const display::Event&, Window* surfaceWindow) {
    if (surfaceWindow != nullptr)
        MinimizeWindow(surfaceWindow->handle, true);
}

void OnRestored(const display::Event&, Window* surfaceWindow) {
    if (surfaceWindow == nullptr)
        return;
    const HWND hwnd = surfaceWindow->handle;
    RestoreWindow(hwnd, true);
    ActivateWindow(hwnd, WA_ACTIVE);
}

// One handler for each kind of display event, as the display delivers them.
void HandleEvent(const display::Event& event) {
    using display::EventType;
    using Handler = void (*)(const display::Event& event, Window* surfaceWindow);
    static constexpr struct {
        EventType type;
        Handler handle;
    } kHandlers[] = {
        {EventType::KeyDown, [](const display::Event& e, Window*) { OnKey(e, true); }},
        {EventType::KeyUp, [](const display::Event& e, Window*) { OnKey(e, false); }},
        {EventType::Char, [](const display::Event& e, Window*) { OnChar(e); }},
        {EventType::PointerMove, [](const display::Event& e, Window*) { OnPointerMove(e); }},
        {EventType::ButtonDown, [](const display::Event& e, Window*) { OnButton(e, true); }},
        {EventType::ButtonUp, [](const display::Event& e, Window*) { OnButton(e, false); }},
        {EventType::Wheel, [](const display::Event& e, Window*) { OnWheel(e); }},
        {EventType::FocusIn, &OnFocusIn},
        {EventType::FocusOut, &OnFocusOut},
        {EventType::CloseRequest, &OnCloseRequest},
        {EventType::Expose, &OnExpose},
        {EventType::Moved, &OnMoved},
        {EventType::Minimized, &OnMinimized},
        {EventType::Restored, &OnRestored},
    };
    for (const auto& entry : kHandlers)
        if (entry.type == event.type) {
            entry.handle(event, WindowOfSurface(event.surface));
            return;
        }
}

}  // namespace

LPARAM KeyLParam(int vk, bool up, bool previouslyDown, bool alt) {
    DWORD lParam = 1;  // repeat count: each auto-repeat arrives as its own message
    if (const KeyEntry* key = FindKey(vk)) {
        lParam |= static_cast<DWORD>(key->scan) << 16;
        if (key->extended)
            lParam |= 1u << 24;
    }
    if (alt)
        lParam |= 1u << 29;
    if (previouslyDown)
        lParam |= 1u << 30;
    if (up)
        lParam |= 1u << 31;
    return static_cast<LPARAM>(lParam);
}

bool SettleKeyboardTarget(InputMessage& input) {
    const State& state = SessionState();
    MSG& msg = input.msg;
    // With no focus window, keys go to the active window as system keys.
    const bool system = input.systemKey || state.focus == nullptr;
    msg.hwnd = state.focus != nullptr ? state.focus : state.active;
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN)
        msg.message = system ? WM_SYSKEYDOWN : WM_KEYDOWN;
    else if (msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP)
        msg.message = system ? WM_SYSKEYUP : WM_KEYUP;
    return msg.hwnd != nullptr;
}

void PumpBackendEvents() {
    display::Backend& backend = CurrentBackend();
    while (auto event = backend.NextEvent())
        HandleEvent(*event);
}

}  // namespace winapi::core

using namespace winapi::core;

SHORT WINAPI GetKeyState(int nVirtKey) {
    const std::uint8_t state = SessionState().keyState[nVirtKey & 0xFF];
    return static_cast<SHORT>(((state & 0x80) ? 0xFF80 : 0) | (state & 0x01));
}

SHORT WINAPI GetAsyncKeyState(int vKey) {
    PumpBackendEvents();
    return (SessionState().asyncKeyState[vKey & 0xFF] & 0x80) ? static_cast<SHORT>(0x8000) : 0;
}

BOOL WINAPI GetCursorPos(LPPOINT lpPoint) {
    if (lpPoint == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const display::Point p = winapi::CurrentBackend().PointerPosition();
    *lpPoint = {p.x, p.y};
    return TRUE;
}

BOOL WINAPI SetCursorPos(int X, int Y) {
    const display::Rect screen = winapi::CurrentBackend().ScreenBounds();
    // The pointer never leaves the screen.
    X = std::clamp(X, screen.left, screen.right - 1);
    Y = std::clamp(Y, screen.top, screen.bottom - 1);
    winapi::CurrentBackend().WarpPointer({X, Y});
    return TRUE;
}

UINT WINAPI GetDoubleClickTime(void) {
    return 500;
}
