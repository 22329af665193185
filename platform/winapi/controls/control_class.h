// The window procedure every control shares. Each control window owns one Control object, made
// at WM_NCCREATE and destroyed at WM_NCDESTROY; like Win32's own controls, it keeps its state in
// the window's extra bytes. A Control provides a constructor (HWND, const CREATESTRUCTA&) and a
// static Messages() table; what the table leaves out goes to DefWindowProc.
#pragma once

#include <memory>

#include <windows.h>

#include "platform/winapi/controls/message_table.h"
#include "platform/winapi/core/internal.h"

namespace winapi::controls {

template <class Control>
class ControlClass {
public:
    static constexpr int kExtraBytes = static_cast<int>(sizeof(Control*));

    // The control behind a window of this class, or null (before WM_NCCREATE, after
    // WM_NCDESTROY, or for a window of another class).
    static Control* Of(HWND hwnd) { return reinterpret_cast<Control*>(GetWindowLongPtrA(hwnd, 0)); }

    static void Register(LPCSTR name, UINT style, ATOM atom) {
        WNDCLASSA wc{};
        wc.style = style | CS_GLOBALCLASS;
        wc.lpfnWndProc = &Proc;
        wc.cbWndExtra = kExtraBytes;
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = name;
        core::RegisterSystemClass(wc, atom);
    }

    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            if (create == nullptr)
                return FALSE;
            auto control = std::make_unique<Control>(hwnd, *create);
            SetWindowLongPtrA(hwnd, 0, reinterpret_cast<LONG_PTR>(control.release()));
        }
        if (message == WM_NCDESTROY) {
            const std::unique_ptr<Control> ending(Of(hwnd));
            SetWindowLongPtrA(hwnd, 0, 0);
            return DefWindowProcA(hwnd, message, wParam, lParam);
        }
        Control* control = Of(hwnd);
        if (control == nullptr)
            return DefWindowProcA(hwnd, message, wParam, lParam);
        const auto handler = Control::Messages().Find(message);
        if (handler == nullptr)
            return DefWindowProcA(hwnd, message, wParam, lParam);
        return (control->*handler)(wParam, lParam);
    }
};

}  // namespace winapi::controls
