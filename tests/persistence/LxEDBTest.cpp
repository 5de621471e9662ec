// LxEDB over the real record database, and the calls it makes into it. This program defines the EDB_*
// functions itself: they record each call, can be told to fail, and otherwise hand the call on to the real
// library.
#include "TestFolder.h"

#include "LxEDB.h"

#include <dlfcn.h>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Call {
    std::string name;
    DWORD handle = 0;
    long long arg = 0; // the flag, index, identifier or count that matters for each call
    bool operator==(const Call&) const = default;
};

std::vector<Call> g_calls;
int g_failCloseDB = 0; // how many coming EDB_CloseDB calls answer 0 without closing
int g_failInitDB = 0;

template <typename F> F Real(const char* name) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const Call& call : g_calls) names.push_back(call.name);
    return names;
}

} // namespace

extern "C" {

// Each records its call as {name without "EDB_", handle, `arg`} and hands it on to the real library.
#define LX_FORWARD(ret, name, params, args, arg)                                                               \
    ret EDB_##name params {                                                                                    \
        g_calls.push_back({#name, db, (long long)(arg)});                                                      \
        return Real<decltype(&EDB_##name)>("EDB_" #name) args;                                                 \
    }
DWORD EDB_CreateInfo(const WCHAR* volume, const WCHAR* table, int flag) {
    DWORD db = Real<decltype(&EDB_CreateInfo)>("EDB_CreateInfo")(volume, table, flag);
    g_calls.push_back({"CreateInfo", db, flag});
    return db;
}
int EDB_InitDB(DWORD db) {
    g_calls.push_back({"InitDB", db, 0});
    if (g_failInitDB > 0) return --g_failInitDB, 0;
    return Real<decltype(&EDB_InitDB)>("EDB_InitDB")(db);
}
int EDB_CloseDB(DWORD db) {
    g_calls.push_back({"CloseDB", db, 0});
    if (g_failCloseDB > 0) return --g_failCloseDB, 0;
    return Real<decltype(&EDB_CloseDB)>("EDB_CloseDB")(db);
}
LX_FORWARD(int, OpenDB, (DWORD db), (db), 0)
LX_FORWARD(int, OpenDBWithNoti, (DWORD db, HWND notify), (db, notify), 0)
LX_FORWARD(long, GetTotalRecCount, (DWORD db), (db), 0)
LX_FORWARD(DWORD, AddRec, (DWORD db, const _LxEDBREC* fields, UINT count), (db, fields, count), count)
LX_FORWARD(DWORD, ReadRec, (DWORD db, UINT index, _LxEDBREC* fields), (db, index, fields), index)
LX_FORWARD(int, EditRec, (DWORD db, DWORD id, const _LxEDBREC* fields, UINT count), (db, id, fields, count), id)
LX_FORWARD(int, DeleteRec, (DWORD db, UINT index), (db, index), index)
LX_FORWARD(int, DeleteAllRec, (DWORD db), (db), 0)

} // extern "C"

namespace {

LxEDBREC Text(const std::u16string& text) {
    LxEDBREC f{};
    f.dwPropId = 1;
    f.wType = EDB_FIELD_TEXT;
    std::memcpy(f.szVal, text.c_str(), (text.size() + 1) * 2);
    return f;
}

class LxEDBTest : public ::testing::Test {
protected:
    void SetUp() override { setenv("LXEDB_DIR", folder_.Path().c_str(), 1); }
    static std::vector<std::u16string> Texts(LxEDB& db) {
        std::vector<std::u16string> out;
        for (long i = 0; i < db.GetCount(); ++i) {
            LxEDBREC fields[EDB_MAX_FIELDS];
            out.push_back(db.GetRecord(fields, UINT(i)) ? std::u16string(fields[0].szVal) : u"<unreadable>");
        }
        return out;
    }
    static void Add(LxEDB& db, const std::u16string& text) {
        LxEDBREC f = Text(text);
        ASSERT_NE(db.AddRecord(&f, 1), 0);
    }
    TestFolder folder_;
};

using LxEDBCalls = LxEDBTest;

TEST_F(LxEDBTest, AClosedObjectAnswersZeroToEverythingAndOverlongNamesAreRefused) {
    LxEDB db;
    EXPECT_EQ(db.IsOpen(), 0);
    LxEDBREC f = Text(u"x");
    for (long answer : {db.GetCount(), long(db.AddRecord(&f, 1)), long(db.GetRecord(&f, 0)), long(db.SetRecord(&f, 0, 1)),
                        long(db.DeleteRecord(0)), long(db.DeleteAll()), long(db.Open())})
        EXPECT_EQ(answer, 0);
    db.Close();
    EXPECT_EQ(db.IsOpen(), 0);
    // Overlong names are refused, not cut.
    std::u16string longName(1024, u't');
    LxEDB cutTable(u"v", longName.substr(0, 1023).c_str(), 0);
    ASSERT_EQ(cutTable.Open(), 1);
    Add(cutTable, u"in the 1023-character table");
    LxEDB named(u"v", longName.c_str(), 0);
    EXPECT_EQ((std::tuple{named.Open(), named.IsOpen()}), std::tuple(0, 0));
    EXPECT_EQ(named.Open(longName.c_str(), u"t", 0), 0);
    named.SetTableName(u"t");
    EXPECT_EQ(named.Open(), 0) << "the volume name was refused";
    named.SetVolumeName(u"v");
    EXPECT_EQ(named.Open(), 1);
}

TEST_F(LxEDBTest, SettersReopenAnOpenTableCopiesShareItAndClosingTwiceIsHarmless) {
    LxEDB db;
    ASSERT_EQ(db.Open(u"v", u"names", 1), 1); // sorted
    Add(db, u"b");
    Add(db, u"a");
    EXPECT_EQ(Texts(db), (std::vector<std::u16string>{u"a", u"b"}));
    db.SetSort(0);
    EXPECT_EQ(Texts(db), (std::vector<std::u16string>{u"b", u"a"}));
    db.SetTableName(u"other");
    EXPECT_EQ(std::tuple(db.IsOpen(), db.GetCount()), std::tuple(1, 0L));
    db.SetVolumeName(u"second volume");
    Add(db, u"elsewhere");
    db.SetVolumeName(u"v");
    EXPECT_EQ(db.GetCount(), 0);
    db.SetTableName(u"names");
    EXPECT_EQ(db.GetCount(), 2);
    // Setters on a closed object only store.
    db.Close();
    db.SetSort(1);
    EXPECT_EQ(db.IsOpen(), 0);
    ASSERT_EQ(db.Open(), 1);
    EXPECT_EQ(Texts(db), (std::vector<std::u16string>{u"a", u"b"}));
    // Copies share the table, and closing twice is harmless.
    auto original = std::make_unique<LxEDB>(u"v", u"t", 0);
    ASSERT_EQ(original->Open(), 1);
    Add(*original, u"shared");
    {
        LxEDB copy(*original);
        EXPECT_EQ(copy.IsOpen(), 1);
        EXPECT_EQ(Texts(copy), std::vector<std::u16string>{u"shared"});
        LxEDB assigned;
        assigned = copy;
        Add(assigned, u"via assignment");
        EXPECT_EQ(original->GetCount(), 2);
    } // both copies close the shared table
    EXPECT_EQ(original->IsOpen(), 1) << "this object still holds the handle";
    EXPECT_EQ(original->GetCount(), 0) << "but the table behind it is closed";
    original->Close();
    EXPECT_EQ(original->IsOpen(), 0);
    original.reset();
    LxEDB reopened(u"v", u"t", 0);
    ASSERT_EQ(reopened.Open(), 1);
    EXPECT_EQ(Texts(reopened), (std::vector<std::u16string>{u"shared", u"via assignment"}));
}

// Opening names the table, initialises and opens it; a change of sort closes and reopens with the flag
// for it (1 for sort 0, else 0).
TEST_F(LxEDBCalls, OpenSortChangesAndRecordCallsInOrder) {
    LxEDB db(u"v", u"t", 1);
    ASSERT_EQ(db.Open(), 1);
    ASSERT_EQ(g_calls.size(), 3u);
    const DWORD first = g_calls[0].handle;
    EXPECT_NE(first, 0u);
    EXPECT_EQ(g_calls, (std::vector<Call>{{"CreateInfo", first, 0}, {"InitDB", first, 0}, {"OpenDB", first, 0}}));
    g_calls.clear();
    db.SetSort(0);
    ASSERT_EQ(g_calls.size(), 4u);
    const DWORD second = g_calls[1].handle;
    EXPECT_EQ(g_calls, (std::vector<Call>{
                           {"CloseDB", first, 0}, {"CreateInfo", second, 1}, {"InitDB", second, 0}, {"OpenDB", second, 0}}));
    g_calls.clear();
    db.SetSort(5);
    ASSERT_GE(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[1], (Call{"CreateInfo", g_calls[1].handle, 0}));
    // SetRecord reads first and edits only a record that exists.
    LxEDB records(u"v", u"t", 0);
    ASSERT_EQ(records.Open(), 1);
    LxEDBREC field = Text(u"a");
    DWORD id = DWORD(records.AddRecord(&field, 1));
    ASSERT_NE(id, 0u);
    g_calls.clear();
    EXPECT_EQ(records.SetRecord(&field, 1, 1), 0);
    EXPECT_EQ(Names(), std::vector<std::string>{"ReadRec"});
    g_calls.clear();
    EXPECT_EQ(records.SetRecord(&field, 0, 1), 1);
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(std::tuple(g_calls[1].name, g_calls[1].arg), std::tuple(std::string("EditRec"), (long long)id))
        << "the edit names the record by its identifier";
    // DeleteRecord refuses indices from the count on without asking the library.
    g_calls.clear();
    EXPECT_EQ(records.DeleteRecord(UINT(records.GetCount())), 0);
    EXPECT_EQ(records.DeleteRecord(0x80000000u), 0);
    for (const Call& call : g_calls) EXPECT_NE(call.name, "DeleteRec");
}

// A failed initialisation closes and reports failure; a failed close leaves the object open.
TEST_F(LxEDBCalls, FailuresOfTheLibrary) {
    LxEDB failing(u"v", u"t", 1);
    g_failInitDB = 1;
    EXPECT_EQ(failing.Open(), 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{"CreateInfo", "InitDB", "CloseDB"}));
    EXPECT_EQ(failing.IsOpen(), 0);
    g_calls.clear();
    auto db = std::make_unique<LxEDB>(u"v", u"t", 0);
    ASSERT_EQ(db->Open(), 1);
    DWORD handle = g_calls[0].handle;
    g_failCloseDB = 1;
    db->Close();
    EXPECT_EQ(db->IsOpen(), 1);
    EXPECT_GE(db->GetCount(), 0);
    // Destroying it tries again, with the same handle.
    g_calls.clear();
    g_failCloseDB = 1;
    db.reset();
    EXPECT_EQ(g_calls, (std::vector<Call>{{"CloseDB", handle, 0}}));
}

HWND MakeNotifiedWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"LxEDBNotified";
    RegisterClassW(&wc);
    return CreateWindowExW(0, u"LxEDBNotified", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

TEST_F(LxEDBCalls, ALiveWindowIsRegisteredByOpeningTheTableOnceMoreAndNoOtherIs) {
    HWND hwnd = MakeNotifiedWindow();
    ASSERT_NE(hwnd, nullptr);
    LxEDB db(u"v", u"t", 0);
    ASSERT_EQ(db.Open(), 1);
    DWORD first = g_calls[0].handle;
    g_calls.clear();
    db.SetNotify(hwnd);
    ASSERT_EQ(g_calls.size(), 6u);
    DWORD second = g_calls[1].handle;
    EXPECT_EQ(g_calls, (std::vector<Call>{{"CloseDB", first, 0}, {"CreateInfo", second, 1},
                                          {"InitDB", second, 0}, {"OpenDB", second, 0}, {"CloseDB", second, 0},
                                          {"OpenDBWithNoti", second, 0}}));
    EXPECT_EQ(db.IsOpen(), 1); // what the window then hears is the record database's own notification
    // A handle that is no window, or a destroyed one, opens without notification; a closed object only stores.
    HWND destroyed = MakeNotifiedWindow();
    ASSERT_TRUE(DestroyWindow(destroyed));
    for (HWND notify : {reinterpret_cast<HWND>(0x4242), destroyed}) {
        g_calls.clear();
        LxEDB db(u"v", u"t", 1);
        db.SetNotify(notify);
        EXPECT_TRUE(g_calls.empty());
        ASSERT_EQ(db.Open(), 1);
        g_calls.clear();
        db.SetNotify(notify);
        EXPECT_EQ(Names(), (std::vector<std::string>{"CloseDB", "CreateInfo", "InitDB", "OpenDB"}));
        EXPECT_EQ(db.IsOpen(), 1);
    }
}

} // namespace
