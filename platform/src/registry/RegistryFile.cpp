// The registry's SQLite file. Writes use WAL with synchronous=FULL, so a committed call survives the process
// being killed (and the machine losing power) right after it returns.
#include "RegistryFile.h"

#include <cehost/sim/registry.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace cehost::registry {

namespace {

// "CERG" in the file header tells our files from other SQLite databases.
constexpr int kApplicationId = 0x43455247;
constexpr int kSchemaVersion = 1;

constexpr cehost::sim::DataFileErrors kErrors = {
    "cehost: registry file", "registry calls fail",    ERROR_REGISTRY_CORRUPT,
    ERROR_CANTOPEN,          ERROR_REGISTRY_IO_FAILED, ERROR_REGISTRY_IO_FAILED,
};

const char* const kSchema = R"sql(
CREATE TABLE keys(
    id INTEGER PRIMARY KEY,
    parent INTEGER NOT NULL,
    depth INTEGER NOT NULL,
    name BLOB NOT NULL,
    fold BLOB NOT NULL,
    written INTEGER NOT NULL,
    UNIQUE(parent, fold));
CREATE TABLE vals(
    id INTEGER PRIMARY KEY,
    key INTEGER NOT NULL,
    name BLOB NOT NULL,
    fold BLOB NOT NULL,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    UNIQUE(key, fold));
INSERT INTO keys VALUES(1, 0, 0, x'', x'01', 0);
INSERT INTO keys VALUES(2, 0, 0, x'', x'02', 0);
INSERT INTO keys VALUES(3, 0, 0, x'', x'03', 0);
INSERT INTO keys VALUES(4, 0, 0, x'', x'04', 0);
PRAGMA application_id = 1128616519;
PRAGMA user_version = 1;
)sql";

std::string DefaultPath() {
    if (const char* env = getenv("CEHOST_REGISTRY"); env && *env) return env;
    return cehost::sim::UserStateFolder() + "/cehost/registry.db";
}

// Creates every missing folder above `file`, each for its owner only.
bool MakeParentFolders(const std::string& file) {
    const size_t slash = file.rfind('/');
    return slash == std::string::npos || slash == 0 || cehost::sim::MakeOwnerOnlyFolders(file.substr(0, slash));
}

} // namespace

RegistryFile::~RegistryFile() {
    if (owner_ == getpid()) Close();
}

void RegistryFile::Close() {
    for (auto& [sql, stmt] : statements_)
        sqlite3_finalize(stmt);
    statements_.clear();
    if (db_) sqlite3_close(db_);
    db_ = nullptr;
}

void RegistryFile::Reset(const std::string& path) {
    if (owner_ == getpid()) Close();
    db_ = nullptr;
    statements_.clear();
    override_ = path;
    path_.clear();
}

const std::string& RegistryFile::Path() {
    if (path_.empty()) path_ = override_.empty() ? DefaultPath() : override_;
    return path_;
}

LONG RegistryFile::Acquire() {
    if (db_ && owner_ == getpid()) {
        // Writing on into a file no longer at the path would lose every later value: the call fails once and
        // the next one opens whatever the path names then.
        const char* moved = cehost::sim::DataFileMoved(Path(), place_);
        if (!moved) return ERROR_SUCCESS;
        Report(ERROR_REGISTRY_IO_FAILED, moved);
        Close();
        return ERROR_REGISTRY_IO_FAILED;
    }
    // A connection inherited through fork() belongs to the parent: using or closing it here could undo the
    // parent's locks, so it is dropped and the child opens its own.
    db_ = nullptr;
    statements_.clear();
    LONG rc = OpenFile();
    if (rc != ERROR_SUCCESS) Close();
    return rc;
}

LONG RegistryFile::OpenFile() {
    const std::string& path = Path();
    if (!MakeParentFolders(path)) {
        int error = errno;
        LONG code = error == EACCES ? ERROR_ACCESS_DENIED : ERROR_PATH_NOT_FOUND;
        Report(code, (std::string("has no folder: ") + strerror(error)).c_str());
        return code;
    }
    // Created here rather than by SQLite so that a new file is readable by its owner only.
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0) close(fd);

    owner_ = getpid();
    int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX, nullptr);
    if (rc != SQLITE_OK) return Error(rc);
    cehost::sim::FindDataFile(path, &place_);
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, 5000);
    LONG status = CheckSchema();
    if (status != ERROR_SUCCESS) return status;
    if ((status = Exec("PRAGMA journal_mode = WAL")) != ERROR_SUCCESS) return status;
    return Exec("PRAGMA synchronous = FULL");
}

LONG RegistryFile::CheckSchema() {
    cehost::sim::DataFileIdentity file;
    if (int rc = cehost::sim::ReadDataFileIdentity(db_, &file); rc != SQLITE_OK) return Error(rc);
    if (file.applicationId == kApplicationId && file.version >= 1 && file.version <= kSchemaVersion)
        return ERROR_SUCCESS;
    if (file.applicationId == kApplicationId) {
        Report(ERROR_BADDB, "written by a newer version of cehost");
        return ERROR_BADDB;
    }
    if (file.applicationId != 0 || file.tables != 0) {
        Report(ERROR_BADDB, "is a database of another program, not a registry");
        return ERROR_BADDB;
    }
    // A new (empty) file: lay out the schema in one transaction so that a crash leaves it empty, not half
    // made.
    LONG begun = Exec("BEGIN IMMEDIATE");
    if (begun != ERROR_SUCCESS) return begun;
    char* message = nullptr;
    int rc = sqlite3_exec(db_, kSchema, nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK) {
        Rollback();
        return Error(rc);
    }
    LONG status = Exec("COMMIT");
    if (status != ERROR_SUCCESS) Rollback();
    return status;
}

sqlite3_stmt* RegistryFile::Statement(const char* sql, int* rc) {
    auto found = statements_.find(sql);
    if (found != statements_.end()) return found->second;
    sqlite3_stmt* stmt = nullptr;
    *rc = sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
    if (*rc != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return nullptr;
    }
    statements_.emplace(sql, stmt);
    return stmt;
}

LONG RegistryFile::Exec(const char* sql) {
    int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
    return rc == SQLITE_OK ? ERROR_SUCCESS : Error(rc);
}

void RegistryFile::Rollback() {
    if (db_ && !sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

LONG RegistryFile::Error(int rc) {
    return LONG(cehost::sim::DataFileError(kErrors, Path(), db_, rc));
}

void RegistryFile::Report(LONG code, const char* what) {
    cehost::sim::ReportDataFileFailure(kErrors, Path(), DWORD(code), what);
}

} // namespace cehost::registry
