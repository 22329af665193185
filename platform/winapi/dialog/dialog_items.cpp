// Working with a dialog's controls by id, and dialog units.
#include <windows.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <string>

#include "platform/winapi/dialog/dialog_state.h"

namespace winapi::dialog {
namespace {

constexpr DWORD kErrorWindowNotDialog = 1420;  // ERROR_WINDOW_NOT_DIALOG

// GetDlgItemInt's reading: spaces before the number, a minus sign when signed, decimal
// digits, and nothing after them but spaces. Anything else, or a value out of range, fails.
bool ReadInteger(const char* text, bool isSigned, UINT& value) {
    while (*text == ' ' || *text == '\t')
        ++text;
    const bool negative = isSigned && *text == '-';
    const char* digits = negative ? text + 1 : text;
    if (!std::isdigit(static_cast<unsigned char>(*digits)))
        return false;
    errno = 0;
    char* end = nullptr;
    const unsigned long long magnitude = std::strtoull(digits, &end, 10);
    for (const char* rest = end; *rest != '\0'; ++rest)
        if (*rest != ' ' && *rest != '\t')
            return false;
    if (errno == ERANGE)
        return false;
    if (!isSigned) {
        if (magnitude > UINT_MAX)
            return false;
        value = static_cast<UINT>(magnitude);
        return true;
    }
    const unsigned long long limit =
        negative ? 1ull + INT_MAX : static_cast<unsigned long long>(INT_MAX);
    if (magnitude > limit)
        return false;
    const long long signedValue =
        negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    value = static_cast<UINT>(static_cast<int>(signedValue));
    return true;
}

}  // namespace
}  // namespace winapi::dialog

using namespace winapi::dialog;

LRESULT WINAPI SendDlgItemMessageA(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam,
                                   LPARAM lParam) {
    HWND control = GetDlgItem(hDlg, nIDDlgItem);
    return control != nullptr ? SendMessageA(control, Msg, wParam, lParam) : 0;
}

BOOL WINAPI SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString) {
    HWND control = GetDlgItem(hDlg, nIDDlgItem);
    return control != nullptr && SetWindowTextA(control, lpString);
}

UINT WINAPI GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR lpString, int cchMax) {
    if (lpString != nullptr && cchMax > 0)
        lpString[0] = '\0';
    HWND control = GetDlgItem(hDlg, nIDDlgItem);
    if (control == nullptr)
        return 0;
    return static_cast<UINT>(GetWindowTextA(control, lpString, cchMax));
}

BOOL WINAPI SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned) {
    const std::string text =
        bSigned ? std::to_string(static_cast<int>(uValue)) : std::to_string(uValue);
    return SetDlgItemTextA(hDlg, nIDDlgItem, text.c_str());
}

UINT WINAPI GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL* lpTranslated, BOOL bSigned) {
    if (lpTranslated != nullptr)
        *lpTranslated = FALSE;
    // Longer than any number with its spaces: what does not fit cannot be one.
    char text[64];
    HWND control = GetDlgItem(hDlg, nIDDlgItem);
    if (control == nullptr || GetWindowTextLengthA(control) >= static_cast<int>(sizeof text))
        return 0;
    GetWindowTextA(control, text, sizeof text);
    UINT value = 0;
    if (!ReadInteger(text, bSigned != FALSE, value))
        return 0;
    if (lpTranslated != nullptr)
        *lpTranslated = TRUE;
    return value;
}

BOOL WINAPI CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck) {
    HWND button = GetDlgItem(hDlg, nIDButton);
    if (button == nullptr)
        return FALSE;
    SendMessageA(button, BM_SETCHECK, uCheck, 0);
    return TRUE;
}

UINT WINAPI IsDlgButtonChecked(HWND hDlg, int nIDButton) {
    return static_cast<UINT>(SendDlgItemMessageA(hDlg, nIDButton, BM_GETCHECK, 0, 0));
}

// Every control whose id lies in the range is told its check state, the chosen one checked.
BOOL WINAPI CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton) {
    if (!IsWindow(hDlg)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    for (HWND child = GetWindow(hDlg, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const int id = GetDlgCtrlID(child);
        if (id < nIDFirstButton || id > nIDLastButton)
            continue;
        SendMessageA(child, BM_SETCHECK, id == nIDCheckButton ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    return TRUE;
}

BOOL WINAPI MapDialogRect(HWND hDlg, LPRECT lpRect) {
    if (!IsWindow(hDlg)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    const DialogState* state = FindDialogState(hDlg);
    if (state == nullptr) {
        SetLastError(kErrorWindowNotDialog);
        return FALSE;
    }
    if (lpRect == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const DialogUnits& units = state->units;
    *lpRect = {units.X(lpRect->left), units.Y(lpRect->top), units.X(lpRect->right),
               units.Y(lpRect->bottom)};
    return TRUE;
}

LONG WINAPI GetDialogBaseUnits(void) {
    constexpr DialogUnits kSystem = DialogUnits::System();
    return MAKELONG(kSystem.BaseX(), kSystem.BaseY());
}
