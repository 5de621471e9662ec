// LxString search, replacement, extraction, removal, trimming by wide characters and case. (Every operation is
// also checked against a model, aliasing included, by the fuzzer.)
#include "StringTestSupport.h"

namespace {

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

// Inserted bytes are not matched again; the zero character as the new one removes the old one; a new
// character without a form is written as its conversion gives it, never dropped.
TEST(LxStringReplace, WideCharacters) {
    const struct {
        const WCHAR* text;
        WCHAR from, to;
        int count;
        const char* result;
    } rows[] = {
        {KO_GA KO_NA KO_GA, u'\uAC00', u'x', 2, "x" ANSI_NA "x"}, {u"aba", u'a', u'\uAC00', 2, ANSI_GA "b" ANSI_GA},
        {KO_GA u"b", u'\uB2E4', u'a', 0, ANSI_GA "b"},           {KO_GA u"b", u'\0', u'a', 0, ANSI_GA "b"},
        {KO_GA u"b" KO_GA, u'\uAC00', u'\0', 2, "b"},             {KO_GA, u'\uAC00', u'\0', 1, ""},
        {u"a$b$", u'$', u'\u00E9', 2, "a?b?"},
    };
    for (const auto& row : rows) {
        LxString s(row.text);
        EXPECT_EQ(s.Replace(row.from, row.to), row.count) << row.result;
        EXPECT_TEXT(s, row.result);
    }
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

// A wide character is looked for and trimmed by its bytes; one without a form in the code page by '?', as it
// converts; the zero character matches nothing.
TEST(LxStringWide, FindAndTrimByTheCharactersForm) {
    const LxString ko(KO_GA KO_NA u"ab");
    EXPECT_EQ(ko.Find(u'\uB098'), 2);
    EXPECT_EQ(ko.Find(u'\uB098', 3), -1);
    EXPECT_EQ(ko.Find(u'\0'), -1);
    EXPECT_EQ(LxString("a?").Find(u'\u00E9'), 1);
    LxString s(KO_GA KO_GA u"ab"), t(u"ab" KO_NA KO_NA), only(KO_GA KO_GA), shortText("\xB0");
    EXPECT_TEXT(s.TrimLeft(u'\uAC00'), "ab");
    EXPECT_TEXT(t.TrimRight(u'\uB098'), "ab");
    EXPECT_TRUE(IsAbsent(only.Trim(u'\uAC00')));
    EXPECT_TEXT(shortText.TrimRight(u'\uAC00'), "\xB0"); // shorter than the character's form
    LxString marks("??a?");
    EXPECT_TEXT(marks.Trim(u'\0'), "??a?");
    EXPECT_TEXT(marks.Trim(u'\xD800'), "a");
}

TEST(LxStringCase, AsciiLettersOnlyAndBytewiseReversal) {
    LxString s("aBc1"), upper("ABC");
    EXPECT_TEXT(s.MakeUpper(), "ABC1");
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
    EXPECT_TRUE(IsAbsent(LxString().MakeUpper()));
    EXPECT_TRUE(IsAbsent(LxString().GetReverse()));
}

} // namespace
