// A test VFS that wraps SQLite's default one and makes the storage under a chosen folder fail the way a real
// machine does: writes finding the disk full, fsync failing, the folder turned read-only (no file can be
// made in it). It also makes SQLite's sleeps take no real time, so a busy timeout runs out at once. Installed
// as the default VFS, so the code under test needs no change to go through it.
#pragma once

#include <sqlite3.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <sys/stat.h>

class FaultVfs {
public:
    enum class Fault { None, DiskFull, SyncFails, ReadOnlyFolder };

    // Registers the VFS as the default (once per process).
    static void Install() {
        if (s_base) return;
        s_base = sqlite3_vfs_find(nullptr);
        static sqlite3_vfs vfs = *s_base;
        vfs.zName = "lx-fault";
        vfs.szOsFile = int(sizeof(File)) + s_base->szOsFile;
        vfs.pNext = nullptr;
        vfs.xOpen = Open;
        vfs.xDelete = Delete;
        vfs.xSleep = [](sqlite3_vfs*, int microseconds) { return microseconds; };
        sqlite3_vfs_register(&vfs, 1);
    }

    // Makes files whose path starts with `folder` meet `fault` from now on.
    static void Set(Fault fault, const std::string& folder = {}) {
        s_fault = fault;
        s_folder = folder;
    }

private:
    struct File {
        sqlite3_file base;
        sqlite3_file* real;
        const char* path; // SQLite keeps the name alive while the file is open
    };

    static inline sqlite3_vfs* s_base = nullptr;
    static inline Fault s_fault = Fault::None;
    static inline std::string s_folder;

    static bool Watched(const char* path) {
        return path && !s_folder.empty() && std::strncmp(path, s_folder.c_str(), s_folder.size()) == 0;
    }
    static bool Meets(const sqlite3_file* file, Fault fault) {
        return s_fault == fault && Watched(reinterpret_cast<const File*>(file)->path);
    }
    static sqlite3_file* Real(sqlite3_file* file) { return reinterpret_cast<File*>(file)->real; }

    static int Open(sqlite3_vfs*, sqlite3_filename name, sqlite3_file* file, int flags, int* outFlags) {
        File* f = reinterpret_cast<File*>(file);
        f->base.pMethods = nullptr;
        f->real = reinterpret_cast<sqlite3_file*>(f + 1);
        f->path = name;
        struct stat st;
        if (Watched(name) && s_fault == Fault::ReadOnlyFolder && (flags & SQLITE_OPEN_CREATE) && stat(name, &st) != 0)
            return errno = EACCES, SQLITE_CANTOPEN;
        int rc = s_base->xOpen(s_base, name, f->real, flags, outFlags);
        if (rc == SQLITE_OK) f->base.pMethods = &kMethods;
        return rc;
    }

    static int Delete(sqlite3_vfs*, const char* name, int syncDir) {
        if (Watched(name) && s_fault == Fault::ReadOnlyFolder) return errno = EACCES, SQLITE_IOERR_DELETE;
        return s_base->xDelete(s_base, name, syncDir);
    }

    // A method of the wrapped file called with the same arguments.
    template <auto Method>
    struct Forward;
    template <typename R, typename... A, R (*sqlite3_io_methods::*Method)(sqlite3_file*, A...)>
    struct Forward<Method> {
        static R Call(sqlite3_file* f, A... a) { return (Real(f)->pMethods->*Method)(Real(f), a...); }
    };
    template <auto Method>
    static constexpr auto kForward = &Forward<Method>::Call;
    using M = sqlite3_io_methods;

    static constexpr sqlite3_io_methods kMethods = {
        3,
        [](sqlite3_file* f) {
            int rc = Real(f)->pMethods ? Real(f)->pMethods->xClose(Real(f)) : SQLITE_OK;
            f->pMethods = nullptr;
            return rc;
        },
        kForward<&M::xRead>,
        [](sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset) {
            if (Meets(f, Fault::DiskFull)) return errno = ENOSPC, SQLITE_FULL;
            return Real(f)->pMethods->xWrite(Real(f), buffer, amount, offset);
        },
        [](sqlite3_file* f, sqlite3_int64 size) {
            if (Meets(f, Fault::DiskFull)) return errno = ENOSPC, SQLITE_FULL;
            return Real(f)->pMethods->xTruncate(Real(f), size);
        },
        [](sqlite3_file* f, int flags) {
            if (Meets(f, Fault::SyncFails)) return errno = EIO, SQLITE_IOERR_FSYNC;
            return Real(f)->pMethods->xSync(Real(f), flags);
        },
        kForward<&M::xFileSize>, kForward<&M::xLock>, kForward<&M::xUnlock>, kForward<&M::xCheckReservedLock>,
        kForward<&M::xFileControl>, kForward<&M::xSectorSize>, kForward<&M::xDeviceCharacteristics>,
        kForward<&M::xShmMap>, kForward<&M::xShmLock>, kForward<&M::xShmBarrier>, kForward<&M::xShmUnmap>,
        kForward<&M::xFetch>, kForward<&M::xUnfetch>,
    };
};
