// IsDialogMessage: the dialog manager's keyboard interface. Every message for the dialog or
// one of its controls is taken (TRUE); the keys it acts on are not dispatched, everything
// else is translated and dispatched as the message loop would have. A control keeps the keys
// it asks for with WM_GETDLGCODE.
#include <windows.h>

#include <cctype>
#include <string>

#include "platform/winapi/dialog/dialog_navigation.h"
#include "platform/winapi/dialog/dialog_state.h"

namespace winapi::dialog {
namespace {

UINT DialogCodeFor(const MSG& msg) {
    return static_cast<UINT>(
        SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)));
}

// Sends WM_NEXTDLGCTL to a dialog; a plain window that uses IsDialogMessage gets the move
// itself.
void MoveFocus(HWND dialog, HWND target, bool byHandle, bool previous) {
    if (FindDialogState(dialog) != nullptr) {
        SendMessageA(dialog, WM_NEXTDLGCTL,
                     byHandle ? reinterpret_cast<WPARAM>(target) : (previous ? 1 : 0), byHandle);
        return;
    }
    if (!byHandle)
        target = GetNextDlgTabItem(dialog, GetFocus(), previous);
    if (target == nullptr)
        return;
    if (DialogCodeOf(target) & DLGC_HASSETSEL)
        SendMessageA(target, EM_SETSEL, 0, -1);
    SetFocus(target);
}

bool OnTab(HWND dialog, const MSG&, UINT code) {
    if (code & DLGC_WANTTAB)
        return false;
    MoveFocus(dialog, nullptr, false, (GetKeyState(VK_SHIFT) & 0x8000) != 0);
    return true;
}

// Arrows move within the group; arriving at an automatic radio button checks it.
bool OnArrow(HWND dialog, const MSG& msg, UINT code) {
    if (code & DLGC_WANTARROWS)
        return false;
    const bool previous = msg.wParam == VK_LEFT || msg.wParam == VK_UP;
    HWND next = NextGroupItem(dialog, msg.hwnd, previous);
    if (next == nullptr || !(DialogCodeOf(next) & DLGC_RADIOBUTTON)) {
        MoveFocus(dialog, next, true, false);
        return true;
    }
    SetFocus(next);
    if ((GetWindowLongA(next, GWL_STYLE) & BS_TYPEMASK) == BS_AUTORADIOBUTTON &&
        SendMessageA(next, BM_GETCHECK, 0, 0) != BST_CHECKED)
        SendMessageA(next, BM_CLICK, 0, 0);
    return true;
}

bool OnEscape(HWND dialog, const MSG&, UINT) {
    SendMessageA(dialog, WM_COMMAND, IDCANCEL,
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
    return true;
}

// Enter clicks the focused push button, else the default button (when enabled), else IDOK.
bool OnEnter(HWND dialog, const MSG&, UINT) {
    HWND focus = GetFocus();
    if (focus != nullptr && IsChild(dialog, focus) && IsPushButton(focus)) {
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED),
                     reinterpret_cast<LPARAM>(focus));
        return true;
    }
    const auto reply = static_cast<DWORD>(SendMessageA(dialog, DM_GETDEFID, 0, 0));
    if (HIWORD(reply) == DC_HASDEFID) {
        HWND button = GetDlgItem(dialog, LOWORD(reply));
        if (button == nullptr || IsWindowEnabled(button))
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(LOWORD(reply), BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
        return true;
    }
    SendMessageA(dialog, WM_COMMAND, IDOK, reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    return true;
}

using KeyAction = bool (*)(HWND dialog, const MSG& msg, UINT code);

struct KeyActionEntry {
    WPARAM key;
    KeyAction action;
};

constexpr KeyActionEntry kKeyActions[] = {
    {VK_TAB, &OnTab},    {VK_LEFT, &OnArrow},    {VK_RIGHT, &OnArrow},   {VK_UP, &OnArrow},
    {VK_DOWN, &OnArrow}, {VK_ESCAPE, &OnEscape}, {VK_CANCEL, &OnEscape}, {VK_RETURN, &OnEnter},
};

bool OnKeyDown(HWND dialog, const MSG& msg) {
    const UINT code = DialogCodeFor(msg);
    if (code & DLGC_WANTMESSAGE)
        return false;
    for (const KeyActionEntry& entry : kKeyActions)
        if (entry.key == msg.wParam)
            return entry.action(dialog, msg, code);
    return false;
}

// "&x" in a text marks x as its mnemonic; "&&" is a plain ampersand.
bool HasMnemonic(const std::string& text, char key) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&')
            continue;
        if (text[i + 1] == '&') {
            ++i;
            continue;
        }
        return std::tolower(static_cast<unsigned char>(text[i + 1])) ==
               std::tolower(static_cast<unsigned char>(key));
    }
    return false;
}

std::string TextOf(HWND control) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextA(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool IsPrefixStatic(HWND control, UINT code) {
    return !(code & DLGC_STATIC) || !(GetWindowLongA(control, GWL_STYLE) & SS_NOPREFIX);
}

// A label's mnemonic leads to the control after it; a button's clicks it (a check box or
// radio button taking the focus first); any other control's takes the focus to it.
void ActOnMnemonic(HWND dialog, const std::vector<HWND>& controls, std::size_t at) {
    HWND control = controls[at];
    const UINT code = DialogCodeOf(control);
    if (code & DLGC_STATIC) {
        for (std::size_t next = at + 1; next < controls.size(); ++next) {
            if (!IsUsableControl(controls[next]) || (DialogCodeOf(controls[next]) & DLGC_STATIC))
                continue;
            MoveFocus(dialog, controls[next], true, false);
            return;
        }
        return;
    }
    if (code & DLGC_BUTTON) {
        if (!(code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)))
            MoveFocus(dialog, control, true, false);
        SendMessageA(control, BM_CLICK, 0, 0);
        return;
    }
    MoveFocus(dialog, control, true, false);
}

// The search starts after the focused control and wraps round.
bool OnMnemonic(HWND dialog, const MSG& msg) {
    const char key = static_cast<char>(msg.wParam);
    if (!std::isalnum(static_cast<unsigned char>(key)))
        return false;
    const std::vector<HWND> controls = ControlsOf(dialog);
    if (controls.empty())
        return false;
    std::size_t start = controls.size() - 1;
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i] == msg.hwnd || IsChild(controls[i], msg.hwnd))
            start = i;
    for (std::size_t step = 1; step <= controls.size(); ++step) {
        const std::size_t at = (start + step) % controls.size();
        HWND control = controls[at];
        if (!IsUsableControl(control))
            continue;
        if (!IsPrefixStatic(control, DialogCodeOf(control)) || !HasMnemonic(TextOf(control), key))
            continue;
        ActOnMnemonic(dialog, controls, at);
        return true;
    }
    return false;
}

bool OnChar(HWND dialog, const MSG& msg) {
    const UINT code = DialogCodeFor(msg);
    if (code & (DLGC_WANTCHARS | DLGC_WANTMESSAGE))
        return false;
    if (msg.wParam == '\t' && (code & DLGC_WANTTAB))
        return false;
    return OnMnemonic(dialog, msg);
}

// True when the dialog manager acted on the message and it must not be dispatched.
bool ActOn(HWND dialog, const MSG& msg) {
    switch (msg.message) {
        case WM_KEYDOWN:
            return OnKeyDown(dialog, msg);
        case WM_CHAR:
            return OnChar(dialog, msg);
        case WM_SYSCHAR:
            return OnMnemonic(dialog, msg);
        default:
            return false;
    }
}

}  // namespace
}  // namespace winapi::dialog

BOOL WINAPI IsDialogMessageA(HWND hDlg, LPMSG lpMsg) {
    if (lpMsg == nullptr || hDlg == nullptr || !IsWindow(hDlg))
        return FALSE;
    if (lpMsg->hwnd != hDlg && !IsChild(hDlg, lpMsg->hwnd))
        return FALSE;
    if (winapi::dialog::ActOn(hDlg, *lpMsg))
        return TRUE;
    TranslateMessage(lpMsg);
    DispatchMessageA(lpMsg);
    return TRUE;
}
