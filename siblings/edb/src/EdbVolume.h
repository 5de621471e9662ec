// One volume of the record database: its SQLite file, the catalog of its tables, the records of each table,
// and the record order each kind of handle counts in. Results are Win32 error codes.
#pragma once

#include "LxEDBApi.h"

#include <cehost/sim/registry.h>
#include <sqlite3.h>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace lxedb {

enum class Order { Sorted = 0, Added = 1 };

struct Table {
    sqlite3_int64 catalogId = 0;
    std::string sqlName;
    // Record identifiers in each order, built on first use and dropped when the table changes.
    struct View {
        bool valid = false;
        std::vector<sqlite3_int64> ids;
    } views[2];
    void Invalidate() { views[0].valid = views[1].valid = false; }
};

class Volume {
public:
    // The volume's file: the folder from LXEDB_DIR (or the state folder) and the case-folded name, encoded so
    // that any name makes one safe file name. Empty when the name can't make one.
    static std::string FileFor(std::u16string_view name);

    explicit Volume(std::string path) : path_(std::move(path)) {}
    ~Volume();
    Volume(const Volume&) = delete;
    Volume& operator=(const Volume&) = delete;

    const std::string& Path() const { return path_; }
    // Opens (creating the file when `create`) and checks that it is one of ours.
    DWORD Open(bool create);

    DWORD FindTable(std::u16string_view name, bool create, Table** table);

    DWORD Count(Table& table, Order order, long* count);
    // The record at `index` in `order`: its identifier, its field count and (when `fields` is given) its
    // fields.
    DWORD ReadAt(Table& table, Order order, UINT index, _LxEDBREC* fields, UINT* count, sqlite3_int64* id);
    DWORD Add(Table& table, const _LxEDBREC* fields, UINT count, sqlite3_int64* id);
    DWORD Edit(Table& table, sqlite3_int64 id, const _LxEDBREC* fields, UINT count);
    DWORD DeleteAt(Table& table, Order order, UINT index, sqlite3_int64* id);
    DWORD DeleteAll(Table& table);

private:
    void Close();
    DWORD CheckSchema(bool create);
    class Transaction;
    // Reopens the file in a forked child.
    DWORD Ready();
    // Drops every cached order if another connection changed the file.
    DWORD Refresh();
    DWORD IdAt(Table& table, Order order, UINT index, sqlite3_int64* id);
    DWORD Change(sqlite3_stmt* stmt, bool* changed);
    DWORD BuildView(Table& table, Order order);
    sqlite3_stmt* Statement(const std::string& sql, DWORD* error);
    DWORD Exec(const char* sql);
    void Rollback();
    DWORD Error(int rc);
    void Report(DWORD code, const char* what);

    std::string path_;
    cehost::sim::DataFilePlace place_; // the file the connection has open
    sqlite3* db_ = nullptr;
    pid_t owner_ = 0;
    sqlite3_int64 dataVersion_ = -1;
    std::map<std::string, std::unique_ptr<Table>> tables_; // by folded name
    std::unordered_map<std::string, sqlite3_stmt*> statements_;
};

// Checks a record's fields and returns them as stored: unused bytes zeroed so that equal records are equal.
DWORD NormalizeFields(const _LxEDBREC* fields, UINT count, std::string* bytes);

} // namespace lxedb
