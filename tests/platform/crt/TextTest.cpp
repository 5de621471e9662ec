// 16-bit text helpers and the 8-bit case-blind comparisons (the 8-bit case and order helpers are pinned by the
// string class's tests).
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

TEST(WideText, CopyAndAppendRespectTheirCounts) {
    WCHAR buffer[8];
    // The rest of the count is zeroed; no terminator when the source is longer.
    for (const auto& [source, count, written] : {std::tuple{u"ab", 5, std::u16string(u"ab\0\0\0#", 6)},
                                                 std::tuple{u"abcdef", 3, std::u16string(u"abc#")}}) {
        std::fill_n(buffer, 8, u'#');
        wcsncpy(buffer, source, count);
        EXPECT_EQ(std::u16string(buffer, written.size()), written) << count;
    }
    wcscpy(buffer, u"ab");
    wcsncat(buffer, u"cdef", 2);
    EXPECT_EQ(std::u16string(buffer), u"abcd");
    wcscat(buffer, u"e");
    EXPECT_EQ(std::u16string(buffer), u"abcde");
    EXPECT_EQ(wcslen(buffer), 5u);
    EXPECT_EQ(wcslen(u""), 0u);
}

TEST(WideText, ComparisonsAreUnsignedAndFoldOnlyAscii) {
    EXPECT_LT(wcscmp(u"a", u"\uAC00"), 0); // units above 0x7FFF compare above ASCII
    EXPECT_LT(wcscmp(u"ab", u"abc"), 0);
    EXPECT_GT(wcscmp(u"b", u"abc"), 0);
    EXPECT_EQ(wcscmp(u"", u""), 0);
    EXPECT_EQ(wcsncmp(u"abX", u"abY", 2), 0);
    EXPECT_EQ(_wcsicmp(u"HeLLo", u"hello"), 0);
    EXPECT_LT(_wcsicmp(u"a", u"B"), 0);
    EXPECT_NE(_wcsicmp(u"\u00C4", u"\u00E4"), 0);
    EXPECT_EQ(_wcsnicmp(u"ABCx", u"abcy", 3), 0);
    EXPECT_EQ(_stricmp("MiXeD", "mixed"), 0);
    EXPECT_GT(_strnicmp("b", "A", 1), 0);
}

TEST(WideText, Search) {
    const WCHAR* text = u"abcabc";
    EXPECT_EQ(wcschr(text, u'c') - text, 2);
    EXPECT_EQ(wcsrchr(text, u'a') - text, 3);
    EXPECT_EQ(wcschr(text, u'\0') - text, 6); // the terminator is part of the text
    EXPECT_EQ(wcschr(text, u'x'), nullptr);
    EXPECT_EQ(wcsstr(text, u"ca") - text, 2);
    EXPECT_EQ(wcsstr(text, u""), text);
    EXPECT_EQ(wcsstr(text, u"abcd"), nullptr);
    WCHAR editable[] = u"xyz";
    *wcschr(editable, u'y') = u'Y';
    EXPECT_EQ(std::u16string(editable), u"xYz");
}

TEST(WideText, CaseAndDuplicate) {
    WCHAR text[] = u"aB\uAC00z\u00E9";
    EXPECT_EQ(std::u16string(_wcsupr(text)), u"AB\uAC00Z\u00E9");
    EXPECT_EQ(std::u16string(_wcslwr(text)), u"ab\uAC00z\u00E9");
    WCHAR* copy = _wcsdup(u"dup");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(std::u16string(copy), u"dup");
    std::free(copy);
}

TEST(WideText, CharCaseMappingCoversTheBasicPlaneAndStopsAtTheCount) {
    // Unlike _wcsupr, the system's case mapping knows accented, Greek and full-width letters; Hangul,
    // surrogates and the units past the count stay as they are.
    WCHAR text[] = u"a\u00E9\u03C9\uFF41\uAC00\xD800zz";
    EXPECT_EQ(CharUpperBuffW(text, 7), DWORD(7));
    EXPECT_EQ(std::u16string(text), u"A\u00C9\u03A9\uFF21\uAC00\xD800Zz");
    EXPECT_EQ(CharLowerBuffW(text, 8), DWORD(8));
    EXPECT_EQ(std::u16string(text), u"a\u00E9\u03C9\uFF41\uAC00\xD800zz");
    EXPECT_EQ(CharUpperBuffW(nullptr, 3), DWORD(0));
}

} // namespace
