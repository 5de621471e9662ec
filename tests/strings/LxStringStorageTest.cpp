// LxString storage, construction, assignment and conversion.
#include "StringTestSupport.h"

#include <cmath>
#include <new>
#include <tuple>

namespace {

TEST(LxStringStorage, DefaultIsAbsentAndEmptyTextIsPresent) {
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

TEST(LxStringStorage, KoreanTextIsStoredAsTwoBytesPerSyllable) {
    LxString s(KO_GA KO_NA KO_DA);
    EXPECT_TEXT(s, ANSI_GA ANSI_NA ANSI_DA);
    EXPECT_EQ(s.IsANSI(), 1);
    EXPECT_EQ(std::u16string(s.GetStringW()), KO_GA KO_NA KO_DA);
    // A character the code page cannot hold arrives as the C runtime writes it: '?' per unit.
    EXPECT_TEXT(LxString(u"a\U0001F600"), "a??");
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

// Copies, moves and aliasing operands are checked against a model by the fuzzer.
TEST(LxStringStorage, TheAbsentFormSurvivesCopiesAndWideTextConverts) {
    LxString absent, b("x");
    EXPECT_TRUE(IsAbsent(LxString(absent)));
    b = absent;
    EXPECT_TRUE(IsAbsent(b));
    b = KO_GA u"x";
    EXPECT_TEXT(b, ANSI_GA "x");
    b = static_cast<const WCHAR*>(nullptr);
    EXPECT_TEXT(b, "");
    LxString a("bc");
    LxString moved(std::move(a));
    EXPECT_TEXT(moved, "bc");
    EXPECT_TRUE(IsAbsent(a)); // NOLINT: a moved-from string is absent
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

} // namespace
