// The predefined dialog class "#32770" and its window procedure, DefDlgProc: each message goes
// to the dialog procedure first; what that returns FALSE for gets the dialog manager's
// default, or DefWindowProc's. The dialog procedure answers in DWLP_MSGRESULT, except for the
// messages whose answer is the value it returns.
#include <windows.h>

#include <algorithm>

#include "platform/winapi/core/internal.h"
#include "platform/winapi/dialog/default_button.h"
#include "platform/winapi/dialog/dialog_focus.h"
#include "platform/winapi/dialog/dialog_navigation.h"
#include "platform/winapi/dialog/dialog_state.h"
#include "platform/winapi/dialog/modal_loop.h"
#include "platform/winapi/system_classes.h"

namespace winapi::dialog {
namespace {

constexpr ATOM kDialogClassAtom = 0x8002;

LRESULT OnEraseBackground(HWND dialog, WPARAM wParam, LPARAM) {
    HDC hdc = reinterpret_cast<HDC>(wParam);
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageA(dialog, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(dialog)));
    if (brush == nullptr)
        brush = reinterpret_cast<HBRUSH>(
            DefWindowProcA(dialog, WM_CTLCOLORDLG, wParam, reinterpret_cast<LPARAM>(dialog)));
    if (brush == nullptr)
        return 1;
    RECT client;
    GetClientRect(dialog, &client);
    FillRect(hdc, &client, brush);
    return 1;
}

LRESULT OnShowWindow(HWND dialog, WPARAM wParam, LPARAM lParam) {
    if (!wParam)
        SaveFocus(dialog);
    return DefWindowProcA(dialog, WM_SHOWWINDOW, wParam, lParam);
}

LRESULT OnActivate(HWND dialog, WPARAM wParam, LPARAM) {
    if (LOWORD(wParam) != WA_INACTIVE)
        RestoreFocus(dialog, true);
    else
        SaveFocus(dialog);
    return 0;
}

LRESULT OnSetFocus(HWND dialog, WPARAM, LPARAM) {
    RestoreFocus(dialog, false);
    return 0;
}

LRESULT OnSetDefId(HWND dialog, WPARAM wParam, LPARAM) {
    if (const DialogState* state = FindDialogState(dialog); state == nullptr || !state->ended)
        SetDefaultId(dialog, static_cast<UINT>(wParam));
    return TRUE;
}

LRESULT OnGetDefId(HWND dialog, WPARAM, LPARAM) {
    return DefaultIdReply(dialog);
}

// lParam true: wParam is the control; false: wParam chooses the previous tab stop.
LRESULT OnNextDlgCtl(HWND dialog, WPARAM wParam, LPARAM lParam) {
    HWND target = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                 : GetNextDlgTabItem(dialog, GetFocus(), wParam != 0);
    FocusControl(dialog, target);
    return 0;
}

LRESULT OnGetFont(HWND dialog, WPARAM, LPARAM) {
    const DialogState* state = FindDialogState(dialog);
    return state != nullptr ? reinterpret_cast<LRESULT>(state->font.Get()) : 0;
}

// Closing asks the dialog to cancel, through the queue; a disabled Cancel button refuses.
LRESULT OnClose(HWND dialog, WPARAM, LPARAM) {
    HWND cancel = GetDlgItem(dialog, IDCANCEL);
    if (cancel != nullptr && !IsWindowEnabled(cancel)) {
        MessageBeep(0);
        return 0;
    }
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(cancel));
    return 0;
}

LRESULT OnInitDialog(HWND, WPARAM, LPARAM) {
    return 0;
}

LRESULT OnReposition(HWND dialog, WPARAM, LPARAM) {
    if (GetWindowLongA(dialog, GWL_STYLE) & WS_CHILD)
        return 0;
    RECT rect;
    GetWindowRect(dialog, &rect);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    int x = std::max(0, std::min<int>(rect.left, screenWidth - (rect.right - rect.left)));
    int y = std::max(0, std::min<int>(rect.top, screenHeight - (rect.bottom - rect.top)));
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

using DefaultAction = LRESULT (*)(HWND, WPARAM, LPARAM);

struct DefaultActionEntry {
    UINT message;
    DefaultAction action;
};

constexpr DefaultActionEntry kDefaultActions[] = {
    {WM_ERASEBKGND, &OnEraseBackground},
    {WM_SHOWWINDOW, &OnShowWindow},
    {WM_ACTIVATE, &OnActivate},
    {WM_SETFOCUS, &OnSetFocus},
    {DM_SETDEFID, &OnSetDefId},
    {DM_GETDEFID, &OnGetDefId},
    {DM_REPOSITION, &OnReposition},
    {WM_NEXTDLGCTL, &OnNextDlgCtl},
    {WM_GETFONT, &OnGetFont},
    {WM_CLOSE, &OnClose},
    {WM_INITDIALOG, &OnInitDialog},
};

// The messages whose answer is the dialog procedure's return value itself.
bool AnswersWithReturnValue(UINT message) {
    return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) ||
           message == WM_INITDIALOG || message == WM_QUERYDRAGICON;
}

LRESULT DefaultHandling(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    for (const DefaultActionEntry& entry : kDefaultActions)
        if (entry.message == message)
            return entry.action(dialog, wParam, lParam);
    return DefWindowProcA(dialog, message, wParam, lParam);
}

void RegisterDialogClass() {
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS | CS_SAVEBITS;
    wc.lpfnWndProc = &DefDlgProcA;
    wc.cbWndExtra = DLGWINDOWEXTRA;
    wc.lpszClassName = "#32770";
    core::RegisterSystemClass(wc, kDialogClassAtom);
}

const SystemClassRegistration kRegistration(&RegisterDialogClass);

}  // namespace
}  // namespace winapi::dialog

using namespace winapi::dialog;

LRESULT WINAPI DefDlgProcA(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (!IsWindow(hDlg)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    // Every window that uses DefDlgProc is a dialog to the dialog manager.
    DialogStateOf(hDlg);
    SetDialogLong(hDlg, DWLP_MSGRESULT, 0);
    const auto procedure = reinterpret_cast<DLGPROC>(DialogLong(hDlg, DWLP_DLGPROC));
    const INT_PTR handled = procedure != nullptr ? procedure(hDlg, Msg, wParam, lParam) : 0;
    LRESULT answer = 0;
    if (handled == 0 && IsWindow(hDlg))
        answer = DefaultHandling(hDlg, Msg, wParam, lParam);
    else
        answer = AnswersWithReturnValue(Msg) ? handled : DialogLong(hDlg, DWLP_MSGRESULT);
    // The state goes with the window, whoever handled its last message; an owner a modal run
    // disabled is not left so when its dialog is destroyed without EndDialog.
    if (Msg == WM_NCDESTROY) {
        EnableOwnerAgain(hDlg);
        ForgetDialogState(hDlg);
    }
    return answer;
}
