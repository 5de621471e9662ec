// The notebook's list of notes on a real main window: Select opens a note instead of ticking it, a hot key
// names its row before the list has repainted, the star key's toggle ticks and dims a row, and only the
// first nine rows carry a key.
#include "ControlsTestSupport.h"

#include "NoteList.h"

using lxtest::Host;
using lxtest::Press;
using lxtest::Settle;

namespace {

constexpr UINT kListId = 7;

struct ListScreen {
    Host host{u"NoteListHost"};
    NoteList list;

    explicit ListScreen(int notes) {
        EXPECT_TRUE(host.Start());
        host.list = &list;
        RECT r = {0, 0, 240, 26 * 6};
        list.CreateList(host.m_hWnd, nullptr, kListId, &r, NoteList::kRowHeight);
        list.SetDirectMode();
        for (int i = 0; i < notes; ++i) {
            Note note;
            note.title = u"note " + std::u16string(1, char16_t(u'A' + i));
            note.done = i == 1;
            list.AddNote(note);
        }
        list.SetFocus();
        list.SetSelect(0);
        cehost::sim::RunFor(20);
    }
    std::vector<lxtest::Posted> Commands() const { return host.Only(WM_COMMAND); }
};

TEST(NoteList, SelectOpensTheRowWithoutTickingIt) {
    ListScreen screen(3);
    Press(VK_DOWN);
    Press(VK_DOWN);
    ASSERT_EQ(screen.list.GetSelect(), 2);
    Press(VK_F3);
    ASSERT_EQ(screen.Commands().size(), 1u);
    EXPECT_EQ(LOWORD(screen.Commands()[0].wParam), kListId);
    EXPECT_EQ(screen.list.ChosenRow(), 2);
    EXPECT_EQ(screen.list.GetSelect(), 2) << "Select must not move on";
    EXPECT_EQ(screen.list.GetCheck(2), 0);
    EXPECT_EQ(screen.list.GetCheck(1), 1);
}

TEST(NoteList, AHotKeyNamesItsRowBeforeTheListRepaints) {
    ListScreen screen(10);
    EXPECT_TRUE(screen.list.HotKey(u'4'));
    // The report is already on its way while the list still believes the old row is selected.
    EXPECT_EQ(screen.list.ChosenRow(), 3);
    Settle();
    ASSERT_EQ(screen.Commands().size(), 1u);
    cehost::sim::RunFor(20);
    EXPECT_EQ(screen.list.GetSelect(), 3);
    EXPECT_TRUE(screen.list.HotKey(u'9'));
    EXPECT_EQ(screen.list.ChosenRow(), 8);
    // The tenth row has a blank gap instead of a key, and no key reaches past the ninth.
    EXPECT_FALSE(screen.list.HotKey(u'0'));
    EXPECT_FALSE(screen.list.HotKey(u'a'));
    EXPECT_EQ(screen.list.ChosenRow(), 8);
}

TEST(NoteList, ToggleDoneTicksAndClearsTheSelectedRowAndDimsItsTitle) {
    ListScreen screen(3);
    const RECT firstTitle = {90, 2, 240, 24};
    const COLORREF before = lxtest::Brightest(screen.host.m_hWnd, firstTitle);
    EXPECT_EQ(screen.list.ToggleDone(), 1);
    EXPECT_EQ(screen.list.GetCheck(0), 1);
    Settle();
    const COLORREF ticked = lxtest::Brightest(screen.host.m_hWnd, firstTitle);
    EXPECT_LT(GetGValue(ticked), GetGValue(before)) << "a done note's title is drawn dimmer";
    EXPECT_EQ(screen.list.ToggleDone(), 0);
    Settle();
    EXPECT_EQ(lxtest::Brightest(screen.host.m_hWnd, firstTitle), before);
    ListScreen empty(0);
    EXPECT_EQ(empty.list.ToggleDone(), -1) << "without rows nothing is toggled";
}

} // namespace
