// The input method through the real queue: keys become VK_PROCESSKEY, the composition messages arrive in
// order, DefWindowProc turns results into WM_IME_CHAR and WM_CHAR, and nothing typed is lost; and the dubeolsik
// engine beneath it, key by key.
#include "ControlTest.h"
#include "imm/HangulComposer.h"

#include <cehost/sim/imm.h>
#include <imm.h>

#include <algorithm>

using cehost::imm::HangulComposer;
using lxtest::LoggedMessage;

namespace {

// One key of a script: a layout letter (upper case with Shift), '<' for Backspace, '!' for complete and '~'
// for cancel (the engine alone), or a key the layout does not know. After it, all text committed so far and
// the composition must be as given.
struct Step {
    char key;
    const char16_t* committed;
    const char16_t* composing;
};

class Ime : public ControlTest {
protected:
    void SetUp() override {
        MakeParent(u"ImeTestWindow");
        other = Child(u"ImeTestWindow", u"", 0, {0, 0, 10, 10});
        SetFocus(parent);
        cehost::sim::RunUntilIdle();
        parentLog.Clear();
        parentLog.Watch(other);
        himc = ImmGetContext(parent);
    }
    void TearDown() override {
        ImmReleaseContext(parent, himc);
        ControlTest::TearDown();
    }

    std::u16string Composing() {
        char16_t buffer[8] = {};
        LONG bytes = ImmGetCompositionStringW(himc, GCS_COMPSTR, buffer, sizeof buffer);
        return std::u16string(buffer, bytes > 0 ? static_cast<size_t>(bytes) / 2 : 0);
    }
    std::u16string Typed(HWND target) {
        std::u16string text;
        for (const LoggedMessage& s : parentLog.Entries())
            if (s.hwnd == target && s.message == WM_CHAR) text.push_back(static_cast<char16_t>(s.wParam));
        return text;
    }
    // The messages among `interesting`, in order.
    std::vector<LoggedMessage> Only(std::initializer_list<UINT> interesting) const {
        std::vector<LoggedMessage> out;
        for (const LoggedMessage& s : parentLog.Entries())
            if (std::find(interesting.begin(), interesting.end(), s.message) != interesting.end()) out.push_back(s);
        return out;
    }
    static std::vector<UINT> Messages(const std::vector<LoggedMessage>& seen) {
        std::vector<UINT> out;
        for (const LoggedMessage& s : seen) out.push_back(s.message);
        return out;
    }

    HWND other = nullptr;
    HIMC himc = nullptr;
};

} // namespace

// A final that moves on to the next syllable, Shift for a double consonant, a key outside the layout.
TEST_F(Ime, KeysGiveCommittedAndComposingText) {
    const Step script[] = {{'r', u"", u"ㄱ"}, {'k', u"", u"가"}, {'R', u"", u"갂"}, {'h', u"가", u"꼬"},
                           {'1', u"가꼬1", u""}};
    ImmSetOpenStatus(himc, TRUE);
    for (const Step& step : script) {
        Type(std::string(1, step.key).c_str());
        EXPECT_EQ(Typed(parent), std::u16string(step.committed)) << step.key;
        EXPECT_EQ(Composing(), std::u16string(step.composing)) << step.key;
    }
}

TEST_F(Ime, SyllableFinishedByTheNextKeyComesInOneMessage) {
    ImmSetOpenStatus(himc, TRUE);
    Type("rkr");
    parentLog.Clear();
    Type("k");
    auto seen = Only({WM_KEYDOWN, WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION, WM_IME_ENDCOMPOSITION,
                          WM_IME_CHAR, WM_CHAR});
    ASSERT_EQ(Messages(seen), (std::vector<UINT>{WM_IME_COMPOSITION, WM_IME_CHAR, WM_KEYDOWN, WM_CHAR}));
    EXPECT_EQ(seen[0].lParam & (GCS_RESULTSTR | GCS_COMPSTR), LPARAM(GCS_RESULTSTR | GCS_COMPSTR));
    EXPECT_EQ(seen[0].wParam, WPARAM(u'가'));
    EXPECT_EQ(seen[1].wParam, WPARAM(u'가'));
    EXPECT_EQ(seen[2].wParam, WPARAM(VK_PROCESSKEY));
    EXPECT_EQ(ImmGetVirtualKey(parent), UINT('K'));
    EXPECT_EQ(ImmGetCompositionStringW(himc, GCS_RESULTSTR, nullptr, 0), 2);
}

TEST_F(Ime, FirstKeyStartsTheCompositionAndBackspaceEndsIt) {
    ImmSetOpenStatus(himc, TRUE);
    Type("r");
    auto seen = Only({WM_KEYDOWN, WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION, WM_IME_ENDCOMPOSITION});
    ASSERT_EQ(Messages(seen), (std::vector<UINT>{WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION, WM_KEYDOWN}));
    EXPECT_EQ(seen[1].lParam, LPARAM(GCS_COMPSTR | GCS_COMPATTR | CS_INSERTCHAR | CS_NOMOVECARET));
    EXPECT_EQ(seen[2].wParam, WPARAM(VK_PROCESSKEY));
    // Composition string sizes are in bytes.
    EXPECT_EQ(ImmGetCompositionStringW(himc, GCS_COMPSTR, nullptr, 0), 2);
    char16_t one[1];
    EXPECT_EQ(ImmGetCompositionStringW(himc, GCS_COMPSTR, one, 2), 2);
    EXPECT_EQ(one[0], u'ㄱ');
    EXPECT_EQ(ImmGetCompositionStringW(himc, GCS_COMPATTR, nullptr, 0), 1);
    EXPECT_EQ(ImmGetCompositionStringW(nullptr, GCS_COMPSTR, nullptr, 0), IMM_ERROR_GENERAL);
    EXPECT_EQ(ImmGetContext(nullptr), nullptr);
    parentLog.Clear();
    Type("<");
    seen = Only({WM_KEYDOWN, WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION, WM_IME_ENDCOMPOSITION, WM_CHAR});
    ASSERT_EQ(Messages(seen), (std::vector<UINT>{WM_IME_COMPOSITION, WM_IME_ENDCOMPOSITION, WM_KEYDOWN}));
    EXPECT_EQ(seen[2].wParam, WPARAM(VK_PROCESSKEY));
    // With nothing composing Backspace is an ordinary key again.
    parentLog.Clear();
    Type("<");
    seen = Only({WM_KEYDOWN, WM_CHAR});
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].wParam, WPARAM(VK_BACK));
    EXPECT_EQ(seen[1].wParam, WPARAM(8));
}

TEST_F(Ime, ToggleKeySwitchesTheMethodAndIsConfigurable) {
    EXPECT_FALSE(ImmGetOpenStatus(himc));
    Type("r");
    EXPECT_EQ(Typed(parent), u"r");
    Key(VK_HANGUL);
    EXPECT_TRUE(ImmGetOpenStatus(himc));
    const auto notes = Only({WM_IME_NOTIFY});
    ASSERT_EQ(notes.size(), 1u) << "the window hears of the switch";
    EXPECT_EQ(notes[0].wParam, WPARAM(IMN_SETOPENSTATUS));
    Type("r");
    EXPECT_EQ(Composing(), u"ㄱ");
    // Another toggle key; switching off finishes the syllable.
    CehostSetImeToggleKey(VK_F5);
    Key(VK_F5);
    EXPECT_FALSE(ImmGetOpenStatus(himc));
    EXPECT_EQ(Typed(parent), u"rㄱ");
    EXPECT_EQ(Composing(), u"");
    Key(VK_HANGUL);
    EXPECT_FALSE(ImmGetOpenStatus(himc));
}

TEST_F(Ime, FocusChangeCompletesIntoTheOldWindow) {
    ImmSetOpenStatus(himc, TRUE);
    Type("dk");
    SetFocus(other);
    cehost::sim::RunUntilIdle();
    EXPECT_EQ(Typed(parent), u"아");
    EXPECT_EQ(Typed(other), u"");
    EXPECT_EQ(Composing(), u"");
    auto seen = Only({WM_IME_ENDCOMPOSITION, WM_KILLFOCUS});
    EXPECT_EQ(Messages(seen), (std::vector<UINT>{WM_IME_ENDCOMPOSITION, WM_KILLFOCUS}));
}

TEST_F(Ime, NotifyCompletesOrCancels) {
    ImmSetOpenStatus(himc, TRUE);
    Type("rk");
    EXPECT_TRUE(ImmNotifyIME(himc, NI_COMPOSITIONSTR, CPS_COMPLETE, 0));
    cehost::sim::RunUntilIdle();
    EXPECT_EQ(Typed(parent), u"가");
    Type("s");
    parentLog.Clear();
    EXPECT_TRUE(ImmNotifyIME(himc, NI_COMPOSITIONSTR, CPS_CANCEL, 0));
    cehost::sim::RunUntilIdle();
    auto seen = Only({WM_IME_COMPOSITION, WM_IME_ENDCOMPOSITION, WM_CHAR});
    ASSERT_EQ(Messages(seen), (std::vector<UINT>{WM_IME_COMPOSITION, WM_IME_ENDCOMPOSITION}));
    EXPECT_EQ(seen[0].lParam, 0);
    EXPECT_FALSE(ImmNotifyIME(himc, 0, CPS_COMPLETE, 0));
}

// The jamo automaton itself (clusters, double vowels, splitting before a vowel) is the hangul library's; these
// scripts check what the engine makes of it: what is final, what still composes, and the keys it takes.
TEST(HangulComposer, KeyScripts) {
    const std::pair<const char*, std::vector<Step>> scripts[] = {
        {"final consonant moves to the next syllable",
         {{'r', u"", u"ㄱ"}, {'k', u"", u"가"}, {'r', u"", u"각"}, {'k', u"가", u"가"}}},
        {"lone vowel then consonant", {{'k', u"", u"ㅏ"}, {'r', u"ㅏ", u"ㄱ"}}},
        {"shift letters", {{'R', u"", u"ㄲ"}, {'O', u"", u"꺠"}, {'T', u"", u"꺴"}}},
        {"backspace removes one jamo",
         {{'r', u"", u"ㄱ"}, {'k', u"", u"가"}, {'r', u"", u"각"}, {'<', u"", u"가"}, {'<', u"", u"ㄱ"},
          {'<', u"", u""}}},
        {"backspace after a split touches only the new syllable",
         {{'r', u"", u"ㄱ"}, {'k', u"", u"가"}, {'r', u"", u"각"}, {'k', u"가", u"가"}, {'<', u"가", u"ㄱ"},
          {'<', u"가", u""}}},
        {"complete and cancel", {{'r', u"", u"ㄱ"}, {'k', u"", u"가"}, {'!', u"가", u""}, {'s', u"가", u"ㄴ"},
                                 {'~', u"가", u""}, {'!', u"가", u""}}},
        {"non-layout key finishes the syllable", {{'r', u"", u"ㄱ"}, {'k', u"", u"가"}, {'1', u"가", u""},
                                                  {'1', u"가", u""}, {'k', u"가", u"ㅏ"}}},
    };
    for (const auto& [name, steps] : scripts) {
        HangulComposer composer;
        std::u16string committed;
        for (size_t i = 0; i < steps.size(); ++i) {
            SCOPED_TRACE(std::string(name) + ", step " + std::to_string(i));
            const char key = steps[i].key;
            if (key == '<') composer.Backspace();
            if (key == '!') committed += composer.Complete();
            if (key == '~') composer.Cancel();
            if (key != '<' && key != '!' && key != '~') {
                const auto result = composer.Key(key);
                EXPECT_EQ(result.consumed, HangulComposer::IsLayoutKey(key));
                EXPECT_EQ(result.composing, composer.Composing());
                committed += result.committed;
            }
            EXPECT_EQ(committed, std::u16string(steps[i].committed));
            EXPECT_EQ(composer.Composing(), std::u16string(steps[i].composing));
        }
    }
}

TEST(HangulComposer, BackspaceWithNothingComposingIsNotConsumedAndUtf16KeepsAstralCharacters) {
    HangulComposer composer;
    EXPECT_FALSE(composer.Backspace().consumed);
    composer.Key('r');
    EXPECT_TRUE(composer.Backspace().consumed);
    EXPECT_FALSE(composer.IsComposing());
    EXPECT_FALSE(composer.Backspace().consumed);
    const unsigned int text[] = {0x41, 0xAC00, 0x1F600, 0};
    EXPECT_EQ(cehost::imm::Utf16FromUcs4(text), std::u16string(u"A가\U0001F600"));
    EXPECT_EQ(cehost::imm::Utf16FromUcs4(nullptr), std::u16string());
}
