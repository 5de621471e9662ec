// The registry's database file: where it lives, opening it safely, and turning SQLite's results into
// Win32 error codes. A file that is not a registry database, or is damaged, is reported once on stderr
// (naming the file) and left exactly as it is; every call then fails with the error until it is repaired.
#pragma once

#include <windows.h>

#include <cehost/sim/registry.h>
#include <sqlite3.h>
#include <string>
#include <unordered_map>

namespace cehost::registry {

// Fixed row ids of the four roots in the keys table.
constexpr sqlite3_int64 kFirstRootId = 1;
constexpr int kRootCount = 4;

class RegistryFile {
public:
    RegistryFile() = default;
    ~RegistryFile();
    RegistryFile(const RegistryFile&) = delete;
    RegistryFile& operator=(const RegistryFile&) = delete;

    // Opens the file if it is not open yet (or was opened by the parent of a forked process).
    LONG Acquire();
    // Closes the connection; the next call opens the file named by `path` (empty: the default location).
    void Reset(const std::string& path);
    const std::string& Path();

    // A prepared statement kept for the life of the connection, reset and ready to bind; null with the
    // SQLite result in `*rc` when it cannot be prepared.
    sqlite3_stmt* Statement(const char* sql, int* rc);
    // Runs a statement without results (transaction control).
    LONG Exec(const char* sql);
    // Ends a transaction that is still open (a failed COMMIT may or may not have ended it).
    void Rollback();

    // Maps an SQLite result to a Win32 error, reporting damage and I/O failures once on stderr.
    LONG Error(int rc);

private:
    void Close();
    LONG OpenFile();
    LONG CheckSchema();
    void Report(LONG code, const char* what);

    sqlite3* db_ = nullptr;
    pid_t owner_ = 0;
    std::string override_;
    std::string path_;
    cehost::sim::DataFilePlace place_; // the file the connection has open
    std::unordered_map<const char*, sqlite3_stmt*> statements_;
};

// Runs a write as one transaction that is on disk when Commit returns; rolls back if not committed.
class WriteTransaction {
public:
    explicit WriteTransaction(RegistryFile& file) : file_(file) { status_ = file_.Exec("BEGIN IMMEDIATE"); }
    ~WriteTransaction() {
        if (status_ == ERROR_SUCCESS && !committed_) file_.Rollback();
    }
    LONG Status() const { return status_; }
    LONG Commit() {
        LONG rc = file_.Exec("COMMIT");
        if (rc == ERROR_SUCCESS) committed_ = true;
        return rc;
    }

private:
    RegistryFile& file_;
    LONG status_;
    bool committed_ = false;
};

// Runs the reads of one call in one snapshot, taking the file's read lock once rather than per statement.
class ReadTransaction {
public:
    explicit ReadTransaction(RegistryFile& file) : file_(file) {
        begun_ = file_.Exec("BEGIN") == ERROR_SUCCESS;
    }
    ~ReadTransaction() {
        if (begun_) file_.Rollback();
    }
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

private:
    RegistryFile& file_;
    bool begun_;
};

// Resets a cached statement when it goes out of scope so that it holds no read lock between calls.
class StatementScope {
public:
    explicit StatementScope(sqlite3_stmt* stmt) : stmt_(stmt) {}
    ~StatementScope() {
        if (stmt_) {
            sqlite3_reset(stmt_);
            sqlite3_clear_bindings(stmt_);
        }
    }
    StatementScope(const StatementScope&) = delete;
    StatementScope& operator=(const StatementScope&) = delete;

private:
    sqlite3_stmt* stmt_;
};

} // namespace cehost::registry
