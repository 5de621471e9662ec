// The session recorder: the key script it writes for what happened in a window session.
#include <windows.h>
#include <cehost/sim/gdi.h>
#include <cehost/sim/window.h>

#include <gtest/gtest.h>

using cehost::sim::SessionRecorder;

TEST(SessionRecorder, FoldsQuickKeysAndKeepsHeldKeysApart) {
    SessionRecorder r;
    // Typing "Hi": Shift held around H, then a quick I.
    r.KeyDown(VK_SHIFT);
    r.KeyDown('H');
    r.KeyUp('H');
    r.KeyUp(VK_SHIFT);
    r.KeyDown('I');
    r.KeyUp('I');
    r.KeyDown(VK_DOWN);
    r.KeyUp(VK_DOWN);
    // A key held while a timer ran: the time stays between its down and up.
    r.KeyDown(VK_RETURN);
    r.ClockAdvanced(30);
    r.ClockAdvanced(0);
    r.ClockAdvanced(20);
    r.KeyUp(VK_RETURN);
    // Auto-repeat comes as downs; only the last down meets the up.
    r.KeyDown(VK_UP);
    r.KeyDown(VK_UP);
    r.KeyDown(VK_UP);
    r.KeyUp(VK_UP);
    r.Screenshot("shot-001");
    r.KeyDown(VK_HANGUL);
    r.KeyUp(VK_HANGUL);
    r.ClockAdvanced(500);
    EXPECT_EQ("# Recorded in the simulator window.\n"
              "press SHIFT\n"
              "key H\n"
              "release SHIFT\n"
              "key I DOWN\n"
              "press RETURN\n"
              "wait 50\n"
              "release RETURN\n"
              "press UP\n"
              "press UP\n"
              "key UP\n"
              "screenshot shot-001\n"
              "key 0x15\n"
              "wait 500\n"
              "quit\n",
              r.Script());
}

TEST(SessionRecorder, LongTypingSplitsIntoLinesAndEveryScriptParses) {
    SessionRecorder r;
    const std::string text = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (char c : text) {
        r.KeyDown(BYTE(c));
        r.KeyUp(BYTE(c));
    }
    r.KeyDown(VK_F1); // still held when the session ended
    const std::string script = r.Script();
    EXPECT_NE(std::string::npos, script.find("key A B C D E F G H I J K L\nkey M N"));
    EXPECT_NE(std::string::npos, script.find("key Y Z\npress F1\nquit\n"));

    std::vector<cehost::sim::ScriptStep> steps;
    std::string error;
    ASSERT_TRUE(cehost::sim::ParseKeyScript(script, steps, &error)) << error;
    ASSERT_EQ(text.size() + 2, steps.size());
    for (size_t i = 0; i < text.size(); ++i) EXPECT_EQ(BYTE(text[i]), steps[i].vk);
    EXPECT_EQ(cehost::sim::ScriptStep::Kind::Press, steps[text.size()].kind);

    EXPECT_EQ("# Recorded in the simulator window.\nquit\n", SessionRecorder().Script()) << "an empty session";
}

TEST(SessionRecorder, ClicksBecomeTapsAndStrokesAreLeftOutWithTheirKeysKept) {
    SessionRecorder r;
    r.KeyDown('A');
    r.KeyUp('A');
    r.StylusDown(50, 30); // a click
    r.StylusUp(50, 30);
    r.StylusDown(10, 10); // a drag, with a key typed during it
    r.StylusMove(12, 20);
    r.KeyDown('B');
    r.KeyUp('B');
    r.StylusUp(12, 40);
    r.StylusDown(5, 5); // released elsewhere without a move: not a tap either
    r.StylusUp(6, 5);
    r.StylusDown(7, 7); // still down at the end
    size_t leftOut = 0;
    const std::string script = r.Script(&leftOut);
    EXPECT_EQ("# Recorded in the simulator window.\n"
              "key A\n"
              "tap 50 30\n"
              "# left out: a stylus stroke from 10,10 to 12,40 (key scripts only tap)\n"
              "key B\n"
              "# left out: a stylus stroke from 5,5 to 6,5 (key scripts only tap)\n"
              "# left out: a stylus stroke from 7,7 (still down at the end) (key scripts only tap)\n"
              "quit\n",
              script);
    EXPECT_EQ(3u, leftOut);

    std::vector<cehost::sim::ScriptStep> steps;
    std::string error;
    ASSERT_TRUE(cehost::sim::ParseKeyScript(script, steps, &error)) << error;
    ASSERT_EQ(4u, steps.size());
    EXPECT_EQ(cehost::sim::ScriptStep::Kind::Tap, steps[1].kind);
    EXPECT_EQ(50, steps[1].x);
    EXPECT_EQ(30, steps[1].y);
}
