#include "platform/winapi/gdi/font_object.h"

namespace winapi::gdi {

const font::Font& FontObject::Face() const {
    if (m_face == nullptr) {
        font::FontSpec spec;
        spec.face = m_logFont.lfFaceName;
        spec.height = m_logFont.lfHeight;
        spec.weight = m_logFont.lfWeight == FW_DONTCARE ? FW_NORMAL : m_logFont.lfWeight;
        spec.italic = m_logFont.lfItalic != 0;
        spec.underline = m_logFont.lfUnderline != 0;
        spec.strikeOut = m_logFont.lfStrikeOut != 0;
        spec.charSet = m_logFont.lfCharSet;
        m_face = font::OpenFont(spec);
    }
    return *m_face;
}

}  // namespace winapi::gdi
