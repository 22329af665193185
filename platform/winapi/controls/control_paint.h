// What the controls share when they paint and when they tell their parent something: the
// paint DC (BeginPaint's, or the one a WM_PAINT or WM_PRINTCLIENT hands over), objects selected
// for the length of a paint, the parent's WM_CTLCOLOR* answer and WM_COMMAND notifications.
#pragma once

#include <string>

#include <windows.h>

namespace winapi::controls {

// BeginPaint and EndPaint, unless the message brought its own DC in wParam (Win32 controls
// draw into that DC, which is how WM_PRINTCLIENT and a parent's WM_PAINT(hdc) work).
class PaintDc {
public:
    PaintDc(HWND hwnd, WPARAM givenDc);
    ~PaintDc();
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;

    HDC Dc() const { return m_hdc; }

private:
    HWND m_hwnd;
    HDC m_hdc;
    bool m_began = false;
    PAINTSTRUCT m_paint{};
};

// A DC borrowed with GetDC and given back.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : m_hwnd(hwnd), m_hdc(GetDC(hwnd)) {}
    ~WindowDc() {
        if (m_hdc != nullptr)
            ReleaseDC(m_hwnd, m_hdc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;

    HDC Dc() const { return m_hdc; }

private:
    HWND m_hwnd;
    HDC m_hdc;
};

// A GDI object this scope made and deletes.
class OwnedObject {
public:
    explicit OwnedObject(HGDIOBJ object) : m_object(object) {}
    ~OwnedObject() {
        if (m_object != nullptr)
            DeleteObject(m_object);
    }
    OwnedObject(const OwnedObject&) = delete;
    OwnedObject& operator=(const OwnedObject&) = delete;

    HGDIOBJ Get() const { return m_object; }

private:
    HGDIOBJ m_object;
};

// A memory DC compatible with another, deleted at the end of the scope.
class MemoryDc {
public:
    explicit MemoryDc(HDC compatibleWith) : m_hdc(CreateCompatibleDC(compatibleWith)) {}
    ~MemoryDc() {
        if (m_hdc != nullptr)
            DeleteDC(m_hdc);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;

    HDC Dc() const { return m_hdc; }

private:
    HDC m_hdc;
};

// An object selected into a DC until the end of the scope; a null object selects nothing.
class SelectedObject {
public:
    SelectedObject(HDC hdc, HGDIOBJ object)
        : m_hdc(hdc), m_old(object != nullptr ? SelectObject(hdc, object) : nullptr) {}
    ~SelectedObject() {
        if (m_old != nullptr && m_old != HGDI_ERROR)
            SelectObject(m_hdc, m_old);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_old;
};

// The DC's text colour, background colour and mode, put back at the end of the scope: the
// parent sets them in WM_CTLCOLOR*, and a control's own changes must not outlive its paint.
class SavedDcColours {
public:
    explicit SavedDcColours(HDC hdc)
        : m_hdc(hdc), m_text(GetTextColor(hdc)), m_back(GetBkColor(hdc)), m_mode(GetBkMode(hdc)) {}
    ~SavedDcColours() {
        SetTextColor(m_hdc, m_text);
        SetBkColor(m_hdc, m_back);
        SetBkMode(m_hdc, m_mode);
    }
    SavedDcColours(const SavedDcColours&) = delete;
    SavedDcColours& operator=(const SavedDcColours&) = delete;

private:
    HDC m_hdc;
    COLORREF m_text;
    COLORREF m_back;
    int m_mode;
};

// Sends message (a WM_CTLCOLOR*) to the control's parent, which sets the DC's colours and
// answers with the background brush. A parent that answers with no brush gets
// DefWindowProc's colours, as Win32 controls do.
HBRUSH AskParentForColours(HWND control, HDC hdc, UINT message);

// WM_COMMAND(MAKEWPARAM(id, code), control) to the parent.
void NotifyParent(HWND control, WORD code);

// Invalidates the whole control and paints it at once: Win32 controls show a new state (a
// press, a check, a new text) without waiting for the message loop. While an ancestor has
// yet to paint, the control paints after it instead.
void RepaintNow(HWND control);

// The control's client rectangle.
RECT ClientRect(HWND control);

// The control's text, through WM_GETTEXT as a subclass would see it asked.
std::string WindowText(HWND control);

}  // namespace winapi::controls
