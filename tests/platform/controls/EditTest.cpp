// The edit control's notifications, limits, line queries, colours and the composition shown at the caret.
#include "Recorder.h"

#include <imm.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int kEditId = 7;

struct Parent {
    std::vector<WORD> codes;
    std::vector<UINT> colourQueries;
};
Parent* g_parent = nullptr;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == kEditId && g_parent)
        g_parent->codes.push_back(HIWORD(wParam));
    if ((message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC) && g_parent)
        g_parent->colourQueries.push_back(message);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class Edit : public ::testing::Test {
protected:
    void SetUp() override {
        g_parent = &parentLog;
        parent = MakeTopWindow(u"EditParent", ParentProc);
    }
    void TearDown() override {
        DestroyWindow(parent);
        g_parent = nullptr;
    }
    HWND Make(DWORD style, const WCHAR* text = u"") {
        HWND edit = CreateWindowExW(0, u"EDIT", text, WS_CHILD | WS_VISIBLE | style, 0, 0, 120, 60, parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), nullptr, nullptr);
        SetFocus(edit);
        cehost::sim::RunUntilIdle();
        parentLog.codes.clear();
        parentLog.colourQueries.clear();
        return edit;
    }
    std::u16string Text(HWND edit) {
        WCHAR buffer[256] = {};
        int n = GetWindowTextW(edit, buffer, 256);
        return std::u16string(buffer, buffer + n);
    }
    void Type(const char* keys) {
        for (const char* k = keys; *k; ++k) {
            BYTE vk = static_cast<BYTE>(*k >= 'a' && *k <= 'z' ? *k - 'a' + 'A' : *k);
            PressKey(*k == '<' ? VK_BACK : vk);
        }
        cehost::sim::RunUntilIdle();
    }

    Parent parentLog;
    HWND parent = nullptr;
};

} // namespace

// Typing notifies EN_UPDATE then EN_CHANGE; setting the text notifies only single-line controls; the focus
// moving between edits notifies EN_KILLFOCUS then EN_SETFOCUS.
TEST_F(Edit, Notifications) {
    HWND edit = Make(0);
    Type("ab");
    EXPECT_EQ(Text(edit), u"ab");
    std::vector<WORD> expected = {EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE};
    EXPECT_EQ(parentLog.codes, expected);
    parentLog.codes.clear();
    Type("<<<");
    EXPECT_EQ(Text(edit), u"");
    expected = {EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE}; // the third Backspace has nothing to delete
    EXPECT_EQ(parentLog.codes, expected);
    EXPECT_TRUE(SendMessageW(edit, EM_GETMODIFY, 0, 0));

    parentLog.codes.clear();
    SetWindowTextW(edit, u"hello");
    expected = {EN_UPDATE, EN_CHANGE};
    EXPECT_EQ(parentLog.codes, expected);
    DWORD start = 9, end = 9;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 0u);
    EXPECT_FALSE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
    HWND multi = Make(ES_MULTILINE);
    SetWindowTextW(multi, u"hello");
    EXPECT_TRUE(parentLog.codes.empty());

    SetFocus(edit);
    parentLog.codes.clear();
    SetFocus(multi);
    SetFocus(edit);
    expected = {EN_KILLFOCUS, EN_SETFOCUS, EN_KILLFOCUS, EN_SETFOCUS};
    EXPECT_EQ(parentLog.codes, expected);
}

TEST_F(Edit, LimitsFollowCeAndStopTypingWithMaxText) {
    HWND single = Make(0);
    EXPECT_EQ(SendMessageW(single, EM_GETLIMITTEXT, 0, 0), 30000);
    SendMessageW(single, EM_LIMITTEXT, 0, 0);
    EXPECT_EQ(SendMessageW(single, EM_GETLIMITTEXT, 0, 0), 0x7FFE);
    SendMessageW(single, EM_LIMITTEXT, 100000, 0);
    EXPECT_EQ(SendMessageW(single, EM_GETLIMITTEXT, 0, 0), 0x7FFE);
    HWND multi = Make(ES_MULTILINE);
    SendMessageW(multi, EM_LIMITTEXT, 0, 0);
    EXPECT_EQ(SendMessageW(multi, EM_GETLIMITTEXT, 0, 0), 0xFFFF);

    SendMessageW(single, EM_LIMITTEXT, 3, 0);
    SetFocus(single);
    SetWindowTextW(single, u"abcdef"); // the limit does not apply to WM_SETTEXT
    EXPECT_EQ(Text(single), u"abcdef");
    SetWindowTextW(single, u"ab");
    SendMessageW(single, EM_SETSEL, 2, 2);
    parentLog.codes.clear();
    Type("cd");
    EXPECT_EQ(Text(single), u"abc");
    std::vector<WORD> expected = {EN_UPDATE, EN_CHANGE, EN_MAXTEXT};
    EXPECT_EQ(parentLog.codes, expected);
    SendMessageW(single, EM_SETSEL, 0, -1);
    SendMessageW(single, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u"wxyz"));
    EXPECT_EQ(Text(single), u"wxy");
}

TEST_F(Edit, SelectionQueries) {
    HWND edit = Make(0, u"abcdef");
    SendMessageW(edit, EM_SETSEL, 1, 4);
    EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELONG(1, 4));
    SendMessageW(edit, EM_SETSEL, 0, -1);
    EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELONG(0, 6));
    SendMessageW(edit, EM_SETSEL, 5, 2); // the caret goes to the second argument
    PressKey(VK_LEFT);
    cehost::sim::RunUntilIdle();
    EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELONG(2, 2));
    SendMessageW(edit, EM_SETSEL, -1, 0);
    EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELONG(2, 2));
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u"XY"));
    EXPECT_EQ(Text(edit), u"abXYcdef");
    PressKey(VK_HOME);
    cehost::sim::RunUntilIdle();
    EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELONG(0, 0));
}

TEST_F(Edit, MultiLineLinesAndWrapping) {
    HWND edit = Make(ES_MULTILINE, u"one\r\ntwo\r\n\r\nfour");
    EXPECT_EQ(SendMessageW(edit, EM_GETLINECOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageW(edit, EM_LINEINDEX, 1, 0), 5);
    EXPECT_EQ(SendMessageW(edit, EM_LINEINDEX, 3, 0), 12);
    EXPECT_EQ(SendMessageW(edit, EM_LINEINDEX, 4, 0), -1);
    EXPECT_EQ(SendMessageW(edit, EM_LINEFROMCHAR, 6, 0), 1);
    SendMessageW(edit, EM_SETSEL, 13, 13);
    EXPECT_EQ(SendMessageW(edit, EM_LINEINDEX, static_cast<WPARAM>(-1), 0), 12);
    EXPECT_EQ(SendMessageW(edit, EM_LINELENGTH, 5, 0), 3);
    PressKey(VK_UP);
    cehost::sim::RunUntilIdle();
    EXPECT_EQ(SendMessageW(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), 2);
    SetWindowTextW(edit, u"");
    EXPECT_EQ(SendMessageW(edit, EM_GETLINECOUNT, 0, 0), 1);

    // Long words-and-spaces text wraps into several lines, each no wider than the control.
    SetWindowTextW(edit, u"aaa bbb ccc ddd eee fff ggg hhh iii jjj kkk lll mmm nnn");
    LRESULT lines = SendMessageW(edit, EM_GETLINECOUNT, 0, 0);
    EXPECT_GT(lines, 1);
    const std::u16string text = Text(edit);
    for (LRESULT i = 1; i < lines; ++i)
        EXPECT_EQ(text[SendMessageW(edit, EM_LINEINDEX, WPARAM(i), 0) - 1], u' ')
            << "line " << i << " starts inside a word";
    // Return in a multi-line control inserts a line break.
    SendMessageW(edit, EM_SETSEL, 0, 0);
    PressKey(VK_RETURN);
    cehost::sim::RunUntilIdle();
    EXPECT_EQ(Text(edit).substr(0, 5), u"\r\naaa");
}

TEST_F(Edit, ReadOnlyAsksForStaticColoursAndIgnoresTypingNumberTakesDigits) {
    HWND edit = Make(0, u"x");
    InvalidateRect(edit, nullptr, TRUE);
    UpdateWindow(edit);
    ASSERT_FALSE(parentLog.colourQueries.empty());
    EXPECT_EQ(parentLog.colourQueries.back(), UINT(WM_CTLCOLOREDIT));
    SendMessageW(edit, EM_SETREADONLY, TRUE, 0);
    UpdateWindow(edit);
    EXPECT_EQ(parentLog.colourQueries.back(), UINT(WM_CTLCOLORSTATIC));
    Type("ab<");
    EXPECT_EQ(Text(edit), u"x");
    // A number edit takes digits only.
    HWND number = Make(ES_NUMBER);
    Type("a1b29");
    EXPECT_EQ(Text(number), u"129");
}

TEST_F(Edit, CompositionIsShownButNotTextUntilFinished) {
    HWND edit = Make(0, u"ab");
    SendMessageW(edit, EM_SETSEL, 2, 2);
    HIMC himc = ImmGetContext(edit);
    ImmSetOpenStatus(himc, TRUE);
    Type("rk");
    EXPECT_EQ(Text(edit), u"ab");
    EXPECT_EQ(ImmGetCompositionStringW(himc, GCS_COMPSTR, nullptr, 0), 2);
    Type("sk");
    EXPECT_EQ(Text(edit), u"ab가");
    // Another key finishes the syllable before it acts: the caret moves from behind the finished text.
    PressKey(VK_LEFT);
    cehost::sim::RunUntilIdle();
    EXPECT_EQ(Text(edit), u"ab가나");
    EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), MAKELONG(3, 3));
    // A selection is replaced by the syllable being started.
    SendMessageW(edit, EM_SETSEL, 0, 2);
    Type("s");
    EXPECT_EQ(Text(edit), u"가나");
    ImmNotifyIME(himc, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
    cehost::sim::RunUntilIdle();
    EXPECT_EQ(Text(edit), u"ㄴ가나");
    ImmReleaseContext(edit, himc);
}
