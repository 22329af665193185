#include "platform/winapi/controls/edit_view.h"

#include <algorithm>

#include "platform/winapi/controls/edit_text.h"
#include "platform/winapi/utf8.h"

namespace winapi::controls {
namespace {

constexpr int kTabStopCharacters = 8;  // Win32's default stops: every 32 dialog units
constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

// A memory DC with a font selected, for measuring.
class MeasuringDc {
public:
    explicit MeasuringDc(HFONT font) : m_dc(CreateCompatibleDC(nullptr)) {
        if (m_dc != nullptr && font != nullptr)
            m_old = SelectObject(m_dc, font);
    }
    ~MeasuringDc() {
        if (m_dc == nullptr)
            return;
        if (m_old != nullptr)
            SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
    }
    MeasuringDc(const MeasuringDc&) = delete;
    MeasuringDc& operator=(const MeasuringDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
    HGDIOBJ m_old = nullptr;
};

// Text colour and background mode, put back when the run is drawn.
class SelectionColours {
public:
    SelectionColours(HDC dc)
        : m_dc(dc),
          m_colour(SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT))),
          m_mode(SetBkMode(dc, TRANSPARENT)) {}
    ~SelectionColours() {
        SetTextColor(m_dc, m_colour);
        SetBkMode(m_dc, m_mode);
    }
    SelectionColours(const SelectionColours&) = delete;
    SelectionColours& operator=(const SelectionColours&) = delete;

private:
    HDC m_dc;
    COLORREF m_colour;
    int m_mode;
};

bool IsSpace(char c) {
    return c == ' ' || c == '\t';
}

std::size_t FindLineBreak(std::string_view text, std::size_t from) {
    const std::size_t found = text.find("\r\n", from);
    return found == std::string_view::npos ? text.size() : found;
}

}  // namespace

EditView::EditView() {
    SetFont(nullptr);
}

void EditView::SetFont(HFONT font) {
    m_font = font;
    m_widths.clear();
    MeasuringDc dc(font);
    TEXTMETRICA metrics{};
    if (dc.Get() != nullptr && GetTextMetricsA(dc.Get(), &metrics))
        m_lineHeight = std::max(1, static_cast<int>(metrics.tmHeight));
    SIZE alphabet{};
    if (dc.Get() != nullptr && GetTextExtentPoint32A(dc.Get(), kAlphabet, 52, &alphabet))
        m_averageWidth = std::max(1, static_cast<int>((alphabet.cx / 26 + 1) / 2));
    UpdateFormatRect();
}

void EditView::SetStyle(const EditLayoutStyle& style) {
    m_style = style;
    UpdateFormatRect();
}

void EditView::SetClientRect(const RECT& client) {
    m_client = client;
    UpdateFormatRect();
}

// Inside the client area: a pixel off a neighbouring border (above and below only when a line
// still fits), then the margins Win32 gives an outline font, half its average width; the
// system font has none. A single-line edit's rectangle is one line tall.
void EditView::UpdateFormatRect() {
    RECT r = m_client;
    if (m_style.bordered) {
        r.left += 1;
        r.right -= 1;
        if (r.bottom - r.top >= m_lineHeight + 2) {
            r.top += 1;
            r.bottom -= 1;
        }
    }
    const int margin = m_font != nullptr ? m_averageWidth / 2 : 0;
    if (r.right - r.left > 2 * margin) {
        r.left += margin;
        r.right -= margin;
    }
    if (!m_style.multiline)
        r.bottom = r.top + m_lineHeight;
    r.right = std::max(r.right, r.left);
    m_format = r;
}

int EditView::CharacterWidth(HDC dc, std::string_view character, int x) const {
    if (character == "\t") {
        const int stop = kTabStopCharacters * m_averageWidth;
        return (x / stop + 1) * stop - x;
    }
    std::uint64_t key = character.size();
    for (char c : character)
        key = key << 8 | static_cast<unsigned char>(c);
    if (const auto found = m_widths.find(key); found != m_widths.end())
        return found->second;
    SIZE size{};
    GetTextExtentPoint32A(dc, character.data(), static_cast<int>(character.size()), &size);
    m_widths.emplace(key, size.cx);
    return size.cx;
}

void EditView::LayOutParagraph(HDC dc, std::string_view text, std::size_t start, std::size_t end,
                               std::vector<EditLine>& lines) const {
    const bool wraps = m_style.multiline && !m_style.autoHScroll;
    const int width = FormatWidth();
    std::size_t lineStart = start;
    for (;;) {
        EditLine line;
        line.start = lineStart;
        line.positions.push_back(lineStart);
        line.x.push_back(0);
        std::size_t afterBlank = 0;  // index into positions just after the last blank, 0: none
        std::size_t at = lineStart;
        bool wrapped = false;
        while (at < end) {
            const std::size_t next = at + DecodeUtf8(text, at).length;
            const int advance = CharacterWidth(dc, text.substr(at, next - at), line.x.back());
            if (wraps && line.x.back() + advance > width && line.positions.size() > 1 &&
                !IsSpace(text[at])) {
                // Break after the last blank when there is one, else before this character.
                const std::size_t keep = afterBlank > 0 ? afterBlank : line.positions.size() - 1;
                line.positions.resize(keep + 1);
                line.x.resize(keep + 1);
                wrapped = true;
                break;
            }
            line.positions.push_back(next);
            line.x.push_back(line.x.back() + advance);
            if (IsSpace(text[at]))
                afterBlank = line.positions.size() - 1;
            at = next;
        }
        line.end = line.positions.back();
        lines.push_back(std::move(line));
        if (!wrapped)
            return;
        lineStart = lines.back().end;
    }
}

std::vector<EditLine> EditView::BuildLines(std::string_view text) const {
    std::vector<EditLine> lines;
    MeasuringDc dc(m_font);
    if (!m_style.multiline) {
        LayOutParagraph(dc.Get(), text, 0, text.size(), lines);
        return lines;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t lineBreak = FindLineBreak(text, start);
        LayOutParagraph(dc.Get(), text, start, lineBreak, lines);
        if (lineBreak == text.size())
            return lines;
        start = lineBreak + 2;
    }
}

void EditView::Layout(std::string_view text) {
    m_lines = BuildLines(text);
    m_firstLine = std::min(m_firstLine, m_lines.size() - 1);
}

bool EditView::Fits(std::string_view text) const {
    if (!m_style.multiline && !m_style.autoHScroll)
        return BuildLines(text).front().Width() <= FormatWidth();
    if (m_style.multiline && !m_style.autoVScroll)
        return BuildLines(text).size() <= static_cast<std::size_t>(VisibleLineCount());
    return true;
}

int EditView::VisibleLineCount() const {
    return std::max(1, static_cast<int>((m_format.bottom - m_format.top) / m_lineHeight));
}

std::size_t EditView::LineOf(std::size_t position) const {
    const auto after =
        std::upper_bound(m_lines.begin(), m_lines.end(), position,
                         [](std::size_t p, const EditLine& line) { return p < line.start; });
    return after == m_lines.begin() ? 0 : static_cast<std::size_t>(after - m_lines.begin()) - 1;
}

int EditView::AlignmentOffset(const EditLine& line) const {
    const int spare = FormatWidth() - line.Width();
    if (spare <= 0)
        return 0;
    if (m_style.alignment == ES_CENTER)
        return spare / 2;
    if (m_style.alignment == ES_RIGHT)
        return spare - 1;
    return 0;
}

POINT EditView::PointOf(std::size_t position) const {
    const std::size_t index = LineOf(position);
    const EditLine& line = m_lines[index];
    const auto found = std::lower_bound(line.positions.begin(), line.positions.end(), position);
    const std::size_t k = found == line.positions.end()
                              ? line.positions.size() - 1
                              : static_cast<std::size_t>(found - line.positions.begin());
    const int row = static_cast<int>(index) - static_cast<int>(m_firstLine);
    return {m_format.left + AlignmentOffset(line) + line.x[k] - m_xOffset,
            m_format.top + row * m_lineHeight};
}

std::size_t EditView::PositionAt(POINT client) const {
    const int dy = client.y - m_format.top;
    const int row = dy < 0 ? -1 : dy / m_lineHeight;
    const long index = std::clamp<long>(static_cast<long>(m_firstLine) + row, 0,
                                        static_cast<long>(m_lines.size()) - 1);
    const EditLine& line = m_lines[static_cast<std::size_t>(index)];
    const int x = client.x - m_format.left - AlignmentOffset(line) + m_xOffset;
    for (std::size_t k = 0; k + 1 < line.positions.size(); ++k)
        if (x < (line.x[k] + line.x[k + 1]) / 2)
            return line.positions[k];
    return line.positions.back();
}

std::size_t EditView::PositionOnLine(std::size_t position, int lines, int goalX) const {
    const long index = std::clamp<long>(static_cast<long>(LineOf(position)) + lines, 0,
                                        static_cast<long>(m_lines.size()) - 1);
    const int row = static_cast<int>(index) - static_cast<int>(m_firstLine);
    return PositionAt({goalX, m_format.top + row * m_lineHeight});
}

std::size_t EditView::FirstVisiblePosition() const {
    const EditLine& line = m_lines[m_firstLine];
    for (std::size_t k = 0; k < line.positions.size(); ++k)
        if (line.x[k] >= m_xOffset)
            return line.positions[k];
    return line.positions.back();
}

void EditView::ResetScroll() {
    m_xOffset = 0;
    m_firstLine = 0;
}

void EditView::ScrollToShow(std::size_t position) {
    const std::size_t index = LineOf(position);
    if (m_style.multiline) {
        const std::size_t visible = static_cast<std::size_t>(VisibleLineCount());
        if (index < m_firstLine)
            m_firstLine = index;
        else if (index >= m_firstLine + visible)
            m_firstLine = index - visible + 1;
    }
    if (!ScrollsSideways()) {
        m_xOffset = 0;
        return;
    }
    const POINT at = PointOf(position);
    const int x = at.x - m_format.left + m_xOffset;
    const int width = FormatWidth();
    const int third = std::max(1, width / 3);
    if (x < m_xOffset)
        m_xOffset = std::max(0, x - third);
    else if (x >= m_xOffset + width)
        m_xOffset = x - width + third;
    int widest = 0;
    for (const EditLine& line : m_lines)
        widest = std::max(widest, line.Width());
    if (widest < width)
        m_xOffset = 0;
}

void EditView::Paint(HDC dc, std::string_view text, std::size_t selectionStart,
                     std::size_t selectionEnd, bool showSelection) const {
    HBRUSH highlight = GetSysColorBrush(COLOR_HIGHLIGHT);
    const int rows = (m_format.bottom - m_format.top + m_lineHeight - 1) / m_lineHeight;
    for (std::size_t index = m_firstLine; index < m_lines.size() && index < m_firstLine + rows;
         ++index) {
        const EditLine& line = m_lines[index];
        const int top = m_format.top + static_cast<int>(index - m_firstLine) * m_lineHeight;
        const int left = m_format.left + AlignmentOffset(line) - m_xOffset;
        auto selected = [&](std::size_t k) {
            return showSelection && line.positions[k] >= selectionStart &&
                   line.positions[k] < selectionEnd;
        };
        auto isTab = [&](std::size_t k) { return text[line.positions[k]] == '\t'; };
        // Runs of characters alike in selection, drawn by one TextOut; tabs are only space.
        for (std::size_t k = 0; k + 1 < line.positions.size();) {
            std::size_t j = k + 1;
            while (j + 1 < line.positions.size() && selected(j) == selected(k) && !isTab(j) &&
                   !isTab(k))
                ++j;
            const int x = left + line.x[k];
            const std::string_view run =
                text.substr(line.positions[k], line.positions[j] - line.positions[k]);
            if (selected(k)) {
                const RECT cell{x, top, left + line.x[j], top + m_lineHeight};
                FillRect(dc, &cell, highlight);
                SelectionColours colours(dc);
                if (!isTab(k))
                    TextOutA(dc, x, top, run.data(), static_cast<int>(run.size()));
            } else if (!isTab(k)) {
                TextOutA(dc, x, top, run.data(), static_cast<int>(run.size()));
            }
            k = j;
        }
    }
}

}  // namespace winapi::controls
