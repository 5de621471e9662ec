// 16-bit text helpers and the 8-bit case-blind comparisons (the 8-bit case and order helpers are pinned by the
// string class's tests); the printf family over 16-bit and 8-bit formats: conversions, the Windows text widths,
// buffer limits.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <tuple>

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

TEST(WideText, CaseMappingAndDuplicate) {
    WCHAR ascii[] = u"aB\uAC00z\u00E9";
    EXPECT_EQ(std::u16string(_wcsupr(ascii)), u"AB\uAC00Z\u00E9");
    EXPECT_EQ(std::u16string(_wcslwr(ascii)), u"ab\uAC00z\u00E9");
    // Unlike _wcsupr, the system's case mapping knows accented, Greek and full-width letters; Hangul,
    // surrogates and the units past the count stay as they are.
    WCHAR text[] = u"a\u00E9\u03C9\uFF41\uAC00\xD800zz";
    EXPECT_EQ(CharUpperBuffW(text, 7), DWORD(7));
    EXPECT_EQ(std::u16string(text), u"A\u00C9\u03A9\uFF21\uAC00\xD800Zz");
    EXPECT_EQ(CharLowerBuffW(text, 8), DWORD(8));
    EXPECT_EQ(std::u16string(text), u"a\u00E9\u03C9\uFF41\uAC00\xD800zz");
    EXPECT_EQ(CharUpperBuffW(nullptr, 3), DWORD(0));
    WCHAR* copy = _wcsdup(u"dup");
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(std::u16string(copy), u"dup");
    std::free(copy);
}

template <class... A> std::u16string W(const WCHAR* format, A... args) {
    WCHAR buffer[1024];
    const int n = wsprintfW(buffer, format, args...);
    EXPECT_EQ(n, static_cast<int>(wcslen(buffer)));
    return buffer;
}

template <class... A> std::string N(const char* format, A... args) {
    char buffer[256];
    const int n = _snprintf(buffer, sizeof buffer, format, args...);
    EXPECT_GE(n, 0);
    return std::string(buffer, static_cast<size_t>(n));
}

TEST(WideFormat, NumberConversionsFlagsAndWidths) {
    EXPECT_EQ(W(u"%d|%i|%u", -42, 7, 3000000000u), u"-42|7|3000000000");
    EXPECT_EQ(W(u"[%5d][%-5d][%05d][%+d][% d]", 42, 42, -42, 42, 42), u"[   42][42   ][-0042][+42][ 42]");
    EXPECT_EQ(W(u"%x %X %#x %08X", 255, 255, 255, 0xBEEFu), u"ff FF 0xff 0000BEEF");
    EXPECT_EQ(W(u"%.3d|%5.3d|%05.3d", 7, 7, 7), u"007|  007|  007");
    EXPECT_EQ(W(u"%*d|%-*d|%.*d", 4, 1, 3, 2, 2, 3), u"   1|2  |03");
    EXPECT_EQ(W(u"%hd %hu %hhd", 70000, 70000, 300), u"4464 4464 44");
    EXPECT_EQ(W(u"%I64d %lld", -5000000000LL, 5000000000LL), u"-5000000000 5000000000");
    EXPECT_EQ(W(u"%%|%5%|%y"), u"%|%|y");
    // The long size is 32-bit, as on the target.
    EXPECT_EQ(W(u"%ld %lu %lx", LONG(-1), DWORD(0xFFFFFFFFu), DWORD(0xFFFFFFFFu)), u"-1 4294967295 ffffffff");
    EXPECT_EQ(W(u"%p", reinterpret_cast<void*>(0xABCDEFu)), u"0000000000ABCDEF");
    EXPECT_EQ(W(u"%f|%.2f|%8.3f|%-8.1f|%08.2f", 2.5, 3.14159, -1.5, 1.0, -2.5),
              u"2.500000|3.14|  -1.500|1.0     |-0002.50");
    EXPECT_EQ(W(u"%e|%g|%05f", 1500.0, 0.0001, 1.0 / 0.0), u"1.500000e+03|0.0001|  inf");
}

TEST(WideFormat, TextAndCharacterWidths) {
    // %s is 16-bit text in a wide format, %S 8-bit text in the ANSI code page.
    EXPECT_EQ(W(u"<%s>", u"\uAC00\uB098"), u"<\uAC00\uB098>");
    EXPECT_EQ(W(u"<%S>", "\xB0\xA1" "b"), u"<\uAC00b>");
    EXPECT_EQ(W(u"<%hs|%ls|%ws>", "a", u"b", u"c"), u"<a|b|c>");
    EXPECT_EQ(W(u"<%c%C%lc%hc>", u'\uAC00', 'x', u'y', 'z'), u"<\uAC00xyz>");
    EXPECT_EQ(W(u"[%6s][%-6s][%.2s][%06s]", u"ab", u"ab", u"abcdef", u"ab"), u"[    ab][ab    ][ab][0000ab]");
    EXPECT_EQ(W(u"%s|%S", static_cast<const WCHAR*>(nullptr), static_cast<const char*>(nullptr)),
              u"(null)|(null)");
    // A precision never reads past the argument. Unterminated exact-size arguments: the address sanitizer catches a read beyond them.
    std::unique_ptr<WCHAR[]> wide(new WCHAR[3]{u'a', u'b', u'c'});
    EXPECT_EQ(W(u"%.3s", wide.get()), u"abc");
    std::unique_ptr<char[]> ansi(new char[3]{'a', '\xB0', '\xA1'});
    EXPECT_EQ(W(u"%.3S", ansi.get()), u"a\uAC00");
    // A precision that ends inside a double-byte character leaves the character out.
    EXPECT_EQ(W(u"%.2S", ansi.get()), u"a");
}

// wsprintfW stops at 1024 units with a terminator; the bounded forms follow the Windows contract.
TEST(WideFormat, BoundedFormatReturnsFollowTheWindowsContract) {
    const std::u16string big(2000, u'x');
    std::unique_ptr<WCHAR[]> buffer(new WCHAR[1024]);
    EXPECT_EQ(wsprintfW(buffer.get(), u"%s!", big.c_str()), 1023);
    EXPECT_EQ(wcslen(buffer.get()), 1023u);
    EXPECT_EQ(wsprintfW(buffer.get(), u"%d%s", 12, u"ab"), 4);
    EXPECT_EQ(std::u16string(buffer.get()), u"12ab");
    auto call = [](WCHAR* out, size_t count, const WCHAR* format, ...) {
        va_list args;
        va_start(args, format);
        const int n = _vsnwprintf(out, count, format, args);
        va_end(args);
        return n;
    };
    WCHAR small[8];
    // Fits with its terminator; exactly full: no terminator; cut: count units, nothing after.
    const std::tuple<size_t, int, std::u16string> counts[] = {{5, 4, {u"1234\0#", 6}}, {4, 4, u"1234#"}, {3, -1, u"123#"}};
    for (const auto& [count, result, written] : counts) {
        std::fill_n(small, 8, u'#');
        EXPECT_EQ(call(small, count, u"%d", 1234), result) << count;
        EXPECT_EQ(std::u16string(small, written.size()), written) << count;
    }
    EXPECT_EQ(call(nullptr, 0, u"%s", u"abcdef"), 6);
    EXPECT_EQ(call(small, 8, nullptr), -1);
    // swprintf's bounded form always terminates.
    EXPECT_EQ(swprintf(small, u"%s-%d", u"a", 5), 3);
    EXPECT_EQ(std::u16string(small), u"a-5");
    EXPECT_EQ(swprintf(small, 4, u"%s", u"abcdef"), -1);
    EXPECT_EQ(std::u16string(small), u"abc");
    EXPECT_EQ(_snwprintf(small, 8, u"%c%c", u'o', u'k'), 2);
    EXPECT_EQ(std::u16string(small), u"ok");
}

TEST(NarrowFormat, TextWidthsAreTheOtherWayRound) {
    EXPECT_EQ(N("%s|%S|%ls|%hs", "a", u"\uAC00", u"b", "c"), "a|\xB0\xA1|b|c");
    EXPECT_EQ(N("%C%c", u'\uB098', 'x'), "\xB3\xAAx");
    EXPECT_EQ(N("%S", u"\U0001F600"), "??");
    // A precision counts output bytes and never splits a double-byte character.
    EXPECT_EQ(N("%.3S", u"\uAC00\uB098"), "\xB0\xA1");
    EXPECT_EQ(N("%d %5.1f %s", 42, 2.25, "end"), "42   2.2 end");
}

TEST(CrtNumbers, ParseAndFormat) {
    EXPECT_EQ(_wtoi(u"  -42x"), -42);
    EXPECT_EQ(_wtoi(u"\t+7"), 7);
    EXPECT_EQ(_wtoi(u"x1"), 0);
    EXPECT_EQ(_wtoi(u"99999999999"), 2147483647);
    EXPECT_EQ(_wtol(u"-99999999999"), -2147483647L - 1);
    char n[40];
    EXPECT_STREQ(_itoa(-5, n, 10), "-5");
    EXPECT_STREQ(_itoa(-5, n, 16), "fffffffb");
    EXPECT_STREQ(_itoa(5, n, 2), "101");
    EXPECT_STREQ(_ltoa(-2147483647L - 1, n, 10), "-2147483648");
    EXPECT_STREQ(_ultoa(4294967295UL, n, 36), "1z141z3");
    WCHAR w[40];
    EXPECT_EQ(std::u16string(_itow(-1234, w, 10)), u"-1234");
    EXPECT_EQ(std::u16string(_ultow(255, w, 16)), u"ff");
}

} // namespace
