// What the dialog manager keeps for each dialog besides its window: the template's font and
// the units it gives, the default push button's id, the control to give the focus back to,
// and how a modal run stands. A window gets its state when the dialog manager first needs it
// (a window of a private class that uses DefDlgProc gets the system font's units) and loses it
// at WM_NCDESTROY.
//
// A DialogState reference is only good until the next message is sent: the dialog may be
// destroyed by whoever handles it.
#pragma once

#include <windows.h>

#include "platform/winapi/dialog/dialog_font.h"
#include "platform/winapi/dialog/dialog_units.h"

namespace winapi::dialog {

struct DialogState {
    UniqueFont font;
    DialogUnits units = DialogUnits::System();
    // The id DM_GETDEFID reports; 0 until a template's BS_DEFPUSHBUTTON or DM_SETDEFID sets it.
    UINT defaultId = 0;
    // The control that had the focus when the dialog was last deactivated or hidden, or the
    // one chosen at creation while the dialog could not take the focus yet.
    HWND savedFocus = nullptr;
    bool ended = false;  // EndDialog was called
    INT_PTR result = 0;
    // The owner a modal run disabled and EndDialog enables again.
    HWND disabledOwner = nullptr;
};

DialogState* FindDialogState(HWND dialog);
DialogState& DialogStateOf(HWND dialog);
void ForgetDialogState(HWND dialog);

// The DWLP_ slots; a private dialog class may have fewer extra bytes than DLGWINDOWEXTRA, and
// then they read 0 and take nothing, without touching the last error.
LONG_PTR DialogLong(HWND dialog, int index);
void SetDialogLong(HWND dialog, int index, LONG_PTR value);

}  // namespace winapi::dialog
