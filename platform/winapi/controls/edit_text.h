// The text of an edit control with its selection and its one level of undo. Positions are byte
// offsets into the UTF-8 text, as the A messages count them. Every position the model holds is
// a character boundary: one that falls inside a character (or a malformed piece, one U+FFFD on
// screen) moves to its start, and the line break "\r\n" is a single step for the caret.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace winapi::controls {

enum class UndoMode {
    Forget,    // the change cannot be undone, nor can anything before it
    Separate,  // the change is undone on its own
    Merge,     // typing: joins the previous typed change when it continues it
};

class EditText {
public:
    const std::string& Text() const { return m_text; }
    std::size_t Size() const { return m_text.size(); }

    std::size_t Anchor() const { return m_anchor; }
    std::size_t Caret() const { return m_caret; }
    std::size_t SelectionStart() const { return m_anchor < m_caret ? m_anchor : m_caret; }
    std::size_t SelectionEnd() const { return m_anchor < m_caret ? m_caret : m_anchor; }
    bool HasSelection() const { return m_anchor != m_caret; }
    std::string_view SelectedText() const;

    // Replaces the whole text: caret at the start, nothing to undo.
    void Reset(std::string text);
    // Both ends are clamped to the text and snapped to character starts.
    void Select(std::size_t anchor, std::size_t caret);
    // Moves the caret; extending keeps the anchor, otherwise the selection collapses there.
    void MoveCaret(std::size_t to, bool extend);
    // Replaces the selection with text (which should start and end on whole characters); the
    // caret ends after the new text.
    void ReplaceSelection(std::string_view text, UndoMode mode);

    bool CanUndo() const { return m_undo.has_value(); }
    void ForgetUndo() { m_undo.reset(); }
    // Puts back what the last change replaced and selects it; undoing again redoes.
    bool Undo();

    // Navigation over characters, words (runs between spaces, tabs and line breaks) and lines.
    std::size_t Snap(std::size_t position) const;
    std::size_t NextCharacter(std::size_t position) const;
    std::size_t PreviousCharacter(std::size_t position) const;
    std::size_t NextWord(std::size_t position) const;
    std::size_t PreviousWord(std::size_t position) const;
    // The word under position with the blanks after it, as a double click selects it.
    std::pair<std::size_t, std::size_t> WordAt(std::size_t position) const;

private:
    struct UndoRecord {
        std::size_t position = 0;      // where the change happened
        std::size_t insertedSize = 0;  // bytes it put there
        std::string removed;           // what it took away
        bool typed = false;            // further typing may join it
    };
    bool JoinTyping(std::size_t start, std::size_t end, std::string_view text);
    bool IsBlank(std::size_t position) const;

    std::string m_text;
    std::size_t m_anchor = 0;
    std::size_t m_caret = 0;
    std::optional<UndoRecord> m_undo;
};

}  // namespace winapi::controls
