// A logical font: the LOGFONT it was created from, and the face that draws it, opened on first
// use so that creating and deleting fonts stays cheap.
#pragma once

#include <memory>

#include "platform/winapi/font/font_engine.h"
#include "platform/winapi/gdi/gdi_object.h"

namespace winapi::gdi {

class FontObject final : public GdiObject {
public:
    static constexpr ObjectKind kKind = ObjectKind::Font;

    explicit FontObject(const LOGFONTA& logFont) : GdiObject(kKind), m_logFont(logFont) {
        m_logFont.lfFaceName[LF_FACESIZE - 1] = '\0';
    }

    const LOGFONTA& LogFont() const { return m_logFont; }
    const font::Font& Face() const;

private:
    LOGFONTA m_logFont;
    mutable std::shared_ptr<const font::Font> m_face;
};

}  // namespace winapi::gdi
