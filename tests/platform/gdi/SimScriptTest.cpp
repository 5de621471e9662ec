// The simulator's options and key-script language.
#include <windows.h>
#include <cehost/sim.h>

#include <gtest/gtest.h>

using cehost::sim::ScriptStep;
using Kind = ScriptStep::Kind;

namespace {
std::vector<ScriptStep> Parse(const std::string& text, std::string* error = nullptr) {
    std::vector<ScriptStep> steps;
    std::string why;
    bool ok = cehost::sim::ParseKeyScript(text, steps, &why);
    if (error) *error = why;
    EXPECT_EQ(ok, why.empty());
    return steps;
}
} // namespace

// Commands become steps: key names with or without the VK_ prefix or as numbers, case ignored, comments and
// blank lines skipped; `type` holds Shift for capitals and signs.
TEST(SimScript, CommandsBecomeSteps) {
    auto steps = Parse("# a comment\npress TSOFT1\nrelease vk_f1\nkey down DOWN 0x0d   # two downs and Return\n\n"
                       "tap 10 300\r\nwait 250\nscreenshot list-open\nquit 3\ntype Hi 2!\n");
    const struct {
        Kind kind;
        int vk;
        bool shift;
    } keys[] = {{Kind::Press, 0x70, false}, {Kind::Release, 0x70, false}, {Kind::Key, 0x28, false},
                {Kind::Key, 0x28, false},   {Kind::Key, 0x0D, false},     {Kind::Tap, 0, false},
                {Kind::Wait, 0, false},     {Kind::Screenshot, 0, false}, {Kind::Quit, 0, false},
                {Kind::Key, 'H', true},     {Kind::Key, 'I', false},      {Kind::Key, 0x20, false},
                {Kind::Key, '2', false},    {Kind::Key, '1', true}};
    ASSERT_EQ(std::size(keys), steps.size());
    for (size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(keys[i].kind, steps[i].kind) << i;
        EXPECT_TRUE(!keys[i].vk || keys[i].vk == steps[i].vk) << i;
        EXPECT_EQ(keys[i].shift, steps[i].shift) << i;
    }
    EXPECT_EQ(2, steps[0].line);
    EXPECT_EQ(10, steps[5].x);
    EXPECT_EQ(300, steps[5].y);
    EXPECT_EQ(250u, steps[6].ms);
    EXPECT_EQ("list-open.png", steps[7].name);
    EXPECT_EQ(3, steps[8].code);
}

TEST(SimScript, ErrorsNameTheLine) {
    std::string error;
    EXPECT_TRUE(Parse("wait 10\npress NOSUCHKEY\n", &error).empty());
    EXPECT_EQ("line 2: unknown key 'NOSUCHKEY'", error);
    Parse("jump 3\n", &error);
    EXPECT_EQ("line 1: unknown command 'jump'", error);
    Parse("wait -5\n", &error);
    EXPECT_NE(std::string::npos, error.find("milliseconds"));
    Parse("tap 3\n", &error);
    EXPECT_NE(std::string::npos, error.find("X and Y"));
    Parse("screenshot ../escape\n", &error);
    EXPECT_NE(std::string::npos, error.find("plain file name"));
    Parse("type 한글\n", &error);
    EXPECT_NE(std::string::npos, error.find("cannot type"));
}

TEST(SimOptions, ParsesEveryOptionAndPassesTheRestOn) {
    const char* argv[] = {"app", "--headless", "--screen", "320x240", "--script=s.txt", "--shots", "out",
                          "--time-limit", "5000", "file.txt", "--", "--not-an-option"};
    cehost::sim::SimOptions o;
    std::string error;
    ASSERT_TRUE(cehost::sim::ParseSimOptions(12, argv, o, &error)) << error;
    EXPECT_TRUE(o.headless);
    EXPECT_EQ(320, o.screenWidth);
    EXPECT_EQ(240, o.screenHeight);
    EXPECT_EQ("s.txt", o.script);
    EXPECT_EQ("out", o.shotsDir);
    EXPECT_EQ(5000u, o.timeLimitMs);
    EXPECT_EQ((std::vector<std::string>{"file.txt", "--not-an-option"}), o.arguments);
}

// A screen size must be WxH of positive numbers, the time limit a number, and a script a file.
TEST(SimOptions, RefusesMalformedOptions) {
    for (std::vector<const char*> args : std::vector<std::vector<const char*>>{
             {"app", "--screen", "240"}, {"app", "--screen", "0x320"}, {"app", "--screen"},
             {"app", "--time-limit", "soon"}, {"app", "--bogus"}, {"app", "--script"}}) {
        cehost::sim::SimOptions o;
        std::string error;
        EXPECT_FALSE(cehost::sim::ParseSimOptions(int(args.size()), args.data(), o, &error)) << args[1];
        EXPECT_FALSE(error.empty()) << args[1];
    }
}
