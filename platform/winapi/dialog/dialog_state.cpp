#include "platform/winapi/dialog/dialog_state.h"

#include <map>

#include "platform/winapi/core/internal.h"
#include "platform/winapi/session_parts.h"

namespace winapi::dialog {
namespace {

std::map<HWND, DialogState>& States() {
    static std::map<HWND, DialogState> states;
    return states;
}

// Every dialog has heard WM_NCDESTROY by now; whatever remains (a dialog whose subclass kept
// WM_NCDESTROY from DefDlgProc) goes before the GDI objects do.
const SessionEndHook kEndHook(SessionEndOrder::Gdi, [] { States().clear(); });

}  // namespace

DialogState* FindDialogState(HWND dialog) {
    const auto it = States().find(dialog);
    return it == States().end() ? nullptr : &it->second;
}

DialogState& DialogStateOf(HWND dialog) {
    return States()[dialog];
}

void ForgetDialogState(HWND dialog) {
    States().erase(dialog);
}

namespace {

bool HasDialogLongs(HWND dialog) {
    const core::Window* window = core::PeekWindowRecord(dialog);
    return window != nullptr && window->extra.size() >= DWLP_USER + sizeof(LONG_PTR);
}

}  // namespace

LONG_PTR DialogLong(HWND dialog, int index) {
    return HasDialogLongs(dialog) ? GetWindowLongPtrA(dialog, index) : 0;
}

void SetDialogLong(HWND dialog, int index, LONG_PTR value) {
    if (HasDialogLongs(dialog))
        SetWindowLongPtrA(dialog, index, value);
}

}  // namespace winapi::dialog
