// SetScrollPos and its relatives. SB_CTL speaks to a scroll bar control through its SBM_*
// messages (so a subclassed bar sees them); the windows of this layer have no standard
// scroll bars, so SB_HORZ and SB_VERT fail as on a window without them.
#include <climits>
#include <string_view>

#include <windows.h>

#include "platform/winapi/controls/scroll_values.h"

namespace {

bool IsScrollBarControl(HWND hwnd) {
    char name[16];
    const int length = GetClassNameA(hwnd, name, sizeof name);
    return std::string_view(name, static_cast<std::size_t>(length)) == "ScrollBar";
}

// The control that answers for hwnd's bar, or null with Win32's error set.
HWND BarControl(HWND hwnd, int bar) {
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    switch (bar) {
        case SB_CTL:
            if (IsScrollBarControl(hwnd))
                return hwnd;
            SetLastError(ERROR_NO_SCROLLBARS);
            return nullptr;
        case SB_HORZ:
        case SB_VERT:
            SetLastError(ERROR_NO_SCROLLBARS);
            return nullptr;
        default:
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
    }
}

}  // namespace

int WINAPI SetScrollPos(HWND hWnd, int nBar, int nPos, BOOL bRedraw) {
    const HWND control = BarControl(hWnd, nBar);
    if (control == nullptr)
        return 0;
    return static_cast<int>(SendMessageA(control, SBM_SETPOS, static_cast<WPARAM>(nPos), bRedraw));
}

int WINAPI GetScrollPos(HWND hWnd, int nBar) {
    const HWND control = BarControl(hWnd, nBar);
    if (control == nullptr)
        return 0;
    return static_cast<int>(SendMessageA(control, SBM_GETPOS, 0, 0));
}

BOOL WINAPI SetScrollRange(HWND hWnd, int nBar, int nMinPos, int nMaxPos, BOOL bRedraw) {
    const HWND control = BarControl(hWnd, nBar);
    if (control == nullptr)
        return FALSE;
    if (static_cast<long long>(nMaxPos) - nMinPos > INT_MAX) {
        SetLastError(ERROR_INVALID_SCROLLBAR_RANGE);
        return FALSE;
    }
    SendMessageA(control, bRedraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, static_cast<WPARAM>(nMinPos),
                 static_cast<LPARAM>(nMaxPos));
    return TRUE;
}

BOOL WINAPI GetScrollRange(HWND hWnd, int nBar, LPINT lpMinPos, LPINT lpMaxPos) {
    const HWND control = BarControl(hWnd, nBar);
    if (control == nullptr) {
        if (lpMinPos != nullptr)
            *lpMinPos = 0;
        if (lpMaxPos != nullptr)
            *lpMaxPos = 0;
        return FALSE;
    }
    SendMessageA(control, SBM_GETRANGE, reinterpret_cast<WPARAM>(lpMinPos),
                 reinterpret_cast<LPARAM>(lpMaxPos));
    return TRUE;
}

int WINAPI SetScrollInfo(HWND hwnd, int nBar, LPCSCROLLINFO lpsi, BOOL redraw) {
    const HWND control = BarControl(hwnd, nBar);
    if (control == nullptr)
        return 0;
    if (!winapi::controls::IsValidScrollInfo(lpsi)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return static_cast<int>(
        SendMessageA(control, SBM_SETSCROLLINFO, redraw, reinterpret_cast<LPARAM>(lpsi)));
}

BOOL WINAPI GetScrollInfo(HWND hwnd, int nBar, LPSCROLLINFO lpsi) {
    const HWND control = BarControl(hwnd, nBar);
    if (control == nullptr)
        return FALSE;
    if (!winapi::controls::IsValidScrollInfo(lpsi) || (lpsi->fMask & SIF_ALL) == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return static_cast<BOOL>(
        SendMessageA(control, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(lpsi)));
}
