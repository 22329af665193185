// Making dialogs: modeless (CreateDialog...) and modal (DialogBox...), from a template in
// memory or from the module's RT_DIALOG resources, and ending them (EndDialog).
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/winapi/dialog/dialog_builder.h"
#include "platform/winapi/dialog/dialog_state.h"
#include "platform/winapi/dialog/modal_loop.h"
#include "platform/winapi/dialog/template_reader.h"

namespace winapi::dialog {
namespace {

// Win32 reads a template in memory without knowing its length, and so does this: the reader
// stops where the template says it ends.
constexpr std::size_t kTemplateReadLimit = std::size_t{1} << 20;

constexpr DWORD kErrorWindowNotDialog = 1420;  // ERROR_WINDOW_NOT_DIALOG

std::optional<DialogTemplate> TemplateInMemory(LPCDLGTEMPLATEA dialogTemplate) {
    if (dialogTemplate == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return std::nullopt;
    }
    auto parsed = ParseAnyDialogTemplate(
        std::span(reinterpret_cast<const std::uint8_t*>(dialogTemplate), kTemplateReadLimit));
    if (!parsed)
        SetLastError(ERROR_INVALID_DATA);
    return parsed;
}

std::optional<DialogTemplate> TemplateResource(HINSTANCE instance, LPCSTR name) {
    HRSRC found = FindResourceA(instance, name, RT_DIALOG);
    if (found == nullptr)
        return std::nullopt;
    const auto* bytes =
        static_cast<const std::uint8_t*>(LockResource(LoadResource(instance, found)));
    if (bytes == nullptr)
        return std::nullopt;
    auto parsed = ParseAnyDialogTemplate(std::span(bytes, SizeofResource(instance, found)));
    if (!parsed)
        SetLastError(ERROR_INVALID_DATA);
    return parsed;
}

HWND CreateModeless(const std::optional<DialogTemplate>& dialogTemplate, HINSTANCE instance,
                    HWND parent, DLGPROC procedure, LPARAM initParam) {
    if (!dialogTemplate)
        return nullptr;
    return DialogBuilder(*dialogTemplate, {instance, parent, procedure, initParam, nullptr})
        .Build();
}

// The owner is disabled before the dialog exists, so that the dialog is born the only
// window of its kind the user can reach; it is the top-level window above the parent.
INT_PTR RunModal(const std::optional<DialogTemplate>& dialogTemplate, HINSTANCE instance,
                 HWND parent, DLGPROC procedure, LPARAM initParam) {
    if (!dialogTemplate)
        return -1;
    HWND owner = parent != nullptr ? GetAncestor(parent, GA_ROOT) : nullptr;
    HWND disabledOwner = nullptr;
    if (owner != nullptr && IsWindowEnabled(owner)) {
        disabledOwner = owner;
        EnableWindow(owner, FALSE);
        if (HWND captured = GetCapture())
            SendMessageA(captured, WM_CANCELMODE, 0, 0);
    }
    HWND dialog =
        DialogBuilder(*dialogTemplate, {instance, parent, procedure, initParam, disabledOwner})
            .Build();
    if (dialog == nullptr) {
        if (disabledOwner != nullptr && IsWindow(disabledOwner))
            EnableWindow(disabledOwner, TRUE);
        return -1;
    }
    return RunModalLoop(dialog, owner);
}

bool IsParentValid(HWND parent) {
    if (parent == nullptr || IsWindow(parent))
        return true;
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
}

}  // namespace
}  // namespace winapi::dialog

using namespace winapi::dialog;

HWND WINAPI CreateDialogIndirectParamA(HINSTANCE hInstance, LPCDLGTEMPLATEA lpTemplate,
                                       HWND hWndParent, DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    if (!IsParentValid(hWndParent))
        return nullptr;
    return CreateModeless(TemplateInMemory(lpTemplate), hInstance, hWndParent, lpDialogFunc,
                          dwInitParam);
}

HWND WINAPI CreateDialogParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent,
                               DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    if (!IsParentValid(hWndParent))
        return nullptr;
    return CreateModeless(TemplateResource(hInstance, lpTemplateName), hInstance, hWndParent,
                          lpDialogFunc, dwInitParam);
}

// An invalid parent gives 0; any other failure -1.
INT_PTR WINAPI DialogBoxIndirectParamA(HINSTANCE hInstance, LPCDLGTEMPLATEA hDialogTemplate,
                                       HWND hWndParent, DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    if (!IsParentValid(hWndParent))
        return 0;
    return RunModal(TemplateInMemory(hDialogTemplate), hInstance, hWndParent, lpDialogFunc,
                    dwInitParam);
}

INT_PTR WINAPI DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent,
                               DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    if (!IsParentValid(hWndParent))
        return 0;
    return RunModal(TemplateResource(hInstance, lpTemplateName), hInstance, hWndParent,
                    lpDialogFunc, dwInitParam);
}

// Ends the dialog's modal loop with nResult; the dialog is hidden at once (its owner enabled
// first, so that the activation can go back to it) and destroyed by the loop. A modeless
// dialog is only hidden: it stays until DestroyWindow.
BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult) {
    if (!IsWindow(hDlg)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    DialogState* state = FindDialogState(hDlg);
    if (state == nullptr) {
        SetLastError(kErrorWindowNotDialog);
        return FALSE;
    }
    const bool wasActive = GetActiveWindow() == hDlg;
    state->result = nResult;
    state->ended = true;
    EnableOwnerAgain(hDlg);
    // The focus leaves the controls while the dialog is still there to see it go.
    if (wasActive && IsChild(hDlg, GetFocus()))
        SetFocus(hDlg);
    SetWindowPos(hDlg, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // Wakes a modal loop waiting for a message.
    PostMessageA(hDlg, WM_NULL, 0, 0);
    return TRUE;
}
