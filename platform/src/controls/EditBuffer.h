// The text of an edit control and its selection, without any drawing: insertion under a character limit,
// deletion, caret movement over line breaks. Positions are UTF-16 indices; a CR LF pair counts as two
// characters but the caret never stops between them.
#pragma once

#include <string>

namespace cehost::controls {

class EditBuffer {
public:
    struct Change {
        bool changed = false;   // the text is different afterwards
        bool truncated = false; // the limit cut the inserted text (EN_MAXTEXT)
    };

    explicit EditBuffer(bool multiLine) : m_multiLine(multiLine) {}

    const std::u16string& Text() const { return m_text; }
    int Length() const { return static_cast<int>(m_text.size()); }
    int Anchor() const { return m_anchor; }
    int Caret() const { return m_caret; }
    int SelectionStart() const { return m_anchor < m_caret ? m_anchor : m_caret; }
    int SelectionEnd() const { return m_anchor < m_caret ? m_caret : m_anchor; }
    bool HasSelection() const { return m_anchor != m_caret; }
    bool IsMultiLine() const { return m_multiLine; }

    int Limit() const { return m_limit; }
    void SetLimit(int limit) { m_limit = limit; }

    // Replaces the whole text regardless of the limit (as WM_SETTEXT does); the caret goes to 0.
    void SetText(std::u16string text);
    // Replaces the selection with `text`; with `honourLimit` only what fits under the limit is inserted.
    // A single-line buffer keeps only what precedes the first line break of `text`.
    Change ReplaceSelection(std::u16string text, bool honourLimit);
    // Backspace and Delete: the selection if any, else one character (a CR LF pair at once).
    Change DeleteBackward();
    Change DeleteForward();

    // EM_SETSEL semantics: start -1 removes the selection keeping the caret; end -1 (or beyond) means the
    // end of the text; the caret goes to `end`.
    void Select(int start, int end);
    // Moves the caret; `extend` keeps the anchor (Shift held).
    void MoveCaret(int position, bool extend);

    int PreviousPosition(int position) const;
    int NextPosition(int position) const;

private:
    int Clamp(int position) const;

    bool m_multiLine;
    std::u16string m_text;
    int m_anchor = 0;
    int m_caret = 0;
    int m_limit = 30000;
};

} // namespace cehost::controls
