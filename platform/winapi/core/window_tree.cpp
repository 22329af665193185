// Creating and destroying windows, the parent, child and owner links, window longs and texts,
// in the order and with the messages Win32 uses.
#include <algorithm>
#include <cstring>

#include "platform/winapi/core/internal.h"
#include "platform/winapi/core/window_menu.h"
#include "platform/winapi/host.h"

namespace winapi::core {
namespace {

void Unlink(Window& window) {
    State& state = SessionState();
    if (window.parent != nullptr) {
        if (Window* parent = PeekWindowRecord(window.parent))
            std::erase(parent->children, window.handle);
    } else {
        std::erase(state.topLevels, window.handle);
    }
}

// Top-level windows go on top of their band; children at the bottom of their siblings, so
// that creation order is the order GetWindow(GW_HWNDNEXT) walks (and the dialog tab order).
void Link(Window& window) {
    State& state = SessionState();
    if (window.parent != nullptr) {
        PeekWindowRecord(window.parent)->children.push_back(window.handle);
        return;
    }
    state.topLevels.insert(state.topLevels.begin(), window.handle);
    RaiseTopLevel(window.handle);
}

display::SurfaceKind SurfaceKindOf(const Window& window) {
    if (window.windowClass != nullptr && window.windowClass->atom == kMenuClassAtom)
        return display::SurfaceKind::Menu;
    if (window.exStyle & WS_EX_APPWINDOW)
        return display::SurfaceKind::Normal;
    if (window.owner != nullptr || (window.exStyle & WS_EX_TOOLWINDOW))
        return display::SurfaceKind::Tool;
    return display::SurfaceKind::Normal;
}

void CreateSurface(Window& window) {
    display::SurfaceSpec spec;
    spec.bounds = {window.windowRect.left, window.windowRect.top, window.windowRect.right,
                   window.windowRect.bottom};
    spec.kind = SurfaceKindOf(window);
    if (const Window* owner = PeekWindowRecord(window.owner))
        spec.owner = owner->surfaceId;
    spec.topmost = (window.exStyle & WS_EX_TOPMOST) != 0;
    spec.title = window.text;
    window.surface = std::make_unique<gdi::Surface>(
        std::max(0, static_cast<int>(window.windowRect.right - window.windowRect.left)),
        std::max(0, static_cast<int>(window.windowRect.bottom - window.windowRect.top)),
        gdi::PixelFromColorRef(GetSysColor(COLOR_BTNFACE)));
    window.surfaceId = CurrentBackend().CreateSurface(spec);
}

void SendDestroy(HWND hwnd) {
    Window* window = PeekWindowRecord(hwnd);
    if (window == nullptr)
        return;
    window->destroying = true;
    Send(hwnd, WM_DESTROY, 0, 0);
    window = PeekWindowRecord(hwnd);
    if (window == nullptr)
        return;
    const std::vector<HWND> children = window->children;
    for (HWND child : children)
        SendDestroy(child);
}

void SendNcDestroyAndFree(HWND hwnd) {
    Window* window = PeekWindowRecord(hwnd);
    if (window == nullptr)
        return;
    const std::vector<HWND> children = window->children;
    for (HWND child : children)
        SendNcDestroyAndFree(child);
    Send(hwnd, WM_NCDESTROY, 0, 0);
    window = PeekWindowRecord(hwnd);
    if (window == nullptr)
        return;
    ForgetWindowMenu(hwnd);
    State& state = SessionState();
    KillTimersOf(hwnd);
    RemoveMessagesFor(hwnd);
    if (state.focus == hwnd)
        state.focus = nullptr;
    if (state.active == hwnd)
        state.active = nullptr;
    if (state.capture == hwnd)
        state.capture = nullptr;
    if (state.lastClick.hwnd == hwnd)
        state.lastClick = {};
    for (HWND other : state.windows.Handles())
        if (Window* w = PeekWindowRecord(other); w != nullptr && w->owner == hwnd)
            w->owner = nullptr;
    if (window->surfaceId != 0) {
        ForgetSurface(window->surfaceId);
        CurrentBackend().DestroySurface(window->surfaceId);
    }
    Unlink(*window);
    state.windows.Remove(hwnd);
}

bool IsInSubtree(HWND root, HWND hwnd) {
    for (Window* w = PeekWindowRecord(hwnd); w != nullptr; w = PeekWindowRecord(w->parent))
        if (w->handle == root)
            return true;
    return false;
}

}  // namespace

bool IsTopLevel(const Window& window) {
    return window.parent == nullptr;
}

HWND TopLevelOf(HWND hwnd) {
    Window* window = PeekWindowRecord(hwnd);
    while (window != nullptr && window->parent != nullptr)
        window = PeekWindowRecord(window->parent);
    return window == nullptr ? nullptr : window->handle;
}

bool IsReallyVisible(const Window& window) {
    for (const Window* w = &window; w != nullptr; w = PeekWindowRecord(w->parent))
        if (!w->visible || w->minimized)
            return false;
    return true;
}

void ClearFocusWithin(HWND hwnd) {
    State& state = SessionState();
    if (state.focus != nullptr && IsInSubtree(hwnd, state.focus))
        state.focus = nullptr;
    if (state.capture != nullptr && IsInSubtree(hwnd, state.capture))
        ReleaseCapture();
}

void DestroyAllWindows() {
    State& state = SessionState();
    while (!state.topLevels.empty())
        DestroyWindow(state.topLevels.front());
    for (HWND hwnd : state.windows.Handles()) {
        Window* window = PeekWindowRecord(hwnd);
        if (window != nullptr && window->kind == WindowKind::Normal && window->parent == nullptr)
            DestroyWindow(hwnd);
    }
    state.windows.Clear();
}

HWND ForeignWindowHandle(display::ForeignWindowId id, std::string_view title) {
    State& state = SessionState();
    for (HWND hwnd : state.windows.Handles()) {
        Window* window = PeekWindowRecord(hwnd);
        if (window->kind == WindowKind::Foreign && window->foreignId == id) {
            window->text = title;
            return hwnd;
        }
    }
    Window& window = state.windows.Add(WindowKind::Foreign);
    window.foreignId = id;
    window.text = title;
    window.visible = true;
    return window.handle;
}

}  // namespace winapi::core

using namespace winapi::core;

HWND WINAPI GetDesktopWindow(void) {
    State& state = SessionState();
    if (state.desktop == nullptr) {
        Window& desktop = state.windows.Add(WindowKind::Desktop);
        const display::Rect screen = winapi::CurrentBackend().ScreenBounds();
        desktop.windowRect = {screen.left, screen.top, screen.right, screen.bottom};
        desktop.clientRect = {0, 0, screen.Width(), screen.Height()};
        desktop.style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
        desktop.visible = true;
        state.desktop = desktop.handle;
    }
    return state.desktop;
}

HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle,
                            int X, int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                            HINSTANCE hInstance, LPVOID lpParam) {
    const WindowClass* wc = FindClass(lpClassName);
    if (wc == nullptr) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    if (hWndParent == HWND_MESSAGE || hWndParent == GetDesktopWindow())
        hWndParent = nullptr;
    Window* parent = nullptr;
    if (hWndParent != nullptr) {
        parent = FindWindowRecord(hWndParent);
        if (parent == nullptr || parent->kind != WindowKind::Normal || parent->destroying) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
    }
    const bool child = (dwStyle & WS_CHILD) != 0;
    if (child && parent == nullptr) {
        SetLastError(ERROR_TLW_WITH_WSCHILD);
        return nullptr;
    }
    // Overlapped top-level windows always have a caption and clip their siblings.
    if (!child && !(dwStyle & WS_POPUP))
        dwStyle |= WS_CAPTION | WS_CLIPSIBLINGS;
    if ((dwStyle & WS_DLGFRAME) || (dwExStyle & WS_EX_DLGMODALFRAME) || (dwStyle & WS_THICKFRAME))
        dwExStyle |= WS_EX_WINDOWEDGE;
    if (child)
        dwExStyle &= ~static_cast<DWORD>(WS_EX_TOPMOST);

    if (X == CW_USEDEFAULT)
        X = Y = 0;
    if (nWidth == CW_USEDEFAULT) {
        const display::Rect screen = winapi::CurrentBackend().ScreenBounds();
        nWidth = screen.Width() * 3 / 4;
        nHeight = screen.Height() * 3 / 4;
    }
    nWidth = std::max(0, nWidth);
    nHeight = std::max(0, nHeight);

    State& state = SessionState();
    Window& window = state.windows.Add(WindowKind::Normal);
    const HWND hwnd = window.handle;
    window.windowClass = wc;
    window.proc = wc->proc;
    window.style = dwStyle & ~static_cast<DWORD>(WS_VISIBLE | WS_DISABLED | WS_MINIMIZE);
    window.enabled = !(dwStyle & WS_DISABLED);
    window.exStyle = dwExStyle;
    window.instance = hInstance;
    window.id = reinterpret_cast<UINT_PTR>(hMenu);
    window.extra.assign(static_cast<std::size_t>(wc->windowExtra), 0);
    window.windowRect = {X, Y, X + nWidth, Y + nHeight};
    window.restoredRect = window.windowRect;
    if (child) {
        window.parent = hWndParent;
    } else if (hWndParent != nullptr) {
        window.owner = TopLevelOf(hWndParent);
        // An owned window stays above its owner, so it shares the owner's band.
        if (const Window* owner = PeekWindowRecord(window.owner);
            owner && (owner->exStyle & WS_EX_TOPMOST))
            window.exStyle |= WS_EX_TOPMOST;
    }
    if (!child)
        CreateSurface(window);
    Link(window);

    CREATESTRUCTA cs{};
    cs.lpCreateParams = lpParam;
    cs.hInstance = hInstance;
    cs.hMenu = hMenu;
    cs.hwndParent = hWndParent;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.x = X;
    cs.y = Y;
    cs.style = static_cast<LONG>(dwStyle);
    cs.lpszName = lpWindowName;
    cs.lpszClass = lpClassName;
    cs.dwExStyle = dwExStyle;

    if (!Send(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (Window* w = PeekWindowRecord(hwnd))
        RecalcClientRect(*w);
    if (PeekWindowRecord(hwnd) == nullptr ||
        Send(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        if (PeekWindowRecord(hwnd) != nullptr)
            DestroyWindow(hwnd);
        return nullptr;
    }
    if (Window* w = PeekWindowRecord(hwnd)) {
        const RECT client = w->clientRect;
        RECT screenClient = ScreenClientRect(*w);
        POINT origin{screenClient.left, screenClient.top};
        if (w->parent != nullptr)
            ScreenToClient(w->parent, &origin);
        Send(hwnd, WM_SIZE, SIZE_RESTORED,
             MAKELPARAM(client.right - client.left, client.bottom - client.top));
        Send(hwnd, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
    }
    if (child && !(dwExStyle & WS_EX_NOPARENTNOTIFY) && PeekWindowRecord(hwnd) != nullptr)
        Send(hWndParent, WM_PARENTNOTIFY,
             MAKEWPARAM(WM_CREATE, LOWORD(reinterpret_cast<UINT_PTR>(hMenu))),
             reinterpret_cast<LPARAM>(hwnd));
    if (PeekWindowRecord(hwnd) == nullptr)
        return nullptr;
    if (dwStyle & WS_VISIBLE)
        ShowWindow(hwnd, SW_SHOW);
    return PeekWindowRecord(hwnd) == nullptr ? nullptr : hwnd;
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
    Window* window = FindWindowRecord(hWnd);
    if (window == nullptr)
        return FALSE;
    if (window->kind != WindowKind::Normal) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (window->destroying)
        return TRUE;
    const bool child = window->parent != nullptr;
    const HWND parent = window->parent;
    const RECT area = window->windowRect;
    const bool wasVisible = IsReallyVisible(*window);

    if (window->visible) {
        if (child)
            ShowWindow(hWnd, SW_HIDE);
        else
            SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                         SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    }
    window = PeekWindowRecord(hWnd);
    if (window == nullptr || window->destroying)
        return TRUE;
    window->destroying = true;
    if (child && !(window->exStyle & WS_EX_NOPARENTNOTIFY))
        Send(parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, LOWORD(window->id)),
             reinterpret_cast<LPARAM>(hWnd));

    // Owned windows go first, completely, before the owner hears WM_DESTROY.
    if (!child) {
        for (bool found = true; found;) {
            found = false;
            for (HWND other : std::vector<HWND>(SessionState().topLevels)) {
                const Window* w = PeekWindowRecord(other);
                if (w != nullptr && w->owner == hWnd && !w->destroying) {
                    DestroyWindow(other);
                    found = true;
                    break;
                }
            }
        }
    }
    if (SessionState().active == hWnd)
        DropActivation(hWnd);
    ClearFocusWithin(hWnd);
    SendDestroy(hWnd);
    ClearFocusWithin(hWnd);
    SendNcDestroyAndFree(hWnd);
    if (child && wasVisible && PeekWindowRecord(parent) != nullptr) {
        InvalidateWindow(parent, &area, true, true, false);
    }
    return TRUE;
}

BOOL WINAPI IsWindow(HWND hWnd) {
    return PeekWindowRecord(hWnd) != nullptr;
}

BOOL WINAPI IsWindowVisible(HWND hWnd) {
    const Window* window = PeekWindowRecord(hWnd);
    if (window == nullptr)
        return FALSE;
    for (const Window* w = window; w != nullptr; w = PeekWindowRecord(w->parent))
        if (!w->visible)
            return FALSE;
    return TRUE;
}

BOOL WINAPI IsWindowEnabled(HWND hWnd) {
    const Window* window = PeekWindowRecord(hWnd);
    return window != nullptr && window->enabled;
}

BOOL WINAPI IsChild(HWND hWndParent, HWND hWnd) {
    const Window* window = PeekWindowRecord(hWnd);
    if (window == nullptr)
        return FALSE;
    for (const Window* w = PeekWindowRecord(window->parent); w != nullptr;
         w = PeekWindowRecord(w->parent))
        if (w->handle == hWndParent)
            return TRUE;
    return FALSE;
}

HWND WINAPI GetParent(HWND hWnd) {
    const Window* window = FindWindowRecord(hWnd);
    if (window == nullptr)
        return nullptr;
    if (window->style & WS_CHILD)
        return window->parent;
    if (window->style & WS_POPUP)
        return window->owner;
    return nullptr;
}

HWND WINAPI SetParent(HWND hWndChild, HWND hWndNewParent) {
    Window* window = FindWindowRecord(hWndChild);
    if (window == nullptr || window->kind != WindowKind::Normal)
        return nullptr;
    if (hWndNewParent == GetDesktopWindow())
        hWndNewParent = nullptr;
    Window* newParent = hWndNewParent ? FindWindowRecord(hWndNewParent) : nullptr;
    if (hWndNewParent != nullptr && newParent == nullptr)
        return nullptr;
    // Only re-parenting among children is supported: a window never changes between being a
    // child and being top-level here.
    if (window->parent == nullptr || newParent == nullptr || IsChild(hWndChild, hWndNewParent) ||
        hWndNewParent == hWndChild) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const HWND old = window->parent;
    Unlink(*window);
    window->parent = hWndNewParent;
    newParent->children.insert(newParent->children.begin(), hWndChild);
    InvalidateWindow(old, nullptr, true, true, false);
    InvalidateWindow(hWndChild, nullptr, true, true, true);
    return old;
}

HWND WINAPI GetWindow(HWND hWnd, UINT uCmd) {
    const Window* window = FindWindowRecord(hWnd);
    if (window == nullptr)
        return nullptr;
    State& state = SessionState();
    const std::vector<HWND>* siblings = &state.topLevels;
    if (window->parent != nullptr)
        siblings = &PeekWindowRecord(window->parent)->children;
    const auto it = std::find(siblings->begin(), siblings->end(), hWnd);
    switch (uCmd) {
        case GW_HWNDFIRST:
            return siblings->empty() ? nullptr : siblings->front();
        case GW_HWNDLAST:
            return siblings->empty() ? nullptr : siblings->back();
        case GW_HWNDNEXT:
            return it == siblings->end() || it + 1 == siblings->end() ? nullptr : *(it + 1);
        case GW_HWNDPREV:
            return it == siblings->end() || it == siblings->begin() ? nullptr : *(it - 1);
        case GW_OWNER:
            return window->owner;
        case GW_CHILD:
            if (window->kind == WindowKind::Desktop)
                return state.topLevels.empty() ? nullptr : state.topLevels.front();
            return window->children.empty() ? nullptr : window->children.front();
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
    }
}

HWND WINAPI GetTopWindow(HWND hWnd) {
    if (hWnd == nullptr)
        hWnd = GetDesktopWindow();
    return GetWindow(hWnd, GW_CHILD);
}

HWND WINAPI GetAncestor(HWND hwnd, UINT gaFlags) {
    const Window* window = FindWindowRecord(hwnd);
    if (window == nullptr || window->kind == WindowKind::Desktop)
        return nullptr;
    switch (gaFlags) {
        case GA_PARENT:
            return window->parent != nullptr ? window->parent : GetDesktopWindow();
        case GA_ROOT:
            return TopLevelOf(hwnd);
        case GA_ROOTOWNER: {
            HWND root = TopLevelOf(hwnd);
            while (const Window* w = PeekWindowRecord(root)) {
                if (w->owner == nullptr)
                    break;
                root = w->owner;
            }
            return root;
        }
        default:
            return nullptr;
    }
}

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
    const Window* dialog = FindWindowRecord(hDlg);
    if (dialog == nullptr)
        return nullptr;
    for (HWND child : dialog->children)
        if (const Window* w = PeekWindowRecord(child);
            w && static_cast<int>(static_cast<WORD>(w->id)) ==
                     static_cast<int>(static_cast<WORD>(nIDDlgItem)))
            return child;
    SetLastError(ERROR_INVALID_INDEX);  // Win32 reports ERROR_CONTROL_ID_NOT_FOUND (1421)
    return nullptr;
}

int WINAPI GetDlgCtrlID(HWND hWnd) {
    const Window* window = FindWindowRecord(hWnd);
    if (window == nullptr || window->parent == nullptr)
        return 0;
    return static_cast<int>(window->id);
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND hWnd, int nIndex) {
    const Window* window = FindWindowRecord(hWnd);
    if (window == nullptr)
        return 0;
    switch (nIndex) {
        case GWLP_WNDPROC:
            return reinterpret_cast<LONG_PTR>(window->proc);
        case GWLP_HINSTANCE:
            return reinterpret_cast<LONG_PTR>(window->instance);
        case GWLP_HWNDPARENT:
            return reinterpret_cast<LONG_PTR>(window->parent != nullptr ? window->parent
                                                                        : window->owner);
        case GWLP_ID:
            return static_cast<LONG_PTR>(window->id);
        case GWL_STYLE:
            return static_cast<LONG>(window->style | (window->visible ? WS_VISIBLE : 0) |
                                     (window->enabled ? 0 : WS_DISABLED) |
                                     (window->minimized ? WS_MINIMIZE : 0));
        case GWL_EXSTYLE:
            return static_cast<LONG>(window->exStyle);
        case GWLP_USERDATA:
            return window->userData;
        default:
            break;
    }
    if (nIndex < 0 || static_cast<std::size_t>(nIndex) + sizeof(LONG_PTR) > window->extra.size()) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    LONG_PTR value = 0;
    std::memcpy(&value, window->extra.data() + nIndex, sizeof value);
    return value;
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
    Window* window = FindWindowRecord(hWnd);
    if (window == nullptr || window->kind != WindowKind::Normal)
        return 0;
    const LONG_PTR old = GetWindowLongPtrA(hWnd, nIndex);
    switch (nIndex) {
        case GWLP_WNDPROC:
            if (dwNewLong == 0) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return 0;
            }
            window->proc = reinterpret_cast<WNDPROC>(dwNewLong);
            return old;
        case GWLP_HINSTANCE:
            window->instance = reinterpret_cast<HINSTANCE>(dwNewLong);
            return old;
        case GWLP_ID:
            window->id = static_cast<UINT_PTR>(dwNewLong);
            return old;
        case GWLP_USERDATA:
            window->userData = dwNewLong;
            return old;
        case GWLP_HWNDPARENT:
            if (window->parent == nullptr)
                window->owner = TopLevelOf(reinterpret_cast<HWND>(dwNewLong));
            return old;
        case GWL_STYLE:
        case GWL_EXSTYLE: {
            STYLESTRUCT change{static_cast<DWORD>(old), static_cast<DWORD>(dwNewLong)};
            Send(hWnd, WM_STYLECHANGING, static_cast<WPARAM>(nIndex),
                 reinterpret_cast<LPARAM>(&change));
            window = PeekWindowRecord(hWnd);
            if (window == nullptr)
                return old;
            if (nIndex == GWL_STYLE) {
                // Visibility, enabling and minimising change only through their own functions.
                const DWORD managed = WS_VISIBLE | WS_DISABLED | WS_MINIMIZE;
                window->style = change.styleNew & ~managed;
            } else {
                // WS_EX_TOPMOST changes only through SetWindowPos.
                window->exStyle = (change.styleNew & ~static_cast<DWORD>(WS_EX_TOPMOST)) |
                                  (window->exStyle & WS_EX_TOPMOST);
            }
            Send(hWnd, WM_STYLECHANGED, static_cast<WPARAM>(nIndex),
                 reinterpret_cast<LPARAM>(&change));
            return old;
        }
        default:
            break;
    }
    if (nIndex < 0 || static_cast<std::size_t>(nIndex) + sizeof(LONG_PTR) > window->extra.size()) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    std::memcpy(window->extra.data() + nIndex, &dwNewLong, sizeof dwNewLong);
    return old;
}

LONG WINAPI GetWindowLongA(HWND hWnd, int nIndex) {
    return static_cast<LONG>(GetWindowLongPtrA(hWnd, nIndex));
}

LONG WINAPI SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong) {
    return static_cast<LONG>(SetWindowLongPtrA(hWnd, nIndex, dwNewLong));
}

BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString) {
    Window* window = FindWindowRecord(hWnd);
    if (window == nullptr)
        return FALSE;
    if (window->kind == WindowKind::Foreign) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return Send(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString ? lpString : "")) != 0;
}

int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount) {
    Window* window = FindWindowRecord(hWnd);
    if (window == nullptr || lpString == nullptr || nMaxCount <= 0)
        return 0;
    if (window->kind != WindowKind::Normal) {
        // Windows of other processes (and the desktop) answer from the window system's copy.
        const std::string& text = window->text;
        std::size_t count = std::min<std::size_t>(text.size(), nMaxCount - 1);
        text.copy(lpString, count);
        lpString[count] = '\0';
        return static_cast<int>(count);
    }
    lpString[0] = '\0';
    return static_cast<int>(
        Send(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

int WINAPI GetWindowTextLengthA(HWND hWnd) {
    Window* window = FindWindowRecord(hWnd);
    if (window == nullptr)
        return 0;
    if (window->kind != WindowKind::Normal)
        return static_cast<int>(window->text.size());
    return static_cast<int>(Send(hWnd, WM_GETTEXTLENGTH, 0, 0));
}

HWND WINAPI FindWindowA(LPCSTR lpClassName, LPCSTR lpWindowName) {
    State& state = SessionState();
    const WindowClass* wc = nullptr;
    if (lpClassName != nullptr) {
        wc = FindClass(lpClassName);
        if (wc == nullptr && lpWindowName == nullptr)
            return nullptr;
    }
    for (HWND hwnd : state.topLevels) {
        const Window* window = PeekWindowRecord(hwnd);
        if (window == nullptr || window->destroying)
            continue;
        if (lpClassName != nullptr && window->windowClass != wc)
            continue;
        if (lpWindowName != nullptr && window->text != lpWindowName)
            continue;
        return hwnd;
    }
    // Other processes' windows are known only by their titles.
    if (lpWindowName != nullptr && lpClassName == nullptr) {
        if (const auto id = winapi::CurrentBackend().FindForeignWindow(lpWindowName))
            return ForeignWindowHandle(*id, lpWindowName);
    }
    return nullptr;
}

BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
    Window* window = FindWindowRecord(hWnd);
    if (window == nullptr)
        return FALSE;
    const BOOL wasDisabled = window->enabled ? FALSE : TRUE;
    if ((bEnable != FALSE) == window->enabled)
        return wasDisabled;
    if (!bEnable) {
        Send(hWnd, WM_CANCELMODE, 0, 0);
        window = PeekWindowRecord(hWnd);
        if (window == nullptr)
            return wasDisabled;
        window->enabled = false;
        // A disabled window cannot keep the keyboard focus.
        State& state = SessionState();
        if (state.focus != nullptr && (state.focus == hWnd || IsChild(hWnd, state.focus)))
            SetFocus(nullptr);
        if (state.capture == hWnd)
            ReleaseCapture();
    } else {
        window->enabled = true;
    }
    Send(hWnd, WM_ENABLE, bEnable ? TRUE : FALSE, 0);
    return wasDisabled;
}
