// The dubeolsik composition engine over libhangul's "2" keyboard. libhangul owns the jamo automaton
// (syllable splitting, double vowels and final clusters, backspace by jamo); this class only turns its
// UCS-4 strings into UTF-16 and keeps the composing text so callers can ask for it without a round trip.
#include "imm/HangulComposer.h"

#include <hangul.h>

#include <cstring>
#include <new>

namespace cehost::imm {

std::u16string Utf16FromUcs4(const unsigned int* text)
{
    std::u16string out;
    if (text == nullptr)
        return out;
    for (; *text != 0; ++text) {
        unsigned int c = *text;
        if (c >= 0x10000 && c <= 0x10FFFF) {
            c -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char16_t>(c));
        }
    }
    return out;
}

HangulComposer::HangulComposer() : m_context(hangul_ic_new("2"))
{
    if (m_context == nullptr)
        throw std::bad_alloc();
}

HangulComposer::~HangulComposer() { hangul_ic_delete(m_context); }

bool HangulComposer::IsLayoutKey(char ascii)
{
    return (ascii >= 'a' && ascii <= 'z') || (ascii >= 'A' && ascii <= 'Z');
}

ComposeResult HangulComposer::Collect(bool consumed)
{
    ComposeResult result;
    result.consumed = consumed;
    result.committed = Utf16FromUcs4(hangul_ic_get_commit_string(m_context));
    m_composing = Utf16FromUcs4(hangul_ic_get_preedit_string(m_context));
    result.composing = m_composing;
    return result;
}

ComposeResult HangulComposer::Key(char ascii)
{
    if (!IsLayoutKey(ascii)) {
        // libhangul would commit and refuse such a key itself; doing it here keeps the rule in one place.
        ComposeResult result;
        result.committed = Complete();
        return result;
    }
    bool consumed = hangul_ic_process(m_context, ascii);
    return Collect(consumed);
}

ComposeResult HangulComposer::Backspace()
{
    bool consumed = hangul_ic_backspace(m_context);
    ComposeResult result;
    result.consumed = consumed;
    m_composing = Utf16FromUcs4(hangul_ic_get_preedit_string(m_context));
    result.composing = m_composing;
    return result;
}

std::u16string HangulComposer::Complete()
{
    std::u16string done = Utf16FromUcs4(hangul_ic_flush(m_context));
    m_composing.clear();
    return done;
}

void HangulComposer::Cancel()
{
    hangul_ic_reset(m_context);
    m_composing.clear();
}

} // namespace cehost::imm
