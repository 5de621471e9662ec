// The simulator's --stats: how the option is taken out of the arguments, and the figures a headless run
// writes (keys, frames, object peaks that a sampled count would miss, final counts, the virtual clock).
#include <cehost/sim/stats.h>

#include "TestApplication.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace {

long Figure(const std::string& json, const std::string& key) {
    std::smatch m;
    if (!std::regex_search(json, m, std::regex("\"" + key + "\": (-?[0-9]+)"))) return -999;
    return std::atol(m[1].str().c_str());
}

} // namespace

TEST(RunStats, TheOptionIsTakenOutWherePlacedAndNeedsAFile) {
    const struct {
        std::vector<const char*> args;
        bool ok;
        std::string file;
        std::vector<std::string> rest;
    } kCases[] = {
        {{"app", "--headless", "--stats", "s.json", "x"}, true, "s.json", {"app", "--headless", "x"}},
        {{"app", "--stats=s.json"}, true, "s.json", {"app"}},
        {{"app", "--", "--stats", "s.json"}, true, "", {"app", "--", "--stats", "s.json"}},
        {{"app", "--stats"}, false, "", {}},
        {{"app", "--stats="}, false, "", {}},
    };
    for (const auto& c : kCases) {
        std::string file, error;
        std::vector<std::string> rest;
        const bool ok = cehost::sim::ExtractStatsOption(int(c.args.size()), c.args.data(), file, rest, &error);
        EXPECT_EQ(c.ok, ok) << c.args[1];
        if (!ok) {
            EXPECT_EQ("--stats needs a file", error);
            continue;
        }
        EXPECT_EQ(c.file, file) << c.args[1];
        EXPECT_EQ(c.rest, rest) << c.args[1];
    }
}

TEST(RunStats, AHeadlessRunWritesItsFigures) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "lx-runstats-test";
    std::filesystem::create_directories(dir);
    const std::string script = (dir / "keys.txt").string(), stats = (dir / "stats.json").string();
    std::ofstream(script) << "key DOWN 7 DOWN\nwait 250\nquit 4\n";
    const char* argv[] = {"--headless", "--script", script.c_str(), "--stats", stats.c_str()};
    ASSERT_EQ(4, RunApp({argv, argv + 5}));
    std::stringstream text;
    text << std::ifstream(stats).rdbuf();
    const std::string json = text.str();
    EXPECT_EQ(4, Figure(json, "exit_code")) << json;
    EXPECT_EQ(3, Figure(json, "keys_handled"));
    EXPECT_EQ(4, Figure(json, "frames_painted")) << "the first paint and one after each key";
    // The paint's DC and a brush live at once for a moment, none after: only a peak kept at creation sees them.
    EXPECT_EQ(2, Figure(json, "gdi_objects_peak"));
    EXPECT_EQ(0, Figure(json, "gdi_objects_final"));
    EXPECT_EQ(1, Figure(json, "user_objects_peak"));
    EXPECT_EQ(0, Figure(json, "user_objects_final"));
    EXPECT_GE(Figure(json, "virtual_ms"), 250);
    EXPECT_GT(Figure(json, "peak_resident_kib"), 0);
    EXPECT_GE(Figure(json, "wall_ms"), 0);
    std::filesystem::remove_all(dir);
}
