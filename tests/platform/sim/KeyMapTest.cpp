// The window's key map (built-in bindings and key-map files), key names in recorded scripts, the window's
// command-line options, and the key script the session recorder writes for what happened in a window session.
#include <windows.h>
#include <cehost/sim/gdi.h>
#include <cehost/sim/window.h>

#include <gtest/gtest.h>

using cehost::sim::KeyBinding;
using cehost::sim::KeyMap;
using cehost::sim::ScriptStep;
using cehost::sim::SessionRecorder;

namespace {

constexpr int kUnbound = -1, kScreenshot = -2;

// The virtual key a name is bound to, or kUnbound, or kScreenshot.
int Binding(const KeyMap& map, const char* name) {
    const KeyBinding* b = map.Find(name);
    if (!b) return kUnbound;
    return b->action == KeyBinding::Action::Screenshot ? kScreenshot : b->vk;
}

} // namespace

TEST(KeyMap, DefaultMapCoversTheKeypad) {
    KeyMap map = KeyMap::Default();
    // Names are compared without case; F9 is '#'; keys without a keypad meaning stay unbound.
    const std::pair<const char*, int> keys[] = {
        {"F1", VK_F1},          {"F2", VK_F2},       {"F3", VK_F3},         {"F4", VK_F4},
        {"Up", VK_UP},          {"Return", VK_RETURN}, {"Escape", VK_ESCAPE}, {"Backspace", VK_BACK},
        {"Right Alt", VK_HANGUL}, {"F5", VK_HANGUL}, {"Left Shift", VK_SHIFT}, {"7", '7'},
        {"Space", VK_SPACE},    {"q", 'Q'},          {"F9", VK_F9},         {"F10", kUnbound},
        {"F12", kScreenshot},   {"PrintScreen", kScreenshot}};
    for (const auto& [name, vk] : keys) EXPECT_EQ(vk, Binding(map, name)) << name;
}

TEST(KeyMap, FileBindsOverTheDefaults) {
    KeyMap map = KeyMap::Default();
    const size_t before = map.Size();
    std::string error;
    ASSERT_TRUE(map.Parse("# my keypad\n"
                          "\n"
                          "F9 = VK_F1          # another left soft key\n"
                          "  left alt=hangul\n"
                          "Keypad 5 = 0x0D\n"
                          "Insert = screenshot\n"
                          "F12 = NONE\n"
                          "= = VK_F2\n"
                          "F1 = 0x71\r\n",
                          &error))
        << error;
    // The last '=' separates, so '=' itself can be bound; a file entry replaces the default (F1); untouched
    // defaults stay (F2).
    const std::pair<const char*, int> keys[] = {{"F9", VK_F1}, {"Left Alt", VK_HANGUL}, {"Keypad 5", VK_RETURN},
                                                {"Insert", kScreenshot}, {"F12", kUnbound}, {"=", VK_F2},
                                                {"F1", VK_F2}, {"F2", VK_F2}};
    for (const auto& [name, vk] : keys) EXPECT_EQ(vk, Binding(map, name)) << name;
    EXPECT_EQ(before + 3 - 1, map.Size()); // Left Alt, Keypad 5, Insert new; F12 gone; F9 and '=' rebound
}

TEST(KeyMap, BadFilesNameTheLineAndLeaveTheMapAlone) {
    // Every file binds F7 on its first line; a bad file must not keep even that.
    const std::pair<const char*, const char*> cases[] = {
        {"F7 = VK_F1\nF2 VK_F2\n", "line 2: expected 'KEY NAME = VIRTUAL KEY'"},
        {"F7 = VK_F1\n\n# fine\nNoSuchKey = VK_F1\n", "line 4: unknown key name 'NoSuchKey'"},
        {"F7 = VK_F1\nF1 = VK_NOTHING\n",
         "line 2: unknown virtual key 'VK_NOTHING' (a VK_ name, a number, SCREENSHOT or NONE)"},
        {"F7 = VK_F1\nF1 =\n", "line 2: expected 'KEY NAME = VIRTUAL KEY'"},
        {"F7 = VK_F1\nF1 = 0x100\n", "line 2: unknown virtual key '0x100' (a VK_ name, a number, SCREENSHOT or NONE)"},
    };
    for (const auto& [text, message] : cases) {
        KeyMap map = KeyMap::Default();
        std::string error;
        EXPECT_FALSE(map.Parse(text, &error)) << text;
        EXPECT_EQ(message, error) << text;
        EXPECT_EQ(kUnbound, Binding(map, "F7")) << "a bad file binds nothing, not even its good lines";
        EXPECT_EQ(VK_F1, Binding(map, "F1"));
    }
}

TEST(KeyMap, ScriptKeyNamesReadBackAsTheSameKey) {
    for (int vk = 1; vk < 256; ++vk) {
        const std::string name = cehost::sim::ScriptKeyName(BYTE(vk));
        BYTE back = 0;
        ASSERT_TRUE(cehost::sim::ParseKeyName(name, back)) << name;
        EXPECT_EQ(vk, back) << name;
    }
}

TEST(WindowOptions, TakenOutOfTheCommandLineInOrder) {
    const char* argv[] = {"app", "--zoom", "3", "--headless", "--keymap=keys.txt", "file", "--record", "r.keys",
                          "--", "--zoom", "9"};
    cehost::sim::WindowOptions options;
    std::vector<std::string> rest;
    std::string error;
    ASSERT_TRUE(cehost::sim::ExtractWindowOptions(int(std::size(argv)), argv, options, rest, &error)) << error;
    EXPECT_EQ(std::tuple(3, std::string("keys.txt"), std::string("r.keys")),
              std::tuple(options.zoom, options.keymap, options.record));
    EXPECT_EQ((std::vector<std::string>{"app", "--headless", "file", "--", "--zoom", "9"}), rest)
        << "what follows -- belongs to the application";
    for (std::vector<const char*> bad : {std::vector<const char*>{"app", "--zoom", "0"},
                                         {"app", "--zoom=2.5"},
                                         {"app", "--zoom", "17"},
                                         {"app", "--keymap"},
                                         {"app", "--record="}}) {
        cehost::sim::WindowOptions o;
        EXPECT_FALSE(cehost::sim::ExtractWindowOptions(int(bad.size()), bad.data(), o, rest, &error)) << bad[1];
        EXPECT_FALSE(error.empty());
    }
}

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
    for (DWORD ms : {30, 0, 20}) r.ClockAdvanced(ms);
    r.KeyUp(VK_RETURN);
    // Auto-repeat comes as downs; only the last down meets the up.
    for (int i = 0; i < 3; ++i) r.KeyDown(VK_UP);
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
    std::string error, played;
    ASSERT_TRUE(cehost::sim::ParseKeyScript(script, steps, &error)) << error;
    for (const ScriptStep& step : steps) {
        if (step.kind == ScriptStep::Kind::Key && step.vk >= 'A' && step.vk <= 'Z') played += char(step.vk);
        if (step.kind == ScriptStep::Kind::Tap) played += " tap " + std::to_string(step.x) + "," + std::to_string(step.y);
    }
    EXPECT_EQ("HIABCDEFGHIJKLM tap 50,30", played);
    EXPECT_EQ("# Recorded in the simulator window.\nquit\n", SessionRecorder().Script()) << "an empty session";
}
