// Debug output: capture for tests, echo to standard error, the debug-check line.
#include <gtest/gtest.h>
#include <cehost/sim.h>

#include <cstdlib>
#include <string>

namespace {

using namespace cehost::sim;

TEST(DebugOutput, CapturesFromStartAndTakeEmptiesItChecksAndRetailMessages) {
    OutputDebugStringW(u"before\n");
    StartDebugCapture();
    EXPECT_EQ(TakeDebugOutput(), u"");
    OutputDebugStringW(u"LxText - WM_SETFOCUS  \n");
    OutputDebugStringW(nullptr);
    OutputDebugStringW(u"\uAC00");
    EXPECT_EQ(TakeDebugOutput(), u"LxText - WM_SETFOCUS  \n\uAC00");
    EXPECT_EQ(TakeDebugOutput(), u"");
    StopDebugCapture();
    OutputDebugStringW(u"after");
    StartDebugCapture();
    EXPECT_EQ(TakeDebugOutput(), u"");
    // NKDbgPrintfW formats wide text, however long.
    NKDbgPrintfW(u"%s: %d %x\r\n", u"mod", -3, 255u);
    NKDbgPrintfW(nullptr);
    const std::u16string longText(5000, u'z');
    NKDbgPrintfW(u"%s", longText.c_str());
    EXPECT_EQ(TakeDebugOutput(), u"mod: -3 ff\r\n" + longText);
    // A debug check evaluates its condition once; retail messages print when their condition holds. (The
    // debug-check line itself is pinned by the array's misuse tests.)
    int evaluated = 0;
    DEBUGCHK(++evaluated == 1);
    EXPECT_EQ(TakeDebugOutput(), u"");
    DEBUGCHK(++evaluated == 5);
    EXPECT_EQ(evaluated, 2);
    EXPECT_NE(TakeDebugOutput().find(u" at line "), std::u16string::npos);
    RETAILMSG(0, (u"never"));
    RETAILMSG(1, (u"n=%d", 4));
    EXPECT_EQ(TakeDebugOutput(), u"n=4");
}

TEST(DebugOutput, EchoesToStandardErrorAsUtf8WhenEnabled) {
    testing::internal::CaptureStderr();
    OutputDebugStringW(u"quiet");
    cehost::sim::SetDebugEcho(true);
    OutputDebugStringW(u"\uAC00 on\n");
    cehost::sim::SetDebugEcho(false);
    OutputDebugStringW(u"off");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "\xEA\xB0\x80 on\n");
}

TEST(DebugOutput, EnvironmentTurnsEchoOn) {
    // Read once, at the first debug output of the process (each test runs in its own process).
    setenv("CEHOST_DEBUG", "1", 1);
    testing::internal::CaptureStderr();
    NKDbgPrintfW(u"%d\n", 7);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "7\n");
}

} // namespace
