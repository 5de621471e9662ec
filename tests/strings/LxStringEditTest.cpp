// LxString search, replacement, extraction, removal, trimming, insertion, case and order.
#include "StringTestSupport.h"

namespace {

// Wide characters are looked for by their bytes; the zero character matches nothing, and one without a form is
// looked for as it converts: '?'.
TEST(LxStringFind, BytesTextsAndWideCharacters) {
    const LxString s("abcabc"), absent, ko(KO_GA KO_NA u"ab");
    const int found[] = {
        s.Find('c'), s.Find('c', 3), s.Find('x'), s.Find("bc", 2), s.Find("abc", 7), s.Find(""),
        s.Find("", 6), // at the end is still inside
        s.Find('a', 6), s.Find(LxString("ca")), s.Find(LxString("ab"), 1), s.Find(u"cab"), s.Find(u"c", 3),
        s.Find(static_cast<const char*>(nullptr), 2), LxString("abc").Find('\0'),
        s.Find('a', static_cast<unsigned>(-1)), // a negative int passed by mistake is beyond the text
        absent.Find('a'), absent.Find(""), absent.Find("", 1), absent.Find(u'\uAC00'),
        ko.Find(u'\uB098'), ko.Find(u'\uB098', 3), ko.Find(u'\uAC00', 0), ko.Find(u'b'), ko.Find(KO_NA u"a"),
        ko.Find(u'\0'), ko.Find(u'\0', 0), ko.Find(u'\xD800'), LxString("a?").Find(u'\u00E9')};
    const int expected[] = {2, 5, -1, 4, -1, 0, 6, -1, 2, 3, 2, 5, 2, 3, -1, -1, 0, -1, -1,
                            2, -1, 0, 5, 2, -1, -1, -1, 1};
    ASSERT_EQ(std::size(found), std::size(expected));
    for (size_t i = 0; i < std::size(found); ++i) EXPECT_EQ(found[i], expected[i]) << "case " << i;
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

TEST(LxStringExtract, MidLeftRightClampTheirArguments) {
    const LxString s("abcdef"), absent;
    const struct {
        LxString taken;
        const char* text;
    } cases[] = {{s.Mid(1, 2), "bc"},  {s.Mid(4, 10), "ef"},  {s.Mid(6, 1), ""},      {s.Mid(7, 1), ""},
                 {s.Mid(2), "cdef"},   {s.Mid(6), ""},        {s.Mid(9), ""},        {s.Left(2), "ab"},
                 {s.Left(10), "abcdef"}, {s.Right(2), "ef"},  {s.Right(0), ""},      {s.Right(10), "abcdef"},
                 {s.Mid(-2, 3), "abc"}, {s.Mid(2, -1), ""},   {s.Mid(-1), "abcdef"}, {s.Left(-1), ""},
                 {s.Mid(3, 2147483647), "def"}, // start + count overflows int
                 {s.Right(-5), ""},
                 // Nothing taken from an absent string is still present empty text.
                 {absent.Mid(0, 1), ""}, {absent.Left(3), ""}, {absent.Right(3), ""}};
    for (const auto& c : cases) EXPECT_TEXT(c.taken, c.text);
    EXPECT_TEXT(s, "abcdef");
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

    // Single bytes: inside the text only; the last one leaves the string absent.
    for (int index : {3, -1}) EXPECT_EQ(LxString("abc").Remove(index), 0);
    LxString one("ab");
    EXPECT_EQ(one.Remove(1), 1);
    EXPECT_TEXT(one, "a");
    EXPECT_EQ(one.Remove(0), 1);
    EXPECT_TRUE(IsAbsent(one));
    EXPECT_EQ(one.Remove(0), 0);
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
    const struct {
        const char* text;
        int side; // -1 left, 1 right, 0 both
        char ch;
        const char* result; // nullptr: absent
    } cases[] = {{"  ab", -1, ' ', "ab"}, {"abxx", 1, 'x', "ab"}, {"--a--", 0, '-', "a"}, {"---", 0, '-', nullptr},
                 {"ab", 0, '\0', "ab"},   {"", 0, 'x', ""},       {nullptr, 0, 'x', nullptr}};
    for (const auto& c : cases) {
        LxString s;
        if (c.text) s = c.text;
        LxString& trimmed = c.side < 0 ? s.TrimLeft(c.ch) : c.side > 0 ? s.TrimRight(c.ch) : s.Trim(c.ch);
        EXPECT_EQ(&trimmed, &s);
        if (c.result)
            EXPECT_TEXT(s, c.result);
        else
            EXPECT_TRUE(IsAbsent(s)) << (c.text ? c.text : "absent");
    }
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
