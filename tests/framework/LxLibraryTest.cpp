// Text drawing in the library's font: placement of the point form, the format and rect forms, the working-buffer
// cut, and a device context handed back exactly as it came. The library's own pictures, loaded from the library
// module the way its controls load them: sizes, depths and the Korean language block (their pixels are pinned
// by the golden screenshots of the controls and the notebook).
#include <gtest/gtest.h>

#include <cehost/sim.h>

#include <string>
#include <tuple>

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

// A white 240 x 80 memory bitmap to draw black text into.
struct Canvas {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    Canvas() {
        HDC screen = GetDC(nullptr);
        bitmap = CreateCompatibleBitmap(screen, 240, 80);
        ReleaseDC(nullptr, screen);
        previous = SelectObject(dc, bitmap);
        RECT all = {0, 0, 240, 80};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SetTextColor(dc, RGB(0, 0, 0));
    }
    ~Canvas() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    // Bounding box of every pixel that is not white; empty when nothing was drawn.
    RECT Ink() const {
        RECT box = {240, 80, 0, 0};
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 240; ++x)
                if (GetPixel(dc, x, y) != RGB(255, 255, 255)) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        return box;
    }
    std::string Pixels() const {
        std::string all;
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 240; ++x) all.push_back(GetPixel(dc, x, y) == RGB(255, 255, 255) ? '.' : '#');
        return all;
    }
};

} // namespace

TEST(DrawText, PointFormPutsTheTopLeftCornerAtLeftTopInsideTheTextExtent) {
    Canvas canvas;
    const long objects = cehost::sim::GdiObjectCount();
    EXPECT_GT(LxDrawText(canvas.dc, u"Hello 한글", 10, 5, 18), 0);
    const RECT ink = canvas.Ink();
    ASSERT_LT(ink.left, ink.right) << "nothing was drawn";
    EXPECT_TRUE(5 <= ink.left && ink.left <= 8) << ink.left;
    EXPECT_TRUE(10 <= ink.top && ink.top <= 10 + 18) << ink.top;
    EXPECT_EQ(cehost::sim::GdiObjectCount(), objects);
}

TEST(DrawText, FormatAndRectFormsPercentSignsEmptyTextAndTheCutAt127Characters) {
    RECT rect = {0, 0, 240, 40};
    Canvas formatted, literal, plain, percent;
    LxDrawText(formatted.dc, u"%d", 42, &rect, DT_LEFT | DT_TOP, 18);
    LxDrawText(plain.dc, u"42", &rect, DT_LEFT | DT_TOP, 18);
    EXPECT_EQ(formatted.Pixels(), plain.Pixels());
    LxDrawText(literal.dc, u"%d %%", &rect, DT_LEFT | DT_TOP, 18);
    LxDrawText(percent.dc, u"42 %", &rect, DT_LEFT | DT_TOP, 18);
    EXPECT_NE(literal.Pixels(), percent.Pixels());
    EXPECT_LT(literal.Ink().left, literal.Ink().right);
    Canvas empty; // empty text draws nothing and answers the line height
    EXPECT_GT(LxDrawText(empty.dc, u"", &rect, DT_LEFT, 18), 0);
    EXPECT_GE(empty.Ink().left, empty.Ink().right);
    // Long text is cut at 127 characters, without overrun.
    std::u16string longText(300, u'i'), cut(127, u'i');
    RECT wide = {0, 0, 4000, 40};
    Canvas a, b;
    LxDrawText(a.dc, longText.c_str(), &wide, DT_LEFT | DT_SINGLELINE, 14);
    LxDrawText(b.dc, cut.c_str(), &wide, DT_LEFT | DT_SINGLELINE, 14);
    EXPECT_EQ(a.Pixels(), b.Pixels());
    Canvas c;
    const std::u16string format = std::u16string(200, u'x') + u"%d";
    EXPECT_GT(LxDrawText(c.dc, format.c_str(), 7, &wide, DT_LEFT, 14), 0);
}

TEST(DrawText, DeviceContextComesBackWithItsFontModeAndColour) {
    Canvas canvas;
    HGDIOBJ font = GetStockObject(SYSTEM_FONT);
    HGDIOBJ before = SelectObject(canvas.dc, font);
    SetBkMode(canvas.dc, OPAQUE);
    SetTextColor(canvas.dc, RGB(1, 2, 3));
    RECT rect = {0, 0, 240, 40};
    const long objects = cehost::sim::GdiObjectCount();
    LxDrawText(canvas.dc, u"abc", &rect, DT_CENTER | DT_VCENTER, 18);
    LxDrawText(canvas.dc, u"%d", 5, &rect, DT_LEFT, 14);
    LxDrawText(canvas.dc, u"abc", 1, 1, 20);
    EXPECT_EQ(std::tuple(GetCurrentObject(canvas.dc, OBJ_FONT), GetBkMode(canvas.dc), GetTextColor(canvas.dc)),
              std::tuple(font, int(OPAQUE), COLORREF(RGB(1, 2, 3))));
    EXPECT_EQ(cehost::sim::GdiObjectCount(), objects);
    SelectObject(canvas.dc, before);
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
        EXPECT_EQ(std::tuple(int(info.bmWidth), int(info.bmHeight)), std::tuple(p.width, p.height));
        DeleteObject(bitmap);
    }
    EXPECT_EQ(LoadBitmapW(library, MAKEINTRESOURCEW(9971)), nullptr); // the icon group, not a bitmap
    HICON icon = LoadIconW(library, MAKEINTRESOURCEW(9971));
    EXPECT_NE(icon, nullptr);
    DestroyIcon(icon);
}
