#include "platform/winapi/gdi/text_layout.h"

#include "platform/winapi/gdi/text_run.h"

namespace winapi::gdi {
namespace {

bool IsSpace(std::string_view character) {
    return character == " ";
}

// CJK characters may break a line before or after them without any space, as Win32 does for
// ideographs and kana.
bool IsWide(std::string_view character) {
    return character.size() >= 3 && static_cast<unsigned char>(character[0]) >= 0xE2 &&
           !(static_cast<unsigned char>(character[0]) == 0xE2 &&
             static_cast<unsigned char>(character[1]) < 0xBA);
}

std::vector<std::string_view> SplitParagraphs(std::string_view text) {
    std::vector<std::string_view> paragraphs;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        paragraphs.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    paragraphs.push_back(text.substr(start));
    return paragraphs;
}

}  // namespace

std::vector<TextLayout::Character> TextLayout::ResolvePrefixes(std::string_view paragraph) const {
    std::vector<Character> characters;
    const std::vector<std::string_view> raw = SplitCharacters(paragraph);
    const bool prefixes = (m_format & DT_NOPREFIX) == 0;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        // "&x" underlines x, "&&" is one "&"; a "&" with nothing after it stays.
        if (prefixes && raw[i] == "&" && i + 1 < raw.size()) {
            ++i;
            characters.push_back({raw[i], raw[i] != "&"});
            continue;
        }
        characters.push_back({raw[i], false});
    }
    return characters;
}

std::vector<TextLine> TextLayout::Lines(std::string_view text) const {
    std::vector<TextLine> lines;
    const bool single = (m_format & DT_SINGLELINE) != 0;
    const std::vector<std::string_view> paragraphs =
        single ? std::vector<std::string_view>{text} : SplitParagraphs(text);
    for (std::string_view paragraph : paragraphs) {
        const std::vector<Character> characters = ResolvePrefixes(paragraph);
        if (!single && (m_format & DT_WORDBREAK) != 0) {
            Break(characters, lines);
            continue;
        }
        TextLine& line = lines.emplace_back();
        for (const Character& c : characters) {
            if (c.underlined)
                line.underlined.emplace_back(line.text.size(), line.text.size() + c.text.size());
            line.text += c.text;
        }
    }
    return lines;
}

void TextLayout::Break(const std::vector<Character>& characters,
                       std::vector<TextLine>& lines) const {
    const std::size_t count = characters.size();
    std::vector<int> advances(count);
    for (std::size_t i = 0; i < count; ++i)
        advances[i] = m_face.TextWidth(characters[i].text);
    auto canBreakBefore = [&](std::size_t at) {
        return at > 0 && at < count &&
               (IsSpace(characters[at].text) || IsWide(characters[at].text) ||
                IsWide(characters[at - 1].text));
    };
    auto emit = [&](std::size_t from, std::size_t to) {
        while (to > from && IsSpace(characters[to - 1].text))
            --to;
        TextLine& line = lines.emplace_back();
        for (std::size_t i = from; i < to; ++i) {
            const Character& c = characters[i];
            if (c.underlined)
                line.underlined.emplace_back(line.text.size(), line.text.size() + c.text.size());
            line.text += c.text;
        }
    };
    std::size_t start = 0;
    do {
        int width = 0;
        std::size_t end = start;
        while (end < count && (end == start || width + advances[end] <= m_width))
            width += advances[end++];
        if (end == count) {
            emit(start, end);
            break;
        }
        std::size_t cut = end;
        while (cut > start && !canBreakBefore(cut))
            --cut;
        if (cut == start) {
            // One word wider than the line: an edit control breaks inside it, DrawText otherwise
            // lets it run past the edge.
            cut = end;
            if ((m_format & DT_EDITCONTROL) == 0)
                while (cut < count && !canBreakBefore(cut))
                    ++cut;
        }
        emit(start, cut);
        start = cut;
        while (start < count && IsSpace(characters[start].text))
            ++start;
    } while (start < count);
}

}  // namespace winapi::gdi
