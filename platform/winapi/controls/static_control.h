// The "Static" class: text in three alignments, filled rectangles and frames in the 3-D
// colours, and icons. A static takes no input unless it has SS_NOTIFY: it answers
// WM_NCHITTEST with HTTRANSPARENT, so clicks on it reach the window beneath (its parent).
#pragma once

#include <windows.h>

#include "platform/winapi/controls/message_table.h"

namespace winapi::controls {

class StaticControl {
public:
    StaticControl(HWND hwnd, const CREATESTRUCTA& create);

    static const MessageTable<StaticControl>& Messages();

private:
    LRESULT OnCreate(WPARAM, LPARAM createStruct);
    LRESULT OnNcHitTest(WPARAM, LPARAM point);
    LRESULT OnEraseBackground(WPARAM, LPARAM);
    LRESULT OnPaint(WPARAM givenDc, LPARAM);
    LRESULT OnSetText(WPARAM, LPARAM text);
    LRESULT OnSetFont(WPARAM font, LPARAM redraw);
    LRESULT OnGetFont(WPARAM, LPARAM);
    LRESULT OnEnable(WPARAM, LPARAM);
    LRESULT OnGetDlgCode(WPARAM, LPARAM);
    LRESULT OnSetIcon(WPARAM icon, LPARAM);
    LRESULT OnGetIcon(WPARAM, LPARAM);
    LRESULT OnLeftButtonDown(WPARAM, LPARAM);
    LRESULT OnLeftButtonDoubleClick(WPARAM, LPARAM);

    DWORD Style() const;
    DWORD Kind() const { return Style() & SS_TYPEMASK; }
    bool ShowsText() const;

    void PaintText(HDC hdc);
    void PaintIcon(HDC hdc);
    void PaintFill(HDC hdc, int colourIndex);
    void PaintFrame(HDC hdc, int colourIndex);

    // Loads the icon a template or SetWindowText names (a name, an ordinal, or 0xFF and a
    // 16-bit ordinal as dialog templates write it) and shows it.
    void ShowNamedIcon(HINSTANCE instance, LPCSTR name);
    HICON SetIcon(HICON icon);

    HWND m_hwnd;
    HINSTANCE m_instance;
    HFONT m_font = nullptr;
    HICON m_icon = nullptr;
};

}  // namespace winapi::controls
