// Stylus input from the simulator: the window under the point by z-order and clipping, client coordinates,
// disabled windows, capture, activation by a tap.
#include "MessageLog.h"
#include "UserTestSupport.h"

using namespace usertest;
using namespace lxtest;

namespace {

class Stylus : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(RegisterTestClass(), 0);
        top = TopLevel(0, 20, 200, 200);
        cehost::sim::RunUntilIdle();
        log.Ignore(WM_PAINT);
        log.Ignore(WM_ERASEBKGND);
    }
    // Taps at a screen point into a fresh log and delivers what the tap posted.
    void Tap(int x, int y) {
        log.Clear();
        cehost::sim::Tap(x, y);
        cehost::sim::RunUntilIdle();
    }
    HWND top = nullptr;
    MessageLog log;
};

} // namespace

TEST_F(Stylus, TapGoesToTheTopmostWindowUnderThePointInClientCoordinates) {
    HWND lower = Child(top, 1, 10, 10, 100, 100);
    HWND upper = Child(top, 2, 50, 50, 100, 100, WS_CHILD | WS_VISIBLE | WS_BORDER);
    HWND inner = Child(lower, 3, 0, 0, 20, 20);
    cehost::sim::RunUntilIdle();
    log.WatchAll();
    Tap(70, 90); // inside both children
    // Children are stacked in creation order, so `lower` is above `upper`.
    EXPECT_TRUE(log.Matches({{WM_LBUTTONDOWN, posted | wparam | lparam, MK_LBUTTON, MAKELPARAM(60, 60), lower},
                             {WM_LBUTTONUP, posted | wparam | lparam, 0, MAKELPARAM(60, 60), lower}}));
    Tap(140, 140);
    EXPECT_TRUE(log.Matches({{WM_LBUTTONDOWN, posted | lparam, 0, MAKELPARAM(89, 69), upper}, {WM_LBUTTONUP, posted}}))
        << "client coordinates start inside the border";
    Tap(15, 35);
    EXPECT_EQ(log.Count(WM_LBUTTONDOWN, inner), 1);
    EXPECT_EQ(GetMessagePos(), DWORD(MAKELONG(15, 35)));
}

TEST_F(Stylus, DisabledChildrenPassTheTapToTheirParentDisabledWindowsGetNothing) {
    HWND c = Child(top, 1, 10, 10, 50, 50, WS_CHILD | WS_VISIBLE | WS_DISABLED);
    log.WatchAll();
    Tap(20, 40);
    EXPECT_EQ(log.Count(WM_LBUTTONDOWN, top), 1);
    EXPECT_EQ(log.Count(WM_LBUTTONDOWN, c), 0);
    EnableWindow(top, FALSE);
    Tap(20, 40);
    EXPECT_EQ(log.Count(WM_LBUTTONDOWN), 0);
}

TEST_F(Stylus, CaptureTakesEverythingAndATapActivates) {
    HWND c = Child(top, 1, 10, 10, 50, 50);
    HWND other = TopLevel(0, 250, 100, 50);
    EXPECT_EQ(GetActiveWindow(), other);
    log.WatchAll();
    Tap(20, 40);
    EXPECT_EQ(GetActiveWindow(), top);
    EXPECT_EQ(log.Count(WM_LBUTTONDOWN, c), 1);

    SetCapture(c);
    log.Clear();
    cehost::sim::StylusDown(5, 260);
    cehost::sim::StylusMove(6, 261);
    cehost::sim::StylusUp(7, 262);
    cehost::sim::RunUntilIdle();
    EXPECT_TRUE(log.Matches({{WM_LBUTTONDOWN, posted, 0, 0, c},
                             {WM_MOUSEMOVE, posted | wparam, MK_LBUTTON, 0, c},
                             {WM_LBUTTONUP, posted | lparam, 0, MAKELPARAM(-3, 232), c}}));
    EXPECT_EQ(GetKeyState(VK_LBUTTON) & 0x8000, 0);
}
