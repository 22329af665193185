#include "platform/winapi/dialog/modal_loop.h"

#include "platform/winapi/dialog/dialog_state.h"

namespace winapi::dialog {
namespace {

// WM_ENTERIDLE's wParam when the loop is a dialog's.
constexpr WPARAM kIdleInDialog = 0;  // MSGF_DIALOGBOX

bool HasEnded(HWND dialog) {
    const DialogState* state = FindDialogState(dialog);
    return state == nullptr || state->ended;
}

// The next message; the first time none is waiting the dialog is shown, and the owner hears
// WM_ENTERIDLE each time the loop is about to wait. False when the loop must end instead.
bool NextMessage(HWND dialog, HWND owner, bool& shown, MSG& msg) {
    if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        return true;
    if (!shown) {
        shown = true;
        ShowWindow(dialog, SW_SHOWNORMAL);
        if (HasEnded(dialog))
            return false;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            return true;
    }
    if (owner != nullptr && !(GetWindowLongA(dialog, GWL_STYLE) & DS_NOIDLEMSG))
        SendMessageA(owner, WM_ENTERIDLE, kIdleInDialog, reinterpret_cast<LPARAM>(dialog));
    if (HasEnded(dialog))
        return false;
    GetMessageA(&msg, nullptr, 0, 0);
    return true;
}

}  // namespace

void EnableOwnerAgain(HWND dialog) {
    DialogState* state = FindDialogState(dialog);
    if (state == nullptr || state->disabledOwner == nullptr)
        return;
    HWND owner = state->disabledOwner;
    state->disabledOwner = nullptr;
    EnableWindow(owner, TRUE);
}

INT_PTR RunModalLoop(HWND dialog, HWND owner) {
    bool shown = false;
    MSG msg{};
    while (!HasEnded(dialog)) {
        if (!NextMessage(dialog, owner, shown, msg))
            break;
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!IsWindow(dialog))
            return 0;
        if (!IsDialogMessageA(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (!IsWindow(dialog))
            return 0;
    }
    if (!IsWindow(dialog))
        return 0;
    const DialogState* state = FindDialogState(dialog);
    const INT_PTR result = state != nullptr ? state->result : 0;
    EnableOwnerAgain(dialog);
    DestroyWindow(dialog);
    return result;
}

}  // namespace winapi::dialog
