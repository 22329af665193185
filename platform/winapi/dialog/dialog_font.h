// The font a dialog template names (DS_SETFONT), made into a GDI font the dialog owns, with
// the base units it gives.
#pragma once

#include <windows.h>

#include <optional>
#include <utility>

#include "platform/winapi/dialog/dialog_units.h"
#include "platform/winapi/resource/dialog_template.h"

namespace winapi::dialog {

// Deletes its font when it goes: the dialog font lives exactly as long as its dialog.
class UniqueFont {
public:
    UniqueFont() = default;
    explicit UniqueFont(HFONT font) : m_font(font) {}
    ~UniqueFont() { Reset(); }
    UniqueFont(UniqueFont&& other) noexcept : m_font(std::exchange(other.m_font, nullptr)) {}
    UniqueFont& operator=(UniqueFont&& other) noexcept {
        if (this != &other) {
            Reset();
            m_font = std::exchange(other.m_font, nullptr);
        }
        return *this;
    }
    UniqueFont(const UniqueFont&) = delete;
    UniqueFont& operator=(const UniqueFont&) = delete;

    HFONT Get() const { return m_font; }

private:
    void Reset() {
        if (m_font != nullptr)
            DeleteObject(m_font);
        m_font = nullptr;
    }

    HFONT m_font = nullptr;
};

struct DialogFontChoice {
    UniqueFont font;  // null: the dialog uses the system font and sends no WM_SETFONT
    DialogUnits units = DialogUnits::System();
};

// The template's font at the screen's resolution: lfHeight is minus the point size in pixels.
// Without a font, or when the font cannot be made, the system font's units.
DialogFontChoice ChooseDialogFont(const std::optional<DialogFont>& font);

}  // namespace winapi::dialog
