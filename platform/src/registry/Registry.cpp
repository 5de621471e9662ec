// The Reg* functions over the registry file. Leaves out what CE lacks or ignores: security, classes (always
// empty), volatile keys, change notification, and samDesired (every handle may read and write).
#include "NameFold.h"
#include "RegistryFile.h"

#include <cehost/sim/registry.h>

#include <cstring>
#include <ctime>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

using namespace cehost::registry;

namespace {

constexpr size_t kMaxKeyNameLength = 255;
constexpr size_t kMaxValueNameLength = 16383;
constexpr int kMaxDepth = 16;

// Opened keys. A handle is (generation << 16) | slot: it fits in 32 bits, stays below the predefined roots,
// and a closed handle stays invalid because its slot's generation moves on.
struct OpenKey {
    sqlite3_int64 id = 0;
    uint16_t generation = 1;
    bool live = false;
};

struct Registry {
    std::recursive_mutex lock;
    RegistryFile file;
    std::vector<OpenKey> keys{1}; // slot 0 is never used, so no handle is 0
    std::vector<size_t> freeSlots;
};

Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

std::optional<sqlite3_int64> RootId(HKEY key) {
    uintptr_t value = reinterpret_cast<uintptr_t>(key);
    if (value >= 0x80000000u && value < 0x80000000u + kRootCount) return kFirstRootId + (value - 0x80000000u);
    return std::nullopt;
}

bool IsRoot(HKEY key) {
    return RootId(key).has_value();
}

// The key id behind a handle, or nothing for a handle that is not (or no longer) open.
std::optional<sqlite3_int64> KeyIdOf(Registry& reg, HKEY key) {
    if (auto root = RootId(key)) return root;
    uintptr_t value = reinterpret_cast<uintptr_t>(key);
    size_t slot = value & 0xFFFF;
    if (value > 0x7FFFFFFFu || slot == 0 || slot >= reg.keys.size()) return std::nullopt;
    const OpenKey& open = reg.keys[slot];
    if (!open.live || open.generation != (value >> 16)) return std::nullopt;
    return open.id;
}

std::optional<HKEY> NewHandle(Registry& reg, sqlite3_int64 id) {
    size_t slot;
    if (!reg.freeSlots.empty()) {
        slot = reg.freeSlots.back();
        reg.freeSlots.pop_back();
    } else {
        if (reg.keys.size() > 0xFFFF) return std::nullopt;
        slot = reg.keys.size();
        reg.keys.emplace_back();
    }
    OpenKey& open = reg.keys[slot];
    open.id = id;
    open.live = true;
    return reinterpret_cast<HKEY>(uintptr_t(open.generation) << 16 | slot);
}

void FreeHandle(Registry& reg, HKEY key) {
    size_t slot = reinterpret_cast<uintptr_t>(key) & 0xFFFF;
    OpenKey& open = reg.keys[slot];
    open.live = false;
    open.generation = open.generation == 0x7FFF ? 1 : open.generation + 1;
    reg.freeSlots.push_back(slot);
}

std::u16string_view TextOf(LPCWSTR text) {
    if (!text) return {};
    size_t length = 0;
    while (text[length])
        ++length;
    return {text, length};
}

// Splits a subkey path: one leading backslash is ignored, trailing backslashes are accepted, an empty name
// between two backslashes is a bad path.
LONG SplitPath(LPCWSTR subKey, std::vector<std::u16string_view>* parts) {
    std::u16string_view path = TextOf(subKey);
    if (!path.empty() && path.front() == u'\\') path.remove_prefix(1);
    while (!path.empty() && path.back() == u'\\')
        path.remove_suffix(1);
    while (!path.empty()) {
        size_t end = path.find(u'\\');
        std::u16string_view part = path.substr(0, end);
        if (part.empty()) return ERROR_BAD_PATHNAME;
        if (part.size() > kMaxKeyNameLength) return ERROR_INVALID_PARAMETER;
        parts->push_back(part);
        path = end == std::u16string_view::npos ? std::u16string_view{} : path.substr(end + 1);
    }
    return ERROR_SUCCESS;
}

sqlite3_int64 NowForKey() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return sqlite3_int64(now.tv_sec) * 10000000 + now.tv_nsec / 100;
}

FILETIME FileTimeOf(sqlite3_int64 unixTicks) {
    // 100-nanosecond ticks since 1601-01-01, as FILETIME counts them.
    uint64_t ticks = uint64_t(unixTicks) + 116444736000000000ull;
    return FILETIME{DWORD(ticks & 0xFFFFFFFF), DWORD(ticks >> 32)};
}

void BindBlob(sqlite3_stmt* stmt, int index, const std::string& bytes) {
    sqlite3_bind_blob(stmt, index, bytes.data(), int(bytes.size()), SQLITE_TRANSIENT);
}

// Every call runs with the registry locked and the file open.
class Call {
public:
    Call() : reg_(TheRegistry()), guard_(reg_.lock) { status_ = reg_.file.Acquire(); }
    LONG Status() const { return status_; }
    Registry& Reg() { return reg_; }
    RegistryFile& File() { return reg_.file; }

    // A cached statement, or nothing with `*error` set when it cannot be prepared (a damaged schema).
    sqlite3_stmt* Statement(const char* sql, LONG* error) {
        int rc = SQLITE_OK;
        sqlite3_stmt* stmt = reg_.file.Statement(sql, &rc);
        if (!stmt) *error = reg_.file.Error(rc);
        return stmt;
    }

private:
    Registry& reg_;
    std::lock_guard<std::recursive_mutex> guard_;
    LONG status_;
};

// Whether the key still exists (another process may have deleted it while this one held a handle).
LONG KeyExists(Call& call, sqlite3_int64 id) {
    LONG error = ERROR_SUCCESS;
    sqlite3_stmt* stmt = call.Statement("SELECT 1 FROM keys WHERE id = ?", &error);
    if (!stmt) return error;
    StatementScope scope(stmt);
    sqlite3_bind_int64(stmt, 1, id);
    int rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW) return ERROR_SUCCESS;
    if (rc == SQLITE_DONE) return ERROR_KEY_DELETED;
    return call.File().Error(rc);
}

struct KeyRow {
    sqlite3_int64 id = 0;
    int depth = 0;
};

// Looks up one child by name; ERROR_FILE_NOT_FOUND when it does not exist.
LONG FindChild(Call& call, sqlite3_int64 parent, std::u16string_view name, KeyRow* row) {
    LONG error = ERROR_SUCCESS;
    sqlite3_stmt* stmt = call.Statement("SELECT id, depth FROM keys WHERE parent = ? AND fold = ?", &error);
    if (!stmt) return error;
    StatementScope scope(stmt);
    sqlite3_bind_int64(stmt, 1, parent);
    BindBlob(stmt, 2, FoldedNameKey(name));
    int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE) return ERROR_FILE_NOT_FOUND;
    if (rc != SQLITE_ROW) return call.File().Error(rc);
    row->id = sqlite3_column_int64(stmt, 0);
    row->depth = sqlite3_column_int(stmt, 1);
    return ERROR_SUCCESS;
}

LONG KeyDepth(Call& call, sqlite3_int64 id, int* depth) {
    LONG error = ERROR_SUCCESS;
    sqlite3_stmt* stmt = call.Statement("SELECT depth FROM keys WHERE id = ?", &error);
    if (!stmt) return error;
    StatementScope scope(stmt);
    sqlite3_bind_int64(stmt, 1, id);
    int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE) return ERROR_KEY_DELETED;
    if (rc != SQLITE_ROW) return call.File().Error(rc);
    *depth = sqlite3_column_int(stmt, 0);
    return ERROR_SUCCESS;
}

// Walks `parts` down from `base`; the key must exist.
LONG ResolveKey(Call& call, sqlite3_int64 base, const std::vector<std::u16string_view>& parts, KeyRow* row) {
    LONG status = KeyExists(call, base);
    if (status != ERROR_SUCCESS) return status;
    row->id = base;
    for (auto part : parts) {
        status = FindChild(call, row->id, part, row);
        if (status != ERROR_SUCCESS) return status;
    }
    return ERROR_SUCCESS;
}

LONG TouchKey(Call& call, sqlite3_int64 id) {
    LONG error = ERROR_SUCCESS;
    sqlite3_stmt* stmt = call.Statement("UPDATE keys SET written = ? WHERE id = ?", &error);
    if (!stmt) return error;
    StatementScope scope(stmt);
    sqlite3_bind_int64(stmt, 1, NowForKey());
    sqlite3_bind_int64(stmt, 2, id);
    int rc = sqlite3_step(stmt);
    return rc == SQLITE_DONE ? ERROR_SUCCESS : call.File().Error(rc);
}

LONG ValueNameCheck(LPCWSTR name) {
    return TextOf(name).size() > kMaxValueNameLength ? ERROR_INVALID_PARAMETER : ERROR_SUCCESS;
}

LONG CopyName(std::u16string_view name, LPWSTR buffer, LPDWORD capacity) {
    if (name.size() + 1 > *capacity) return ERROR_MORE_DATA;
    std::memcpy(buffer, name.data(), name.size() * sizeof(char16_t));
    buffer[name.size()] = 0;
    *capacity = DWORD(name.size());
    return ERROR_SUCCESS;
}

// Opens or creates; `create` decides which.
LONG OpenOrCreate(HKEY hKey, LPCWSTR subKey, bool create, PHKEY result, LPDWORD disposition) {
    if (!result) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    std::vector<std::u16string_view> parts;
    LONG status = SplitPath(subKey, &parts);
    if (status != ERROR_SUCCESS) return status;

    Call call;
    if (call.Status() != ERROR_SUCCESS) return call.Status();
    auto base = KeyIdOf(call.Reg(), hKey);
    if (!base) return ERROR_INVALID_HANDLE;
    // Reserve the handle first so that running out of handles never leaves a half-done create behind.
    auto handle = NewHandle(call.Reg(), *base);
    if (!handle) return ERROR_NOT_ENOUGH_MEMORY;

    DWORD made = REG_OPENED_EXISTING_KEY;
    KeyRow row;
    if (!create) {
        ReadTransaction snapshot(call.File());
        status = ResolveKey(call, *base, parts, &row);
    } else {
        WriteTransaction transaction(call.File());
        status = transaction.Status();
        if (status == ERROR_SUCCESS) status = KeyDepth(call, *base, &row.depth);
        row.id = *base;
        for (size_t i = 0; status == ERROR_SUCCESS && i < parts.size(); ++i) {
            KeyRow child;
            status = FindChild(call, row.id, parts[i], &child);
            if (status == ERROR_FILE_NOT_FOUND) {
                if (row.depth + 1 > kMaxDepth) {
                    status = ERROR_INVALID_PARAMETER;
                    break;
                }
                sqlite3_stmt* insert = call.Statement(
                    "INSERT INTO keys(parent, depth, name, fold, written) VALUES(?, ?, ?, ?, ?)", &status);
                if (!insert) break;
                StatementScope scope(insert);
                sqlite3_bind_int64(insert, 1, row.id);
                sqlite3_bind_int(insert, 2, row.depth + 1);
                BindBlob(insert, 3, NameBytes(parts[i]));
                BindBlob(insert, 4, FoldedNameKey(parts[i]));
                sqlite3_bind_int64(insert, 5, NowForKey());
                int rc = sqlite3_step(insert);
                if (rc != SQLITE_DONE) {
                    status = call.File().Error(rc);
                    break;
                }
                child.id = sqlite3_last_insert_rowid(sqlite3_db_handle(insert));
                child.depth = row.depth + 1;
                status = ERROR_SUCCESS;
                if (i + 1 == parts.size()) made = REG_CREATED_NEW_KEY;
            }
            row = child;
        }
        if (status == ERROR_SUCCESS) status = transaction.Commit();
    }
    if (status != ERROR_SUCCESS) {
        FreeHandle(call.Reg(), *handle);
        return status;
    }
    call.Reg().keys[reinterpret_cast<uintptr_t>(*handle) & 0xFFFF].id = row.id;
    *result = *handle;
    if (disposition) *disposition = made;
    return ERROR_SUCCESS;
}

} // namespace

extern "C" LONG RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, LPWSTR, DWORD, REGSAM,
                                LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                                LPDWORD lpdwDisposition) {
    if (lpSecurityAttributes) return ERROR_INVALID_PARAMETER; // CE has no security on keys
    return OpenOrCreate(hKey, lpSubKey, true, phkResult, lpdwDisposition);
}

extern "C" LONG RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, REGSAM, PHKEY phkResult) {
    return OpenOrCreate(hKey, lpSubKey, false, phkResult, nullptr);
}

extern "C" LONG RegCloseKey(HKEY hKey) {
    Registry& reg = TheRegistry();
    std::lock_guard guard(reg.lock);
    if (IsRoot(hKey)) return ERROR_SUCCESS;
    if (!KeyIdOf(reg, hKey)) return ERROR_INVALID_HANDLE;
    FreeHandle(reg, hKey);
    return ERROR_SUCCESS;
}

extern "C" LONG RegFlushKey(HKEY hKey) {
    // Every change is already on disk when its call returns.
    Call call;
    if (call.Status() != ERROR_SUCCESS) return call.Status();
    auto id = KeyIdOf(call.Reg(), hKey);
    if (!id) return ERROR_INVALID_HANDLE;
    return KeyExists(call, *id);
}

extern "C" LONG RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData,
                               DWORD cbData) {
    if (ValueNameCheck(lpValueName) != ERROR_SUCCESS) return ERROR_INVALID_PARAMETER;
    if (!lpData && cbData) return ERROR_INVALID_PARAMETER;
    if (dwType == REG_DWORD && cbData != 4) return ERROR_INVALID_PARAMETER;
    Call call;
    if (call.Status() != ERROR_SUCCESS) return call.Status();
    auto id = KeyIdOf(call.Reg(), hKey);
    if (!id) return ERROR_INVALID_HANDLE;

    WriteTransaction transaction(call.File());
    LONG status = transaction.Status();
    if (status == ERROR_SUCCESS) status = KeyExists(call, *id);
    if (status != ERROR_SUCCESS) return status;
    {
        // A value set again keeps the name it was created with, as names are case-preserving.
        sqlite3_stmt* stmt =
            call.Statement("INSERT INTO vals(key, name, fold, type, data) VALUES(?, ?, ?, ?, ?)"
                           " ON CONFLICT(key, fold) DO UPDATE SET type = excluded.type,"
                           " data = excluded.data",
                           &status);
        if (!stmt) return status;
        StatementScope scope(stmt);
        std::u16string_view name = TextOf(lpValueName);
        sqlite3_bind_int64(stmt, 1, *id);
        BindBlob(stmt, 2, NameBytes(name));
        BindBlob(stmt, 3, FoldedNameKey(name));
        sqlite3_bind_int64(stmt, 4, dwType);
        sqlite3_bind_blob(stmt, 5, lpData ? static_cast<const void*>(lpData) : "", int(cbData),
                          SQLITE_STATIC);
        int rc = sqlite3_step(stmt);
        if (rc != SQLITE_DONE) return call.File().Error(rc);
    }
    status = TouchKey(call, *id);
    return status == ERROR_SUCCESS ? transaction.Commit() : status;
}

extern "C" LONG RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType,
                                 LPBYTE lpData, LPDWORD lpcbData) {
    if (lpReserved || (lpData && !lpcbData)) return ERROR_INVALID_PARAMETER;
    Call call;
    if (call.Status() != ERROR_SUCCESS) return call.Status();
    auto id = KeyIdOf(call.Reg(), hKey);
    if (!id) return ERROR_INVALID_HANDLE;

    LONG status = ERROR_SUCCESS;
    sqlite3_stmt* stmt = call.Statement("SELECT type, data FROM vals WHERE key = ? AND fold = ?", &status);
    if (!stmt) return status;
    StatementScope scope(stmt);
    sqlite3_bind_int64(stmt, 1, *id);
    BindBlob(stmt, 2, FoldedNameKey(TextOf(lpValueName)));
    int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE) {
        status = KeyExists(call, *id);
        return status == ERROR_SUCCESS ? ERROR_FILE_NOT_FOUND : status;
    }
    if (rc != SQLITE_ROW) return call.File().Error(rc);
    DWORD size = DWORD(sqlite3_column_bytes(stmt, 1));
    if (lpType) *lpType = DWORD(sqlite3_column_int64(stmt, 0));
    if (lpData) {
        if (*lpcbData < size) {
            *lpcbData = size;
            return ERROR_MORE_DATA;
        }
        if (size) std::memcpy(lpData, sqlite3_column_blob(stmt, 1), size);
    }
    if (lpcbData) *lpcbData = size;
    return ERROR_SUCCESS;
}

extern "C" LONG RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
    Call call;
    if (call.Status() != ERROR_SUCCESS) return call.Status();
    auto id = KeyIdOf(call.Reg(), hKey);
    if (!id) return ERROR_INVALID_HANDLE;

    WriteTransaction transaction(call.File());
    LONG status = transaction.Status();
    if (status == ERROR_SUCCESS) status = KeyExists(call, *id);
    if (status != ERROR_SUCCESS) return status;
    {
        sqlite3_stmt* stmt = call.Statement("DELETE FROM vals WHERE key = ? AND fold = ?", &status);
        if (!stmt) return status;
        StatementScope scope(stmt);
        sqlite3_bind_int64(stmt, 1, *id);
        BindBlob(stmt, 2, FoldedNameKey(TextOf(lpValueName)));
        int rc = sqlite3_step(stmt);
        if (rc != SQLITE_DONE) return call.File().Error(rc);
        if (sqlite3_changes(sqlite3_db_handle(stmt)) == 0) return ERROR_FILE_NOT_FOUND;
    }
    status = TouchKey(call, *id);
    return status == ERROR_SUCCESS ? transaction.Commit() : status;
}

extern "C" LONG RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) {
    std::vector<std::u16string_view> parts;
    LONG status = SplitPath(lpSubKey, &parts);
    if (status != ERROR_SUCCESS) return status;
    Call call;
    if (call.Status() != ERROR_SUCCESS) return call.Status();
    auto base = KeyIdOf(call.Reg(), hKey);
    if (!base) return ERROR_INVALID_HANDLE;
    // No subkey names the key itself: a root can't be deleted, and an opened key is open by definition.
    if (parts.empty()) return ERROR_ACCESS_DENIED;

    WriteTransaction transaction(call.File());
    if ((status = transaction.Status()) != ERROR_SUCCESS) return status;
    KeyRow target;
    if ((status = ResolveKey(call, *base, parts, &target)) != ERROR_SUCCESS) return status;

    // As on CE the whole subtree goes, but not while this process holds any key of it open.
    std::vector<sqlite3_int64> subtree;
    {
        sqlite3_stmt* stmt = call.Statement("WITH RECURSIVE sub(id) AS (SELECT ? UNION ALL"
                                            " SELECT keys.id FROM keys JOIN sub ON keys.parent = sub.id)"
                                            " SELECT id FROM sub",
                                            &status);
        if (!stmt) return status;
        StatementScope scope(stmt);
        sqlite3_bind_int64(stmt, 1, target.id);
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
            subtree.push_back(sqlite3_column_int64(stmt, 0));
        if (rc != SQLITE_DONE) return call.File().Error(rc);
    }
    for (const OpenKey& open : call.Reg().keys)
        for (sqlite3_int64 id : subtree)
            if (open.live && open.id == id) return ERROR_ACCESS_DENIED;

    for (const char* sql : {"DELETE FROM vals WHERE key = ?", "DELETE FROM keys WHERE id = ?"}) {
        sqlite3_stmt* stmt = call.Statement(sql, &status);
        if (!stmt) return status;
        for (sqlite3_int64 id : subtree) {
            StatementScope scope(stmt);
            sqlite3_bind_int64(stmt, 1, id);
            int rc = sqlite3_step(stmt);
            if (rc != SQLITE_DONE) return call.File().Error(rc);
        }
    }
    return transaction.Commit();
}

// Steps an enumeration query `sql` (bound to the key's id and `index`) to its row and copies the row's name,
// its first column, out. `*row` is set as soon as the statement exists, so that the caller's scope resets it
// and reads the other columns; past the last row the result is ERROR_NO_MORE_ITEMS.
LONG EnumRow(Call& call, HKEY key, const char* sql, DWORD index, LPWSTR name, LPDWORD length,
             sqlite3_stmt** row) {
    if (call.Status() != ERROR_SUCCESS) return call.Status();
    auto id = KeyIdOf(call.Reg(), key);
    if (!id) return ERROR_INVALID_HANDLE;
    LONG status = ERROR_SUCCESS;
    sqlite3_stmt* stmt = call.Statement(sql, &status);
    if (!stmt) return status;
    *row = stmt;
    sqlite3_bind_int64(stmt, 1, *id);
    sqlite3_bind_int64(stmt, 2, index);
    int rc = sqlite3_step(stmt);
    if (rc == SQLITE_DONE) {
        status = KeyExists(call, *id);
        return status == ERROR_SUCCESS ? ERROR_NO_MORE_ITEMS : status;
    }
    if (rc != SQLITE_ROW) return call.File().Error(rc);
    return CopyName(NameFromBytes(sqlite3_column_blob(stmt, 0), size_t(sqlite3_column_bytes(stmt, 0))), name,
                    length);
}

extern "C" LONG RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcName, LPDWORD,
                              LPWSTR lpClass, LPDWORD lpcClass, PFILETIME lpftLastWriteTime) {
    if (!lpName || !lpcName) return ERROR_INVALID_PARAMETER;
    Call call;
    sqlite3_stmt* stmt = nullptr;
    LONG status =
        EnumRow(call, hKey, "SELECT name, written FROM keys WHERE parent = ? ORDER BY fold LIMIT 1 OFFSET ?",
                dwIndex, lpName, lpcName, &stmt);
    StatementScope scope(stmt);
    if (status != ERROR_SUCCESS) return status;
    if (lpClass && lpcClass && *lpcClass) lpClass[0] = 0;
    if (lpcClass) *lpcClass = 0;
    if (lpftLastWriteTime) *lpftLastWriteTime = FileTimeOf(sqlite3_column_int64(stmt, 1));
    return ERROR_SUCCESS;
}

extern "C" LONG RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName, LPDWORD,
                              LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
    if (!lpValueName || !lpcchValueName || (lpData && !lpcbData)) return ERROR_INVALID_PARAMETER;
    Call call;
    sqlite3_stmt* stmt = nullptr;
    // Values come back in the order they were first set, as Windows keeps them.
    LONG status =
        EnumRow(call, hKey, "SELECT name, type, data FROM vals WHERE key = ? ORDER BY id LIMIT 1 OFFSET ?",
                dwIndex, lpValueName, lpcchValueName, &stmt);
    StatementScope scope(stmt);
    if (status != ERROR_SUCCESS) return status;
    if (lpType) *lpType = DWORD(sqlite3_column_int64(stmt, 1));
    DWORD size = DWORD(sqlite3_column_bytes(stmt, 2));
    if (lpData) {
        if (*lpcbData < size) {
            *lpcbData = size;
            return ERROR_MORE_DATA;
        }
        if (size) std::memcpy(lpData, sqlite3_column_blob(stmt, 2), size);
    }
    if (lpcbData) *lpcbData = size;
    return ERROR_SUCCESS;
}

extern "C" LONG RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcClass, LPDWORD, LPDWORD lpcSubKeys,
                                 LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                                 LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen,
                                 LPDWORD lpcbSecurityDescriptor, PFILETIME lpftLastWriteTime) {
    Call call;
    if (call.Status() != ERROR_SUCCESS) return call.Status();
    auto id = KeyIdOf(call.Reg(), hKey);
    if (!id) return ERROR_INVALID_HANDLE;

    LONG status = ERROR_SUCCESS;
    sqlite3_stmt* stmt = call.Statement(
        "SELECT (SELECT written FROM keys WHERE id = ?1),"
        " (SELECT count(*) FROM keys WHERE parent = ?1), (SELECT max(length(name)) FROM keys WHERE parent = "
        "?1),"
        " (SELECT count(*) FROM vals WHERE key = ?1), (SELECT max(length(name)) FROM vals WHERE key = ?1),"
        " (SELECT max(length(data)) FROM vals WHERE key = ?1)",
        &status);
    if (!stmt) return status;
    StatementScope scope(stmt);
    sqlite3_bind_int64(stmt, 1, *id);
    int rc = sqlite3_step(stmt);
    if (rc != SQLITE_ROW) return call.File().Error(rc);
    if (sqlite3_column_type(stmt, 0) == SQLITE_NULL) return ERROR_KEY_DELETED;
    if (lpClass && lpcClass && *lpcClass) lpClass[0] = 0;
    if (lpcClass) *lpcClass = 0;
    if (lpcSubKeys) *lpcSubKeys = DWORD(sqlite3_column_int64(stmt, 1));
    if (lpcbMaxSubKeyLen) *lpcbMaxSubKeyLen = DWORD(sqlite3_column_int64(stmt, 2) / 2);
    if (lpcbMaxClassLen) *lpcbMaxClassLen = 0;
    if (lpcValues) *lpcValues = DWORD(sqlite3_column_int64(stmt, 3));
    if (lpcbMaxValueNameLen) *lpcbMaxValueNameLen = DWORD(sqlite3_column_int64(stmt, 4) / 2);
    if (lpcbMaxValueLen) *lpcbMaxValueLen = DWORD(sqlite3_column_int64(stmt, 5));
    if (lpcbSecurityDescriptor) *lpcbSecurityDescriptor = 0;
    if (lpftLastWriteTime) *lpftLastWriteTime = FileTimeOf(sqlite3_column_int64(stmt, 0));
    return ERROR_SUCCESS;
}

extern "C" void CehostSetRegistryPath(const char* path) {
    Registry& reg = TheRegistry();
    std::lock_guard guard(reg.lock);
    for (size_t slot = 1; slot < reg.keys.size(); ++slot)
        if (reg.keys[slot].live)
            FreeHandle(reg, reinterpret_cast<HKEY>(uintptr_t(reg.keys[slot].generation) << 16 | slot));
    reg.file.Reset(path ? path : "");
}

extern "C" const char* CehostGetRegistryPath(void) {
    Registry& reg = TheRegistry();
    std::lock_guard guard(reg.lock);
    return reg.file.Path().c_str();
}
