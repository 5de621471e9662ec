// The 12-key composition engine: keypad keys ('0'..'9', '*', '#') in, finished and in-progress text out.
// Latin letters by multi-tap, Korean by the vowel-stroke method (ㅣ ㆍ ㅡ strokes build the vowels, consonant
// keys cycle through their letters), digits as themselves. Pure text logic; it knows nothing of windows or
// messages, and time is the tick of each key, given by the caller.
#pragma once

#include "imm/HangulComposer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace cehost::imm {

// The order # cycles through: Korean first.
enum class KeypadMode { Hangul, Upper, Lower, Digits };

class KeypadComposer {
public:
    // A key pressed again within this time cycles its letters; later, it starts a new letter.
    static constexpr uint32_t kCycleMs = 1000;

    KeypadMode Mode() const { return m_mode; }
    // Changing the mode finishes the composition; the finished text is returned.
    std::u16string SetMode(KeypadMode mode);

    // One press of a keypad key at `tick`. '#' finishes the composition and moves to the next mode; '*'
    // finishes it (in the digit mode it types '*'). Keys the mode has no use for are not consumed.
    ComposeResult Key(char key, uint32_t tick);
    // Takes back the last letter, stroke or consonant. Not consumed when nothing is being composed.
    ComposeResult Backspace();
    // Finishes the composition and returns it (empty if none).
    std::u16string Complete();
    void Cancel();

    const std::u16string& Composing() const { return m_composing; }
    bool IsComposing() const { return !m_composing.empty(); }
    // A Latin letter is waiting for its key to come again; it is committed kCycleMs after its last press.
    bool LetterPending() const { return m_letterKey != 0; }

private:
    // One unit the Korean method typed: a consonant (which its key may still cycle) or a vowel as its strokes.
    struct Jamo {
        bool vowel = false;
        char key = 0;
        int cycle = 0;       // consonant: position in its key's letters
        std::string strokes; // vowel: 'i' (ㅣ), '.' (ㆍ), '-' (ㅡ)
    };
    struct Syllable {
        int initial = -1, vowel = -1, final1 = -1, final2 = -1; // indexes into m_jamo
        size_t end = 0;                                          // one past its last unit
    };

    ComposeResult HangulKey(char key, uint32_t tick);
    ComposeResult LatinKey(char key, uint32_t tick);
    std::vector<Syllable> Split() const;
    std::u16string Render(const Syllable& s) const;
    char16_t Consonant(const Jamo& j) const;
    // Re-splits the units: every syllable before the last is final and leaves the buffer.
    ComposeResult Settle(bool consumed);

    KeypadMode m_mode = KeypadMode::Hangul;
    std::vector<Jamo> m_jamo;
    char m_letterKey = 0; // Latin: the key whose letter is pending
    int m_letterCycle = 0;
    char m_lastKey = 0;
    uint32_t m_lastTick = 0;
    std::u16string m_composing;
};

// The label of a mode as the indicator strip shows it: "한", "A", "a", "123".
const char16_t* KeypadModeLabel(KeypadMode mode);

} // namespace cehost::imm
