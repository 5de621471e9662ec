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

TEST(LxStringConcat, AbsentOperandsReadAsEmptyTextAndAppendingKeepsTheBlockExact) {
    LxString absent, s, t, w;
    EXPECT_TEXT(absent + absent, "");
    EXPECT_TEXT(absent + "x", "x");
    EXPECT_TEXT(LxString("x") + absent, "x");
    EXPECT_TEXT(absent + static_cast<const char*>(nullptr), "");
    EXPECT_TEXT(absent + static_cast<const WCHAR*>(nullptr), "");
    s += "abc";
    EXPECT_TEXT(s, "abc");
    t += LxString();
    EXPECT_TRUE(IsAbsent(t)); // a copy of an absent string
    t += "";
    EXPECT_TEXT(t, "");
    w += KO_GA;
    EXPECT_TEXT(w, ANSI_GA);
    absent.Append(LxString("q"));
    EXPECT_TEXT(absent, "q");

    LxString ab("ab");
    ab += KO_GA KO_NA;
    ab += LxString("!");
    ab += static_cast<const char*>(nullptr);
    ab.Append(LxString(""));
    EXPECT_TEXT(ab, "ab" ANSI_GA ANSI_NA "!");
    // Appending itself reads the old text.
    LxString self("ab");
    self += self;
    EXPECT_TEXT(self, "abab");
    self += self.GetString() + 2;
    EXPECT_TEXT(self, "ababab");
}

// Byte order without case folding, bytes unsigned (a lead byte sorts after ASCII); absent reads as empty.
TEST(LxStringCompare, ByteOrderAndEqualityWithEveryOperandKind) {
    const LxString abc("abc"), absent;
    const int results[] = {abc < LxString("abd"), abc < LxString("abc"), abc <= LxString("abc"),
                           abc <= LxString("abb"), abc >= LxString("abc"), abc > LxString("abc"),
                           LxString("ab") < abc, abc > LxString("ab"), LxString("ABC") < abc,
                           LxString(ANSI_GA) > LxString("z"), abc == "ABC", abc != "ABC", abc == u"abc",
                           abc != u"abc", abc == LxString("abc"), LxString(KO_GA) == KO_GA,
                           LxString(KO_GA) == ANSI_GA, absent == "", absent == static_cast<const char*>(nullptr),
                           absent == LxString(""), absent < LxString("a"), absent != u"a"};
    const int expected[] = {1, 0, 1, 0, 1, 0, 1, 1, 1, 1, 0, 1, 1, 0, 1, 1, 1, 1, 1, 1, 1, 1};
    ASSERT_EQ(std::size(results), std::size(expected));
    for (size_t i = 0; i < std::size(results); ++i) EXPECT_EQ(results[i], expected[i]) << "case " << i;
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
