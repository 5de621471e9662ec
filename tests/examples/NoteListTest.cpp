// The notebook's list of notes on a real main window: a hot key names its row before the list has repainted,
// only the first nine rows carry a key, and the done toggle needs a row.
#include "ControlsTestSupport.h"

#include "NoteList.h"

using lxtest::Host;
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

// Select opening a note, hot key 4 and the star key's tick are pinned by the notebook's list script and its
// screenshots; these are the ends the script does not reach.
TEST(NoteList, HotKeysStopAtTheNinthRowAndAnEmptyListTogglesNothing) {
    ListScreen screen(10);
    EXPECT_TRUE(screen.list.HotKey(u'9'));
    // The row is named at once, before the list has repainted.
    EXPECT_EQ(screen.list.ChosenRow(), 8);
    Settle();
    EXPECT_EQ(screen.Commands().size(), 1u);
    // The tenth row has a blank gap instead of a key, and no key reaches past the ninth.
    EXPECT_FALSE(screen.list.HotKey(u'0'));
    EXPECT_FALSE(screen.list.HotKey(u'a'));
    EXPECT_EQ(screen.list.ChosenRow(), 8);
    EXPECT_EQ(screen.list.ToggleDone(), 1);
    EXPECT_EQ(screen.list.ToggleDone(), 0);
    ListScreen empty(0);
    EXPECT_EQ(empty.list.ToggleDone(), -1) << "without rows nothing is toggled";
}

} // namespace
