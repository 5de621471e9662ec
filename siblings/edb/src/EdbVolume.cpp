// A volume of the record database on SQLite. Each write is one transaction in WAL mode with synchronous=FULL,
// so it is on disk when the call returns. A file that is damaged or belongs to another program is reported
// once on stderr and never written to.
#include "EdbVolume.h"
#include "TextFold.h"

#include <cehost/sim/registry.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lxedb {

namespace {

// "LXED" in the file header tells our volumes from other SQLite databases.
constexpr int kApplicationId = 0x4C584544;
constexpr int kSchemaVersion = 1;
constexpr size_t kMaxFileNameBytes = 240;

constexpr cehost::sim::DataFileErrors kErrors = {
    "LxEDB: volume file", "calls on it fail",   ERROR_FILE_CORRUPT,
    ERROR_OPEN_FAILED,    ERROR_LOCK_VIOLATION, ERROR_WRITE_FAULT,
};

std::string StateFolder() {
    if (const char* dir = getenv("LXEDB_DIR"); dir && *dir) return dir;
    return cehost::sim::UserStateFolder() + "/lxedb";
}

void AppendEscaped(std::string* out, unsigned char byte) {
    static const char hex[] = "0123456789ABCDEF";
    out->push_back('%');
    out->push_back(hex[byte >> 4]);
    out->push_back(hex[byte & 15]);
}

// UTF-8 of one code point (lone surrogates as their three bytes, which are then escaped).
void AppendCodePoint(std::string* out, char32_t c, bool escape) {
    std::string bytes;
    if (c < 0x80) {
        bytes.push_back(char(c));
    } else {
        int tail = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        static const unsigned char lead[] = {0, 0xC0, 0xE0, 0xF0};
        bytes.push_back(char(lead[tail] | (c >> (6 * tail))));
        for (int i = tail - 1; i >= 0; --i)
            bytes.push_back(char(0x80 | ((c >> (6 * i)) & 63)));
    }
    for (char byte : bytes) {
        if (escape)
            AppendEscaped(out, (unsigned char)byte);
        else
            out->push_back(byte);
    }
}

std::string TextKey(const WCHAR* text) {
    size_t length = 0;
    while (length < EDB_TEXT_MAX && text[length])
        ++length;
    return FoldedKey(std::u16string_view(text, length));
}

} // namespace

std::string Volume::FileFor(std::u16string_view name) {
    // Lower case, letters and digits kept, everything else escaped: "My Phone\Book" and "my phone\book" are
    // one volume, and no name reaches outside the folder.
    std::string file;
    for (size_t i = 0; i < name.size(); ++i) {
        char16_t unit = LowerUnit(name[i]);
        if (unit < 0x80) {
            bool plain = (unit >= u'a' && unit <= u'z') || (unit >= u'0' && unit <= u'9') || unit == u'_' ||
                         unit == u'-' || (unit == u'.' && i > 0);
            if (plain)
                file.push_back(char(unit));
            else
                AppendEscaped(&file, (unsigned char)unit);
        } else if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < name.size() && name[i + 1] >= 0xDC00 &&
                   name[i + 1] <= 0xDFFF) {
            AppendCodePoint(&file, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (name[i + 1] - 0xDC00),
                            false);
            ++i;
        } else {
            AppendCodePoint(&file, unit, unit >= 0xD800 && unit <= 0xDFFF);
        }
    }
    if (file.empty() || file.size() > kMaxFileNameBytes) return {};
    return StateFolder() + "/" + file + ".edb";
}

Volume::~Volume() {
    if (owner_ == getpid()) Close();
}

void Volume::Close() {
    for (auto& [sql, stmt] : statements_)
        sqlite3_finalize(stmt);
    statements_.clear();
    if (db_) sqlite3_close(db_);
    db_ = nullptr;
}

DWORD Volume::Open(bool create) {
    if (db_ && owner_ == getpid()) return Refresh();
    // A connection inherited through fork() is the parent's: it is dropped, never used or closed here.
    // Known tables stay known (handles point at them); their cached orders are rebuilt.
    db_ = nullptr;
    statements_.clear();
    for (auto& [fold, table] : tables_)
        table->Invalidate();
    dataVersion_ = -1;

    size_t slash = path_.rfind('/');
    if (create) {
        if (slash != std::string::npos && slash > 0 && !cehost::sim::MakeOwnerOnlyFolders(path_.substr(0, slash))) {
            Report(ERROR_PATH_NOT_FOUND, strerror(errno));
            return ERROR_PATH_NOT_FOUND;
        }
        // Made here so that a new volume is readable by its owner only.
        int fd = open(path_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) close(fd);
    } else if (access(path_.c_str(), F_OK) != 0) {
        return ERROR_FILE_NOT_FOUND;
    }
    owner_ = getpid();
    int rc = sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX, nullptr);
    DWORD status = rc == SQLITE_OK ? ERROR_SUCCESS : Error(rc);
    if (status == ERROR_SUCCESS) {
        cehost::sim::FindDataFile(path_, &place_);
        sqlite3_extended_result_codes(db_, 1);
        sqlite3_busy_timeout(db_, 5000);
        status = CheckSchema(create);
    }
    if (status == ERROR_SUCCESS) status = Exec("PRAGMA journal_mode = WAL");
    if (status == ERROR_SUCCESS) status = Exec("PRAGMA synchronous = FULL");
    if (status == ERROR_SUCCESS) status = Refresh();
    if (status != ERROR_SUCCESS) Close();
    return status;
}

DWORD Volume::CheckSchema(bool create) {
    cehost::sim::DataFileIdentity file;
    int rc = cehost::sim::ReadDataFileIdentity(db_, &file);
    if (rc != SQLITE_OK) return Error(rc);
    if (file.applicationId == kApplicationId && file.version >= 1 && file.version <= kSchemaVersion)
        return ERROR_SUCCESS;
    if (file.applicationId == kApplicationId) {
        Report(ERROR_BAD_FORMAT, "was written by a newer version of LxEDB");
        return ERROR_BAD_FORMAT;
    }
    if (file.applicationId != 0 || file.tables != 0) {
        Report(ERROR_BAD_FORMAT, "is a database of another program, not a record volume");
        return ERROR_BAD_FORMAT;
    }
    if (!create) return ERROR_FILE_NOT_FOUND;
    DWORD status = Exec("BEGIN IMMEDIATE");
    if (status != ERROR_SUCCESS) return status;
    rc =
        sqlite3_exec(db_,
                     "CREATE TABLE edb_tables(id INTEGER PRIMARY KEY, name BLOB NOT NULL, fold BLOB NOT NULL "
                     "UNIQUE); PRAGMA application_id = 1280853316; PRAGMA user_version = 1;",
                     nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        Rollback();
        return Error(rc);
    }
    if ((status = Exec("COMMIT")) != ERROR_SUCCESS) Rollback();
    return status;
}

DWORD Volume::Ready() {
    if (db_ && owner_ == getpid()) {
        // Writing on into a file no longer at the path would lose every later record: the call fails once
        // and the next one opens whatever the path names then.
        const char* moved = cehost::sim::DataFileMoved(path_, place_);
        if (!moved) return ERROR_SUCCESS;
        Report(kErrors.failed, moved);
        Close();
        return kErrors.failed;
    }
    return Open(false);
}

DWORD Volume::Refresh() {
    DWORD status = ERROR_SUCCESS;
    sqlite3_stmt* stmt = Statement("PRAGMA data_version", &status);
    if (!stmt) return status;
    int rc = sqlite3_step(stmt);
    sqlite3_int64 version = rc == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : -1;
    sqlite3_reset(stmt);
    if (rc != SQLITE_ROW) return Error(rc);
    if (version != dataVersion_)
        for (auto& [fold, table] : tables_)
            table->Invalidate();
    dataVersion_ = version;
    return ERROR_SUCCESS;
}

sqlite3_stmt* Volume::Statement(const std::string& sql, DWORD* error) {
    auto found = statements_.find(sql);
    if (found != statements_.end()) return found->second;
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v3(db_, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt);
        *error = Error(rc);
        return nullptr;
    }
    statements_.emplace(sql, stmt);
    return stmt;
}

DWORD Volume::Exec(const char* sql) {
    int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
    return rc == SQLITE_OK ? ERROR_SUCCESS : Error(rc);
}

void Volume::Rollback() {
    if (db_ && !sqlite3_get_autocommit(db_)) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

DWORD Volume::Error(int rc) {
    return cehost::sim::DataFileError(kErrors, path_, db_, rc);
}

void Volume::Report(DWORD code, const char* what) {
    cehost::sim::ReportDataFileFailure(kErrors, path_, code, what);
}

DWORD Volume::FindTable(std::u16string_view name, bool create, Table** table) {
    std::string fold = FoldedKey(name);
    auto found = tables_.find(fold);
    if (found != tables_.end()) {
        *table = found->second.get();
        return ERROR_SUCCESS;
    }
    DWORD status = ERROR_SUCCESS;
    sqlite3_stmt* find = Statement("SELECT id FROM edb_tables WHERE fold = ?", &status);
    if (!find) return status;
    sqlite3_bind_blob(find, 1, fold.data(), int(fold.size()), SQLITE_STATIC);
    int rc = sqlite3_step(find);
    sqlite3_int64 id = rc == SQLITE_ROW ? sqlite3_column_int64(find, 0) : 0;
    sqlite3_reset(find);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) return Error(rc);
    if (!id) {
        if (!create) return ERROR_FILE_NOT_FOUND;
        // The catalog row and its record table come into being together or not at all.
        if ((status = Exec("BEGIN IMMEDIATE")) != ERROR_SUCCESS) return status;
        sqlite3_stmt* insert = Statement("INSERT INTO edb_tables(name, fold) VALUES(?, ?)", &status);
        if (insert) {
            sqlite3_bind_blob(insert, 1, name.data(), int(name.size() * 2), SQLITE_STATIC);
            sqlite3_bind_blob(insert, 2, fold.data(), int(fold.size()), SQLITE_STATIC);
            rc = sqlite3_step(insert);
            sqlite3_reset(insert);
            if (rc == SQLITE_DONE) {
                id = sqlite3_last_insert_rowid(db_);
                std::string t = "t" + std::to_string(id);
                std::string sql =
                    "CREATE TABLE " + t +
                    "(id INTEGER PRIMARY KEY AUTOINCREMENT, sk_type INTEGER NOT NULL, sk_num INTEGER "
                    "NOT NULL, sk_text BLOB NOT NULL, nfields INTEGER NOT NULL, fields BLOB NOT NULL);"
                    " CREATE INDEX " +
                    t + "_sorted ON " + t + "(sk_type, sk_num, sk_text, id);";
                status = Exec(sql.c_str());
            } else {
                status = Error(rc);
            }
        }
        if (status == ERROR_SUCCESS) status = Exec("COMMIT");
        if (status != ERROR_SUCCESS) {
            Rollback();
            return status;
        }
    }
    auto made = std::make_unique<Table>();
    made->catalogId = id;
    made->sqlName = "t" + std::to_string(id);
    *table = made.get();
    tables_.emplace(fold, std::move(made));
    return ERROR_SUCCESS;
}

DWORD Volume::BuildView(Table& table, Order order) {
    Table::View& view = table.views[int(order)];
    if (view.valid) return ERROR_SUCCESS;
    std::string sql = "SELECT id FROM " + table.sqlName +
                      (order == Order::Sorted ? " ORDER BY sk_type, sk_num, sk_text, id" : " ORDER BY id");
    DWORD status = ERROR_SUCCESS;
    sqlite3_stmt* stmt = Statement(sql, &status);
    if (!stmt) return status;
    view.ids.clear();
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        view.ids.push_back(sqlite3_column_int64(stmt, 0));
    sqlite3_reset(stmt);
    if (rc != SQLITE_DONE) {
        view.ids.clear();
        return Error(rc);
    }
    view.valid = true;
    return ERROR_SUCCESS;
}

// One call's work in one transaction: the file's locks are taken once, and a write is synced once, at the
// commit. Cached orders are checked against other connections' changes at the start.
class Volume::Transaction {
public:
    Transaction(Volume& volume, bool write) : volume_(volume) {
        status_ = volume_.Ready();
        if (status_ == ERROR_SUCCESS) status_ = volume_.Exec(write ? "BEGIN IMMEDIATE" : "BEGIN");
        begun_ = status_ == ERROR_SUCCESS;
        if (status_ == ERROR_SUCCESS) status_ = volume_.Refresh();
    }
    ~Transaction() {
        if (begun_) volume_.Rollback();
    }
    DWORD Status() const { return status_; }
    DWORD Commit() {
        begun_ = false;
        DWORD status = volume_.Exec("COMMIT");
        if (status != ERROR_SUCCESS) volume_.Rollback();
        return status;
    }

private:
    Volume& volume_;
    DWORD status_;
    bool begun_ = false;
};

DWORD Volume::IdAt(Table& table, Order order, UINT index, sqlite3_int64* id) {
    DWORD status = BuildView(table, order);
    if (status != ERROR_SUCCESS) return status;
    const auto& ids = table.views[int(order)].ids;
    if (index >= ids.size()) return ERROR_INVALID_INDEX;
    *id = ids[index];
    return ERROR_SUCCESS;
}

DWORD Volume::Count(Table& table, Order order, long* count) {
    Transaction transaction(*this, false);
    DWORD status = transaction.Status();
    if (status == ERROR_SUCCESS) status = BuildView(table, order);
    if (status == ERROR_SUCCESS) *count = long(table.views[int(order)].ids.size());
    return status;
}

DWORD Volume::ReadAt(Table& table, Order order, UINT index, _LxEDBREC* fields, UINT* count,
                     sqlite3_int64* id) {
    Transaction transaction(*this, false);
    DWORD status = transaction.Status();
    if (status == ERROR_SUCCESS) status = IdAt(table, order, index, id);
    if (status != ERROR_SUCCESS) return status;
    sqlite3_stmt* stmt = Statement("SELECT nfields, fields FROM " + table.sqlName + " WHERE id = ?", &status);
    if (!stmt) return status;
    sqlite3_bind_int64(stmt, 1, *id);
    int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW) {
        UINT n = UINT(sqlite3_column_int(stmt, 0));
        size_t bytes = size_t(sqlite3_column_bytes(stmt, 1));
        if (n < 1 || n > EDB_MAX_FIELDS || bytes != n * sizeof(_LxEDBREC)) {
            status = Error(SQLITE_CORRUPT);
        } else {
            if (fields) std::memcpy(fields, sqlite3_column_blob(stmt, 1), bytes);
            *count = n;
        }
    } else {
        status = rc == SQLITE_DONE ? ERROR_NOT_FOUND : Error(rc);
    }
    sqlite3_reset(stmt);
    return status;
}

DWORD NormalizeFields(const _LxEDBREC* fields, UINT count, std::string* bytes) {
    if (!fields || count < 1 || count > EDB_MAX_FIELDS) return ERROR_INVALID_PARAMETER;
    bytes->assign(count * sizeof(_LxEDBREC), '\0');
    auto* out = reinterpret_cast<_LxEDBREC*>(bytes->data());
    for (UINT i = 0; i < count; ++i) {
        const _LxEDBREC& in = fields[i];
        out[i].dwPropId = in.dwPropId;
        out[i].wType = in.wType;
        switch (in.wType) {
        case EDB_FIELD_INT:
            out[i].iVal = in.iVal;
            break;
        case EDB_FIELD_TIME:
            out[i].ftVal = in.ftVal;
            break;
        case EDB_FIELD_TEXT: {
            // Text must end inside its field: cutting it would lose what the caller meant to keep.
            size_t length = 0;
            while (length < EDB_TEXT_MAX && in.szVal[length])
                ++length;
            if (length == EDB_TEXT_MAX) return ERROR_INVALID_PARAMETER;
            std::memcpy(out[i].szVal, in.szVal, length * sizeof(WCHAR));
            break;
        }
        default:
            return ERROR_INVALID_PARAMETER;
        }
    }
    return ERROR_SUCCESS;
}

namespace {

struct SortKey {
    int type = 0;
    sqlite3_int64 number = 0;
    std::string text;
};

SortKey SortKeyOf(const _LxEDBREC& first) {
    SortKey key;
    key.type = first.wType;
    if (first.wType == EDB_FIELD_INT) key.number = first.iVal;
    if (first.wType == EDB_FIELD_TIME) {
        // Flip the sign bit so that the signed column orders like the unsigned FILETIME.
        uint64_t ticks = uint64_t(first.ftVal.dwHighDateTime) << 32 | first.ftVal.dwLowDateTime;
        key.number = sqlite3_int64(ticks ^ (uint64_t(1) << 63));
    }
    if (first.wType == EDB_FIELD_TEXT) key.text = TextKey(first.szVal);
    return key;
}

} // namespace

// Runs one bound statement that changes the table; `changed` tells whether a row was touched.
DWORD Volume::Change(sqlite3_stmt* stmt, bool* changed) {
    int rc = sqlite3_step(stmt);
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (rc != SQLITE_DONE) return Error(rc);
    *changed = sqlite3_changes(db_) > 0;
    return ERROR_SUCCESS;
}

DWORD Volume::Add(Table& table, const _LxEDBREC* fields, UINT count, sqlite3_int64* id) {
    std::string bytes;
    DWORD status = NormalizeFields(fields, count, &bytes);
    if (status != ERROR_SUCCESS) return status;
    Transaction transaction(*this, true);
    if ((status = transaction.Status()) != ERROR_SUCCESS) return status;
    SortKey key = SortKeyOf(*reinterpret_cast<const _LxEDBREC*>(bytes.data()));
    sqlite3_stmt* stmt = Statement("INSERT INTO " + table.sqlName +
                                       "(sk_type, sk_num, sk_text, nfields, fields) VALUES(?, ?, ?, ?, ?)",
                                   &status);
    if (!stmt) return status;
    sqlite3_bind_int(stmt, 1, key.type);
    sqlite3_bind_int64(stmt, 2, key.number);
    sqlite3_bind_blob(stmt, 3, key.text.data(), int(key.text.size()), SQLITE_STATIC);
    sqlite3_bind_int(stmt, 4, int(count));
    sqlite3_bind_blob(stmt, 5, bytes.data(), int(bytes.size()), SQLITE_STATIC);
    bool changed = false;
    if ((status = Change(stmt, &changed)) != ERROR_SUCCESS) return status;
    sqlite3_int64 added = sqlite3_last_insert_rowid(db_);
    if ((status = transaction.Commit()) != ERROR_SUCCESS) {
        table.Invalidate();
        return status;
    }
    *id = added;
    // Identifiers only grow, so the new record is the last one added.
    Table::View& inOrder = table.views[int(Order::Added)];
    if (inOrder.valid) inOrder.ids.push_back(added);
    table.views[int(Order::Sorted)].valid = false;
    return ERROR_SUCCESS;
}

DWORD Volume::Edit(Table& table, sqlite3_int64 id, const _LxEDBREC* fields, UINT count) {
    std::string bytes;
    DWORD status = NormalizeFields(fields, count, &bytes);
    if (status != ERROR_SUCCESS) return status;
    Transaction transaction(*this, true);
    if ((status = transaction.Status()) != ERROR_SUCCESS) return status;
    SortKey key = SortKeyOf(*reinterpret_cast<const _LxEDBREC*>(bytes.data()));
    sqlite3_stmt* stmt = Statement("UPDATE " + table.sqlName +
                                       " SET sk_type = ?, sk_num = ?, sk_text = ?, nfields = ?, fields = ?"
                                       " WHERE id = ?",
                                   &status);
    if (!stmt) return status;
    sqlite3_bind_int(stmt, 1, key.type);
    sqlite3_bind_int64(stmt, 2, key.number);
    sqlite3_bind_blob(stmt, 3, key.text.data(), int(key.text.size()), SQLITE_STATIC);
    sqlite3_bind_int(stmt, 4, int(count));
    sqlite3_bind_blob(stmt, 5, bytes.data(), int(bytes.size()), SQLITE_STATIC);
    sqlite3_bind_int64(stmt, 6, id);
    bool changed = false;
    if ((status = Change(stmt, &changed)) != ERROR_SUCCESS) return status;
    if (!changed) return ERROR_NOT_FOUND;
    status = transaction.Commit();
    table.views[int(Order::Sorted)].valid = false;
    return status;
}

DWORD Volume::DeleteAt(Table& table, Order order, UINT index, sqlite3_int64* id) {
    Transaction transaction(*this, true);
    DWORD status = transaction.Status();
    if (status == ERROR_SUCCESS) status = IdAt(table, order, index, id);
    if (status != ERROR_SUCCESS) return status;
    sqlite3_stmt* stmt = Statement("DELETE FROM " + table.sqlName + " WHERE id = ?", &status);
    if (!stmt) return status;
    sqlite3_bind_int64(stmt, 1, *id);
    bool changed = false;
    if ((status = Change(stmt, &changed)) != ERROR_SUCCESS) return status;
    if (!changed) return ERROR_NOT_FOUND;
    status = transaction.Commit();
    table.Invalidate();
    return status;
}

DWORD Volume::DeleteAll(Table& table) {
    Transaction transaction(*this, true);
    DWORD status = transaction.Status();
    if (status != ERROR_SUCCESS) return status;
    sqlite3_stmt* stmt = Statement("DELETE FROM " + table.sqlName, &status);
    if (!stmt) return status;
    bool changed = false;
    if ((status = Change(stmt, &changed)) != ERROR_SUCCESS) return status;
    status = transaction.Commit();
    table.Invalidate();
    return status;
}

} // namespace lxedb
