// The test message log itself: what it records, how optional entries match, and that a mismatch names the
// messages on both sides.
#include "MessageLog.h"
#include "UserTestSupport.h"

using namespace usertest;
using namespace lxtest;

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
