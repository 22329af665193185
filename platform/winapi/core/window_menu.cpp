#include "platform/winapi/core/window_menu.h"

namespace winapi::core {
namespace {

WindowMenuHooks& Hooks() {
    static WindowMenuHooks hooks{};
    return hooks;
}

}  // namespace

WindowMenuRegistration::WindowMenuRegistration(const WindowMenuHooks& hooks) {
    Hooks() = hooks;
}

void TrackWindowMenu(HWND hwnd, POINT at, bool fromIconClick, DWORD clickTime) {
    if (Hooks().track != nullptr)
        Hooks().track(hwnd, at, fromIconClick, clickTime);
}

bool WindowMenuCanClose(HWND hwnd) {
    return Hooks().canClose == nullptr || Hooks().canClose(hwnd);
}

void ForgetWindowMenu(HWND hwnd) {
    if (Hooks().forget != nullptr)
        Hooks().forget(hwnd);
}

}  // namespace winapi::core
