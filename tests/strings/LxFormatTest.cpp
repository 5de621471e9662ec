// LxFormat in its 8-bit and wide forms, including output longer than its scratch area.
#include "StringTestSupport.h"

namespace {

TEST(LxFormat, EightBitFormat) {
    EXPECT_TEXT(LxFormat("%d", 42), "42");
    EXPECT_TEXT(LxFormat("%s%s", "ab", "cd"), "abcd");
    EXPECT_TEXT(LxFormat("%S|%5.2f|%x", KO_GA, 2.5, 255), ANSI_GA "| 2.50|ff");
    EXPECT_TEXT(LxFormat(static_cast<const char*>(nullptr)), "");
    EXPECT_TEXT(LxFormat(""), "");
}

TEST(LxFormat, WideFormatConvertsItsResult) {
    EXPECT_TEXT(LxFormat(KO_GA KO_NA), ANSI_GA ANSI_NA);
    EXPECT_TEXT(LxFormat(u"%s=%d", KO_DA, -1), ANSI_DA "=-1");
    EXPECT_TEXT(LxFormat(u"%S", "raw"), "raw");
    EXPECT_TEXT(LxFormat(static_cast<const WCHAR*>(nullptr)), "");
}

TEST(LxFormat, LongOutputIsCutWithinTheScratchArea) {
    const std::string fits(65534, 'x');
    EXPECT_EQ(LxFormat("%s", fits.c_str()).GetLength(), 65534);
    const std::string full(65535, 'y');
    EXPECT_EQ(LxFormat("%s", full.c_str()).GetLength(), 65534);
    const std::string longer(100000, 'z');
    LxString cut = LxFormat("%s!", longer.c_str());
    EXPECT_TRUE(Exact(cut));
    EXPECT_EQ(cut.GetLength(), 65534);
    EXPECT_EQ(cut.Find('!'), -1);
    const std::u16string wide(70000, u'w');
    EXPECT_EQ(LxFormat(u"%s", wide.c_str()).GetLength(), 65534);
}

TEST(LxFormat, CutNeverSplitsACharacter) {
    // "x" and then syllables: 65,534 bytes would end on a lead byte, which is left out.
    std::string text = "x";
    for (int i = 0; i < 40000; ++i) text += ANSI_GA;
    LxString cut = LxFormat("%s", text.c_str());
    EXPECT_EQ(cut.GetLength(), 65533);
    EXPECT_EQ(static_cast<unsigned char>(cut.GetAt(65532)), 0xA1);
    // Wide: 65,534 units of syllables become twice as many bytes; a surrogate pair is not split.
    const std::u16string syllables(70000, u'\uAC00');
    EXPECT_EQ(LxFormat(u"%s", syllables.c_str()).GetLength(), 2 * 65534);
    std::u16string pairs = u"a";
    for (int i = 0; i < 40000; ++i) pairs += u"\U0001F600";
    LxString cutPairs = LxFormat(u"%s", pairs.c_str());
    EXPECT_EQ(cutPairs.GetLength(), 65533); // "a" and 32,766 pairs, each pair "??"
}

} // namespace
