// Host extensions of the registry: where its database file lives, how an SQLite data file is told from
// another program's and how its failures become Win32 errors (shared with the record database). By default the file is named by the environment
// variable CEHOST_REGISTRY, else it is registry.db in the per-user state folder ($XDG_STATE_HOME/cehost,
// else ~/.local/state/cehost).
#pragma once
#include <windows.h>

#include <string>

struct sqlite3;

namespace cehost::sim {

// The per-user folder where host programs keep their state: $XDG_STATE_HOME when it is an absolute path,
// else ~/.local/state (the password entry's home when HOME is unset, /tmp as a last resort).
std::string UserStateFolder();

// Creates `folder` and every missing folder above it, each readable by its owner only. False when one of
// them can be neither made nor found.
bool MakeOwnerOnlyFolders(const std::string& folder);

// How one kind of SQLite data file tells of its failures: the words a stderr line about it starts and ends
// with, and the Win32 error each kind of failure returns.
struct DataFileErrors {
    const char* lead;    // before the file's path: "cehost: registry file"
    const char* outcome; // before "with error N": "registry calls fail"
    DWORD damaged;       // the file is damaged or is not a database
    DWORD cannotOpen;
    DWORD locked; // another process holds it past the busy timeout
    DWORD failed; // any other failure
};

// Maps an SQLite result (extended codes too) on the file at `path` to a Win32 error: ERROR_SUCCESS for the
// success results, ERROR_NOT_ENOUGH_MEMORY when memory ran out, else one of `errors`' codes, reported once on
// stderr. An unforeseen failure is described by `db`'s last message (by the result's text when `db` is null).
DWORD DataFileError(const DataFileErrors& errors, const std::string& path, sqlite3* db, int rc);

// What an SQLite data file says of its owner: the application id and schema version in its header, and how
// many tables it holds (none in a file just made).
struct DataFileIdentity {
    int applicationId = 0;
    int version = 0;
    int tables = 0;
};

// Reads the identity of the open file; the SQLite result (SQLITE_OK when it was read).
int ReadDataFileIdentity(sqlite3* db, DataFileIdentity* identity);

// Writes "<lead> <path> <what>; <outcome> with error <code>" on stderr, once per file, code and cause in a
// process: a program that keeps retrying must not flood its stderr.
void ReportDataFileFailure(const DataFileErrors& errors, const std::string& path, DWORD code,
                           const char* what);

// Which file a path names (device and inode), so that a store can tell when its file was removed or replaced
// under an open connection: SQLite would go on writing into the old file, and what it wrote would be lost.
struct DataFilePlace {
    unsigned long long device = 0, inode = 0;
};
// The place of the file at `path`; false when there is none.
bool FindDataFile(const std::string& path, DataFilePlace* place);
// Null while `path` still names the file opened at `opened`; else what became of it, for the debug line
// ("was removed while open", "was replaced while open").
const char* DataFileMoved(const std::string& path, const DataFilePlace& opened);

} // namespace cehost::sim

// Uses `path` as the registry file from the next registry call on (NULL returns to the default). Open key
// handles are closed; the previous file is left as it is.
CEHOST_API void WINAPI CehostSetRegistryPath(const char* path);

// The file the registry uses (or will use on its next call). The text stays valid until the path changes.
CEHOST_API const char* WINAPI CehostGetRegistryPath(void);
