// The main window through the real queue: the key protocol's rule order, stylus and background handling,
// the single-instance check, the message loop's result, dialogs, and the full-screen layout on screen pixels
// (indicator strip, title bar, free area and menu bar) with the title bar's text and stylus handling. (The
// notebook's scripts pin the turned layout and the looks in their screenshots.)
#include "ControlsTestSupport.h"

using namespace lxtest;

namespace {

constexpr int kMenuId = 100;
constexpr int kDialogId = 200;

std::vector<UINT> Messages(const std::vector<Posted>& seen) {
    std::vector<UINT> out;
    for (const Posted& r : seen) out.push_back(r.message);
    return out;
}

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

// The rules in order, with the key codes read at every comparison: codes changed while the window runs
// count at once, Home wins over a soft key of the same code, Back over both, and a soft key posted by a
// control as LXM_KEYUP becomes its command while Back and Home from a control go on unchanged.
TEST(KeyProtocol, RulesInOrderWithTheKeyCodesOfTheMomentAndTheStylusSwallowed) {
    RecordingWindow window;
    ASSERT_TRUE(window.StartQuiet());
    SetFocus(window.m_hWnd);
    const LPARAM self = reinterpret_cast<LPARAM>(window.m_hWnd), control = 0x1234;
    const struct {
        unsigned left, home;
        UINT message; // WM_KEYUP or WM_KEYDOWN through the queue, or LXM_KEYUP posted by a control
        BYTE vk;
        std::vector<UINT> seen;
    } rows[] = {
        {0xFFFFFFFF, 0xFFFFFFFF, WM_KEYUP, VK_ESCAPE, {LXM_BACKKEY}},
        {0xFFFFFFFF, 0xFFFFFFFF, WM_KEYUP, VK_BACK, {LXM_BACKKEY}},
        {0xFFFFFFFF, 0xFFFFFFFF, WM_KEYUP, VK_F4, {LXM_HOMEKEY}},
        {0xFFFFFFFF, 0xFFFFFFFF, WM_KEYUP, VK_F1, {LXM_MENUKEYLEFT}},
        {0xFFFFFFFF, 0xFFFFFFFF, WM_KEYUP, VK_F2, {LXM_MENUKEYRIGHT}},
        {0xFFFFFFFF, 0xFFFFFFFF, WM_KEYUP, VK_F3, {WM_KEYUP, LXM_KEYUP}},
        {0xFFFFFFFF, 0xFFFFFFFF, WM_KEYDOWN, VK_F1, {WM_KEYDOWN, LXM_KEYDOWN}},
        {VK_F6, 0xFFFFFFFF, WM_KEYUP, VK_F6, {LXM_MENUKEYLEFT}},
        {VK_F6, 0xFFFFFFFF, WM_KEYUP, VK_F1, {WM_KEYUP, LXM_KEYUP}},
        {VK_F1, VK_F1, WM_KEYUP, VK_F1, {LXM_HOMEKEY}},
        {VK_ESCAPE, VK_ESCAPE, WM_KEYUP, VK_ESCAPE, {LXM_BACKKEY}},
        {0xFFFFFFFF, 0xFFFFFFFF, LXM_KEYUP, VK_F1, {LXM_MENUKEYLEFT}},
        {0xFFFFFFFF, 0xFFFFFFFF, LXM_KEYUP, VK_F2, {LXM_MENUKEYRIGHT}},
        {VK_F6, 0xFFFFFFFF, LXM_KEYUP, VK_F6, {LXM_MENUKEYLEFT}},
        {0xFFFFFFFF, 0xFFFFFFFF, LXM_KEYUP, VK_ESCAPE, {LXM_KEYUP}},
        {0xFFFFFFFF, 0xFFFFFFFF, LXM_KEYUP, VK_F4, {LXM_KEYUP}},
    };
    for (const auto& row : rows) {
        LxSetMenuKeyLeft(row.left);
        LxSetHomeKey(row.home);
        window.seen.clear();
        if (row.message == LXM_KEYUP) PostMessageW(window.m_hWnd, LXM_KEYUP, row.vk, control);
        else if (row.message == WM_KEYUP) KeyUp(row.vk);
        else KeyDown(row.vk);
        cehost::sim::RunUntilIdle();
        EXPECT_EQ(Messages(window.seen), row.seen) << row.message << " " << int(row.vk);
        const Posted& last = window.seen.back();
        // Commands name the main window whoever produced the key; the posted copies carry the key.
        if (last.message >= LXM_MENUKEYLEFT && last.message <= LXM_HOMEKEY) {
            EXPECT_EQ(last.lParam, self);
        } else if (row.message != LXM_KEYUP) {
            EXPECT_EQ(last.wParam, WPARAM(row.vk));
        }
    }
    // The stylus is swallowed before the application sees it.
    window.record = [](UINT) { return true; };
    window.seen.clear();
    for (UINT stylus : {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP})
        EXPECT_EQ(SendMessageW(window.m_hWnd, stylus, 0, MAKELPARAM(10, 10)), 1);
    EXPECT_TRUE(window.seen.empty());
}

// Without a colour the erase is the application's (and the class brush's); a base colour fills the client area
// and hides the erase.
TEST(Start, BaseColourOrTheApplicationsEraseAndASecondInstanceActivatesTheFirst) {
    {
        RecordingWindow plain;
        ASSERT_TRUE(plain.Start());
        EXPECT_EQ(Messages(plain.seen), (std::vector<UINT>{WM_ERASEBKGND}));
        EXPECT_EQ(ScreenPixel(120, 200), RGB(255, 255, 255));
    }
    RecordingWindow window;
    window.SetBaseColor(RGB(0, 0, 255));
    ASSERT_TRUE(window.Start());
    const long objects = cehost::sim::GdiObjectCount();
    InvalidateRect(window.m_hWnd, nullptr, TRUE);
    cehost::sim::RunUntilIdle();
    EXPECT_TRUE(window.seen.empty());
    for (POINT corner : {POINT{0, 21}, POINT{239, 319}})
        EXPECT_EQ(ScreenPixel(corner.x, corner.y), RGB(0, 0, 255));
    EXPECT_EQ(cehost::sim::GdiObjectCount(), objects);
    // A second instance activates the first and creates nothing.
    const DWORD windows = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    RecordingWindow second;
    EXPECT_EQ(second.Window(GetModuleHandleW(nullptr), nullptr, const_cast<WCHAR*>(u""), SW_SHOW), 0);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), windows);
    EXPECT_EQ(GetForegroundWindow(), window.m_hWnd);
}

TEST(Start, WindowRunsTheLoopUntilQuitAndReturnsItsCode) {
    RecordingWindow window;
    IdleScript script({[] { PostQuitMessage(7); }});
    WCHAR commandLine[] = u"--fast";
    EXPECT_EQ(window.Window(GetModuleHandleW(nullptr), nullptr, commandLine, SW_SHOW), 7);
    EXPECT_EQ(std::u16string(window.m_szCmdLine), u"--fast");
    EXPECT_EQ(LxGetAppInstance(), GetModuleHandleW(nullptr));
    EXPECT_EQ(Box(ScreenRect(window.m_hWnd)), Box({0, 21, 240, 320}));
    WNDCLASSW wc = {};
    ASSERT_TRUE(GetClassInfoW(GetModuleHandleW(nullptr), window.m_szWindowClass, &wc));
    EXPECT_NE(wc.hIcon, nullptr) << "without an icon of its own the host gets the library's group 9971";
    EXPECT_EQ(wc.style, UINT(CS_HREDRAW | CS_VREDRAW));
}

TEST(Layout, TitleFreeAreaAndMenuBarRowsOnA240By320ScreenAndNewTitlesThatIgnoreTheStylusAndPassHomeOn) {
    FullWindow window;
    ASSERT_TRUE(window.Start());
    ASSERT_TRUE(window.m_hTitle && window.m_hMenuBar);
    EXPECT_EQ(GetFocus(), window.m_hMenuBar);
    EXPECT_EQ(Box(ScreenRect(window.m_hTitle)), Box({0, 21, 240, 58}));
    EXPECT_EQ(Box(ScreenRect(window.m_hMenuBar)), Box({0, 294, 240, 320}));
    RECT area = {-1, -1, -1, -1};
    window.GetUserArea(&area);
    EXPECT_EQ(Box(area), Box({0, 37, 240, 273})); // what the screen shows is pinned by the notebook's screenshots
    // Each new title erases the old one (the looks are pinned by the notebook's screenshots).
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
    EXPECT_EQ(window.seen, (std::vector<Posted>{{LXM_HOMEKEY, 0, L(window.m_hTitle)}}))
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

TEST(Dialog, WithoutFullScreenTheRefusalAndCancelWithItABoundLaidOutDialogEndingWithItsCode) {
    RecordingWindow window;
    ASSERT_TRUE(window.Start());
    IdleScript script({[] { Stroke(VK_RETURN); }});
    EXPECT_EQ(window.Dialog(MAKEINTRESOURCEW(kDialogId), window.m_hWnd, 0), IDCANCEL);
    EXPECT_TRUE(script.Finished()) << "a message box was waiting for a key";
    EXPECT_EQ(window.m_bFullScreen, 0);
    RECT untouched = {5, 6, 7, 8};
    window.GetUserArea(&untouched);
    EXPECT_EQ(Box(untouched), Box({5, 6, 7, 8}));
    // A full-screen dialog is bound to its object, laid out over the screen and ends with its code.
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
