// LxEDB: a table of the record database, opened and reopened on demand.
#include "LxEDB.h"

#include <new>

namespace {

void StoreName(WCHAR* field, const WCHAR* name) {
    int length = 0;
    while (name && name[length] && length < LxEDB::kNameCapacity)
        ++length;
    if (length >= LxEDB::kNameCapacity) length = 0;
    for (int i = 0; i < length; ++i)
        field[i] = name[i];
    field[length] = 0;
}

} // namespace

LxEDB::LxEDB() : m_db(0), m_sort(1), m_notify(nullptr) {
    m_volume[0] = 0;
    m_table[0] = 0;
}

LxEDB::LxEDB(const WCHAR* volume, const WCHAR* table, int sort) : m_db(0), m_sort(sort), m_notify(nullptr) {
    StoreName(m_volume, volume);
    StoreName(m_table, table);
}

LxEDB::~LxEDB() {
    if (m_db) Close();
}

int LxEDB::IsOpen() {
    return m_db != 0 ? 1 : 0;
}

void LxEDB::SetVolumeName(const WCHAR* volume) {
    StoreName(m_volume, volume);
    if (m_db) Open();
}

void LxEDB::SetTableName(const WCHAR* table) {
    StoreName(m_table, table);
    if (m_db) Open();
}

void LxEDB::SetSort(int sort) {
    m_sort = sort;
    if (m_db) Open();
}

void LxEDB::SetNotify(HWND notify) {
    m_notify = notify;
    if (m_db) Open();
}

int LxEDB::Open(const WCHAR* volume, const WCHAR* table, int sort) {
    StoreName(m_volume, volume);
    StoreName(m_table, table);
    m_sort = sort;
    return Open();
}

int LxEDB::Open() {
    if (m_db) Close();
    m_db = EDB_CreateInfo(m_volume, m_table, m_sort == 0 ? 1 : 0);
    if (!m_db) return 0;
    if (EDB_InitDB(m_db) && EDB_OpenDB(m_db)) {
        if (IsWindow(m_notify) != 1) return 1;
        // The library registers a window only as a table is opened, so the table is opened once more.
        int closed = EDB_CloseDB(m_db);
        int reopened = EDB_OpenDBWithNoti(m_db, m_notify);
        if (closed && reopened) return 1;
    }
    Close();
    return 0;
}

void LxEDB::Close() {
    // Only a close the library confirms forgets the handle; otherwise the table still counts as open.
    if (EDB_CloseDB(m_db) == 1) m_db = 0;
}

long LxEDB::GetCount() {
    return EDB_GetTotalRecCount(m_db);
}

int LxEDB::AddRecord(_LxEDBREC* fields, UINT count) {
    return int(EDB_AddRec(m_db, fields, count));
}

int LxEDB::GetRecord(_LxEDBREC* fields, UINT index) {
    return EDB_ReadRec(m_db, index, fields) != 0 ? 1 : 0;
}

int LxEDB::SetRecord(_LxEDBREC* fields, UINT index, UINT count) {
    // The read fills every stored field, however many the caller is about to write, so the scratch record
    // has room for the largest record there can be.
    _LxEDBREC* scratch = new (std::nothrow) _LxEDBREC[EDB_MAX_FIELDS];
    if (!scratch) return 0;
    DWORD id = EDB_ReadRec(m_db, index, scratch);
    delete[] scratch;
    if (id == 0) return 0;
    return EDB_EditRec(m_db, id, fields, count);
}

int LxEDB::DeleteRecord(UINT index) {
    long count = GetCount();
    if (count <= 0 || index >= static_cast<unsigned long>(count)) return 0;
    return EDB_DeleteRec(m_db, index);
}

int LxEDB::DeleteAll() {
    return EDB_DeleteAllRec(m_db);
}
