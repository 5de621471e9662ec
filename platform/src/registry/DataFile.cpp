// What the registry file and the record database's volumes share: SQLite results as Win32 errors, and
// reading whose file it is.
#include <cehost/sim/registry.h>

#include <cstdio>
#include <cstring>
#include <mutex>
#include <set>
#include <sqlite3.h>
#include <sys/stat.h>

namespace cehost::sim {

namespace {

// A failure's Win32 error is the file kind's own (`code`) or the same for every kind (`fixed`).
struct Failure {
    int result;
    DWORD DataFileErrors::*code;
    DWORD fixed;
    const char* what;
};

// Extended result codes first, then primary ones (an extended code is matched by its low byte).
constexpr Failure kFailures[] = {
    {SQLITE_IOERR_FSYNC, &DataFileErrors::failed, 0, "cannot be flushed to the disk"},
    {SQLITE_IOERR_DIR_FSYNC, &DataFileErrors::failed, 0, "cannot be flushed to the disk"},
    {SQLITE_IOERR_WRITE, &DataFileErrors::failed, 0, "cannot be written"},
    {SQLITE_IOERR_TRUNCATE, &DataFileErrors::failed, 0, "cannot be written"},
    {SQLITE_IOERR_READ, &DataFileErrors::failed, 0, "cannot be read"},
    {SQLITE_IOERR_SHORT_READ, &DataFileErrors::failed, 0, "cannot be read"},
    {SQLITE_IOERR_DELETE, &DataFileErrors::failed, 0, "cannot have its journal removed"},
    {SQLITE_IOERR_LOCK, &DataFileErrors::locked, 0, "cannot be locked"},
    {SQLITE_IOERR_SHMOPEN, &DataFileErrors::cannotOpen, 0, "cannot have its shared index opened"},
    {SQLITE_CORRUPT, &DataFileErrors::damaged, 0, "is damaged or is not a database"},
    {SQLITE_NOTADB, &DataFileErrors::damaged, 0, "is damaged or is not a database"},
    {SQLITE_CANTOPEN, &DataFileErrors::cannotOpen, 0, "cannot be opened"},
    {SQLITE_PERM, nullptr, ERROR_ACCESS_DENIED, "may not be written"},
    {SQLITE_READONLY, nullptr, ERROR_ACCESS_DENIED, "may not be written"},
    {SQLITE_AUTH, nullptr, ERROR_ACCESS_DENIED, "may not be written"},
    {SQLITE_FULL, nullptr, ERROR_DISK_FULL, "cannot grow: the disk is full"},
    {SQLITE_BUSY, &DataFileErrors::locked, 0, "is locked by another process"},
    {SQLITE_LOCKED, &DataFileErrors::locked, 0, "is locked by another process"},
};

} // namespace

DWORD DataFileError(const DataFileErrors& errors, const std::string& path, sqlite3* db, int rc) {
    const int result = rc & 0xFF;
    if (result == SQLITE_OK || result == SQLITE_ROW || result == SQLITE_DONE) return ERROR_SUCCESS;
    if (result == SQLITE_NOMEM || rc == SQLITE_IOERR_NOMEM) return ERROR_NOT_ENOUGH_MEMORY;
    // SQLite keeps the system's own error only for failures to open and to read or write.
    std::string cause;
    if (db && (result == SQLITE_CANTOPEN || result == SQLITE_IOERR) && sqlite3_system_errno(db))
        cause = std::string(" (") + strerror(sqlite3_system_errno(db)) + ")";
    for (const Failure& failure : kFailures) {
        if (failure.result != rc && failure.result != result) continue;
        const DWORD code = failure.code ? errors.*failure.code : failure.fixed;
        ReportDataFileFailure(errors, path, code, (failure.what + cause).c_str());
        return code;
    }
    ReportDataFileFailure(errors, path, errors.failed,
                          ((db ? sqlite3_errmsg(db) : sqlite3_errstr(rc)) + cause).c_str());
    return errors.failed;
}

int ReadDataFileIdentity(sqlite3* db, DataFileIdentity* identity) {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db,
                                "SELECT (SELECT application_id FROM pragma_application_id),"
                                " (SELECT user_version FROM pragma_user_version),"
                                " (SELECT count(*) FROM sqlite_master)",
                                -1, &stmt, nullptr);
    if (rc == SQLITE_OK && (rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        identity->applicationId = sqlite3_column_int(stmt, 0);
        identity->version = sqlite3_column_int(stmt, 1);
        identity->tables = sqlite3_column_int(stmt, 2);
        rc = SQLITE_OK;
    }
    sqlite3_finalize(stmt);
    return rc;
}

void ReportDataFileFailure(const DataFileErrors& errors, const std::string& path, DWORD code,
                           const char* what) {
    static std::mutex lock;
    static std::set<std::string> reported;
    {
        std::lock_guard<std::mutex> hold(lock);
        if (!reported.insert(std::string(errors.lead) + '\n' + path + '\n' + std::to_string(code) + '\n' + what)
                 .second)
            return;
    }
    fprintf(stderr, "%s %s %s; %s with error %u\n", errors.lead, path.c_str(), what, errors.outcome,
            unsigned(code));
}

bool FindDataFile(const std::string& path, DataFilePlace* place) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return false;
    place->device = st.st_dev;
    place->inode = st.st_ino;
    return true;
}

const char* DataFileMoved(const std::string& path, const DataFilePlace& opened) {
    DataFilePlace now;
    if (!FindDataFile(path, &now)) return "was removed while open";
    if (now.device != opened.device || now.inode != opened.inode) return "was replaced while open";
    return nullptr;
}

} // namespace cehost::sim
