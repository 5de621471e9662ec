// The message queue: CE retrieval order, WM_QUIT rules, filters, peeking, sending and broadcasting, key input,
// what GetMessageW does when nothing can arrive; timers on the virtual clock; the test message log itself.
// (Nested message loops and the idle handler are exercised by every modal dialog and every headless key script;
// the characters keys translate to, the toggle keys and repeated keys by the conformance keyboard case.)
#include "UserTestSupport.h"

#include <vector>

using namespace usertest;
using namespace lxtest;

using Queue = UserTopTest;

TEST_F(Queue, RetrievalFollowsCeOrder) {
    SetTimer(top, 1, 10, nullptr);
    cehost::sim::AdvanceClock(20);
    InvalidateRect(top, nullptr, TRUE);
    PostQuitMessage(7);
    keybd_event(VK_LEFT, 0, 0, 0);
    PostMessageW(top, WM_USER, 1, 0);
    PostMessageW(top, WM_USER, 2, 0);
    std::vector<UINT> order;
    MSG m;
    for (int i = 0; i < 6; ++i) {
        const BOOL r = GetMessageW(&m, nullptr, 0, 0);
        order.push_back(m.message);
        if (m.message == WM_QUIT)
            EXPECT_EQ(std::tuple(r, m.wParam, m.hwnd), std::tuple(0, WPARAM(7), HWND(nullptr)));
        else
            EXPECT_EQ(r, 1);
        if (m.message == WM_PAINT) ValidateRect(top, nullptr);
    }
    // Posted before input even when posted later; WM_QUIT after input; painting and timers last.
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER, WM_USER, WM_KEYDOWN, WM_QUIT, WM_PAINT, WM_TIMER}));
}

TEST_F(Queue, QuitIgnoresFiltersAndIsClearedOnRemoval) {
    HWND other = TopLevel(0, 0, 10, 10, 0);
    PostMessageW(other, WM_USER + 5, 0, 0);
    PostQuitMessage(3);
    EXPECT_EQ(FieldsOf(Next(top, WM_APP, WM_APP, PM_NOREMOVE)), Fields(WM_QUIT, nullptr, 3, 0));
    EXPECT_EQ(Next(top, WM_APP, WM_APP).message, UINT(WM_QUIT));
    EXPECT_EQ(Next(top, WM_APP, WM_APP).message, UINT(WM_NULL));
    EXPECT_EQ(Next().message, UINT(WM_USER + 5)) << "the filtered-out message is still there";
}

TEST_F(Queue, FiltersSelectWindowsTheirChildrenAndRanges) {
    HWND c = Child(top, 1, 0, 0, 10, 10);
    HWND other = TopLevel(0, 0, 10, 10, 0);
    cehost::sim::RunUntilIdle();
    PostMessageW(other, WM_USER, 0, 0);
    PostMessageW(c, WM_USER + 1, 0, 0);
    PostMessageW(nullptr, WM_USER + 2, 0, 0);
    PostMessageW(top, WM_USER + 3, 0, 0);
    EXPECT_EQ(Next(top, 0, 0, PM_NOREMOVE).message, UINT(WM_USER + 1)) << "a window filter includes its children";
    EXPECT_EQ(Next(top, WM_USER + 3, WM_USER + 3).message, UINT(WM_USER + 3));
    EXPECT_EQ(FieldsOf(Next(HWND(LONG_PTR(-1)))), Fields(WM_USER + 2, nullptr, 0, 0)) << "thread messages";
    EXPECT_EQ(Next(nullptr).message, UINT(WM_USER));
    EXPECT_EQ(Next(nullptr).message, UINT(WM_USER + 1));
    EXPECT_EQ(Next(nullptr).message, UINT(WM_NULL));
    // Bad arguments fail (a stale window filter fails like every call given a stale window).
    EXPECT_EQ(GetMessageW(nullptr, nullptr, 0, 0), -1);
    EXPECT_EQ(DispatchMessageW(nullptr), 0);
    EXPECT_FALSE(TranslateMessage(nullptr));
}

TEST_F(Queue, BroadcastReachesTopLevelWindowsOnly) {
    HWND c = Child(top, 1, 0, 0, 10, 10);
    HWND second = TopLevel(0, 0, 10, 10, 0);
    log.WatchAll();
    SendMessageW(HWND_BROADCAST, WM_USER + 9, 0, 0);
    EXPECT_EQ(std::tuple(log.Count(WM_USER + 9, top), log.Count(WM_USER + 9, second), log.Count(WM_USER + 9, c)),
              std::tuple(1, 1, 0));
    log.Clear();
    PostMessageW(HWND_BROADCAST, WM_USER + 10, 0, 0);
    cehost::sim::RunUntilIdle();
    EXPECT_EQ(std::pair(log.Count(WM_USER + 10), log.Count(WM_USER + 10, c)), std::pair(2, 0));
}

TEST_F(Queue, KeyLParamBitsFollowTheInjectedEvent) {
    // The library's synthetic key stroke: extended, scan code 0.
    keybd_event(VK_F1, 0, KEYEVENTF_EXTENDEDKEY, 0);
    keybd_event(VK_F1, 0, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP, 0);
    EXPECT_EQ(FieldsOf(Next()), Fields(WM_KEYDOWN, top, VK_F1, 0x01000001u)) << "keys go to the focus window";
    EXPECT_EQ(FieldsOf(Next()), Fields(WM_KEYUP, top, VK_F1, 0xC1000001u));
    // A scan code lands in bits 16-23; a second press without release says the key was down.
    keybd_event('A', 0x1E, 0, 0);
    keybd_event('A', 0x1E, 0, 0);
    EXPECT_EQ(DWORD(Next().lParam), 0x001E0001u);
    EXPECT_EQ(DWORD(Next().lParam), 0x401E0001u);
}

TEST_F(Queue, KeysTargetsAndKeyState) {
    HWND c = Child(top, 1, 0, 0, 10, 10);
    SetFocus(c);
    keybd_event(VK_UP, 0, 0, 0);
    // The target is chosen when the key is retrieved.
    SetFocus(top);
    EXPECT_EQ(Next().hwnd, top);
    SetFocus(nullptr);
    keybd_event(VK_UP, 0, 0, 0);
    EXPECT_EQ(Next().hwnd, top) << "the active window without a focus";
    DestroyWindow(top);
    keybd_event(VK_UP, 0, KEYEVENTF_KEYUP, 0);
    EXPECT_EQ(Next().message, UINT(WM_NULL));
    EXPECT_EQ(GetKeyState(VK_UP) & 0x8000, 0) << "the dropped key-up still released the key";
    // The key state follows retrieval, the asynchronous state follows injection.
    top = TopLevel(0, 0, 100, 100);
    keybd_event(VK_SHIFT, 0, 0, 0);
    EXPECT_TRUE(GetAsyncKeyState(VK_SHIFT) & 0x8000);
    EXPECT_FALSE(GetKeyState(VK_SHIFT) & 0x8000);
    Next();
    EXPECT_TRUE(GetKeyState(VK_SHIFT) & 0x8000);
    EXPECT_LT(GetKeyState(VK_SHIFT), 0);
    // The left and right keys drive the generic one.
    keybd_event(VK_LCONTROL, 0, 0, 0);
    Next();
    EXPECT_TRUE(GetKeyState(VK_CONTROL) & 0x8000);
}

TEST_F(Queue, GetMessageRunsTheVirtualClockOrEndsTheLoop) {
    const DWORD start = GetTickCount();
    SetTimer(top, 5, 250, nullptr);
    MSG m;
    ASSERT_EQ(GetMessageW(&m, nullptr, 0, 0), 1);
    EXPECT_EQ(m.message, UINT(WM_TIMER));
    EXPECT_EQ(GetTickCount() - start, 250u);
    KillTimer(top, 5);
    testing::internal::CaptureStderr();
    EXPECT_EQ(GetMessageW(&m, nullptr, 0, 0), 0);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(m.message, UINT(WM_QUIT));
    EXPECT_NE(err.find("nothing left to wait for"), std::string::npos);
}

// Painting is regenerated until validated; messages for a destroyed window are dropped; running until idle
// dispatches what is posted and leaves WM_QUIT pending.
TEST_F(Queue, PaintRepeatsDeadWindowsLoseTheirMessagesAndQuitWaits) {
    InvalidateRect(top, nullptr, FALSE);
    EXPECT_EQ(Next().message, UINT(WM_PAINT));
    EXPECT_EQ(Next().message, UINT(WM_PAINT)) << "a peek never removes WM_PAINT";
    ValidateRect(top, nullptr);
    HWND doomed = TopLevel(0, 0, 10, 10, 0);
    PostMessageW(doomed, WM_USER + 1, 0, 0);
    DestroyWindow(doomed);
    EXPECT_EQ(Next().message, UINT(WM_NULL));
    log.Watch(top);
    PostMessageW(top, WM_USER, 0, 0);
    PostQuitMessage(1);
    EXPECT_EQ(cehost::sim::RunUntilIdle(), 1);
    EXPECT_TRUE(log.Matches({{WM_USER, posted}}));
    MSG m;
    EXPECT_EQ(GetMessageW(&m, nullptr, 0, 0), 0);
    EXPECT_EQ(m.wParam, 1u);
}

namespace {

using Timers = UserTopTest;

int CountTimers(HWND hwnd) {
    int n = 0;
    while (Next(hwnd, WM_TIMER, WM_TIMER).message == WM_TIMER) ++n;
    return n;
}

} // namespace

TEST_F(Timers, ExpirationsCoalesceAndTheRetrievalRestartsThePeriod) {
    EXPECT_EQ(SetTimer(top, 7, 10, nullptr), 7u);
    EXPECT_EQ(CountTimers(top), 0) << "not due yet";
    cehost::sim::AdvanceClock(95);
    EXPECT_EQ(FieldsOf(Next(top, WM_TIMER, WM_TIMER, PM_NOREMOVE)), Fields(WM_TIMER, top, 7, 0));
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

TEST_F(Timers, RunForAndSleepMoveTheVirtualClock) {
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
    EXPECT_TRUE(b != 0 && b != a) << "an identifier of its own";
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

// What the message log records, how optional entries match, and that a mismatch names the messages on both
// sides.
TEST(MessageLog, RecordsWatchedWindowsOnlyAndNamesMismatches) {
    ASSERT_NE(RegisterTestClass(), 0);
    HWND a = TopLevel(0, 0, 10, 10, 0);
    HWND b = TopLevel(0, 0, 10, 10, 0);
    MessageLog log;
    log.Watch(a, "list");
    SendMessageW(a, WM_USER, 1, 0);
    SendMessageW(b, WM_USER, 2, 0);
    PostMessageW(a, WM_KEYDOWN, VK_LEFT, 0);
    cehost::sim::RunUntilIdle();
    EXPECT_TRUE(log.Matches({{WM_USER, sent | wparam, 1}, {WM_SETFOCUS, optional}, {WM_KEYDOWN, posted | wparam, VK_LEFT}}));
    EXPECT_EQ(log.Count(WM_USER), 1);
    const auto mismatch = log.Matches({{WM_USER, sent}, {WM_KEYUP, posted}});
    ASSERT_FALSE(mismatch);
    const std::string text = mismatch.message();
    EXPECT_NE(text.find("expected WM_KEYUP posted"), std::string::npos) << text;
    EXPECT_NE(text.find("but got WM_KEYDOWN posted to list"), std::string::npos) << text;
    MessageLog::NameMessage(WM_USER + 30, "LXM_TEST");
    log.Clear();
    SendMessageW(a, WM_USER + 30, 0, 0);
    const std::string extra = log.Matches({}).message();
    EXPECT_NE(extra.find("unexpected message 0: LXM_TEST sent to list"), std::string::npos) << extra;
    EXPECT_FALSE(log.Matches({{WM_USER + 30, posted}})) << "sent is not posted";
}
