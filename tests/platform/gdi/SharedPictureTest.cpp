// Transparent transfers of a shared picture (which copy its precomputed runs) against the same pixels held
// privately (which test every pixel).
#include <gtest/gtest.h>
#include <windows.h>

#include <cehost/sim.h>

#include "gdi/GdiObjects.h"

#include <vector>

namespace {

using namespace cehost::gdi;

// A 160 x 6 picture: rows without the key, rows of nothing but the key, and rows where it starts, ends and
// interrupts the picture (once in a word whose alpha differs, which the key ignores); row 3 has runs of every
// length class a run is copied by, row 4 one of 100 pixels.
constexpr int kW = 160, kH = 6;
std::vector<uint32_t> Picture(uint32_t key) {
    std::vector<bool> row3(kW, true);
    int at = 0;
    for (int length : {1, 2, 3, 5, 7, 8, 9, 15, 16, 17, 31, 33}) {
        for (int k = 0; k < length; ++k) row3[size_t(at + k)] = false;
        at += length + 1;
    }
    std::vector<uint32_t> p(size_t(kW) * kH);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            uint32_t v = 0xFF000000u | uint32_t(x * 7 + y * 40) << 8 | uint32_t(y * 30);
            const bool keyed = y == 1 || (y == 2 && (x < 3 || x > kW - 4 || x % 5 == 0)) || (y == 3 && row3[size_t(x)]) ||
                               (y == 4 && (x < 2 || x >= 102)) || (y == 5 && x % 9 < 5);
            p[size_t(y) * kW + x] = keyed ? (x == 20 ? key & 0x00FFFFFFu : key) : v;
        }
    return p;
}

TEST(SharedPicture, TransparentImageOfASharedPictureDrawsAsOfAPrivateCopy) {
    const uint32_t magenta = 0xFFFF00FFu, green = 0xFF00FF00u;
    struct Case {
        uint32_t key; // transparent colour as a pixel
        LONG x, y, w, h, srcX, srcY;
        bool hole; // a clip rectangle excluded inside the destination
        bool byHandle; // the bitmap handed over directly rather than through a DC
    };
    const Case kCases[] = {
        {magenta, 0, 0, kW, kH, 0, 0, false, false},   // whole picture
        {magenta, 10, 3, kW, kH, 0, 0, false, true},   // whole picture, handed over directly
        {magenta, 5, 2, 20, 4, 9, 1, true, false},     // part of it, clipped around a hole
        {magenta, 7, 2, 120, 4, 30, 1, true, false},   // long runs cut by the hole
        {magenta, -4, 3, 30, 6, -3, -2, false, true},  // source and destination partly outside
        {magenta, 150, 1, 40, 6, 100, 0, false, false}, // runs past the canvas's right edge
        {green, 1, 1, kW, kH, 0, 0, true, false},      // another key: none of its colour is there
    };
    const int kCanvasW = 180, kCanvasH = 12;
    for (const Case& c : kCases) {
        const long objects = cehost::sim::GdiObjectCount();
        const std::vector<uint32_t> pixels = Picture(magenta);
        HBITMAP shared = CreateBitmapSharing(kW, kH, MakeSharedPixels(kW, kH, pixels.data()));
        HBITMAP own = CreateBitmapFromPixels(kW, kH, pixels.data());
        std::vector<COLORREF> drawn[2];
        for (int pass = 0; pass < 2; ++pass) {
            HBITMAP source = pass == 0 ? shared : own;
            HDC canvas = CreateCompatibleDC(nullptr), from = CreateCompatibleDC(nullptr);
            HBITMAP target = CreateCompatibleBitmap(canvas, kCanvasW, kCanvasH);
            HGDIOBJ old = SelectObject(canvas, target);
            for (int y = 0; y < kCanvasH; ++y)
                for (int x = 0; x < kCanvasW; ++x) SetPixel(canvas, x, y, RGB(x * 5, y * 20, 99));
            if (c.hole) ExcludeClipRect(canvas, c.x + 3, c.y + 1, c.x + 9, c.y + 2);
            HGDIOBJ oldFrom = c.byHandle ? nullptr : SelectObject(from, source);
            EXPECT_TRUE(TransparentImage(canvas, c.x, c.y, c.w, c.h, c.byHandle ? HANDLE(source) : HANDLE(from), c.srcX,
                                         c.srcY, c.w, c.h, ToColorRef(c.key)));
            for (int y = 0; y < kCanvasH; ++y)
                for (int x = 0; x < kCanvasW; ++x) drawn[pass].push_back(GetPixel(canvas, x, y));
            if (oldFrom) SelectObject(from, oldFrom);
            SelectObject(canvas, old);
            DeleteObject(target);
            DeleteDC(canvas);
            DeleteDC(from);
        }
        EXPECT_EQ(drawn[1], drawn[0]) << "key " << std::hex << c.key << std::dec << " at " << c.x << "," << c.y;
        std::vector<COLORREF> background;
        for (int y = 0; y < kCanvasH; ++y)
            for (int x = 0; x < kCanvasW; ++x) background.push_back(RGB(x * 5, y * 20, 99));
        EXPECT_NE(drawn[0], background) << "nothing was drawn";
        DeleteObject(shared);
        DeleteObject(own);
        EXPECT_EQ(objects, cehost::sim::GdiObjectCount());
    }
}

// The rows a scroll of the screen uncovers are copied only when something looks at them or draws over part of
// them: a picture covering them whole (row 0 of the picture has no key) drops the copy, one with holes there
// (rows 2 and up), or a clip with a hole there, must show the uncovered rows' old pixels. Each case ends as the
// same calls end on a memory bitmap, which has no row table.
TEST(SharedPicture, PicturesOverTheRowsAScrollUncoversEndAsOnABitmap) {
    const int w = kW, h = 24;
    struct Case {
        LONG top, bottom, dy; // rows [top, bottom) take rows [top + dy, bottom + dy)
        LONG pictureY;        // where the picture's top row goes
        RECT hole;            // left out of the clip while the picture is drawn
    };
    const Case kCases[] = {
        {4, 14, 1, 14, {}},             // the one uncovered row under the opaque top row: nothing to copy
        {4, 14, 1, 14, {3, 0, 9, 2}},   // the same with the clip in pieces elsewhere
        {4, 14, 1, 14, {3, 14, 9, 15}}, // the same with a hole in the uncovered row: copied
        {4, 14, 2, 14, {}},             // two uncovered rows, the second under the all-key row: copied
        {6, 16, -1, 3, {}},             // moving down, the uncovered row under a row with holes: copied
        {2, 20, 3, 17, {}},             // the picture starts below the first uncovered row: copied
    };
    const std::vector<uint32_t> pixels = Picture(0xFFFF00FFu);
    ASSERT_TRUE(cehost::sim::SetScreenSize(w, h));
    for (const Case& c : kCases) {
        const long objects = cehost::sim::GdiObjectCount();
        HBITMAP picture = CreateBitmapSharing(kW, kH, MakeSharedPixels(kW, kH, pixels.data()));
        HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(nullptr), from = CreateCompatibleDC(nullptr);
        HBITMAP canvas = CreateCompatibleBitmap(screen, w, h);
        HGDIOBJ oldCanvas = SelectObject(memory, canvas), oldFrom = SelectObject(from, picture);
        std::vector<COLORREF> drawn[2];
        for (HDC dc : {screen, memory}) {
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) SetPixel(dc, x, y, RGB(x, y * 10, 7));
            BitBlt(dc, 0, c.top, w, c.bottom - c.top, dc, 0, c.top + c.dy, SRCCOPY);
            if (!IsRectEmpty(&c.hole)) ExcludeClipRect(dc, c.hole.left, c.hole.top, c.hole.right, c.hole.bottom);
            TransparentImage(dc, 0, c.pictureY, kW, kH, from, 0, 0, kW, kH, RGB(255, 0, 255));
            SelectClipRgn(dc, nullptr);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) drawn[dc == memory].push_back(GetPixel(dc, x, y));
        }
        EXPECT_EQ(drawn[1], drawn[0]) << "rows " << c.top << "-" << c.bottom << " by " << c.dy;
        SelectObject(memory, oldCanvas);
        SelectObject(from, oldFrom);
        DeleteObject(canvas);
        DeleteObject(picture);
        DeleteDC(memory);
        DeleteDC(from);
        ReleaseDC(nullptr, screen);
        EXPECT_EQ(objects, cehost::sim::GdiObjectCount());
    }
}

} // namespace
