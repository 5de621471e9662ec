// The record database: handles, records, sort orders, identifiers, durability, volume files, change
// notifications through the real queue, and damaged volumes and storage faults made beneath SQLite.
#include "StorageFaults.h"

#include <LxEDBApi.h>

#include <sqlite3.h>

#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <vector>

namespace {

LxEDBREC IntField(DWORD prop, INT32 value) {
    LxEDBREC f{prop, EDB_FIELD_INT, 0, {}};
    f.iVal = value;
    return f;
}
LxEDBREC TextField(DWORD prop, const std::u16string& text) {
    LxEDBREC f{prop, EDB_FIELD_TEXT, 0, {}};
    std::memcpy(f.szVal, text.c_str(), (text.size() + 1) * 2);
    return f;
}
LxEDBREC TimeField(DWORD prop, uint64_t ticks) {
    LxEDBREC f{prop, EDB_FIELD_TIME, 0, {}};
    f.ftVal = FILETIME{DWORD(ticks), DWORD(ticks >> 32)};
    return f;
}

struct Posted {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Posted&) const = default;
};
std::vector<Posted> g_received;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= EDBM_RECORDADDED && message <= EDBM_RECORDDELETED)
        g_received.push_back({hwnd, message, wParam, lParam});
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class Edb : public ::testing::Test {
protected:
    void SetUp() override { setenv("LXEDB_DIR", folder_.Path().c_str(), 1); }
    // A handle of an initialised table, opened unless `open` is false.
    DWORD Open(const char16_t* volume, const char16_t* table, int flag, bool open = true) {
        DWORD db = EDB_CreateInfo(volume, table, flag);
        EXPECT_NE(db, 0u);
        EXPECT_EQ(EDB_InitDB(db), 1);
        EXPECT_EQ(open ? EDB_OpenDB(db) : 1, 1);
        return db;
    }
    // A window that records the record database's notifications in g_received.
    static HWND MakeWindow() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = RecordingProc;
        wc.lpszClassName = u"EdbNotifyTest";
        RegisterClassW(&wc);
        HWND hwnd = CreateWindowExW(0, u"EdbNotifyTest", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                    nullptr);
        EXPECT_NE(hwnd, nullptr);
        return hwnd;
    }
    static void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    DWORD AddText(DWORD db, const std::u16string& text) {
        LxEDBREC f = TextField(1, text);
        return EDB_AddRec(db, &f, 1);
    }
    // The first field of every record, in the handle's order, as text.
    std::vector<std::u16string> Firsts(DWORD db) {
        std::vector<std::u16string> out;
        long count = EDB_GetTotalRecCount(db);
        for (long i = 0; i < count; ++i) {
            LxEDBREC fields[EDB_MAX_FIELDS];
            if (!EDB_ReadRec(db, UINT(i), fields))
                out.push_back(u"<unreadable>");
            else if (fields[0].wType == EDB_FIELD_TEXT)
                out.push_back(fields[0].szVal);
            else
                out.push_back(u"#" + std::u16string(1, char16_t(u'0' + fields[0].dwPropId)));
        }
        return out;
    }
    TestFolder folder_;
};

// Bad names and flags are refused; a table must be initialised before it opens, and open for record calls;
// closing twice and opening an open table are harmless; handles that are not, or no longer, handles fail.
TEST_F(Edb, HandlesAndTheirLifecycle) {
    const std::u16string longest(1023, u't'), tooLong(1024, u't'), longVolume(300, u'v');
    const DWORD badParameter = ERROR_INVALID_PARAMETER, badName = ERROR_INVALID_NAME;
    for (auto [volume, table, flag, error] :
         {std::tuple{static_cast<const WCHAR*>(nullptr), u"t", 0, badParameter}, {u"v", nullptr, 0, badParameter},
          {u"v", u"t", 2, badParameter}, {u"", u"t", 0, badName}, {u"v", u"", 1, badName},
          {longVolume.c_str(), u"t", 0, badName}, {u"v", tooLong.c_str(), 0, badName}}) {
        SetLastError(0);
        EXPECT_EQ(EDB_CreateInfo(volume, table, flag), 0u);
        EXPECT_EQ(GetLastError(), error) << flag;
    }
    EXPECT_NE(EDB_CreateInfo(u"v", longest.c_str(), 0), 0u);
    DWORD db = EDB_CreateInfo(u"Phone", u"Contacts", 1);
    ASSERT_NE(db, 0u);
    EXPECT_EQ(EDB_OpenDB(db), 0) << "the table does not exist before InitDB";
    ASSERT_EQ(EDB_InitDB(db), 1);
    LxEDBREC f = IntField(1, 5);
    EXPECT_EQ(EDB_AddRec(db, &f, 1), 0u) << "record calls need an open table";
    ASSERT_EQ(EDB_OpenDB(db), 1);
    EXPECT_EQ(EDB_OpenDB(db), 1);
    EXPECT_NE(EDB_AddRec(db, &f, 1), 0u);
    EXPECT_EQ(EDB_CloseDB(db), 1);
    EXPECT_EQ(EDB_CloseDB(db), 1);
    EXPECT_EQ(EDB_GetTotalRecCount(db), 0);
    ASSERT_EQ(EDB_OpenDB(db), 1) << "a closed handle opens again and finds its records";
    EXPECT_EQ(EDB_GetTotalRecCount(db), 1);
    EXPECT_EQ(EDB_CloseDB(db), 1);
    for (DWORD bogus : {0u, 1u, 0x12345u, db + 1, 0xFFFFFFFFu}) {
        EXPECT_EQ(EDB_CloseDB(bogus), 0);
        EXPECT_EQ(EDB_OpenDB(bogus), 0);
        EXPECT_EQ(EDB_GetTotalRecCount(bogus), 0);
        EXPECT_EQ(EDB_ReadRec(bogus, 0, &f), 0u);
        EXPECT_EQ(EDB_DeleteAllRec(bogus), 0);
    }
    // Many handles later the closed one is forgotten; closing it again still does no harm.
    for (int i = 0; i < 100; ++i) ASSERT_EQ(EDB_CloseDB(EDB_CreateInfo(u"Phone", u"Contacts", 0)), 1);
    EXPECT_EQ(EDB_CloseDB(db), 0);
    EXPECT_EQ(EDB_OpenDB(db), 0);
}

TEST_F(Edb, RecordsComeBackFieldForField) {
    DWORD db = Open(u"v", u"t", 1);
    LxEDBREC in[3] = {TextField(10, u"김철수"), IntField(11, -42), TimeField(12, 0x01D9000012345678ull)};
    DWORD id = EDB_AddRec(db, in, 3);
    ASSERT_NE(id, 0u);
    EXPECT_EQ(EDB_GetRecFieldCount(db, 0), 3u);
    LxEDBREC out[EDB_MAX_FIELDS];
    std::memset(out, 0xCC, sizeof(out));
    ASSERT_EQ(EDB_ReadRec(db, 0, out), id);
    EXPECT_EQ(std::tuple(out[0].dwPropId, out[0].wType, std::u16string(out[0].szVal)),
              std::tuple(DWORD(10), WORD(EDB_FIELD_TEXT), std::u16string(u"김철수")));
    EXPECT_EQ(std::tuple(out[1].dwPropId, out[1].wType, out[1].iVal),
              std::tuple(DWORD(11), WORD(EDB_FIELD_INT), -42));
    EXPECT_EQ(std::tuple(out[2].wType, out[2].ftVal.dwHighDateTime, out[2].ftVal.dwLowDateTime),
              std::tuple(WORD(EDB_FIELD_TIME), DWORD(0x01D90000), DWORD(0x12345678)));
    EXPECT_EQ(static_cast<unsigned char>(reinterpret_cast<char*>(&out[3])[0]), 0xCC)
        << "nothing is written past the record's fields";
    // The longest text that fits: 125 units and the terminator.
    const std::u16string longest(EDB_TEXT_MAX - 1, u'x');
    ASSERT_NE(AddText(db, longest), 0u);
    EXPECT_EQ(Firsts(db).back(), longest);
}

// Refused records change nothing, whatever the refusal (the fuzzer runs every kind against a model); a text
// field must hold its terminator.
TEST_F(Edb, BadRecordsAndIndicesGiveZeroAndStoreNothing) {
    DWORD db = Open(u"v", u"t", 0);
    LxEDBREC good = IntField(1, 1);
    const DWORD id = EDB_AddRec(db, &good, 1);
    ASSERT_NE(id, 0u);
    LxEDBREC unterminated = IntField(1, 0);
    unterminated.wType = EDB_FIELD_TEXT;
    for (auto& unit : unterminated.szVal) unit = u'z';
    std::vector<LxEDBREC> tooMany(EDB_MAX_FIELDS + 1, good);
    EXPECT_EQ(EDB_AddRec(db, &unterminated, 1), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(EDB_AddRec(db, tooMany.data(), UINT(tooMany.size())), 0u);
    EXPECT_NE(EDB_AddRec(db, tooMany.data(), EDB_MAX_FIELDS), 0u);
    LxEDBREC out[EDB_MAX_FIELDS];
    EXPECT_EQ(EDB_ReadRec(db, 2, out), 0u);
    EXPECT_EQ(EDB_EditRec(db, id, &unterminated, 1), 0);
    ASSERT_EQ(EDB_ReadRec(db, 0, out), id);
    EXPECT_EQ(out[0].iVal, 1) << "a refused edit leaves the record as it was";
    EXPECT_EQ(EDB_GetTotalRecCount(db), 2);
}

TEST_F(Edb, FlagZeroSortsByTheFirstFieldThenByKindAndFlagOneKeepsTheOrderAdded) {
    DWORD added = Open(u"v", u"names", 1);
    DWORD sorted = Open(u"v", u"NAMES", 0); // table names ignore case
    for (const char16_t* name : {u"delta", u"Bravo", u"alpha", u"Charlie", u"bravo"})
        ASSERT_NE(AddText(added, name), 0u);
    EXPECT_EQ(Firsts(added),
              (std::vector<std::u16string>{u"delta", u"Bravo", u"alpha", u"Charlie", u"bravo"}));
    EXPECT_EQ(Firsts(sorted),
              (std::vector<std::u16string>{u"alpha", u"Bravo", u"bravo", u"Charlie", u"delta"}))
        << "case is ignored, ties keep the order added";
    // Changing the first field moves a record in the sorted order only.
    LxEDBREC out[EDB_MAX_FIELDS];
    DWORD id = EDB_ReadRec(sorted, 0, out);
    LxEDBREC renamed = TextField(1, u"zulu");
    ASSERT_EQ(EDB_EditRec(sorted, id, &renamed, 1), 1);
    EXPECT_EQ(Firsts(sorted).back(), u"zulu");
    EXPECT_EQ(Firsts(added)[2], u"zulu");
    EXPECT_EQ(EDB_ReadRec(sorted, 4, out), id) << "the identifier stays with the record";
    // Case is ignored beyond ASCII too, by upper-cased code unit: accented letters after the plain alphabet.
    DWORD words = Open(u"v", u"words", 0);
    for (const char16_t* word : {u"Émile", u"éclair", u"Ярослав", u"яблоко", u"하늘", u"가을", u"zebra"})
        ASSERT_NE(AddText(words, word), 0u);
    EXPECT_EQ(Firsts(words),
              (std::vector<std::u16string>{u"zebra", u"éclair", u"Émile", u"яблоко", u"Ярослав", u"가을", u"하늘"}));
    // Numbers, times and texts sort by value, then by kind.
    DWORD mixed = Open(u"v", u"mixed", 0);
    std::vector<LxEDBREC> records = {TextField(1, u"b"),  IntField(2, 7),     IntField(3, -3),
                                     TimeField(4, ~0ull), TimeField(5, 1ull), IntField(6, 0x7FFFFFFF),
                                     TextField(7, u"A")};
    for (auto& r : records) ASSERT_NE(EDB_AddRec(mixed, &r, 1), 0u);
    EXPECT_EQ(Firsts(mixed), (std::vector<std::u16string>{u"#3", u"#2", u"#6", u"#5", u"#4", u"A", u"b"}));
}

TEST_F(Edb, IdentifiersAreStableAndNeverReusedAndChangesReachOtherHandlesAndProcesses) {
    DWORD db = Open(u"v", u"t", 1);
    DWORD a = AddText(db, u"a"), b = AddText(db, u"b"), c = AddText(db, u"c");
    ASSERT_TRUE(0 < a && a < b && b < c);
    ASSERT_EQ(EDB_DeleteRec(db, 1), 1);
    LxEDBREC out[EDB_MAX_FIELDS];
    EXPECT_EQ(EDB_ReadRec(db, 0, out), a);
    EXPECT_EQ(EDB_ReadRec(db, 1, out), c);
    DWORD d = AddText(db, u"d");
    EXPECT_GT(d, c);
    ASSERT_EQ(EDB_DeleteAllRec(db), 1);
    EXPECT_EQ(EDB_GetTotalRecCount(db), 0);
    EXPECT_GT(AddText(db, u"e"), d);
    ASSERT_EQ(EDB_CloseDB(db), 1);
    // Reopened later, the same record has the same identifier.
    DWORD again = Open(u"V", u"T", 1);
    EXPECT_GT(EDB_ReadRec(again, 0, out), d);
    EXPECT_EQ(std::u16string(out[0].szVal), u"e");
    // Handles of one table see each other's changes, and those of other processes, which are on disk as soon as
    // the call returns.
    DWORD first = Open(u"durable", u"t", 1), second = Open(u"durable", u"t", 0);
    ASSERT_NE(AddText(first, u"one"), 0u);
    EXPECT_EQ(Firsts(second), std::vector<std::u16string>{u"one"});
    ASSERT_EQ(EDB_DeleteRec(second, 0), 1);
    EXPECT_EQ(EDB_GetTotalRecCount(first), 0);
    for (const char16_t* text : {u"keep", u"change", u"drop"}) ASSERT_NE(AddText(first, text), 0u);
    ASSERT_TRUE(RunInKilledChild([] {
        DWORD db = EDB_CreateInfo(u"durable", u"t", 1);
        LxEDBREC out[EDB_MAX_FIELDS], changed = TextField(1, u"changed"), added = TextField(1, u"added");
        return EDB_OpenDB(db) == 1 && EDB_EditRec(db, EDB_ReadRec(db, 1, out), &changed, 1) == 1 &&
               EDB_DeleteRec(db, 2) == 1 && EDB_AddRec(db, &added, 1) != 0;
    }));
    EXPECT_EQ(Firsts(first), (std::vector<std::u16string>{u"keep", u"changed", u"added"}));
    EXPECT_EQ(Firsts(second), (std::vector<std::u16string>{u"added", u"changed", u"keep"}));
    ASSERT_TRUE(RunInKilledChild([] {
        DWORD db = EDB_CreateInfo(u"durable", u"t", 1);
        return EDB_OpenDB(db) == 1 && EDB_DeleteAllRec(db) == 1;
    }));
    EXPECT_EQ(EDB_GetTotalRecCount(first), 0);
}

TEST_F(Edb, VolumesAreOwnerOnlyFilesNamedAfterTheFoldedVolumeName) {
    DWORD a = Open(u"My Phone", u"t", 1), b = Open(u"MY PHONE", u"t", 1);
    ASSERT_NE(AddText(a, u"x"), 0u);
    EXPECT_EQ(EDB_GetTotalRecCount(b), 1);
    DWORD other = Open(u"..\\..\\etc/passwd", u"t", 1);
    ASSERT_NE(AddText(other, u"y"), 0u);
    DWORD table = Open(u"My Phone", u"other table", 1);
    EXPECT_EQ(EDB_GetTotalRecCount(table), 0);
    std::vector<std::string> files;
    for (auto& entry : std::filesystem::directory_iterator(folder_.Path()))
        if (entry.path().extension() == ".edb") files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"%2E.%5C..%5Cetc%2Fpasswd.edb", "my%20phone.edb"}));
    EXPECT_EQ(ModeOf(folder_.File("my%20phone.edb")), 0600u);
    Open(u"전화부", u"t", 1);
    EXPECT_TRUE(std::filesystem::exists(folder_.File("전화부.edb")));
    // Without LXEDB_DIR: a folder of its own in the state folder, for its owner only.
    unsetenv("LXEDB_DIR");
    std::string state = folder_.File("state");
    setenv("XDG_STATE_HOME", state.c_str(), 1);
    Open(u"v", u"t", 1);
    EXPECT_EQ(std::tuple(ModeOf(state + "/lxedb"), ModeOf(state + "/lxedb/v.edb")), std::tuple(0700u, 0600u));
}

using EdbNotify = Edb;

TEST_F(EdbNotify, AddChangeAndDeleteArePostedToTheWindow) {
    HWND hwnd = MakeWindow();
    DWORD db = Open(u"v", u"t", 1, false);
    ASSERT_EQ(EDB_OpenDBWithNoti(db, hwnd), 1);
    LxEDBREC f = IntField(0, 1);
    DWORD first = EDB_AddRec(db, &f, 1);
    DWORD second = EDB_AddRec(db, &f, 1);
    f.iVal = 2;
    ASSERT_EQ(EDB_EditRec(db, first, &f, 1), 1);
    ASSERT_EQ(EDB_DeleteRec(db, 1), 1);
    ASSERT_EQ(EDB_DeleteAllRec(db), 1);
    EXPECT_TRUE(g_received.empty()) << "posted, not sent";
    Pump();
    LPARAM handle = LPARAM(db);
    EXPECT_EQ(g_received, (std::vector<Posted>{{hwnd, EDBM_RECORDADDED, first, handle},
                                               {hwnd, EDBM_RECORDADDED, second, handle},
                                               {hwnd, EDBM_RECORDCHANGED, first, handle},
                                               {hwnd, EDBM_RECORDDELETED, second, handle},
                                               {hwnd, EDBM_RECORDDELETED, 0, handle}}));
}

TEST_F(EdbNotify, EveryWindowOnTheTableHearsOfChangesFromAnyHandleAndFailuresPostNothing) {
    HWND watcher = MakeWindow(), other = MakeWindow();
    DWORD watching = Open(u"v", u"t", 0, false);
    ASSERT_EQ(EDB_OpenDBWithNoti(watching, watcher), 1);
    DWORD elsewhere = Open(u"v", u"another table", 1, false);
    ASSERT_EQ(EDB_OpenDBWithNoti(elsewhere, other), 1);
    DWORD writer = Open(u"v", u"t", 1);
    LxEDBREC f = IntField(0, 5);
    DWORD id = EDB_AddRec(writer, &f, 1);
    ASSERT_NE(id, 0u);
    EXPECT_EQ(EDB_DeleteRec(writer, 7), 0);
    LxEDBREC bad{};
    EXPECT_EQ(EDB_AddRec(writer, &bad, 1), 0u);
    Pump();
    EXPECT_EQ(g_received, (std::vector<Posted>{{watcher, EDBM_RECORDADDED, id, LPARAM(watching)}}));
    // A closed handle's window hears nothing more.
    g_received.clear();
    ASSERT_EQ(EDB_CloseDB(watching), 1);
    ASSERT_NE(EDB_AddRec(writer, &f, 1), 0u);
    Pump();
    EXPECT_TRUE(g_received.empty());
    // Only a live window can be registered.
    ASSERT_TRUE(DestroyWindow(watcher));
    EXPECT_EQ(EDB_OpenDBWithNoti(watching, watcher), 0);
    EXPECT_EQ(EDB_OpenDBWithNoti(watching, nullptr), 0);
    EXPECT_EQ(EDB_GetTotalRecCount(watching), 0);
}

class DamagedVolume : public Edb {
protected:
    // Initialising fails with `expected`, stderr names the file once, and the file keeps its bytes.
    void ExpectRefusedAndUntouched(DWORD expected) {
        std::string file = folder_.File("v.edb");
        std::string before = ReadWholeFile(file);
        ::testing::internal::CaptureStderr();
        DWORD db = EDB_CreateInfo(u"v", u"t", 0);
        EXPECT_EQ(EDB_InitDB(db), 0);
        EXPECT_EQ(GetLastError(), expected);
        EXPECT_EQ(EDB_OpenDB(db), 0);
        EXPECT_EQ(EDB_InitDB(db), 0);
        std::string err = ::testing::internal::GetCapturedStderr();
        EXPECT_TRUE(err.find(file) != std::string::npos && std::count(err.begin(), err.end(), '\n') == 1)
            << err;
        EXPECT_EQ(ReadWholeFile(file), before);
    }
};

// Garbage, and another program's database: refused, reported, left alone.
TEST_F(DamagedVolume, AFileThatIsNotAVolumeIsReportedAndLeftAlone) {
    std::string garbage(10000, 0);
    for (int i = 0; i < 10000; ++i) garbage[i] = char(i * 13 + 5);
    WriteWholeFile(folder_.File("v.edb"), garbage);
    ExpectRefusedAndUntouched(ERROR_FILE_CORRUPT);
    std::filesystem::remove(folder_.File("v.edb"));
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(folder_.File("v.edb").c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE t(x); INSERT INTO t VALUES(1)", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    ExpectRefusedAndUntouched(ERROR_BAD_FORMAT);
}

TEST_F(DamagedVolume, DamageInsideAValidVolumeIsReportedByTheRecordCalls) {
    DWORD db = Open(u"v", u"t", 1);
    for (int i = 0; i < 100; ++i) ASSERT_NE(AddText(db, std::u16string(100, char16_t(u'a' + i % 26))), 0u);
    ASSERT_EQ(EDB_CloseDB(db), 1); // the last user closes the file, folding its log into it
    // Scramble the root page of the table's records; the catalog stays readable.
    std::string file = folder_.File("v.edb");
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &raw), SQLITE_OK);
    sqlite3_stmt* stmt = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(raw,
                                 "SELECT rootpage, (SELECT page_size FROM pragma_page_size) FROM sqlite_master"
                                 " WHERE name = 't1'",
                                 -1, &stmt, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(stmt), SQLITE_ROW);
    size_t root = size_t(sqlite3_column_int(stmt, 0)), pageSize = size_t(sqlite3_column_int(stmt, 1));
    sqlite3_finalize(stmt);
    sqlite3_close(raw);
    std::string bytes = ReadWholeFile(file);
    ASSERT_LE(root * pageSize, bytes.size());
    for (size_t i = (root - 1) * pageSize; i < root * pageSize; ++i) bytes[i] = char(0x5A ^ (i * 11));
    WriteWholeFile(file, bytes);
    ::testing::internal::CaptureStderr();
    ASSERT_EQ(EDB_OpenDB(db), 1);
    std::string before = ReadWholeFile(file);
    EXPECT_EQ(EDB_GetTotalRecCount(db), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_CORRUPT));
    LxEDBREC fields[EDB_MAX_FIELDS];
    EXPECT_EQ(EDB_ReadRec(db, 0, fields), 0u);
    EXPECT_EQ(AddText(db, u"more"), 0u);
    EXPECT_EQ(EDB_DeleteAllRec(db), 0);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(file), std::string::npos) << err;
    EXPECT_EQ(ReadWholeFile(file), before);
}

using EdbFaults = Edb;

// Each storage fault fails the call that meets it with the volume's error and one stderr line naming the file
// and the cause; records added before read back whole; the same call succeeds once the fault is gone, and
// every record is on disk.
TEST_F(EdbFaults, EachFaultFailsTheCallThatMeetsItAndLosesNothing) {
    FaultVfs::Install();
    LockHolder holder;
    const std::map<std::string, DWORD> kExpected = {
        {"disk full", ERROR_DISK_FULL},       {"failed sync", ERROR_WRITE_FAULT},
        {"read-only folder", ERROR_OPEN_FAILED}, {"file removed", ERROR_WRITE_FAULT},
        {"file replaced", ERROR_WRITE_FAULT}, {"write lock held", ERROR_LOCK_VIOLATION},
    };
    for (const StorageFault& fault : StorageFaults(holder)) {
        SCOPED_TRACE(fault.name);
        TestFolder folder;
        setenv("LXEDB_DIR", folder.Path().c_str(), 1);
        const std::string file = folder.File("faults.edb");
        DWORD db = Open(u"Faults", u"Notes", 1);
        ASSERT_NE(0u, AddText(db, u"kept"));
        if (fault.closedFirst) EDB_CloseDB(db);
        fault.begin(file);
        testing::internal::CaptureStderr();
        // A closed volume meets the fault when it is opened again; an open one on the next record.
        EXPECT_EQ(0u, fault.closedFirst ? DWORD(EDB_OpenDB(db)) : AddText(db, u"new"));
        EXPECT_EQ(kExpected.at(fault.name), GetLastError());
        EXPECT_EQ("LxEDB: volume file " + file + " " + fault.cause + "; calls on it fail with error " +
                      std::to_string(kExpected.at(fault.name)) + "\n",
                  testing::internal::GetCapturedStderr());
        fault.end(file);
        EXPECT_EQ(1, EDB_OpenDB(db)); // opening an open handle again changes nothing
        EXPECT_EQ(Firsts(db), std::vector<std::u16string>{u"kept"});
        EXPECT_NE(0u, AddText(db, u"new"));
        EDB_CloseDB(db); // the volume closes with its last handle: what follows is read from the file
        ASSERT_EQ(1, EDB_OpenDB(db));
        EXPECT_EQ(Firsts(db), (std::vector<std::u16string>{u"kept", u"new"}));
        EDB_CloseDB(db);
    }
}

} // namespace
