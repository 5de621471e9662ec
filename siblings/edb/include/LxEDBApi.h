// LxEDB: the record database. Volumes hold tables, tables hold records, a record is an array of fields of
// 260 bytes each. A volume is one SQLite file in the folder named by LXEDB_DIR (else the per-user state
// folder, $XDG_STATE_HOME/lxedb or ~/.local/state/lxedb). Every change is on disk when its call returns.
//
// A database handle (from EDB_CreateInfo) names one table of one volume and the order in which its records
// are counted: flag 0 sorts them by their first field (numbers, then times, then texts; numbers and times by
// value, texts by their upper-cased 16-bit units, so without regard to case; ties in the order they were
// added), flag 1 keeps the order they were added. Record identifiers are non-zero and never change or get
// reused. Bad handles, indices and fields give 0 (GetLastError says why).
#pragma once

#include <windows.h>

#ifdef __cplusplus
#define LXEDB_API extern "C"
#else
#define LXEDB_API extern
#endif

// Field types.
#define EDB_FIELD_INT 1  // iVal: a signed 32-bit number
#define EDB_FIELD_TIME 2 // ftVal: a FILETIME
#define EDB_FIELD_TEXT 3 // szVal: text of at most 125 units and its terminator

#define EDB_TEXT_MAX 126
// Records have 1 to EDB_MAX_FIELDS fields; a buffer of that many fields holds any record.
#define EDB_MAX_FIELDS 64

typedef struct _LxEDBREC {
    DWORD dwPropId; // the application's identifier of the property
    WORD wType;     // EDB_FIELD_*
    WORD wReserved; // 0
    union {
        INT32 iVal;
        FILETIME ftVal;
        WCHAR szVal[EDB_TEXT_MAX];
    };
} LxEDBREC;

#ifdef __cplusplus
static_assert(sizeof(_LxEDBREC) == 260, "a field record is 260 bytes");
#endif

// Posted to the window given to EDB_OpenDBWithNoti when any handle of this process changes its table.
// wParam: the record identifier (0 when every record was deleted at once); lParam: the database handle
// the window was registered with.
#define EDBM_RECORDADDED 0x8ED1
#define EDBM_RECORDCHANGED 0x8ED2
#define EDBM_RECORDDELETED 0x8ED3

// Names a table of a volume (neither may be empty; names ignore case). 0 on failure.
LXEDB_API DWORD WINAPI EDB_CreateInfo(const WCHAR* volume, const WCHAR* table, int flag);
// Creates the volume file and the table if they do not exist yet. 1 on success.
LXEDB_API int WINAPI EDB_InitDB(DWORD db);
// Opens the table for the record calls; it must exist. 1 on success (also when already open).
LXEDB_API int WINAPI EDB_OpenDB(DWORD db);
// As EDB_OpenDB, and `notify` is told of changes from then on.
LXEDB_API int WINAPI EDB_OpenDBWithNoti(DWORD db, HWND notify);
// Closes the table; the handle may be opened again. 1 when the table is closed (also when it already was),
// 0 for a handle that is not known.
LXEDB_API int WINAPI EDB_CloseDB(DWORD db);
// Number of records of an open table (0 otherwise).
LXEDB_API long WINAPI EDB_GetTotalRecCount(DWORD db);
// Adds a record; returns its identifier, 0 on failure.
LXEDB_API DWORD WINAPI EDB_AddRec(DWORD db, const _LxEDBREC* fields, UINT count);
// Copies every field of the record at `index` into `fields`; returns the record's identifier, 0 on failure.
LXEDB_API DWORD WINAPI EDB_ReadRec(DWORD db, UINT index, _LxEDBREC* fields);
// Number of fields of the record at `index`, 0 on failure.
LXEDB_API UINT WINAPI EDB_GetRecFieldCount(DWORD db, UINT index);
// Replaces the fields of the record `id`. 1 on success.
LXEDB_API int WINAPI EDB_EditRec(DWORD db, DWORD id, const _LxEDBREC* fields, UINT count);
// Deletes the record at `index`. 1 on success.
LXEDB_API int WINAPI EDB_DeleteRec(DWORD db, UINT index);
// Deletes every record of the table. 1 on success.
LXEDB_API int WINAPI EDB_DeleteAllRec(DWORD db);
