// The shell around the application: the indicator strip over the top of the screen (above every window,
// never active, repainted on the minute, the input mode and rotation), the work area it leaves, and the
// virtual date and time. (What the strip draws is pinned by the notebook's golden screenshots.)
#include "UserTestSupport.h"

#include <vector>

namespace {

constexpr int kStrip = cehost::sim::kIndicatorStripHeight;

std::vector<uint32_t> StripPixels() {
    const SIZE screen = cehost::sim::GetScreenSize();
    const uint32_t* pixels = cehost::sim::ScreenPixels();
    return std::vector<uint32_t>(pixels, pixels + screen.cx * kStrip);
}

class Shell : public ::testing::Test {
protected:
    void SetUp() override {
        cehost::sim::SetVirtualTime(true);
        ASSERT_TRUE(cehost::sim::ShowIndicatorStrip(true));
        // An application's full-screen window, created after the strip.
        app = CreateWindowExW(0, u"STATIC", u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr,
                              nullptr);
        edit = CreateWindowExW(0, u"EDIT", u"", WS_CHILD | WS_VISIBLE, 10, 40, 200, 24, app, nullptr, nullptr, nullptr);
        SetFocus(app);
        cehost::sim::RunUntilIdle();
    }
    HWND app = nullptr, edit = nullptr;
};

TEST_F(Shell, TheStripStaysAboveTheApplicationAndOutOfTheWorkArea) {
    const HWND strip = cehost::sim::IndicatorStripWindow();
    ASSERT_NE(strip, nullptr);
    EXPECT_NE(GetActiveWindow(), strip);
    EXPECT_EQ(WindowFromPoint(POINT{5, 5}), strip);

    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(work, (RECT{0, kStrip, 240, 320}));
    EXPECT_FALSE(SystemParametersInfoW(SPI_GETSIPINFO, 0, &work, 0));

    // Turned a quarter, the strip spans the new width; repainting it releases what it made.
    const long gdi = cehost::sim::GdiObjectCount();
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    mode.dmFields = DM_DISPLAYORIENTATION;
    mode.dmDisplayOrientation = DMDO_90;
    ASSERT_EQ(ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr), DISP_CHANGE_SUCCESSFUL);
    cehost::sim::RunUntilIdle();
    EXPECT_EQ(usertest::WindowRect(strip), (RECT{0, 0, 320, kStrip}));

    EXPECT_EQ(cehost::sim::GdiObjectCount(), gdi);
    ASSERT_TRUE(cehost::sim::ShowIndicatorStrip(false));
    EXPECT_EQ(cehost::sim::IndicatorStripWindow(), nullptr);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(work.top, 0);
}

TEST_F(Shell, TheStripRepaintsForTheMinuteAndTheInputMode) {
    EXPECT_EQ(cehost::sim::InputModeLabel(), u"") << "no edit has the focus";
    std::vector<uint32_t> before = StripPixels();
    cehost::sim::AdvanceClock(30 * 1000);
    cehost::sim::RunUntilIdle();
    EXPECT_EQ(StripPixels(), before) << "12:00:30 still shows 12:00";
    cehost::sim::AdvanceClock(30 * 1000);
    cehost::sim::RunUntilIdle();
    EXPECT_NE(StripPixels(), before) << "12:01";

    const char16_t* modes[] = {u"한", u"A", u"a", u"123"};
    SetFocus(edit);
    cehost::sim::SetKeypadInput(true);
    for (const char16_t* label : modes) {
        cehost::sim::RunUntilIdle();
        EXPECT_EQ(cehost::sim::InputModeLabel(), label);
        std::vector<uint32_t> shown = StripPixels();
        EXPECT_NE(shown, before) << "a new mode is a new picture";
        before = shown;
        keybd_event(VK_F9, 0, 0, 0);
        keybd_event(VK_F9, 0, KEYEVENTF_KEYUP, 0);
    }
    cehost::sim::RunUntilIdle();
    cehost::sim::SetKeypadInput(false);
    EXPECT_EQ(cehost::sim::InputModeLabel(), u"한") << "the PC keyboard keeps the Korean method switched on";
}

TEST(ShellTime, TheVirtualClockStartsOnAFixedDay) {
    cehost::sim::SetVirtualTime(true);
    SYSTEMTIME start{};
    GetLocalTime(&start);
    cehost::sim::AdvanceClock(90 * 60 * 1000 + 1500);
    SYSTEMTIME later{};
    GetSystemTime(&later);
    EXPECT_EQ((std::vector<WORD>{start.wYear, start.wMonth, start.wDay, start.wDayOfWeek}),
              (std::vector<WORD>{2026, 1, 1, 4})) << "Thursday, 1 January 2026";
    EXPECT_EQ(later.wHour * 60 + later.wMinute - (start.wHour * 60 + start.wMinute), 90);
    EXPECT_EQ((later.wSecond * 1000 + later.wMilliseconds) - (start.wSecond * 1000 + start.wMilliseconds), 1500);
}

TEST(ShellOptions, TheStripAndTheInputAreChosenOnTheCommandLineAndInScripts) {
    struct Row {
        std::vector<const char*> args;
        bool ok, strip, keypad;
    } const table[] = {
        {{}, true, true, false},
        {{"--no-strip", "--input", "keypad"}, true, false, true},
        {{"--input=pc"}, true, true, false},
        {{"--input", "phone"}, false, true, false},
        {{"--no-strip=yes"}, false, true, false},
    };
    for (const Row& row : table) {
        std::vector<const char*> argv{"app"};
        argv.insert(argv.end(), row.args.begin(), row.args.end());
        cehost::sim::SimOptions o;
        std::string error;
        EXPECT_EQ(cehost::sim::ParseSimOptions(int(argv.size()), argv.data(), o, &error), row.ok) << error;
        if (!row.ok) continue;
        EXPECT_EQ(o.strip, row.strip);
        EXPECT_EQ(o.keypadInput, row.keypad);
    }
    std::vector<cehost::sim::ScriptStep> steps;
    std::string error;
    ASSERT_TRUE(cehost::sim::ParseKeyScript("input keypad\nINPUT pc # back\n", steps, &error)) << error;
    ASSERT_EQ(steps.size(), 2u);
    EXPECT_TRUE(steps[0].kind == cehost::sim::ScriptStep::Kind::Input && steps[0].keypad);
    EXPECT_FALSE(steps[1].keypad);
    EXPECT_FALSE(cehost::sim::ParseKeyScript("input qwerty\n", steps, &error));
    EXPECT_EQ(error, "line 1: input takes keypad or pc");
}

} // namespace
