// A folder for one fuzzing process: in memory where the machine has it (the registry and the record
// database flush every write, which on a disk would be most of the run), named by the process, and removed
// when the process ends so that repeated campaigns leave nothing behind.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

inline std::string ScratchFolder(const char* name) {
    static std::string path;
    path = (access("/dev/shm", W_OK) == 0 ? "/dev/shm/" : "/tmp/") + std::string(name) + "-" +
           std::to_string(getpid());
    std::error_code ignored;
    std::filesystem::create_directories(path, ignored);
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    });
    return path;
}
