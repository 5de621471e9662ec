// The display: rotation through ChangeDisplaySettingsEx with CE's values and its result codes, the simulator's
// failure switch and screen size, and the shell helpers.
#include "MessageLog.h"
#include "UserTestSupport.h"

#include <aygshell.h>

#include <cstring>

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

SIZE Screen() { return SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

} // namespace

TEST_F(Display, RotationSwapsTheScreenResizesFullScreenWindowsAndTellsTopLevelWindows) {
    HWND full = TopLevel(0, 0, 240, 320);
    HWND main = TopLevel(0, 21, 240, 299);
    HWND child = Child(main, 1, 0, 0, 240, 100);
    MessageLog log;
    log.Watch(full, "full");
    log.Watch(main, "main");
    log.Watch(child, "child");
    log.Ignore(WM_WINDOWPOSCHANGING);
    log.Ignore(WM_WINDOWPOSCHANGED);

    // The simulator's failure switch spoils the next change, not a query, and tells nobody.
    cehost::sim::FailNextDisplayChange(DISP_CHANGE_RESTART);
    EXPECT_EQ(Rotate(0, CDS_TEST, 192, DM_DISPLAYQUERYORIENTATION), DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(Rotate(DMDO_90), DISP_CHANGE_RESTART);
    EXPECT_TRUE(log.Entries().empty());

    ASSERT_EQ(Rotate(DMDO_90), DISP_CHANGE_SUCCESSFUL);
    EXPECT_EQ(Screen(), (SIZE{320, 240}));
    EXPECT_EQ(cehost::sim::GetDisplayOrientation(), DWORD(DMDO_90));
    EXPECT_EQ(WindowRect(full), Rect(0, 0, 320, 240));
    EXPECT_EQ(WindowRect(main), Rect(0, 21, 240, 320)) << "a window that is not full-screen is left to its application";
    EXPECT_TRUE(log.Matches({{WM_SIZE, sent | lparam, 0, MAKELPARAM(320, 240), full},
                             {WM_SETTINGCHANGE, sent | wparam | lparam, SETTINGCHANGE_RESET, 0, main},
                             {WM_SETTINGCHANGE, sent | wparam | lparam, SETTINGCHANGE_RESET, 0, full}}))
        << "children are not told";

    for (const auto& [orientation, width] : {std::pair{DMDO_180, 240}, {DMDO_270, 320}, {DMDO_0, 240}}) {
        EXPECT_EQ(Rotate(orientation), DISP_CHANGE_SUCCESSFUL);
        EXPECT_EQ(Screen().cx, width) << orientation;
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
    EXPECT_EQ(sai.hwndLastFocus, edit);
    EXPECT_EQ(sai.fActive, 0u);
    SetFocus(top);
    EXPECT_TRUE(SHHandleWMActivate(top, WA_ACTIVE, 0, &sai, 0));
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(sai.fActive, 1u);
}
