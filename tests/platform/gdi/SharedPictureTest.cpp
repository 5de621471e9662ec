// Loads of one picture resource share its decoded pixels, yet every handle behaves as a bitmap of its own: a
// handle that is drawn on changes neither the other handles nor the next load.
#include "GdiTestSupport.h"
#include "resources/TestResources.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kGreen = RGB(0, 255, 0), kDrawn = RGB(1, 2, 3);

// Every way of writing into a memory DC's bitmap, each painting (0,0) with kDrawn.
const std::pair<const char*, std::function<void(HDC)>> kWriters[] = {
    {"FillRect", [](HDC dc) {
         RECT r{0, 0, 1, 1};
         HBRUSH b = CreateSolidBrush(kDrawn);
         FillRect(dc, &r, b);
         DeleteObject(b);
     }},
    {"SetPixel", [](HDC dc) { SetPixel(dc, 0, 0, kDrawn); }},
    {"PatBlt", [](HDC dc) {
         HBRUSH b = CreateSolidBrush(kDrawn);
         HGDIOBJ old = SelectObject(dc, b);
         PatBlt(dc, 0, 0, 1, 1, PATCOPY);
         DeleteObject(SelectObject(dc, old));
     }},
    {"BitBlt", [](HDC dc) {
         HDC screen = GetDC(nullptr);
         SetPixel(screen, 0, 0, kDrawn);
         BitBlt(dc, 0, 0, 1, 1, screen, 0, 0, SRCCOPY);
         ReleaseDC(nullptr, screen);
     }},
    {"LineTo", [](HDC dc) {
         HPEN p = CreatePen(PS_SOLID, 1, kDrawn);
         HGDIOBJ old = SelectObject(dc, p);
         MoveToEx(dc, 0, 0, nullptr);
         LineTo(dc, 1, 0);
         DeleteObject(SelectObject(dc, old));
     }},
};

} // namespace

class SharedPictures : public GdiTest {};

TEST_F(SharedPictures, DrawingOnOneLoadLeavesTheOthersAsDecoded) {
    HINSTANCE self = GetModuleHandleW(nullptr);
    for (const auto& [name, write] : kWriters) {
        long before = cehost::sim::GdiObjectCount();
        HBITMAP a = LoadBitmapW(self, MAKEINTRESOURCEW(IDB_PIC24));
        HBITMAP b = LoadBitmapW(self, MAKEINTRESOURCEW(IDB_PIC24));
        ASSERT_TRUE(a && b && a != b) << name;
        EXPECT_EQ(before + 2, cehost::sim::GdiObjectCount()) << name;
        HDC da = CreateCompatibleDC(nullptr), db = CreateCompatibleDC(nullptr);
        HGDIOBJ oldA = SelectObject(da, a), oldB = SelectObject(db, b);
        // Another handle of the same picture as the source of a blit is read, never written.
        BitBlt(da, 1, 0, 1, 1, db, 1, 0, SRCCOPY);
        write(da);
        EXPECT_EQ(kDrawn, GetPixel(da, 0, 0)) << name;
        EXPECT_EQ(kRed, GetPixel(db, 0, 0)) << name;
        EXPECT_EQ(kGreen, GetPixel(da, 1, 0)) << name;
        HBITMAP c = LoadBitmapW(self, MAKEINTRESOURCEW(IDB_PIC24));
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ oldC = SelectObject(dc, c);
        EXPECT_EQ(kRed, GetPixel(dc, 0, 0)) << name << ": a later load sees the drawing";
        SelectObject(dc, oldC);
        SelectObject(da, oldA);
        SelectObject(db, oldB);
        DeleteDC(da);
        DeleteDC(db);
        DeleteDC(dc);
        for (HBITMAP h : {a, b, c}) EXPECT_TRUE(DeleteObject(h));
        EXPECT_EQ(before, cehost::sim::GdiObjectCount()) << name;
    }
}

TEST_F(SharedPictures, AnIconOutlivesAnotherLoadOfItsResource) {
    HINSTANCE self = GetModuleHandleW(nullptr);
    HICON a = static_cast<HICON>(LoadImageW(self, MAKEINTRESOURCEW(IDI_TEST), IMAGE_ICON, 16, 16, 0));
    HICON b = static_cast<HICON>(LoadImageW(self, MAKEINTRESOURCEW(IDI_TEST), IMAGE_ICON, 16, 16, 0));
    ASSERT_TRUE(a && b && a != b);
    HDC screen = GetDC(nullptr);
    RECT r{0, 0, 16, 16};
    std::vector<COLORREF> drawn;
    for (HICON icon : {a, b}) {
        FillRect(screen, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        EXPECT_TRUE(DrawIconEx(screen, 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL));
        for (int i = 0; i < 16; ++i) drawn.push_back(GetPixel(screen, i, i));
        if (icon == a) {
            EXPECT_TRUE(DestroyIcon(a));
        }
    }
    EXPECT_TRUE(std::equal(drawn.begin(), drawn.begin() + 16, drawn.begin() + 16));
    EXPECT_NE(std::count(drawn.begin(), drawn.end(), RGB(0, 0, 0)), 32) << "the icon drew nothing";
    EXPECT_TRUE(DestroyIcon(b));
    ReleaseDC(nullptr, screen);
}

// A blit within one bitmap reads every source pixel before it is overwritten, whichever way it moves and
// whether the clip is one rectangle or several.
TEST_F(SharedPictures, BlitsWithinOneBitmapMoveItsPixelsIntact) {
    const POINT kMoves[] = {{0, 3}, {0, -3}, {2, 0}, {-2, 0}, {2, 3}, {-2, -3}};
    for (bool holed : {false, true})
        for (const POINT& move : kMoves) {
            HDC dc = CreateCompatibleDC(nullptr);
            HBITMAP bmp = CreateCompatibleBitmap(dc, 12, 12);
            HGDIOBJ old = SelectObject(dc, bmp);
            auto colour = [](int x, int y) { return RGB(x * 20, y * 20, 7); };
            for (int y = 0; y < 12; ++y)
                for (int x = 0; x < 12; ++x) SetPixel(dc, x, y, colour(x, y));
            if (holed) ExcludeClipRect(dc, 6, 6, 7, 7);
            BitBlt(dc, 4 + move.x, 4 + move.y, 4, 4, dc, 4, 4, SRCCOPY);
            for (int y = 0; y < 4; ++y)
                for (int x = 0; x < 4; ++x) {
                    int dx = 4 + move.x + x, dy = 4 + move.y + y;
                    if (holed && dx == 6 && dy == 6) continue;
                    EXPECT_EQ(colour(4 + x, 4 + y), GetPixel(dc, dx, dy))
                        << "move " << move.x << "," << move.y << (holed ? " holed" : "") << " at " << x << "," << y;
                }
            SelectObject(dc, old);
            DeleteObject(bmp);
            DeleteDC(dc);
        }
}
