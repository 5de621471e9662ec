// The storage faults the registry and the record database must live through, each with how it is brought
// about on a store's file and how it goes away again: the disk filling up, fsync failing, the folder turned
// read-only, the file removed or replaced under an open connection, and another process holding the write
// lock past the busy timeout (which the fault VFS lets run out at once).
#pragma once

#include "FaultVfs.h"
#include "TestFolder.h"

#include <cstdio>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

struct StorageFault {
    const char* name;
    const char* cause; // what the store's debug line must say of the file
    bool closedFirst;  // the fault meets the file being opened: the store's connection is closed before it
    std::function<void(const std::string& file)> begin, end;
};

// Another process that takes the file's write lock and keeps it until told to let go.
class LockHolder {
public:
    void Start(const std::string& file) {
        int up[2], down[2];
        if (pipe(up) != 0 || pipe(down) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            sqlite3* db = nullptr;
            char byte = sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
                                sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK
                            ? 'L'
                            : 'E';
            (void)!write(up[1], &byte, 1);
            (void)!read(down[0], &byte, 1);
            _exit(0); // the lock goes with the process
        }
        release_ = down[1];
        char byte = 0;
        (void)!read(up[0], &byte, 1);
        locked_ = byte == 'L';
        close(up[0]), close(up[1]), close(down[0]);
    }
    void Stop() {
        (void)!write(release_, "x", 1);
        close(release_);
        waitpid(pid_, nullptr, 0);
    }
    bool Locked() const { return locked_; }

private:
    pid_t pid_ = -1;
    int release_ = -1;
    bool locked_ = false;
};

inline std::vector<StorageFault> StorageFaults(LockHolder& holder) {
    auto folderOf = [](const std::string& file) { return file.substr(0, file.rfind('/') + 1); };
    auto vfs = [folderOf](FaultVfs::Fault fault) {
        return [folderOf, fault](const std::string& file) { FaultVfs::Set(fault, folderOf(file)); };
    };
    auto none = [](const std::string&) { FaultVfs::Set(FaultVfs::Fault::None); };
    auto aside = [](const std::string& file) { std::rename(file.c_str(), (file + ".aside").c_str()); };
    auto back = [](const std::string& file) { std::rename((file + ".aside").c_str(), file.c_str()); };
    return {
        {"disk full", "cannot grow: the disk is full", false, vfs(FaultVfs::Fault::DiskFull), none},
        {"failed sync", "cannot be flushed to the disk", false, vfs(FaultVfs::Fault::SyncFails), none},
        {"read-only folder", "cannot be opened (Permission denied)", true, vfs(FaultVfs::Fault::ReadOnlyFolder), none},
        {"file removed", "was removed while open", false, aside, back},
        {"file replaced", "was replaced while open", false,
         [aside](const std::string& file) {
             aside(file);
             WriteWholeFile(file, "not a database at all");
         },
         back},
        {"write lock held", "is locked by another process", false,
         [&holder](const std::string& file) { holder.Start(file); }, [&holder](const std::string&) { holder.Stop(); }},
    };
}
