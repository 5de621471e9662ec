// Headless runs of the test application through the simulator's RunApplication: key scripts, taps, waits on
// the virtual clock, screenshots, exit codes and failures, and the figures --stats writes; the keypad picture.
#include <cehost/sim/stats.h>
#include <cehost/sim/window.h>

#include "TestApplication.h"

#include <cstdlib>
#include <regex>
#include <set>

namespace {

long Figure(const std::string& json, const std::string& key) {
    std::smatch m;
    if (!std::regex_search(json, m, std::regex("\"" + key + "\": (-?[0-9]+)"))) return -999;
    return std::atol(m[1].str().c_str());
}

struct SimRun : ::testing::Test {
    void SetUp() override {
        g_app = AppState{};
        m_dir = TestDir();
    }
    int Run(const std::string& script, std::vector<std::string> extra = {}) {
        const std::string scriptPath = (m_dir / "script.txt").string();
        std::ofstream(scriptPath) << script;
        std::vector<std::string> args = {"--headless", "--script", scriptPath, "--shots=" + (m_dir / "shots").string()};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunApp(args);
    }
    Image Shot(const std::string& name) { return ReadShot(m_dir / "shots" / name); }
    std::filesystem::path m_dir;
};

} // namespace

// Keys change the screen between screenshots; typed text arrives as characters with Shift held for capitals
// and signs (the Back key types Escape), taps as stylus input; quit sets the exit code. Key names take the VK_
// prefix or not, in any case, or a number; comments and blank lines are skipped.
TEST_F(SimRun, KeysTextAndTapsReachTheApplication) {
    EXPECT_EQ(5, Run("# the first screen\n\nscreenshot before\nkey vk_Down  # moves the bar\r\n"
                     "screenshot after.png\nquit 5\n"));
    EXPECT_EQ(0x0000C8u, Shot("before.png").At(10, 10));
    EXPECT_EQ(0xFFFFFFu, Shot("after.png").At(10, 10));
    EXPECT_EQ(0x0000C8u, Shot("after.png").At(10, 40));
    g_app = AppState{};
    EXPECT_EQ(7, Run("type Ab 1!\ntap 10 20\nkey 0x28\npress TBACK\nrelease TBACK\nquit 7\n"));
    EXPECT_EQ(u"Ab 1!\x1b", g_app.text);
    EXPECT_EQ(1, g_app.row);
    EXPECT_EQ((std::vector<StylusMessage>{{WM_LBUTTONDOWN, 10, 20, MK_LBUTTON}, {WM_LBUTTONUP, 10, 20, 0}}),
              g_app.stylus);
}

TEST_F(SimRun, WaitsScreenSizeAndCommandLine) {
    EXPECT_EQ(0, Run("key RETURN\nwait 100\nscreenshot wide\n",
                     {"--screen", "320x240", "--", "file name.txt", "-x"}));
    EXPECT_EQ(2, g_app.ticks) << "a 40 ms timer, twice in 100 ms";
    const Image wide = Shot("wide.png");
    EXPECT_EQ(std::pair(320, 240), std::pair(wide.width, wide.height));
    EXPECT_EQ(u"\"file name.txt\" -x", g_app.commandLine);
}

// Bad scripts and options stop the run with 2 before the application starts; the time limit ends a long run
// with 3.
TEST_F(SimRun, FailuresAndTheTimeLimitEndTheRun) {
    EXPECT_EQ(2, Run("press NOKEY\n"));
    for (std::vector<std::string> bad : {std::vector<std::string>{"--screen", "wide"}, {"--screen", "0x320"},
                                         {"--screen"}, {"--time-limit", "soon"}, {"--bogus"},
                                         {"--script", (m_dir / "no-such.keys").string()}, {"--script"}})
        EXPECT_EQ(2, Run("quit\n", bad)) << bad[0];
    EXPECT_EQ(0, g_app.winMainCalls);
    EXPECT_EQ(3, Run("wait 10000\nscreenshot never\n", {"--time-limit", "500"}));
    EXPECT_FALSE(std::filesystem::exists(m_dir / "shots" / "never.png"));
}

// --stats writes the run's figures: keys, frames, object peaks that a sampled count would miss (the paint's DC
// and a brush live at once for a moment, none after), final counts, the clocks.
TEST_F(SimRun, StatsWriteTheFiguresOfTheRun) {
    const std::filesystem::path stats = m_dir / "stats.json";
    ASSERT_EQ(4, Run("key DOWN 7 DOWN\nwait 250\nquit 4\n", {"--stats", stats.string()}));
    const std::string json = ReadFile(stats);
    const std::pair<const char*, long> figures[] = {{"exit_code", 4},         {"keys_handled", 3},
                                                    {"frames_painted", 4},    {"gdi_objects_peak", 2},
                                                    {"gdi_objects_final", 0}, {"user_objects_peak", 1},
                                                    {"user_objects_final", 0}};
    for (const auto& [key, value] : figures) EXPECT_EQ(value, Figure(json, key)) << key << " in " << json;
    EXPECT_GE(Figure(json, "virtual_ms"), 250);
    EXPECT_GT(Figure(json, "peak_resident_kib"), 0);
    EXPECT_GE(Figure(json, "wall_ms"), 0);
}

TEST(RunStats, TheOptionIsTakenOutWherePlacedAndNeedsAFile) {
    // The file, or the error, and what is left of the command line.
    const std::tuple<std::vector<const char*>, bool, std::string, std::vector<std::string>> cases[] = {
        {{"app", "--headless", "--stats", "s.json", "x"}, true, "s.json", {"app", "--headless", "x"}},
        {{"app", "--stats=s.json"}, true, "s.json", {"app"}},
        {{"app", "--", "--stats", "s.json"}, true, "", {"app", "--", "--stats", "s.json"}},
        {{"app", "--stats"}, false, "--stats needs a file", {}},
        {{"app", "--stats="}, false, "--stats needs a file", {}},
    };
    for (const auto& [args, ok, fileOrError, left] : cases) {
        std::string file, error;
        std::vector<std::string> rest;
        EXPECT_EQ(cehost::sim::ExtractStatsOption(int(args.size()), args.data(), file, rest, &error), ok) << args[1];
        EXPECT_EQ(ok ? file : error, fileOrError) << args[1];
        EXPECT_TRUE(!ok || rest == left) << args[1];
    }
}

// The keypad drawn beside the screen: every key is found under its own face and nowhere else, and the picture
// (also the documentation's) is compared exactly, with one key shown pressed.
TEST(KeypadSkin, KeysAreFoundUnderTheirFacesAndThePictureMatches) {
    std::set<BYTE> seen;
    for (const cehost::sim::SkinKey& k : cehost::sim::KeypadSkinKeys()) {
        EXPECT_TRUE(seen.insert(k.vk).second) << "one face per key: " << int(k.vk);
        EXPECT_EQ(cehost::sim::KeypadSkinKeyAt((k.rect.left + k.rect.right) / 2, (k.rect.top + k.rect.bottom) / 2), k.vk);
        EXPECT_EQ(cehost::sim::KeypadSkinKeyAt(k.rect.right, k.rect.bottom), 0) << "the gap after " << int(k.vk);
        EXPECT_LE(k.rect.right, cehost::sim::kKeypadSkinWidth);
        EXPECT_LE(k.rect.bottom, cehost::sim::kKeypadSkinHeight);
    }
    EXPECT_EQ(seen.size(), 21u) << "two soft keys, five around Select with Home and Back, and twelve";
    const long gdi = cehost::sim::GdiObjectCount();
    const std::string path = (golden::OutputDir() / "keypad-skin.png").string();
    std::string error;
    ASSERT_TRUE(cehost::sim::SaveKeypadSkinPng(path, 2, '5', &error)) << error;
    EXPECT_EQ(cehost::sim::GdiObjectCount(), gdi);
    const Image skin = ReadShot(path);
    EXPECT_TRUE(golden::Matches("keypad-skin", skin.width, skin.height, skin.pixels));
    EXPECT_FALSE(cehost::sim::SaveKeypadSkinPng(path, 0, 0, &error));
}
