// Headless runs of a small application through the simulator's RunApplication: key scripts, taps, waits on
// the virtual clock, screenshots, exit codes and failures; the errors of the key-script language.
#include <windows.h>
#include <cehost/sim.h>

#include "FullScreenApp.h"
#include "GoldenImage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

struct AppLog {
    std::vector<UINT> keyUps;
    std::u16string chars;
    std::vector<POINT> taps;
    int timerTicks = 0;
    bool started = false;
    std::u16string commandLine;
};
AppLog g_log;
COLORREF g_background = RGB(255, 0, 0);

LRESULT CALLBACK AppProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        SetTimer(hwnd, 1, 100, nullptr);
        return 0;
    case WM_TIMER:
        ++g_log.timerTicks;
        return 0;
    case WM_KEYUP:
        g_log.keyUps.push_back(UINT(wParam));
        if (wParam == VK_RETURN) {
            g_background = RGB(0, 0, 255);
            InvalidateRect(hwnd, nullptr, TRUE);
        } else if (wParam == VK_ESCAPE) {
            PostQuitMessage(7);
        }
        return 0;
    case WM_CHAR:
        g_log.chars += char16_t(wParam);
        return 0;
    case WM_LBUTTONUP:
        g_log.taps.push_back({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hwnd, &ps);
        RECT r;
        GetClientRect(hwnd, &r);
        HBRUSH brush = CreateSolidBrush(g_background);
        FillRect(hdc, &r, brush);
        DeleteObject(brush);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        KillTimer(hwnd, 1);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

int WINAPI AppWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int show) {
    g_log.started = true;
    g_log.commandLine = commandLine;
    return RunFullScreenApp(instance, u"SimRunTestApp", AppProc, show);
}

class SimRun : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = golden::OutputDir().parent_path() / ("simrun-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
    }
    int Run(const std::string& script, std::vector<std::string> extra = {}) {
        std::string scriptPath = (m_dir / "script.txt").string();
        std::ofstream(scriptPath) << script;
        // The test application takes the whole screen, its top rows included: no indicator strip over it.
        std::vector<std::string> args = {"app", "--headless", "--no-strip", "--script", scriptPath,
                                         "--shots=" + (m_dir / "shots").string()};
        args.insert(args.end(), extra.begin(), extra.end());
        std::vector<const char*> argv;
        for (const std::string& a : args) argv.push_back(a.c_str());
        return cehost::sim::RunApplication(int(argv.size()), argv.data(), &AppWinMain);
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
// and signs (the Back key types Escape, and its release quits here with 7), taps as stylus input; quit sets the
// exit code. Key names take the VK_ prefix or not, in any case, or a number; comments and blank lines are
// skipped.
TEST_F(SimRun, KeysTextAndTapsReachTheApplication) {
    EXPECT_EQ(5, Run("# the first screen\n\nscreenshot before\nkey vk_Return  # paints blue\r\n"
                     "screenshot after.png\nquit 5\n"));
    EXPECT_EQ(0xFF0000u, ShotPixel("before.png", 10, 10));
    EXPECT_EQ(0x0000FFu, ShotPixel("after.png", 10, 10));
    EXPECT_EQ(std::vector<UINT>{VK_RETURN}, g_log.keyUps);
    g_log = AppLog{};
    EXPECT_EQ(7, Run("type Ab 1!\ntap 10 20\nkey 0x0d\npress TBACK\nrelease TBACK\n"));
    EXPECT_EQ(u"Ab 1!\r\x1b", g_log.chars);
    ASSERT_EQ(1u, g_log.taps.size());
    EXPECT_EQ(10, g_log.taps[0].x);
    EXPECT_EQ(20, g_log.taps[0].y);
}

// Waits run timers on the virtual clock; the screen size and the command line reach the application.
TEST_F(SimRun, WaitsScreenSizeAndCommandLine) {
    EXPECT_EQ(0, Run("wait 1000\nscreenshot wide\n", {"--screen", "320x240", "--", "file name.txt", "-x"}));
    EXPECT_EQ(10, g_log.timerTicks) << "a 100 ms timer, ten times in a second";
    int w = 0, h = 0;
    ShotPixel("wide.png", 0, 0, &w, &h);
    EXPECT_EQ(320, w);
    EXPECT_EQ(240, h);
    EXPECT_EQ(u"\"file name.txt\" -x", g_log.commandLine);
}

// Bad scripts and options stop the run with 2 before the application starts; the time limit ends a long run
// with 3.
TEST_F(SimRun, FailuresAndTheTimeLimitEndTheRun) {
    EXPECT_EQ(2, Run("press NOKEY\n"));
    for (std::vector<std::string> bad : {std::vector<std::string>{"--screen", "wide"}, {"--screen", "0x320"},
                                         {"--screen"}, {"--time-limit", "soon"}, {"--bogus"},
                                         {"--script", (m_dir / "no-such.keys").string()}, {"--script"}})
        EXPECT_EQ(2, Run("quit\n", bad)) << bad[0];
    EXPECT_FALSE(g_log.started);
    EXPECT_EQ(3, Run("wait 10000\nscreenshot never\n", {"--time-limit", "500"}));
    EXPECT_LT(g_log.timerTicks, 10);
    EXPECT_FALSE(std::filesystem::exists(m_dir / "shots" / "never.png"));
}

TEST(SimScript, ErrorsNameTheLine) {
    const std::pair<const char*, const char*> cases[] = {
        {"wait 10\npress NOSUCHKEY\n", "line 2: unknown key 'NOSUCHKEY'"},
        {"jump 3\n", "line 1: unknown command 'jump'"},
        {"wait -5\n", "milliseconds"},
        {"tap 3\n", "X and Y"},
        {"screenshot ../escape\n", "plain file name"},
        {"type 한글\n", "cannot type"},
    };
    for (const auto& [script, message] : cases) {
        std::vector<cehost::sim::ScriptStep> steps;
        std::string error;
        EXPECT_FALSE(cehost::sim::ParseKeyScript(script, steps, &error)) << script;
        EXPECT_NE(std::string::npos, error.find(message)) << error;
        EXPECT_TRUE(steps.empty()) << script;
    }
}
