// Timers on the virtual clock: coalescing, restart on retrieval, immediate KillTimer, replacement, thread
// timer identifiers, RunFor stepping through expiries, Sleep and GetTickCount.
#include "MessageLog.h"
#include "UserTestSupport.h"

using namespace usertest;
using namespace lxtest;

namespace {

struct Timers : UserTopTest {
    void SetUp() override {
        ASSERT_TRUE(cehost::sim::IsVirtualTime()) << "the test harness runs headless";
        UserTopTest::SetUp();
    }
};

int CountTimers(HWND hwnd) {
    int n = 0;
    MSG m;
    while (PeekMessageW(&m, hwnd, WM_TIMER, WM_TIMER, PM_REMOVE)) ++n;
    return n;
}

} // namespace

TEST_F(Timers, ExpirationsCoalesceAndTheRetrievalRestartsThePeriod) {
    EXPECT_EQ(SetTimer(top, 7, 10, nullptr), 7u);
    EXPECT_EQ(CountTimers(top), 0) << "not due yet";
    cehost::sim::AdvanceClock(95);
    MSG m;
    ASSERT_TRUE(PeekMessageW(&m, top, WM_TIMER, WM_TIMER, PM_NOREMOVE));
    EXPECT_EQ(m.wParam, 7u);
    EXPECT_EQ(CountTimers(top), 1) << "nine periods passed, one WM_TIMER";
    cehost::sim::AdvanceClock(9);
    EXPECT_EQ(CountTimers(top), 0) << "the period restarted when the message was taken";
    cehost::sim::AdvanceClock(1);
    EXPECT_EQ(CountTimers(top), 1);

    // The same identifier replaces the timer and restarts it.
    SetTimer(top, 7, 50, nullptr);
    cehost::sim::AdvanceClock(40);
    EXPECT_EQ(CountTimers(top), 0);
    cehost::sim::AdvanceClock(10);
    EXPECT_EQ(CountTimers(top), 1);
    // KillTimer takes effect at once.
    cehost::sim::AdvanceClock(50);
    EXPECT_TRUE(KillTimer(top, 7));
    EXPECT_EQ(CountTimers(top), 0);
}

// RunFor steps through every expiry of a periodic timer; Sleep runs the virtual clock.
TEST_F(Timers, RunForAndSleepMoveTheVirtualClock) {
    MessageLog log;
    log.Watch(top);
    SetTimer(top, 2, 10, nullptr);
    DWORD start = GetTickCount();
    cehost::sim::RunFor(100);
    EXPECT_EQ(log.Count(WM_TIMER), 10);
    EXPECT_EQ(GetTickCount() - start, 100u);
    start = GetTickCount();
    Sleep(250);
    EXPECT_EQ(GetTickCount() - start, 250u);
    EXPECT_EQ(CountTimers(top), 1);
    const DWORD before = GetTickCount();
    cehost::sim::SetVirtualTime(false);
    EXPECT_GE(GetTickCount(), before) << "real time goes on from the virtual clock";
    cehost::sim::SetVirtualTime(true);
}

// Thread timers made with identifier 0 get identifiers of their own; a timer dies with its window. (Timer
// procedures, replacement and KillTimer's results are pinned by the conformance timer case.)
TEST_F(Timers, ThreadTimerIdentifiersAndDestroyedWindows) {
    static int calls;
    static UINT_PTR seenId;
    const TIMERPROC proc = [](HWND, UINT, UINT_PTR id, DWORD) {
        seenId = id;
        ++calls;
    };
    const UINT_PTR a = SetTimer(nullptr, 500, 20, proc);
    const UINT_PTR b = SetTimer(nullptr, 0, 20, proc);
    EXPECT_NE(b, 0u);
    EXPECT_NE(a, b);
    KillTimer(nullptr, b);
    cehost::sim::RunFor(40);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(seenId, a);
    KillTimer(nullptr, a);

    HWND doomed = TopLevel(0, 0, 10, 10, 0);
    SetTimer(doomed, 1, 10, nullptr);
    DestroyWindow(doomed);
    DWORD due = 0;
    EXPECT_FALSE(cehost::sim::NextTimerDue(&due)) << "timers die with their window";
}
