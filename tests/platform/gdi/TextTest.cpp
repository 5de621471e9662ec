// Fonts and text: metrics as LOGFONTW heights define them, face substitution and the face matches kept across
// runs, DrawTextW geometry checked by the bounding box of the drawn pixels, measurement, and the glyph cache.
#include "GdiTestSupport.h"
#include "text/FaceMatchCache.h"

#include <filesystem>
#include <fstream>
#include <tuple>
#include <unistd.h>

using cehost::text::FaceFile;
using cehost::text::FaceMatchCache;

namespace {

const char16_t kKorean20[] = u"가나다라마바사아자차카타파하거너더러머버";

} // namespace

class Text : public GdiTest {
protected:
    HDC TextCanvas(int width, int height, LONG fontHeight = 20, LONG weight = FW_NORMAL) {
        m_font.reset();
        HDC dc = Canvas(width, height);
        m_font.emplace(dc, CreateLxFont(fontHeight, weight));
        SetBkMode(dc, TRANSPARENT);
        GetTextMetricsW(dc, &m_metrics);
        m_lineHeight = m_metrics.tmHeight;
        return dc;
    }
    void TearDown() override {
        m_font.reset();
        GdiTest::TearDown();
    }
    // The ink of `s` drawn alone into `r`, and the rectangle DT_CALCRECT makes of `r`.
    RECT Ink(const char16_t* s, RECT r, UINT format) {
        Clear();
        DrawTextW(m_dc, s, -1, &r, format);
        return InkBounds();
    }
    RECT Calc(const char16_t* s, RECT r, UINT format, int* height = nullptr) {
        int h = DrawTextW(m_dc, s, -1, &r, format | DT_CALCRECT);
        if (height) *height = h;
        return r;
    }
    LONG Width(const char16_t* s) {
        SIZE size{};
        GetTextExtentPoint32W(m_dc, s, int(std::char_traits<char16_t>::length(s)), &size);
        return size.cx;
    }
    std::optional<Selected> m_font;
    TEXTMETRICW m_metrics{};
    LONG m_lineHeight = 0;
};

TEST_F(Text, PositiveHeightIsTheCellAndNegativeTheCharacterHeight) {
    HDC dc = Canvas(4, 4);
    for (LONG h : {14L, 18L, 20L, 37L}) {
        Selected positive(dc, CreateLxFont(h));
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        EXPECT_EQ(h, tm.tmHeight);
        EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
        EXPECT_GT(tm.tmInternalLeading, 0);
        Selected negative(dc, CreateLxFont(-h));
        GetTextMetricsW(dc, &tm);
        EXPECT_EQ(h, tm.tmHeight - tm.tmInternalLeading);
        EXPECT_GT(tm.tmHeight, h);
    }
}

// Drawing stops after the line that crosses the bottom, and the height says so (the conformance suite checks
// the ink of clipped and unclipped text, vertical placement and line breaks against the real thing).
TEST_F(Text, ClippedTextMeasuresTheLinesDrawn) {
    HDC dc = TextCanvas(200, 200);
    RECT r{0, 0, 200, m_lineHeight + 2};
    EXPECT_EQ(2 * m_lineHeight, DrawTextW(dc, u"a\nb\nc\nd", -1, &r, DT_LEFT)) << "the second line clipped, no more";
    EXPECT_EQ(4 * m_lineHeight, DrawTextW(dc, u"a\nb\nc\nd", -1, &r, DT_LEFT | DT_NOCLIP));
}

// DT_CALCRECT measures and draws nothing: the rectangle it makes and the height it returns. (The conformance
// suite measures single and broken lines, word breaks, prefixes and empty texts against the real thing.)
TEST_F(Text, CalcRectMeasures) {
    HDC dc = TextCanvas(300, 200);
    const LONG h = m_lineHeight, word = Width(u"word");
    const struct {
        const char16_t* text;
        RECT in;
        UINT format;
        RECT out;
        LONG height;
    } cases[] = {
        {u"Hello", {5, 7, 6, 8}, DT_SINGLELINE, {5, 7, 5 + Width(u"Hello"), 7 + h}, h},
        {u"word word word", {0, 0, word * 2, 0}, DT_WORDBREAK, {0, 0, word * 2, 3 * h}, 3 * h},
        // Korean wraps between syllables too.
        {u"가나다라마바", {0, 0, Width(u"가나다"), 0}, DT_WORDBREAK, {0, 0, Width(u"가나다"), 2 * h}, 2 * h},
        // A doubled ampersand is one ampersand.
        {u"a&&b", {0, 0, 200, 40}, 0, {0, 0, Width(u"a&b"), h}, h},
        // An empty line in a rectangle of negative width once crashed the word breaker.
        {u"a\r\n\r\nb", {20, 0, 0, 40}, DT_WORDBREAK, {20, 0, 20 + std::max(Width(u"a"), Width(u"b")), 3 * h}, 3 * h},
    };
    for (const auto& c : cases) {
        int height = 0;
        const RECT out = Calc(c.text, c.in, c.format, &height);
        EXPECT_EQ(c.height, height) << c.format;
        if (c.format & DT_WORDBREAK && !(c.format & DT_SINGLELINE)) {
            EXPECT_TRUE(out.right <= c.out.right && out.bottom == c.out.bottom) << "wrapped lines fit";
        } else {
            EXPECT_EQ(c.out, out) << c.format;
        }
    }
    EXPECT_EQ((RECT{0, 0, 0, 0}), InkBounds());
    RECT edit = Calc(u"unbreakable", {0, 0, Width(u"unbr"), 0}, DT_WORDBREAK | DT_EDITCONTROL);
    EXPECT_GT(edit.bottom, h) << "edit controls split long words";
    RECT r{1, 2, 30, 40};
    EXPECT_EQ(h, DrawTextW(dc, u"abc", 0, &r, DT_CALCRECT));
    EXPECT_EQ((RECT{1, 2, 30, 40}), r) << "count 0 leaves the rectangle alone";
    // The prefixed letter is underlined: ink reaches below the baseline of letters without descenders.
    EXPECT_GT(Ink(u"&mm", {0, 0, 200, 40}, 0).bottom, Ink(u"mm", {0, 0, 200, 40}, 0).bottom);
    EXPECT_EQ(Width(u"abc..."), Calc(u"abcdefgh", {0, 0, Width(u"abc..."), 40}, DT_SINGLELINE | DT_END_ELLIPSIS).right)
        << "three dots after what fits with them";
}

TEST_F(Text, OpaqueBackgroundFillsTheTextCellsOrTheGivenRectangle) {
    HDC dc = TextCanvas(100, 40);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, kBlue);
    RECT r{10, 5, 100, 40};
    DrawTextW(dc, u"ab", -1, &r, 0);
    EXPECT_EQ((RECT{10, 5, 10 + Width(u"ab"), 5 + m_lineHeight}), InkBounds(kBlue, true));
    Clear();
    SetBkColor(dc, kGreen);
    r = {5, 5, 25, 30};
    ExtTextOutW(dc, 5, 5, ETO_OPAQUE | ETO_CLIPPED, &r, u"가나다라", 4, nullptr);
    EXPECT_EQ(kGreen, GetPixel(dc, 24, 29));
    EXPECT_EQ((RECT{5, 5, 25, 30}), InkBounds()) << "nothing escapes the clip rectangle";
}

// Bold comes from the family's bold file and draws heavier strokes; a face nobody has falls back to the
// library's Korean face.
TEST_F(Text, BoldAndUnknownFaces) {
    const std::string lx = cehost::sim::FontFileForFace(u"LxFont");
    EXPECT_EQ(lx, cehost::sim::FontFileForFace(u"No Such Face Anywhere"));
    EXPECT_NE(lx, cehost::sim::FontFileForFace(u"LxFont", FW_BOLD));
    int ink[2] = {};
    for (LONG weight : {FW_NORMAL, FW_BOLD}) {
        HDC dc = TextCanvas(200, 30, 18, weight);
        RECT r{0, 0, 200, 30};
        DrawTextW(dc, u"Bold 굵게", -1, &r, 0);
        ink[weight == FW_BOLD] = 200 * 30 - CountPixels(kWhite);
    }
    EXPECT_GT(ink[1], ink[0] + ink[0] / 10);
}

TEST_F(Text, AFontCreatedPerCallReusesTheGlyphCache) {
    HDC dc = Canvas(300, 40);
    SetBkMode(dc, TRANSPARENT);
    RECT r{0, 0, 300, 40};
    auto draw = [&] {
        Selected font(dc, CreateLxFont(18));
        DrawTextW(dc, kKorean20, -1, &r, DT_CENTER | DT_VCENTER);
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
    EXPECT_EQ((std::pair<LONG, LONG>(10 + Width(u"ab"), 5)), std::pair(p.x, p.y));
    EXPECT_GE(InkBounds().left, 10);
    Clear();
    SetTextAlign(dc, TA_RIGHT | TA_NOUPDATECP);
    TextOutW(dc, 100, 5, u"ab", 2);
    EXPECT_LE(InkBounds().right, 101);
    EXPECT_GE(InkBounds().right, 95);
}

TEST_F(Text, TabsExpandOnlyWhenAskedAndTabStopSetsTheirSize) {
    TextCanvas(400, 40);
    // The tab size takes the second byte, where DT_CALCRECT would be: measured by drawing.
    const RECT r{0, 0, 400, 40};
    const LONG eight = Ink(u"\tl", r, DT_EXPANDTABS).left;
    EXPECT_EQ(4 * m_metrics.tmAveCharWidth, eight - Ink(u"\tl", r, DT_EXPANDTABS | DT_TABSTOP | (4 << 8)).left);
    EXPECT_EQ(Width(u"a\tb"), Calc(u"a\tb", r, 0).right) << "without DT_EXPANDTABS a tab is an ordinary character";
}

// Face matching answers kept in a file: read back by the next run while what they depend on stays the same,
// dropped as soon as a watched file changes or the file is damaged.
TEST(FaceMatchCache, AnswersSurviveUntilAWatchedPathChanges) {
    auto folder = std::filesystem::temp_directory_path() / ("face-match-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string file = (folder / "sub" / "face-match").string(), config = (folder / "fonts.conf").string();
    std::ofstream(config) << "<fontconfig/>";
    FaceFile face{(folder / "face.ttf").string(), 2, 200, true, true};
    {
        FaceMatchCache first(file);
        EXPECT_EQ(first.Find("LxFont"), nullptr);
        first.Store("LxFont", face, {config});
        first.Store("Missing", std::nullopt, {config});
    }
    FaceMatchCache next(file);
    const std::optional<FaceFile>* found = next.Find("LxFont");
    ASSERT_TRUE(found && *found);
    const FaceFile& got = **found;
    EXPECT_EQ(std::tie(got.path, got.index, got.weight, got.italic, got.hasHangul),
              std::tie(face.path, face.index, face.weight, face.italic, face.hasHangul));
    ASSERT_TRUE(next.Find("Missing"));
    EXPECT_FALSE(*next.Find("Missing"));
    // The face file appearing is a change too: it was watched while missing.
    std::ofstream(face.path) << "x";
    EXPECT_EQ(FaceMatchCache(file).Find("LxFont"), nullptr);
    // Rewritten while the configuration stays, then the configuration changes size.
    FaceMatchCache(file).Store("LxFont", face, {config});
    EXPECT_NE(FaceMatchCache(file).Find("LxFont"), nullptr);
    std::ofstream(config, std::ios::app) << "<!-- more -->";
    EXPECT_EQ(FaceMatchCache(file).Find("LxFont"), nullptr);
    // A damaged file is ignored, and an empty file name keeps nothing.
    FaceMatchCache(file).Store("LxFont", face, {config});
    std::ofstream(file, std::ios::app) << "answer\tbroken\n";
    EXPECT_EQ(FaceMatchCache(file).Find("LxFont"), nullptr);
    FaceMatchCache nowhere("");
    nowhere.Store("LxFont", face, {});
    EXPECT_NE(nowhere.Find("LxFont"), nullptr);
    std::filesystem::remove_all(folder);
}
