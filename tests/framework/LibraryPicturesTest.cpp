// The library's own pictures, loaded from the library module the way its controls load them: sizes, depths and
// the Korean language block (their pixels are pinned by the golden screenshots of the controls and the notebook).
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
        EXPECT_EQ(std::tuple(int(info.bmWidth), int(info.bmHeight)), std::tuple(p.width, p.height));
        DeleteObject(bitmap);
    }
    EXPECT_EQ(LoadBitmapW(library, MAKEINTRESOURCEW(9971)), nullptr); // the icon group, not a bitmap
    HICON icon = LoadIconW(library, MAKEINTRESOURCEW(9971));
    EXPECT_NE(icon, nullptr);
    DestroyIcon(icon);
}

} // namespace
