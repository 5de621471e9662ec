// The ANSI code page (949) and UTF-8 conversions: round trips, invalid input, buffer limits.
#include <gtest/gtest.h>
#include <windows.h>

#include <clocale>
#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <string>

namespace {

// 가나다 and a syllable that only the extended (UHC) part of code page 949 has.
const std::u16string kSyllables = u"\uAC00\uB098\uB2E4";
const std::string kSyllablesAnsi = "\xB0\xA1\xB3\xAA\xB4\xD9";
const std::string kExtendedAnsi = "\x8C\x63";

std::string ToAnsi(const std::u16string& wide, UINT codePage = CP_ACP, BOOL* usedDefault = nullptr,
                   const char* defaultChar = nullptr) {
    const int needed = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                           defaultChar, usedDefault);
    std::string out(static_cast<size_t>(needed), '\0');
    const int written = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), out.data(),
                                            needed, defaultChar, usedDefault);
    EXPECT_EQ(written, needed);
    return out;
}

std::u16string ToWide(const std::string& ansi, UINT codePage = CP_ACP) {
    // Exact-size heap copies, so that reading past the given length is caught under the address sanitizer.
    std::unique_ptr<char[]> in(new char[ansi.size()]);
    std::memcpy(in.get(), ansi.data(), ansi.size());
    const int needed = MultiByteToWideChar(codePage, 0, in.get(), static_cast<int>(ansi.size()), nullptr, 0);
    std::unique_ptr<WCHAR[]> out(new WCHAR[static_cast<size_t>(needed) + 1]);
    const int written = MultiByteToWideChar(codePage, 0, in.get(), static_cast<int>(ansi.size()), out.get(), needed);
    EXPECT_EQ(written, needed);
    return std::u16string(out.get(), static_cast<size_t>(written));
}

TEST(CodePage, KoreanRoundTripsInEveryNameOfTheAnsiCodePage) {
    EXPECT_EQ(GetACP(), 949u);
    for (UINT cp : {UINT(CP_ACP), UINT(CP_OEMCP), UINT(CP_THREAD_ACP), 949u}) {
        EXPECT_EQ(ToAnsi(kSyllables, cp), kSyllablesAnsi) << cp;
        EXPECT_EQ(ToWide(kSyllablesAnsi, cp), kSyllables) << cp;
    }
    // The extended (unified Hangul) part, whose trail bytes may be ASCII letters, and the euro sign. The
    // conformance suite checks these conversions, terminated input and invalid bytes against the real thing.
    EXPECT_EQ(ToWide("a" + kExtendedAnsi + "b"), u"a\uB620b");
    EXPECT_EQ(ToAnsi(u"\uB620\u20AC"), kExtendedAnsi + "\xA2\xE6");
    // The code page comes from iconv's own tables, not from an installed locale.
    for (const char* variable : {"LANG", "LC_ALL", "LC_CTYPE"}) unsetenv(variable);
    ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
    EXPECT_EQ(ToWide(kSyllablesAnsi), kSyllables);
    EXPECT_EQ(ToAnsi(kSyllables), kSyllablesAnsi);
}

TEST(CodePage, UnmappableUnitsBecomeTheDefaultCharacter) {
    BOOL used = FALSE;
    // A surrogate pair is two units without a form in the code page, as Windows treats them.
    EXPECT_EQ(ToAnsi(u"a\U0001F600b", CP_ACP, &used), "a??b");
    EXPECT_TRUE(used);
    EXPECT_EQ(ToAnsi(u"\xD800", CP_ACP, &used), "?");
    EXPECT_EQ(ToAnsi(u"x\U0001F600", CP_ACP, &used, "*"), "x**");
    EXPECT_EQ(ToAnsi(kSyllables, CP_ACP, &used), kSyllablesAnsi);
    EXPECT_FALSE(used);
}

TEST(CodePage, SmallBuffersGetWholeCharactersAndNothingBeyond) {
    // Output buffers are exact-size heap blocks with a canary after the allowed count.
    std::unique_ptr<char[]> ansi(new char[6]);
    std::memset(ansi.get(), '#', 6);
    SetLastError(0);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, kSyllables.data(), 3, ansi.get(), 5, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(std::string(ansi.get(), 6), kSyllablesAnsi.substr(0, 4) + "##");
    std::unique_ptr<WCHAR[]> wide(new WCHAR[3]);
    std::fill_n(wide.get(), 3, u'#');
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc\xB0\xA1", 5, wide.get(), 2), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(std::u16string(wide.get(), 3), u"ab#");
    // A pair is never split in UTF-8 to UTF-16 either.
    std::fill_n(wide.get(), 3, u'#');
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a\xF0\x9F\x98\x80", 5, wide.get(), 2), 0);
    EXPECT_EQ(std::u16string(wide.get(), 3), u"a##");
}

TEST(CodePage, Utf8RoundTripsAndReplacesWhatIsInvalid) {
    const std::u16string text = u"\uAC00a\U0001F600";
    const std::string utf8 = "\xEA\xB0\x80" "a\xF0\x9F\x98\x80";
    EXPECT_EQ(ToAnsi(text, CP_UTF8), utf8);
    EXPECT_EQ(ToWide(utf8, CP_UTF8), text);
    EXPECT_EQ(ToWide("a\xC0\x80z", CP_UTF8), u"a\uFFFD\uFFFDz");
    EXPECT_EQ(ToWide("\xED\xA0\x80", CP_UTF8).find(u'\xD800'), std::u16string::npos);
    EXPECT_EQ(ToAnsi(u"a\xDC00", CP_UTF8), "a\xEF\xBF\xBD");
}

TEST(CodePage, RejectsBadArguments) {
    WCHAR wide[4];
    char ansi[4];
    BOOL used;
    const std::pair<std::function<int()>, DWORD> cases[] = {
        {[&] { return MultiByteToWideChar(1252, 0, "a", 1, wide, 4); }, ERROR_INVALID_PARAMETER},
        {[&] { return MultiByteToWideChar(CP_ACP, 0, nullptr, 1, wide, 4); }, ERROR_INVALID_PARAMETER},
        {[&] { return MultiByteToWideChar(CP_ACP, 0, "a", 0, wide, 4); }, ERROR_INVALID_PARAMETER},
        {[&] { return MultiByteToWideChar(CP_ACP, 0, "a", -2, wide, 4); }, ERROR_INVALID_PARAMETER},
        {[&] { return MultiByteToWideChar(CP_ACP, 0, "a", 1, nullptr, 4); }, ERROR_INVALID_PARAMETER},
        {[&] { return MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, "a", 1, wide, 4); }, ERROR_INVALID_FLAGS},
        {[&] { return MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED | MB_COMPOSITE, "a", 1, wide, 4); },
         ERROR_INVALID_FLAGS},
        {[&] { return WideCharToMultiByte(CP_UTF8, 0, u"a", 1, ansi, 4, "?", nullptr); }, ERROR_INVALID_PARAMETER},
        {[&] { return WideCharToMultiByte(CP_UTF8, 0, u"a", 1, ansi, 4, nullptr, &used); },
         ERROR_INVALID_PARAMETER},
        {[&] { return WideCharToMultiByte(CP_ACP, WC_ERR_INVALID_CHARS, u"a", 1, ansi, 4, nullptr, nullptr); },
         ERROR_INVALID_FLAGS},
        {[&] { return WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, u"a\xDC00", 2, ansi, 4, nullptr, nullptr); },
         ERROR_NO_UNICODE_TRANSLATION},
        {[&] { return WideCharToMultiByte(CP_ACP, 0, u"a", 1, ansi, -1, nullptr, nullptr); },
         ERROR_INVALID_PARAMETER},
        {[&] { return WideCharToMultiByte(CP_ACP, 0, u"a", 0, ansi, 4, nullptr, nullptr); },
         ERROR_INVALID_PARAMETER},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SetLastError(0);
        EXPECT_EQ(cases[i].first(), 0) << "case " << i;
        EXPECT_EQ(GetLastError(), cases[i].second) << "case " << i;
    }
}

TEST(CrtConversion, WcstombsMeasuresFillsAndNeverSplitsACharacter) {
    EXPECT_EQ(wcstombs(nullptr, u"a\uAC00", 0), 3u);
    char out[8];
    std::memset(out, '#', sizeof out);
    // Room for "a" and one byte of the syllable: the syllable is left out and the terminator fits.
    EXPECT_EQ(wcstombs(out, u"a\uAC00", 2), 1u);
    EXPECT_EQ(std::string(out, 3), std::string("a\0#", 3));
    std::memset(out, '#', sizeof out);
    EXPECT_EQ(wcstombs(out, u"a\uAC00", 3), 3u);
    EXPECT_EQ(std::string(out, 4), "a\xB0\xA1#"); // exactly full: no terminator
    EXPECT_EQ(wcstombs(out, u"a\uAC00", 8), 3u);
    EXPECT_STREQ(out, "a\xB0\xA1");
    EXPECT_EQ(wcstombs(out, static_cast<const WCHAR*>(nullptr), 8), size_t(-1));
    // Substitutions are written and reported.
    EXPECT_EQ(wcstombs(out, u"a\U0001F600", 8), size_t(-1));
    EXPECT_STREQ(out, "a??");
    WCHAR wide[8] = {};
    EXPECT_EQ(mbstowcs(wide, "a\xC7", 8), size_t(-1));
    EXPECT_EQ(std::u16string(wide), u"a?");
    EXPECT_EQ(mbstowcs(nullptr, kSyllablesAnsi.c_str(), 0), 3u);
    EXPECT_EQ(mbstowcs(wide, kSyllablesAnsi.c_str(), 2), 2u);
    EXPECT_EQ(std::u16string(wide, 2), kSyllables.substr(0, 2));
}

} // namespace
