// GDI on windows: window and client DCs, the implicit clipping of children, painting DCs.
#include "GdiTestSupport.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255);

LRESULT CALLBACK PlainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 1; // tests paint every pixel themselves
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    COLORREF c = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return c;
}

} // namespace

class GdiWindow : public GdiTest {
protected:
    void SetUp() override {
        GdiTest::SetUp();
        WNDCLASSW wc{};
        wc.lpfnWndProc = PlainProc;
        wc.lpszClassName = u"GdiWindowTest";
        RegisterClassW(&wc);
        HDC screen = GetDC(nullptr);
        Fill(screen, {0, 0, 240, 320}, kWhite);
        ReleaseDC(nullptr, screen);
    }
    void TearDown() override {
        if (m_top) DestroyWindow(m_top);
        GdiTest::TearDown();
    }
    HWND Top(int x, int y, int w, int h, DWORD style = 0) {
        m_top = CreateWindowExW(0, u"GdiWindowTest", u"", WS_POPUP | WS_VISIBLE | style, x, y, w, h, nullptr, nullptr,
                                nullptr, nullptr);
        cehost::sim::RunUntilIdle();
        return m_top;
    }
    HWND m_top = nullptr;
};

// A client DC starts inside the border and draws around children; a window DC covers the border too; the DCs
// of a destroyed window are refused.
TEST_F(GdiWindow, ClientAndWindowDcsClipToTheirWindow) {
    HWND top = Top(10, 20, 100, 60, WS_BORDER);
    HWND child = CreateWindowExW(0, u"GdiWindowTest", u"", WS_CHILD | WS_VISIBLE, 5, 5, 10, 10, top, nullptr, nullptr,
                                 nullptr);
    cehost::sim::RunUntilIdle();
    HDC dc = GetDC(top);
    ASSERT_NE(nullptr, dc);
    Fill(dc, {0, 0, 200, 200}, kRed);
    EXPECT_EQ(kRed, GetPixel(dc, 0, 0));
    EXPECT_EQ(CLR_INVALID, GetPixel(dc, 98, 0)) << "outside the client area";
    EXPECT_EQ(1, ReleaseDC(top, dc));
    EXPECT_EQ(GetSysColor(COLOR_WINDOWFRAME), ScreenPixel(10, 20)) << "the border is not the client's";
    EXPECT_EQ(kRed, ScreenPixel(11, 21));
    EXPECT_EQ(kRed, ScreenPixel(108, 78));
    EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), ScreenPixel(110, 20)) << "clipped to the window: the desktop shows";
    EXPECT_EQ(kWhite, ScreenPixel(16 + 2, 26 + 2)) << "the child is not painted over";
    HDC window = GetWindowDC(top);
    Fill(window, {0, 0, 1, 1}, kBlue);
    ReleaseDC(top, window);
    EXPECT_EQ(kBlue, ScreenPixel(10, 20));
    DestroyWindow(child);
    DestroyWindow(top);
    m_top = nullptr;
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
}
