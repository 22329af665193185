#include "platform/winapi/menu/popup_window.h"

#include "platform/winapi/core/internal.h"
#include "platform/winapi/system_classes.h"

namespace winapi::menu {
namespace {

constexpr int kSelfSlot = 0;  // the window's extra bytes hold its PopupWindow

void RegisterMenuClass() {
    WNDCLASSA wc{};
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = &PopupWindow::WindowProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.lpszClassName = "#32768";
    core::RegisterSystemClass(wc, PopupWindow::kClassAtom);
}

const SystemClassRegistration kRegistration{&RegisterMenuClass};

}  // namespace

PopupWindow::PopupWindow(HWND owner, HMENU menu) : m_view(menu) {
    m_hwnd = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, MAKEINTRESOURCEA(kClassAtom), "",
                             WS_POPUP, 0, 0, m_view.Size().cx, m_view.Size().cy, owner, nullptr,
                             nullptr, nullptr);
    if (m_hwnd == nullptr)
        return;
    SetWindowLongPtrA(m_hwnd, kSelfSlot, reinterpret_cast<LONG_PTR>(this));
}

PopupWindow::~PopupWindow() {
    if (m_hwnd == nullptr || !IsWindow(m_hwnd))
        return;
    SetWindowLongPtrA(m_hwnd, kSelfSlot, 0);
    DestroyWindow(m_hwnd);
}

RECT PopupWindow::ScreenRect() const {
    return {m_origin.x, m_origin.y, m_origin.x + m_view.Size().cx, m_origin.y + m_view.Size().cy};
}

void PopupWindow::ShowAt(POINT topLeft) {
    m_origin = topLeft;
    SetWindowPos(m_hwnd, HWND_TOPMOST, topLeft.x, topLeft.y, m_view.Size().cx, m_view.Size().cy,
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

int PopupWindow::ItemAt(POINT screen) const {
    return m_view.ItemAt({screen.x - m_origin.x, screen.y - m_origin.y});
}

RECT PopupWindow::ItemScreenRect(int index) const {
    RECT rect = m_view.ItemRect(index);
    OffsetRect(&rect, m_origin.x, m_origin.y);
    return rect;
}

void PopupWindow::Select(int index) {
    const int previous = m_view.Selected();
    if (previous == index)
        return;
    m_view.SetSelected(index);
    for (int changed : {previous, index}) {
        if (changed < 0)
            continue;
        const RECT rect = m_view.ItemRect(changed);
        InvalidateRect(m_hwnd, &rect, FALSE);
    }
}

void PopupWindow::Paint() {
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(m_hwnd, &ps);
    if (hdc != nullptr)
        m_view.Draw(hdc);
    EndPaint(m_hwnd, &ps);
}

LRESULT CALLBACK PopupWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<PopupWindow*>(GetWindowLongPtrA(hwnd, kSelfSlot));
    switch (message) {
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_ERASEBKGND:
            return 1;  // the paint covers every pixel
        case WM_PAINT:
            if (self == nullptr)
                break;
            self->Paint();
            return 0;
        default:
            break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace winapi::menu
