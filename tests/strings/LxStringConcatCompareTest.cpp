// LxString concatenation, appending, comparison, decrement and byte access.
#include "StringTestSupport.h"

#include <cstdio>

namespace {

TEST(LxStringConcat, OperatorPlusBuildsANewStringAndLeavesOperands) {
    LxString ab("ab");
    LxString cd("cd");
    EXPECT_TEXT(ab + cd, "abcd");
    EXPECT_EQ((ab + cd).GetLength(), 4);
    EXPECT_TEXT(ab, "ab");
    EXPECT_TEXT(cd, "cd");
    EXPECT_TEXT(ab + 7, "ab7");
    EXPECT_TEXT(ab + -7, "ab-7");
    EXPECT_TEXT(ab + 1.5, "ab1.500000");
    EXPECT_TEXT(ab + "xy", "abxy");
    EXPECT_TEXT(ab + KO_GA, "ab" ANSI_GA);
    // A double whose text is longer than the 100-byte scratch area is appended whole.
    EXPECT_EQ((ab + 1e200).GetLength(), 2 + std::snprintf(nullptr, 0, "%f", 1e200));
    EXPECT_TRUE(Exact(ab + 1e200));
}

TEST(LxStringConcat, AbsentOperandsReadAsEmptyText) {
    LxString absent;
    EXPECT_TEXT(absent + absent, "");
    EXPECT_TEXT(absent + "x", "x");
    EXPECT_TEXT(LxString("x") + absent, "x");
    EXPECT_TEXT(absent + static_cast<const char*>(nullptr), "");
    EXPECT_TEXT(absent + static_cast<const WCHAR*>(nullptr), "");
}

TEST(LxStringConcat, AppendingToAbsentTakesTheOperand) {
    LxString s;
    s += "abc";
    EXPECT_TEXT(s, "abc");
    LxString t;
    t += LxString();
    EXPECT_TRUE(IsAbsent(t)); // a copy of an absent string
    t += "";
    EXPECT_TEXT(t, "");
    LxString w;
    w += KO_GA;
    EXPECT_TEXT(w, ANSI_GA);
    LxString n;
    n.Append(LxString("q"));
    EXPECT_TEXT(n, "q");
}

TEST(LxStringConcat, AppendingKeepsTheBlockExact) {
    LxString s("ab");
    s += KO_GA KO_NA;
    EXPECT_EQ(s.GetLength(), 6);
    EXPECT_TEXT(s, "ab" ANSI_GA ANSI_NA);
    s += LxString("!");
    EXPECT_TEXT(s, "ab" ANSI_GA ANSI_NA "!");
    s += static_cast<const char*>(nullptr);
    EXPECT_TEXT(s, "ab" ANSI_GA ANSI_NA "!");
    s.Append(LxString(""));
    EXPECT_EQ(s.GetLength(), 7);
}

TEST(LxStringConcat, AppendingItselfReadsTheOldText) {
    LxString s("ab");
    s += s;
    EXPECT_TEXT(s, "abab");
    s += s.GetString() + 2;
    EXPECT_TEXT(s, "ababab");
}

TEST(LxStringCompare, ByteOrderWithoutCaseFolding) {
    LxString abc("abc");
    EXPECT_EQ(abc < LxString("abd"), 1);
    EXPECT_EQ(abc < LxString("abc"), 0);
    EXPECT_EQ(abc <= LxString("abc"), 1);
    EXPECT_EQ(abc >= LxString("abc"), 1);
    EXPECT_EQ(abc > LxString("abc"), 0);
    EXPECT_EQ(LxString("ab") < abc, 1);
    EXPECT_EQ(abc > LxString("ab"), 1);
    EXPECT_EQ(LxString("ABC") < abc, 1);
    // Bytes compare unsigned: a lead byte sorts after ASCII.
    EXPECT_EQ(LxString(ANSI_GA) > LxString("z"), 1);
}

TEST(LxStringCompare, EqualityWithEveryOperandKind) {
    LxString abc("abc");
    EXPECT_EQ(abc == "ABC", 0);
    EXPECT_EQ(abc != "ABC", 1);
    EXPECT_EQ(abc == u"abc", 1);
    EXPECT_EQ(abc != u"abc", 0);
    EXPECT_EQ(abc == LxString("abc"), 1);
    EXPECT_EQ(LxString(KO_GA) == KO_GA, 1);
    EXPECT_EQ(LxString(KO_GA) == ANSI_GA, 1);

    LxString absent;
    EXPECT_EQ(absent == "", 1);
    EXPECT_EQ(absent == static_cast<const char*>(nullptr), 1);
    EXPECT_EQ(absent == LxString(""), 1);
    EXPECT_EQ(absent < LxString("a"), 1);
    EXPECT_EQ(absent != u"a", 1);
}

TEST(LxStringDecrement, DropsTheLastByte) {
    LxString s("abc");
    --s;
    EXPECT_TEXT(s, "ab");
    LxString t("abc");
    LxString before = t--;
    EXPECT_TEXT(before, "abc");
    EXPECT_TEXT(t, "ab");

    LxString one("a");
    --one;
    EXPECT_TRUE(IsAbsent(one));
    LxString empty("");
    --empty;
    EXPECT_TEXT(empty, "");
    LxString absent;
    absent--;
    EXPECT_TRUE(IsAbsent(absent));

    // The unit is the byte: only the trailing byte of a syllable goes.
    LxString ko(KO_GA);
    --ko;
    EXPECT_TEXT(ko, "\xB0");
}

TEST(LxStringGetAt, InsideTheTextOnly) {
    LxString s("abc");
    EXPECT_EQ(s.GetAt(0), 'a');
    EXPECT_EQ(s.GetAt(2), 'c');
    EXPECT_EQ(s.GetAt(3), 0);
    EXPECT_EQ(s.GetAt(-1), 0);
    EXPECT_LT(LxString(KO_GA).GetAt(0), 0);
    EXPECT_EQ(LxString().GetAt(0), 0);
}

} // namespace
