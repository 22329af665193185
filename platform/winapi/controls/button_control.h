// The "Button" class: push buttons (plain and default), check boxes, radio buttons and group
// boxes in the classic look. A press captures the mouse and shows the button pushed while the
// pointer stays over it; the release over it (or the release of Space) clicks: automatic check
// boxes and radio buttons change their check, then the parent gets BN_CLICKED.
#pragma once

#include <windows.h>

#include "platform/winapi/controls/message_table.h"

namespace winapi::controls {

class ButtonControl {
public:
    ButtonControl(HWND hwnd, const CREATESTRUCTA& create);

    static const MessageTable<ButtonControl>& Messages();

private:
    enum class Family { Push, Check, Radio, Group };

    LRESULT OnNcHitTest(WPARAM, LPARAM point);
    LRESULT OnEraseBackground(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM givenDc, LPARAM);
    LRESULT OnSetText(WPARAM, LPARAM text);
    LRESULT OnSetFont(WPARAM font, LPARAM redraw);
    LRESULT OnGetFont(WPARAM, LPARAM);
    LRESULT OnEnable(WPARAM, LPARAM);
    LRESULT OnGetDlgCode(WPARAM, LPARAM);
    LRESULT OnLeftButtonDown(WPARAM, LPARAM);
    LRESULT OnLeftButtonDoubleClick(WPARAM, LPARAM);
    LRESULT OnMouseMove(WPARAM, LPARAM point);
    LRESULT OnLeftButtonUp(WPARAM, LPARAM point);
    LRESULT OnKeyDown(WPARAM key, LPARAM);
    LRESULT OnKeyUp(WPARAM key, LPARAM);
    LRESULT OnCaptureChanged(WPARAM, LPARAM);
    LRESULT OnSetFocus(WPARAM, LPARAM);
    LRESULT OnKillFocus(WPARAM, LPARAM);
    LRESULT OnGetCheck(WPARAM, LPARAM);
    LRESULT OnSetCheck(WPARAM check, LPARAM);
    LRESULT OnGetState(WPARAM, LPARAM);
    LRESULT OnSetState(WPARAM pushed, LPARAM);
    LRESULT OnSetStyle(WPARAM style, LPARAM redraw);
    LRESULT OnClick(WPARAM, LPARAM);

    DWORD Style() const;
    DWORD Kind() const { return Style() & BS_TYPEMASK; }
    Family FamilyOf() const;

    void BeginPress();
    // Ends a press; clicks when the button was still pushed and the release counts (over the
    // button, or a key).
    void EndPress(bool releasedOver);
    void SetPushed(bool pushed);
    // What a click does to an automatic button's check before the parent hears of it.
    void ApplyAutomaticCheck();

    void PaintPush(HDC hdc);
    void PaintCheckOrRadio(HDC hdc, Family family);
    void PaintGroupBox(HDC hdc);

    HWND m_hwnd;
    HFONT m_font = nullptr;
    UINT m_check = BST_UNCHECKED;
    bool m_pushed = false;    // BST_PUSHED: drawn pushed
    bool m_focused = false;   // BST_FOCUS
    bool m_pressing = false;  // a mouse or Space press is in progress
};

}  // namespace winapi::controls
