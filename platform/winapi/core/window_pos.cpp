// Window geometry, stacking, showing, hiding and minimising, with the WM_WINDOWPOSCHANGING /
// WM_WINDOWPOSCHANGED / WM_SHOWWINDOW messages in Win32's order.
#include <algorithm>

#include "platform/winapi/core/internal.h"
#include "platform/winapi/host.h"

namespace winapi::core {
namespace {

// Where Win32 parks a minimised window, and the size it gives it there.
constexpr int kIconicPosition = -32000;
constexpr int kIconicWidth = 160;
constexpr int kIconicHeight = 24;

display::Rect ToDisplay(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

std::vector<HWND>& SiblingsOf(const Window& window) {
    if (window.parent != nullptr)
        return PeekWindowRecord(window.parent)->children;
    return SessionState().topLevels;
}

bool IsTopmost(HWND hwnd) {
    const Window* w = PeekWindowRecord(hwnd);
    return w != nullptr && (w->exStyle & WS_EX_TOPMOST);
}

void PlaceTopLevel(HWND hwnd, std::size_t index) {
    auto& order = SessionState().topLevels;
    std::erase(order, hwnd);
    order.insert(order.begin() + static_cast<std::ptrdiff_t>(std::min(index, order.size())), hwnd);
}

std::size_t TopOfBand(bool topmost) {
    if (topmost)
        return 0;
    const auto& order = SessionState().topLevels;
    std::size_t index = 0;
    while (index < order.size() && IsTopmost(order[index]))
        ++index;
    return index;
}

void SetTopmostFlag(HWND hwnd, bool topmost) {
    Window* window = PeekWindowRecord(hwnd);
    if (window == nullptr)
        return;
    if (topmost)
        window->exStyle |= WS_EX_TOPMOST;
    else
        window->exStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);
    if (window->surfaceId != 0)
        winapi::CurrentBackend().SetSurfaceTopmost(window->surfaceId, topmost);
    // Owned windows stay above their owner: a topmost owner makes them topmost too.
    if (topmost)
        for (HWND other : std::vector<HWND>(SessionState().topLevels))
            if (const Window* w = PeekWindowRecord(other); w && w->owner == hwnd)
                SetTopmostFlag(other, true);
}

void ReorderChild(Window& window, HWND after) {
    auto& siblings = SiblingsOf(window);
    std::erase(siblings, window.handle);
    if (after == HWND_BOTTOM) {
        siblings.push_back(window.handle);
        return;
    }
    if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
        siblings.insert(siblings.begin(), window.handle);
        return;
    }
    const auto it = std::find(siblings.begin(), siblings.end(), after);
    siblings.insert(it == siblings.end() ? siblings.begin() : it + 1, window.handle);
}

void ReorderTopLevel(Window& window, HWND after) {
    const HWND hwnd = window.handle;
    if (after == HWND_TOPMOST) {
        SetTopmostFlag(hwnd, true);
        RaiseTopLevel(hwnd);
        return;
    }
    if (after == HWND_NOTOPMOST) {
        if (!(window.exStyle & WS_EX_TOPMOST))
            return;
        SetTopmostFlag(hwnd, false);
        // Owned windows of a window leaving the topmost band leave it with it.
        for (HWND other : std::vector<HWND>(SessionState().topLevels))
            if (const Window* w = PeekWindowRecord(other); w && w->owner == hwnd)
                SetTopmostFlag(other, false);
        RaiseTopLevel(hwnd);
        return;
    }
    if (after == HWND_TOP) {
        RaiseTopLevel(hwnd);
        return;
    }
    if (after == HWND_BOTTOM) {
        SetTopmostFlag(hwnd, false);
        PlaceTopLevel(hwnd, SessionState().topLevels.size());
        SyncSurfaceStacking();
        return;
    }
    const auto& order = SessionState().topLevels;
    const auto it = std::find(order.begin(), order.end(), after);
    if (it == order.end() || after == hwnd)
        return;
    const std::size_t index = static_cast<std::size_t>(it - order.begin());
    const bool afterTopmost = IsTopmost(after);
    if (afterTopmost != ((window.exStyle & WS_EX_TOPMOST) != 0))
        SetTopmostFlag(hwnd, afterTopmost);
    PlaceTopLevel(hwnd, index + 1);
    SyncSurfaceStacking();
}

void HideOwnedWindows(HWND owner) {
    for (HWND other : std::vector<HWND>(SessionState().topLevels)) {
        Window* w = PeekWindowRecord(other);
        if (w == nullptr || w->owner != owner || !w->visible)
            continue;
        Send(other, WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING);
        if ((w = PeekWindowRecord(other)) == nullptr)
            continue;
        w->visible = false;
        w->hiddenWithOwner = true;
        winapi::CurrentBackend().ShowSurface(w->surfaceId, false);
    }
}

void ShowOwnedWindows(HWND owner) {
    for (HWND other : std::vector<HWND>(SessionState().topLevels)) {
        Window* w = PeekWindowRecord(other);
        if (w == nullptr || w->owner != owner || !w->hiddenWithOwner)
            continue;
        w->hiddenWithOwner = false;
        Send(other, WM_SHOWWINDOW, TRUE, SW_PARENTOPENING);
        if ((w = PeekWindowRecord(other)) == nullptr)
            continue;
        w->visible = true;
        winapi::CurrentBackend().ShowSurface(w->surfaceId, true);
        MarkWholeSurfaceDirty(*w);
    }
}

void SendPosChanged(HWND hwnd, UINT flags) {
    const Window* window = PeekWindowRecord(hwnd);
    if (window == nullptr)
        return;
    WINDOWPOS pos{hwnd,
                  nullptr,
                  window->windowRect.left,
                  window->windowRect.top,
                  window->windowRect.right - window->windowRect.left,
                  window->windowRect.bottom - window->windowRect.top,
                  flags};
    Send(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
}

}  // namespace

// A classic frame: 4 px sizing border, 3 px dialog frame, 1 px border; 2 px client edge,
// 1 px static edge; a 19 px caption (18 px bar and its 1 px line), 15 px for tool windows.
Insets NonClientInsets(DWORD style, DWORD exStyle) {
    int edge = 0;
    if (style & WS_THICKFRAME)
        edge = GetSystemMetrics(SM_CXFRAME);
    else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME))
        edge = GetSystemMetrics(SM_CXDLGFRAME);
    else if (style & WS_BORDER)
        edge = GetSystemMetrics(SM_CXBORDER);
    if (exStyle & WS_EX_CLIENTEDGE)
        edge += GetSystemMetrics(SM_CXEDGE);
    if (exStyle & WS_EX_STATICEDGE)
        edge += GetSystemMetrics(SM_CXBORDER);
    Insets insets{edge, edge, edge, edge};
    if ((style & WS_CAPTION) == WS_CAPTION)
        insets.top +=
            GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
    return insets;
}

RECT ScreenWindowRect(const Window& window) {
    RECT rect = window.windowRect;
    if (window.parent == nullptr)
        return rect;
    const Window* parent = PeekWindowRecord(window.parent);
    if (parent == nullptr)
        return rect;
    const RECT parentClient = ScreenClientRect(*parent);
    OffsetRect(&rect, parentClient.left, parentClient.top);
    return rect;
}

RECT ScreenClientRect(const Window& window) {
    RECT rect = window.clientRect;
    const RECT outer = ScreenWindowRect(window);
    OffsetRect(&rect, outer.left, outer.top);
    return rect;
}

void RecalcClientRect(Window& window) {
    const HWND hwnd = window.handle;
    NCCALCSIZE_PARAMS params{};
    params.rgrc[0] = window.windowRect;
    Send(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&params.rgrc[0]));
    Window* w = PeekWindowRecord(hwnd);
    if (w == nullptr)
        return;
    RECT client = params.rgrc[0];
    client.right = std::max(client.left, client.right);
    client.bottom = std::max(client.top, client.bottom);
    OffsetRect(&client, -w->windowRect.left, -w->windowRect.top);
    w->clientRect = client;
}

void RaiseTopLevel(HWND hwnd) {
    Window* window = PeekWindowRecord(hwnd);
    if (window == nullptr || window->parent != nullptr)
        return;
    PlaceTopLevel(hwnd, TopOfBand((window->exStyle & WS_EX_TOPMOST) != 0));
    // Owned windows are always above their owner.
    for (HWND other : std::vector<HWND>(SessionState().topLevels))
        if (const Window* w = PeekWindowRecord(other); w && w->owner == hwnd && other != hwnd) {
            const auto& order = SessionState().topLevels;
            const auto ownerAt = std::find(order.begin(), order.end(), hwnd) - order.begin();
            const auto ownedAt = std::find(order.begin(), order.end(), other) - order.begin();
            if (ownedAt > ownerAt)
                PlaceTopLevel(other, static_cast<std::size_t>(ownerAt));
        }
    SyncSurfaceStacking();
}

void SyncSurfaceStacking() {
    const auto& order = SessionState().topLevels;
    display::Backend& backend = winapi::CurrentBackend();
    for (auto it = order.rbegin(); it != order.rend(); ++it)
        if (const Window* w = PeekWindowRecord(*it); w && w->surfaceId != 0)
            backend.RaiseSurface(w->surfaceId, 0);
}

void MinimizeWindow(HWND hwnd, bool fromDisplay);
void RestoreWindow(HWND hwnd, bool fromDisplay);

void MinimizeWindow(HWND hwnd, bool fromDisplay) {
    Window* window = PeekWindowRecord(hwnd);
    if (window == nullptr || window->minimized || window->parent != nullptr)
        return;
    // The active window may be one of its owned windows, which are about to be hidden.
    bool wasActive = false;
    for (const Window* a = PeekWindowRecord(SessionState().active); a != nullptr;
         a = PeekWindowRecord(a->owner))
        if (a->handle == hwnd)
            wasActive = true;
    HideOwnedWindows(hwnd);
    if ((window = PeekWindowRecord(hwnd)) == nullptr)
        return;
    window->restoredRect = window->windowRect;
    window->minimized = true;
    window->visible = true;
    window->windowRect = {kIconicPosition, kIconicPosition, kIconicPosition + kIconicWidth,
                          kIconicPosition + kIconicHeight};
    window->clientRect = {};
    if (!fromDisplay)
        winapi::CurrentBackend().MinimizeSurface(window->surfaceId, true);
    SendPosChanged(hwnd, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (wasActive && SessionState().active != nullptr)
        DropActivation(SessionState().active);
}

void RestoreWindow(HWND hwnd, bool fromDisplay) {
    Window* window = PeekWindowRecord(hwnd);
    if (window == nullptr || !window->minimized)
        return;
    if (!Send(hwnd, WM_QUERYOPEN, 0, 0)) {
        if (fromDisplay && (window = PeekWindowRecord(hwnd)) != nullptr)
            winapi::CurrentBackend().MinimizeSurface(window->surfaceId, true);
        return;
    }
    if ((window = PeekWindowRecord(hwnd)) == nullptr)
        return;
    window->minimized = false;
    window->windowRect = window->restoredRect;
    RecalcClientRect(*window);
    if ((window = PeekWindowRecord(hwnd)) == nullptr)
        return;
    if (!fromDisplay)
        winapi::CurrentBackend().MinimizeSurface(window->surfaceId, false);
    winapi::CurrentBackend().SetSurfaceBounds(window->surfaceId, ToDisplay(window->windowRect));
    SendPosChanged(hwnd, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    InvalidateWindow(hwnd, nullptr, true, true, true);
    ShowOwnedWindows(hwnd);
}

}  // namespace winapi::core

using namespace winapi::core;

BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
    const Window* window = FindWindowRecord(hWnd);
    if (window == nullptr || lpRect == nullptr)
        return FALSE;
    if (window->kind == WindowKind::Foreign) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    *lpRect = ScreenWindowRect(*window);
    return TRUE;
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
    const Window* window = FindWindowRecord(hWnd);
    if (window == nullptr || lpRect == nullptr)
        return FALSE;
    *lpRect = {0, 0, window->clientRect.right - window->clientRect.left,
               window->clientRect.bottom - window->clientRect.top};
    return TRUE;
}

BOOL WINAPI AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle) {
    if (lpRect == nullptr)
        return FALSE;
    if (!(dwStyle & (WS_POPUP | WS_CHILD)))
        dwStyle |= WS_CAPTION;
    const Insets insets = NonClientInsets(dwStyle, dwExStyle);
    lpRect->left -= insets.left;
    lpRect->top -= insets.top + (bMenu ? GetSystemMetrics(SM_CYMENU) : 0);
    lpRect->right += insets.right;
    lpRect->bottom += insets.bottom;
    return TRUE;
}

BOOL WINAPI ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
    const Window* window = FindWindowRecord(hWnd);
    if (window == nullptr || lpPoint == nullptr)
        return FALSE;
    const RECT client = ScreenClientRect(*window);
    lpPoint->x -= client.left;
    lpPoint->y -= client.top;
    return TRUE;
}

BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
    const Window* window = FindWindowRecord(hWnd);
    if (window == nullptr || lpPoint == nullptr)
        return FALSE;
    const RECT client = ScreenClientRect(*window);
    lpPoint->x += client.left;
    lpPoint->y += client.top;
    return TRUE;
}

int WINAPI MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints) {
    POINT from{0, 0};
    POINT to{0, 0};
    if (hWndFrom != nullptr && hWndFrom != GetDesktopWindow() && !ClientToScreen(hWndFrom, &from))
        return 0;
    if (hWndTo != nullptr && hWndTo != GetDesktopWindow() && !ClientToScreen(hWndTo, &to))
        return 0;
    const LONG dx = from.x - to.x;
    const LONG dy = from.y - to.y;
    SetLastError(ERROR_SUCCESS);
    for (UINT i = 0; lpPoints != nullptr && i < cPoints; ++i) {
        lpPoints[i].x += dx;
        lpPoints[i].y += dy;
    }
    return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}

namespace {

HWND DeepestChildAt(HWND hwnd, POINT screen) {
    const Window* window = PeekWindowRecord(hwnd);
    if (window == nullptr)
        return hwnd;
    for (HWND child : window->children) {
        const Window* c = PeekWindowRecord(child);
        if (c == nullptr || !c->visible || !c->enabled)
            continue;
        const RECT rect = ScreenWindowRect(*c);
        if (!PtInRect(&rect, screen))
            continue;
        // Windows that call themselves transparent (static controls) let the point through.
        const LRESULT hit = Send(child, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
        if (hit == HTTRANSPARENT)
            continue;
        return DeepestChildAt(child, screen);
    }
    return hwnd;
}

}  // namespace

HWND WINAPI WindowFromPoint(POINT Point) {
    for (HWND hwnd : std::vector<HWND>(SessionState().topLevels)) {
        const Window* w = PeekWindowRecord(hwnd);
        if (w == nullptr || !w->visible || w->minimized)
            continue;
        const RECT rect = ScreenWindowRect(*w);
        if (PtInRect(&rect, Point))
            return DeepestChildAt(hwnd, Point);
    }
    return GetDesktopWindow();
}

HWND WINAPI ChildWindowFromPoint(HWND hWndParent, POINT Point) {
    const Window* parent = FindWindowRecord(hWndParent);
    if (parent == nullptr)
        return nullptr;
    RECT client{0, 0, parent->clientRect.right - parent->clientRect.left,
                parent->clientRect.bottom - parent->clientRect.top};
    if (!PtInRect(&client, Point))
        return nullptr;
    for (HWND child : parent->children) {
        const Window* c = PeekWindowRecord(child);
        if (c != nullptr && PtInRect(&c->windowRect, Point))
            return child;
    }
    return hWndParent;
}

BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy,
                         UINT uFlags) {
    Window* window = FindWindowRecord(hWnd);
    if (window == nullptr)
        return FALSE;
    if (window->kind != WindowKind::Normal) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    const RECT current = window->minimized ? window->restoredRect : window->windowRect;
    WINDOWPOS pos{hWnd, hWndInsertAfter, X, Y, cx, cy, uFlags};
    if (uFlags & SWP_NOMOVE) {
        pos.x = current.left;
        pos.y = current.top;
    }
    if (uFlags & SWP_NOSIZE) {
        pos.cx = current.right - current.left;
        pos.cy = current.bottom - current.top;
    }
    if (pos.x == current.left && pos.y == current.top)
        pos.flags |= SWP_NOMOVE;
    if (pos.cx == current.right - current.left && pos.cy == current.bottom - current.top)
        pos.flags |= SWP_NOSIZE;
    if ((pos.flags & SWP_SHOWWINDOW) && window->visible)
        pos.flags &= ~SWP_SHOWWINDOW;
    if ((pos.flags & SWP_HIDEWINDOW) && !window->visible)
        pos.flags &= ~SWP_HIDEWINDOW;
    if (!(pos.flags & SWP_NOSENDCHANGING)) {
        Send(hWnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
        if ((window = PeekWindowRecord(hWnd)) == nullptr)
            return FALSE;
    }
    pos.cx = std::max(0, pos.cx);
    pos.cy = std::max(0, pos.cy);
    const RECT oldRect = window->windowRect;
    const bool wasVisible = IsReallyVisible(*window);
    const RECT newRect{pos.x, pos.y, pos.x + pos.cx, pos.y + pos.cy};
    const bool moved = !(pos.flags & SWP_NOMOVE);
    const bool sized = !(pos.flags & SWP_NOSIZE);
    const bool topLevel = window->parent == nullptr;

    if (window->minimized) {
        window->restoredRect = newRect;
    } else if (moved || sized) {
        window->windowRect = newRect;
    }
    if (!window->minimized && (sized || (pos.flags & SWP_FRAMECHANGED))) {
        RecalcClientRect(*window);
        if ((window = PeekWindowRecord(hWnd)) == nullptr)
            return FALSE;
    }
    if (topLevel && !window->minimized && (moved || sized)) {
        if (sized)
            ResizeSurface(*window);
        winapi::CurrentBackend().SetSurfaceBounds(
            window->surfaceId, {window->windowRect.left, window->windowRect.top,
                                window->windowRect.right, window->windowRect.bottom});
    }
    if (!(pos.flags & SWP_NOZORDER)) {
        if (topLevel)
            ReorderTopLevel(*window, pos.hwndInsertAfter);
        else
            ReorderChild(*window, pos.hwndInsertAfter);
    }
    if (pos.flags & SWP_SHOWWINDOW) {
        window->visible = true;
        if (topLevel && !window->minimized)
            winapi::CurrentBackend().ShowSurface(window->surfaceId, true);
    }
    if (pos.flags & SWP_HIDEWINDOW) {
        window->visible = false;
        if (topLevel)
            winapi::CurrentBackend().ShowSurface(window->surfaceId, false);
        if (SessionState().active == hWnd)
            DropActivation(hWnd);
        ClearFocusWithin(hWnd);
    }
    if ((window = PeekWindowRecord(hWnd)) == nullptr)
        return TRUE;
    const bool nowVisible = IsReallyVisible(*window);
    if (!(pos.flags & SWP_NOREDRAW)) {
        if (!topLevel && (wasVisible || nowVisible) &&
            (moved || sized || wasVisible != nowVisible)) {
            if (wasVisible)
                InvalidateWindow(window->parent, &oldRect, true, true, false);
            if (nowVisible)
                InvalidateWindow(window->parent, &window->windowRect, true, false, false);
        }
        if (nowVisible && (sized || (pos.flags & (SWP_SHOWWINDOW | SWP_FRAMECHANGED))))
            InvalidateWindow(hWnd, nullptr, true, true, true);
    }
    if (topLevel && nowVisible && !(pos.flags & SWP_NOACTIVATE) && !(pos.flags & SWP_HIDEWINDOW))
        ActivateWindow(hWnd, WA_ACTIVE);
    if (PeekWindowRecord(hWnd) != nullptr) {
        WINDOWPOS done = pos;
        const Window* w = PeekWindowRecord(hWnd);
        done.x = w->windowRect.left;
        done.y = w->windowRect.top;
        done.cx = w->windowRect.right - w->windowRect.left;
        done.cy = w->windowRect.bottom - w->windowRect.top;
        Send(hWnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&done));
    }
    return TRUE;
}

BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint) {
    return SetWindowPos(hWnd, nullptr, X, Y, nWidth, nHeight,
                        SWP_NOZORDER | SWP_NOACTIVATE | (bRepaint ? 0 : SWP_NOREDRAW));
}

BOOL WINAPI BringWindowToTop(HWND hWnd) {
    return SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    Window* window = FindWindowRecord(hWnd);
    if (window == nullptr)
        return FALSE;
    if (window->kind == WindowKind::Foreign) {
        display::Backend& backend = winapi::CurrentBackend();
        if (nCmdShow == SW_RESTORE || nCmdShow == SW_SHOWNORMAL || nCmdShow == SW_SHOW ||
            nCmdShow == SW_SHOWDEFAULT)
            if (backend.IsForeignWindowMinimized(window->foreignId))
                backend.RestoreForeignWindow(window->foreignId);
        return TRUE;
    }
    if (window->kind != WindowKind::Normal)
        return FALSE;
    const BOOL wasVisible = window->visible ? TRUE : FALSE;
    const bool topLevel = window->parent == nullptr;
    switch (nCmdShow) {
        case SW_HIDE:
            if (!wasVisible)
                return FALSE;
            Send(hWnd, WM_SHOWWINDOW, FALSE, 0);
            SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            return wasVisible;
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
        case SW_SHOWMINNOACTIVE:
            if (!topLevel)
                return wasVisible;
            if (!wasVisible) {
                Send(hWnd, WM_SHOWWINDOW, TRUE, 0);
                if ((window = PeekWindowRecord(hWnd)) == nullptr)
                    return wasVisible;
                window->visible = true;
                winapi::CurrentBackend().ShowSurface(window->surfaceId, true);
            }
            MinimizeWindow(hWnd, false);
            return wasVisible;
        default:
            break;
    }
    const bool activate = nCmdShow != SW_SHOWNA && nCmdShow != SW_SHOWNOACTIVATE && topLevel;
    if ((nCmdShow == SW_RESTORE || nCmdShow == SW_SHOWNORMAL || nCmdShow == SW_SHOWDEFAULT ||
         nCmdShow == SW_SHOWNOACTIVATE) &&
        window->minimized) {
        RestoreWindow(hWnd, false);
        if ((window = PeekWindowRecord(hWnd)) == nullptr)
            return wasVisible;
    }
    if (!wasVisible) {
        // WM_SHOWWINDOW arrives while the window is still hidden.
        Send(hWnd, WM_SHOWWINDOW, TRUE, 0);
        if (PeekWindowRecord(hWnd) == nullptr)
            return wasVisible;
        SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                     SWP_SHOWWINDOW | SWP_NOSIZE | SWP_NOMOVE | (activate ? 0 : SWP_NOACTIVATE) |
                         (topLevel && activate ? 0 : SWP_NOZORDER));
    } else if (activate && (window = PeekWindowRecord(hWnd)) != nullptr && !window->minimized) {
        ActivateWindow(hWnd, WA_ACTIVE);
    }
    return wasVisible;
}

BOOL WINAPI IsIconic(HWND hWnd) {
    const Window* window = PeekWindowRecord(hWnd);
    if (window == nullptr)
        return FALSE;
    if (window->kind == WindowKind::Foreign)
        return winapi::CurrentBackend().IsForeignWindowMinimized(window->foreignId);
    return window->minimized;
}

// This layer never maximises a window (the program's windows have no maximise box).
BOOL WINAPI IsZoomed(HWND) {
    return FALSE;
}
