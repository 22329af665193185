// Making a dialog from its template, in Win32's order: the dialog window (hidden), its font,
// the controls in template order, WM_INITDIALOG, the first focus, and showing it when the
// template has WS_VISIBLE.
#pragma once

#include <windows.h>

#include "platform/winapi/dialog/dialog_font.h"
#include "platform/winapi/resource/dialog_template.h"

namespace winapi::dialog {

struct DialogRequest {
    HINSTANCE instance = nullptr;  // null: the program's module
    HWND parent = nullptr;
    DLGPROC procedure = nullptr;
    LPARAM initParam = 0;
    HWND disabledOwner = nullptr;  // the owner a modal run disabled before creating the dialog
};

class DialogBuilder {
public:
    DialogBuilder(const DialogTemplate& dialogTemplate, const DialogRequest& request);

    // The dialog, or null (with the last error) when it or one of its controls could not be
    // made; the dialog proper is destroyed again then.
    HWND Build();

private:
    HWND CreateDialogWindow();
    bool CreateControls(HWND dialog);
    HWND CreateControl(HWND dialog, const DialogItem& item);
    void NoteDefaultButton(HWND dialog, HWND control);
    bool Initialize(HWND dialog);
    RECT FrameRect(DWORD style, DWORD exStyle) const;

    const DialogTemplate& m_template;
    DialogRequest m_request;
    DialogFontChoice m_font;
    HFONT m_fontHandle = nullptr;  // the dialog font once the dialog owns it
    HWND m_defaultButton = nullptr;
};

}  // namespace winapi::dialog
