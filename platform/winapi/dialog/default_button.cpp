#include "platform/winapi/dialog/default_button.h"

#include "platform/winapi/dialog/dialog_navigation.h"
#include "platform/winapi/dialog/dialog_state.h"

namespace winapi::dialog {
namespace {

HWND ButtonWearingDefaultLook(HWND dialog) {
    for (HWND control : ControlsOf(dialog))
        if (DialogCodeOf(control) & DLGC_DEFPUSHBUTTON)
            return control;
    return nullptr;
}

HWND ButtonOfDefaultId(HWND dialog) {
    const DialogState* state = FindDialogState(dialog);
    if (state == nullptr || state->defaultId == 0)
        return nullptr;
    HWND button = GetDlgItem(dialog, static_cast<int>(state->defaultId));
    return IsPushButton(button) ? button : nullptr;
}

// Only one push button wears the default look; the one losing it is told first.
void MoveDefaultLook(HWND dialog, HWND target) {
    HWND current = ButtonWearingDefaultLook(dialog);
    if (current != nullptr && current != target)
        SendMessageA(current, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    if (target != nullptr && (DialogCodeOf(target) & DLGC_UNDEFPUSHBUTTON))
        SendMessageA(target, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
}

}  // namespace

LRESULT DefaultIdReply(HWND dialog) {
    const DialogState* state = FindDialogState(dialog);
    if (state == nullptr || state->ended)
        return 0;
    if (state->defaultId != 0)
        return MAKELONG(state->defaultId, DC_HASDEFID);
    HWND button = ButtonWearingDefaultLook(dialog);
    return button != nullptr ? MAKELONG(GetDlgCtrlID(button), DC_HASDEFID) : 0;
}

void SetDefaultId(HWND dialog, UINT id) {
    DialogStateOf(dialog).defaultId = id;
    HWND button = GetDlgItem(dialog, static_cast<int>(id));
    // An id that names something other than a push button is kept; no look changes.
    if (button != nullptr && !IsPushButton(button))
        return;
    MoveDefaultLook(dialog, button);
}

void ShowDefaultLookFor(HWND dialog, HWND focus) {
    MoveDefaultLook(
        dialog, IsPushButton(focus) && IsChild(dialog, focus) ? focus : ButtonOfDefaultId(dialog));
}

}  // namespace winapi::dialog
