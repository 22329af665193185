// The one message queue: posted messages first, then input, then WM_QUIT, then WM_PAINT for a
// window with an invalid part, and WM_TIMER only when nothing else is waiting. Sent messages
// are direct calls. A timer that came due several times while the queue was busy gives one
// WM_TIMER, as Win32's do.
#include <algorithm>
#include <limits>

#include "platform/winapi/core/internal.h"
#include "platform/winapi/host.h"
#include "platform/winapi/surface/window_canvas.h"

namespace winapi::core {
namespace {

constexpr UINT kMinimumTimerElapse = 10;  // USER_TIMER_MINIMUM
constexpr UINT kMaximumTimerElapse = 0x7FFFFFFF;
const HWND kThreadMessagesOnly = reinterpret_cast<HWND>(-1);

bool MatchesWindow(HWND messageWindow, HWND filter) {
    if (filter == nullptr)
        return true;
    if (filter == kThreadMessagesOnly)
        return messageWindow == nullptr;
    return messageWindow == filter || IsChild(filter, messageWindow);
}

bool MatchesRange(UINT message, UINT min, UINT max) {
    if (min == 0 && max == 0)
        return true;
    return message >= min && message <= max;
}

MSG Stamp(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg{hwnd, message, wParam, lParam, static_cast<DWORD>(Now()), {}};
    const display::Point p = CurrentBackend().PointerPosition();
    msg.pt = {p.x, p.y};
    return msg;
}

void NoteRetrieved(const MSG& msg) {
    State& state = SessionState();
    state.messageTime = msg.time;
    state.messagePos = msg.pt;
}

std::optional<std::uint64_t> NextTimerDue() {
    std::optional<std::uint64_t> due;
    for (const Timer& t : SessionState().timers)
        if (!due || t.due < *due)
            due = t.due;
    return due;
}

bool Retrieve(MSG* out, HWND filter, UINT min, UINT max, bool remove) {
    State& state = SessionState();
    PumpBackendEvents();

    for (auto it = state.posted.begin(); it != state.posted.end(); ++it) {
        if (!MatchesWindow(it->hwnd, filter) || !MatchesRange(it->message, min, max))
            continue;
        *out = *it;
        if (remove)
            state.posted.erase(it);
        NoteRetrieved(*out);
        return true;
    }
    for (auto it = state.input.begin(); it != state.input.end();) {
        if (it->toFocus && !SettleKeyboardTarget(*it)) {
            it = state.input.erase(it);  // nothing of ours is active: no window takes it
            continue;
        }
        if (!MatchesWindow(it->msg.hwnd, filter) || !MatchesRange(it->msg.message, min, max)) {
            ++it;
            continue;
        }
        *out = it->msg;
        if (remove) {
            state.keyState = it->keys;
            if (out->message >= WM_KEYFIRST && out->message <= WM_KEYLAST) {
                state.lastKey = *out;
                state.lastKeyText = std::move(it->text);
            }
            state.input.erase(it);
        }
        NoteRetrieved(*out);
        return true;
    }
    if (state.quitPosted && (filter == nullptr || filter == kThreadMessagesOnly)) {
        *out = Stamp(nullptr, WM_QUIT, static_cast<WPARAM>(state.quitCode), 0);
        if (remove)
            state.quitPosted = false;
        NoteRetrieved(*out);
        return true;
    }
    if (MatchesRange(WM_PAINT, min, max) && filter != kThreadMessagesOnly) {
        if (HWND hwnd = FindWindowToPaint(filter)) {
            *out = Stamp(hwnd, WM_PAINT, 0, 0);
            NoteRetrieved(*out);
            return true;
        }
    }
    if (MatchesRange(WM_TIMER, min, max)) {
        const std::uint64_t now = Now();
        Timer* next = nullptr;
        for (Timer& t : state.timers)
            if (t.due <= now && MatchesWindow(t.hwnd, filter) &&
                (next == nullptr || t.due < next->due))
                next = &t;
        if (next != nullptr) {
            *out = Stamp(next->hwnd, WM_TIMER, next->id, reinterpret_cast<LPARAM>(next->proc));
            if (remove)
                next->due = now + next->elapse;
            NoteRetrieved(*out);
            return true;
        }
    }
    return false;
}

bool IsFilterValid(HWND filter) {
    if (filter == nullptr || filter == kThreadMessagesOnly)
        return true;
    return FindWindowRecord(filter) != nullptr;
}

}  // namespace

std::uint64_t Now() {
    return CurrentBackend().Clock();
}

LRESULT Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = PeekWindowRecord(hwnd);
    if (window == nullptr || window->kind != WindowKind::Normal || window->proc == nullptr)
        return 0;
    return window->proc(hwnd, message, wParam, lParam);
}

bool PostTo(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    SessionState().posted.push_back(Stamp(hwnd, message, wParam, lParam));
    return true;
}

void RemoveMessagesFor(HWND hwnd) {
    State& state = SessionState();
    std::erase_if(state.posted, [hwnd](const MSG& m) { return m.hwnd == hwnd; });
    std::erase_if(state.input,
                  [hwnd](const InputMessage& m) { return !m.toFocus && m.msg.hwnd == hwnd; });
}

void KillTimersOf(HWND hwnd) {
    std::erase_if(SessionState().timers, [hwnd](const Timer& t) { return t.hwnd == hwnd; });
}

}  // namespace winapi::core

using namespace winapi::core;

BOOL WINAPI GetMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    if (lpMsg == nullptr || !IsFilterValid(hWnd))
        return -1;
    for (;;) {
        if (Retrieve(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, true))
            return lpMsg->message != WM_QUIT;
        winapi::FlushScreen();
        winapi::CurrentBackend().Wait(NextTimerDue());
    }
}

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax,
                         UINT wRemoveMsg) {
    if (lpMsg == nullptr || !IsFilterValid(hWnd))
        return FALSE;
    if (Retrieve(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, (wRemoveMsg & PM_REMOVE) != 0))
        return TRUE;
    winapi::FlushScreen();
    return FALSE;
}

BOOL WINAPI WaitMessage(void) {
    MSG msg;
    if (Retrieve(&msg, nullptr, 0, 0, false))
        return TRUE;
    winapi::FlushScreen();
    winapi::CurrentBackend().Wait(NextTimerDue());
    return TRUE;
}

BOOL WINAPI TranslateMessage(const MSG* lpMsg) {
    if (lpMsg == nullptr)
        return FALSE;
    const UINT message = lpMsg->message;
    if (message != WM_KEYDOWN && message != WM_KEYUP && message != WM_SYSKEYDOWN &&
        message != WM_SYSKEYUP)
        return FALSE;
    if (message == WM_KEYUP || message == WM_SYSKEYUP)
        return TRUE;
    State& state = SessionState();
    const MSG& last = state.lastKey;
    // Only the key press that was retrieved last still knows what it types.
    if (last.hwnd != lpMsg->hwnd || last.message != message || last.wParam != lpMsg->wParam ||
        last.lParam != lpMsg->lParam || last.time != lpMsg->time)
        return TRUE;
    std::string text = std::move(state.lastKeyText);
    state.lastKeyText.clear();
    state.lastKey = {};
    const UINT charMessage = message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    // The characters come next, before anything else that was posted. In the A world with UTF-8
    // text, a character beyond ASCII arrives as one WM_CHAR per byte.
    auto at = state.posted.begin();
    for (unsigned char byte : text) {
        at = state.posted.insert(
            at, MSG{lpMsg->hwnd, charMessage, byte, lpMsg->lParam, lpMsg->time, lpMsg->pt});
        ++at;
    }
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg) {
    if (lpMsg == nullptr || lpMsg->hwnd == nullptr) {
        if (lpMsg != nullptr && lpMsg->message == WM_TIMER && lpMsg->lParam != 0) {
            for (const Timer& t : SessionState().timers)
                if (t.hwnd == nullptr && t.id == lpMsg->wParam &&
                    reinterpret_cast<LPARAM>(t.proc) == lpMsg->lParam) {
                    t.proc(nullptr, WM_TIMER, t.id, GetTickCount());
                    break;
                }
        }
        return 0;
    }
    Window* window = FindWindowRecord(lpMsg->hwnd);
    if (window == nullptr)
        return 0;
    if (lpMsg->message == WM_TIMER && lpMsg->lParam != 0) {
        // Only a timer this window really has may run its procedure.
        for (const Timer& t : SessionState().timers)
            if (t.hwnd == lpMsg->hwnd && t.id == lpMsg->wParam &&
                reinterpret_cast<LPARAM>(t.proc) == lpMsg->lParam) {
                const TIMERPROC proc = t.proc;
                proc(lpMsg->hwnd, WM_TIMER, lpMsg->wParam, GetTickCount());
                return 0;
            }
        return 0;
    }
    return Send(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

LRESULT WINAPI SendMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (hWnd == HWND_BROADCAST) {
        for (HWND top : std::vector<HWND>(SessionState().topLevels))
            Send(top, Msg, wParam, lParam);
        return 0;
    }
    const Window* window = FindWindowRecord(hWnd);
    if (window == nullptr)
        return 0;
    return Send(hWnd, Msg, wParam, lParam);
}

BOOL WINAPI PostMessageA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (hWnd == HWND_BROADCAST) {
        for (HWND top : SessionState().topLevels)
            PostTo(top, Msg, wParam, lParam);
        return TRUE;
    }
    if (hWnd != nullptr) {
        const Window* window = FindWindowRecord(hWnd);
        if (window == nullptr)
            return FALSE;
        if (window->kind != WindowKind::Normal) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
    }
    return PostTo(hWnd, Msg, wParam, lParam);
}

void WINAPI PostQuitMessage(int nExitCode) {
    State& state = SessionState();
    state.quitPosted = true;
    state.quitCode = nExitCode;
}

DWORD WINAPI GetMessageTime(void) {
    return SessionState().messageTime;
}

DWORD WINAPI GetMessagePos(void) {
    const POINT p = SessionState().messagePos;
    return static_cast<DWORD>(MAKELONG(static_cast<WORD>(p.x), static_cast<WORD>(p.y)));
}

UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc) {
    if (hWnd != nullptr) {
        const Window* window = FindWindowRecord(hWnd);
        if (window == nullptr || window->kind != WindowKind::Normal)
            return 0;
    }
    const UINT elapse = std::clamp(uElapse, kMinimumTimerElapse, kMaximumTimerElapse);
    State& state = SessionState();
    const std::uint64_t due = Now() + elapse;
    // A window's timer is named by its id; setting it again restarts it.
    for (Timer& t : state.timers) {
        if (t.hwnd == hWnd && t.id == nIDEvent && (hWnd != nullptr || nIDEvent != 0)) {
            t.elapse = elapse;
            t.proc = lpTimerFunc;
            t.due = due;
            return hWnd != nullptr ? (nIDEvent != 0 ? nIDEvent : 1) : nIDEvent;
        }
    }
    UINT_PTR id = nIDEvent;
    if (hWnd == nullptr) {
        id = state.nextTimerId++;
        if (state.nextTimerId == 0)
            state.nextTimerId = 1;
    }
    state.timers.push_back({hWnd, id, elapse, lpTimerFunc, due});
    if (hWnd == nullptr)
        return id;
    return nIDEvent != 0 ? nIDEvent : 1;
}

BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent) {
    auto& timers = SessionState().timers;
    const auto before = timers.size();
    std::erase_if(timers, [&](const Timer& t) { return t.hwnd == hWnd && t.id == uIDEvent; });
    if (timers.size() == before) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // A WM_TIMER of this timer may already sit in a caller's MSG; the queue itself holds none.
    return TRUE;
}
