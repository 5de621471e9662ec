// GDI on windows: window and client DCs, the implicit clipping of children, painting DCs, window screenshots,
// the framebuffer following the display size, and accelerators translated into commands.
#include "GdiTestSupport.h"
#include "GoldenImage.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kWhite = RGB(255, 255, 255);

std::vector<std::pair<UINT, WPARAM>> g_commands;

LRESULT CALLBACK PlainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) g_commands.push_back({message, wParam});
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

TEST_F(GdiWindow, ClientDcDrawsInClientCoordinatesAroundChildren) {
    HWND top = Top(10, 20, 100, 60);
    ASSERT_NE(nullptr, top);
    HWND child = CreateWindowExW(0, u"GdiWindowTest", u"", WS_CHILD | WS_VISIBLE, 5, 5, 10, 10, top, nullptr, nullptr,
                                 nullptr);
    cehost::sim::RunUntilIdle();
    HDC dc = GetDC(top);
    ASSERT_NE(nullptr, dc);
    Fill(dc, {0, 0, 200, 200}, kRed);
    EXPECT_EQ(kRed, GetPixel(dc, 0, 0));
    EXPECT_EQ(CLR_INVALID, GetPixel(dc, 100, 0)) << "outside the window";
    EXPECT_EQ(1, ReleaseDC(top, dc));
    EXPECT_EQ(kRed, ScreenPixel(10, 20));
    EXPECT_EQ(kRed, ScreenPixel(109, 79));
    EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), ScreenPixel(110, 20)) << "clipped to the window: the desktop shows";
    EXPECT_EQ(kWhite, ScreenPixel(15 + 2, 25 + 2)) << "the child is not painted over";
    DestroyWindow(child);
}

TEST_F(GdiWindow, WindowDcIncludesTheBorderAndDiesWithTheWindow) {
    HWND top = Top(10, 20, 50, 30, WS_BORDER);
    HDC client = GetDC(top);
    Fill(client, {0, 0, 1, 1}, kBlue);
    ReleaseDC(top, client);
    EXPECT_EQ(kBlue, ScreenPixel(11, 21)) << "the client area starts inside the one-pixel border";
    HDC window = GetWindowDC(top);
    Fill(window, {0, 0, 1, 1}, kRed);
    ReleaseDC(top, window);
    EXPECT_EQ(kRed, ScreenPixel(10, 20));
    // The DCs of a destroyed window are refused.
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

TEST_F(GdiWindow, WindowScreenshotsCoverTheWindowRectangle) {
    HWND top = Top(30, 40, 20, 10);
    HDC dc = GetDC(top);
    Fill(dc, {0, 0, 20, 10}, kBlue);
    ReleaseDC(top, dc);
    std::string path = (golden::OutputDir() / "window.png").string();
    std::string error;
    ASSERT_TRUE(cehost::sim::SaveWindowScreenshot(top, path, &error)) << error;
    int w = 0, h = 0;
    std::vector<uint32_t> px;
    ASSERT_TRUE(golden::ReadPng(path, w, h, px));
    EXPECT_EQ(20, w);
    EXPECT_EQ(10, h);
    EXPECT_EQ(0x0000FFu, px[0]);
    EXPECT_FALSE(cehost::sim::SaveWindowScreenshot(reinterpret_cast<HWND>(0x5555), path, &error));
}

TEST_F(GdiWindow, TheFramebufferFollowsTheDisplaySize) {
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), GetDeviceCaps(screen, HORZRES));
    DEVMODEW dm{};
    dm.dmSize = sizeof dm;
    dm.dmFields = DM_DISPLAYORIENTATION;
    dm.dmDisplayOrientation = DMDO_90;
    ASSERT_EQ(DISP_CHANGE_SUCCESSFUL, ChangeDisplaySettingsExW(nullptr, &dm, nullptr, CDS_RESET, nullptr));
    EXPECT_EQ(320, GetDeviceCaps(screen, HORZRES));
    EXPECT_EQ(240, GetDeviceCaps(screen, VERTRES));
    EXPECT_NE(CLR_INVALID, GetPixel(screen, 300, 200));
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(cehost::sim::SetScreenSize(176, 220));
    EXPECT_EQ(176, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(176, cehost::sim::GetScreenSize().cx);
}

TEST_F(GdiWindow, AcceleratorsTurnKeysIntoCommands) {
    HWND top = Top(0, 0, 10, 10);
    SetFocus(top);
    ACCEL table[] = {{FVIRTKEY | FCONTROL, 'X', 301}, {FVIRTKEY, VK_F1, 302}, {0, 'h', 303}};
    HACCEL accel = CreateAcceleratorTableW(table, 3);
    auto pump = [&] {
        MSG msg;
        int translated = 0;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (TranslateAcceleratorW(top, accel, &msg)) {
                ++translated;
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        return translated;
    };
    auto key = [](BYTE vk, BYTE held = 0) {
        if (held) keybd_event(held, 0, 0, 0);
        keybd_event(vk, 0, 0, 0);
        keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
        if (held) keybd_event(held, 0, KEYEVENTF_KEYUP, 0);
    };
    g_commands.clear();
    key(VK_F1);
    EXPECT_EQ(1, pump());
    key('X');
    EXPECT_EQ(0, pump()) << "X without Control";
    key('X', VK_CONTROL);
    EXPECT_EQ(1, pump());
    key('H');
    EXPECT_EQ(1, pump()) << "the character 'h' from WM_CHAR";
    ASSERT_EQ(3u, g_commands.size());
    EXPECT_EQ(MAKEWPARAM(302, 1), g_commands[0].second);
    EXPECT_EQ(MAKEWPARAM(301, 1), g_commands[1].second);
    EXPECT_EQ(MAKEWPARAM(303, 1), g_commands[2].second);
    DestroyAcceleratorTable(accel);
}
