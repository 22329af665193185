// The default handling of window messages, as Win32's DefWindowProc does it.
#include <algorithm>
#include <cstring>

#include <windowsx.h>

#include "platform/winapi/core/internal.h"
#include "platform/winapi/core/non_client.h"
#include "platform/winapi/gdi/icon_image.h"
#include "platform/winapi/host.h"
#include "platform/winapi/utf8.h"

namespace winapi::core {
namespace {

// Copies at most size - 1 bytes and never splits a UTF-8 character.
LRESULT CopyText(const std::string& text, WPARAM size, LPSTR buffer) {
    if (buffer == nullptr || size == 0)
        return 0;
    const std::size_t count = Utf8FittingLength(text, size - 1);
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return static_cast<LRESULT>(count);
}

void SetText(HWND hwnd, LPCSTR text) {
    Window* w = PeekWindowRecord(hwnd);
    if (w == nullptr)
        return;
    w->text = text != nullptr ? text : "";
    if (w->surfaceId != 0)
        CurrentBackend().SetSurfaceTitle(w->surfaceId, w->text);
    if ((w->style & WS_CAPTION) == WS_CAPTION)
        InvalidateWindow(hwnd, nullptr, false, false, true);
}

LRESULT OnWindowPosChanged(HWND hwnd, const WINDOWPOS* pos) {
    const Window* w = PeekWindowRecord(hwnd);
    if (w == nullptr || pos == nullptr)
        return 0;
    if (!(pos->flags & SWP_NOMOVE)) {
        POINT origin{w->windowRect.left + w->clientRect.left,
                     w->windowRect.top + w->clientRect.top};
        Send(hwnd, WM_MOVE, 0,
             MAKELPARAM(static_cast<WORD>(origin.x), static_cast<WORD>(origin.y)));
    }
    if ((w = PeekWindowRecord(hwnd)) == nullptr)
        return 0;
    if (!(pos->flags & SWP_NOSIZE) || (pos->flags & SWP_FRAMECHANGED)) {
        const WPARAM kind = w->minimized ? SIZE_MINIMIZED : SIZE_RESTORED;
        Send(hwnd, WM_SIZE, kind,
             MAKELPARAM(w->clientRect.right - w->clientRect.left,
                        w->clientRect.bottom - w->clientRect.top));
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
    const int background = (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX)
                               ? COLOR_WINDOW
                               : COLOR_BTNFACE;
    SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(hdc, GetSysColor(background));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
}

LRESULT OnSysCommand(HWND hwnd, WPARAM command, LPARAM lParam) {
    static constexpr struct {
        WPARAM command;
        int show;
    } kShowCommands[] = {{SC_MINIMIZE, SW_MINIMIZE}, {SC_RESTORE, SW_RESTORE}};
    if ((command & 0xFFF0) == SC_CLOSE) {
        Send(hwnd, WM_CLOSE, 0, 0);
        return 0;
    }
    for (const auto& entry : kShowCommands)
        if (entry.command == (command & 0xFFF0)) {
            ShowWindow(hwnd, entry.show);
            return 0;
        }
    return HandleNonClientCommand(hwnd, command, lParam);
}

LRESULT OnSetIcon(HWND hwnd, WPARAM which, HICON icon) {
    Window* w = PeekWindowRecord(hwnd);
    if (w == nullptr)
        return 0;
    HICON& slot = which == ICON_BIG ? w->bigIcon : w->smallIcon;
    const HICON old = slot;
    slot = icon;
    UpdateSurfaceIcon(*w);
    if ((w->style & WS_CAPTION) == WS_CAPTION)
        InvalidateWindow(hwnd, nullptr, false, false, true);
    return reinterpret_cast<LRESULT>(old);
}

// The default answer to each message, one handler each; a message not in the table gets 0.
using DefaultHandler = LRESULT (*)(HWND hwnd, Window& w, UINT message, WPARAM wParam,
                                   LPARAM lParam);

LRESULT OnNcCreate(HWND, Window& w, UINT, WPARAM, LPARAM lParam) {
    const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    if (cs != nullptr && cs->lpszName != nullptr && !IS_INTRESOURCE(cs->lpszName))
        w.text = cs->lpszName;
    if (w.surfaceId != 0)
        CurrentBackend().SetSurfaceTitle(w.surfaceId, w.text);
    return TRUE;
}

LRESULT OnNcCalcSize(HWND, Window& w, UINT, WPARAM, LPARAM lParam) {
    auto* rect = reinterpret_cast<RECT*>(lParam);
    if (rect == nullptr || w.minimized)
        return 0;
    const Insets insets = NonClientInsets(w.style, w.exStyle);
    rect->left += insets.left;
    rect->top += insets.top;
    rect->right -= insets.right;
    rect->bottom -= insets.bottom;
    return 0;
}

LRESULT OnNcActivate(HWND hwnd, Window& w, UINT, WPARAM, LPARAM) {
    if ((w.style & WS_CAPTION) == WS_CAPTION)
        InvalidateWindow(hwnd, nullptr, false, false, true);
    return TRUE;
}

LRESULT OnNcMouse(HWND hwnd, Window&, UINT message, WPARAM wParam, LPARAM lParam) {
    return HandleNonClientMouse(hwnd, message, wParam, lParam);
}

LRESULT OnEraseBackground(HWND hwnd, Window& w, UINT, WPARAM wParam, LPARAM) {
    HBRUSH brush = w.windowClass != nullptr ? w.windowClass->background : nullptr;
    if (brush == nullptr)
        return 0;
    RECT rect;
    GetClientRect(hwnd, &rect);
    FillRect(reinterpret_cast<HDC>(wParam), &rect, brush);
    return 1;
}

// Validates what needs painting, so that WM_PAINT stops coming.
LRESULT OnPaint(HWND hwnd, Window&, UINT, WPARAM, LPARAM) {
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
    return 0;
}

LRESULT OnSysKeyDown(HWND hwnd, Window&, UINT message, WPARAM wParam, LPARAM lParam) {
    if ((HIWORD(lParam) & KF_ALTDOWN) && wParam == VK_F4) {
        Send(TopLevelOf(hwnd), WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    }
    if (wParam == VK_F10 && (GetKeyState(VK_SHIFT) & 0x8000)) {
        Send(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), -1);
        return 0;
    }
    return HandleNonClientKey(hwnd, message, wParam, lParam);
}

LRESULT OnKeyUp(HWND hwnd, Window&, UINT, WPARAM wParam, LPARAM) {
    if (wParam == VK_APPS)
        Send(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), -1);
    return 0;
}

LRESULT OnSysChar(HWND hwnd, Window&, UINT message, WPARAM wParam, LPARAM lParam) {
    return HandleNonClientKey(hwnd, message, wParam, lParam);
}

LRESULT OnRButtonUp(HWND hwnd, Window&, UINT, WPARAM, LPARAM lParam) {
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ClientToScreen(hwnd, &point);
    Send(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(point.x, point.y));
    return 0;
}

// Unhandled, the request climbs to the parent.
LRESULT OnContextMenu(HWND, Window& w, UINT, WPARAM wParam, LPARAM lParam) {
    if (w.parent != nullptr)
        return Send(w.parent, WM_CONTEXTMENU, wParam, lParam);
    return 0;
}

LRESULT OnMouseActivate(HWND, Window& w, UINT, WPARAM wParam, LPARAM lParam) {
    if (w.parent != nullptr) {
        const LRESULT answer = Send(w.parent, WM_MOUSEACTIVATE, wParam, lParam);
        if (answer != 0)
            return answer;
    }
    return MA_ACTIVATE;
}

LRESULT OnActivate(HWND hwnd, Window&, UINT, WPARAM wParam, LPARAM) {
    if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam))
        SetFocus(hwnd);
    return 0;
}

LRESULT OnGetIcon(HWND, Window& w, UINT, WPARAM wParam, LPARAM) {
    return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? w.bigIcon
                                                        : (w.smallIcon ? w.smallIcon : w.bigIcon));
}

LRESULT OnQueryDragIcon(HWND, Window& w, UINT, WPARAM, LPARAM) {
    return reinterpret_cast<LRESULT>(w.windowClass != nullptr ? w.windowClass->icon : nullptr);
}

LRESULT OnCancelMode(HWND hwnd, Window&, UINT, WPARAM, LPARAM) {
    if (GetCapture() == hwnd)
        ReleaseCapture();
    return 0;
}

LRESULT OnGetMinMaxInfo(HWND, Window&, UINT, WPARAM, LPARAM lParam) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    if (info == nullptr)
        return 0;
    info->ptMaxSize = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    info->ptMinTrackSize = {GetSystemMetrics(SM_CXMINTRACK), GetSystemMetrics(SM_CYMINTRACK)};
    info->ptMaxTrackSize = {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return 0;
}

LRESULT OnCtlColorMessage(HWND, Window&, UINT message, WPARAM wParam, LPARAM) {
    return OnCtlColor(message, reinterpret_cast<HDC>(wParam));
}

struct DefaultEntry {
    UINT message;
    DefaultHandler handle;
};

constexpr DefaultEntry kDefaults[] = {
    {WM_NCCREATE, &OnNcCreate},
    {WM_NCCALCSIZE, &OnNcCalcSize},
    {WM_NCHITTEST,
     [](HWND hwnd, Window&, UINT, WPARAM, LPARAM lParam) -> LRESULT {
         return NonClientHitTest(hwnd, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
     }},
    {WM_NCPAINT,
     [](HWND hwnd, Window&, UINT, WPARAM, LPARAM) -> LRESULT {
         PaintNonClient(hwnd);
         return 0;
     }},
    {WM_NCACTIVATE, &OnNcActivate},
    {WM_NCLBUTTONDOWN, &OnNcMouse},
    {WM_NCLBUTTONUP, &OnNcMouse},
    {WM_NCLBUTTONDBLCLK, &OnNcMouse},
    {WM_NCMOUSEMOVE, &OnNcMouse},
    {WM_ERASEBKGND, &OnEraseBackground},
    {WM_PAINT, &OnPaint},
    {WM_SETTEXT,
     [](HWND hwnd, Window&, UINT, WPARAM, LPARAM lParam) -> LRESULT {
         SetText(hwnd, reinterpret_cast<LPCSTR>(lParam));
         return TRUE;
     }},
    {WM_GETTEXT,
     [](HWND, Window& w, UINT, WPARAM wParam, LPARAM lParam) -> LRESULT {
         return CopyText(w.text, wParam, reinterpret_cast<LPSTR>(lParam));
     }},
    {WM_GETTEXTLENGTH,
     [](HWND, Window& w, UINT, WPARAM, LPARAM) -> LRESULT {
         return static_cast<LRESULT>(w.text.size());
     }},
    {WM_CLOSE,
     [](HWND hwnd, Window&, UINT, WPARAM, LPARAM) -> LRESULT {
         DestroyWindow(hwnd);
         return 0;
     }},
    {WM_SYSCOMMAND,
     [](HWND hwnd, Window&, UINT, WPARAM wParam, LPARAM lParam) -> LRESULT {
         return OnSysCommand(hwnd, wParam, lParam);
     }},
    {WM_SYSKEYDOWN, &OnSysKeyDown},
    {WM_KEYUP, &OnKeyUp},
    {WM_SYSKEYUP, &OnKeyUp},
    {WM_SYSCHAR, &OnSysChar},
    {WM_RBUTTONUP, &OnRButtonUp},
    {WM_CONTEXTMENU, &OnContextMenu},
    {WM_MOUSEACTIVATE, &OnMouseActivate},
    {WM_ACTIVATE, &OnActivate},
    {WM_WINDOWPOSCHANGED,
     [](HWND hwnd, Window&, UINT, WPARAM, LPARAM lParam) -> LRESULT {
         return OnWindowPosChanged(hwnd, reinterpret_cast<const WINDOWPOS*>(lParam));
     }},
    {WM_SETICON,
     [](HWND hwnd, Window&, UINT, WPARAM wParam, LPARAM lParam) -> LRESULT {
         return OnSetIcon(hwnd, wParam, reinterpret_cast<HICON>(lParam));
     }},
    {WM_GETICON, &OnGetIcon},
    {WM_QUERYOPEN, [](HWND, Window&, UINT, WPARAM, LPARAM) -> LRESULT { return TRUE; }},
    {WM_QUERYDRAGICON, &OnQueryDragIcon},
    {WM_CTLCOLORMSGBOX, &OnCtlColorMessage},
    {WM_CTLCOLOREDIT, &OnCtlColorMessage},
    {WM_CTLCOLORLISTBOX, &OnCtlColorMessage},
    {WM_CTLCOLORBTN, &OnCtlColorMessage},
    {WM_CTLCOLORDLG, &OnCtlColorMessage},
    {WM_CTLCOLORSCROLLBAR, &OnCtlColorMessage},
    {WM_CTLCOLORSTATIC, &OnCtlColorMessage},
    {WM_CANCELMODE, &OnCancelMode},
    {WM_GETMINMAXINFO, &OnGetMinMaxInfo},
};

}  // namespace

void UpdateSurfaceIcon(Window& window) {
    if (window.surfaceId == 0)
        return;
    const HICON icon = window.bigIcon != nullptr ? window.bigIcon : window.smallIcon;
    if (icon == nullptr)
        return;
    if (const auto image = gdi::GetIconImage(icon))
        CurrentBackend().SetSurfaceIcon(
            window.surfaceId, {image->argb.data(), image->width, image->height, image->width});
}

}  // namespace winapi::core

using namespace winapi::core;

LRESULT WINAPI DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    Window* w = FindWindowRecord(hWnd);
    if (w == nullptr)
        return 0;
    for (const DefaultEntry& entry : kDefaults)
        if (entry.message == Msg)
            return entry.handle(hWnd, *w, Msg, wParam, lParam);
    return 0;
}

LRESULT WINAPI CallWindowProcA(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam,
                               LPARAM lParam) {
    if (lpPrevWndFunc == nullptr)
        return 0;
    return lpPrevWndFunc(hWnd, Msg, wParam, lParam);
}
