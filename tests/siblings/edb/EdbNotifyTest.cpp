// Change notifications of the record database, through the real message queue.
#include "TestFolder.h"

#include <LxEDBApi.h>

#include <cstring>
#include <vector>

namespace {

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

class EdbNotify : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("LXEDB_DIR", folder_.Path().c_str(), 1);
        WNDCLASSW wc{};
        wc.lpfnWndProc = RecordingProc;
        wc.lpszClassName = u"EdbNotifyTest";
        ASSERT_NE(RegisterClassW(&wc), 0);
    }
    HWND MakeWindow() {
        HWND hwnd = CreateWindowExW(0, u"EdbNotifyTest", u"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                    nullptr);
        EXPECT_NE(hwnd, nullptr);
        return hwnd;
    }
    DWORD OpenTable(int flag, const WCHAR* table = u"t") {
        DWORD db = EDB_CreateInfo(u"v", table, flag);
        EXPECT_EQ(EDB_InitDB(db), 1);
        return db;
    }
    static void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    static LxEDBREC Number(INT32 value) {
        LxEDBREC f{0, EDB_FIELD_INT, 0, {}};
        f.iVal = value;
        return f;
    }
    TestFolder folder_;
};

TEST_F(EdbNotify, AddChangeAndDeleteArePostedToTheWindow) {
    HWND hwnd = MakeWindow();
    DWORD db = OpenTable(1);
    ASSERT_EQ(EDB_OpenDBWithNoti(db, hwnd), 1);
    LxEDBREC f = Number(1);
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
    DWORD watching = OpenTable(0);
    ASSERT_EQ(EDB_OpenDBWithNoti(watching, watcher), 1);
    DWORD elsewhere = OpenTable(1, u"another table");
    ASSERT_EQ(EDB_OpenDBWithNoti(elsewhere, other), 1);
    DWORD writer = OpenTable(1);
    ASSERT_EQ(EDB_OpenDB(writer), 1);
    LxEDBREC f = Number(5);
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

} // namespace
