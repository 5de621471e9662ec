// The EDB_* calls: database handles, their open and closed states, and change notifications.
//
// A handle outlives EDB_CloseDB so that it can be opened again (with or without notification) and so that
// closing it a second time is harmless. The most recent closed handles are kept; older ones are forgotten,
// and from then on every call with them gives 0, as for any unknown handle.
#include "EdbVolume.h"

#include <deque>
#include <mutex>

using namespace lxedb;

namespace {

constexpr size_t kKeptClosedHandles = 64;
constexpr size_t kMaxNameLength = 1023;

enum class State { Named, Open, Closed };

struct Info {
    uint16_t generation = 1;
    bool live = false;
    std::u16string volumeName;
    std::u16string tableName;
    Order order = Order::Sorted;
    State state = State::Named;
    HWND notify = nullptr;
    Volume* volume = nullptr;
    Table* table = nullptr;
};

struct OpenVolume {
    std::unique_ptr<Volume> volume;
    int users = 0;
};

struct Database {
    std::recursive_mutex lock;
    std::vector<Info> infos{1}; // slot 0 unused: no handle is 0
    std::vector<size_t> freeSlots;
    std::deque<DWORD> closed;
    std::map<std::string, OpenVolume> volumes;
};

Database& TheDatabase() {
    static Database database;
    return database;
}

Info* InfoOf(Database& d, DWORD handle) {
    size_t slot = handle & 0xFFFF;
    if (slot == 0 || slot >= d.infos.size()) return nullptr;
    Info& info = d.infos[slot];
    if (!info.live || info.generation != (handle >> 16)) return nullptr;
    return &info;
}

DWORD HandleOf(Database& d, const Info& info) {
    return DWORD(info.generation) << 16 | DWORD(&info - d.infos.data());
}

void FreeInfo(Database& d, Info& info) {
    size_t slot = size_t(&info - d.infos.data());
    uint16_t next = info.generation == 0x7FFF ? 1 : info.generation + 1;
    info = Info{};
    info.generation = next;
    d.freeSlots.push_back(slot);
}

// The volume's connection, opened (and the file created when `create`) for one more user.
DWORD AcquireVolume(Database& d, const std::u16string& name, bool create, Volume** volume) {
    std::string path = Volume::FileFor(name);
    if (path.empty()) return ERROR_INVALID_NAME;
    OpenVolume& entry = d.volumes[path];
    if (!entry.volume) entry.volume = std::make_unique<Volume>(path);
    DWORD status = entry.volume->Open(create);
    if (status != ERROR_SUCCESS) {
        if (entry.users == 0) d.volumes.erase(path);
        return status;
    }
    ++entry.users;
    *volume = entry.volume.get();
    return ERROR_SUCCESS;
}

void ReleaseVolume(Database& d, Volume* volume) {
    auto found = d.volumes.find(volume->Path());
    if (found == d.volumes.end()) return;
    if (--found->second.users <= 0) d.volumes.erase(found);
}

template <typename Result> Result Fail(DWORD error) {
    SetLastError(error);
    return Result(0);
}

// The open table behind a handle, or null with the last error set.
Info* OpenInfo(Database& d, DWORD handle) {
    Info* info = InfoOf(d, handle);
    if (!info) return SetLastError(ERROR_INVALID_HANDLE), nullptr;
    if (info->state != State::Open) return SetLastError(ERROR_INVALID_HANDLE), nullptr;
    return info;
}

int OpenTable(DWORD handle, HWND notify) {
    Database& d = TheDatabase();
    std::lock_guard guard(d.lock);
    Info* info = InfoOf(d, handle);
    if (!info) return Fail<int>(ERROR_INVALID_HANDLE);
    if (info->state != State::Open) {
        Volume* volume = nullptr;
        DWORD status = AcquireVolume(d, info->volumeName, false, &volume);
        if (status != ERROR_SUCCESS) return Fail<int>(status);
        Table* table = nullptr;
        status = volume->FindTable(info->tableName, false, &table);
        if (status != ERROR_SUCCESS) {
            ReleaseVolume(d, volume);
            return Fail<int>(status);
        }
        info->volume = volume;
        info->table = table;
        info->state = State::Open;
    }
    info->notify = notify;
    return 1;
}

// Tells every window registered on the same table; each gets the handle it registered with.
void Notify(Database& d, const Info& source, UINT message, sqlite3_int64 id) {
    for (const Info& info : d.infos) {
        if (!info.live || info.state != State::Open || !info.notify) continue;
        if (info.volume != source.volume || info.table != source.table) continue;
        PostMessageW(info.notify, message, WPARAM(id), LPARAM(HandleOf(d, info)));
    }
}

// Runs `call` on the open table behind `handle` with the database locked; 0 (the last error set) when the
// handle is not open.
template <typename Call> auto OnOpenTable(DWORD handle, Call call) {
    Database& d = TheDatabase();
    std::lock_guard guard(d.lock);
    Info* info = OpenInfo(d, handle);
    using Result = decltype(call(d, *info));
    if (!info) return Result(0);
    return call(d, *info);
}

// The end of a call that changes records: 1 with the table's windows told, or 0 with the last error set.
int Changed(Database& d, const Info& info, DWORD status, UINT message, sqlite3_int64 id) {
    if (status != ERROR_SUCCESS) return Fail<int>(status);
    Notify(d, info, message, id);
    return 1;
}

} // namespace

extern "C" DWORD EDB_CreateInfo(const WCHAR* volume, const WCHAR* table, int flag) {
    if (!volume || !table || (flag != 0 && flag != 1)) return Fail<DWORD>(ERROR_INVALID_PARAMETER);
    std::u16string volumeName(volume), tableName(table);
    if (volumeName.empty() || tableName.empty() || tableName.size() > kMaxNameLength ||
        Volume::FileFor(volumeName).empty())
        return Fail<DWORD>(ERROR_INVALID_NAME);

    Database& d = TheDatabase();
    std::lock_guard guard(d.lock);
    size_t slot;
    if (!d.freeSlots.empty()) {
        slot = d.freeSlots.back();
        d.freeSlots.pop_back();
    } else {
        if (d.infos.size() > 0xFFFF) return Fail<DWORD>(ERROR_NOT_ENOUGH_MEMORY);
        slot = d.infos.size();
        d.infos.emplace_back();
    }
    Info& info = d.infos[slot];
    info.live = true;
    info.volumeName = std::move(volumeName);
    info.tableName = std::move(tableName);
    info.order = flag == 1 ? Order::Added : Order::Sorted;
    info.state = State::Named;
    return HandleOf(d, info);
}

extern "C" int EDB_InitDB(DWORD db) {
    Database& d = TheDatabase();
    std::lock_guard guard(d.lock);
    Info* info = InfoOf(d, db);
    if (!info) return Fail<int>(ERROR_INVALID_HANDLE);
    if (info->state == State::Open) return 1;
    Volume* volume = nullptr;
    DWORD status = AcquireVolume(d, info->volumeName, true, &volume);
    if (status != ERROR_SUCCESS) return Fail<int>(status);
    Table* table = nullptr;
    status = volume->FindTable(info->tableName, true, &table);
    ReleaseVolume(d, volume);
    return status == ERROR_SUCCESS ? 1 : Fail<int>(status);
}

extern "C" int EDB_OpenDB(DWORD db) {
    return OpenTable(db, nullptr);
}

extern "C" int EDB_OpenDBWithNoti(DWORD db, HWND notify) {
    if (!notify || !IsWindow(notify)) return Fail<int>(ERROR_INVALID_WINDOW_HANDLE);
    return OpenTable(db, notify);
}

extern "C" int EDB_CloseDB(DWORD db) {
    Database& d = TheDatabase();
    std::lock_guard guard(d.lock);
    Info* info = InfoOf(d, db);
    if (!info) return Fail<int>(ERROR_INVALID_HANDLE);
    if (info->state == State::Closed) return 1;
    if (info->state == State::Open) ReleaseVolume(d, info->volume);
    info->volume = nullptr;
    info->table = nullptr;
    info->notify = nullptr;
    info->state = State::Closed;
    d.closed.push_back(db);
    while (d.closed.size() > kKeptClosedHandles) {
        Info* oldest = InfoOf(d, d.closed.front());
        d.closed.pop_front();
        if (oldest && oldest->state == State::Closed) FreeInfo(d, *oldest);
    }
    return 1;
}

extern "C" long EDB_GetTotalRecCount(DWORD db) {
    return OnOpenTable(db, [](Database&, Info& info) {
        long count = 0;
        DWORD status = info.volume->Count(*info.table, info.order, &count);
        return status == ERROR_SUCCESS ? count : Fail<long>(status);
    });
}

extern "C" DWORD EDB_AddRec(DWORD db, const _LxEDBREC* fields, UINT count) {
    return OnOpenTable(db, [&](Database& d, Info& info) {
        sqlite3_int64 id = 0;
        DWORD status = info.volume->Add(*info.table, fields, count, &id);
        if (status != ERROR_SUCCESS) return Fail<DWORD>(status);
        if (id > 0xFFFFFFFFll) return Fail<DWORD>(ERROR_NOT_ENOUGH_MEMORY);
        Notify(d, info, EDBM_RECORDADDED, id);
        return DWORD(id);
    });
}

extern "C" DWORD EDB_ReadRec(DWORD db, UINT index, _LxEDBREC* fields) {
    return OnOpenTable(db, [&](Database&, Info& info) {
        if (!fields) return Fail<DWORD>(ERROR_INVALID_PARAMETER);
        sqlite3_int64 id = 0;
        UINT count = 0;
        DWORD status = info.volume->ReadAt(*info.table, info.order, index, fields, &count, &id);
        return status == ERROR_SUCCESS ? DWORD(id) : Fail<DWORD>(status);
    });
}

extern "C" UINT EDB_GetRecFieldCount(DWORD db, UINT index) {
    return OnOpenTable(db, [&](Database&, Info& info) {
        sqlite3_int64 id = 0;
        UINT count = 0;
        DWORD status = info.volume->ReadAt(*info.table, info.order, index, nullptr, &count, &id);
        return status == ERROR_SUCCESS ? count : Fail<UINT>(status);
    });
}

extern "C" int EDB_EditRec(DWORD db, DWORD id, const _LxEDBREC* fields, UINT count) {
    return OnOpenTable(db, [&](Database& d, Info& info) {
        if (id == 0) return Fail<int>(ERROR_NOT_FOUND);
        return Changed(d, info, info.volume->Edit(*info.table, id, fields, count), EDBM_RECORDCHANGED, id);
    });
}

extern "C" int EDB_DeleteRec(DWORD db, UINT index) {
    return OnOpenTable(db, [&](Database& d, Info& info) {
        sqlite3_int64 id = 0;
        DWORD status = info.volume->DeleteAt(*info.table, info.order, index, &id);
        return Changed(d, info, status, EDBM_RECORDDELETED, id);
    });
}

extern "C" int EDB_DeleteAllRec(DWORD db) {
    return OnOpenTable(db, [](Database& d, Info& info) {
        return Changed(d, info, info.volume->DeleteAll(*info.table), EDBM_RECORDDELETED, 0);
    });
}
