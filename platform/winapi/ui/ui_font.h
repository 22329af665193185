// The font the window system draws its own parts in (menus, captions): "ＭＳ Ｐゴシック"
// 9 pt, as on a Japanese system, regular or bold. Deleted with the object.
#pragma once

#include <windows.h>

namespace winapi::ui {

class UiFont {
public:
    explicit UiFont(bool bold);
    ~UiFont();
    UiFont(const UiFont&) = delete;
    UiFont& operator=(const UiFont&) = delete;

    HFONT Handle() const { return m_font; }

private:
    HFONT m_font;
};

// Selects a GDI object into a DC for a scope and puts the previous one back.
class ScopedSelect {
public:
    ScopedSelect(HDC hdc, HGDIOBJ object) : m_hdc(hdc), m_previous(SelectObject(hdc, object)) {}
    ~ScopedSelect() {
        if (m_previous != nullptr)
            SelectObject(m_hdc, m_previous);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_previous;
};

}  // namespace winapi::ui
