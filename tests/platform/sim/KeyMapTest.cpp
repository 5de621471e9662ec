// The window's key map (built-in bindings and key-map files), key names in recorded scripts, and the
// window's command-line options.
#include <windows.h>
#include <cehost/sim/gdi.h>
#include <cehost/sim/window.h>

#include <gtest/gtest.h>

using cehost::sim::KeyBinding;
using cehost::sim::KeyMap;

namespace {

BYTE KeyOf(const KeyMap& map, const char* name) {
    const KeyBinding* b = map.Find(name);
    if (!b || b->action != KeyBinding::Action::Key) return 0;
    return b->vk;
}

bool IsScreenshot(const KeyMap& map, const char* name) {
    const KeyBinding* b = map.Find(name);
    return b && b->action == KeyBinding::Action::Screenshot;
}

} // namespace

TEST(KeyMap, DefaultMapCoversTheKeypad) {
    KeyMap map = KeyMap::Default();
    const std::pair<const char*, BYTE> keys[] = {
        {"F1", VK_F1},          {"F2", VK_F2},       {"F3", VK_F3},         {"F4", VK_F4},
        {"Up", VK_UP},          {"Return", VK_RETURN}, {"Escape", VK_ESCAPE}, {"Backspace", VK_BACK},
        {"Right Alt", VK_HANGUL}, {"F5", VK_HANGUL}, {"Left Shift", VK_SHIFT}, {"7", '7'},
        {"Space", VK_SPACE},    {"q", 'Q'}}; // names are compared without case
    for (const auto& [name, vk] : keys) EXPECT_EQ(vk, KeyOf(map, name)) << name;
    EXPECT_TRUE(IsScreenshot(map, "F12"));
    EXPECT_TRUE(IsScreenshot(map, "PrintScreen"));
    EXPECT_EQ(VK_F9, KeyOf(map, "F9")) << "#";
    EXPECT_EQ(nullptr, map.Find("F10")) << "keys without a keypad meaning stay unbound";
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
    EXPECT_EQ(VK_F1, KeyOf(map, "F9"));
    EXPECT_EQ(VK_HANGUL, KeyOf(map, "Left Alt"));
    EXPECT_EQ(VK_RETURN, KeyOf(map, "Keypad 5"));
    EXPECT_TRUE(IsScreenshot(map, "Insert"));
    EXPECT_EQ(nullptr, map.Find("F12"));
    EXPECT_EQ(VK_F2, KeyOf(map, "=")) << "the last '=' separates, so '=' itself can be bound";
    EXPECT_EQ(VK_F2, KeyOf(map, "F1")) << "a file entry replaces the default";
    EXPECT_EQ(VK_F2, KeyOf(map, "F2")) << "untouched defaults stay";
    EXPECT_EQ(before + 3 - 1, map.Size()); // Left Alt, Keypad 5, Insert new; F12 gone; F9 and '=' rebound
}

TEST(KeyMap, BadFilesNameTheLineAndLeaveTheMapAlone) {
    struct Case {
        const char* text;
        const char* error;
    };
    // Every file binds F7 on its first line; a bad file must not keep even that.
    const Case cases[] = {
        {"F7 = VK_F1\nF2 VK_F2\n", "line 2: expected 'KEY NAME = VIRTUAL KEY'"},
        {"F7 = VK_F1\n\n# fine\nNoSuchKey = VK_F1\n", "line 4: unknown key name 'NoSuchKey'"},
        {"F7 = VK_F1\nF1 = VK_NOTHING\n",
         "line 2: unknown virtual key 'VK_NOTHING' (a VK_ name, a number, SCREENSHOT or NONE)"},
        {"F7 = VK_F1\nF1 =\n", "line 2: expected 'KEY NAME = VIRTUAL KEY'"},
        {"F7 = VK_F1\nF1 = 0x100\n", "line 2: unknown virtual key '0x100' (a VK_ name, a number, SCREENSHOT or NONE)"},
    };
    for (const Case& c : cases) {
        KeyMap map = KeyMap::Default();
        std::string error;
        EXPECT_FALSE(map.Parse(c.text, &error)) << c.text;
        EXPECT_EQ(c.error, error) << c.text;
        EXPECT_EQ(nullptr, map.Find("F7")) << "a bad file binds nothing, not even its good lines";
        EXPECT_EQ(VK_F1, KeyOf(map, "F1"));
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
    EXPECT_EQ(3, options.zoom);
    EXPECT_EQ("keys.txt", options.keymap);
    EXPECT_EQ("r.keys", options.record);
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
