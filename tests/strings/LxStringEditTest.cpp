// LxString search, replacement, extraction, removal, trimming, insertion, case and order.
#include "StringTestSupport.h"

namespace {

TEST(LxStringFind, BytesAndTexts) {
    LxString s("abcabc");
    EXPECT_EQ(s.Find('c'), 2);
    EXPECT_EQ(s.Find('c', 3), 5);
    EXPECT_EQ(s.Find('x'), -1);
    EXPECT_EQ(s.Find("bc", 2), 4);
    EXPECT_EQ(s.Find("abc", 7), -1);
    EXPECT_EQ(s.Find(""), 0);
    EXPECT_EQ(s.Find("", 6), 6); // at the end is still inside
    EXPECT_EQ(s.Find('a', 6), -1);
    EXPECT_EQ(s.Find(LxString("ca")), 2);
    EXPECT_EQ(s.Find(LxString("ab"), 1), 3);
    EXPECT_EQ(s.Find(u"cab"), 2);
    EXPECT_EQ(s.Find(u"c", 3), 5);
    EXPECT_EQ(s.Find(static_cast<const char*>(nullptr), 2), 2);
    EXPECT_EQ(LxString("abc").Find('\0'), 3);
    // A huge start (a negative int passed by mistake) is beyond the text.
    EXPECT_EQ(s.Find('a', static_cast<unsigned>(-1)), -1);
}

TEST(LxStringFind, AbsentStringReadsAsEmptyText) {
    LxString absent;
    EXPECT_EQ(absent.Find('a'), -1);
    EXPECT_EQ(absent.Find(""), 0);
    EXPECT_EQ(absent.Find("", 1), -1);
    EXPECT_EQ(absent.Find(u'\uAC00'), -1);
}

TEST(LxStringFind, WideCharactersByTheirBytes) {
    LxString s(KO_GA KO_NA u"ab");
    EXPECT_EQ(s.Find(u'\uB098'), 2);
    EXPECT_EQ(s.Find(u'\uB098', 3), -1);
    EXPECT_EQ(s.Find(u'\uAC00', 0), 0);
    EXPECT_EQ(s.Find(u'b'), 5);
    EXPECT_EQ(s.Find(KO_NA u"a"), 2);
    // The zero character matches nothing; one without a form is looked for as it converts: '?'.
    EXPECT_EQ(s.Find(u'\0'), -1);
    EXPECT_EQ(s.Find(u'\0', 0), -1);
    EXPECT_EQ(s.Find(u'\xD800'), -1);
    EXPECT_EQ(LxString("a?").Find(u'\u00E9'), 1);
}

TEST(LxStringReplace, BytesInPlace) {
    LxString s("banana");
    const char* block = s.GetString();
    EXPECT_EQ(s.Replace('a', 'x'), 3);
    EXPECT_TEXT(s, "bxnxnx");
    EXPECT_EQ(s.GetString(), block);

    LxString z("banana");
    EXPECT_EQ(z.Replace('a', '\0'), 3);
    EXPECT_EQ(z.GetLength(), 6);
    EXPECT_STREQ(z.GetString(), "b");
    EXPECT_TRUE(Exact(z));
    z.FreeExtra();
    EXPECT_TEXT(z, "b");
    EXPECT_EQ(LxString().Replace('a', 'b'), 0);
}

TEST(LxStringReplace, Texts) {
    struct Case {
        const char* text;
        const char* from;
        const char* to;
        const char* result;
        int returned;
    };
    const Case cases[] = {
        {"banana", "an", "AN", "bANANa", 4}, {"banana", "an", "", "ba", 0},   {"aaa", "aa", "b", "ba", 1},
        {"banana", "x", "y", "banana", 0},   {"aba", "a", "aa", "aabaa", 4},  {"abc", "abc", "", "", 0},
        {"abc", "", "x", "abc", 0},          {"ab", "b", nullptr, "a", 0},    {"xx", "x", "yyy", "yyyyyy", 6},
    };
    for (const Case& c : cases) {
        LxString s(c.text);
        EXPECT_EQ(s.Replace(c.from, c.to), c.returned) << c.text << " " << c.from;
        EXPECT_TEXT(s, c.result);
    }
    LxString absent;
    EXPECT_EQ(absent.Replace("a", "b"), 0);
    EXPECT_TRUE(IsAbsent(absent));
}

TEST(LxStringReplace, WideAndStringForms) {
    LxString s(KO_GA u"b" KO_GA);
    // The count is replacements times the converted new text's bytes.
    EXPECT_EQ(s.Replace(KO_GA, KO_NA KO_DA), 8);
    EXPECT_TEXT(s, ANSI_NA ANSI_DA "b" ANSI_NA ANSI_DA);

    LxString t("banana");
    EXPECT_EQ(t.Replace(LxString("na"), LxString("NA")), 4);
    EXPECT_TEXT(t, "baNANA");
    // Old and new text may be the string itself.
    EXPECT_EQ(t.Replace(t, LxString("x")), 1);
    EXPECT_TEXT(t, "x");
    EXPECT_EQ(t.Replace(LxString("x"), t), 1);
    EXPECT_TEXT(t, "x");
}

TEST(LxStringReplace, WideCharacters) {
    LxString s(KO_GA KO_NA KO_GA);
    EXPECT_EQ(s.Replace(u'\uAC00', u'x'), 2);
    EXPECT_TEXT(s, "x" ANSI_NA "x");
    // Inserted bytes are not matched again.
    LxString t("aba");
    EXPECT_EQ(t.Replace(u'a', u'\uAC00'), 2);
    EXPECT_TEXT(t, ANSI_GA "b" ANSI_GA);
    EXPECT_EQ(t.Replace(u'\uB2E4', u'a'), 0);
    EXPECT_EQ(t.Replace(u'\0', u'a'), 0);
    // A character without bytes as the new one removes the old one.
    EXPECT_EQ(t.Replace(u'\uAC00', u'\0'), 2);
    EXPECT_TEXT(t, "b");
    LxString u(KO_GA);
    EXPECT_EQ(u.Replace(u'\uAC00', u'\0'), 1);
    EXPECT_TEXT(u, "");
    // A new character without a form is written as its conversion gives it, never dropped.
    LxString v("a$b$");
    EXPECT_EQ(v.Replace(u'$', u'\u00E9'), 2);
    EXPECT_TEXT(v, "a?b?");
}

TEST(LxStringExtract, MidLeftRight) {
    LxString s("abcdef");
    EXPECT_TEXT(s.Mid(1, 2), "bc");
    EXPECT_TEXT(s.Mid(4, 10), "ef");
    EXPECT_TEXT(s.Mid(6, 1), "");
    EXPECT_TEXT(s.Mid(7, 1), "");
    EXPECT_TEXT(s.Mid(2), "cdef");
    EXPECT_TEXT(s.Mid(6), "");
    EXPECT_TEXT(s.Mid(9), "");
    EXPECT_TEXT(s.Left(2), "ab");
    EXPECT_TEXT(s.Left(10), "abcdef");
    EXPECT_TEXT(s.Right(2), "ef");
    EXPECT_TEXT(s.Right(0), "");
    EXPECT_TEXT(s.Right(10), "abcdef");
    EXPECT_TEXT(s, "abcdef");
}

TEST(LxStringExtract, OutOfRangeArgumentsAreClamped) {
    LxString s("abcdef");
    EXPECT_TEXT(s.Mid(-2, 3), "abc");
    EXPECT_TEXT(s.Mid(2, -1), "");
    EXPECT_TEXT(s.Mid(-1), "abcdef");
    EXPECT_TEXT(s.Mid(3, 2147483647), "def"); // start + count overflows int
    EXPECT_TEXT(s.Left(-1), "");
    EXPECT_TEXT(s.Right(-5), "");
    // Nothing taken from an absent string is still present empty text.
    LxString absent;
    EXPECT_TEXT(absent.Mid(0, 1), "");
    EXPECT_TEXT(absent.Left(3), "");
    EXPECT_TEXT(absent.Right(3), "");
}

TEST(LxStringRemove, SingleBytes) {
    LxString s("abc");
    EXPECT_EQ(s.Remove(1), 1);
    EXPECT_TEXT(s, "ac");
    LxString t("abc");
    EXPECT_EQ(t.Remove(3), 0);
    EXPECT_EQ(t.Remove(-1), 0);
    EXPECT_TEXT(t, "abc");
    LxString one("a");
    EXPECT_EQ(one.Remove(0), 1);
    EXPECT_TRUE(IsAbsent(one));
    EXPECT_EQ(one.Remove(0), 0);
}

TEST(LxStringRemove, Ranges) {
    struct Case {
        int first, last;
        const char* result;
        int returned;
    };
    const Case cases[] = {
        {1, 2, "adef", 2},  {2, -1, "ab", 4},     {-3, 1, "cdef", 2},  {4, 100, "abcd", 2},
        {3, 1, "abcdef", 0}, {0, -2, "abcdef", 0}, {7, 9, "abcdef", 0}, {0, -1, "", 6},
    };
    for (const Case& c : cases) {
        LxString s("abcdef");
        EXPECT_EQ(s.Remove(c.first, c.last), c.returned) << c.first << ".." << c.last;
        EXPECT_TEXT(s, c.result);
    }
    LxString absent;
    EXPECT_EQ(absent.Remove(0, -1), 0);
    EXPECT_TRUE(IsAbsent(absent));
}

TEST(LxStringRemove, CharactersAndTexts) {
    LxString s("banana");
    EXPECT_EQ(s.Remove('a'), 3);
    EXPECT_TEXT(s, "bnn");
    LxString a("aaa");
    EXPECT_EQ(a.Remove('a'), 3);
    EXPECT_TRUE(IsAbsent(a));
    EXPECT_EQ(LxString("b").Remove('x'), 0);

    LxString t("banana");
    EXPECT_EQ(t.Remove(LxString("an")), 1);
    EXPECT_TEXT(t, "bana");
    EXPECT_EQ(t.Remove(LxString("xy")), 0);
    EXPECT_EQ(t.Remove(LxString("")), 0);
    EXPECT_EQ(t.Remove(LxString()), 0);
    EXPECT_TEXT(t, "bana");
    EXPECT_EQ(t.Remove(t), 1);
    EXPECT_TEXT(t, ""); // removing the whole text leaves empty text
}

TEST(LxStringTrim, BytesFromEitherEnd) {
    LxString s("  ab");
    EXPECT_TEXT(s.TrimLeft(' '), "ab");
    LxString t("abxx");
    EXPECT_TEXT(t.TrimRight('x'), "ab");
    LxString u("--a--");
    EXPECT_TEXT(u.Trim('-'), "a");
    LxString v("---");
    v.Trim('-');
    EXPECT_TRUE(IsAbsent(v));
    LxString w("ab");
    EXPECT_TEXT(w.Trim('\0'), "ab");
    LxString empty("");
    EXPECT_TEXT(empty.Trim('x'), "");
    LxString absent;
    absent.Trim('x');
    EXPECT_TRUE(IsAbsent(absent));
}

TEST(LxStringTrim, WideCharacters) {
    LxString s(KO_GA KO_GA u"ab");
    s.TrimLeft(u'\uAC00');
    EXPECT_TEXT(s, "ab");
    EXPECT_EQ(s.GetLength(), 2);
    LxString t(u"ab" KO_NA KO_NA);
    EXPECT_TEXT(t.TrimRight(u'\uB098'), "ab");
    LxString u(KO_GA u"x" KO_GA);
    EXPECT_TEXT(u.Trim(u'\uAC00'), "x");
    LxString only(KO_GA KO_GA);
    only.Trim(u'\uAC00');
    EXPECT_TRUE(IsAbsent(only));
    // A text shorter than the character's form, and characters without a form, are left alone.
    LxString shortText("\xB0");
    EXPECT_TEXT(shortText.TrimRight(u'\uAC00'), "\xB0");
    LxString ascii("xax");
    EXPECT_TEXT(ascii.Trim(u'x'), "a");
    EXPECT_TEXT(ascii.Trim(u'\0'), "a");
    EXPECT_TEXT(ascii.Trim(u'\xD800'), "a");
    LxString marks("??a?");
    EXPECT_TEXT(marks.Trim(u'\xD800'), "a");
}

TEST(LxStringInsert, AtEveryPositionAndClamped) {
    struct Case {
        int index;
        const char* result;
    };
    const Case cases[] = {{1, "aXYbc"}, {0, "XYabc"}, {3, "abcXY"}, {-5, "XYabc"}, {99, "abcXY"}};
    for (const Case& c : cases) {
        LxString s("abc");
        s.Insert(LxString("XY"), c.index);
        EXPECT_TEXT(s, c.result);
    }
    LxString s("abc");
    EXPECT_EQ(s.Insert(LxString("XY"), 1).GetLength(), 5);
    LxString self("abc");
    self.Insert(self, 1);
    EXPECT_TEXT(self, "aabcbc");
    LxString absent;
    absent.Insert(LxString(""), 0);
    EXPECT_TRUE(IsAbsent(absent)); // inserting nothing changes nothing
    absent.Insert(LxString("x"), 4);
    EXPECT_TEXT(absent, "x");
}

TEST(LxStringCase, AsciiLettersOnlyAndBytewiseReversal) {
    LxString s("aBc1");
    EXPECT_TEXT(s.MakeUpper(), "ABC1");
    LxString upper("ABC");
    EXPECT_TEXT(upper.GetLower(), "abc");
    EXPECT_TEXT(upper, "ABC");
    LxString r("abc");
    EXPECT_TEXT(r.MakeReverse(), "cba");
    EXPECT_TEXT(r.GetReverse(), "abc");
    EXPECT_TEXT(r.GetUpper(), "CBA");
    EXPECT_TEXT(r.MakeLower(), "cba");

    LxString ko(KO_GA u"a");
    EXPECT_TEXT(ko.MakeUpper(), ANSI_GA "A");
    EXPECT_TEXT(ko.MakeReverse(), "A\xA1\xB0");

    LxString absent;
    EXPECT_TRUE(IsAbsent(absent.MakeUpper()));
    EXPECT_TRUE(IsAbsent(absent.GetReverse()));
}

} // namespace
