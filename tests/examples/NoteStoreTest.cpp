// The notebook's storage: notes through the record database (samples on a fresh table, bodies longer than a
// field, the done flag) and settings through the registry (first choices, damaged values, the done key's code);
// and its list of notes on a real main window: a hot key names its row before the list has repainted, only the
// first nine rows carry a key, and the done toggle needs a row.
#include "ControlsTestSupport.h"
#include "TestFolder.h"

#include "LxRegistry.h"
#include "NoteList.h"
#include "NoteStore.h"
#include "NotebookSettings.h"

#include <string>
#include <tuple>
#include <vector>

namespace {

class NotebookStorage : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("LXEDB_DIR", folder_.Path().c_str(), 1);
        setenv("CEHOST_REGISTRY", folder_.File("registry.db").c_str(), 1);
    }
    TestFolder folder_;
};

// A note's fields as one value, or a mark when it does not read back.
std::tuple<std::u16string, std::u16string, bool> Read(NoteStore& store, UINT index) {
    Note note;
    if (!store.Read(index, note)) return {u"<unreadable>", u"", false};
    return {note.title, note.body, note.done};
}

TEST_F(NotebookStorage, AFreshTableGetsTheSamplesOnceAndOnlyWhenEmpty) {
    {
        NoteStore store;
        ASSERT_TRUE(store.Open(false, nullptr));
        EXPECT_TRUE(store.SeedIfEmpty());
        EXPECT_GT(store.Count(), 3);
        EXPECT_FALSE(store.SeedIfEmpty()) << "a second start must not add the samples again";
    }
    NoteStore again;
    ASSERT_TRUE(again.Open(false, nullptr));
    const long count = again.Count();
    EXPECT_FALSE(again.SeedIfEmpty());
    EXPECT_EQ(again.Count(), count);
    // Deleting every note by hand leaves an empty table that stays empty until the next start.
    while (again.Count() > 0) ASSERT_TRUE(again.Remove(0));
    EXPECT_EQ(again.Count(), 0);
}

TEST_F(NotebookStorage, NotesKeepTitleBodyAndDoneThroughWritesAndReopening) {
    // A body longer than one field, with Korean text and line breaks, is cut and joined again unchanged.
    std::u16string body;
    for (int i = 0; i < 40; ++i) body += u"줄 " + std::u16string(1, char16_t(u'0' + i % 10)) + u" line\r\n";
    ASSERT_GT(body.size(), size_t(EDB_TEXT_MAX) * 2);
    {
        NoteStore store;
        ASSERT_TRUE(store.Open(false, nullptr));
        ASSERT_TRUE(store.Add({u"긴 메모", body, false}));
        ASSERT_TRUE(store.Add({u"empty body", u"", true}));
        ASSERT_TRUE(store.SetDone(0, true));
        ASSERT_TRUE(store.Update(1, {u"renamed", u"short", false}));
    }
    NoteStore store;
    ASSERT_TRUE(store.Open(false, nullptr));
    ASSERT_EQ(store.Count(), 2);
    EXPECT_EQ(Read(store, 0), std::tuple(std::u16string(u"긴 메모"), body, true));
    EXPECT_EQ(Read(store, 1), std::tuple(std::u16string(u"renamed"), std::u16string(u"short"), false));
    // Shrinking a long body drops the fields it no longer needs.
    ASSERT_TRUE(store.Update(0, {u"긴 메모", u"x", true}));
    EXPECT_EQ(std::get<1>(Read(store, 0)), u"x");
}

TEST_F(NotebookStorage, NotesThatDoNotFitARecordAreRefusedAndNothingIsWritten) {
    NoteStore store;
    ASSERT_TRUE(store.Open(false, nullptr));
    EXPECT_FALSE(store.Add({std::u16string(EDB_TEXT_MAX, u'a'), u"", false}));
    EXPECT_FALSE(store.Add({u"t", std::u16string(NoteStore::kBodyCapacity + 1, u'b'), false}));
    EXPECT_EQ(store.Count(), 0);
    EXPECT_TRUE(store.Add({u"t", std::u16string(NoteStore::kBodyCapacity, u'b'), false}));
    EXPECT_FALSE(store.Update(0, {u"t", std::u16string(NoteStore::kBodyCapacity + 1, u'c'), false}));
    EXPECT_EQ(std::get<1>(Read(store, 0)), std::u16string(NoteStore::kBodyCapacity, u'b'));
    Note note;
    EXPECT_FALSE(store.Read(5, note));
    EXPECT_FALSE(store.Remove(5));
    EXPECT_FALSE(store.SetDone(5, true));
}

// The defaults and a saved choice are pinned by the notebook's settings script; the first choice of each
// setting is stored too, not left to look like a missing value; the done key is stored as its key code.
TEST_F(NotebookStorage, TheFirstChoicesAndTheDoneKeysCodeAreStored) {
    NotebookSettings first;
    for (bool choice : {false, true}) {
        first.sortByTitle = !choice;
        first.theme = choice ? 0 : 2;
        first.rotation = choice ? 0 : 3;
        ASSERT_TRUE(first.Save());
    }
    NotebookSettings back;
    back.sortByTitle = true;
    back.theme = 1;
    back.Load();
    EXPECT_EQ(std::tuple(back.sortByTitle, back.theme, back.Orientation()), std::tuple(false, 0, 0));
    for (const DoneKey& key : NotebookSettings::kDoneKeys) {
        NotebookSettings settings;
        settings.doneKey = key.code;
        ASSERT_TRUE(settings.Save());
        // The registry holds the code the keypad sends, not the chooser's position.
        LxRegistry registry;
        EXPECT_EQ(registry.GetInteger(HKEY_CURRENT_USER, u"Software\\Notebook", u"DoneKey"), key.code);
        NotebookSettings loaded;
        loaded.Load();
        EXPECT_EQ(std::tuple(loaded.doneKey, NotebookSettings::kDoneKeys[loaded.DoneKeyChoice()].code),
                  std::tuple(key.code, key.code));
    }
    EXPECT_EQ(NotebookSettings().doneKey, DWORD(VK_TSTAR)) << "the star key is the default";
}

// Damaged values read as defaults: a theme or turn out of range, a sort flag of the wrong type, and done keys
// the list does not offer (a stored 0 or a chooser position instead of a code, a key the keypad has but the
// list does not offer, a value far out of range, text).
TEST_F(NotebookStorage, DamagedOrMissingSettingsReadAsDefaults) {
    LxRegistry registry;
    auto store = [&](const WCHAR* name, DWORD value) {
        ASSERT_EQ(registry.SetInteger(HKEY_CURRENT_USER, u"Software\\Notebook", name, value), 1);
    };
    // Settings written before the done key existed: the other values are there, the key is not.
    store(u"Theme", 2);
    NotebookSettings settings;
    settings.doneKey = VK_T0;
    settings.Load();
    EXPECT_EQ(std::tuple(settings.theme, settings.doneKey), std::tuple(1, DWORD(VK_TSTAR)));
    EXPECT_EQ(std::u16string(settings.DoneKeySign()), u"*");
    store(u"Theme", 99);
    store(u"Rotation", 0xFFFFFFFFu);
    ASSERT_EQ(registry.SetString(HKEY_CURRENT_USER, u"Software\\Notebook", u"Sort", u"yes"), 1);
    NotebookSettings damaged;
    damaged.Load();
    EXPECT_EQ(std::tuple(damaged.sortByTitle, damaged.theme, damaged.Orientation()), std::tuple(false, 0, 0));
    for (DWORD code : {0u, 1u, 2u, DWORD('A'), DWORD('1'), DWORD(VK_RETURN), 0xFFFFFFFFu, VK_T0 + 0x10000u}) {
        store(u"DoneKey", code);
        settings.doneKey = VK_TPOUND;
        settings.Load();
        EXPECT_EQ(settings.doneKey, DWORD(VK_TSTAR)) << "stored " << code;
    }
    ASSERT_EQ(registry.SetString(HKEY_CURRENT_USER, u"Software\\Notebook", u"DoneKey", u"#"), 1);
    settings.doneKey = VK_TPOUND;
    settings.Load();
    EXPECT_EQ(settings.doneKey, DWORD(VK_TSTAR));
    // A code set by hand that is not offered shows as the chooser's first place.
    settings.doneKey = VK_RETURN;
    EXPECT_EQ(settings.DoneKeyChoice(), 0);
}

struct ListScreen {
    lxtest::Host host{u"NoteListHost"};
    NoteList list;
    explicit ListScreen(int notes) {
        EXPECT_TRUE(host.Start());
        host.list = &list;
        RECT r = {0, 0, 240, 26 * 6};
        list.CreateList(host.m_hWnd, nullptr, 7, &r, NoteList::kRowHeight);
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
};

// Select opening a note, hot key 4 and the star key's tick are pinned by the notebook's list script and its
// screenshots; these are the ends the script does not reach.
TEST(NoteList, HotKeysStopAtTheNinthRowAndAnEmptyListTogglesNothing) {
    ListScreen screen(10);
    EXPECT_TRUE(screen.list.HotKey(u'9'));
    // The row is named at once, before the list has repainted.
    EXPECT_EQ(screen.list.ChosenRow(), 8);
    lxtest::Settle();
    EXPECT_EQ(screen.host.Only(WM_COMMAND).size(), 1u);
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
