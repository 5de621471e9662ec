// The full-screen layout on screen pixels: indicator strip, title bar, free area and menu bar; the title bar's
// text and stylus handling; dialogs. (The notebook's scripts pin the turned layout in their screenshots.)
#include <gtest/gtest.h>

#include "FrameworkTestSupport.h"

using lxtest::Box;
using lxtest::ScreenRect;
using lxtest::RecordingWindow;
using lxtest::ScreenPixel;

namespace {

constexpr int kMenuId = 100;
constexpr int kDialogId = 200;

// A main window that makes its title bar and menu bar on WM_CREATE, as applications do.
class FullWindow : public RecordingWindow {
public:
    FullWindow() {
        handler = [this](HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, int* pHandled) -> LRESULT {
            if (uMsg == WM_CREATE) {
                TitleCreate(nullptr);
                MenuCreate(kMenuId, 0);
            }
            if (uMsg == WM_SETTINGCHANGE) OnSettingChange(UINT(wParam), LONG(lParam));
            return LxBaseWindow::OnWndProc(hWnd, uMsg, wParam, lParam, pHandled);
        };
    }
};

} // namespace

TEST(Layout, TitleFreeAreaAndMenuBarRowsOnA240By320Screen) {
    FullWindow window;
    ASSERT_TRUE(window.Start());
    ASSERT_TRUE(window.m_hTitle && window.m_hMenuBar);
    EXPECT_EQ(GetFocus(), window.m_hMenuBar);
    EXPECT_EQ(Box(ScreenRect(window.m_hTitle)), Box({0, 21, 240, 58}));
    EXPECT_EQ(Box(ScreenRect(window.m_hMenuBar)), Box({0, 294, 240, 320}));
    RECT area = {-1, -1, -1, -1};
    window.GetUserArea(&area);
    EXPECT_EQ(Box(area), Box({0, 37, 240, 273})); // what the screen shows is pinned by the notebook's screenshots
}

// Each new title erases the old one; the looks are pinned by the notebook's screenshots.
TEST(Layout, NewTitlesIgnoreTheStylusAndPassHomeOn) {
    FullWindow window;
    ASSERT_TRUE(window.Start());
    auto whitePixels = [] {
        int count = 0;
        for (int y = 21; y < 58; ++y)
            for (int x = 0; x < 240; ++x) count += ScreenPixel(x, y) == RGB(255, 255, 255);
        return count;
    };
    const long objects = cehost::sim::GdiObjectCount();
    window.SetWindowTextW(const_cast<WCHAR*>(u""));
    cehost::sim::RunUntilIdle();
    EXPECT_EQ(whitePixels(), 0);
    WCHAR text[1024] = u"untouched";
    window.GetWindowTextW(text);
    EXPECT_EQ(std::u16string(text), u"");
    EXPECT_EQ(cehost::sim::GdiObjectCount(), objects) << "each erase loads and releases the title bitmap";
    window.seen.clear();
    cehost::sim::Tap(120, 30);
    // Home sent to the title arrives posted from the title.
    SendMessageW(window.m_hTitle, LXM_HOMEKEY, 0, 0);
    cehost::sim::RunUntilIdle();
    EXPECT_EQ(window.seen, (std::vector<lxtest::Posted>{{LXM_HOMEKEY, 0, lxtest::L(window.m_hTitle)}}))
        << "the stylus on the title does nothing";
}

TEST(Layout, WithoutTitleTheFreeAreaStartsAtZeroAndNothingIsLaidOutBeforeStart) {
    RecordingWindow window;
    RECT untouched = {1, 2, 3, 4};
    window.GetUserArea(&untouched);
    EXPECT_EQ(Box(untouched), Box({1, 2, 3, 4}));
    window.m_nTitleHeight = 0;
    ASSERT_TRUE(window.Start());
    EXPECT_EQ(window.TitleCreate(nullptr), nullptr);
    RECT area;
    window.GetUserArea(&area);
    EXPECT_EQ(std::tuple(area.top, area.bottom), (std::tuple<LONG, LONG>(0, 299)));
}

TEST(Dialog, WithoutFullScreenShowsTheRefusalAndAnswersCancel) {
    RecordingWindow window;
    ASSERT_TRUE(window.Start());
    lxtest::IdleScript script({[] { lxtest::Stroke(VK_RETURN); }});
    EXPECT_EQ(window.Dialog(MAKEINTRESOURCEW(kDialogId), window.m_hWnd, 0), IDCANCEL);
    EXPECT_TRUE(script.Finished()) << "a message box was waiting for a key";
    EXPECT_EQ(window.m_bFullScreen, 0);
    RECT untouched = {5, 6, 7, 8};
    window.GetUserArea(&untouched);
    EXPECT_EQ(Box(untouched), Box({5, 6, 7, 8}));
}

TEST(Dialog, FullScreenDialogBindsLaysOutAndEndsWithItsCode) {
    RecordingWindow owner(u"DialogOwner", u"주인");
    ASSERT_TRUE(owner.Start());
    LxBaseWindow* boundTo = nullptr;
    RECT laidOut = {};
    bool aliveAfterClose = false;
    RecordingWindow dialog(u"unused", u"대화");
    dialog.SetInstance(GetModuleHandleW(nullptr));
    dialog.handler = [&](HWND hWnd, UINT uMsg, WPARAM, LPARAM, int* pHandled) -> LRESULT {
        if (uMsg == WM_INITDIALOG) {
            boundTo = reinterpret_cast<LxBaseWindow*>(GetWindowLongW(hWnd, GWL_USERDATA));
            GetWindowRect(hWnd, &laidOut);
            PostMessageW(hWnd, WM_USER + 1, 0, 0);
            return TRUE;
        }
        if (uMsg == WM_USER + 1) {
            // Left unhandled, WM_CLOSE goes back to the dialog manager, never to DefWindowProcW (which would
            // destroy the window).
            SendMessageW(hWnd, WM_CLOSE, 0, 0);
            aliveAfterClose = IsWindow(hWnd);
            EndDialog(hWnd, 5);
            *pHandled = 1;
            return TRUE;
        }
        return 0;
    };
    EXPECT_EQ(dialog.Dialog(MAKEINTRESOURCEW(kDialogId), owner.m_hWnd, 1), 5);
    EXPECT_EQ(boundTo, &dialog);
    EXPECT_TRUE(aliveAfterClose);
    EXPECT_EQ(dialog.m_bDialog, 1);
    EXPECT_EQ(Box(laidOut), Box({0, 21, 240, 320}));
}
