#include "platform/winapi/gdi/text_run.h"

#include <numeric>

namespace winapi::gdi {
namespace {

std::size_t SequenceLength(std::string_view utf8, std::size_t at) {
    const auto lead = static_cast<unsigned char>(utf8[at]);
    std::size_t length = 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4;
    if (at + length > utf8.size())
        return 1;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(utf8[at + i]) & 0xC0) != 0x80)
            return 1;
    return length;
}

}  // namespace

std::vector<std::string_view> SplitCharacters(std::string_view utf8) {
    std::vector<std::string_view> characters;
    for (std::size_t at = 0; at < utf8.size();) {
        const std::size_t length = SequenceLength(utf8, at);
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
