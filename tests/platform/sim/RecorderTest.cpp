// The session recorder: the key script it writes for what happened in a window session.
#include <windows.h>
#include <cehost/sim/gdi.h>
#include <cehost/sim/window.h>

#include <gtest/gtest.h>

#include <algorithm>

using cehost::sim::ScriptStep;
using cehost::sim::SessionRecorder;

TEST(SessionRecorder, WritesAScriptThatPlaysBackWhatHappened) {
    SessionRecorder r;
    const auto key = [&r](BYTE vk) { r.KeyDown(vk), r.KeyUp(vk); };
    // Typing "Hi": Shift held around H, then a quick I and Down.
    r.KeyDown(VK_SHIFT);
    key('H');
    r.KeyUp(VK_SHIFT);
    key('I');
    key(VK_DOWN);
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
    r.Input(true);
    // Thirteen quick keys fold into lines of twelve.
    for (char c : std::string("ABCDEFGHIJKLM")) key(BYTE(c));
    r.ClockAdvanced(500);
    r.StylusDown(50, 30); // a click
    r.StylusUp(50, 30);
    r.StylusDown(10, 10); // a drag, with a key typed during it
    r.StylusMove(12, 20);
    key(VK_HANGUL);
    r.StylusUp(12, 40);
    r.StylusDown(5, 5); // released elsewhere without a move: not a tap either
    r.StylusUp(6, 5);
    r.KeyDown(VK_F1);   // still held when the session ended
    r.StylusDown(7, 7); // still down at the end
    size_t leftOut = 0;
    const std::string script = r.Script(&leftOut);
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
              "input keypad\n"
              "key A B C D E F G H I J K L\n"
              "key M\n"
              "wait 500\n"
              "tap 50 30\n"
              "# left out: a stylus stroke from 10,10 to 12,40 (key scripts only tap)\n"
              "key 0x15\n"
              "# left out: a stylus stroke from 5,5 to 6,5 (key scripts only tap)\n"
              "press F1\n"
              "# left out: a stylus stroke from 7,7 (still down at the end) (key scripts only tap)\n"
              "quit\n",
              script);
    EXPECT_EQ(3u, leftOut);

    // The script reads back as the same keys and tap.
    std::vector<ScriptStep> steps;
    std::string error;
    ASSERT_TRUE(cehost::sim::ParseKeyScript(script, steps, &error)) << error;
    std::string typed;
    for (const ScriptStep& step : steps)
        if (step.kind == ScriptStep::Kind::Key && step.vk >= 'A' && step.vk <= 'Z') typed += char(step.vk);
    EXPECT_EQ("HIABCDEFGHIJKLM", typed);
    const auto tap = std::find_if(steps.begin(), steps.end(), [](const ScriptStep& s) { return s.kind == ScriptStep::Kind::Tap; });
    ASSERT_NE(steps.end(), tap);
    EXPECT_EQ(50, tap->x);
    EXPECT_EQ(30, tap->y);

    EXPECT_EQ("# Recorded in the simulator window.\nquit\n", SessionRecorder().Script()) << "an empty session";
}
