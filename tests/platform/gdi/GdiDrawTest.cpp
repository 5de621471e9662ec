// Drawing primitives checked pixel by pixel in memory bitmaps, and objects and DC state: selection
// bookkeeping, deletion rules, stock objects, SaveDC/RestoreDC, regions.
#include "GdiTestSupport.h"

using GdiDraw = GdiTest;
using GdiObjects = GdiTest;

TEST_F(GdiDraw, FillRectExcludesRightAndBottomAndKeepsColourChannels) {
    HDC dc = Canvas(8, 8);
    HBRUSH brush = CreateSolidBrush(RGB(0x12, 0x34, 0x56));
    const RECT r{1, 2, 4, 5};
    EXPECT_NE(0, FillRect(dc, &r, brush));
    DeleteObject(brush);
    EXPECT_EQ((RECT{1, 2, 4, 5}), InkBounds());
    EXPECT_EQ(RGB(0x12, 0x34, 0x56), GetPixel(dc, 3, 4));
    EXPECT_EQ(CLR_INVALID, GetPixel(dc, 8, 0)) << "outside the bitmap";
    EXPECT_EQ(CLR_INVALID, GetPixel(dc, -1, 0));
    // A negative or empty rectangle draws nothing.
    for (RECT nothing : {RECT{4, 4, 1, 1}, RECT{6, 6, 6, 8}})
        FillRect(dc, &nothing, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ((RECT{1, 2, 4, 5}), InkBounds());
    // A system colour index + 1 is a brush, with or without CE's colour flag.
    RECT left{0, 6, 2, 8}, right{2, 6, 4, 8};
    const int colorWindowText = 8, colorWindow = 5;
    FillRect(dc, &left, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    FillRect(dc, &right, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    FillRect(dc, &left, reinterpret_cast<HBRUSH>(uintptr_t(colorWindowText + 1)));
    FillRect(dc, &right, reinterpret_cast<HBRUSH>(uintptr_t((colorWindow | 0x40000000) + 1)));
    EXPECT_EQ(kBlack, GetPixel(dc, 1, 7));
    EXPECT_EQ(kWhite, GetPixel(dc, 3, 7));
    // SetPixel returns the colour it set, and respects the bitmap and the clip.
    EXPECT_EQ(RGB(1, 2, 3), SetPixel(dc, 6, 2, RGB(1, 2, 3)));
    EXPECT_EQ(RGB(1, 2, 3), GetPixel(dc, 6, 2));
    EXPECT_EQ(COLORREF(-1), SetPixel(dc, 8, 0, kBlack));
    IntersectClipRect(dc, 0, 0, 1, 1);
    EXPECT_EQ(COLORREF(-1), SetPixel(dc, 6, 3, kBlack));
}

TEST_F(GdiDraw, LineToExcludesItsEndPointAndMovesTheCurrentPosition) {
    HDC dc = Canvas(10, 3);
    MoveToEx(dc, 1, 1, nullptr);
    LineTo(dc, 6, 1);
    EXPECT_EQ(".#####....", Row(1, kBlack));
    POINT p;
    MoveToEx(dc, 0, 0, &p);
    EXPECT_EQ((std::pair<LONG, LONG>(6, 1)), std::pair(p.x, p.y));
    // Going back draws from the new start and again leaves out the end.
    MoveToEx(dc, 9, 2, nullptr);
    LineTo(dc, 7, 2);
    EXPECT_EQ("........##", Row(2, kBlack));
    EXPECT_EQ(7, CountPixels(kBlack));
    // Upwards; then a line mixed with what is under it (R2_NOT turns black to white).
    MoveToEx(dc, 0, 2, nullptr);
    LineTo(dc, 0, 0);
    SetROP2(dc, R2_NOT);
    MoveToEx(dc, 2, 1, nullptr);
    LineTo(dc, 4, 1);
    EXPECT_EQ("##..##....", Row(1, kBlack));
    EXPECT_EQ("#.......##", Row(2, kBlack));
    EXPECT_EQ(7, CountPixels(kBlack));
}

// Rectangles fill inside their pen and leave out the right and bottom edges; polygons fill their inside.
TEST_F(GdiDraw, ShapesFillTheirInsideAndExcludeRightBottom) {
    HDC dc = Canvas(8, 8);
    Selected brush(dc, CreateSolidBrush(kRed));
    Rectangle(dc, 1, 1, 6, 5);
    EXPECT_EQ((RECT{1, 1, 6, 5}), InkBounds());
    EXPECT_EQ(".#####..", Row(1, kBlack));
    EXPECT_EQ(".#...#..", Row(2, kBlack));
    EXPECT_EQ("..###...", Row(2, kRed));
    EXPECT_EQ(".#####..", Row(4, kBlack));
    // Without a pen the filled area is one pixel smaller.
    Clear();
    SelectObject(dc, GetStockObject(NULL_PEN));
    Rectangle(dc, 1, 1, 6, 5);
    EXPECT_EQ((RECT{1, 1, 5, 4}), InkBounds());
    Clear();
    POINT square[] = {{1, 1}, {5, 1}, {5, 5}, {1, 5}};
    EXPECT_TRUE(Polygon(dc, square, 4));
    EXPECT_EQ((RECT{1, 1, 5, 5}), InkBounds());
    EXPECT_EQ(16, CountPixels(kRed));
}

TEST_F(GdiDraw, PatBltRops) {
    HDC dc = Canvas(6, 1, RGB(0x0F, 0xF0, 0x55));
    Selected brush(dc, CreateSolidBrush(RGB(0xFF, 0x00, 0x0F)));
    PatBlt(dc, 0, 0, 1, 1, PATCOPY);
    PatBlt(dc, 1, 0, 1, 1, PATINVERT);
    PatBlt(dc, 2, 0, 1, 1, DSTINVERT);
    PatBlt(dc, 3, 0, 1, 1, BLACKNESS);
    PatBlt(dc, 5, 0, -1, 1, WHITENESS); // negative width extends to the left
    EXPECT_EQ((std::vector<COLORREF>{RGB(0xFF, 0x00, 0x0F), RGB(0xF0, 0xF0, 0x5A), RGB(0xF0, 0x0F, 0xAA), kBlack,
                                     kWhite, RGB(0x0F, 0xF0, 0x55)}),
              Pixels({{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}}));
    EXPECT_FALSE(PatBlt(dc, 0, 0, 1, 1, SRCCOPY)) << "PatBlt has no source";
}

class GdiBlit : public GdiTest {
protected:
    // A 4 x 2 source: red, magenta, black, white on top; white, black, magenta, red below.
    void SetUp() override {
        GdiTest::SetUp();
        const COLORREF top[] = {kRed, kMagenta, kBlack, kWhite}, bottom[] = {kWhite, kBlack, kMagenta, kRed};
        for (int x = 0; x < 4; ++x) {
            SetPixel(m_src, x, 0, top[x]);
            SetPixel(m_src, x, 1, bottom[x]);
        }
    }
    MemoryDc m_src{4, 2};
};

TEST_F(GdiBlit, BitBltCopiesAndCombinesWithTheDestination) {
    HDC dc = Canvas(8, 4, RGB(0x0F, 0x0F, 0x0F));
    EXPECT_TRUE(BitBlt(dc, 1, 1, 4, 2, m_src, 0, 0, SRCCOPY));
    EXPECT_TRUE(BitBlt(dc, 0, 0, 1, 1, m_src, 0, 0, SRCAND));
    EXPECT_TRUE(BitBlt(dc, 0, 3, 1, 1, m_src, 0, 0, SRCINVERT));
    EXPECT_TRUE(BitBlt(dc, 7, 3, 1, 1, m_src, 0, 0, NOTSRCCOPY));
    EXPECT_EQ((std::vector<COLORREF>{kRed, kRed, RGB(0x0F, 0x0F, 0x0F), RGB(0x0F, 0, 0), RGB(0xF0, 0x0F, 0x0F),
                                     RGB(0, 0xFF, 0xFF)}),
              Pixels({{1, 1}, {4, 2}, {5, 1}, {0, 0}, {0, 3}, {7, 3}}));
}

// The key colour is skipped; the source may be a DC or a bitmap that is selected nowhere; scaling takes the
// nearest source pixel, and nothing is drawn for source columns beyond the bitmap or outside the clip.
TEST_F(GdiBlit, TransparentImageSkipsTheKeyColourAndStaysInsideItsSource) {
    HDC dc = Canvas(12, 2, RGB(0, 0xFF, 0));
    EXPECT_TRUE(TransparentImage(dc, 0, 0, 4, 2, m_src, 0, 0, 4, 2, kMagenta));
    EXPECT_EQ((std::vector<COLORREF>{kRed, RGB(0, 0xFF, 0), kBlack, RGB(0, 0xFF, 0)}),
              Pixels({{0, 0}, {1, 0}, {2, 0}, {2, 1}}));
    EXPECT_FALSE(TransparentImage(dc, 0, 0, 4, 2, m_src.Bitmap(), 0, 0, 4, 2, kMagenta)) << "the bitmap is selected";
    HGDIOBJ source = SelectObject(m_src, CreateBitmap(1, 1, 1, 32, nullptr));
    Clear();
    // The source rectangle is 2 pixels wider than the bitmap: those columns stay untouched.
    EXPECT_TRUE(TransparentImage(dc, 0, 0, 6, 2, source, 0, 0, 6, 2, kMagenta));
    DeleteObject(SelectObject(m_src, source));
    EXPECT_EQ(".#.###", Row(0, kWhite, 0, 6));
    EXPECT_EQ("#.#.##", Row(1, kWhite, 0, 6));
    EXPECT_EQ(kRed, GetPixel(dc, 3, 1));
    // Half size: every other source column and row; black is the key this time.
    EXPECT_TRUE(TransparentImage(dc, 6, 0, 2, 1, m_src, 0, 0, 4, 2, kBlack));
    EXPECT_EQ(kRed, GetPixel(dc, 6, 0));
    EXPECT_EQ(kWhite, GetPixel(dc, 7, 0));
    // Clipped to column 11, where source column 1 lands: magenta (skipped) above black.
    IntersectClipRect(dc, 11, 0, 12, 2);
    EXPECT_TRUE(TransparentImage(dc, 10, 0, 4, 2, m_src, 0, 0, 4, 2, kMagenta));
    SelectClipRgn(dc, nullptr);
    EXPECT_EQ("##", Row(0, kWhite, 10, 12));
    EXPECT_EQ("#.", Row(1, kWhite, 10, 12));
    EXPECT_EQ(kBlack, GetPixel(dc, 11, 1));
}

// Blits within the screen: rows moving up and down by less or more than they span, whole width or part of it,
// under a clip, each leaving every pixel where a plain copy would; then the screen still reads as one block.
TEST_F(GdiDraw, BlitsWithinTheScreenLeaveEveryPixelWhereACopyWould) {
    const int w = 16, h = 40;
    ASSERT_TRUE(cehost::sim::SetScreenSize(w, h));
    HDC screen = GetDC(nullptr);
    std::vector<COLORREF> model(size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) SetPixel(screen, x, y, model[size_t(y) * w + x] = RGB(x, y, 7));
    struct Move { RECT to; int dy; RECT clip; };
    const Move kMoves[] = {{{0, 4, w, 30}, 6, {0, 0, w, h}},   {{0, 10, w, 36}, -6, {0, 0, w, h}},
                           {{0, 0, w, 39}, 1, {0, 0, w, h}},   {{0, 1, w, 40}, -1, {0, 0, w, h}},
                           {{0, 2, w, 8}, 20, {0, 0, w, h}},   {{2, 5, 12, 25}, 3, {0, 0, w, h}},
                           {{0, 8, w, 30}, 5, {0, 12, w, 20}}, {{0, 20, w, 38}, -2, {0, 0, w, h}}};
    for (const Move& m : kMoves) {
        IntersectClipRect(screen, m.clip.left, m.clip.top, m.clip.right, m.clip.bottom);
        BitBlt(screen, m.to.left, m.to.top, m.to.right - m.to.left, m.to.bottom - m.to.top, screen, m.to.left,
               m.to.top + m.dy, SRCCOPY);
        SelectClipRgn(screen, nullptr);
        const std::vector<COLORREF> before = model;
        for (LONG y = std::max(m.to.top, m.clip.top); y < std::min(m.to.bottom, m.clip.bottom); ++y)
            for (LONG x = m.to.left; x < m.to.right; ++x) model[size_t(y) * w + x] = before[size_t(y + m.dy) * w + x];
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(model[size_t(y) * w + x], GetPixel(screen, x, y)) << "after moving rows " << m.to.top << "-"
                                                                             << m.to.bottom << " by " << m.dy;
    }
    const uint32_t* block = cehost::sim::ScreenPixels();
    for (int i = 0; i < w * h; ++i)
        ASSERT_EQ(model[size_t(i)], RGB(BYTE(block[i] >> 16), BYTE(block[i] >> 8), BYTE(block[i]))) << "pixel " << i;
    EXPECT_EQ(1, ReleaseDC(nullptr, screen));
}

TEST_F(GdiDraw, ScreenDcAndViewportOrigin) {
    // The screen's DC follows the screen's size (every screenshot test reads what it draws).
    ASSERT_TRUE(cehost::sim::SetScreenSize(32, 40));
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(32, GetDeviceCaps(screen, HORZRES));
    EXPECT_EQ(CLR_INVALID, GetPixel(screen, 32, 38));
    EXPECT_EQ(1, ReleaseDC(nullptr, screen));
    HDC dc = Canvas(6, 6);
    SetViewportOrgEx(dc, 2, 3, nullptr);
    Fill(dc, {0, 0, 1, 1}, kBlack);
    EXPECT_EQ(kBlack, GetPixel(dc, 0, 0));
    SetViewportOrgEx(dc, 0, 0, nullptr);
    EXPECT_EQ((RECT{2, 3, 3, 4}), InkBounds());
}

TEST_F(GdiDraw, SystemColoursAndTheirPermanentBrushes) {
    const int colorBtnFace = 15, flag = 0x40000000;
    EXPECT_EQ(GetSysColor(colorBtnFace), GetSysColor(colorBtnFace | flag));
    HBRUSH face = GetSysColorBrush(colorBtnFace | flag);
    EXPECT_EQ(face, GetSysColorBrush(colorBtnFace));
    EXPECT_TRUE(DeleteObject(face));
    EXPECT_EQ(face, GetSysColorBrush(colorBtnFace));
    EXPECT_EQ(DWORD(OBJ_BRUSH), GetObjectType(face)) << "not deleted, nor counted: the fixture checks";
}

// SelectObject returns the previous object of the same kind; deleting a selected object fails and keeps it.
TEST_F(GdiObjects, SelectionAndDeletion) {
    HDC dc = Canvas(4, 4);
    HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, red);
    EXPECT_EQ(GetStockObject(BLACK_PEN), oldPen);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HGDIOBJ old = SelectObject(dc, brush);
    EXPECT_EQ(GetStockObject(WHITE_BRUSH), old);
    EXPECT_EQ(red, SelectObject(dc, oldPen));
    EXPECT_TRUE(DeleteObject(red));
    EXPECT_FALSE(DeleteObject(brush));
    LOGBRUSH lb{};
    ASSERT_EQ(int(sizeof lb), GetObjectW(brush, sizeof lb, &lb)) << "the brush must still exist";
    EXPECT_EQ(RGB(1, 2, 3), lb.lbColor);
    SelectObject(dc, old);
    EXPECT_TRUE(DeleteObject(brush));
    // A deleted handle stays invalid, also once its slot holds a new object.
    HBRUSH next = CreateSolidBrush(RGB(4, 5, 6));
    EXPECT_EQ(0, GetObjectW(brush, sizeof lb, &lb));
    EXPECT_EQ(0u, GetObjectType(brush));
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_TRUE(DeleteObject(next));
}

TEST_F(GdiObjects, StockObjectsAreNotCountedAndSurviveDeletion) {
    for (int i : {WHITE_BRUSH, LTGRAY_BRUSH, GRAY_BRUSH, DKGRAY_BRUSH, BLACK_BRUSH, NULL_BRUSH, WHITE_PEN, BLACK_PEN,
                  NULL_PEN, SYSTEM_FONT, DEFAULT_GUI_FONT, DC_BRUSH, DC_PEN}) {
        HGDIOBJ h = GetStockObject(i);
        EXPECT_TRUE(DeleteObject(h));
        EXPECT_EQ(h, GetStockObject(i));
        EXPECT_NE(0u, GetObjectType(h));
    }
    EXPECT_EQ(m_objectsAtStart, cehost::sim::GdiObjectCount());
    EXPECT_EQ(nullptr, GetStockObject(9));
    // Regions and the screen's DC are counted until given back, as everything else is (the conformance suite
    // counts brushes, pens, fonts, bitmaps and memory DCs against the real thing).
    HRGN rgn = CreateRectRgn(0, 0, 2, 2);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(m_objectsAtStart + 2, cehost::sim::GdiObjectCount());
    EXPECT_EQ(1, ReleaseDC(nullptr, screen));
    EXPECT_TRUE(DeleteObject(rgn));
}

TEST_F(GdiObjects, ABitmapLivesInOneMemoryDcAtATime) {
    HDC a = CreateCompatibleDC(nullptr);
    HDC b = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(a, 2, 2);
    HGDIOBJ oldA = SelectObject(a, bmp);
    EXPECT_EQ(OBJ_BITMAP, GetObjectType(oldA)) << "a fresh memory DC holds a default bitmap";
    EXPECT_EQ(nullptr, SelectObject(b, bmp));
    SelectObject(a, oldA);
    HGDIOBJ oldB = SelectObject(b, bmp);
    EXPECT_NE(nullptr, oldB);
    // Deleting the DC releases the selection.
    DeleteDC(b);
    EXPECT_TRUE(DeleteObject(bmp));
    DeleteDC(a);
}

// DC state: bad values and handles refused, and SaveDC/RestoreDC bringing back objects, colours, mode and
// position.
TEST_F(GdiObjects, DcStateSettersAndRestoreDc) {
    HDC dc = Canvas(2, 2);
    EXPECT_EQ(0, SetBkMode(dc, 7)) << "not a mode";
    EXPECT_EQ(0, SetBkMode(reinterpret_cast<HDC>(0x1234), TRANSPARENT)) << "a bad DC handle";
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    int level = SaveDC(dc);
    EXPECT_EQ(1, level);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    SetTextColor(dc, RGB(9, 9, 9));
    SetBkMode(dc, TRANSPARENT);
    MoveToEx(dc, 3, 4, nullptr);
    EXPECT_EQ(2, SaveDC(dc));
    SetTextColor(dc, RGB(7, 7, 7));
    EXPECT_TRUE(RestoreDC(dc, -1));
    EXPECT_EQ(RGB(9, 9, 9), GetTextColor(dc));
    EXPECT_TRUE(RestoreDC(dc, level));
    EXPECT_EQ(oldPen, GetCurrentObject(dc, OBJ_PEN));
    EXPECT_EQ(RGB(0, 0, 0), GetTextColor(dc));
    EXPECT_EQ(OPAQUE, GetBkMode(dc));
    POINT p;
    MoveToEx(dc, 5, 6, &p);
    EXPECT_EQ(0, p.x);
    MoveToEx(dc, 7, 8, &p);
    EXPECT_EQ((std::pair<LONG, LONG>(5, 6)), std::pair(p.x, p.y));
    EXPECT_FALSE(RestoreDC(dc, 1)) << "nothing is saved any more";
    EXPECT_TRUE(DeleteObject(pen)) << "restoring deselected the pen";
}

TEST_F(GdiObjects, ClipRegionsLimitDrawingAndAreCopiedBySelectClipRgn) {
    HDC dc = Canvas(10, 10);
    HRGN rgn = CreateRectRgn(2, 2, 5, 5);
    EXPECT_EQ(SIMPLEREGION, SelectClipRgn(dc, rgn));
    EXPECT_TRUE(DeleteObject(rgn)) << "the DC keeps its own copy";
    RECT box;
    EXPECT_EQ(SIMPLEREGION, GetClipBox(dc, &box));
    EXPECT_EQ((RECT{2, 2, 5, 5}), box);
    EXPECT_EQ(COMPLEXREGION, ExcludeClipRect(dc, 3, 3, 4, 4));
    Fill(dc, {0, 0, 10, 10}, RGB(0, 0, 0));
    EXPECT_EQ(CLR_INVALID, GetPixel(dc, 3, 3)) << "outside the clip";
    SelectClipRgn(dc, nullptr);
    EXPECT_EQ(8, CountPixels(RGB(0, 0, 0))) << "the 3 x 3 square without its centre";
    EXPECT_EQ((RECT{2, 2, 5, 5}), InkBounds());
    EXPECT_EQ(NULLREGION, IntersectClipRect(dc, 20, 20, 30, 30));
}

// Two overlapping squares, (0,0)-(4,4) and (2,2)-(6,6): each operation's kind, box, and a point in and out.
TEST_F(GdiObjects, CombineRgnOperations) {
    HRGN a = CreateRectRgn(0, 0, 4, 4), b = CreateRectRgn(2, 2, 6, 6), d = CreateRectRgn(0, 0, 0, 0);
    const struct {
        int mode, kind;
        RECT box;
        POINT in, out;
    } cases[] = {{RGN_AND, SIMPLEREGION, {2, 2, 4, 4}, {3, 3}, {1, 1}},
                 {RGN_OR, COMPLEXREGION, {0, 0, 6, 6}, {5, 5}, {5, 0}},
                 {RGN_DIFF, COMPLEXREGION, {0, 0, 4, 4}, {1, 3}, {3, 3}},
                 {RGN_XOR, COMPLEXREGION, {0, 0, 6, 6}, {5, 5}, {3, 3}}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.kind, CombineRgn(d, a, b, c.mode)) << c.mode;
        RECT box;
        GetRgnBox(d, &box);
        EXPECT_EQ(c.box, box) << c.mode;
        EXPECT_TRUE(PtInRegion(d, c.in.x, c.in.y)) << c.mode;
        EXPECT_FALSE(PtInRegion(d, c.out.x, c.out.y)) << c.mode;
    }
    for (HRGN r : {a, b, d}) DeleteObject(r);
}

TEST_F(GdiObjects, DibSectionSharesItsMemoryBottomUp) {
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), 3, 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(nullptr, bits);
    MemoryDc dc(dib);
    SetPixel(dc, 0, 0, RGB(0x11, 0x22, 0x33));
    // Bottom-up: the top row is the last one in memory; pixels are B, G, R, A bytes.
    const auto* bytes = static_cast<uint8_t*>(bits) + 3 * 4;
    EXPECT_EQ((std::vector<uint8_t>{0x33, 0x22, 0x11}), std::vector<uint8_t>(bytes, bytes + 3));
    bi.bmiHeader.biBitCount = 8;
    EXPECT_EQ(nullptr, CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
}
