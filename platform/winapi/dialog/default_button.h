// The default push button: the id DM_GETDEFID reports and Enter clicks, and the look
// (BS_DEFPUSHBUTTON) that follows the focus: a focused push button wears it, and when the focus
// moves to anything else it goes back to the button of the default id.
#pragma once

#include <windows.h>

namespace winapi::dialog {

// DM_GETDEFID: MAKELONG(id, DC_HASDEFID), or 0 when there is none or the dialog has ended.
LRESULT DefaultIdReply(HWND dialog);
// DM_SETDEFID: the new id, and its button's look when it is a push button.
void SetDefaultId(HWND dialog, UINT id);
// The look for a focus change to focus (null: nothing in particular has the focus).
void ShowDefaultLookFor(HWND dialog, HWND focus);

}  // namespace winapi::dialog
