// Reading both template forms, and refusing damaged ones without reading past them.
#include "controls/DialogTemplate.h"
#include "TemplateBuilder.h"

#include <gtest/gtest.h>

using cehost::controls::DialogTemplate;
using cehost::controls::ParseDialogTemplate;

namespace {
// Window styles spelled out so that the reader is tested on its own.
constexpr DWORD kPopup = 0x80000000;
constexpr DWORD kChild = 0x40000000;
constexpr DWORD kVisible = 0x10000000;
constexpr DWORD kTabStop = 0x00010000;
constexpr DWORD kClientEdge = 0x00000200;
} // namespace

TEST(DialogTemplate, ClassicTemplateWithFontAndItems) {
    TemplateBuilder b;
    b.Dialog(kPopup | DS_SETFONT, 2, 10, 20, 100, 60, u"Title").Word(9).String(u"LxFont");
    b.Item(kChild | kVisible | SS_CENTER, 5, 6, 50, 10, 100, 0x82, u"Hello");
    // Second item: class by name, title by ordinal, 4 bytes of creation data (size word counts itself).
    b.Align(4).Dword(kChild | kTabStop).Dword(kClientEdge).Short(1).Short(2).Short(3).Short(4).Word(IDOK);
    b.String(u"EDIT").Ordinal(7).Word(6).Word(0xABCD).Word(0x1234);

    DialogTemplate t;
    std::string error;
    ASSERT_TRUE(ParseDialogTemplate(b.Data(), b.Size(), &t, &error)) << error;
    EXPECT_FALSE(t.extended);
    EXPECT_EQ(t.style, DWORD(kPopup | DS_SETFONT));
    EXPECT_EQ(t.title, u"Title");
    EXPECT_TRUE(t.hasFont);
    EXPECT_EQ(t.pointSize, 9);
    EXPECT_EQ(t.typeface, u"LxFont");
    ASSERT_EQ(t.items.size(), 2u);
    EXPECT_TRUE(t.items[0].windowClass.isOrdinal);
    EXPECT_EQ(t.items[0].windowClass.ordinal, 0x82);
    EXPECT_EQ(t.items[0].title.name, u"Hello");
    EXPECT_EQ(t.items[0].id, 100u);
    EXPECT_EQ(t.items[1].windowClass.name, u"EDIT");
    EXPECT_EQ(t.items[1].exStyle, DWORD(kClientEdge));
    EXPECT_TRUE(t.items[1].title.isOrdinal);
    EXPECT_EQ(t.items[1].title.ordinal, 7);
    EXPECT_EQ(t.items[1].creationData.size(), 4u);
}

TEST(DialogTemplate, ExtendedTemplateHasDwordIdsAndFontDetails) {
    TemplateBuilder b;
    b.Word(1).Word(0xFFFF).Dword(77).Dword(0).Dword(kPopup | DS_SETFONT).Word(1);
    b.Short(0).Short(0).Short(120).Short(80).Word(0).Word(0).String(u"Ex");
    b.Word(8).Word(700).Byte(1).Byte(129).String(u"Face");
    b.Align(4).Dword(5).Dword(0).Dword(kChild | BS_DEFPUSHBUTTON).Short(1).Short(2).Short(30).Short(12);
    b.Dword(0x12345).Ordinal(0x80).String(u"OK").Word(0);

    DialogTemplate t;
    std::string error;
    ASSERT_TRUE(ParseDialogTemplate(b.Data(), b.Size(), &t, &error)) << error;
    EXPECT_TRUE(t.extended);
    EXPECT_EQ(t.helpId, 77u);
    EXPECT_EQ(t.weight, 700);
    EXPECT_EQ(t.italic, 1);
    EXPECT_EQ(t.charset, 129);
    EXPECT_EQ(t.typeface, u"Face");
    ASSERT_EQ(t.items.size(), 1u);
    EXPECT_EQ(t.items[0].helpId, 5u);
    EXPECT_EQ(t.items[0].id, 0x12345u);
    EXPECT_EQ(t.items[0].style, DWORD(kChild | BS_DEFPUSHBUTTON));
}

TEST(DialogTemplate, TruncationsBadNamesAndHugeCountsAreRefused) {
    TemplateBuilder b;
    b.Dialog(kPopup, 1, 0, 0, 50, 50, u"T");
    b.Item(kChild, 0, 0, 10, 10, 1, 0x82, u"abc");
    std::vector<BYTE> whole = b.Bytes();
    DialogTemplate t;
    std::string error;
    ASSERT_TRUE(ParseDialogTemplate(whole.data(), whole.size(), &t, &error));
    for (size_t cut = 0; cut < whole.size(); ++cut) {
        std::vector<BYTE> part(whole.begin(), whole.begin() + cut);
        EXPECT_FALSE(ParseDialogTemplate(part.data(), part.size(), &t, &error)) << "cut at " << cut;
        EXPECT_FALSE(error.empty());
    }
    // An unterminated name and a huge item count are refused too.
    b = TemplateBuilder();
    b.Dword(kPopup).Dword(0).Word(0).Short(0).Short(0).Short(1).Short(1).Word(0).Word(0);
    for (int i = 0; i < 5000; ++i) b.Word('x');
    b.Word(0);
    EXPECT_FALSE(ParseDialogTemplate(b.Data(), SIZE_MAX, &t, &error));

    TemplateBuilder many;
    many.Dialog(kPopup, 60000, 0, 0, 1, 1, u"");
    EXPECT_FALSE(ParseDialogTemplate(many.Data(), many.Size(), &t, &error));
    EXPECT_FALSE(ParseDialogTemplate(nullptr, 10, &t, &error));
}
