// The 12-key methods. Korean keeps the units typed since the last finished syllable (consonants, and vowels
// as their strokes) and splits them into syllables after every key, so a final consonant moves on to the
// next syllable as soon as a vowel follows it; libhangul joins initial, vowel and final into a syllable.
#include "imm/KeypadComposer.h"

#include <hangul.h>

#include <cstddef>
#include <cstring>

namespace cehost::imm {

namespace {

const char* const kLatinLetters[10] = {" ", ".,?!'-", "abc", "def", "ghi", "jkl", "mno", "pqrs", "tuv", "wxyz"};

// The consonants of each key, in the order repeated presses give them.
const char16_t* HangulConsonants(char key)
{
    switch (key) {
    case '4': return u"ㄱㅋㄲ";
    case '5': return u"ㄴㄹ";
    case '6': return u"ㄷㅌㄸ";
    case '7': return u"ㅂㅍㅃ";
    case '8': return u"ㅅㅎㅆ";
    case '9': return u"ㅈㅊㅉ";
    case '0': return u"ㅇㅁ";
    default: return nullptr;
    }
}

char Stroke(char key) { return key == '1' ? 'i' : key == '2' ? '.' : key == '3' ? '-' : 0; }

// Every vowel as its strokes: ㅣ 'i', ㆍ '.', ㅡ '-'. A compound adds its second part's strokes (ㅗ + ㅏ, ㅠ + ㅣ
// for ㅝ). "." and ".." stand for the strokes not yet a vowel.
struct VowelStrokes {
    const char* strokes;
    char16_t vowel;
};
constexpr VowelStrokes kVowels[] = {
    {"i", u'ㅣ'},      {".", u'ㆍ'},      {"-", u'ㅡ'},    {"..", u'ᆢ'},     {"i.", u'ㅏ'},      {".i", u'ㅓ'},
    {".-", u'ㅗ'},     {"-.", u'ㅜ'},     {"i..", u'ㅑ'},  {"..i", u'ㅕ'},   {"..-", u'ㅛ'},     {"-..", u'ㅠ'},
    {"i.i", u'ㅐ'},    {".ii", u'ㅔ'},    {"i..i", u'ㅒ'}, {"..ii", u'ㅖ'},  {".-i", u'ㅚ'},     {".-i.", u'ㅘ'},
    {".-i.i", u'ㅙ'},  {"-.i", u'ㅟ'},    {"-..i", u'ㅝ'}, {"-..ii", u'ㅞ'}, {"-i", u'ㅢ'},
};

char16_t VowelOf(const std::string& strokes)
{
    for (const VowelStrokes& v : kVowels)
        if (strokes == v.strokes)
            return v.vowel;
    return 0;
}

// A real vowel (ㅏ to ㅣ), as opposed to strokes still waiting for more.
bool RealVowel(char16_t vowel) { return vowel >= u'ㅏ' && vowel <= u'ㅣ'; }

constexpr char16_t kInitials[] = u"ㄱㄲㄴㄷㄸㄹㅁㅂㅃㅅㅆㅇㅈㅉㅊㅋㅌㅍㅎ";
constexpr char16_t kFinals[] = u"ㄱㄲㄳㄴㄵㄶㄷㄹㄺㄻㄼㄽㄾㄿㅀㅁㅂㅄㅅㅆㅇㅈㅊㅋㅌㅍㅎ";

ucschar Conjoining(const char16_t* table, ucschar base, char16_t letter)
{
    for (size_t i = 0; table[i] != 0; ++i)
        if (table[i] == letter)
            return base + ucschar(i);
    return 0;
}

ucschar InitialJamo(char16_t c) { return Conjoining(kInitials, 0x1100, c); }
ucschar FinalJamo(char16_t c) { return Conjoining(kFinals, 0x11A8, c); }
ucschar VowelJamo(char16_t v) { return 0x1161 + (v - u'ㅏ'); }

// Two finals that join into one (ㄹ + ㄱ = ㄺ), or 0.
char16_t FinalCluster(char16_t first, char16_t second)
{
    static constexpr char16_t kClusters[][3] = {{u'ㄱ', u'ㅅ', u'ㄳ'}, {u'ㄴ', u'ㅈ', u'ㄵ'}, {u'ㄴ', u'ㅎ', u'ㄶ'},
                                                {u'ㄹ', u'ㄱ', u'ㄺ'}, {u'ㄹ', u'ㅁ', u'ㄻ'}, {u'ㄹ', u'ㅂ', u'ㄼ'},
                                                {u'ㄹ', u'ㅅ', u'ㄽ'}, {u'ㄹ', u'ㅌ', u'ㄾ'}, {u'ㄹ', u'ㅍ', u'ㄿ'},
                                                {u'ㄹ', u'ㅎ', u'ㅀ'}, {u'ㅂ', u'ㅅ', u'ㅄ'}};
    for (const auto& c : kClusters)
        if (c[0] == first && c[1] == second)
            return c[2];
    return 0;
}

KeypadMode NextMode(KeypadMode mode)
{
    switch (mode) {
    case KeypadMode::Hangul: return KeypadMode::Upper;
    case KeypadMode::Upper: return KeypadMode::Lower;
    case KeypadMode::Lower: return KeypadMode::Digits;
    default: return KeypadMode::Hangul;
    }
}

} // namespace

const char16_t* KeypadModeLabel(KeypadMode mode)
{
    switch (mode) {
    case KeypadMode::Hangul: return u"한";
    case KeypadMode::Upper: return u"A";
    case KeypadMode::Lower: return u"a";
    default: return u"123";
    }
}

std::u16string KeypadComposer::SetMode(KeypadMode mode)
{
    std::u16string done = Complete();
    m_mode = mode;
    return done;
}

ComposeResult KeypadComposer::Key(char key, uint32_t tick)
{
    if (key == '#') {
        std::u16string done = SetMode(NextMode(m_mode));
        return ComposeResult{true, done, std::u16string()};
    }
    switch (m_mode) {
    case KeypadMode::Hangul: return HangulKey(key, tick);
    case KeypadMode::Upper:
    case KeypadMode::Lower: return LatinKey(key, tick);
    default:
        if ((key >= '0' && key <= '9') || key == '*')
            return ComposeResult{true, std::u16string(1, char16_t(key)), std::u16string()};
        return ComposeResult{};
    }
}

ComposeResult KeypadComposer::LatinKey(char key, uint32_t tick)
{
    if (key == '*')
        return ComposeResult{true, Complete(), std::u16string()};
    if (key < '0' || key > '9')
        return ComposeResult{};
    const char* letters = kLatinLetters[key - '0'];
    const bool again = key == m_letterKey && tick - m_lastTick < kCycleMs;
    m_lastTick = tick;
    if (again) {
        m_letterCycle = (m_letterCycle + 1) % int(std::strlen(letters));
        ComposeResult result{true, std::u16string(), std::u16string()};
        char c = letters[m_letterCycle];
        if (m_mode == KeypadMode::Upper && c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
        m_composing.assign(1, char16_t(c));
        result.composing = m_composing;
        return result;
    }
    ComposeResult result{true, Complete(), std::u16string()};
    if (key == '0') {
        result.committed += u' ';
        return result;
    }
    m_letterKey = key;
    m_letterCycle = 0;
    char c = letters[0];
    if (m_mode == KeypadMode::Upper && c >= 'a' && c <= 'z')
        c = char(c - 'a' + 'A');
    m_composing.assign(1, char16_t(c));
    result.composing = m_composing;
    return result;
}

ComposeResult KeypadComposer::HangulKey(char key, uint32_t tick)
{
    if (key == '*')
        return ComposeResult{true, Complete(), std::u16string()};
    if (char stroke = Stroke(key)) {
        // A stroke extends the vowel before it while the strokes still spell a vowel (or its beginning).
        if (!m_jamo.empty() && m_jamo.back().vowel && VowelOf(m_jamo.back().strokes + stroke) != 0)
            m_jamo.back().strokes += stroke;
        else
            m_jamo.push_back(Jamo{true, key, 0, std::string(1, stroke)});
    } else if (const char16_t* letters = HangulConsonants(key)) {
        const bool again = key == m_lastKey && tick - m_lastTick < kCycleMs && !m_jamo.empty() &&
                           !m_jamo.back().vowel && m_jamo.back().key == key;
        if (again)
            m_jamo.back().cycle = (m_jamo.back().cycle + 1) % int(std::char_traits<char16_t>::length(letters));
        else
            m_jamo.push_back(Jamo{false, key, 0, std::string()});
    } else {
        return ComposeResult{};
    }
    m_lastKey = key;
    m_lastTick = tick;
    return Settle(true);
}

char16_t KeypadComposer::Consonant(const Jamo& j) const { return HangulConsonants(j.key)[j.cycle]; }

std::vector<KeypadComposer::Syllable> KeypadComposer::Split() const
{
    std::vector<Syllable> out;
    const size_t n = m_jamo.size();
    auto vowelAt = [&](size_t i) { return i < n && m_jamo[i].vowel; };
    auto consonantAt = [&](size_t i) { return i < n && !m_jamo[i].vowel; };
    for (size_t i = 0; i < n;) {
        Syllable s;
        if (!m_jamo[i].vowel) {
            s.initial = int(i++);
            if (!vowelAt(i)) {
                s.end = i;
                out.push_back(s);
                continue;
            }
        }
        s.vowel = int(i++);
        // A consonant after a real vowel closes the syllable, unless a vowel follows and takes it.
        if (s.initial >= 0 && RealVowel(VowelOf(m_jamo[size_t(s.vowel)].strokes)) && consonantAt(i) && !vowelAt(i + 1) &&
            FinalJamo(Consonant(m_jamo[i])) != 0) {
            s.final1 = int(i++);
            if (consonantAt(i) && !vowelAt(i + 1) &&
                FinalCluster(Consonant(m_jamo[size_t(s.final1)]), Consonant(m_jamo[i])) != 0)
                s.final2 = int(i++);
        }
        s.end = i;
        out.push_back(s);
    }
    return out;
}

std::u16string KeypadComposer::Render(const Syllable& s) const
{
    std::u16string text;
    const char16_t initial = s.initial >= 0 ? Consonant(m_jamo[size_t(s.initial)]) : 0;
    const char16_t vowel = s.vowel >= 0 ? VowelOf(m_jamo[size_t(s.vowel)].strokes) : 0;
    if (initial != 0 && RealVowel(vowel)) {
        char16_t final = 0;
        if (s.final1 >= 0) {
            final = Consonant(m_jamo[size_t(s.final1)]);
            if (s.final2 >= 0)
                final = FinalCluster(final, Consonant(m_jamo[size_t(s.final2)]));
        }
        const ucschar syllable =
            hangul_jamo_to_syllable(InitialJamo(initial), VowelJamo(vowel), final ? FinalJamo(final) : 0);
        if (syllable != 0)
            return std::u16string(1, char16_t(syllable));
    }
    // A consonant alone, a vowel alone, or a consonant with strokes that are no vowel yet: shown as they are.
    if (initial != 0)
        text += initial;
    if (vowel != 0)
        text += vowel;
    return text;
}

ComposeResult KeypadComposer::Settle(bool consumed)
{
    ComposeResult result;
    result.consumed = consumed;
    std::vector<Syllable> syllables = Split();
    if (syllables.size() > 1) {
        for (size_t i = 0; i + 1 < syllables.size(); ++i)
            result.committed += Render(syllables[i]);
        const size_t finished = syllables[syllables.size() - 2].end;
        m_jamo.erase(m_jamo.begin(), m_jamo.begin() + std::ptrdiff_t(finished));
        Syllable last = syllables.back();
        auto shift = [finished](int& index) {
            if (index >= 0)
                index -= int(finished);
        };
        shift(last.initial);
        shift(last.vowel);
        shift(last.final1);
        shift(last.final2);
        m_composing = Render(last);
    } else {
        m_composing = syllables.empty() ? std::u16string() : Render(syllables.front());
    }
    result.composing = m_composing;
    return result;
}

ComposeResult KeypadComposer::Backspace()
{
    m_lastKey = 0;
    if (m_letterKey != 0) {
        m_letterKey = 0;
        m_composing.clear();
        return ComposeResult{true, std::u16string(), std::u16string()};
    }
    if (m_jamo.empty())
        return ComposeResult{};
    Jamo& last = m_jamo.back();
    if (last.vowel && last.strokes.size() > 1)
        last.strokes.pop_back();
    else
        m_jamo.pop_back();
    return Settle(true);
}

std::u16string KeypadComposer::Complete()
{
    std::u16string done;
    for (const Syllable& s : Split())
        done += Render(s);
    if (m_letterKey != 0)
        done += m_composing;
    Cancel();
    return done;
}

void KeypadComposer::Cancel()
{
    m_jamo.clear();
    m_letterKey = 0;
    m_letterCycle = 0;
    m_lastKey = 0;
    m_composing.clear();
}

} // namespace cehost::imm
