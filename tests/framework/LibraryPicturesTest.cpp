// The library's own pictures, loaded from the library module the way its controls load them: sizes, depths,
// the Korean language block, and a few pixels that tell each picture from its neighbours.
#include <gtest/gtest.h>

#include "LxLibrary.h"

namespace {

struct Picture {
    int id, width, height, bits;
};

constexpr Picture kPictures[] = {
    {9960, 1135, 37, 24}, {9961, 424, 26, 24},  {9962, 424, 26, 24},  {9963, 30, 25, 24},  {9964, 30, 25, 24},
    {9965, 30, 25, 24},   {9966, 30, 25, 24},   {9967, 30, 25, 24},   {9968, 30, 25, 24},  {9969, 424, 225, 24},
    {9970, 424, 236, 24}, {9973, 30, 25, 24},   {9974, 30, 25, 24},   {9975, 18, 18, 4},   {9976, 18, 18, 4},
    {9977, 30, 25, 24},   {9978, 30, 25, 24},   {9979, 18, 18, 4},    {9980, 18, 18, 4},   {9981, 30, 25, 24},
    {9982, 1130, 26, 24}, {9983, 1135, 26, 24},
};

// Reads one pixel of a library bitmap through a memory DC.
COLORREF PixelOf(int id, int x, int y) {
    HBITMAP bitmap = LoadBitmapW(LxGetLibraryModule(), MAKEINTRESOURCEW(id));
    if (!bitmap) return CLR_INVALID;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF colour = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return colour;
}

TEST(LibraryPictures, EveryBitmapHasItsSizeAndDepthInTheKoreanBlock) {
    HINSTANCE library = LxGetLibraryModule();
    ASSERT_NE(library, nullptr);
    for (const Picture& p : kPictures) {
        SCOPED_TRACE(p.id);
        HRSRC found = FindResourceExW(library, RT_BITMAP, MAKEINTRESOURCEW(p.id), MAKELANGID(LANG_KOREAN, SUBLANG_KOREAN));
        ASSERT_NE(found, nullptr);
        // The depth is the stored picture's; loaded bitmaps live in the screen's 32-bit format.
        const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(library, found)));
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->biBitCount, p.bits);
        HBITMAP bitmap = LoadBitmapW(library, MAKEINTRESOURCEW(p.id));
        ASSERT_NE(bitmap, nullptr);
        BITMAP info{};
        ASSERT_EQ(GetObjectW(bitmap, sizeof(info), &info), int(sizeof(info)));
        EXPECT_EQ(info.bmWidth, p.width);
        EXPECT_EQ(info.bmHeight, p.height);
        DeleteObject(bitmap);
    }
    EXPECT_EQ(LoadBitmapW(library, MAKEINTRESOURCEW(9971)), nullptr); // the icon group, not a bitmap
    HICON icon = LoadIconW(library, MAKEINTRESOURCEW(9971));
    EXPECT_NE(icon, nullptr);
    DestroyIcon(icon);
}

TEST(LibraryPictures, PixelsTellThePicturesApart) {
    const COLORREF magenta = RGB(255, 0, 255);
    // Arrows: magenta around a white, grey or yellow triangle.
    EXPECT_EQ(PixelOf(9963, 0, 0), magenta);
    EXPECT_EQ(PixelOf(9963, 15, 12), RGB(255, 255, 255));
    EXPECT_EQ(PixelOf(9965, 15, 12), RGB(0x80, 0x80, 0x80));
    EXPECT_EQ(PixelOf(9968, 15, 12), RGB(255, 255, 0));
    // Row backgrounds: black for the selected row, 0x272727 between a lighter top and a darker bottom line.
    EXPECT_EQ(PixelOf(9983, 500, 13), RGB(0, 0, 0));
    EXPECT_EQ(PixelOf(9982, 500, 0), RGB(0x58, 0x58, 0x58));
    EXPECT_EQ(PixelOf(9982, 500, 13), RGB(0x27, 0x27, 0x27));
    EXPECT_EQ(PixelOf(9982, 500, 25), RGB(0x18, 0x18, 0x18));
    EXPECT_EQ(PixelOf(9962, 200, 13), RGB(0x27, 0x27, 0x27));
    EXPECT_EQ(PixelOf(9961, 200, 13), RGB(0, 0, 0));
    // Dark backgrounds, and the fully transparent blanks.
    EXPECT_EQ(PixelOf(9969, 200, 100), RGB(0x27, 0x27, 0x27));
    EXPECT_EQ(PixelOf(9970, 200, 100), RGB(0, 0, 0));
    EXPECT_EQ(PixelOf(9979, 9, 9), magenta);
    EXPECT_EQ(PixelOf(9980, 0, 17), magenta);
    // The two key caps are the same picture.
    for (int y = 0; y < 25; y += 3)
        for (int x = 0; x < 30; x += 3) EXPECT_EQ(PixelOf(9977, x, y), PixelOf(9978, x, y)) << x << "," << y;
}

} // namespace
