// The spin control through the queue: items and selection, stepping on release with wrap-around, the
// notifications and their check-flag rules, focus moves, painting, and what an empty or shrunk control does.
#include "ControlsTestSupport.h"
#include "LxSpinCtrl.h"

using namespace lxtest;

namespace {

class TestSpin : public LxSpinCtrl {
public:
    using LxSpinCtrl::m_Items;
    using LxSpinCtrl::m_bLeftDown;
    using LxSpinCtrl::m_bRightDown;
    using LxSpinCtrl::OnKey;
    HWND Hwnd() const { return m_hWnd; }
    bool Dirty() const {
        RECT update;
        return GetUpdateRect(m_hWnd, &update, FALSE);
    }
};

constexpr UINT kSpinId = 1001;
const RECT kSpinRect = {10, 60, 230, 86}; // 220 x 26

struct SpinScreen {
    Host host;
    TestSpin spin;
    explicit SpinScreen(int items, unsigned long style = 0, int check = 1) {
        EXPECT_TRUE(host.Start());
        RECT rect = kSpinRect;
        EXPECT_NE(spin.CreateSpin(host.m_hWnd, GetModuleHandleW(nullptr), kSpinId, &rect, style), nullptr);
        for (int i = 0; i < items; ++i) {
            WCHAR text[16];
            wsprintfW(text, u"item %d", i);
            spin.AddItem(text, check);
        }
        Focus(spin);
        host.seen.clear();
    }
    HWND hwnd() const { return spin.Hwnd(); }
    void Select(int index) {
        spin.SetSelect(index);
        Settle();
        host.seen.clear();
    }
};

TEST(SpinItems, NeedTheWindowAndTheFirstItemBecomesTheSelection) {
    TestSpin spin;
    EXPECT_EQ(spin.AddItem(u"early", 1), 0);
    EXPECT_EQ(std::tuple(spin.m_Items.GetSize(), spin.GetCount(), spin.GetSelect()), std::tuple(0, 0u, -1));
    Host host;
    ASSERT_TRUE(host.Start());
    RECT rect = kSpinRect;
    ASSERT_NE(spin.CreateSpin(host.m_hWnd, nullptr, 7, &rect, 0), nullptr);
    Settle();
    EXPECT_EQ(spin.AddItem(u"first", 1), 1);
    EXPECT_EQ(spin.GetSelect(), 0);
    EXPECT_TRUE(spin.Dirty()) << "the first item repaints";
    Settle();
    EXPECT_EQ(spin.AddItem(u"second", 0), 1);
    EXPECT_EQ(spin.GetSelect(), 0);
    EXPECT_FALSE(spin.Dirty()) << "later items do not";
    spin.SetDataColor(0x0000FF, 0x00FF00); // later items only; the defaults are pinned by the golden screenshots
    spin.AddItem(u"third", 1);
    EXPECT_EQ(spin.m_Items.GetAt(2)->m_crFocus, COLORREF(0x00FF00));
    EXPECT_EQ(spin.m_Items.GetAt(0)->m_crFocus, COLORREF(0xFFFFFF));
}

TEST(SpinItems, InvalidIndicesChangeNothing) {
    SpinScreen screen(3);
    TestSpin& spin = screen.spin;
    for (unsigned index : {3u, 0xFFFFFFFFu}) {
        EXPECT_EQ(ItemText(spin, index), u"<refused> untouched");
        EXPECT_EQ(spin.SetItem(index, u"x"), 0);
        EXPECT_EQ(spin.GetCheck(index), 0);
        EXPECT_EQ(spin.DeleteItem(index), 0);
        spin.SetCheck(index, 1);
    }
    for (int index : {1, -1, 3}) spin.SetSelect(index);
    EXPECT_EQ(spin.GetSelect(), 1);
    EXPECT_EQ(spin.GetCount(), 3u);
    EXPECT_EQ(spin.SetItem(2, u"renamed"), 1);
    EXPECT_EQ(ItemText(spin, 2), u"renamed");
}

// Removing items never moves the selection: the same index names the item that followed, and a selection
// left past the end selects nothing until an item is chosen again or an emptied control gets a new first item.
TEST(SpinItems, DeletingNeverMovesTheSelection) {
    SpinScreen screen(3);
    TestSpin& spin = screen.spin;
    screen.Select(2);
    EXPECT_EQ(spin.DeleteItem(0), 1);
    EXPECT_EQ(spin.GetSelect(), 2);
    EXPECT_FALSE(spin.Dirty()) << "nothing repaints";
    for (BYTE key : {VK_RIGHT, VK_LEFT, VK_F3}) Press(key);
    EXPECT_EQ(spin.GetSelect(), 2);
    EXPECT_TRUE(screen.host.Only(LXM_SELCHANGE).empty());
    EXPECT_TRUE(screen.host.Only(WM_COMMAND).empty());
    spin.DeleteItem(1);
    spin.DeleteItem(0);
    EXPECT_EQ(spin.GetSelect(), 2);
    EXPECT_EQ(spin.AddItem(u"again", 1), 1);
    EXPECT_EQ(spin.GetSelect(), 0);
    EXPECT_EQ(spin.AddItem(u"more", 1), 1);
    EXPECT_EQ(spin.GetSelect(), 0);
}

// Creating again replaces the window and its binding; a copy shares the window but owns its items, and going
// away leaves the window bound to the original; the original takes its window with it.
TEST(SpinWindow, OneBindingPerWindowThroughRecreationCopiesAndDestruction) {
    Host host;
    ASSERT_TRUE(host.Start());
    HWND second = nullptr;
    {
        TestSpin spin;
        RECT rect = kSpinRect;
        HWND first = spin.CreateSpin(host.m_hWnd, nullptr, 1, &rect, 0);
        const DWORD windows = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
        second = spin.CreateSpin(host.m_hWnd, nullptr, 2, &rect, 0);
        EXPECT_FALSE(IsWindow(first));
        EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), windows);
        EXPECT_EQ(LxSpinQueue::FindQueue(second), &spin);
        EXPECT_EQ(LxSpinQueue::RemoveQueue(first), 0);
        spin.AddItem(u"item 0", 1);
        {
            TestSpin copy(spin);
            EXPECT_EQ(copy.Hwnd(), second);
            EXPECT_NE(copy.m_Items.GetAt(0), spin.m_Items.GetAt(0));
            copy.SetItem(0, u"copy");
        }
        EXPECT_TRUE(IsWindow(second));
        EXPECT_EQ(ItemText(spin, 0), u"item 0");
        EXPECT_EQ(LxSpinQueue::FindQueue(second), &spin);
    }
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(LxSpinQueue::FindQueue(second), nullptr);
}

TEST(SpinWindow, CreationTakesTheBorderIntoItsOwnPaintingAndNamesItselfByIdentifier) {
    SpinScreen screen(1, WS_BORDER);
    EXPECT_EQ(GetWindowLongW(screen.hwnd(), GWL_STYLE) & (WS_BORDER | WS_TABSTOP), WS_TABSTOP);
    EXPECT_EQ(WindowText(screen.hwnd()), u"1001"); // the frame's looks are pinned by the goldens
    SpinScreen plain(1);
    EXPECT_EQ(ClientPixel(plain.hwnd(), 100, 0), RGB(0, 0, 0)) << "focused fill, no frame";
    plain.spin.SetCaseColor(RGB(255, 0, 0));
    Settle();
    EXPECT_EQ(ClientPixel(plain.hwnd(), 100, 0), RGB(255, 0, 0));
}

// The plain looks are pinned by the golden screenshots; bitmap backgrounds follow the item and the focus.
TEST(SpinPainting, ImageModeDrawsTheItemsBars) {
    SpinScreen screen(2, 0, 1);
    screen.spin.SetImage(1, 2);
    Settle();
    EXPECT_EQ(ClientPixel(screen.hwnd(), 100, 12), RGB(0, 0, 0)) << "the item's focused bar";
    Focus(screen.host.m_hWnd);
    EXPECT_EQ(ClientPixel(screen.hwnd(), 100, 0), RGB(0x58, 0x58, 0x58)) << "the unfocused bar's top line";
}

// The typical event of the keypad: the release of Right on a focused spin control reaches the control, is
// reported to the main window, steps, announces the checked item and repaints, in that order; holding the key
// only reports it and marks the arrow (whose yellow the golden screenshots pin).
TEST(SpinKeys, StepsOnReleaseFollowingTheKeyProtocol) {
    SpinScreen screen(3);
    Hold(VK_RIGHT);
    EXPECT_EQ(screen.spin.GetSelect(), 0);
    EXPECT_EQ(screen.spin.m_bRightDown, 1);
    EXPECT_EQ(screen.host.seen, (std::vector<Posted>{{LXM_KEYDOWN, VK_RIGHT, L(screen.hwnd())}}));
    MessageLog::NameMessage(LXM_KEYUP, "LXM_KEYUP");
    MessageLog::NameMessage(LXM_SELCHANGE, "LXM_SELCHANGE");
    MessageLog log;
    log.Watch(screen.hwnd(), "spin");
    log.Watch(screen.host.m_hWnd, "main");
    // The static class's own painting comes after ours on the pass-on path and finds nothing left to draw.
    for (UINT chatter : {WM_CTLCOLORSTATIC, WM_GETTEXT, WM_GETTEXTLENGTH}) log.Ignore(chatter);
    Release(VK_RIGHT);
    EXPECT_TRUE(log.Matches({{WM_KEYUP, posted | wparam, VK_RIGHT, 0, screen.hwnd()},
                             {LXM_KEYUP, posted | wparam | lparam, VK_RIGHT, L(screen.hwnd()), screen.host.m_hWnd},
                             {LXM_SELCHANGE, posted | wparam | lparam, 1, L(screen.hwnd()), screen.host.m_hWnd},
                             {WM_PAINT, posted, 0, 0, screen.hwnd()},
                             {WM_ERASEBKGND, sent | optional, 0, 0, screen.hwnd()}}));
    EXPECT_EQ(screen.spin.GetSelect(), 1);
    Hold(VK_LEFT);
    EXPECT_EQ(std::make_pair(screen.spin.m_bLeftDown, screen.spin.m_bRightDown), std::make_pair(1, 0));
    Release(VK_LEFT);
    EXPECT_EQ(screen.spin.GetSelect(), 0);
}

TEST(SpinKeys, RotationDecidesWhatHappensAtTheEnds) {
    SpinScreen screen(3);
    screen.Select(2);
    Press(VK_RIGHT);
    EXPECT_EQ(screen.spin.GetSelect(), 2);
    std::vector<Posted> expected = Reported(screen.hwnd(), {{VK_RIGHT, 0}});
    expected.push_back({LXM_SELCHANGE, 2, L(screen.hwnd())});
    EXPECT_EQ(screen.host.seen, expected) << "announced even without a move, the item being checked";
    screen.spin.SetRotate(1);
    TestSpin& spin = screen.spin;
    const std::function<void()> steps[] = {[] { Press(VK_RIGHT); }, [] { Press(VK_LEFT); },
                                           [&] { spin.OnKey(VK_HOME); }, [&] { spin.OnKey(VK_END); }};
    const int after[] = {0, 2, 0, 2};
    for (int i = 0; i < 4; ++i) {
        steps[i]();
        EXPECT_EQ(screen.spin.GetSelect(), after[i]) << "step " << i;
    }
    SpinScreen single(1);
    single.spin.SetRotate(1);
    Press(VK_RIGHT);
    Press(VK_LEFT);
    EXPECT_EQ(single.spin.GetSelect(), 0);
    // The Home key is tested before the move to the first item.
    LxSetHomeKey(VK_HOME);
    screen.Select(2);
    Focus(screen.spin);
    screen.host.seen.clear();
    Press(VK_HOME);
    EXPECT_EQ(screen.spin.GetSelect(), 2);
    EXPECT_EQ(screen.host.Only(LXM_HOMEKEY), (std::vector<Posted>{{LXM_HOMEKEY, 0, L(screen.hwnd())}}));
}

TEST(SpinKeys, SelectionChangeAndCommandNeedACheckFlagOfExactlyOne) {
    SpinScreen screen(0);
    for (int check : {0, 1, 2}) screen.spin.AddItem(u"item", check);
    Settle();
    screen.host.seen.clear();
    Press(VK_RETURN);
    EXPECT_EQ(screen.host.seen.size(), 2u) << "the keys only";
    screen.host.seen.clear();
    Press(VK_RIGHT);
    EXPECT_EQ(screen.host.Only(LXM_SELCHANGE), (std::vector<Posted>{{LXM_SELCHANGE, 1, L(screen.hwnd())}}));
    Press(VK_RETURN);
    Press(VK_F3);
    EXPECT_EQ(screen.host.Only(WM_COMMAND), std::vector<Posted>(2, {WM_COMMAND, MAKEWPARAM(kSpinId, 0), 0}));
    screen.host.seen.clear();
    Press(VK_RIGHT);
    Press(VK_F3);
    EXPECT_TRUE(screen.host.Only(LXM_SELCHANGE).empty()) << "check flag 2";
    EXPECT_TRUE(screen.host.Only(WM_COMMAND).empty());
    // ... but 2 still paints the focused text colour.
    EXPECT_GT(CountColour(screen.hwnd(), {30, 0, 190, 26}, RGB(255, 255, 255)), 0);
}

TEST(SpinWindow, GainingTheFocusAnnouncesTheSelectionWhateverItsFlag) {
    cehost::sim::StartDebugCapture();
    SpinScreen screen(2, 0, 0);
    Focus(screen.host.m_hWnd);
    screen.host.seen.clear();
    Focus(screen.spin);
    EXPECT_EQ(screen.host.seen, (std::vector<Posted>{{LXM_SELCHANGE, 0, L(screen.hwnd())}}));
    const std::u16string trace = cehost::sim::TakeDebugOutput();
    EXPECT_NE(trace.find(u"LxSpinCtrl - WM_KILLFOCUS  \n"), std::u16string::npos);
    EXPECT_NE(trace.find(u"LxSpinCtrl - WM_SETFOCUS  \n"), std::u16string::npos);
    cehost::sim::Tap(15, 21 + 70);
    Settle();
    EXPECT_EQ(screen.spin.IsFocus(), 1);
}

// A derived control that clears the pass-on flag answers for itself: the previous procedure (the static
// class, which would take the text) never sees the message. The spin also asks for the arrow keys, and draws
// pictures that only the application holds.
class OwnAnswerSpin : public TestSpin {
public:
    long OnWndProc(UINT uMsg, WPARAM wParam, LPARAM lParam, int* pPassOn) override {
        if (uMsg == WM_SETTEXT && keep) {
            *pPassOn = 0;
            return 99;
        }
        return TestSpin::OnWndProc(uMsg, wParam, lParam, pPassOn);
    }
    bool keep = true;
};

TEST(SpinWindow, OwnAnswersDialogCodeAndApplicationPictures) {
    Host host;
    ASSERT_TRUE(host.Start());
    host.SetInstance(GetModuleHandleW(nullptr));
    OwnAnswerSpin spin;
    RECT rect = kSpinRect;
    ASSERT_NE(spin.CreateSpin(host.m_hWnd, nullptr, 5, &rect, 0), nullptr);
    auto setText = [&] {
        const LRESULT answer = SendMessageW(spin.Hwnd(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"new"));
        return std::make_pair(answer, WindowText(spin.Hwnd()));
    };
    EXPECT_EQ(setText(), std::make_pair(LRESULT(99), std::u16string(u"5")));
    spin.keep = false;
    EXPECT_EQ(setText().second, u"new");
    EXPECT_EQ(SendMessageW(spin.Hwnd(), WM_GETDLGCODE, 0, 0), DLGC_WANTARROWS);
    spin.AddItem(1, 5000, 5000, 0x969696, 0xFFFFFF, u"");
    spin.SetImage(0, 0);
    Settle();
    EXPECT_EQ(ClientPixel(spin.Hwnd(), 40, 12), RGB(255, 0, 0));
}

} // namespace
