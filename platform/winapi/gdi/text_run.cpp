#include "platform/winapi/gdi/text_run.h"

#include <numeric>

#include "platform/winapi/utf8.h"

namespace winapi::gdi {

std::vector<std::string_view> SplitCharacters(std::string_view utf8) {
    std::vector<std::string_view> characters;
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t length = DecodeUtf8(utf8, at).length;
        characters.push_back(utf8.substr(at, length));
        at += length;
    }
    return characters;
}

TextRun::TextRun(const font::Font& face, std::string_view utf8, std::span<const INT> advances)
    : m_face(face), m_text(utf8), m_advances(advances) {
    m_width = m_advances.empty() ? face.TextWidth(utf8)
                                 : std::accumulate(m_advances.begin(), m_advances.end(), 0);
}

void TextRun::Draw(const DeviceContext& dc, Painter& painter, int left, int top) const {
    if (dc.State().bkMode == OPAQUE)
        painter.Fill({left, top, left + m_width, top + Height()},
                     PixelFromColorRef(dc.State().bkColour));
    const std::uint32_t ink = PixelFromColorRef(dc.State().textColour);
    if (m_advances.empty()) {
        painter.Text(m_face, left, top, m_text, ink);
        return;
    }
    int x = left;
    const std::vector<std::string_view> characters = SplitCharacters(m_text);
    for (std::size_t i = 0; i < characters.size() && i < m_advances.size(); ++i) {
        painter.Text(m_face, x, top, characters[i], ink);
        x += m_advances[i];
    }
}

}  // namespace winapi::gdi
