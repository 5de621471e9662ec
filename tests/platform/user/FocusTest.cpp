// Focus and activation: the kill/set pair with the other window in wParam, refusal for disabled windows,
// activation following the focus, SetForegroundWindow's bit 0, capture. (Activation moving between top-level
// windows as they are created and destroyed is pinned by the conformance window case.) Stylus input from the
// simulator: the window under the point by z-order and clipping, client coordinates, disabled windows, capture,
// activation by a tap.
#include "UserTestSupport.h"

using namespace usertest;
using namespace lxtest;

using Focus = UserTopTest;

TEST_F(Focus, MovesWithKillThenSetAndReportsThePreviousWindow) {
    HWND a = Child(top, 1, 0, 0, 10, 10);
    HWND b = Child(top, 2, 0, 20, 10, 10);
    EXPECT_EQ(SetFocus(a), top);
    log.WatchAll();
    EXPECT_EQ(SetFocus(b), a);
    EXPECT_TRUE(log.Matches({{WM_KILLFOCUS, sent | wparam, WPARAM(b), 0, a}, {WM_SETFOCUS, sent | wparam, WPARAM(a), 0, b}}));
    log.Clear();
    EXPECT_EQ(SetFocus(b), b);
    EXPECT_TRUE(log.Entries().empty()) << "the focus window again: no messages";
    EXPECT_EQ(SetFocus(nullptr), b);
    EXPECT_TRUE(log.Matches({{WM_KILLFOCUS, sent | wparam, 0, 0, b}}));
    EXPECT_EQ(GetFocus(), nullptr);
    // Focusing a window of an inactive top level activates it first.
    HWND other = TopLevel(0, 0, 100, 100);
    EXPECT_EQ(GetActiveWindow(), other);
    SetFocus(a);
    EXPECT_EQ(GetActiveWindow(), top);
    EXPECT_EQ(GetFocus(), a);
}

TEST_F(Focus, DisabledWindowsRefuseItAndDisablingTheFocusTakesIt) {
    HWND panel = Child(top, 1, 0, 0, 50, 50);
    HWND inner = Child(panel, 2, 0, 0, 10, 10);
    HWND hidden = Child(top, 3, 0, 0, 10, 10, WS_CHILD);
    EnableWindow(panel, FALSE);
    EXPECT_EQ(SetFocus(inner), nullptr) << "a disabled ancestor refuses it too";
    EXPECT_EQ(SetFocus(panel), nullptr);
    EXPECT_EQ(GetFocus(), top);
    EXPECT_EQ(SetFocus(hidden), top) << "visibility is not checked";
    EXPECT_EQ(GetFocus(), hidden);
    // Hiding the focused child hands the focus to its parent.
    EnableWindow(panel, TRUE);
    SetFocus(inner);
    ShowWindow(panel, SW_HIDE);
    EXPECT_EQ(GetFocus(), top);
    // Disabling the focus window takes the focus away; EnableWindow reports the previous state.
    HWND c = Child(top, 4, 0, 0, 10, 10);
    SetFocus(c);
    log.Watch(c);
    EXPECT_FALSE(EnableWindow(c, FALSE)) << "was enabled";
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_TRUE(log.Matches({{WM_CANCELMODE, sent}, {WM_KILLFOCUS, sent}, {WM_ENABLE, sent | wparam, FALSE}}));
    EXPECT_TRUE(EnableWindow(c, FALSE)) << "was disabled";
    EXPECT_TRUE(EnableWindow(c, TRUE));
    EXPECT_TRUE(IsWindowEnabled(c));
}

TEST_F(Focus, ForegroundWithBitZeroBringsTheLastActiveOwnedWindow) {
    HWND app = TopLevel(0, 0, 100, 100, WS_VISIBLE, u"App");
    HWND dialog = Child(app, 0, 10, 10, 50, 50, WS_POPUP | WS_VISIBLE);
    HWND other = TopLevel(0, 0, 100, 100, WS_VISIBLE, u"Other");
    EXPECT_EQ(GetActiveWindow(), other);
    EXPECT_EQ(GetLastActivePopup(app), dialog);
    EXPECT_TRUE(SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(app) | 1)));
    EXPECT_EQ(GetForegroundWindow(), dialog);
    SetForegroundWindow(other);
    EXPECT_TRUE(SetForegroundWindow(app));
    EXPECT_EQ(GetForegroundWindow(), app);
    EXPECT_EQ(GetWindow(app, GW_HWNDPREV), dialog) << "owned windows stay above their owner";
    EXPECT_EQ(FailureOf([] { return SetForegroundWindow(HWND(uintptr_t(0x12345))); }),
              DWORD(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(SetForegroundWindow(nullptr));
}

TEST_F(Focus, CaptureChangesAreAnnounced) {
    HWND a = Child(top, 1, 0, 0, 10, 10);
    HWND b = Child(top, 2, 0, 0, 10, 10);
    EXPECT_EQ(SetCapture(a), nullptr);
    log.WatchAll();
    EXPECT_EQ(SetCapture(b), a);
    ReleaseCapture();
    EXPECT_TRUE(log.Matches({{WM_CAPTURECHANGED, sent | lparam, 0, LPARAM(b), a}, {WM_CAPTURECHANGED, sent | lparam, 0, 0, b}}));
    EXPECT_EQ(GetCapture(), nullptr);
    SetCapture(a);
    DestroyWindow(a);
    EXPECT_EQ(GetCapture(), nullptr);
}

namespace {

struct Stylus : UserTest {
    void SetUp() override {
        UserTest::SetUp();
        top = TopLevel(0, 20, 200, 200);
        cehost::sim::RunUntilIdle();
        log.WatchAll();
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
};

} // namespace

TEST_F(Stylus, TapGoesToTheTopmostWindowUnderThePointInClientCoordinates) {
    HWND lower = Child(top, 1, 10, 10, 100, 100);
    HWND upper = Child(top, 2, 50, 50, 100, 100, WS_CHILD | WS_VISIBLE | WS_BORDER);
    HWND inner = Child(lower, 3, 0, 0, 20, 20);
    cehost::sim::RunUntilIdle();
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
    Tap(20, 40);
    EXPECT_EQ(std::pair(log.Count(WM_LBUTTONDOWN, top), log.Count(WM_LBUTTONDOWN, c)), std::pair(1, 0));
    EnableWindow(top, FALSE);
    Tap(20, 40);
    EXPECT_EQ(log.Count(WM_LBUTTONDOWN), 0);
}

TEST_F(Stylus, CaptureTakesEverythingAndATapActivates) {
    HWND c = Child(top, 1, 10, 10, 50, 50);
    HWND other = TopLevel(0, 250, 100, 50);
    EXPECT_EQ(GetActiveWindow(), other);
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
