// Objects and DC state: selection bookkeeping, deletion rules, stock objects, SaveDC/RestoreDC, regions.
#include "GdiTestSupport.h"

#include <vector>

using GdiObjects = GdiTest;

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
    long before = cehost::sim::GdiObjectCount();
    for (int i : {WHITE_BRUSH, LTGRAY_BRUSH, GRAY_BRUSH, DKGRAY_BRUSH, BLACK_BRUSH, NULL_BRUSH, WHITE_PEN, BLACK_PEN,
                  NULL_PEN, SYSTEM_FONT, DEFAULT_GUI_FONT, DC_BRUSH, DC_PEN}) {
        HGDIOBJ h = GetStockObject(i);
        ASSERT_NE(nullptr, h) << i;
        EXPECT_TRUE(DeleteObject(h));
        EXPECT_EQ(h, GetStockObject(i));
        EXPECT_NE(0u, GetObjectType(h));
    }
    EXPECT_EQ(before, cehost::sim::GdiObjectCount());
    EXPECT_EQ(nullptr, GetStockObject(9));
    // Regions and the screen's DC are counted until given back, as everything else is (the conformance suite
    // counts brushes, pens, fonts, bitmaps and memory DCs against the real thing).
    HRGN rgn = CreateRectRgn(0, 0, 2, 2);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(before + 2, cehost::sim::GdiObjectCount());
    EXPECT_EQ(1, ReleaseDC(nullptr, screen));
    EXPECT_TRUE(DeleteObject(rgn));
    EXPECT_EQ(before, cehost::sim::GdiObjectCount());
}

TEST_F(GdiObjects, ABitmapLivesInOneMemoryDcAtATime) {
    HDC a = CreateCompatibleDC(nullptr);
    HDC b = CreateCompatibleDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(a, 2, 2);
    HGDIOBJ oldA = SelectObject(a, bmp);
    ASSERT_NE(nullptr, oldA);
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
    EXPECT_EQ(5, p.x);
    EXPECT_EQ(6, p.y);
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
    ASSERT_NE(nullptr, dib);
    ASSERT_NE(nullptr, bits);
    MemoryDc dc(dib);
    SetPixel(dc, 0, 0, RGB(0x11, 0x22, 0x33));
    // Bottom-up: the top row is the last one in memory; pixels are B, G, R, A bytes.
    const auto* bytes = static_cast<uint8_t*>(bits) + 3 * 4;
    EXPECT_EQ((std::vector<uint8_t>{0x33, 0x22, 0x11}), std::vector<uint8_t>(bytes, bytes + 3));
    bi.bmiHeader.biBitCount = 8;
    EXPECT_EQ(nullptr, CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
}
