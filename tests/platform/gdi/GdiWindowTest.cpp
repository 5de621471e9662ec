// GDI on the screen: window and client DCs, the implicit clipping of children, painting DCs; a golden image of
// the drawing primitives (text in the library's font is in the controls' and the notebook's goldens), and PNG
// screenshots of the framebuffer read back.
#include "GdiTestSupport.h"
#include "GoldenImage.h"
#include "QueueInput.h"

using lxtest::ScreenPixel;

class GdiWindow : public GdiTest {
protected:
    // Windows of a class without a background brush: the tests paint every pixel themselves.
    void SetUp() override {
        GdiTest::SetUp();
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.lpszClassName = u"GdiWindowTest";
        RegisterClassW(&wc);
        cehost::sim::RunUntilIdle(); // the desktop's pending paint, left by an earlier test, before the white
        HDC screen = GetDC(nullptr);
        Fill(screen, {0, 0, 240, 320}, kWhite);
        ReleaseDC(nullptr, screen);
    }
    HWND Top(int x, int y, int w, int h, DWORD style = 0) {
        HWND top = CreateWindowExW(0, u"GdiWindowTest", u"", WS_POPUP | WS_VISIBLE | style, x, y, w, h, nullptr,
                                   nullptr, nullptr, nullptr);
        cehost::sim::RunUntilIdle();
        return top;
    }
};

// A client DC starts inside the border and draws around children; a window DC covers the border too; the DCs
// of a destroyed window are refused.
TEST_F(GdiWindow, ClientAndWindowDcsClipToTheirWindow) {
    HWND top = Top(10, 20, 100, 60, WS_BORDER);
    HWND child = CreateWindowExW(0, u"GdiWindowTest", u"", WS_CHILD | WS_VISIBLE, 5, 5, 10, 10, top, nullptr, nullptr,
                                 nullptr);
    cehost::sim::RunUntilIdle();
    HDC dc = GetDC(top);
    Fill(dc, {0, 0, 200, 200}, kRed);
    EXPECT_EQ(kRed, GetPixel(dc, 0, 0));
    EXPECT_EQ(CLR_INVALID, GetPixel(dc, 98, 0)) << "outside the client area";
    EXPECT_EQ(1, ReleaseDC(top, dc));
    EXPECT_EQ(GetSysColor(COLOR_WINDOWFRAME), ScreenPixel(10, 20)) << "the border is not the client's";
    EXPECT_EQ(kRed, ScreenPixel(11, 21));
    EXPECT_EQ(kRed, ScreenPixel(108, 78));
    EXPECT_EQ(kWhite, ScreenPixel(110, 20)) << "clipped to the window: the screen around it is untouched";
    EXPECT_EQ(kWhite, ScreenPixel(16 + 2, 26 + 2)) << "the child is not painted over";
    HDC window = GetWindowDC(top);
    Fill(window, {0, 0, 1, 1}, kBlue);
    ReleaseDC(top, window);
    EXPECT_EQ(kBlue, ScreenPixel(10, 20));
    DestroyWindow(child);
    DestroyWindow(top);
    EXPECT_EQ(nullptr, GetDC(top));
    EXPECT_EQ(0, ReleaseDC(top, nullptr));
}

TEST_F(GdiWindow, PaintingIsClippedToTheUpdateRegion) {
    HWND top = Top(0, 0, 100, 100);
    HDC dc = GetDC(top);
    Fill(dc, {0, 0, 100, 100}, kWhite);
    ReleaseDC(top, dc);
    RECT part{10, 10, 20, 20};
    InvalidateRect(top, &part, FALSE);
    PAINTSTRUCT ps;
    HDC paint = BeginPaint(top, &ps);
    Fill(paint, {0, 0, 100, 100}, kBlue);
    EndPaint(top, &ps);
    EXPECT_EQ(kBlue, ScreenPixel(15, 15));
    EXPECT_EQ(kWhite, ScreenPixel(25, 25));
    DestroyWindow(top);
}

using Golden = GdiTest;

TEST_F(Golden, Primitives) {
    HDC dc = Canvas(120, 80, RGB(0x27, 0x27, 0x27));
    Fill(dc, {4, 4, 40, 30}, RGB(0x96, 0x96, 0x96));
    Selected frame(dc, CreatePen(PS_SOLID, 1, RGB(0xAA, 0xAA, 0xAA)));
    Selected fill(dc, CreateSolidBrush(RGB(0, 0x60, 0xC0)));
    Rectangle(dc, 44, 4, 80, 30);
    Selected dash(dc, CreatePen(PS_DASH, 1, kWhite));
    MoveToEx(dc, 4, 36, nullptr);
    LineTo(dc, 116, 36);
    LineTo(dc, 84, 76);
    Selected wide(dc, CreatePen(PS_SOLID, 3, RGB(255, 128, 0)));
    POINT zig[] = {{4, 70}, {20, 44}, {36, 70}, {52, 44}};
    Polyline(dc, zig, 4);
    // A magenta-keyed sprite, drawn 1:1 and doubled.
    MemoryDc sprite(6, 6);
    Fill(sprite, {0, 0, 6, 6}, kMagenta);
    Fill(sprite, {1, 1, 5, 5}, RGB(0, 200, 0));
    SetPixel(sprite, 2, 2, kMagenta);
    TransparentImage(dc, 86, 4, 6, 6, sprite, 0, 0, 6, 6, kMagenta);
    TransparentImage(dc, 96, 4, 12, 12, sprite, 0, 0, 6, 6, kMagenta);
    EXPECT_TRUE(golden::BitmapMatches("gdi_primitives", m_canvas->Bitmap()));
    // The comparison itself can fail: one changed pixel, or a golden that is not there.
    if (std::getenv("UPDATE_GOLDENS")) return;
    SetPixel(dc, 3, 3, RGB(1, 2, 3));
    EXPECT_FALSE(golden::BitmapMatches("gdi_primitives", m_canvas->Bitmap()));
    EXPECT_FALSE(golden::BitmapMatches("no_such_golden", m_canvas->Bitmap()));
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
    EXPECT_EQ(std::pair(35, 10), std::pair(w, h)) << "clipped to the screen";
    EXPECT_EQ(0xC86432u, px[0]);
    EXPECT_EQ(0x0A141Eu, px[10]);
    EXPECT_FALSE(cehost::sim::SaveScreenshot("/nonexistent-folder/x.png", &error));
    EXPECT_NE(std::string::npos, error.find("nonexistent-folder")) << error;
    EXPECT_FALSE(cehost::sim::SaveScreenshotRect(dir + "/empty.png", RECT{50, 50, 60, 60}, &error));
    EXPECT_FALSE(cehost::sim::SaveWindowScreenshot(reinterpret_cast<HWND>(0x5555), dir + "/window.png", &error));
}

