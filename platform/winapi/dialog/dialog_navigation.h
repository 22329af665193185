// The orders the dialog manager moves the focus in: the tab order (controls with WS_TABSTOP,
// wrapping round) and groups (from a WS_GROUP control up to the next one, wrapping within).
// Both walk the dialog's direct children in creation order and skip controls that are hidden
// or disabled by their own styles.
#pragma once

#include <windows.h>

#include <vector>

namespace winapi::dialog {

std::vector<HWND> ControlsOf(HWND dialog);
// Its WS_VISIBLE and WS_DISABLED styles allow it to take the focus.
bool IsUsableControl(HWND control);
// WM_GETDLGCODE's answer with no key in question.
UINT DialogCodeOf(HWND control);
bool IsPushButton(HWND control);

// from null (or not one of the dialog's controls): the first (last) tab stop itself.
HWND NextTabItem(HWND dialog, HWND from, bool previous);
// from null: the first control if usable, else the next one in its group; nothing before it.
HWND NextGroupItem(HWND dialog, HWND from, bool previous);
// The control a dialog gives the focus to when nothing else was chosen: the first tab stop,
// else the first usable control of the first group.
HWND FirstFocusCandidate(HWND dialog);

}  // namespace winapi::dialog
