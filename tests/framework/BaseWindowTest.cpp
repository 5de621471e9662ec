// The main window through the real queue: the key protocol's rule order, stylus and background handling,
// the single-instance check, the message loop's result, dialogs, and the screen layout.
#include <gtest/gtest.h>

#include "FrameworkTestSupport.h"

using lxtest::KeyDown;
using lxtest::KeyUp;
using lxtest::Received;
using lxtest::RecordingWindow;

namespace {

std::vector<UINT> Messages(const std::vector<Received>& seen) {
    std::vector<UINT> out;
    for (const Received& r : seen) out.push_back(r.message);
    return out;
}

} // namespace

TEST(KeyProtocol, SoftKeySetToEscapeGivesBackNotTheSoftKeyCommand) {
    LxSetMenuKeyLeft(VK_ESCAPE);
    RecordingWindow window;
    ASSERT_TRUE(window.StartQuiet());
    SetFocus(window.m_hWnd);
    KeyUp(VK_ESCAPE);
    cehost::sim::RunUntilIdle();
    ASSERT_EQ(window.seen.size(), 1u);
    EXPECT_EQ(window.seen[0].message, UINT(LXM_BACKKEY));
    EXPECT_EQ(window.seen[0].lParam, reinterpret_cast<LPARAM>(window.m_hWnd));
}

TEST(KeyProtocol, HomeReleaseIsACommandAndNeverReachesTheApplicationAsKeyUp) {
    RecordingWindow window;
    ASSERT_TRUE(window.StartQuiet());
    SetFocus(window.m_hWnd);
    KeyDown(VK_F4);
    KeyUp(VK_F4);
    cehost::sim::RunUntilIdle();
    // The posted LXM_KEYDOWN arrives behind the key-down, before the queued key-up.
    EXPECT_EQ(Messages(window.seen), (std::vector<UINT>{WM_KEYDOWN, LXM_KEYDOWN, LXM_HOMEKEY}));
    EXPECT_EQ(window.seen[1].wParam, WPARAM(VK_F4));
}

TEST(KeyProtocol, SelectReleaseReachesTheApplicationAndIsPostedAsLibraryKeyUp) {
    RecordingWindow window;
    ASSERT_TRUE(window.StartQuiet());
    SetFocus(window.m_hWnd);
    KeyUp(VK_F3);
    cehost::sim::RunUntilIdle();
    EXPECT_EQ(Messages(window.seen), (std::vector<UINT>{WM_KEYUP, LXM_KEYUP}));
    EXPECT_EQ(window.seen[1].wParam, WPARAM(VK_F3));
}

TEST(KeyProtocol, SoftKeysReleasedOnTheWindowOrPostedByAControlBecomeCommands) {
    RecordingWindow window;
    ASSERT_TRUE(window.StartQuiet());
    SetFocus(window.m_hWnd);
    KeyUp(VK_F2);
    cehost::sim::RunUntilIdle();
    EXPECT_EQ(Messages(window.seen), (std::vector<UINT>{LXM_MENUKEYRIGHT}));
    window.seen.clear();

    HWND control = reinterpret_cast<HWND>(0x1234); // whatever window posted it, the command names the main one
    PostMessageW(window.m_hWnd, LXM_KEYUP, VK_F1, reinterpret_cast<LPARAM>(control));
    PostMessageW(window.m_hWnd, LXM_KEYUP, VK_ESCAPE, reinterpret_cast<LPARAM>(control));
    cehost::sim::RunUntilIdle();
    ASSERT_EQ(Messages(window.seen), (std::vector<UINT>{LXM_MENUKEYLEFT, LXM_KEYUP}));
    EXPECT_EQ(window.seen[0].lParam, reinterpret_cast<LPARAM>(window.m_hWnd));
    EXPECT_EQ(window.seen[1].wParam, WPARAM(VK_ESCAPE)); // Back from a control is its own business
}

TEST(KeyProtocol, StylusIsSwallowed) {
    RecordingWindow window;
    ASSERT_TRUE(window.StartQuiet());
    EXPECT_EQ(SendMessageW(window.m_hWnd, WM_LBUTTONDOWN, 0, MAKELPARAM(10, 10)), 1);
    EXPECT_TRUE(window.seen.empty());
}

TEST(Background, NoColourLeavesTheEraseToTheApplicationAndTheClassBrush) {
    RecordingWindow window;
    ASSERT_TRUE(window.Start());
    cehost::sim::RunUntilIdle();
    EXPECT_EQ(Messages(window.seen), (std::vector<UINT>{WM_ERASEBKGND}));
    EXPECT_EQ(lxtest::ScreenPixel(120, 200), RGB(255, 255, 255));
}

TEST(Background, BaseColourFillsTheClientAreaAndHidesTheErase) {
    RecordingWindow window;
    window.SetBaseColor(RGB(0, 0, 255));
    ASSERT_TRUE(window.Start());
    cehost::sim::RunUntilIdle();
    const long objects = cehost::sim::GdiObjectCount();
    InvalidateRect(window.m_hWnd, nullptr, TRUE);
    cehost::sim::RunUntilIdle();
    EXPECT_TRUE(window.seen.empty());
    EXPECT_EQ(lxtest::ScreenPixel(0, 21), RGB(0, 0, 255));
    EXPECT_EQ(lxtest::ScreenPixel(239, 319), RGB(0, 0, 255));
    EXPECT_EQ(cehost::sim::GdiObjectCount(), objects);
}

TEST(Start, SecondInstanceActivatesTheFirstAndCreatesNothing) {
    RecordingWindow first;
    ASSERT_TRUE(first.Start());
    const DWORD windows = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    RecordingWindow second;
    EXPECT_EQ(second.Window(GetModuleHandleW(nullptr), nullptr, const_cast<WCHAR*>(u""), SW_SHOW), 0);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), windows);
    EXPECT_EQ(GetForegroundWindow(), first.m_hWnd);
}

TEST(Start, WindowRunsTheLoopUntilQuitAndReturnsItsCode) {
    RecordingWindow window;
    lxtest::IdleScript script({[] { PostQuitMessage(7); }});
    WCHAR commandLine[] = u"--fast";
    EXPECT_EQ(window.Window(GetModuleHandleW(nullptr), nullptr, commandLine, SW_SHOW), 7);
    EXPECT_EQ(std::u16string(window.m_szCmdLine), u"--fast");
    EXPECT_EQ(LxGetAppInstance(), GetModuleHandleW(nullptr));
    RECT rect;
    GetWindowRect(window.m_hWnd, &rect);
    EXPECT_EQ(rect.top, 21);
    EXPECT_EQ(rect.bottom, 320);
}

TEST(Start, DefaultIconComesFromTheLibraryWhenTheHostHasNone) {
    RecordingWindow window;
    lxtest::IdleScript script({[] { PostQuitMessage(0); }});
    EXPECT_EQ(window.Window(GetModuleHandleW(nullptr), nullptr, nullptr, SW_SHOW), 0);
    WNDCLASSW wc = {};
    ASSERT_TRUE(GetClassInfoW(GetModuleHandleW(nullptr), window.m_szWindowClass, &wc));
    EXPECT_NE(wc.hIcon, nullptr) << "icon group 9971 of the library module";
    EXPECT_EQ(wc.style, UINT(CS_HREDRAW | CS_VREDRAW));
}

TEST(Copy, CopiesNameTheSameWindowsAndCreateNothing) {
    RecordingWindow window;
    ASSERT_TRUE(window.Start());
    const DWORD windows = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    {
        LxBaseWindow copy(window);
        EXPECT_EQ(copy.m_hWnd, window.m_hWnd);
        EXPECT_EQ(std::u16string(copy.m_szTitle), std::u16string(window.m_szTitle));
        copy.m_hWnd = nullptr; // the copy must not destroy the shared window
    }
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), windows);
}
