// The "Edit" system class: one EditControl per window, created at WM_NCCREATE and gone at
// WM_NCDESTROY. It owns the text model and its view, answers the WM_ and EM_ messages through a
// table, turns keys, characters and clicks into edits and selections, keeps the caret while it
// has the focus, and tells its parent about changes with EN_ notifications.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/winapi/controls/edit_text.h"
#include "platform/winapi/controls/edit_view.h"

namespace winapi::controls {

class EditControl {
public:
    EditControl(HWND hwnd, HWND parent);

    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    using Handler = LRESULT (EditControl::*)(WPARAM, LPARAM);
    using Action = void (EditControl::*)();
    struct Route {
        UINT message;
        Handler handler;
    };
    struct KeyRoute {
        int key;
        Action action;
    };
    static const Route kRoutes[];
    static const KeyRoute kKeys[];
    static const KeyRoute kControlCharacters[];

    // Messages
    LRESULT OnCreate(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM, LPARAM);
    LRESULT OnEraseBackground(WPARAM, LPARAM);
    LRESULT OnSetText(WPARAM, LPARAM);
    LRESULT OnGetText(WPARAM, LPARAM);
    LRESULT OnGetTextLength(WPARAM, LPARAM);
    LRESULT OnSetFont(WPARAM, LPARAM);
    LRESULT OnGetFont(WPARAM, LPARAM);
    LRESULT OnSize(WPARAM, LPARAM);
    LRESULT OnStyleChanged(WPARAM, LPARAM);
    LRESULT OnEnable(WPARAM, LPARAM);
    LRESULT OnSetFocus(WPARAM, LPARAM);
    LRESULT OnKillFocus(WPARAM, LPARAM);
    LRESULT OnGetDlgCode(WPARAM, LPARAM);
    LRESULT OnKeyDown(WPARAM, LPARAM);
    LRESULT OnChar(WPARAM, LPARAM);
    LRESULT OnLButtonDown(WPARAM, LPARAM);
    LRESULT OnLButtonDoubleClick(WPARAM, LPARAM);
    LRESULT OnMouseMove(WPARAM, LPARAM);
    LRESULT OnLButtonUp(WPARAM, LPARAM);
    LRESULT OnCaptureChanged(WPARAM, LPARAM);
    LRESULT OnCopy(WPARAM, LPARAM);
    LRESULT OnCut(WPARAM, LPARAM);
    LRESULT OnPaste(WPARAM, LPARAM);
    LRESULT OnClear(WPARAM, LPARAM);
    LRESULT OnUndo(WPARAM, LPARAM);
    LRESULT OnGetSel(WPARAM, LPARAM);
    LRESULT OnSetSel(WPARAM, LPARAM);
    LRESULT OnReplaceSel(WPARAM, LPARAM);
    LRESULT OnScrollCaret(WPARAM, LPARAM);
    LRESULT OnLimitText(WPARAM, LPARAM);
    LRESULT OnGetLimitText(WPARAM, LPARAM);
    LRESULT OnSetReadOnly(WPARAM, LPARAM);
    LRESULT OnGetModify(WPARAM, LPARAM);
    LRESULT OnSetModify(WPARAM, LPARAM);
    LRESULT OnCanUndo(WPARAM, LPARAM);
    LRESULT OnGetLineCount(WPARAM, LPARAM);
    LRESULT OnGetRect(WPARAM, LPARAM);
    LRESULT OnGetFirstVisibleLine(WPARAM, LPARAM);

    // Keys (WM_KEYDOWN) and control characters (WM_CHAR)
    void MoveLeft();
    void MoveRight();
    void MoveUp();
    void MoveDown();
    void PageUp();
    void PageDown();
    void MoveHome();
    void MoveEnd();
    void DeleteForward();
    void CopyOrPaste();
    void PressReturn();
    void PressEscape();
    void SelectAll();
    void Backspace();
    void TypeTab();
    void TypeReturn();
    void TypeLineFeed();
    void SendCopy();
    void SendCut();
    void SendPaste();
    void SendUndo();

    // Editing
    DWORD Style() const;
    bool IsMultiline() const { return (Style() & ES_MULTILINE) != 0; }
    bool IsReadOnly() const { return (Style() & ES_READONLY) != 0; }
    void ConfigureView();
    void MoveCaretTo(std::size_t position);
    void SelectionChanged();
    void TypeText(std::string text);
    // Replaces the selection within the limit and what the window can show, as the user or
    // EM_REPLACESEL does; EN_MAXTEXT when it had to cut the text short. False when the
    // control went away while its parent was told.
    bool Replace(std::string_view text, UndoMode mode);
    void Changed();
    void UpdateCaret();
    void Invalidate();
    // Sends a notification to the parent; false when the control did not survive it.
    bool Notify(WORD code);
    std::string ClipboardText();
    HBRUSH PrepareColours(HDC dc);

    HWND m_hwnd;
    HWND m_parent;
    EditText m_text;
    EditView m_view;
    HFONT m_font = nullptr;
    std::size_t m_limit = 32767;
    bool m_modified = false;
    bool m_focused = false;
    bool m_dragging = false;
    std::string m_partialCharacter;  // the UTF-8 bytes of a character still arriving
};

}  // namespace winapi::controls
