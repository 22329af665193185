// What the dialog manager does with the keyboard focus: WM_NEXTDLGCTL's focus move, and the
// control a dialog remembers while it is inactive or hidden and gives the focus back to.
#pragma once

#include <windows.h>

namespace winapi::dialog {

// The focus to control with an edit's whole text selected (DLGC_HASSETSEL), and the default
// look following it.
void FocusControl(HWND dialog, HWND control);
// Remembers the focused control, if it is one of the dialog's.
void SaveFocus(HWND dialog);
// On activation only a remembered control gets the focus back; when the dialog itself gets
// the focus, a dialog that remembers none gives it to its first candidate.
void RestoreFocus(HWND dialog, bool onActivation);

}  // namespace winapi::dialog
