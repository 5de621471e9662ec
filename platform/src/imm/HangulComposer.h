// The Korean two-set (dubeolsik) composition engine behind the input method: letter keys in, finished and
// in-progress syllables out. Pure text logic over libhangul; it knows nothing of windows or messages.
#pragma once

#include <string>

struct _HangulInputContext;

namespace cehost::imm {

// What one key did to the text. `committed` holds syllables that became final with this key (possibly
// several when a key cannot join), `composing` the syllable still being built afterwards (empty or one unit).
struct ComposeResult {
    bool consumed = false;
    std::u16string committed;
    std::u16string composing;
};

class HangulComposer {
public:
    HangulComposer();
    ~HangulComposer();
    HangulComposer(const HangulComposer&) = delete;
    HangulComposer& operator=(const HangulComposer&) = delete;

    // True for the keys the layout turns into jamo: the letters, where Shift picks the tense consonants and
    // the extra vowels (Q W E R T O P) and leaves the other letters as they are.
    static bool IsLayoutKey(char ascii);

    // Feeds one key given as its layout character ('a'..'z', 'A'..'Z' with Shift). A key the layout does
    // not know is not consumed, but it still finishes the syllable under composition (in `committed`).
    ComposeResult Key(char ascii);
    // Removes the last jamo typed. Not consumed when nothing is under composition.
    ComposeResult Backspace();
    // Finishes the syllable under composition and returns it (empty if none).
    std::u16string Complete();
    // Drops the syllable under composition.
    void Cancel();

    const std::u16string& Composing() const { return m_composing; }
    bool IsComposing() const { return !m_composing.empty(); }

private:
    ComposeResult Collect(bool consumed);

    _HangulInputContext* m_context;
    std::u16string m_composing;
};

// UCS-4 (libhangul's output) to UTF-16, surrogate pairs included.
std::u16string Utf16FromUcs4(const unsigned int* text);

} // namespace cehost::imm
