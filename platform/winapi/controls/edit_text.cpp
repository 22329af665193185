#include "platform/winapi/controls/edit_text.h"

#include <algorithm>

#include "platform/winapi/utf8.h"

namespace winapi::controls {
namespace {

bool IsLineBreakPair(std::string_view text, std::size_t position) {
    return position + 1 < text.size() && text[position] == '\r' && text[position + 1] == '\n';
}

}  // namespace

std::string_view EditText::SelectedText() const {
    return std::string_view(m_text).substr(SelectionStart(), SelectionEnd() - SelectionStart());
}

void EditText::Reset(std::string text) {
    m_text = std::move(text);
    m_anchor = m_caret = 0;
    m_undo.reset();
}

// A position inside a character (or inside a malformed piece, which is drawn as one) belongs
// to it; one between "\r" and "\n" belongs to the line break.
std::size_t EditText::Snap(std::size_t position) const {
    position = std::min(position, m_text.size());
    if (position == 0 || position == m_text.size())
        return position;
    if (m_text[position] == '\n' && m_text[position - 1] == '\r')
        return position - 1;
    return Utf8CharacterStart(m_text, position);
}

std::size_t EditText::NextCharacter(std::size_t position) const {
    if (position >= m_text.size())
        return m_text.size();
    if (IsLineBreakPair(m_text, position))
        return position + 2;
    return position + DecodeUtf8(m_text, position).length;
}

std::size_t EditText::PreviousCharacter(std::size_t position) const {
    if (position == 0)
        return 0;
    position = std::min(position, m_text.size());
    if (position >= 2 && IsLineBreakPair(m_text, position - 2))
        return position - 2;
    return Utf8CharacterStart(m_text, position - 1);
}

bool EditText::IsBlank(std::size_t position) const {
    const char c = m_text[position];
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::size_t EditText::NextWord(std::size_t position) const {
    std::size_t at = std::min(position, m_text.size());
    while (at < m_text.size() && !IsBlank(at))
        at = NextCharacter(at);
    while (at < m_text.size() && IsBlank(at))
        at = NextCharacter(at);
    return at;
}

std::size_t EditText::PreviousWord(std::size_t position) const {
    std::size_t at = std::min(position, m_text.size());
    while (at > 0 && IsBlank(PreviousCharacter(at)))
        at = PreviousCharacter(at);
    while (at > 0 && !IsBlank(PreviousCharacter(at)))
        at = PreviousCharacter(at);
    return at;
}

std::pair<std::size_t, std::size_t> EditText::WordAt(std::size_t position) const {
    const std::size_t at = Snap(position);
    if (at >= m_text.size() || IsBlank(at)) {
        // On blanks (or past the end) the run of blanks around the point, without line breaks.
        auto isSpace = [&](std::size_t p) { return m_text[p] == ' ' || m_text[p] == '\t'; };
        std::size_t start = at;
        while (start > 0 && isSpace(start - 1))
            --start;
        std::size_t end = at;
        while (end < m_text.size() && isSpace(end))
            ++end;
        return {start, end};
    }
    std::size_t start = at;
    while (start > 0 && !IsBlank(PreviousCharacter(start)))
        start = PreviousCharacter(start);
    std::size_t end = at;
    while (end < m_text.size() && !IsBlank(end))
        end = NextCharacter(end);
    while (end < m_text.size() && (m_text[end] == ' ' || m_text[end] == '\t'))
        ++end;
    return {start, end};
}

void EditText::Select(std::size_t anchor, std::size_t caret) {
    m_anchor = Snap(anchor);
    m_caret = Snap(caret);
}

void EditText::MoveCaret(std::size_t to, bool extend) {
    m_caret = Snap(to);
    if (!extend)
        m_anchor = m_caret;
}

// Typing continues the last typed change when it carries on where that one ended: characters
// typed after it, Backspace over it (and on before it), Delete after it.
bool EditText::JoinTyping(std::size_t start, std::size_t end, std::string_view text) {
    if (!m_undo || !m_undo->typed)
        return false;
    UndoRecord& record = *m_undo;
    const std::size_t insertedEnd = record.position + record.insertedSize;
    if (start == end && !text.empty() && start == insertedEnd) {
        record.insertedSize += text.size();
        return true;
    }
    if (!text.empty() || start == end)
        return false;
    if (end == insertedEnd && start >= record.position) {
        record.insertedSize -= end - start;
        return true;
    }
    if (end == insertedEnd && start < record.position) {
        record.removed.insert(0, m_text, start, record.position - start);
        record.insertedSize = 0;
        record.position = start;
        return true;
    }
    if (start == insertedEnd && record.insertedSize == 0) {
        record.removed.append(m_text, start, end - start);
        return true;
    }
    return false;
}

void EditText::ReplaceSelection(std::string_view text, UndoMode mode) {
    const std::size_t start = SelectionStart();
    const std::size_t end = SelectionEnd();
    switch (mode) {
        case UndoMode::Forget:
            m_undo.reset();
            break;
        case UndoMode::Separate:
            m_undo = UndoRecord{start, text.size(), m_text.substr(start, end - start), false};
            break;
        case UndoMode::Merge:
            if (!JoinTyping(start, end, text))
                m_undo = UndoRecord{start, text.size(), m_text.substr(start, end - start), true};
            break;
    }
    m_text.replace(start, end - start, text);
    m_anchor = m_caret = start + text.size();
}

bool EditText::Undo() {
    if (!m_undo)
        return false;
    const UndoRecord record = *m_undo;
    std::string inserted = m_text.substr(record.position, record.insertedSize);
    m_text.replace(record.position, record.insertedSize, record.removed);
    m_anchor = record.position;
    m_caret = record.position + record.removed.size();
    m_undo = UndoRecord{record.position, record.removed.size(), std::move(inserted), false};
    return true;
}

}  // namespace winapi::controls
