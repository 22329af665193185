// How an edit control shows its text: lines laid out in its font (a multiline edit that does
// not scroll sideways wraps them at the right edge), the formatting rectangle inside the client
// area, the scroll position that keeps the caret in sight, and the drawing of the text with its
// selection. Widths come from the font as GDI measures them, so the caret lands exactly between
// the characters TextOut draws.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace winapi::controls {

struct EditLayoutStyle {
    bool multiline = false;
    bool autoHScroll = false;
    bool autoVScroll = false;
    bool bordered = false;  // a border or client edge lies just outside the client area
    DWORD alignment = ES_LEFT;
    bool operator==(const EditLayoutStyle&) const = default;
};

// One line as shown. A line break ends a line without being part of it.
struct EditLine {
    std::size_t start = 0;
    std::size_t end = 0;
    std::vector<std::size_t> positions;  // caret positions from start to end
    std::vector<int> x;                  // the caret's x at each, from the line's left edge
    int Width() const { return x.back(); }
};

class EditView {
public:
    EditView();

    void SetFont(HFONT font);
    void SetStyle(const EditLayoutStyle& style);
    void SetClientRect(const RECT& client);
    void Layout(std::string_view text);

    int LineHeight() const { return m_lineHeight; }
    const RECT& FormatRect() const { return m_format; }
    std::size_t LineCount() const { return m_lines.size(); }
    const EditLine& Line(std::size_t index) const { return m_lines[index]; }
    std::size_t LineOf(std::size_t position) const;
    std::size_t FirstVisibleLine() const { return m_firstLine; }
    // The first character whose left edge is in sight (single-line edits).
    std::size_t FirstVisiblePosition() const;
    int VisibleLineCount() const;

    // The top-left corner of the caret at position, client coordinates.
    POINT PointOf(std::size_t position) const;
    // The caret position nearest to a client point.
    std::size_t PositionAt(POINT client) const;
    // The position lines below (negative: above) position, nearest to goalX (client x).
    std::size_t PositionOnLine(std::size_t position, int lines, int goalX) const;

    // Scrolls the least needed to show the caret at position; sideways by a third of the width
    // at a time, as Win32 edits do, so typing does not scroll at every character.
    void ScrollToShow(std::size_t position);
    void ResetScroll();

    // Whether text stays within what the style allows: a single-line edit without
    // ES_AUTOHSCROLL within its width, a multiline one without ES_AUTOVSCROLL within its lines.
    bool Fits(std::string_view text) const;

    void Paint(HDC dc, std::string_view text, std::size_t selectionStart, std::size_t selectionEnd,
               bool showSelection) const;

private:
    std::vector<EditLine> BuildLines(std::string_view text) const;
    void LayOutParagraph(HDC dc, std::string_view text, std::size_t start, std::size_t end,
                         std::vector<EditLine>& lines) const;
    int CharacterWidth(HDC dc, std::string_view character, int x) const;
    int AlignmentOffset(const EditLine& line) const;
    int FormatWidth() const { return m_format.right - m_format.left; }
    bool ScrollsSideways() const { return !m_style.multiline || m_style.autoHScroll; }
    void UpdateFormatRect();

    HFONT m_font = nullptr;
    int m_lineHeight = 1;
    int m_averageWidth = 1;
    EditLayoutStyle m_style;
    RECT m_client{};
    RECT m_format{};
    std::vector<EditLine> m_lines;
    int m_xOffset = 0;
    std::size_t m_firstLine = 0;
    mutable std::unordered_map<std::uint64_t, int> m_widths;
};

}  // namespace winapi::controls
