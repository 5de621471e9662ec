// The input method through the real queue: keys become VK_PROCESSKEY, the composition messages arrive in
// order, DefWindowProc turns results into WM_IME_CHAR and WM_CHAR, and nothing typed is lost.
#include "MessageLog.h"
#include "QueueInput.h"
#include "TopWindow.h"

#include <cehost/sim/imm.h>
#include <imm.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

using lxtest::LoggedMessage;
using lxtest::Stroke;

namespace {

class Ime : public ::testing::Test {
protected:
    void SetUp() override {
        window = MakeTopWindow(u"ImeTestWindow", DefWindowProcW);
        ASSERT_NE(window, nullptr);
        other = CreateWindowExW(0, u"ImeTestWindow", u"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, window, nullptr,
                                nullptr, nullptr);
        SetFocus(window);
        cehost::sim::RunUntilIdle();
        log.Watch(window);
        log.Watch(other);
        himc = ImmGetContext(window);
    }
    void TearDown() override {
        ImmReleaseContext(window, himc);
        DestroyWindow(window);
    }

    void Open(bool on) { ImmSetOpenStatus(himc, on ? TRUE : FALSE); }

    std::u16string Composing() {
        char16_t buffer[8] = {};
        LONG bytes = ImmGetCompositionStringW(himc, GCS_COMPSTR, buffer, sizeof buffer);
        return std::u16string(buffer, bytes > 0 ? static_cast<size_t>(bytes) / 2 : 0);
    }

    std::u16string Typed(HWND target) {
        std::u16string text;
        for (const LoggedMessage& s : log.Entries())
            if (s.hwnd == target && s.message == WM_CHAR) text.push_back(static_cast<char16_t>(s.wParam));
        return text;
    }

    // The messages among `interesting`, in order.
    std::vector<LoggedMessage> Only(std::initializer_list<UINT> interesting) const {
        std::vector<LoggedMessage> out;
        for (const LoggedMessage& s : log.Entries())
            if (std::find(interesting.begin(), interesting.end(), s.message) != interesting.end()) out.push_back(s);
        return out;
    }

    static std::vector<UINT> Messages(const std::vector<LoggedMessage>& seen) {
        std::vector<UINT> out;
        for (const LoggedMessage& s : seen) out.push_back(s.message);
        return out;
    }

    void Keys(const char* keys) {
        for (; *keys; ++keys) Key(*keys);
    }
    void Key(char key) {
        bool shift = key >= 'A' && key <= 'Z';
        BYTE vk = static_cast<BYTE>(shift ? key : (key >= 'a' && key <= 'z' ? key - 'a' + 'A' : key));
        if (key == '<') vk = VK_BACK;
        if (shift) keybd_event(VK_SHIFT, 0, 0, 0);
        Stroke(vk);
        if (shift) keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
        cehost::sim::RunUntilIdle();
    }

    HWND window = nullptr;
    HWND other = nullptr;
    HIMC himc = nullptr;
    lxtest::MessageLog log;
};

struct Step {
    char key; // a layout letter (upper case = with Shift), '<' Backspace, or a digit
    const char16_t* committed;
    const char16_t* composing;
};

} // namespace

// A final that moves on to the next syllable, Shift for a double consonant, a key outside the layout.
TEST_F(Ime, KeysGiveCommittedAndComposingText) {
    const Step script[] = {{'r', u"", u"ㄱ"}, {'k', u"", u"가"}, {'R', u"", u"갂"}, {'h', u"가", u"꼬"},
                           {'1', u"가꼬1", u""}};
    Open(true);
    for (const Step& step : script) {
        Key(step.key);
        EXPECT_EQ(Typed(window), std::u16string(step.committed)) << step.key;
        EXPECT_EQ(Composing(), std::u16string(step.composing)) << step.key;
    }
}

TEST_F(Ime, SyllableFinishedByTheNextKeyComesInOneMessage) {
    Open(true);
    Keys("rkr");
    log.Clear();
    Key('k');
    auto seen = Only({WM_KEYDOWN, WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION, WM_IME_ENDCOMPOSITION,
                          WM_IME_CHAR, WM_CHAR});
    ASSERT_EQ(Messages(seen), (std::vector<UINT>{WM_IME_COMPOSITION, WM_IME_CHAR, WM_KEYDOWN, WM_CHAR}));
    EXPECT_EQ(seen[0].lParam & (GCS_RESULTSTR | GCS_COMPSTR), LPARAM(GCS_RESULTSTR | GCS_COMPSTR));
    EXPECT_EQ(seen[0].wParam, WPARAM(u'가'));
    EXPECT_EQ(seen[1].wParam, WPARAM(u'가'));
    EXPECT_EQ(seen[2].wParam, WPARAM(VK_PROCESSKEY));
    EXPECT_EQ(ImmGetVirtualKey(window), UINT('K'));
    EXPECT_EQ(ImmGetCompositionStringW(himc, GCS_RESULTSTR, nullptr, 0), 2);
}

TEST_F(Ime, FirstKeyStartsTheCompositionAndBackspaceEndsIt) {
    Open(true);
    Key('r');
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
    log.Clear();
    Key('<');
    seen = Only({WM_KEYDOWN, WM_IME_STARTCOMPOSITION, WM_IME_COMPOSITION, WM_IME_ENDCOMPOSITION, WM_CHAR});
    ASSERT_EQ(Messages(seen), (std::vector<UINT>{WM_IME_COMPOSITION, WM_IME_ENDCOMPOSITION, WM_KEYDOWN}));
    EXPECT_EQ(seen[2].wParam, WPARAM(VK_PROCESSKEY));
    // With nothing composing Backspace is an ordinary key again.
    log.Clear();
    Key('<');
    seen = Only({WM_KEYDOWN, WM_CHAR});
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].wParam, WPARAM(VK_BACK));
    EXPECT_EQ(seen[1].wParam, WPARAM(8));
}

TEST_F(Ime, ToggleKeySwitchesTheMethodAndIsConfigurable) {
    EXPECT_FALSE(ImmGetOpenStatus(himc));
    Key('r');
    EXPECT_EQ(Typed(window), u"r");
    Stroke(VK_HANGUL);
    cehost::sim::RunUntilIdle();
    EXPECT_TRUE(ImmGetOpenStatus(himc));
    const auto notes = Only({WM_IME_NOTIFY});
    ASSERT_EQ(notes.size(), 1u) << "the window hears of the switch";
    EXPECT_EQ(notes[0].wParam, WPARAM(IMN_SETOPENSTATUS));
    Key('r');
    EXPECT_EQ(Composing(), u"ㄱ");
    // Another toggle key; switching off finishes the syllable.
    CehostSetImeToggleKey(VK_F5);
    Stroke(VK_F5);
    cehost::sim::RunUntilIdle();
    EXPECT_FALSE(ImmGetOpenStatus(himc));
    EXPECT_EQ(Typed(window), u"rㄱ");
    EXPECT_EQ(Composing(), u"");
    Stroke(VK_HANGUL);
    cehost::sim::RunUntilIdle();
    EXPECT_FALSE(ImmGetOpenStatus(himc));
}

TEST_F(Ime, FocusChangeCompletesIntoTheOldWindow) {
    Open(true);
    Keys("dk");
    SetFocus(other);
    cehost::sim::RunUntilIdle();
    EXPECT_EQ(Typed(window), u"아");
    EXPECT_EQ(Typed(other), u"");
    EXPECT_EQ(Composing(), u"");
    auto seen = Only({WM_IME_ENDCOMPOSITION, WM_KILLFOCUS});
    EXPECT_EQ(Messages(seen), (std::vector<UINT>{WM_IME_ENDCOMPOSITION, WM_KILLFOCUS}));
}

TEST_F(Ime, NotifyCompletesOrCancels) {
    Open(true);
    Keys("rk");
    EXPECT_TRUE(ImmNotifyIME(himc, NI_COMPOSITIONSTR, CPS_COMPLETE, 0));
    cehost::sim::RunUntilIdle();
    EXPECT_EQ(Typed(window), u"가");
    Key('s');
    log.Clear();
    EXPECT_TRUE(ImmNotifyIME(himc, NI_COMPOSITIONSTR, CPS_CANCEL, 0));
    cehost::sim::RunUntilIdle();
    auto seen = Only({WM_IME_COMPOSITION, WM_IME_ENDCOMPOSITION, WM_CHAR});
    ASSERT_EQ(Messages(seen), (std::vector<UINT>{WM_IME_COMPOSITION, WM_IME_ENDCOMPOSITION}));
    EXPECT_EQ(seen[0].lParam, 0);
    EXPECT_FALSE(ImmNotifyIME(himc, 0, CPS_COMPLETE, 0));
}

