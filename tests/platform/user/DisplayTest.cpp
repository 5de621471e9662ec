// The display: rotation through ChangeDisplaySettingsEx with CE's values and its result codes, the simulator's
// failure switch and screen size, and the shell helpers. The shell around the application: the indicator strip
// over the top of the screen (above every window, never active, repainted on the minute, the input mode and
// rotation), the work area it leaves, and the virtual date and time. (What the strip draws is pinned by the
// notebook's golden screenshots.)
#include "UserTestSupport.h"

#include <aygshell.h>

#include <cstring>
#include <vector>

using namespace usertest;
using namespace lxtest;
using Display = UserTest;

namespace {

// The record as a CE program fills it: cleared, 192 bytes, orientation only (a width, when asked for, is 1024).
LONG Rotate(DWORD orientation, DWORD flags = CDS_RESET, WORD size = 192, DWORD fields = DM_DISPLAYORIENTATION,
            HWND hwnd = nullptr) {
    DEVMODEW dm;
    std::memset(&dm, 0, sizeof dm);
    dm.dmSize = size;
    dm.dmFields = fields;
    dm.dmDisplayOrientation = orientation;
    dm.dmPelsWidth = 1024;
    return ChangeDisplaySettingsEx(nullptr, &dm, hwnd, flags, nullptr);
}

std::pair<int, int> Screen() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

constexpr int kStrip = cehost::sim::kIndicatorStripHeight;

std::vector<uint32_t> StripPixels() {
    const SIZE screen = cehost::sim::GetScreenSize();
    const uint32_t* pixels = cehost::sim::ScreenPixels();
    return std::vector<uint32_t>(pixels, pixels + screen.cx * kStrip);
}

struct Shell : ::testing::Test {
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

} // namespace

TEST_F(Display, RotationSwapsTheScreenResizesFullScreenWindowsAndTellsTopLevelWindows) {
    HWND full = TopLevel(0, 0, 240, 320);
    HWND main = TopLevel(0, 21, 240, 299);
    Child(main, 1, 0, 0, 240, 100);
    log.WatchAll();
    log.Ignore(WM_WINDOWPOSCHANGING);
    log.Ignore(WM_WINDOWPOSCHANGED);
    // The simulator's failure switch spoils the next change, not a query, and tells nobody.
    cehost::sim::FailNextDisplayChange(DISP_CHANGE_RESTART);
    EXPECT_EQ(Rotate(0, CDS_TEST, 192, DM_DISPLAYQUERYORIENTATION), DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(Rotate(DMDO_90), DISP_CHANGE_RESTART);
    EXPECT_TRUE(log.Entries().empty());
    ASSERT_EQ(Rotate(DMDO_90), DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(Screen(), std::pair(320, 240));
    EXPECT_EQ(cehost::sim::GetDisplayOrientation(), DWORD(DMDO_90));
    EXPECT_EQ(WindowRect(full), Rect(0, 0, 320, 240));
    EXPECT_EQ(WindowRect(main), Rect(0, 21, 240, 320)) << "a window that is not full-screen is left to its application";
    EXPECT_TRUE(log.Matches({{WM_SIZE, sent | lparam, 0, MAKELPARAM(320, 240), full},
                             {WM_SETTINGCHANGE, sent | wparam | lparam, SETTINGCHANGE_RESET, 0, main},
                             {WM_SETTINGCHANGE, sent | wparam | lparam, SETTINGCHANGE_RESET, 0, full}}))
        << "children are not told";
    for (const auto& [orientation, width] : {std::pair{DMDO_180, 240}, {DMDO_270, 320}, {DMDO_0, 240}}) {
        EXPECT_EQ(Rotate(orientation), DISP_CHANGE_SUCCESSFUL);
        EXPECT_EQ(Screen().first, width) << orientation;
    }
    EXPECT_EQ(WindowRect(full), Rect(0, 0, 240, 320));
    // The simulator's screen size moves full-screen windows too.
    EXPECT_TRUE(cehost::sim::SetDisplaySize(480, 640));
    EXPECT_EQ(WindowRect(full), Rect(0, 0, 480, 640));
    EXPECT_FALSE(cehost::sim::SetDisplaySize(0, 100));
    EXPECT_FALSE(cehost::sim::SetDisplaySize(100, 9000));
}

TEST_F(Display, QueriesAndBadRequests) {
    DEVMODEW dm{};
    dm.dmSize = sizeof dm;
    dm.dmFields = DM_DISPLAYQUERYORIENTATION;
    ASSERT_EQ(ChangeDisplaySettingsEx(nullptr, &dm, nullptr, CDS_TEST, nullptr), DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(dm.dmDisplayOrientation, DWORD(DMDO_90 | DMDO_180 | DMDO_270));
    Rotate(DMDO_180);
    dm.dmFields = DM_DISPLAYORIENTATION;
    dm.dmDisplayOrientation = 99;
    ASSERT_EQ(ChangeDisplaySettingsEx(nullptr, &dm, nullptr, CDS_TEST, nullptr), DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(dm.dmDisplayOrientation, DWORD(DMDO_180)) << "a test reads the current orientation";
    EXPECT_EQ(Rotate(3), DISP_CHANGE_BADMODE);
    EXPECT_EQ(Rotate(8), DISP_CHANGE_BADMODE);
    EXPECT_EQ(Rotate(DMDO_90, 0x80), DISP_CHANGE_BADFLAGS);
    EXPECT_EQ(Rotate(DMDO_0, CDS_RESET, 100), DISP_CHANGE_BADPARAM);
    EXPECT_EQ(Rotate(DMDO_0, CDS_RESET, 192, DM_DISPLAYORIENTATION, TopLevel(0, 0, 10, 10, 0)), DISP_CHANGE_BADPARAM);
    EXPECT_EQ(Rotate(DMDO_0, CDS_RESET, 192, DM_PELSWIDTH | DM_DISPLAYORIENTATION), DISP_CHANGE_BADMODE);
    EXPECT_EQ(cehost::sim::GetDisplayOrientation(), DWORD(DMDO_180)) << "no bad request turned the screen";
    // No record: back to upright.
    EXPECT_EQ(ChangeDisplaySettingsEx(nullptr, nullptr, nullptr, 0, nullptr), DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(cehost::sim::GetDisplayOrientation(), DWORD(DMDO_0));
}

TEST_F(Display, ShellHelpersKeepTheActivationRecord) {
    HWND top = TopLevel(0, 0, 240, 320);
    HWND edit = Child(top, 1, 0, 0, 50, 20);
    SHACTIVATEINFO sai{};
    sai.cbSize = sizeof sai;
    EXPECT_TRUE(SHHandleWMSettingChange(top, SETTINGCHANGE_RESET, 0, &sai));
    EXPECT_TRUE(SHHandleWMSettingChange(top, SPI_SETSIPINFO, 0, &sai));
    EXPECT_EQ(FailureOf([&] { return SHHandleWMSettingChange(top, SETTINGCHANGE_RESET, 0, nullptr); }),
              DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(SHHandleWMSettingChange(nullptr, SETTINGCHANGE_RESET, 0, &sai));
    // Deactivation remembers the focus, activation gives it back.
    SetFocus(edit);
    EXPECT_TRUE(SHHandleWMActivate(top, WA_INACTIVE, 0, &sai, 0));
    EXPECT_EQ(std::pair(sai.hwndLastFocus, DWORD(sai.fActive)), std::pair(edit, DWORD(0)));
    SetFocus(top);
    EXPECT_TRUE(SHHandleWMActivate(top, WA_ACTIVE, 0, &sai, 0));
    EXPECT_EQ(std::pair(GetFocus(), DWORD(sai.fActive)), std::pair(edit, DWORD(1)));
}

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
    ASSERT_EQ(Rotate(DMDO_90, 0), DISP_CHANGE_SUCCESSFUL);
    cehost::sim::RunUntilIdle();
    EXPECT_EQ(WindowRect(strip), (RECT{0, 0, 320, kStrip}));
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

// (The key-script lines that choose the input are read by the key-script checks.)
TEST(ShellOptions, TheStripAndTheInputAreChosenOnTheCommandLine) {
    // The command line; whether it is taken; the strip and the 12-key input it chooses.
    const std::tuple<std::vector<const char*>, bool, bool, bool> table[] = {
        {{"app"}, true, true, false},
        {{"app", "--no-strip", "--input", "keypad"}, true, false, true},
        {{"app", "--input=pc"}, true, true, false},
        {{"app", "--input", "phone"}, false, true, false},
        {{"app", "--no-strip=yes"}, false, true, false},
    };
    for (const auto& [argv, ok, strip, keypad] : table) {
        cehost::sim::SimOptions o;
        std::string error;
        EXPECT_EQ(cehost::sim::ParseSimOptions(int(argv.size()), argv.data(), o, &error), ok) << error;
        EXPECT_TRUE(!ok || std::pair(o.strip, o.keypadInput) == std::pair(strip, keypad)) << argv.back();
    }
}
