// 12-key text input through the real queue: keypad key sequences and the text they leave in an edit, for
// multi-tap Latin, the vowel-stroke Korean method and the digit mode, and the library's edit at its byte limit.
//
// Sequences: digits, '*' (VK_F8) and '#' (VK_F9) are keypad keys, '<' Backspace, '>' the right arrow, '_' a
// pause of 1.1 seconds; spaces only group the keys for the reader. Every key is held 20 ms of virtual time.
#include <cehost/sim.h>
#include <imm.h>

#include "ControlsTestSupport.h"
#include "LxEditCtrl.h"

using lxtest::Press;
using lxtest::Settle;
using lxtest::WindowText;

namespace {

void Play(const char* keys) {
    for (const char* k = keys; *k; ++k) {
        switch (*k) {
        case ' ': break;
        case '_': cehost::sim::RunFor(1100); break;
        case '<': Press(VK_BACK); break;
        case '>': Press(VK_RIGHT); break;
        case '*': Press(VK_F8); break;
        case '#': Press(VK_F9); break;
        default: Press(BYTE(*k)); break;
        }
    }
}

std::u16string Composing(HWND hwnd) {
    HIMC himc = ImmGetContext(hwnd);
    WCHAR buffer[8] = {};
    const LONG bytes = ImmGetCompositionStringW(himc, GCS_COMPSTR, buffer, sizeof buffer);
    ImmReleaseContext(hwnd, himc);
    return std::u16string(buffer, bytes > 0 ? size_t(bytes) / 2 : 0);
}

// What an edit shows: its text, a bar, and what is being composed.
std::u16string Shown(HWND hwnd) { return WindowText(hwnd) + u"|" + Composing(hwnd); }

// A plain system edit with the focus, keypad input on and in its first mode (한).
struct KeypadEdit {
    HWND top = nullptr, edit = nullptr;
    KeypadEdit() {
        cehost::sim::SetVirtualTime(true);
        top = CreateWindowExW(0, u"STATIC", u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr,
                              nullptr);
        edit = CreateWindowExW(0, u"EDIT", u"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 40, 220, 24, top, nullptr,
                               nullptr, nullptr);
        SetFocus(edit);
        Reset();
    }
    ~KeypadEdit() { DestroyWindow(top); }
    void Reset() {
        cehost::sim::SetKeypadInput(false);
        SetWindowTextW(edit, u"");
        cehost::sim::SetKeypadInput(true);
        Settle();
    }
};

struct Sequence {
    const char* keys;
    const char16_t* text;
};

TEST(KeypadInput, SequencesTypeTheirText) {
    const Sequence table[] = {
        // Multi-tap Latin: # once for capitals, twice for small letters; a letter waits for its key to come
        // again, so two letters on one key need a pause (or the clock commits the first).
        {"##44 33 555_555 666*", u"hello"},
        {"#8 44 33*", u"THE"},
        {"##44_444 0 1111*", u"hi !"},
        {"##2_", u"a"},
        {"##2_2_22*", u"aab"},
        {"##9999_9*", u"zw"},
        // Korean: strokes ㅣ ㆍ ㅡ build the vowels, consonant keys cycle, finals move on before a vowel.
        {"88 12 5 4 3 55*", u"한글"},
        {"4 12 5 12*", u"가나"},
        {"444 12 99 1*", u"까치"},
        {"6 12 55 4*", u"닭"},
        {"01 55 4 1*", u"일기"},
        {"5211 4121*", u"네개"},
        {"0122 0221 0223 0322*", u"야여요유"},
        {"4231 031 02312 1*", u"괴의왜"},
        {"02312 03221 032211*", u"와워웨"},
        {"4 12 44 12*", u"가카"},
        {"4 12 4_4 12*", u"각가"},
        {"4 12 > 4 12*", u"가가"},
        {"4 122 < 5 <*", u"가"},
        {"4 2 2 1*", u"겨"},
        {"4 5*", u"ㄱㄴ"},
        // Digits type themselves; # goes round to Korean again, finishing what was being composed.
        {"###42*", u"42*"},
        {"88 12 5 # 8 44 33*", u"한THE"},
        {"###7#4 12*", u"7가"},
        {"##2 #", u"a"},
    };
    KeypadEdit screen;
    for (const Sequence& row : table) {
        screen.Reset();
        Play(row.keys);
        EXPECT_EQ(Shown(screen.edit), row.text + std::u16string(u"|")) << row.keys;
    }
}

// Korean keeping its syllable open past the cycle time is pinned by the notebook's keypad script.
TEST(KeypadInput, ThePendingLetterIsTheCompositionUntilTheClockCommitsIt) {
    KeypadEdit screen;
    Play("##22");
    EXPECT_EQ(Shown(screen.edit), u"|b");
    cehost::sim::RunFor(960); // the last press was 20 ms before Play returned
    EXPECT_EQ(Shown(screen.edit), u"|b") << "still within the cycle time of the last press";
    cehost::sim::RunFor(40);
    EXPECT_EQ(Shown(screen.edit), u"b|");
    DWORD due = 0;
    EXPECT_FALSE(cehost::sim::NextTimerDue(&due)) << "no timer stays behind once the letter is committed";
}

TEST(KeypadInput, KeysPassWhereNoTextGoesAndWithPcInput) {
    KeypadEdit screen;
    HWND readOnly = CreateWindowExW(0, u"EDIT", u"", WS_CHILD | WS_VISIBLE | ES_READONLY, 10, 80, 220, 24, screen.top,
                                    nullptr, nullptr, nullptr);
    SetFocus(readOnly);
    Play("4 12");
    EXPECT_EQ(Shown(readOnly), u"|");
    EXPECT_EQ(cehost::sim::InputModeLabel(), u"");
    SetFocus(screen.edit);
    cehost::sim::SetKeypadInput(false);
    Play("4 2");
    EXPECT_EQ(WindowText(screen.edit), u"42") << "the PC keyboard's digits are digits";
}

// The library's edit counts double-byte characters as two bytes and refuses input past its limit; the
// composition of a keypad method (a cycling letter, a syllable that moves its final on) must not get past it.
TEST(KeypadInput, TheLibrarysEditKeepsItsByteLimit) {
    struct Row {
        const char16_t* before;
        const char* keys;
        const char16_t* text;
        const char16_t* lastRefusal; // the guard's last debug line, where it matters
    } const table[] = {
        {u"abcdefghi", "##222*", u"abcdefghic", nullptr},
        {u"abcdefghi", "##2_2*", u"abcdefghia", nullptr},
        {u"abcdefgh", "4 12 5 12*", u"abcdefgh가", nullptr},
        {u"abcdefgh", "###123", u"abcdefgh12", nullptr},
        // A syllable committed with nothing composing after it is still a double-byte character arriving.
        {u"abcdefghi", "4 12*", u"abcdefghi", u"LxEditCtrl - IME - OVER INPUT 2 \n"},
        {u"abcdefghi", "4 12>", u"abcdefghi", u"LxEditCtrl - IME - OVER INPUT 2 \n"},
    };
    lxtest::Host host;
    ASSERT_TRUE(host.Start());
    LxEditCtrl edit;
    RECT rect{10, 60, 230, 90};
    ASSERT_NE(edit.CreateEdit(host.m_hWnd, GetModuleHandleW(nullptr), 42, &rect, 0), nullptr);
    edit.SetLimitText(10);
    for (const Row& row : table) {
        cehost::sim::SetKeypadInput(false);
        edit.SetText(const_cast<WCHAR*>(row.before));
        lxtest::Focus(edit);
        const UINT length = edit.GetLength();
        edit.SetSelect(length, length);
        cehost::sim::SetKeypadInput(true);
        cehost::sim::StartDebugCapture();
        Play(row.keys);
        WCHAR text[64] = {};
        edit.GetText(text);
        EXPECT_EQ(std::u16string(text), std::u16string(row.text)) << row.keys;
        EXPECT_LE(edit.GetLength(), 10u) << row.keys;
        if (row.lastRefusal != nullptr) {
            const std::u16string debug = cehost::sim::TakeDebugOutput();
            const size_t last = debug.rfind(u"LxEditCtrl - IME");
            EXPECT_EQ(last == std::u16string::npos ? u"" : debug.substr(last, debug.find(u'\n', last) + 1 - last),
                      std::u16string(row.lastRefusal))
                << row.keys;
        }
    }
}

} // namespace
