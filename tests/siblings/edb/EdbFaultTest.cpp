// The record database under storage faults made beneath SQLite: the call that meets one returns 0 with the
// volume's error and one stderr line naming the file and the cause; records added before read back whole;
// the same call succeeds once the fault is gone, and every record is on disk.
#include "StorageFaults.h"

#include <LxEDBApi.h>

#include <cstdlib>
#include <map>

namespace {

DWORD AddText(DWORD db, const std::u16string& text) {
    LxEDBREC field{};
    field.dwPropId = 1;
    field.wType = EDB_FIELD_TEXT;
    text.copy(field.szVal, text.size());
    return EDB_AddRec(db, &field, 1);
}

std::u16string Texts(DWORD db) {
    std::u16string all;
    for (long i = 0, n = EDB_GetTotalRecCount(db); i < n; ++i) {
        LxEDBREC fields[EDB_MAX_FIELDS];
        all += EDB_ReadRec(db, UINT(i), fields) ? fields[0].szVal : u"<unreadable>";
        all += u";";
    }
    return all;
}

} // namespace

TEST(EdbFaults, EachFaultFailsTheCallThatMeetsItAndLosesNothing) {
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
        DWORD db = EDB_CreateInfo(u"Faults", u"Notes", 1);
        ASSERT_EQ(1, EDB_InitDB(db));
        ASSERT_EQ(1, EDB_OpenDB(db));
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
        EXPECT_EQ(u"kept;", Texts(db));
        EXPECT_NE(0u, AddText(db, u"new"));
        EDB_CloseDB(db); // the volume closes with its last handle: what follows is read from the file
        ASSERT_EQ(1, EDB_OpenDB(db));
        EXPECT_EQ(u"kept;new;", Texts(db));
        EDB_CloseDB(db);
    }
}
