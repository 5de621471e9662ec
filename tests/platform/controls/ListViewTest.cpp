// The list view's owner-data, owner-draw protocol: keyboard movement without wrap-around, what a move redraws,
// scrolling, clicks and the selection state. (Measuring during creation, the rows drawn, the notifications of
// keys, Return and a shrinking count are pinned by the conformance list view case.)
#include "ControlTest.h"

#include <commctrl.h>

#include <tuple>

namespace {

constexpr int kRowHeight = 20;
constexpr int kListId = 42;

struct Drawn {
    UINT row;
    UINT state;
    bool operator==(const Drawn&) const = default;
};
struct Changed {
    int item;
    UINT newState;
    UINT oldState;
    bool operator==(const Changed&) const = default;
};

struct Owner {
    std::vector<Drawn> drawn;
    std::vector<Changed> changed;
    std::vector<UINT> notifications;
};
Owner* g_owner = nullptr;

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kRowHeight;
        return TRUE;
    case WM_DRAWITEM: {
        const auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        g_owner->drawn.push_back({dis->itemID, dis->itemState});
        return TRUE;
    }
    case WM_NOTIFY: {
        const auto* nm = reinterpret_cast<NMLISTVIEW*>(lParam); // only the header unless LVN_ITEMCHANGED
        g_owner->notifications.push_back(nm->hdr.code);
        if (nm->hdr.code == LVN_ITEMCHANGED) g_owner->changed.push_back({nm->iItem, nm->uNewState, nm->uOldState});
        return 0;
    }
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

class ListView : public ControlTest {
protected:
    void SetUp() override {
        g_owner = &owner;
        MakeParent(u"ListOwner", OwnerProc);
        // Five whole rows and a part of a sixth.
        const DWORD style = LVS_REPORT | LVS_OWNERDATA | LVS_OWNERDRAWFIXED | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                            LVS_NOCOLUMNHEADER;
        list = Child(WC_LISTVIEWW, u"", style, {0, 0, 200, 5 * kRowHeight + 7}, kListId);
        SendMessageW(list, LVM_SETITEMCOUNT, 100, 0);
        SetFocus(list);
        cehost::sim::RunUntilIdle();
        owner = {};
    }
    int Focused() { return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, -1, LVNI_FOCUSED)); }
    int Top() { return static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0)); }

    Owner owner;
    HWND list = nullptr;
};

} // namespace

// Keys move focus and selection without wrapping; page keys go to the page edge first, then a page further.
TEST_F(ListView, KeysMoveFocusAndSelectionWithoutWrapping) {
    const struct {
        BYTE key;
        int focused, top;
    } steps[] = {{VK_DOWN, 0, 0}, // no focused row yet: the first row
                 {VK_DOWN, 1, 0},   {VK_UP, 0, 0},     {VK_UP, 0, 0}, {VK_END, 99, 95}, {VK_DOWN, 99, 95},
                 {VK_HOME, 0, 0},   {VK_NEXT, 4, 0},   // the last whole visible row
                 {VK_NEXT, 8, 4},   {VK_PRIOR, 4, 4},  // the top row first
                 {VK_PRIOR, 0, 0},  {VK_PRIOR, 0, 0}};
    for (const auto& step : steps) {
        Key(step.key);
        EXPECT_EQ(std::pair(Focused(), Top()), std::pair(step.focused, step.top)) << "key " << int(step.key);
    }
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageW(list, LVM_GETITEMSTATE, 0, LVIS_SELECTED | LVIS_FOCUSED), LVIS_SELECTED | LVIS_FOCUSED);
    // Up with no focused row goes to the last one.
    LVITEMW item{};
    item.stateMask = LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
    ASSERT_EQ(Focused(), -1);
    Key(VK_UP);
    EXPECT_EQ(Focused(), 99);
}

TEST_F(ListView, MovingReportsEachStateChangeAndRedrawsTwoRows) {
    Key(VK_DOWN);
    Key(VK_DOWN);
    owner = {};
    Key(VK_DOWN);
    // The owner-data list says once that every row lost the selection, then moves the focus.
    const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
    EXPECT_EQ(owner.changed, (std::vector<Changed>{{-1, 0, LVIS_SELECTED}, {1, 0, LVIS_FOCUSED}, {2, both, 0}}));
    EXPECT_EQ(owner.notifications.front(), UINT(LVN_KEYDOWN));
    EXPECT_EQ(owner.drawn, (std::vector<Drawn>{{1, 0}, {2, ODS_SELECTED | ODS_FOCUS}}));
    // The focus flag follows the keyboard focus.
    SetFocus(parent);
    owner = {};
    InvalidateRect(list, nullptr, TRUE);
    cehost::sim::RunUntilIdle();
    ASSERT_EQ(owner.drawn.size(), 6u);
    EXPECT_EQ(owner.drawn[2].state, UINT(ODS_SELECTED));
}

TEST_F(ListView, EnsureVisibleScrollsMinimally) {
    // Row 5 is partly visible: enough when that is allowed.
    const std::tuple<int, BOOL, int> rows[] = {{5, TRUE, 0}, {5, FALSE, 1}, {50, FALSE, 46}, {10, FALSE, 10}};
    for (const auto& [row, partly, top] : rows) {
        EXPECT_TRUE(SendMessageW(list, LVM_ENSUREVISIBLE, row, partly)) << row;
        EXPECT_EQ(Top(), top) << row;
    }
    EXPECT_FALSE(SendMessageW(list, LVM_ENSUREVISIBLE, 100, FALSE));
    RECT rc{LVIR_BOUNDS, 0, 0, 0};
    EXPECT_TRUE(SendMessageW(list, LVM_GETITEMRECT, 12, reinterpret_cast<LPARAM>(&rc)));
    EXPECT_EQ(rc.top, 2 * kRowHeight);
}

TEST_F(ListView, ClickSelectsTheRowUnderTheStylus) {
    SetFocus(parent);
    cehost::sim::Tap(10, 3 * kRowHeight + 5);
    cehost::sim::RunUntilIdle();
    EXPECT_EQ(GetFocus(), list);
    EXPECT_EQ(Focused(), 3);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED), 3);
    EXPECT_EQ(owner.notifications.back(), UINT(NM_CLICK));
}

// (What a shrinking count leaves of the focus, the selection and the top row is pinned by the conformance case.)
TEST_F(ListView, SetItemStateKeepsOneSelection) {
    LVITEMW item{};
    item.state = item.stateMask = LVIS_SELECTED;
    SendMessageW(list, LVM_SETITEMSTATE, 7, reinterpret_cast<LPARAM>(&item));
    SendMessageW(list, LVM_SETITEMSTATE, 9, reinterpret_cast<LPARAM>(&item)); // single selection: 7 is dropped
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 1);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, -1, LVNI_SELECTED), 9);
    item.state = 0;
    owner = {};
    EXPECT_TRUE(SendMessageW(list, LVM_SETITEMSTATE, -1, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(owner.changed, (std::vector<Changed>{{-1, 0, LVIS_SELECTED}}));
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 0);
    item.state = LVIS_SELECTED;
    EXPECT_FALSE(SendMessageW(list, LVM_SETITEMSTATE, -1, reinterpret_cast<LPARAM>(&item)))
        << "a single-selection list cannot select every row";
}

TEST_F(ListView, ExtendedStylesAndColumns) {
    EXPECT_EQ(SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT), 0);
    EXPECT_EQ(SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_GRIDLINES, LVS_EX_GRIDLINES),
              LVS_EX_FULLROWSELECT);
    EXPECT_EQ(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    LVCOLUMNW column{};
    column.mask = LVCF_WIDTH;
    column.cx = 200;
    EXPECT_EQ(SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column)), 0);
    column.cx = 40;
    EXPECT_EQ(SendMessageW(list, LVM_INSERTCOLUMNW, 5, reinterpret_cast<LPARAM>(&column)), 1);
    EXPECT_EQ(SendMessageW(list, LVM_INSERTCOLUMNW, 0, 0), -1);
    RECT rc{};
    SendMessageW(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rc));
    EXPECT_EQ(rc.right, 240) << "the row spans every column";
}
