// The default handling of window messages, as Win32's DefWindowProc does it.
#include <algorithm>
#include <cstring>

#include <windowsx.h>

#include "platform/winapi/core/internal.h"
#include "platform/winapi/core/non_client.h"
#include "platform/winapi/gdi/icon_image.h"
#include "platform/winapi/host.h"

namespace winapi::core {
namespace {

// Copies at most size - 1 bytes and never splits a UTF-8 character.
LRESULT CopyText(const std::string& text, WPARAM size, LPSTR buffer) {
    if (buffer == nullptr || size == 0) return 0;
    std::size_t count = std::min<std::size_t>(text.size(), size - 1);
    while (count > 0 && count < text.size() && (static_cast<unsigned char>(text[count]) & 0xC0) == 0x80) --count;
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return static_cast<LRESULT>(count);
}

void SetText(HWND hwnd, LPCSTR text) {
    Window* w = PeekWindowRecord(hwnd);
    if (w == nullptr) return;
    w->text = text != nullptr ? text : "";
    if (w->surfaceId != 0) CurrentBackend().SetSurfaceTitle(w->surfaceId, w->text);
    if ((w->style & WS_CAPTION) == WS_CAPTION) InvalidateWindow(hwnd, nullptr, false, false, true);
}

LRESULT OnWindowPosChanged(HWND hwnd, const WINDOWPOS* pos) {
    const Window* w = PeekWindowRecord(hwnd);
    if (w == nullptr || pos == nullptr) return 0;
    if (!(pos->flags & SWP_NOMOVE)) {
        POINT origin{w->windowRect.left + w->clientRect.left, w->windowRect.top + w->clientRect.top};
        Send(hwnd, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(origin.x), static_cast<WORD>(origin.y)));
    }
    if ((w = PeekWindowRecord(hwnd)) == nullptr) return 0;
    if (!(pos->flags & SWP_NOSIZE) || (pos->flags & SWP_FRAMECHANGED)) {
        const WPARAM kind = w->minimized ? SIZE_MINIMIZED : SIZE_RESTORED;
        Send(hwnd, WM_SIZE, kind,
             MAKELPARAM(w->clientRect.right - w->clientRect.left, w->clientRect.bottom - w->clientRect.top));
    }
    return 0;
}

LRESULT OnCtlColor(UINT message, HDC hdc) {
    // A scroll bar's track: the COLOR_SCROLLBAR brush, which Win32 realises as a 50% pattern
    // of these two colours.
    if (message == WM_CTLCOLORSCROLLBAR) {
        SetTextColor(hdc, GetSysColor(COLOR_3DFACE));
        SetBkColor(hdc, GetSysColor(COLOR_3DHILIGHT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_SCROLLBAR));
    }
    const int background = (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX) ? COLOR_WINDOW : COLOR_BTNFACE;
    SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(hdc, GetSysColor(background));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
}

LRESULT OnSysCommand(HWND hwnd, WPARAM command, LPARAM lParam) {
    switch (command & 0xFFF0) {
    case SC_CLOSE: Send(hwnd, WM_CLOSE, 0, 0); return 0;
    case SC_MINIMIZE: ShowWindow(hwnd, SW_MINIMIZE); return 0;
    case SC_RESTORE: ShowWindow(hwnd, SW_RESTORE); return 0;
    default: return HandleNonClientCommand(hwnd, command, lParam);
    }
}

LRESULT OnSetIcon(HWND hwnd, WPARAM which, HICON icon) {
    Window* w = PeekWindowRecord(hwnd);
    if (w == nullptr) return 0;
    HICON& slot = which == ICON_BIG ? w->bigIcon : w->smallIcon;
    const HICON old = slot;
    slot = icon;
    UpdateSurfaceIcon(*w);
    if ((w->style & WS_CAPTION) == WS_CAPTION) InvalidateWindow(hwnd, nullptr, false, false, true);
    return reinterpret_cast<LRESULT>(old);
}

}  // namespace

void UpdateSurfaceIcon(Window& window) {
    if (window.surfaceId == 0) return;
    const HICON icon = window.bigIcon != nullptr ? window.bigIcon : window.smallIcon;
    if (icon == nullptr) return;
    if (const auto image = gdi::GetIconImage(icon))
        CurrentBackend().SetSurfaceIcon(window.surfaceId,
                                        {image->argb.data(), image->width, image->height, image->width});
}

}  // namespace winapi::core

using namespace winapi::core;

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWindowRecord(hWnd);
    if (w == nullptr) return 0;
    switch (Msg) {
    case WM_NCCREATE: {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (cs != nullptr && cs->lpszName != nullptr && !IS_INTRESOURCE(cs->lpszName)) w->text = cs->lpszName;
        if (w->surfaceId != 0) winapi::CurrentBackend().SetSurfaceTitle(w->surfaceId, w->text);
        return TRUE;
    }
    case WM_NCCALCSIZE: {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        if (rect == nullptr || w->minimized) return 0;
        const Insets insets = NonClientInsets(w->style, w->exStyle);
        rect->left += insets.left;
        rect->top += insets.top;
        rect->right -= insets.right;
        rect->bottom -= insets.bottom;
        return 0;
    }
    case WM_NCHITTEST: return NonClientHitTest(hWnd, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    case WM_NCPAINT: PaintNonClient(hWnd); return 0;
    case WM_NCACTIVATE:
        if ((w->style & WS_CAPTION) == WS_CAPTION) InvalidateWindow(hWnd, nullptr, false, false, true);
        return TRUE;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCMOUSEMOVE: return HandleNonClientMouse(hWnd, Msg, wParam, lParam);
    case WM_ERASEBKGND: {
        HBRUSH brush = w->windowClass != nullptr ? w->windowClass->background : nullptr;
        if (brush == nullptr) return 0;
        RECT rect;
        GetClientRect(hWnd, &rect);
        FillRect(reinterpret_cast<HDC>(wParam), &rect, brush);
        return 1;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hWnd, &ps);
        EndPaint(hWnd, &ps);
        return 0;
    }
    case WM_SETTEXT: SetText(hWnd, reinterpret_cast<LPCSTR>(lParam)); return TRUE;
    case WM_GETTEXT: return CopyText(w->text, wParam, reinterpret_cast<LPSTR>(lParam));
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(w->text.size());
    case WM_CLOSE: DestroyWindow(hWnd); return 0;
    case WM_SYSCOMMAND: return OnSysCommand(hWnd, wParam, lParam);
    case WM_SYSKEYDOWN:
        if ((HIWORD(lParam) & KF_ALTDOWN) && wParam == VK_F4) {
            Send(TopLevelOf(hWnd), WM_SYSCOMMAND, SC_CLOSE, 0);
            return 0;
        }
        if (wParam == VK_F10 && (GetKeyState(VK_SHIFT) & 0x8000)) {
            Send(hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd), -1);
            return 0;
        }
        return HandleNonClientKey(hWnd, Msg, wParam, lParam);
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (wParam == VK_APPS) Send(hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd), -1);
        return 0;
    case WM_SYSCHAR: return HandleNonClientKey(hWnd, Msg, wParam, lParam);
    case WM_RBUTTONUP: {
        POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ClientToScreen(hWnd, &point);
        Send(hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd), MAKELPARAM(point.x, point.y));
        return 0;
    }
    case WM_CONTEXTMENU:
        // Unhandled, the request climbs to the parent.
        if (w->parent != nullptr) return Send(w->parent, WM_CONTEXTMENU, wParam, lParam);
        return 0;
    case WM_MOUSEACTIVATE:
        if (w->parent != nullptr) {
            const LRESULT answer = Send(w->parent, WM_MOUSEACTIVATE, wParam, lParam);
            if (answer != 0) return answer;
        }
        return MA_ACTIVATE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) SetFocus(hWnd);
        return 0;
    case WM_WINDOWPOSCHANGED: return OnWindowPosChanged(hWnd, reinterpret_cast<const WINDOWPOS*>(lParam));
    case WM_SETICON: return OnSetIcon(hWnd, wParam, reinterpret_cast<HICON>(lParam));
    case WM_GETICON:
        return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? w->bigIcon : (w->smallIcon ? w->smallIcon : w->bigIcon));
    case WM_QUERYOPEN: return TRUE;
    case WM_QUERYDRAGICON:
        return reinterpret_cast<LRESULT>(w->windowClass != nullptr ? w->windowClass->icon : nullptr);
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return OnCtlColor(Msg, reinterpret_cast<HDC>(wParam));
    case WM_CANCELMODE:
        if (GetCapture() == hWnd) ReleaseCapture();
        return 0;
    case WM_GETMINMAXINFO: {
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        if (info == nullptr) return 0;
        info->ptMaxSize = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        info->ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
        info->ptMaxTrackSize = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        return 0;
    }
    default: return 0;
    }
}

LRESULT WINAPI CallWindowProcA(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (lpPrevWndFunc == nullptr) return 0;
    return lpPrevWndFunc(hWnd, Msg, wParam, lParam);
}
