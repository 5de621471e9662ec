// LxEDB: one object per table of the record database. It remembers the volume, the table, the sort setting
// and a window to tell of changes; it opens and reopens the table and forwards record calls to the LxEDB
// library. Copies share the open table. Leaves out everything but whole-record access.
#pragma once

#include <windows.h>
#include <LxEDBApi.h>

class LxEDB {
public:
    // Room for each name, terminator included. A longer name is refused: it is stored as empty, which no
    // table has, so the object cannot open a table that was not meant.
    static constexpr int kNameCapacity = 1024;

    LxEDB();
    LxEDB(const WCHAR* volume, const WCHAR* table, int sort);
    LxEDB(const LxEDB& other) = default;
    LxEDB& operator=(const LxEDB& other) = default;
    virtual ~LxEDB();

    int IsOpen();

    // Each stores its value and, if the table is open, reopens it at once.
    void SetVolumeName(const WCHAR* volume);
    void SetTableName(const WCHAR* table);
    // 0 keeps records in the order they were added; anything else sorts them by their first field.
    void SetSort(int sort);
    void SetNotify(HWND notify);

    int Open(const WCHAR* volume, const WCHAR* table, int sort);
    int Open();
    void Close();

    long GetCount();
    int AddRecord(_LxEDBREC* fields, UINT count);
    // `fields` must hold every field of the record (EDB_MAX_FIELDS hold any record).
    int GetRecord(_LxEDBREC* fields, UINT index);
    int SetRecord(_LxEDBREC* fields, UINT index, UINT count);
    int DeleteRecord(UINT index);
    int DeleteAll();

private:
    DWORD m_db;
    WCHAR m_volume[kNameCapacity];
    WCHAR m_table[kNameCapacity];
    int m_sort;
    HWND m_notify;
};
