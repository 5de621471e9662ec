// Fonts and text: metrics as LOGFONTW heights define them, face substitution, DrawTextW geometry checked by the
// bounding box of the drawn pixels, measurement, and the glyph cache.
#include "GdiTestSupport.h"

#include <cstdlib>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
const char16_t kKorean20[] = u"가나다라마바사아자차카타파하거너더러머버";

LOGFONTW LxLogFont(LONG height, LONG weight = FW_NORMAL) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfCharSet = HANGEUL_CHARSET;
    lf.lfPitchAndFamily = FF_SWISS;
    const char16_t face[] = u"LxFont";
    std::copy(std::begin(face), std::end(face), lf.lfFaceName);
    return lf;
}

} // namespace

class Text : public GdiTest {
protected:
    HDC TextCanvas(int width, int height, LONG fontHeight = 20) {
        HDC dc = Canvas(width, height);
        LOGFONTW lf = LxLogFont(fontHeight);
        m_font = CreateFontIndirectW(&lf);
        m_oldFont = SelectObject(dc, m_font);
        SetBkMode(dc, TRANSPARENT);
        TEXTMETRICW tm;
        GetTextMetricsW(dc, &tm);
        m_lineHeight = tm.tmHeight;
        return dc;
    }
    void TearDown() override {
        if (m_font) {
            SelectObject(m_dc, m_oldFont);
            DeleteObject(m_font);
        }
        GdiTest::TearDown();
    }
    void Clear() {
        RECT all{0, 0, m_width, m_height};
        FillRect(m_dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    }
    LONG Width(const char16_t* s) {
        SIZE size{};
        GetTextExtentPoint32W(m_dc, s, int(std::char_traits<char16_t>::length(s)), &size);
        return size.cx;
    }
    HFONT m_font = nullptr;
    HGDIOBJ m_oldFont = nullptr;
    LONG m_lineHeight = 0;
};

TEST_F(Text, PositiveHeightIsTheCellAndNegativeTheCharacterHeight) {
    HDC dc = Canvas(4, 4);
    for (LONG h : {14L, 18L, 20L, 37L}) {
        LOGFONTW lf = LxLogFont(h);
        HFONT f = CreateFontIndirectW(&lf);
        HGDIOBJ old = SelectObject(dc, f);
        TEXTMETRICW tm{};
        ASSERT_TRUE(GetTextMetricsW(dc, &tm));
        EXPECT_EQ(h, tm.tmHeight);
        EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
        EXPECT_GT(tm.tmInternalLeading, 0);
        lf.lfHeight = -h;
        HFONT g = CreateFontIndirectW(&lf);
        SelectObject(dc, g);
        GetTextMetricsW(dc, &tm);
        EXPECT_EQ(h, tm.tmHeight - tm.tmInternalLeading);
        EXPECT_GT(tm.tmHeight, h);
        SelectObject(dc, old);
        DeleteObject(f);
        DeleteObject(g);
    }
}

TEST_F(Text, LxFontAndUnknownFacesUseAKoreanFaceAndKnownFacesStay) {
    std::string lx = cehost::sim::FontFileForFace(u"LxFont");
    EXPECT_NE(std::string::npos, lx.find("NanumGothic")) << lx;
    EXPECT_EQ(lx, cehost::sim::FontFileForFace(u"No Such Face Anywhere"));
    EXPECT_NE(lx, cehost::sim::FontFileForFace(u"LxFont", FW_BOLD)) << "the family's bold file";
    std::string dejavu = cehost::sim::FontFileForFace(u"DejaVu Sans");
    if (!dejavu.empty()) {
        EXPECT_NE(std::string::npos, dejavu.find("DejaVu")) << dejavu;
    }
}

TEST_F(Text, KoreanGlyphsAreDrawnAntiAliasedInTheTextColour) {
    HDC dc = TextCanvas(120, 30);
    SetTextColor(dc, RGB(255, 0, 0));
    RECT r{0, 0, 120, 30};
    DrawTextW(dc, u"한글", -1, &r, DT_LEFT);
    int full = 0, partial = 0, other = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            if (c == kWhite) continue;
            // Red blended over white: red stays full, green and blue fall together.
            if (GetRValue(c) != 255 || GetGValue(c) != GetBValue(c)) ++other;
            else if (c == RGB(255, 0, 0)) ++full;
            else ++partial;
        }
    EXPECT_GT(full, 20);
    EXPECT_GT(partial, 10) << "edges are blended";
    EXPECT_EQ(0, other);
}

TEST_F(Text, HorizontalAlignmentPlacesTheInk) {
    HDC dc = TextCanvas(200, 30);
    const char16_t* s = u"Hello 한글";
    LONG w = Width(s);
    RECT r{10, 0, 190, 30};
    DrawTextW(dc, s, -1, &r, DT_LEFT | DT_SINGLELINE);
    RECT left = InkBounds();
    Clear();
    DrawTextW(dc, s, -1, &r, DT_RIGHT | DT_SINGLELINE);
    RECT right = InkBounds();
    Clear();
    DrawTextW(dc, s, -1, &r, DT_CENTER | DT_SINGLELINE);
    RECT centre = InkBounds();
    EXPECT_NEAR(10, left.left, 2);
    EXPECT_NEAR(190, right.right, 2);
    EXPECT_EQ(right.left - left.left, 180 - w) << "right alignment moves the text by the free width";
    EXPECT_EQ(centre.left - left.left, (200 - w) / 2 - 10);
}

TEST_F(Text, VerticalCentringAndBottomNeedSingleLine) {
    HDC dc = TextCanvas(200, 100);
    RECT r{0, 10, 200, 90};
    int topResult = DrawTextW(dc, u"Hj", -1, &r, DT_TOP);
    RECT top = InkBounds();
    EXPECT_EQ(m_lineHeight, topResult);
    Clear();
    int ignored = DrawTextW(dc, u"Hj", -1, &r, DT_VCENTER | DT_CENTER);
    EXPECT_EQ(top.top, InkBounds().top) << "DT_VCENTER without DT_SINGLELINE is ignored";
    EXPECT_EQ(m_lineHeight, ignored);
    Clear();
    int centred = DrawTextW(dc, u"Hj", -1, &r, DT_VCENTER | DT_SINGLELINE);
    LONG offset = 80 / 2 - m_lineHeight / 2;
    EXPECT_EQ(top.top + offset, InkBounds().top);
    EXPECT_EQ(offset + m_lineHeight, centred) << "offset from the top to the bottom of the text";
    Clear();
    int bottom = DrawTextW(dc, u"Hj", -1, &r, DT_BOTTOM | DT_SINGLELINE);
    EXPECT_EQ(top.top + 80 - m_lineHeight, InkBounds().top);
    EXPECT_EQ(80, bottom);
    Clear();
    DrawTextW(dc, u"Hj", -1, &r, DT_BOTTOM);
    EXPECT_EQ(top.top, InkBounds().top);
}

TEST_F(Text, LineBreaksAlwaysBreakUnlessSingleLine) {
    HDC dc = TextCanvas(200, 100);
    RECT r{0, 0, 200, 100};
    EXPECT_EQ(3 * m_lineHeight, DrawTextW(dc, u"one\r\ntwo\nthree", -1, &r, 0));
    EXPECT_GE(InkBounds().bottom, 2 * m_lineHeight);
    Clear();
    EXPECT_EQ(m_lineHeight, DrawTextW(dc, u"one\r\ntwo\nthree", -1, &r, DT_SINGLELINE));
    EXPECT_LE(InkBounds().bottom, m_lineHeight);
}

TEST_F(Text, ClippingToTheRectangleUnlessNoClip) {
    HDC dc = TextCanvas(200, 60);
    RECT r{20, 20, 50, 30};
    DrawTextW(dc, u"가나다라마바사", -1, &r, DT_LEFT);
    RECT ink = InkBounds();
    EXPECT_GE(ink.left, 20);
    EXPECT_GE(ink.top, 20);
    EXPECT_LE(ink.right, 50);
    EXPECT_LE(ink.bottom, 30);
    Clear();
    DrawTextW(dc, u"가나다라마바사", -1, &r, DT_LEFT | DT_NOCLIP);
    ink = InkBounds();
    EXPECT_GT(ink.right, 50);
    EXPECT_GT(ink.bottom, 30);
}

TEST_F(Text, DrawingStopsAfterTheLineThatCrossesTheBottom) {
    HDC dc = TextCanvas(200, 200);
    RECT r{0, 0, 200, m_lineHeight + 2};
    int h = DrawTextW(dc, u"a\nb\nc\nd", -1, &r, DT_LEFT);
    EXPECT_EQ(2 * m_lineHeight, h) << "the second line is drawn clipped, the rest not at all";
    RECT r2{0, 0, 200, m_lineHeight + 2};
    EXPECT_EQ(4 * m_lineHeight, DrawTextW(dc, u"a\nb\nc\nd", -1, &r2, DT_LEFT | DT_NOCLIP));
}

TEST_F(Text, CalcRectMeasuresAndDrawsNothing) {
    HDC dc = TextCanvas(200, 100);
    RECT r{5, 7, 6, 8};
    int h = DrawTextW(dc, u"Hello", -1, &r, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(m_lineHeight, h);
    EXPECT_EQ((RECT{5, 7, 5 + Width(u"Hello"), 7 + m_lineHeight}), r);
    EXPECT_EQ((RECT{0, 0, 0, 0}), InkBounds());
    RECT m{0, 0, 1, 1};
    EXPECT_EQ(2 * m_lineHeight, DrawTextW(dc, u"ab\nlonger", -1, &m, DT_CALCRECT));
    EXPECT_EQ((RECT{0, 0, Width(u"longer"), 2 * m_lineHeight}), m);
}

TEST_F(Text, EmptyCountZeroAndNullText) {
    HDC dc = TextCanvas(50, 50);
    RECT r{1, 2, 30, 40};
    EXPECT_EQ(m_lineHeight, DrawTextW(dc, u"", -1, &r, DT_CALCRECT));
    EXPECT_EQ((RECT{1, 2, 1, 2}), r);
    r = {1, 2, 30, 40};
    EXPECT_EQ(m_lineHeight, DrawTextW(dc, u"", -1, &r, DT_CALCRECT | DT_SINGLELINE));
    EXPECT_EQ((RECT{1, 2, 1, 2 + m_lineHeight}), r);
    r = {1, 2, 30, 40};
    EXPECT_EQ(m_lineHeight, DrawTextW(dc, u"abc", 0, &r, DT_CALCRECT));
    EXPECT_EQ((RECT{1, 2, 30, 40}), r) << "count 0 leaves the rectangle alone";
    EXPECT_EQ(0, DrawTextW(dc, nullptr, -1, &r, 0));
    EXPECT_EQ((RECT{0, 0, 0, 0}), InkBounds());
}

TEST_F(Text, WordBreakWrapsAtSpacesAndKeepsLongWordsWhole) {
    HDC dc = TextCanvas(300, 200);
    LONG word = Width(u"word");
    RECT r{0, 0, word * 2, 0};
    EXPECT_EQ(3 * m_lineHeight, DrawTextW(dc, u"word word word", -1, &r, DT_WORDBREAK | DT_CALCRECT));
    EXPECT_LE(r.right, word * 2);
    RECT narrow{0, 0, 10, 0};
    DrawTextW(dc, u"unbreakable", -1, &narrow, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(m_lineHeight, narrow.bottom) << "a single word is not split";
    EXPECT_EQ(Width(u"unbreakable"), narrow.right);
    RECT edit{0, 0, Width(u"unbr"), 0};
    DrawTextW(dc, u"unbreakable", -1, &edit, DT_WORDBREAK | DT_EDITCONTROL | DT_CALCRECT);
    EXPECT_GT(edit.bottom, m_lineHeight) << "edit controls split long words";
    // Korean wraps between syllables too.
    RECT korean{0, 0, Width(u"가나다"), 0};
    DrawTextW(dc, u"가나다라마바", -1, &korean, DT_WORDBREAK | DT_CALCRECT);
    EXPECT_EQ(2 * m_lineHeight, korean.bottom);
}

TEST_F(Text, SingleLineIgnoresWordBreak) {
    HDC dc = TextCanvas(300, 100);
    RECT r{0, 0, 20, 0};
    EXPECT_EQ(m_lineHeight, DrawTextW(dc, u"word word word", -1, &r, DT_WORDBREAK | DT_SINGLELINE | DT_CALCRECT));
    EXPECT_EQ(Width(u"word word word"), r.right);
}

TEST_F(Text, AmpersandIsAPrefixUnlessNoPrefix) {
    HDC dc = TextCanvas(200, 40);
    RECT r{0, 0, 200, 40};
    DrawTextW(dc, u"&File", -1, &r, DT_CALCRECT);
    EXPECT_EQ(Width(u"File"), r.right);
    r = {0, 0, 200, 40};
    DrawTextW(dc, u"&File", -1, &r, DT_CALCRECT | DT_NOPREFIX);
    EXPECT_EQ(Width(u"&File"), r.right);
    r = {0, 0, 200, 40};
    DrawTextW(dc, u"a&&b", -1, &r, DT_CALCRECT);
    EXPECT_EQ(Width(u"a&b"), r.right);
    // The prefixed letter is underlined: ink reaches below the baseline of letters without descenders.
    r = {0, 0, 200, 40};
    DrawTextW(dc, u"mm", -1, &r, 0);
    LONG plain = InkBounds().bottom;
    Clear();
    DrawTextW(dc, u"&mm", -1, &r, 0);
    EXPECT_GT(InkBounds().bottom, plain);
}

TEST_F(Text, EndEllipsisFitsTheLine) {
    HDC dc = TextCanvas(300, 40);
    RECT r{0, 0, 60, 40};
    DrawTextW(dc, u"A rather long title that cannot fit", -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP);
    EXPECT_LE(InkBounds().right, 60);
    EXPECT_GT(InkBounds().right, 30);
    RECT calc{0, 0, 60, 40};
    DrawTextW(dc, u"A rather long title that cannot fit", -1, &calc, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
    EXPECT_LE(calc.right, 60);
}

TEST_F(Text, OpaqueModeFillsTheTextCellsWithTheBackground) {
    HDC dc = TextCanvas(100, 40);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(0, 0, 255));
    RECT r{10, 5, 100, 40};
    DrawTextW(dc, u"ab", -1, &r, 0);
    RECT box = ColorBounds(RGB(0, 0, 255));
    EXPECT_EQ(10, box.left);
    EXPECT_EQ(5, box.top);
    EXPECT_EQ(10 + Width(u"ab"), box.right);
    EXPECT_EQ(5 + m_lineHeight, box.bottom);
}

TEST_F(Text, ExtentsFitCountAndPerCharacterPositions) {
    HDC dc = TextCanvas(10, 10);
    const char16_t* s = u"가a나";
    SIZE size{};
    int fit = -1;
    int dx[3] = {};
    ASSERT_TRUE(GetTextExtentExPointW(dc, s, 3, Width(u"가a"), &fit, dx, &size));
    EXPECT_EQ(2, fit);
    EXPECT_EQ(Width(u"가"), dx[0]);
    EXPECT_EQ(Width(u"가a"), dx[1]);
    EXPECT_EQ(size.cx, dx[2]);
    EXPECT_EQ(m_lineHeight, size.cy);
    ASSERT_TRUE(GetTextExtentExPointW(dc, s, 3, 0, nullptr, nullptr, &size)) << "no fit wanted";
    EXPECT_EQ(Width(s), size.cx);
    EXPECT_TRUE(GetTextExtentExPointW(dc, s, 3, Width(u"가") - 1, &fit, nullptr, nullptr));
    EXPECT_EQ(0, fit);
}

TEST_F(Text, BoldDrawsHeavierStrokes) {
    HDC dc = Canvas(200, 30);
    SetBkMode(dc, TRANSPARENT);
    LOGFONTW lf = LxLogFont(18);
    HFONT normal = CreateFontIndirectW(&lf);
    lf.lfWeight = FW_BOLD;
    HFONT bold = CreateFontIndirectW(&lf);
    HGDIOBJ old = SelectObject(dc, normal);
    RECT r{0, 0, 200, 30};
    DrawTextW(dc, u"Bold 굵게", -1, &r, 0);
    int normalInk = 200 * 30 - CountPixels(kWhite);
    Clear();
    SelectObject(dc, bold);
    DrawTextW(dc, u"Bold 굵게", -1, &r, 0);
    int boldInk = 200 * 30 - CountPixels(kWhite);
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    EXPECT_EQ(FW_BOLD, tm.tmWeight);
    EXPECT_EQ(18, tm.tmHeight);
    EXPECT_GT(boldInk, normalInk + normalInk / 10);
    SelectObject(dc, old);
    DeleteObject(normal);
    DeleteObject(bold);
}

TEST_F(Text, AFontCreatedPerCallReusesTheGlyphCache) {
    HDC dc = Canvas(300, 40);
    SetBkMode(dc, TRANSPARENT);
    RECT r{0, 0, 300, 40};
    auto draw = [&] {
        LOGFONTW lf = LxLogFont(18);
        HFONT f = CreateFontIndirectW(&lf);
        HGDIOBJ old = SelectObject(dc, f);
        DrawTextW(dc, kKorean20, -1, &r, DT_CENTER | DT_VCENTER);
        SelectObject(dc, old);
        DeleteObject(f);
    };
    draw();
    uint64_t rendered = cehost::sim::GlyphsRendered();
    RECT first = InkBounds();
    Clear();
    for (int i = 0; i < 5; ++i) draw();
    EXPECT_EQ(rendered, cehost::sim::GlyphsRendered());
    EXPECT_EQ(first, InkBounds()) << "cached glyphs draw the same";
}

TEST_F(Text, TextOutHonoursAlignmentAndUpdatesTheCurrentPosition) {
    HDC dc = TextCanvas(200, 40);
    SetTextAlign(dc, TA_UPDATECP);
    MoveToEx(dc, 10, 5, nullptr);
    TextOutW(dc, 0, 0, u"ab", 2);
    POINT p;
    MoveToEx(dc, 0, 0, &p);
    EXPECT_EQ(10 + Width(u"ab"), p.x);
    EXPECT_EQ(5, p.y);
    EXPECT_GE(InkBounds().left, 10);
    Clear();
    SetTextAlign(dc, TA_RIGHT | TA_NOUPDATECP);
    TextOutW(dc, 100, 5, u"ab", 2);
    EXPECT_LE(InkBounds().right, 101);
    EXPECT_GE(InkBounds().right, 95);
}

TEST_F(Text, ExtTextOutOpaqueRectangleAndClipping) {
    HDC dc = TextCanvas(100, 40);
    SetBkColor(dc, RGB(0, 255, 0));
    RECT r{5, 5, 25, 30};
    ExtTextOutW(dc, 5, 5, ETO_OPAQUE | ETO_CLIPPED, &r, u"가나다라", 4, nullptr);
    EXPECT_EQ(RGB(0, 255, 0), GetPixel(dc, 24, 29));
    RECT ink = InkBounds();
    EXPECT_EQ((RECT{5, 5, 25, 30}), ink) << "nothing escapes the clip rectangle";
}

TEST_F(Text, TabsExpandOnlyWhenAskedAndTabStopSetsTheirSize) {
    HDC dc = TextCanvas(400, 40);
    TEXTMETRICW tm;
    GetTextMetricsW(dc, &tm);
    RECT r{0, 0, 400, 40};
    DrawTextW(dc, u"a\tb", -1, &r, DT_CALCRECT | DT_EXPANDTABS);
    EXPECT_EQ(8 * tm.tmAveCharWidth + Width(u"b"), r.right);
    // The tab size takes the second byte, where DT_CALCRECT would be: measured by drawing.
    r = {0, 0, 400, 40};
    DrawTextW(dc, u"\tl", -1, &r, DT_EXPANDTABS);
    LONG eight = InkBounds().left;
    Clear();
    DrawTextW(dc, u"\tl", -1, &r, DT_EXPANDTABS | DT_TABSTOP | (4 << 8));
    LONG four = InkBounds().left;
    EXPECT_EQ(4 * tm.tmAveCharWidth, eight - four);
    r = {0, 0, 400, 40};
    DrawTextW(dc, u"a\tb", -1, &r, DT_CALCRECT);
    EXPECT_EQ(Width(u"a\tb"), r.right) << "without DT_EXPANDTABS a tab is an ordinary character";
}
