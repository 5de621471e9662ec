// Headless runs of the test application through the simulator's RunApplication: key scripts, taps, waits on
// the virtual clock, screenshots, exit codes and failures.
#include "GoldenImage.h"
#include "TestApplication.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

class SimRun : public ::testing::Test {
protected:
    void SetUp() override {
        g_app = AppState{};
        m_dir = golden::OutputDir().parent_path() / ("simrun-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    int Run(const std::string& script, std::vector<std::string> extra = {}) {
        const std::string scriptPath = (m_dir / "script.txt").string();
        std::ofstream(scriptPath) << script;
        std::vector<std::string> args = {"--headless", "--script", scriptPath, "--shots=" + (m_dir / "shots").string()};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunApp(args);
    }
    uint32_t ShotPixel(const std::string& name, int x, int y, int* width = nullptr, int* height = nullptr) {
        int w = 0, h = 0;
        std::vector<uint32_t> px;
        EXPECT_TRUE(golden::ReadPng((m_dir / "shots" / name).string(), w, h, px)) << name;
        if (width) *width = w;
        if (height) *height = h;
        return px.empty() ? 0xDEADBEEF : px[size_t(y) * w + x];
    }
    std::filesystem::path m_dir;
};

} // namespace

// Keys change the screen between screenshots; typed text arrives as characters with Shift held for capitals
// and signs (the Back key types Escape), taps as stylus input; quit sets the exit code. Key names take the VK_
// prefix or not, in any case, or a number; comments and blank lines are skipped.
TEST_F(SimRun, KeysTextAndTapsReachTheApplication) {
    EXPECT_EQ(5, Run("# the first screen\n\nscreenshot before\nkey vk_Down  # moves the bar\r\n"
                     "screenshot after.png\nquit 5\n"));
    EXPECT_EQ(0x0000C8u, ShotPixel("before.png", 10, 10));
    EXPECT_EQ(0xFFFFFFu, ShotPixel("after.png", 10, 10));
    EXPECT_EQ(0x0000C8u, ShotPixel("after.png", 10, 40));
    g_app = AppState{};
    EXPECT_EQ(7, Run("type Ab 1!\ntap 10 20\nkey 0x28\npress TBACK\nrelease TBACK\nquit 7\n"));
    EXPECT_EQ(u"Ab 1!\x1b", g_app.text);
    EXPECT_EQ(1, g_app.row);
    EXPECT_EQ((std::vector<StylusMessage>{{WM_LBUTTONDOWN, 10, 20, MK_LBUTTON}, {WM_LBUTTONUP, 10, 20, 0}}),
              g_app.stylus);
}

// Waits run timers on the virtual clock; the screen size and the command line reach the application.
TEST_F(SimRun, WaitsScreenSizeAndCommandLine) {
    EXPECT_EQ(0, Run("key RETURN\nwait 100\nscreenshot wide\n",
                     {"--screen", "320x240", "--", "file name.txt", "-x"}));
    EXPECT_EQ(2, g_app.ticks) << "a 40 ms timer, twice in 100 ms";
    int w = 0, h = 0;
    ShotPixel("wide.png", 0, 0, &w, &h);
    EXPECT_EQ(320, w);
    EXPECT_EQ(240, h);
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
