// Activation of top-level windows, the keyboard focus and the mouse capture, with Win32's
// message order: the old window is deactivated before the new one hears WM_ACTIVATE, and
// WM_KILLFOCUS reaches the old focus window after GetFocus already names the new one.
#include <algorithm>

#include "platform/winapi/core/internal.h"
#include "platform/winapi/host.h"

namespace winapi::core {
namespace {

// A window asked for by name may be active while still hidden (a dialog that sets its focus
// before it is shown); one picked to take over the activation must be visible.
bool CanActivate(const Window* w, bool mustBeVisible = true) {
    return w != nullptr && w->kind == WindowKind::Normal && w->parent == nullptr &&
           (w->visible || !mustBeVisible) && !w->minimized && w->enabled && !w->destroying;
}

bool IsWithin(HWND root, HWND hwnd) {
    return hwnd != nullptr && (hwnd == root || IsChild(root, hwnd));
}

void Deactivate(HWND old, HWND next) {
    const Window* w = PeekWindowRecord(old);
    if (w == nullptr)
        return;
    const bool minimized = w->minimized;
    Send(old, WM_NCACTIVATE, FALSE, reinterpret_cast<LPARAM>(next));
    Send(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, minimized), reinterpret_cast<LPARAM>(next));
}

void SendActivateApp(bool active) {
    for (HWND hwnd : std::vector<HWND>(SessionState().topLevels))
        Send(hwnd, WM_ACTIVATEAPP, active, 0);
}

}  // namespace

void ActivateWindow(HWND hwnd, WORD how) {
    hwnd = TopLevelOf(hwnd);
    Window* window = PeekWindowRecord(hwnd);
    if (!CanActivate(window, false))
        return;
    State& state = SessionState();
    const HWND old = state.active;
    if (old == hwnd) {
        RaiseTopLevel(hwnd);
        CurrentBackend().ActivateSurface(window->surfaceId);
        return;
    }
    if (old != nullptr)
        Deactivate(old, hwnd);
    if ((window = PeekWindowRecord(hwnd)) == nullptr || !CanActivate(window, false))
        return;
    state.active = hwnd;
    RaiseTopLevel(hwnd);
    CurrentBackend().ActivateSurface(window->surfaceId);
    if (old == nullptr)
        SendActivateApp(true);
    if (state.active != hwnd)
        return;
    Send(hwnd, WM_NCACTIVATE, TRUE, reinterpret_cast<LPARAM>(old));
    if (state.active != hwnd)
        return;
    Send(hwnd, WM_ACTIVATE, MAKEWPARAM(how, FALSE), reinterpret_cast<LPARAM>(old));
    // The focus never stays in a window that is no longer active.
    if (state.active == hwnd && !IsWithin(hwnd, state.focus))
        SetFocus(hwnd);
}

void DropActivation(HWND hwnd) {
    State& state = SessionState();
    if (state.active != hwnd)
        return;
    HWND next = nullptr;
    if (const Window* w = PeekWindowRecord(hwnd);
        w != nullptr && CanActivate(PeekWindowRecord(w->owner)))
        next = w->owner;
    if (next == nullptr) {
        for (HWND other : state.topLevels) {
            const Window* o = PeekWindowRecord(other);
            if (other != hwnd && CanActivate(o) && o->owner != hwnd) {
                next = other;
                break;
            }
        }
    }
    if (next != nullptr) {
        ActivateWindow(next, WA_ACTIVE);
        return;
    }
    Deactivate(hwnd, nullptr);
    if (state.active == hwnd)
        state.active = nullptr;
    if (state.focus != nullptr)
        SetFocus(nullptr);
    SendActivateApp(false);
}

}  // namespace winapi::core

using namespace winapi::core;

HWND WINAPI SetActiveWindow(HWND hWnd) {
    const HWND old = SessionState().active;
    if (hWnd == nullptr) {
        if (old != nullptr)
            DropActivation(old);
        return old;
    }
    if (FindWindowRecord(hWnd) == nullptr)
        return nullptr;
    ActivateWindow(hWnd, WA_ACTIVE);
    return old;
}

HWND WINAPI GetActiveWindow(void) {
    return SessionState().active;
}

BOOL WINAPI SetForegroundWindow(HWND hWnd) {
    Window* window = FindWindowRecord(hWnd);
    if (window == nullptr)
        return FALSE;
    if (window->kind == WindowKind::Foreign) {
        const HWND old = SessionState().active;
        if (!winapi::CurrentBackend().ActivateForeignWindow(window->foreignId))
            return FALSE;
        if (old != nullptr)
            DropActivation(old);
        return TRUE;
    }
    if (window->kind != WindowKind::Normal)
        return FALSE;
    ActivateWindow(hWnd, WA_ACTIVE);
    return SessionState().active == TopLevelOf(hWnd);
}

HWND WINAPI GetForegroundWindow(void) {
    return SessionState().active;
}

HWND WINAPI SetFocus(HWND hWnd) {
    State& state = SessionState();
    const HWND old = state.focus;
    if (hWnd == nullptr) {
        state.focus = nullptr;
        if (old != nullptr)
            Send(old, WM_KILLFOCUS, 0, 0);
        return old;
    }
    Window* window = FindWindowRecord(hWnd);
    if (window == nullptr || window->kind != WindowKind::Normal || window->destroying)
        return nullptr;
    const HWND top = TopLevelOf(hWnd);
    if (const Window* t = PeekWindowRecord(top); t == nullptr || t->minimized)
        return nullptr;
    if (state.active != top) {
        ActivateWindow(top, WA_ACTIVE);
        if (state.active != top)
            return nullptr;
    }
    if (state.focus == hWnd)
        return old;
    const HWND previous = state.focus;
    state.focus = hWnd;
    if (previous != nullptr)
        Send(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
    if (state.focus == hWnd)
        Send(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}

HWND WINAPI GetFocus(void) {
    return SessionState().focus;
}

HWND WINAPI SetCapture(HWND hWnd) {
    State& state = SessionState();
    const HWND old = state.capture;
    if (hWnd != nullptr && FindWindowRecord(hWnd) == nullptr)
        return nullptr;
    state.capture = hWnd;
    if (old != nullptr && old != hWnd)
        Send(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
    return old;
}

BOOL WINAPI ReleaseCapture(void) {
    State& state = SessionState();
    const HWND old = state.capture;
    state.capture = nullptr;
    if (old != nullptr)
        Send(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND WINAPI GetCapture(void) {
    return SessionState().capture;
}
