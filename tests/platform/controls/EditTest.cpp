// The edit control's notifications, limits, line queries, colours and the composition shown at the caret.
// (The notification codes of typing, focus changes and WM_SETTEXT on a single-line edit, and the selection
// messages, are pinned by the conformance edit case.)
#include "ControlTest.h"

#include <imm.h>

#include <tuple>

namespace {

constexpr int kEditId = 7;

class Edit : public ControlTest {
protected:
    void SetUp() override { MakeParent(u"EditParent"); }
    HWND Make(DWORD style, const WCHAR* text = u"") {
        HWND edit = Child(u"EDIT", text, style, {0, 0, 120, 60}, kEditId);
        SetFocus(edit);
        cehost::sim::RunUntilIdle();
        parentLog.Clear();
        return edit;
    }
    LRESULT Send(HWND edit, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageW(edit, message, wParam, lParam);
    }
};

} // namespace

// Typing marks the text modified and WM_SETTEXT clears the mark and puts the caret first; Left on a selection
// collapses it at its start; a multi-line edit tells nothing of WM_SETTEXT.
TEST_F(Edit, ModificationCaretAndMultiLineSetText) {
    HWND edit = Make(0);
    Type("ab");
    EXPECT_TRUE(Send(edit, EM_GETMODIFY));
    SetWindowTextW(edit, u"hello");
    EXPECT_EQ(Send(edit, EM_GETSEL), MAKELONG(0, 0));
    EXPECT_FALSE(Send(edit, EM_GETMODIFY));
    Send(edit, EM_SETSEL, 5, 2);
    Key(VK_LEFT);
    EXPECT_EQ(Send(edit, EM_GETSEL), MAKELONG(2, 2));
    HWND multi = Make(ES_MULTILINE);
    SetWindowTextW(multi, u"hello");
    EXPECT_TRUE(Notifications(kEditId).empty());
}

TEST_F(Edit, LimitsFollowCeAndStopTypingWithMaxText) {
    HWND single = Make(0);
    EXPECT_EQ(Send(single, EM_GETLIMITTEXT), 30000);
    HWND multi = Make(ES_MULTILINE);
    const std::tuple<HWND, WPARAM, LRESULT> limits[] = {{single, 0, 0x7FFE}, {single, 100000, 0x7FFE}, {multi, 0, 0xFFFF}};
    for (const auto& [edit, asked, limit] : limits) {
        Send(edit, EM_LIMITTEXT, asked);
        EXPECT_EQ(Send(edit, EM_GETLIMITTEXT), limit) << asked;
    }
    Send(single, EM_LIMITTEXT, 3);
    SetFocus(single);
    SetWindowTextW(single, u"abcdef");
    EXPECT_EQ(Text(single), u"abcdef") << "the limit does not apply to WM_SETTEXT";
    SetWindowTextW(single, u"ab");
    Send(single, EM_SETSEL, 2, 2);
    parentLog.Clear();
    Type("cd");
    EXPECT_EQ(Text(single), u"abc");
    EXPECT_EQ(Notifications(kEditId), (std::vector<WORD>{EN_UPDATE, EN_CHANGE, EN_MAXTEXT}));
    Send(single, EM_SETSEL, 0, -1);
    Send(single, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u"wxyz"));
    EXPECT_EQ(Text(single), u"wxy");
}

TEST_F(Edit, MultiLineLinesAndWrapping) {
    HWND edit = Make(ES_MULTILINE, u"one\r\ntwo\r\n\r\nfour");
    const std::tuple<UINT, WPARAM, LRESULT> queries[] = {
        {EM_GETLINECOUNT, 0, 4}, {EM_LINEINDEX, 1, 5}, {EM_LINEINDEX, 3, 12}, {EM_LINEINDEX, 4, -1}, {EM_LINEFROMCHAR, 6, 1}};
    for (const auto& [message, wParam, result] : queries) EXPECT_EQ(Send(edit, message, wParam), result) << wParam;
    Send(edit, EM_SETSEL, 13, 13);
    EXPECT_EQ(Send(edit, EM_LINEINDEX, static_cast<WPARAM>(-1)), 12);
    EXPECT_EQ(Send(edit, EM_LINELENGTH, 5), 3);
    Key(VK_UP);
    EXPECT_EQ(Send(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(-1)), 2);
    SetWindowTextW(edit, u"");
    EXPECT_EQ(Send(edit, EM_GETLINECOUNT), 1);
    // Words and spaces wrap into several lines, each starting after a space.
    SetWindowTextW(edit, u"aaa bbb ccc ddd eee fff ggg hhh iii jjj kkk lll mmm nnn");
    LRESULT lines = Send(edit, EM_GETLINECOUNT);
    EXPECT_GT(lines, 1);
    const std::u16string text = Text(edit);
    for (LRESULT i = 1; i < lines; ++i)
        EXPECT_EQ(text[Send(edit, EM_LINEINDEX, WPARAM(i)) - 1], u' ') << "line " << i << " starts inside a word";
    Send(edit, EM_SETSEL, 0, 0);
    Key(VK_RETURN);
    EXPECT_EQ(Text(edit).substr(0, 5), u"\r\naaa") << "Return in a multi-line edit breaks the line";
}

TEST_F(Edit, ReadOnlyAsksForStaticColoursAndIgnoresTypingNumberTakesDigits) {
    HWND edit = Make(0, u"x");
    InvalidateRect(edit, nullptr, TRUE);
    UpdateWindow(edit);
    EXPECT_GT(parentLog.Count(WM_CTLCOLOREDIT), 0);
    EXPECT_EQ(parentLog.Count(WM_CTLCOLORSTATIC), 0);
    parentLog.Clear();
    Send(edit, EM_SETREADONLY, TRUE);
    UpdateWindow(edit);
    EXPECT_GT(parentLog.Count(WM_CTLCOLORSTATIC), 0);
    EXPECT_EQ(parentLog.Count(WM_CTLCOLOREDIT), 0);
    Type("ab<");
    EXPECT_EQ(Text(edit), u"x");
    HWND number = Make(ES_NUMBER);
    Type("a1b29");
    EXPECT_EQ(Text(number), u"129");
}

TEST_F(Edit, CompositionIsShownButNotTextUntilFinished) {
    HWND edit = Make(0, u"ab");
    Send(edit, EM_SETSEL, 2, 2);
    HIMC himc = ImmGetContext(edit);
    ImmSetOpenStatus(himc, TRUE);
    Type("rk");
    EXPECT_EQ(Text(edit), u"ab");
    EXPECT_EQ(ImmGetCompositionStringW(himc, GCS_COMPSTR, nullptr, 0), 2);
    Type("sk");
    EXPECT_EQ(Text(edit), u"ab가");
    // Another key finishes the syllable before it acts: the caret moves from behind the finished text.
    Key(VK_LEFT);
    EXPECT_EQ(Text(edit), u"ab가나");
    EXPECT_EQ(Send(edit, EM_GETSEL), MAKELONG(3, 3));
    // A selection is replaced by the syllable being started.
    Send(edit, EM_SETSEL, 0, 2);
    Type("s");
    EXPECT_EQ(Text(edit), u"가나");
    ImmNotifyIME(himc, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
    cehost::sim::RunUntilIdle();
    EXPECT_EQ(Text(edit), u"ㄴ가나");
    ImmReleaseContext(edit, himc);
}
