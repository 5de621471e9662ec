// A fresh folder per test under the build's test folder (LX_TEST_TMPDIR), removed when the test passes, so a
// failing test leaves its files behind to look at. Also small helpers for files and forked children.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

class TestFolder {
public:
    TestFolder() {
        const char* base = getenv("LX_TEST_TMPDIR");
        std::filesystem::path root = base && *base ? base : std::filesystem::temp_directory_path().string();
        std::filesystem::create_directories(root);
        std::string pattern = (root / "lx-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TestFolder() {
        if (!::testing::Test::HasFailure()) {
            std::error_code ignored;
            std::filesystem::remove_all(path_, ignored);
        }
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

inline unsigned ModeOf(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return 0;
    return st.st_mode & 0777;
}

// Runs `body` in a forked child that is killed with SIGKILL as soon as `body` returns, so nothing the child
// left in memory (buffers, open files, destructors) can help what it wrote reach the disk. Returns whether
// the child got that far.
inline bool RunInKilledChild(const std::function<bool()>& body) {
    pid_t pid = fork();
    if (pid == 0) {
        if (!body()) _exit(3);
        kill(getpid(), SIGKILL);
        _exit(4);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}
