#include "platform/winapi/controls/control_paint.h"

namespace winapi::controls {

PaintDc::PaintDc(HWND hwnd, WPARAM givenDc) : m_hwnd(hwnd), m_hdc(reinterpret_cast<HDC>(givenDc)) {
    if (m_hdc != nullptr)
        return;
    m_hdc = BeginPaint(hwnd, &m_paint);
    m_began = true;
}

PaintDc::~PaintDc() {
    if (m_began)
        EndPaint(m_hwnd, &m_paint);
}

HBRUSH AskParentForColours(HWND control, HDC hdc, UINT message) {
    HWND parent = GetParent(control);
    if (parent == nullptr)
        parent = control;
    const auto wParam = reinterpret_cast<WPARAM>(hdc);
    const auto lParam = reinterpret_cast<LPARAM>(control);
    if (const auto brush = reinterpret_cast<HBRUSH>(SendMessageA(parent, message, wParam, lParam)))
        return brush;
    return reinterpret_cast<HBRUSH>(DefWindowProcA(parent, message, wParam, lParam));
}

void NotifyParent(HWND control, WORD code) {
    const HWND parent = GetParent(control);
    if (parent == nullptr)
        return;
    const auto id = static_cast<WORD>(GetWindowLongPtrA(control, GWLP_ID));
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

void RepaintNow(HWND control) {
    InvalidateRect(control, nullptr, FALSE);
    // An ancestor still waiting to paint would paint over the control afterwards: then the
    // control waits its turn, which comes after the ancestor's.
    for (HWND child = control; (GetWindowLongA(child, GWL_STYLE) & WS_CHILD) != 0;) {
        child = GetParent(child);
        if (child == nullptr || GetUpdateRect(child, nullptr, FALSE))
            return;
    }
    UpdateWindow(control);
}

RECT ClientRect(HWND control) {
    RECT rect{};
    GetClientRect(control, &rect);
    return rect;
}

}  // namespace winapi::controls

namespace winapi::controls {

std::string WindowText(HWND control) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace winapi::controls
