// A golden image of the drawing primitives (text in the library's font is in the controls' and the notebook's
// goldens), and PNG screenshots of the framebuffer read back.
#include "GdiTestSupport.h"
#include "GoldenImage.h"

using Golden = GdiTest;

TEST_F(Golden, Primitives) {
    HDC dc = Canvas(120, 80, RGB(0x27, 0x27, 0x27));
    Fill(dc, {4, 4, 40, 30}, RGB(0x96, 0x96, 0x96));
    Selected frame(dc, CreatePen(PS_SOLID, 1, RGB(0xAA, 0xAA, 0xAA)));
    Selected fill(dc, CreateSolidBrush(RGB(0, 0x60, 0xC0)));
    Rectangle(dc, 44, 4, 80, 30);
    Selected dash(dc, CreatePen(PS_DASH, 1, RGB(255, 255, 255)));
    MoveToEx(dc, 4, 36, nullptr);
    LineTo(dc, 116, 36);
    LineTo(dc, 84, 76);
    Selected wide(dc, CreatePen(PS_SOLID, 3, RGB(255, 128, 0)));
    POINT zig[] = {{4, 70}, {20, 44}, {36, 70}, {52, 44}};
    Polyline(dc, zig, 4);

    // A magenta-keyed sprite, drawn 1:1 and doubled.
    MemoryDc sprite(6, 6);
    Fill(sprite, {0, 0, 6, 6}, RGB(255, 0, 255));
    Fill(sprite, {1, 1, 5, 5}, RGB(0, 200, 0));
    SetPixel(sprite, 2, 2, RGB(255, 0, 255));
    TransparentImage(dc, 86, 4, 6, 6, sprite, 0, 0, 6, 6, RGB(255, 0, 255));
    TransparentImage(dc, 96, 4, 12, 12, sprite, 0, 0, 6, 6, RGB(255, 0, 255));
    EXPECT_TRUE(golden::BitmapMatches("gdi_primitives", m_bitmap));
}

// Screenshots of a part of the screen are clipped to it; whole-screen shots are read back by the simulator's
// tests. A folder that cannot be written, a part off the screen and a window that is not there are refused.
TEST_F(GdiTest, ScreenshotsReadBackAsTheFramebuffer) {
    ASSERT_TRUE(cehost::sim::SetScreenSize(40, 30));
    HDC screen = GetDC(nullptr);
    Fill(screen, {0, 0, 40, 30}, RGB(10, 20, 30));
    Fill(screen, {5, 6, 15, 16}, RGB(200, 100, 50));
    ReleaseDC(nullptr, screen);
    const std::string dir = golden::OutputDir().string();
    std::string error;
    ASSERT_TRUE(cehost::sim::SaveScreenshotRect(dir + "/part.png", RECT{5, 6, 100, 16}, &error)) << error;
    int w = 0, h = 0;
    std::vector<uint32_t> px;
    ASSERT_TRUE(golden::ReadPng(dir + "/part.png", w, h, px));
    EXPECT_EQ(35, w) << "clipped to the screen";
    EXPECT_EQ(10, h);
    EXPECT_EQ(0xC86432u, px[0]);
    EXPECT_EQ(0x0A141Eu, px[10]);
    EXPECT_FALSE(cehost::sim::SaveScreenshot("/nonexistent-folder/x.png", &error));
    EXPECT_NE(std::string::npos, error.find("nonexistent-folder")) << error;
    EXPECT_FALSE(cehost::sim::SaveScreenshotRect(dir + "/empty.png", RECT{50, 50, 60, 60}, &error));
    EXPECT_FALSE(cehost::sim::SaveWindowScreenshot(reinterpret_cast<HWND>(0x5555), dir + "/window.png", &error));
}

// The comparison itself can fail: one changed pixel, or a golden that is not there.
TEST_F(GdiTest, AGoldenMismatchFails) {
    if (std::getenv("UPDATE_GOLDENS")) GTEST_SKIP() << "recording goldens";
    HDC dc = Canvas(120, 80, RGB(0x27, 0x27, 0x27));
    SetPixel(dc, 3, 3, RGB(1, 2, 3));
    EXPECT_FALSE(golden::BitmapMatches("gdi_primitives", m_bitmap));
    EXPECT_FALSE(golden::BitmapMatches("no_such_golden", m_bitmap));
}
