// Edit control text model.
#include "controls/EditBuffer.h"

#include <algorithm>

namespace cehost::controls {

namespace {

bool IsBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

} // namespace

int EditBuffer::Clamp(int position) const
{
    position = std::clamp(position, 0, Length());
    // Never between CR and LF.
    if (position > 0 && position < Length() && m_text[position - 1] == u'\r' && m_text[position] == u'\n')
        --position;
    return position;
}

void EditBuffer::SetText(std::u16string text)
{
    if (!m_multiLine) {
        auto cut = std::find_if(text.begin(), text.end(), IsBreak);
        text.erase(cut, text.end());
    }
    m_text = std::move(text);
    m_anchor = m_caret = 0;
}

EditBuffer::Change EditBuffer::ReplaceSelection(std::u16string text, bool honourLimit)
{
    Change change;
    if (!m_multiLine) {
        auto cut = std::find_if(text.begin(), text.end(), IsBreak);
        text.erase(cut, text.end());
    }
    int start = SelectionStart();
    int end = SelectionEnd();
    if (honourLimit) {
        int room = std::max(m_limit - (Length() - (end - start)), 0);
        if (static_cast<int>(text.size()) > room) {
            change.truncated = true;
            // Do not split a surrogate pair or a CR LF pair at the cut.
            size_t keep = static_cast<size_t>(room);
            if (keep > 0 && keep < text.size() &&
                ((text[keep - 1] >= 0xD800 && text[keep - 1] <= 0xDBFF) ||
                 (text[keep - 1] == u'\r' && text[keep] == u'\n')))
                --keep;
            text.resize(keep);
        }
    }
    if (text.empty() && start == end)
        return change;
    m_text.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), text);
    m_anchor = m_caret = start + static_cast<int>(text.size());
    change.changed = true;
    return change;
}

EditBuffer::Change EditBuffer::DeleteBackward()
{
    if (!HasSelection()) {
        if (m_caret == 0)
            return {};
        m_anchor = PreviousPosition(m_caret);
    }
    return ReplaceSelection(std::u16string(), false);
}

EditBuffer::Change EditBuffer::DeleteForward()
{
    if (!HasSelection()) {
        if (m_caret >= Length())
            return {};
        m_anchor = NextPosition(m_caret);
    }
    return ReplaceSelection(std::u16string(), false);
}

void EditBuffer::Select(int start, int end)
{
    if (start == -1) {
        m_anchor = m_caret;
        return;
    }
    if (end < 0 || end > Length())
        end = Length();
    if (start < 0 || start > Length())
        start = Length();
    m_anchor = Clamp(start);
    m_caret = Clamp(end);
}

void EditBuffer::MoveCaret(int position, bool extend)
{
    m_caret = Clamp(position);
    if (!extend)
        m_anchor = m_caret;
}

int EditBuffer::PreviousPosition(int position) const
{
    if (position <= 0)
        return 0;
    --position;
    if (position > 0 && m_text[position] == u'\n' && m_text[position - 1] == u'\r')
        --position;
    else if (position > 0 && m_text[position] >= 0xDC00 && m_text[position] <= 0xDFFF &&
             m_text[position - 1] >= 0xD800 && m_text[position - 1] <= 0xDBFF)
        --position;
    return position;
}

int EditBuffer::NextPosition(int position) const
{
    if (position >= Length())
        return Length();
    ++position;
    if (position < Length() && m_text[position] == u'\n' && m_text[position - 1] == u'\r')
        ++position;
    else if (position < Length() && m_text[position] >= 0xDC00 && m_text[position] <= 0xDFFF &&
             m_text[position - 1] >= 0xD800 && m_text[position - 1] <= 0xDBFF)
        ++position;
    return position;
}

} // namespace cehost::controls
