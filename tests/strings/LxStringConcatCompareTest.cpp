// LxString concatenation of numbers and comparison with every operand kind.
#include "StringTestSupport.h"

#include <cstdio>

namespace {

// Numbers are appended in their text form; a double whose text is longer than the 100-byte scratch area is
// appended whole. (Appending texts, aliasing and absent operands are checked against a model by the fuzzer.)
TEST(LxStringConcat, NumbersAndWideTextAreAppendedInTheirTextForm) {
    const LxString ab("ab");
    EXPECT_TEXT(ab + 7, "ab7");
    EXPECT_TEXT(ab + -7, "ab-7");
    EXPECT_TEXT(ab + 1.5, "ab1.500000");
    EXPECT_TEXT(ab + KO_GA, "ab" ANSI_GA);
    EXPECT_TEXT(LxString() + static_cast<const WCHAR*>(nullptr), "");
    EXPECT_TEXT(ab, "ab");
    EXPECT_EQ((ab + 1e200).GetLength(), 2 + std::snprintf(nullptr, 0, "%f", 1e200));
    EXPECT_TRUE(Exact(ab + 1e200));
    LxString self("ab");
    self += self;
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

} // namespace
