// Static texts and push buttons: painting in their colours and frames, the pushed look, presses reported
// to the parent, Return on plain texts, focus moves with the arrows, colour setters and adopting a static.
#include "ControlsTestSupport.h"
#include "LxText.h"

using namespace lxtest;

namespace {

class TestText : public LxText {
public:
    using LxText::m_crCase;
    using LxText::m_dwStyle;
    using LxText::m_bPushed;
    using LxText::WndProc;
    HWND Hwnd() const { return m_hWnd; }
};

constexpr UINT kTextId = 77;

struct TextScreen {
    Host host;
    TestText text;
    TextScreen() { EXPECT_TRUE(host.Start()); }
    // A text (or a button) reading "WWW" at 20,50 - 220,80.
    HWND MakeText(DWORD style = 0, int border = 0, int tabStop = 0, bool button = false) {
        RECT rect = {20, 50, 220, 80};
        HWND hwnd = button ? text.CreateButton(host.m_hWnd, GetModuleHandleW(nullptr), kTextId, &rect)
                           : text.CreateText(host.m_hWnd, GetModuleHandleW(nullptr), kTextId, &rect, style, border,
                                             tabStop);
        text.SetText(u"WWW");
        Settle();
        return hwnd;
    }
    HWND MakeButton() { return MakeText(0, 0, 0, true); }
};

// Before any push colour is set the pushed look still differs from the focused one (the golden screenshots
// pin the looks with one); focus changes are traced.
TEST(Text, ButtonShowsFocusThePushedLookAndReportsTheRelease) {
    cehost::sim::StartDebugCapture();
    TextScreen screen;
    HWND button = screen.MakeButton();
    Focus(screen.text);
    Hold(VK_RETURN);
    EXPECT_NE(ClientPixel(button, 190, 24), RGB(0, 0, 0)) << "pushed without a push colour";
    Release(VK_RETURN);
    EXPECT_EQ(screen.host.Only(WM_COMMAND).size(), 1u) << "Return presses a button too";
    screen.host.seen.clear();
    Hold(VK_F3);
    EXPECT_EQ(screen.text.m_bPushed, 1);
    Release(VK_F3);
    std::vector<Posted> expected = Reported(button, {{VK_F3, 0}});
    expected.push_back({WM_COMMAND, MAKEWPARAM(kTextId, 0), 0});
    EXPECT_EQ(screen.host.seen, expected);
    Focus(screen.host.m_hWnd);
    EXPECT_EQ(cehost::sim::TakeDebugOutput(), u"LxText - WM_SETFOCUS  \nLxText - WM_KILLFOCUS  \n");
    EXPECT_EQ(ClientPixel(button, 190, 24), RGB(0x27, 0x27, 0x27));
}

TEST(Text, PlainTextHandsReturnOnTwiceAndReportsSelect) {
    TextScreen screen;
    HWND hwnd = screen.MakeText(0, 0, 1);
    Focus(hwnd);
    screen.host.seen.clear();
    Press(VK_RETURN);
    EXPECT_EQ(screen.host.seen, (std::vector<Posted>{{LXM_KEYDOWN, VK_RETURN, L(hwnd)},
                                                      {LXM_KEYUP, VK_RETURN, L(hwnd)},
                                                      {LXM_KEYUP, VK_RETURN, L(hwnd)}}));
    screen.host.seen.clear();
    Press(VK_F3);
    EXPECT_EQ(screen.host.Only(WM_COMMAND), (std::vector<Posted>{{WM_COMMAND, MAKEWPARAM(kTextId, 0), 0}}));
    EXPECT_EQ(screen.text.m_bPushed, 0);
}

TEST(Text, SetFocusIsForButtonsAndStylusTakesTheFocus) {
    for (bool button : {false, true}) {
        TextScreen screen;
        HWND hwnd = button ? screen.MakeButton() : screen.MakeText(0, 0, 1);
        screen.text.SetFocus();
        EXPECT_EQ(screen.text.IsFocus(), int(button)) << "SetFocus is for buttons";
        SetFocus(screen.host.m_hWnd);
        cehost::sim::Tap(50, 21 + 60);
        Settle();
        EXPECT_EQ(GetFocus(), hwnd);
        EXPECT_EQ(screen.host.Only(WM_COMMAND).size(), size_t(button)) << "only a button reports a tap";
    }
}

TEST(Text, ColourSettersNeedTheWindowAndKeepSetFocusColours) {
    TestText text;
    text.SetCaseColor(0x123456);
    EXPECT_EQ(text.m_crCase, 0x123456u) << "the frame colour is kept without a window";
    text.SetTextStyle(5);
    text.SetTextStyle(0);
    EXPECT_EQ(text.m_dwStyle, 5u);
    WCHAR buffer[1024] = u"same";
    text.SetText(u"new");
    text.GetText(buffer);
    EXPECT_EQ(std::u16string(buffer), u"same") << "no window, buffer untouched";
    TextScreen screen;
    HWND hwnd = screen.MakeText();
    screen.text.SetColor(0xAAAAAA, 0x272727);
    Focus(hwnd);
    EXPECT_EQ(ClientPixel(hwnd, 100, 25), RGB(0, 0, 0)) << "focus colours are not negative: unchanged";
    screen.text.SetBaseColor(RGB(0, 0, 255), RGB(0, 255, 0));
    Settle();
    EXPECT_EQ(ClientPixel(hwnd, 100, 25), RGB(0, 255, 0));
    screen.text.GetText(buffer);
    EXPECT_EQ(std::u16string(buffer), u"WWW");
}

TEST(Text, AdoptsAStaticTakingItsTextAlignmentAndBorderAndLeavesAnUnboundOneToTheStaticClass) {
    Host host;
    ASSERT_TRUE(host.Start());
    HWND stat = CreateWindowExW(0, u"static", u"adopted", WS_CHILD | WS_VISIBLE | WS_BORDER | SS_CENTER, 10, 50, 100,
                                30, host.m_hWnd, reinterpret_cast<HMENU>(9), nullptr, nullptr);
    TestText text;
    EXPECT_EQ(text.CreateText(nullptr), 0);
    ASSERT_EQ(text.CreateText(host.m_hWnd, 9), 1);
    EXPECT_EQ(text.Hwnd(), stat);
    EXPECT_EQ(std::tuple(text.m_dwStyle, text.m_crCase), (std::tuple<DWORD, DWORD>(1, 0xAAAAAA)));
    EXPECT_EQ(GetWindowLongW(stat, GWL_STYLE) & WS_BORDER, 0);
    EXPECT_EQ(WindowText(stat), u"adopted");
    EXPECT_EQ(LxTextQueue::FindQueue(stat), &text);
    // Between subclassing and the binding message a window has no object: the static class answers alone.
    HWND bare = CreateWindowExW(0, u"static", u"", WS_CHILD | WS_VISIBLE, 0, 100, 50, 20, host.m_hWnd, nullptr,
                                nullptr, nullptr);
    const LRESULT own = SendMessageW(bare, WM_GETDLGCODE, 0, 0);
    LxSubClassing(bare, reinterpret_cast<WNDPROC>(&TestText::WndProc));
    EXPECT_EQ(SendMessageW(bare, WM_GETDLGCODE, 0, 0), own);
    EXPECT_EQ(LxTextQueue::FindQueue(bare), nullptr);
    DestroyWindow(bare);
}

} // namespace
