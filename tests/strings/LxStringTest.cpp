// LxString and LxFormat: storage, construction, conversion and parsing, concatenation and comparison,
// search, replacement, extraction, removal, trimming and case, and formatting past the scratch area. (Every
// operation is also checked against a model, aliasing included, by the fuzzer.) The program replaces the
// global operator new/delete: every block carries its requested size, so a test can read the exact size of a
// string's block, count live blocks, and make an allocation fail on purpose.
#include "LxString.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <tuple>

namespace counting {

constexpr uint64_t kMagic = 0x4C78537472696E67; // marks blocks that came from here

struct alignas(16) Header {
    uint64_t size;
    uint64_t magic;
};

std::atomic<long> g_live{0};
std::atomic<int> g_failCountdown{-1};

void* Allocate(size_t size) {
    if (g_failCountdown.load() >= 0 && g_failCountdown.fetch_sub(1) == 0) throw std::bad_alloc();
    auto* header = static_cast<Header*>(std::malloc(sizeof(Header) + size));
    if (!header) throw std::bad_alloc();
    header->size = size;
    header->magic = kMagic;
    ++g_live;
    return header + 1;
}

void Release(void* block) noexcept {
    if (!block) return;
    Header* header = static_cast<Header*>(block) - 1;
    header->magic = 0;
    --g_live;
    std::free(header);
}

// The size requested for a block from operator new; 0 for a pointer that is not the start of such a block.
size_t BlockSize(const void* block) {
    if (!block) return 0;
    const Header* header = static_cast<const Header*>(block) - 1;
    return header->magic == kMagic ? header->size : 0;
}

// Blocks allocated and not yet released, by anyone in the process.
long LiveBlocks() { return g_live.load(); }
// The allocation after the next `skip` ones throws std::bad_alloc (once).
void FailAllocationAfter(int skip) { g_failCountdown.store(skip); }

} // namespace counting

void* operator new(size_t size) { return counting::Allocate(size); }
void* operator new[](size_t size) { return counting::Allocate(size); }
void operator delete(void* block) noexcept { counting::Release(block); }
void operator delete[](void* block) noexcept { counting::Release(block); }
void operator delete(void* block, size_t) noexcept { counting::Release(block); }
void operator delete[](void* block, size_t) noexcept { counting::Release(block); }

// Three Korean syllables and their two-byte forms in the ANSI code page.
#define KO_GA u"\uAC00"
#define KO_NA u"\uB098"
#define KO_DA u"\uB2E4"
#define ANSI_GA "\xB0\xA1"
#define ANSI_NA "\xB3\xAA"
#define ANSI_DA "\xB4\xD9"

namespace {

// The bytes of the string, `length` of them, whatever zeros they hold.
std::string Bytes(const LxString& s) {
    return s.GetString() ? std::string(s.GetString(), static_cast<size_t>(s.GetLength())) : std::string();
}

bool IsAbsent(const LxString& s) { return s.GetString() == nullptr; }

// The storage rules: an absent string has length 0; a present one lives in a block of exactly length + 1
// bytes that ends in the terminator.
::testing::AssertionResult Exact(const LxString& s) {
    if (!s.GetString()) {
        if (s.GetLength() != 0) return ::testing::AssertionFailure() << "absent with length " << s.GetLength();
        return ::testing::AssertionSuccess();
    }
    const size_t block = counting::BlockSize(s.GetString());
    if (block != static_cast<size_t>(s.GetLength()) + 1)
        return ::testing::AssertionFailure() << "block of " << block << " bytes for length " << s.GetLength();
    if (s.GetString()[s.GetLength()] != 0) return ::testing::AssertionFailure() << "no terminator";
    return ::testing::AssertionSuccess();
}

// Present text equal to `text`, stored by the rules. `s` is evaluated once.
#define EXPECT_TEXT(s, text)                                                                                   \
    do {                                                                                                       \
        const LxString& checked_ = (s);                                                                        \
        EXPECT_FALSE(IsAbsent(checked_));                                                                      \
        EXPECT_EQ(Bytes(checked_), std::string(text));                                                         \
        EXPECT_TRUE(Exact(checked_));                                                                          \
    } while (0)

TEST(LxStringStorage, DefaultIsAbsentEmptyTextIsPresentAndTheAbsentFormSurvivesCopies) {
    LxString absent;
    EXPECT_TRUE(IsAbsent(absent));
    EXPECT_EQ(std::tuple(absent.GetLength(), absent.IsEmpty()), std::tuple(0, 1));
    ASSERT_NE(absent.GetStringW(), nullptr);
    EXPECT_EQ(absent.GetStringW()[0], u'\0');
    // Every way of giving empty (or null) text gives a one-byte block.
    LxString fromEmpty(""), fromNull(static_cast<const char*>(nullptr)), fromEmptyWide(u""),
        fromNullWide(static_cast<const WCHAR*>(nullptr));
    for (LxString* s : {&fromEmpty, &fromNull, &fromEmptyWide, &fromNullWide}) {
        EXPECT_TEXT(*s, "");
        EXPECT_EQ(s->IsEmpty(), 1);
    }
    LxString b("x");
    EXPECT_TRUE(IsAbsent(LxString(absent)));
    b = absent;
    EXPECT_TRUE(IsAbsent(b));
    b = KO_GA u"x";
    EXPECT_TEXT(b, ANSI_GA "x");
    // Korean text is stored as two bytes per syllable; a character the code page cannot hold arrives as the C
    // runtime writes it: '?' per unit.
    LxString s(KO_GA KO_NA KO_DA);
    EXPECT_TEXT(s, ANSI_GA ANSI_NA ANSI_DA);
    EXPECT_EQ(s.IsANSI(), 1);
    EXPECT_EQ(std::u16string(s.GetStringW()), KO_GA KO_NA KO_DA);
    EXPECT_TEXT(LxString(u"a\U0001F600"), "a??");
    b = static_cast<const WCHAR*>(nullptr);
    EXPECT_TEXT(b, "");
    LxString a("bc");
    LxString moved(std::move(a));
    EXPECT_TEXT(moved, "bc");
    EXPECT_TRUE(IsAbsent(a)); // NOLINT: a moved-from string is absent
}

TEST(LxStringStorage, NumbersAreWrittenWhole) {
    const std::pair<LxString, const char*> numbers[] = {
        {LxString(-42), "-42"}, {LxString(0), "0"}, {LxString(-2147483647 - 1), "-2147483648"},
        {LxString(2.5), "2.500000"}, {LxString(-0.125), "-0.125000"}};
    for (const auto& [text, expected] : numbers) EXPECT_TEXT(text, expected);
    // Texts longer than the scratch areas (99 and 15 characters) are produced whole, never cut or overrun.
    LxString huge(1e300);
    EXPECT_TRUE(Exact(huge));
    EXPECT_EQ(huge.GetLength(), 308);
    EXPECT_EQ(Bytes(huge).substr(0, 4), "1000");
    EXPECT_EQ(Bytes(huge).substr(301), ".000000");
    LxString assigned;
    EXPECT_TEXT(assigned = 1e8, "100000000.000000");
    EXPECT_TEXT(assigned = -12345678.5, "-12345678.500000");
    EXPECT_TEXT(assigned = 7, "7");
}

TEST(LxStringStorage, ParsingFollowsTheCRuntimeAndSaturates) {
    for (auto [text, value] : {std::pair{"12abc", 12}, {"abc", 0}, {"  42", 42}, {"99999999999", 2147483647}})
        EXPECT_EQ(LxString(text).GetInteger(), value) << text;
    EXPECT_EQ(LxString("-17x").GetLong(), -17L);
    EXPECT_EQ(LxString("3.25").GetFloat(), 3.25f);
    EXPECT_EQ(LxString("3.25").GetDouble(), 3.25);
    EXPECT_EQ(LxString().GetInteger(), 0);
    EXPECT_EQ(LxString().GetDouble(), 0.0);
    EXPECT_EQ(LxString("-99999999999").GetLong(), -2147483647L - 1);
    EXPECT_TRUE(std::isinf(LxString("1e300").GetFloat()));
    // Decimal only, up to the first byte that cannot continue the number.
    for (const char* text : {"0x10", "inf", "nan", "-infinity", ".", "e5"}) EXPECT_EQ(LxString(text).GetDouble(), 0.0) << text;
    EXPECT_EQ(LxString(" -.5e1x").GetDouble(), -5.0);
    EXPECT_EQ(LxString("2e+").GetFloat(), 2.0f);
    LxString n("  -8");
    EXPECT_EQ(std::tuple(int(n), long(n), double(n), float(n)), std::tuple(-8, -8L, -8.0, -8.0f));
}

TEST(LxStringStorage, WideCopiesAreFreshAndOwnedByTheString) {
    const long before = counting::LiveBlocks();
    {
        LxString s("abc");
        const WCHAR* first = s.GetStringW();
        const std::u16string firstText = first;
        const WCHAR* second = s.GetStringW();
        EXPECT_NE(first, second);
        EXPECT_EQ(firstText + u"|" + second, u"abc|abc");
        EXPECT_EQ(std::u16string(static_cast<WCHAR*>(s)), u"abc");
    }
    // The string released its text and the last wide copy; the earlier copy went with the next call.
    EXPECT_EQ(counting::LiveBlocks(), before);
    // Empty releases the block.
    LxString s("abc");
    for (int twice = 0; twice < 2; ++twice) {
        s.Empty();
        EXPECT_TRUE(IsAbsent(s) && s.GetLength() == 0);
        EXPECT_EQ(counting::LiveBlocks(), before);
    }
}

TEST(LxStringStorage, FailedAllocationLeavesTheStringAsItWas) {
    LxString s("abc");
    const char* block = s.GetString();
    counting::FailAllocationAfter(0);
    EXPECT_THROW(s += "xyz", std::bad_alloc);
    EXPECT_EQ(s.GetString(), block);
    EXPECT_TEXT(s, "abc");
    // The wide form allocates a conversion block first, then the new text: fail the second.
    counting::FailAllocationAfter(1);
    EXPECT_THROW(s = KO_GA, std::bad_alloc);
    EXPECT_TEXT(s, "abc");
    counting::FailAllocationAfter(0);
    EXPECT_THROW(s.Insert(LxString("zz"), 1), std::bad_alloc);
    EXPECT_TEXT(s, "abc");
}

// Numbers are appended in their text form; a double whose text is longer than the 100-byte scratch area is
// appended whole.
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

TEST(LxStringReplace, BytesInPlaceAndTheWideAndStringForms) {
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
    LxString w(KO_GA u"b" KO_GA);
    // The count is replacements times the converted new text's bytes.
    EXPECT_EQ(w.Replace(KO_GA, KO_NA KO_DA), 8);
    EXPECT_TEXT(w, ANSI_NA ANSI_DA "b" ANSI_NA ANSI_DA);
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

TEST(LxFormat, EightBitAndWideFormats) {
    EXPECT_TEXT(LxFormat("%d", 42), "42");
    EXPECT_TEXT(LxFormat("%s%s", "ab", "cd"), "abcd");
    EXPECT_TEXT(LxFormat("%S|%5.2f|%x", KO_GA, 2.5, 255), ANSI_GA "| 2.50|ff");
    EXPECT_TEXT(LxFormat(static_cast<const char*>(nullptr)), "");
    EXPECT_TEXT(LxFormat(""), "");
    // The wide form converts its result.
    EXPECT_TEXT(LxFormat(KO_GA KO_NA), ANSI_GA ANSI_NA);
    EXPECT_TEXT(LxFormat(u"%s=%d", KO_DA, -1), ANSI_DA "=-1");
    EXPECT_TEXT(LxFormat(u"%S", "raw"), "raw");
    EXPECT_TEXT(LxFormat(static_cast<const WCHAR*>(nullptr)), "");
}

TEST(LxFormat, LongOutputIsCutWithinTheScratchAreaNeverSplittingACharacter) {
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
    // "x" and then syllables: 65,534 bytes would end on a lead byte, which is left out.
    std::string text = "x";
    for (int i = 0; i < 40000; ++i) text += ANSI_GA;
    LxString cutLead = LxFormat("%s", text.c_str());
    EXPECT_EQ(cutLead.GetLength(), 65533);
    EXPECT_EQ(static_cast<unsigned char>(cutLead.GetAt(65532)), 0xA1);
    // Wide: 65,534 units of syllables become twice as many bytes; a surrogate pair is not split.
    const std::u16string syllables(70000, u'\uAC00');
    EXPECT_EQ(LxFormat(u"%s", syllables.c_str()).GetLength(), 2 * 65534);
    std::u16string pairs = u"a";
    for (int i = 0; i < 40000; ++i) pairs += u"\U0001F600";
    LxString cutPairs = LxFormat(u"%s", pairs.c_str());
    EXPECT_EQ(cutPairs.GetLength(), 65533); // "a" and 32,766 pairs, each pair "??"
}

} // namespace
