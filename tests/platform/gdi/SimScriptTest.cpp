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

TEST(SimScript, CommandsBecomeSteps) {
    auto steps = Parse("# a comment\n"
                       "press TSOFT1\n"
                       "release vk_f1\n"
                       "key down DOWN 0x0d   # two downs and Return\n"
                       "\n"
                       "tap 10 300\r\n"
                       "wait 250\n"
                       "screenshot list-open\n"
                       "quit 3\n");
    ASSERT_EQ(9u, steps.size());
    EXPECT_EQ(Kind::Press, steps[0].kind);
    EXPECT_EQ(0x70, steps[0].vk);
    EXPECT_EQ(2, steps[0].line);
    EXPECT_EQ(Kind::Release, steps[1].kind);
    EXPECT_EQ(0x70, steps[1].vk);
    EXPECT_EQ(Kind::Key, steps[2].kind);
    EXPECT_EQ(0x28, steps[3].vk);
    EXPECT_EQ(0x0D, steps[4].vk);
    EXPECT_EQ(Kind::Tap, steps[5].kind);
    EXPECT_EQ(10, steps[5].x);
    EXPECT_EQ(300, steps[5].y);
    EXPECT_EQ(250u, steps[6].ms);
    EXPECT_EQ("list-open.png", steps[7].name);
    EXPECT_EQ(Kind::Quit, steps[8].kind);
    EXPECT_EQ(3, steps[8].code);
}

TEST(SimScript, TypeHoldsShiftForCapitalsAndSigns) {
    auto steps = Parse("type Hi 2!\n");
    ASSERT_EQ(5u, steps.size());
    EXPECT_EQ('H', steps[0].vk);
    EXPECT_TRUE(steps[0].shift);
    EXPECT_EQ('I', steps[1].vk);
    EXPECT_FALSE(steps[1].shift);
    EXPECT_EQ(0x20, steps[2].vk);
    EXPECT_EQ('2', steps[3].vk);
    EXPECT_EQ('1', steps[4].vk);
    EXPECT_TRUE(steps[4].shift);
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

TEST(SimOptions, RefusesMalformedOptions) {
    auto fails = [](std::vector<const char*> args) {
        args.insert(args.begin(), "app");
        cehost::sim::SimOptions o;
        std::string error;
        bool ok = cehost::sim::ParseSimOptions(int(args.size()), args.data(), o, &error);
        return !ok && !error.empty();
    };
    EXPECT_TRUE(fails({"--screen", "240"}));
    EXPECT_TRUE(fails({"--screen", "0x320"}));
    EXPECT_TRUE(fails({"--screen"}));
    EXPECT_TRUE(fails({"--time-limit", "soon"}));
    EXPECT_TRUE(fails({"--bogus"}));
    EXPECT_TRUE(fails({"--script"})) << "a script needs a file";
}
