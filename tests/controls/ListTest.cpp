// The keypad lists through the real queue and the virtual clock: selection from code with its delayed click,
// wrap-around, the key protocol, hot keys, direct mode, check boxes, item records and row drawing.
#include <commctrl.h>

#include "ControlsTestSupport.h"
#include "LxListCtrl.h"

using namespace lxtest;

namespace {

class TestList : public LxListCtrl {
public:
    using LxListCtrl::GetHotKeyPos;
    using LxListCtrl::IsExistChar;
    using LxListCtrl::m_Items;
    using LxListCtrl::m_rcSelect;
    using LxListCtrl::OnMoveDown;
    using LxListCtrl::OnMoveHome;
    using LxListCtrl::OnMoveUp;
    long OnWndProc(UINT uMsg, WPARAM wParam, LPARAM lParam, int* pPassOn) override {
        seen.push_back(uMsg);
        return LxListCtrl::OnWndProc(uMsg, wParam, lParam, pPassOn);
    }
    int GetColorUserDefine(UINT nItem, DWORD& crColor, int bSelected) override {
        if (userColour < 0 || nItem != userRow) return 0;
        crColor = DWORD(userColour);
        return 1;
    }
    HWND Hwnd() const { return m_hWnd; }
    int Focused() { return int(SendMessageW(m_hWnd, LVM_GETNEXTITEM, WPARAM(-1), MAKELPARAM(LVNI_FOCUSED, 0))); }
    int Top() { return int(SendMessageW(m_hWnd, LVM_GETTOPINDEX, 0, 0)); }
    std::vector<UINT> seen;
    long userColour = -1;
    UINT userRow = 0;
};

constexpr UINT kListId = 321;

// A host with a 240 x 130 list of `rows` text rows (five rows of 26 pixels fit).
struct ListScreen {
    Host host;
    TestList list;
    explicit ListScreen(int rows, int height = 130) {
        EXPECT_TRUE(host.Start());
        host.list = &list;
        RECT rect = {0, 40, 240, 40 + height};
        EXPECT_NE(list.CreateList(host.m_hWnd, GetModuleHandleW(nullptr), kListId, &rect, 26), nullptr);
        for (int i = 0; i < rows; ++i) {
            WCHAR text[16];
            wsprintfW(text, u"row %d", i);
            list.AddItem(text);
        }
        Focus(list);
    }
    // Selects a row from code and lets the delayed click happen.
    void Select(int row) {
        list.SetSelect(row);
        cehost::sim::RunFor(20);
        host.seen.clear();
    }
};

TEST(ListBase, BindingGoesWithTheWindowAndCopiesAreNotBound) {
    ListScreen screen(3);
    HWND hwnd = screen.list.Hwnd();
    EXPECT_EQ(LxListQueue::FindQueue(nullptr), nullptr);
    EXPECT_EQ(LxListQueue::RemoveQueue(reinterpret_cast<HWND>(0x1234)), 0);
    {
        TestList second;
        RECT rect = {0, 200, 240, 250};
        HWND other = second.CreateList(screen.host.m_hWnd, nullptr, 2, &rect, 26);
        EXPECT_EQ(LxListQueue::FindQueue(other), &second);
        EXPECT_EQ(LxListQueue::InsertQueue(&second), 0) << "one record per window";
        {
            TestList copy(screen.list);
            EXPECT_EQ(copy.Hwnd(), hwnd);
            EXPECT_EQ(copy.m_Items.GetSize(), 3);
            EXPECT_NE(copy.m_Items.GetAt(0), screen.list.m_Items.GetAt(0)) << "a copy owns its own records";
            EXPECT_EQ(LxListQueue::FindQueue(hwnd), &screen.list);
        }
        EXPECT_TRUE(IsWindow(hwnd)) << "a copy going away leaves the original's window";
    }
    EXPECT_EQ(LxListQueue::FindQueue(hwnd), &screen.list) << "destroying one list leaves the other bound";
    screen.list.Destroy();
    EXPECT_EQ(LxListQueue::FindQueue(hwnd), nullptr);
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(ListBase, SetSelectScrollsAndClicksTheRowTenMillisecondsLater) {
    ListScreen screen(20);
    Recorder clicks(screen.list.Hwnd(), {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_TIMER});
    screen.list.SetSelect(12);
    Settle();
    EXPECT_EQ(screen.list.GetSelect(), 12) << "drawn selected";
    EXPECT_NE(screen.list.Focused(), 12) << "the click has not happened yet";
    EXPECT_TRUE(screen.list.Top() <= 12 && 12 < screen.list.Top() + 5) << "scrolled into view";
    for (DWORD ms : {9, 1}) {
        EXPECT_TRUE(clicks.Empty());
        cehost::sim::AdvanceClock(ms);
        Settle();
    }
    const LPARAM at = MAKELPARAM(screen.list.m_rcSelect.left + 1, screen.list.m_rcSelect.top + 1);
    EXPECT_EQ(clicks.Seen(), (std::vector<Posted>{{WM_TIMER, 1, 0}, {WM_LBUTTONDOWN, MK_LBUTTON, at},
                                                  {WM_LBUTTONUP, MK_LBUTTON, at}}));
    EXPECT_EQ(screen.list.Focused(), 12);
    DWORD due = 0;
    EXPECT_FALSE(cehost::sim::NextTimerDue(&due)) << "the click timer runs once";
    for (int index : {-1, 20, 100}) { // outside the rows nothing happens
        screen.list.SetSelect(index);
        EXPECT_FALSE(cehost::sim::NextTimerDue(&due)) << index;
        cehost::sim::RunFor(20);
        EXPECT_EQ(screen.list.GetSelect(), 12);
    }
    TestList unmade;
    unmade.SetSelect(0);
    EXPECT_EQ(unmade.GetSelect(), -1);
}

// Up and Down stop at the ends unless rotation is exactly 1; without a selection Up goes to the last row and
// Down to the first; a single row never asks for a wrap.
TEST(ListBase, WrapsAroundWithRotationAndStopsWithoutAndMovesFromCode) {
    ListScreen screen(5);
    Press(VK_UP);
    EXPECT_EQ(screen.list.GetSelect(), 4) << "from no selection";
    screen.Select(0);
    Press(VK_UP);
    EXPECT_EQ(screen.list.GetSelect(), 0) << "no rotation";
    screen.list.SetRotate(2);
    EXPECT_EQ(screen.list.IsRotate(), 0) << "only 1 turns rotation on";
    screen.list.SetRotate(1);
    for (auto [key, row] : {std::pair{VK_UP, 4}, {VK_DOWN, 0}, {VK_DOWN, 1}}) {
        Press(key);
        EXPECT_EQ(screen.list.GetSelect(), row) << "rotating; inside the list the list view moves one row";
    }
    ListScreen empty(4);
    Press(VK_DOWN);
    EXPECT_EQ(empty.list.GetSelect(), 0) << "from no selection";
    ListScreen one(1);
    one.list.SetRotate(1);
    one.Select(0);
    Recorder keys(one.list.Hwnd(), {WM_KEYDOWN});
    Press(VK_DOWN);
    Press(VK_UP);
    EXPECT_EQ(keys.Seen().size(), 2u) << "only the keys themselves, no posted VK_HOME or VK_END";
    EXPECT_EQ(one.list.GetSelect(), 0);
    // From code, an empty list does not move; the move to the first row is a posted Home key.
    ListScreen none(0);
    Recorder moves(none.list.Hwnd(), {WM_KEYDOWN});
    none.list.OnMoveUp();
    none.list.OnMoveDown();
    Settle();
    EXPECT_TRUE(moves.Empty());
    none.list.OnMoveHome();
    Settle();
    EXPECT_EQ(moves.Seen(), (std::vector<Posted>{{WM_KEYDOWN, VK_HOME, 0}}));
}

// What the keys report is checked for every kind of control at once (ControlKeys); the releases of Back and
// Home end in the list and move nothing.
TEST(ListBase, KeyReleasesAndCharactersEndInTheListKeysWithoutFocusAreReportedAndStylusTakesTheFocus) {
    ListScreen screen(3);
    screen.Select(1);
    screen.list.seen.clear();
    for (BYTE key : {VK_ESCAPE, VK_BACK, VK_F4}) Press(key);
    for (UINT m : screen.list.seen) EXPECT_NE(m, UINT(WM_KEYUP));
    EXPECT_EQ(screen.list.GetSelect(), 1);
    screen.list.seen.clear();
    EXPECT_EQ(SendMessageW(screen.list.Hwnd(), WM_CHAR, 'a', 0), 0);
    EXPECT_TRUE(screen.list.seen.empty());
    EXPECT_EQ(SendMessageW(screen.list.Hwnd(), WM_GETDLGCODE, 0, 0), DLGC_WANTALLKEYS);
    // A key delivered without the focus is reported but never wraps.
    screen.list.SetRotate(1);
    screen.Select(0);
    SetFocus(screen.host.m_hWnd);
    EXPECT_EQ(screen.list.IsFocus(), 0);
    Recorder keys(screen.list.Hwnd(), {WM_KEYDOWN});
    SendMessageW(screen.list.Hwnd(), WM_KEYDOWN, VK_UP, 0);
    Settle();
    EXPECT_EQ(keys.Seen().size(), 1u) << "no VK_END posted";
    EXPECT_EQ(screen.host.Only(LXM_KEYDOWN), (std::vector<Posted>{{LXM_KEYDOWN, VK_UP, L(screen.list.Hwnd())}}));
    cehost::sim::Tap(100, 21 + 40 + 26 + 5);
    Settle();
    EXPECT_EQ(screen.list.IsFocus(), 1);
    EXPECT_EQ(screen.list.GetSelect(), 1);
}

TEST(ListBase, ItemHeightIsAskedOnceAtCreationAndTheEraseColourPaintsGreyOrNothing) {
    ListScreen screen(3);
    screen.list.SetItemHeight(30);
    EXPECT_EQ(screen.list.GetItemHeight(), 30u);
    MoveWindow(screen.list.Hwnd(), 0, 40, 240, 200, TRUE); // a resize does not ask again
    RECT row = {};
    SendMessageW(screen.list.Hwnd(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    EXPECT_EQ(std::tuple(row.top, row.bottom), (std::tuple<LONG, LONG>(26, 52)));
    // Erase colour -1 paints nothing; any other is the list's grey.
    HWND hwnd = screen.list.Hwnd();
    HDC dc = GetDC(hwnd);
    for (COLORREF erase : {COLORREF(-1), COLORREF(0), RGB(255, 0, 0)}) {
        const RECT all = {0, 0, 240, 130};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        if (erase != COLORREF(-1)) screen.list.SetEraseBackgroundColor(erase);
        EXPECT_EQ(SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
        const COLORREF painted = erase == COLORREF(-1) ? RGB(255, 255, 255) : RGB(39, 39, 39);
        EXPECT_EQ(std::tuple(GetPixel(dc, 10, 10), GetPixel(dc, 239, 129)), std::tuple(painted, painted))
            << erase;
    }
    ReleaseDC(hwnd, dc);
}

TEST(ListItems, ShortFormsFillTheRecord) {
    TestList list;
    list.AddItem(u"plain");
    list.AddItemForIcon(u"icon", 9960, 0);
    list.AddItemForChar(u"char", 0);
    list.AddItemForChar(u"hot", u'7');
    list.AddItemForCheck(u"blank", 1, 1);
    list.AddItemForCheck(u"box", 0, 0);
    std::vector<UINT> kinds;
    for (int i = 0; i < list.m_Items.GetSize(); ++i) kinds.push_back(list.m_Items.GetAt(i)->m_nKind[0]);
    // A character item without a hot key, and a check item marked blank, leave a gap.
    EXPECT_EQ(kinds, (std::vector<UINT>{LXLS_NONE, LXLS_IMAGE, LXLS_BLANK, LXLS_CHAR, LXLS_BLANK, LXLS_CHECK}));
    EXPECT_EQ(list.m_Items.GetAt(3)->m_wHotKey, u'7');
    EXPECT_EQ(list.GetCheck(4), 1) << "stored though never drawn";
    EXPECT_EQ(list.GetCount(), 0u) << "without a window the row count is not kept";
    list.SetDataColor(0xAAAAAA, 0x272727); // later items only
    list.AddItemForCheck(u"after", 0, 0);
    EXPECT_EQ(list.m_Items.GetAt(6)->m_crNormal, 0xAAAAAAu);
    EXPECT_EQ(list.m_Items.GetAt(0)->m_crNormal, 0x969696u);
}

// Items added before the window exists are records but not rows.
TEST(ListItems, TextsIndicesAndDeletion) {
    Host host;
    ASSERT_TRUE(host.Start());
    TestList early;
    for (int i = 0; i < 3; ++i) early.AddItem(u"early");
    RECT rect = {0, 40, 240, 170};
    early.CreateList(host.m_hWnd, nullptr, 1, &rect, 26);
    early.AddItem(u"late");
    EXPECT_EQ(SendMessageW(early.Hwnd(), LVM_GETITEMCOUNT, 0, 0), 1);
    ListScreen screen(3);
    TestList& list = screen.list;
    EXPECT_EQ(list.SetItem(1, u"changed"), 1);
    EXPECT_EQ(ItemText(list, 1), u"changed");
    EXPECT_EQ(ItemText(list, 3), u"<refused> untouched");
    EXPECT_EQ(list.SetItem(UINT(-1), u"x"), 0);
    const std::u16string tooLong(1500, u'x');
    EXPECT_EQ(list.SetItem(2, tooLong.c_str()), 0) << "cut to 1023 characters, so not equal";
    EXPECT_EQ(ItemText(list, 2), tooLong.substr(0, 1023));
    EXPECT_EQ(list.GetCheck(UINT(-1)), 0);
    list.SetCheck(UINT(-1), 1);
    list.SetCheck(0, 1);
    EXPECT_EQ(list.GetCheck(0), 1);
    EXPECT_EQ(list.DeleteItem(3), 0);
    EXPECT_EQ(list.GetCount(), 3u);
    EXPECT_EQ(list.DeleteItem(0), 1);
    EXPECT_EQ(list.GetCount(), 2u);
    EXPECT_EQ(SendMessageW(list.Hwnd(), LVM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(ItemText(list, 0), u"changed");
}

TEST(ListKeys, SelectTogglesTheCheckBoxRepaintsOnlyItAndMovesOn) {
    ListScreen screen(0);
    TestList& list = screen.list;
    list.AddItemForCheck(u"first", 0, 0);
    list.AddItemForCheck(u"second", 0, 0);
    screen.Select(0);
    // The Select press invalidates only the box; the move it posts reaches the list view afterwards.
    int passOn = 1;
    EXPECT_EQ(list.OnWndProc(WM_KEYDOWN, VK_F3, 0, &passOn), 1);
    EXPECT_EQ(passOn, 1);
    RECT update = {};
    GetUpdateRect(list.Hwnd(), &update, FALSE);
    EXPECT_EQ(Box(update), Box({0, 0, 30, 26}));
    cehost::sim::RunFor(20);
    EXPECT_EQ(list.GetCheck(0), 1);
    EXPECT_EQ(list.GetSelect(), 1) << "moved on";
    screen.Select(0);
    Press(VK_F3);
    EXPECT_EQ(list.GetCheck(0), 0) << "a second Select unchecks";
    EXPECT_EQ(list.GetSelect(), 1);
    EXPECT_TRUE(screen.host.Only(WM_COMMAND).empty());
}

TEST(ListKeys, HotKeysSelectTheFirstMatchingRowCaseSensitivelyAndDirectModeReportsAtTheRelease) {
    ListScreen screen(0);
    TestList& list = screen.list;
    list.AddItemForChar(u"upper", u'A');
    list.AddItemForChar(u"seven", u'7');
    list.AddItemForChar(u"again", u'7');
    list.AddItem(3, 2, 0, 0, u'#', 9960, 9960, 9008, 9009, 0x969696, 0xFFFFFF, u"sharp in slot 2");
    EXPECT_EQ(std::tuple(list.GetHotKeyPos(u'a'), list.GetHotKeyPos(u'A'), list.GetHotKeyPos(u'7')),
              std::tuple(-1, 0, 1));
    EXPECT_EQ(std::tuple(list.IsExistChar(0, u"abc"), list.IsExistChar(u'b', nullptr),
                         list.IsExistChar(u'c', u"abc")),
              std::tuple(0, 0, 1));
    // The answer and the pass-on flag: a row's key is taken; others are accepted but carried by no row.
    for (auto [key, answer, passOn] : {std::tuple{u'#', 0L, 0}, {u'€', 1L, 1}, {u'z', 1L, 1}}) {
        int flag = 1;
        EXPECT_EQ((std::tuple{list.OnWndProc(WM_CHAR, key, 0, &flag), flag}), std::tuple(answer, passOn))
            << int(key);
        cehost::sim::RunFor(20);
        EXPECT_EQ(list.GetSelect(), 3);
    }
    int passOn = 1;
    EXPECT_TRUE(screen.host.Only(WM_COMMAND).empty());
    list.SetDirectMode();
    list.OnWndProc(WM_CHAR, u'7', 0, &passOn);
    cehost::sim::RunFor(20);
    EXPECT_EQ(list.GetSelect(), 1);
    EXPECT_EQ(screen.host.Only(WM_COMMAND).size(), 1u);
    // In direct mode Select reports the row once, at the release, and neither moves nor checks.
    screen.host.seen.clear();
    Hold(VK_F3);
    EXPECT_TRUE(screen.host.Only(WM_COMMAND).empty());
    KeyUp(VK_F3);
    cehost::sim::RunFor(20);
    EXPECT_EQ(screen.host.Only(WM_COMMAND), (std::vector<Posted>{{WM_COMMAND, MAKEWPARAM(kListId, 0), 0}}));
    EXPECT_EQ(std::tuple(list.GetSelect(), list.GetCheck(1)), std::tuple(1, 0));
}

// Every repaint of the selected row announces it. (The rows' looks are pinned by the golden screenshots,
// their GDI balance by the soak.)
TEST(ListDrawing, ADerivedListChoosesTheTextColourAndRepaintsAnnounce) {
    ListScreen screen(2);
    screen.list.userColour = 0xAAAAAA;
    screen.list.userRow = 0;
    screen.Select(1);
    HWND hwnd = screen.list.Hwnd();
    auto repaint = [hwnd] {
        InvalidateRect(hwnd, nullptr, TRUE);
        Settle();
    };
    repaint();
    repaint();
    EXPECT_EQ(screen.host.Only(LXM_SELCHANGE), (std::vector<Posted>(2, {LXM_SELCHANGE, 1, L(hwnd)})));
    EXPECT_TRUE(Near(Brightest(hwnd, {0, 1, 120, 25}), RGB(0xAA, 0xAA, 0xAA)));
    EXPECT_TRUE(Near(Brightest(hwnd, {0, 27, 120, 51}), RGB(255, 255, 255)));
    screen.Select(0);
    repaint();
    EXPECT_TRUE(Near(Brightest(hwnd, {0, 1, 120, 25}), RGB(0xAA, 0xAA, 0xAA))) << "selected";
    EXPECT_TRUE(Near(Brightest(hwnd, {0, 27, 120, 51}), RGB(0x96, 0x96, 0x96)));
}

} // namespace
