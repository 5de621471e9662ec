// Painting: update regions and the erase flag, BeginPaint's erase and rcPaint, UpdateWindow, repainting after
// moves, resizes and hiding, and the surface GDI is given to draw on. WM_PAINT's place in the queue is the
// queue tests' business.
#include "UserTestSupport.h"

#include "internal/bridge.h"

using namespace usertest;
using namespace lxtest;

namespace {

HBRUSH WindowBrush() { return reinterpret_cast<HBRUSH>(uintptr_t(COLOR_WINDOW + 1)); }

struct Painting : ::testing::Test {
    void SetUp() override {
        ASSERT_NE(RegisterTestClass(u"TestWindow", 0, WindowBrush()), 0);
        ASSERT_NE(RegisterTestClass(u"Bare"), 0);
        ASSERT_NE(RegisterTestClass(u"Redraw", CS_HREDRAW | CS_VREDRAW, WindowBrush()), 0);
        top = TopLevel(0, 0, 200, 200);
        cehost::sim::RunUntilIdle();
    }
    // BeginPaint and EndPaint at once: what the painter was given.
    PAINTSTRUCT Paint(HWND h) {
        PAINTSTRUCT ps;
        BeginPaint(h, &ps);
        EndPaint(h, &ps);
        return ps;
    }
    RECT Update(HWND h) {
        RECT r{-1, -1, -1, -1};
        GetUpdateRect(h, &r, FALSE);
        return r;
    }
    HWND top = nullptr;
    MessageLog log;
};

} // namespace

// (Invalidated rectangles adding up, rcPaint and the erase flag after a plain invalidation are pinned by the
// conformance painting case.)
TEST_F(Painting, UpdateRegionsClipValidateAndEraseOnce) {
    EXPECT_FALSE(GetUpdateRect(top, nullptr, FALSE)) << "painted once already";
    const RECT a{10, 20, 30, 40}, b{100, 100, 110, 110}, outside{150, 150, 400, 400};
    InvalidateRect(top, &outside, FALSE);
    EXPECT_EQ(Update(top), Rect(150, 150, 200, 200)) << "clipped to the client area";
    ValidateRect(top, &outside);
    EXPECT_FALSE(GetUpdateRect(top, nullptr, FALSE));
    EXPECT_FALSE(InvalidateRect(nullptr, nullptr, TRUE)) << "CE: no whole-screen invalidation";
    EXPECT_FALSE(ValidateRect(nullptr, nullptr));
    InvalidateRect(top, &a, TRUE);
    InvalidateRect(top, &b, FALSE);
    log.Watch(top);
    PAINTSTRUCT ps;
    BeginPaint(top, &ps);
    EXPECT_EQ(ps.rcPaint, Rect(10, 20, 110, 110));
    EXPECT_FALSE(ps.fErase) << "the class brush erased the background";
    EXPECT_TRUE(log.Matches({{WM_ERASEBKGND, sent}})) << "the erase flag is sticky across invalidations";
    EXPECT_FALSE(GetUpdateRect(top, nullptr, FALSE)) << "BeginPaint validates";
    EndPaint(top, &ps);
    // A background left unerased is the painter's to do, unless the window erased it itself.
    HWND bare = TopLevel(0, 0, 50, 50, WS_VISIBLE, u"", u"Bare");
    ValidateRect(bare, nullptr);
    InvalidateRect(bare, nullptr, TRUE);
    EXPECT_TRUE(Paint(bare).fErase) << "no class brush: DefWindowProc erased nothing";
    OnMessage([&](HWND h, UINT msg, WPARAM, LPARAM, LRESULT* r) {
        if (h != bare || msg != WM_ERASEBKGND) return false;
        *r = 1;
        return true;
    });
    InvalidateRect(bare, nullptr, TRUE);
    EXPECT_FALSE(Paint(bare).fErase);
}

TEST_F(Painting, ParentInvalidationLeavesChildrenAlonePaintsParentsFirstAndUpdateWindowPaintsNow) {
    HWND c = Child(top, 1, 0, 0, 50, 200);
    cehost::sim::RunUntilIdle();
    InvalidateRect(top, nullptr, TRUE);
    EXPECT_FALSE(GetUpdateRect(c, nullptr, FALSE));
    // The child covers the left quarter, so the parent's painting is clipped to the rest.
    EXPECT_EQ(Paint(top).rcPaint, Rect(50, 0, 200, 200));
    log.WatchAll();
    log.Ignore(WM_ERASEBKGND);
    InvalidateRect(c, nullptr, TRUE);
    InvalidateRect(top, nullptr, TRUE);
    cehost::sim::RunUntilIdle();
    EXPECT_TRUE(log.Matches({{WM_PAINT, posted, 0, 0, top}, {WM_PAINT, posted, 0, 0, c}}));
    // UpdateWindow paints now, children included, and only what needs it.
    HWND clean = Child(top, 2, 60, 0, 50, 50);
    cehost::sim::RunUntilIdle();
    log.Clear();
    EXPECT_TRUE(UpdateWindow(top));
    EXPECT_TRUE(log.Entries().empty()) << "nothing to paint";
    InvalidateRect(c, nullptr, TRUE);
    EXPECT_TRUE(UpdateWindow(top));
    EXPECT_TRUE(log.Matches({{WM_PAINT, sent, 0, 0, c}}));
    EXPECT_EQ(log.Count(WM_PAINT, clean), 0);
    EXPECT_FALSE(UpdateWindow(reinterpret_cast<HWND>(uintptr_t(0x4444))));
}

// Hiding or moving exposes what lies beneath; a hidden window keeps no update and is painted whole when shown;
// a window off the screen has nothing to paint.
TEST_F(Painting, ShowingHidingAndMoving) {
    HWND hidden = TopLevel(20, 20, 40, 30, 0);
    InvalidateRect(hidden, nullptr, TRUE);
    EXPECT_FALSE(GetUpdateRect(hidden, nullptr, FALSE));
    ShowWindow(hidden, SW_SHOWNA);
    EXPECT_EQ(Update(hidden), Rect(0, 0, 40, 30));
    DestroyWindow(hidden);
    HWND off = TopLevel(300, 400, 50, 50, WS_VISIBLE);
    EXPECT_EQ(Paint(off).rcPaint, Rect(0, 0, 0, 0));
    EXPECT_FALSE(GetUpdateRect(off, nullptr, FALSE)) << "validated all the same";
    DestroyWindow(off);
    HWND c = Child(top, 1, 10, 10, 30, 30);
    HWND popup = TopLevel(100, 100, 50, 50);
    cehost::sim::RunUntilIdle();
    ASSERT_FALSE(GetUpdateRect(top, nullptr, FALSE));
    ShowWindow(popup, SW_HIDE);
    EXPECT_EQ(Update(top), Rect(100, 100, 150, 150));
    ValidateRect(top, nullptr);
    MoveWindow(c, 60, 10, 30, 30, TRUE);
    EXPECT_EQ(Update(top), Rect(10, 10, 40, 40)) << "the old place of the child";
    EXPECT_EQ(Update(c), Rect(0, 0, 30, 30)) << "the child repaints at its new place";
    ValidateRect(top, nullptr);
    ValidateRect(c, nullptr);
    MoveWindow(c, 0, 0, 30, 30, FALSE);
    EXPECT_FALSE(GetUpdateRect(top, nullptr, FALSE)) << "no repaint asked";
    EXPECT_FALSE(GetUpdateRect(c, nullptr, FALSE));
}

TEST_F(Painting, ResizeRepaintsAllWithRedrawStylesElseOnlyTheNewPart) {
    HWND plain = Child(top, 1, 0, 0, 50, 50);
    HWND redraw = Child(top, 2, 0, 100, 50, 50, WS_CHILD | WS_VISIBLE, u"Redraw");
    cehost::sim::RunUntilIdle();
    MoveWindow(plain, 0, 0, 70, 50, TRUE);
    MoveWindow(redraw, 0, 100, 70, 50, TRUE);
    EXPECT_EQ(Update(plain), Rect(50, 0, 70, 50));
    EXPECT_EQ(Update(redraw), Rect(0, 0, 70, 50));
    cehost::sim::RunUntilIdle();
    MoveWindow(plain, 0, 0, 60, 50, TRUE);
    EXPECT_FALSE(GetUpdateRect(plain, nullptr, FALSE)) << "shrinking exposes nothing of the window itself";
    EXPECT_EQ(Update(top), Rect(60, 0, 70, 50)) << "but the parent gets back the strip";
}

// A child is drawn only inside its ancestors' client areas, and not at all while one of them is hidden. (The
// clipping of children and higher siblings is pinned by the conformance painting case and the GDI window
// tests.)
TEST_F(Painting, SurfacesClipToAncestors) {
    HWND panel = Child(top, 2, 20, 20, 100, 100, WS_CHILD | WS_VISIBLE | WS_BORDER);
    HWND inner = Child(panel, 3, 80, 80, 50, 50);
    cehost::internal::WindowSurface s;
    ASSERT_TRUE(cehost::internal::GetWindowSurface(inner, true, &s));
    EXPECT_EQ(s.origin.x, 101);
    EXPECT_EQ(s.visible, (std::vector<RECT>{Rect(101, 101, 119, 119)})) << "clipped to the panel's client area";
    ShowWindow(panel, SW_HIDE);
    ASSERT_TRUE(cehost::internal::GetWindowSurface(inner, true, &s));
    EXPECT_TRUE(s.visible.empty());
    EXPECT_FALSE(cehost::internal::GetWindowSurface(nullptr, true, &s));
}
