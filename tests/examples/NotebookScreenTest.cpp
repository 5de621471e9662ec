// The notebook's own key script played headless from a fresh state, every screenshot compared exactly with
// its golden; a golden without a screenshot, or a screenshot without a golden, fails as well.
#include "GoldenImage.h"
#include "TestFolder.h"

#include <algorithm>
#include <set>
#include <string>

// The same test plays the keypad script into its own goldens under another suite name.
#ifndef NOTEBOOK_SUITE
#define NOTEBOOK_SUITE NotebookScreens
#endif

namespace {

// Runs the application in a child with the state folder as its whole world; its exit status.
int PlayScript(const TestFolder& state, const std::string& shots) {
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("LXEDB_DIR", state.Path().c_str(), 1);
        setenv("CEHOST_REGISTRY", state.File("registry.db").c_str(), 1);
        execl(NOTEBOOK_APP, NOTEBOOK_APP, "--headless", "--script", NOTEBOOK_KEYS, "--shots", shots.c_str(),
              "--time-limit", "120000", static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::set<std::string> PngNames(const std::filesystem::path& dir) {
    std::set<std::string> names;
    if (!std::filesystem::exists(dir)) return names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.path().extension() == ".png") names.insert(entry.path().stem().string());
    return names;
}

TEST(NOTEBOOK_SUITE, TheDemoScriptMatchesItsGoldenScreenshots) {
    TestFolder state;
    const std::string shots = state.File("shots");
    ASSERT_EQ(PlayScript(state, shots), 0) << "the application or its key script failed";
    const std::set<std::string> taken = PngNames(shots);
    ASSERT_FALSE(taken.empty()) << "the script took no screenshot";
    const bool updating = getenv("UPDATE_GOLDENS") && std::string(getenv("UPDATE_GOLDENS")) == "1";
    if (!updating) {
        for (const std::string& name : PngNames(CEHOST_GOLDEN_DIR))
            EXPECT_TRUE(taken.count(name)) << "golden " << name << " has no screenshot any more";
    }
    for (const std::string& name : taken) {
        int w = 0, h = 0;
        std::vector<uint32_t> pixels;
        ASSERT_TRUE(golden::ReadPng(shots + "/" + name + ".png", w, h, pixels)) << name;
        EXPECT_TRUE(golden::Matches(name, w, h, pixels));
    }
}

} // namespace
