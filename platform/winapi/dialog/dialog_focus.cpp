#include "platform/winapi/dialog/dialog_focus.h"

#include "platform/winapi/dialog/default_button.h"
#include "platform/winapi/dialog/dialog_navigation.h"
#include "platform/winapi/dialog/dialog_state.h"

namespace winapi::dialog {

void FocusControl(HWND dialog, HWND control) {
    if (control != nullptr) {
        if (DialogCodeOf(control) & DLGC_HASSETSEL)
            SendMessageA(control, EM_SETSEL, 0, -1);
        SetFocus(control);
    }
    if (IsWindow(dialog))
        ShowDefaultLookFor(dialog, control);
}

void SaveFocus(HWND dialog) {
    HWND focus = GetFocus();
    if (focus == nullptr || !IsChild(dialog, focus))
        return;
    DialogStateOf(dialog).savedFocus = focus;
}

void RestoreFocus(HWND dialog, bool onActivation) {
    if (IsIconic(dialog))
        return;
    DialogState* state = FindDialogState(dialog);
    // A dialog that has ended keeps the focus where EndDialog left it.
    if (state == nullptr || state->ended)
        return;
    HWND target = state->savedFocus;
    state->savedFocus = nullptr;
    if (target == nullptr || !IsChild(dialog, target)) {
        if (onActivation)
            return;
        target = FirstFocusCandidate(dialog);
        if (target == nullptr)
            return;
    }
    if (onActivation) {
        SetFocus(target);
        return;
    }
    FocusControl(dialog, target);
}

}  // namespace winapi::dialog
