// The message loop of a modal dialog (DialogBox): it runs until EndDialog, shows the dialog
// the first time the queue runs empty, tells the owner when it idles, and hands WM_QUIT back
// to the queue for the loop outside.
#pragma once

#include <windows.h>

namespace winapi::dialog {

// EndDialog's result (0 when the loop ended otherwise); the dialog is destroyed after its
// owner has been enabled again, so that the owner is active once more.
INT_PTR RunModalLoop(HWND dialog, HWND owner);

// Enables the owner a modal run disabled, once.
void EnableOwnerAgain(HWND dialog);

}  // namespace winapi::dialog
