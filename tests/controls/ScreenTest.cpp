// A screen holding every control: a thousand random keys leave no GDI object behind and every control still
// answers; and golden screenshots of each control in its normal, focused and pressed or checked looks.
#include <filesystem>
#include <random>

#include "ControlsTestSupport.h"
#include "GoldenImage.h"
#include "LxEditCtrl.h"
#include "LxListCtrl.h"
#include "LxSpinCtrl.h"
#include "LxText.h"

using lxtest::Host;
using lxtest::Settle;

namespace {

// Every control of the library on one 240 x 299 main window.
struct AllControls {
    Host host;
    LxListCtrl list;
    LxSpinCtrl spin;
    LxText text;
    LxText button;
    LxEditCtrl edit;
    LxEditCtrl lines;

    AllControls() {
        EXPECT_TRUE(host.Start());
        host.list = &list;
        RECT r = {0, 0, 240, 104};
        list.CreateList(host.m_hWnd, nullptr, 1, &r, 26);
        list.SetRotate(1);
        list.AddItemForCheck(u"Wi-Fi", 1, 0);
        list.AddItemForChar(u"Bluetooth", u'B');
        list.AddItemForIcon(u"Display", 9006, 9007);
        list.AddItem(u"About");
        list.AddItemForCheck(u"Sounds", 0, 0);
        r = {0, 110, 240, 136};
        spin.CreateSpin(host.m_hWnd, nullptr, 2, &r, WS_BORDER);
        spin.AddItem(u"Small", 1);
        spin.AddItem(u"Medium", 0);
        spin.AddItem(u"Large", 1);
        r = {0, 140, 120, 166};
        text.CreateText(host.m_hWnd, nullptr, 3, &r, 5, 1, 1);
        text.SetText(u"Label");
        r = {124, 140, 240, 166};
        button.CreateButton(host.m_hWnd, nullptr, 4, &r);
        button.SetText(u"OK");
        r = {0, 170, 240, 196};
        edit.CreateEdit(host.m_hWnd, nullptr, 5, &r, WS_BORDER | ES_AUTOHSCROLL);
        edit.SetLimitText(10);
        edit.SetDescText(u"Name", 0x808080);
        r = {0, 200, 240, 298};
        lines.CreateEdit(host.m_hWnd, nullptr, 6, &r, WS_BORDER | ES_MULTILINE);
        lines.SetText(u"first\r\nsecond");
        list.SetFocus();
        Settle();
    }
};

TEST(AllControls, AThousandRandomKeysLeaveNoGdiObjectBehind) {
    AllControls screen;
    cehost::sim::RunFor(50);
    const long objects = cehost::sim::GdiObjectCount();
    const DWORD windows = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    const BYTE keys[] = {VK_UP,    VK_DOWN, VK_LEFT, VK_RIGHT, VK_F3,     VK_RETURN, VK_BACK, VK_HOME,
                         VK_END,   VK_PRIOR, VK_NEXT, 'A',     'B',       '7',       VK_SPACE, VK_HANGUL,
                         VK_ESCAPE, VK_F4,  VK_F1,   VK_F2,    VK_ESCAPE, 'K'};
    std::mt19937 random(42);
    for (int i = 0; i < 1000; ++i) {
        const BYTE key = keys[random() % std::size(keys)];
        // Now and then a key is held across another one, as thumbs do.
        if (random() % 8 == 0) {
            lxtest::KeyDown(key);
            lxtest::Stroke(keys[random() % std::size(keys)]);
            lxtest::KeyUp(key);
        } else {
            lxtest::Stroke(key);
        }
        cehost::sim::RunFor(random() % 3 == 0 ? 15 : 0);
    }
    cehost::sim::RunFor(50);
    EXPECT_EQ(cehost::sim::GdiObjectCount(), objects);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), windows);
    // Still alive and answering.
    EXPECT_TRUE(screen.list.IsWindow());
    EXPECT_GE(screen.spin.GetSelect(), 0);
    EXPECT_LE(screen.edit.GetLength(), 10u);
    screen.spin.SetFocus();
    screen.spin.SetSelect(0);
    lxtest::Press(VK_RIGHT);
    EXPECT_EQ(screen.spin.GetSelect(), 1);
    screen.list.SetFocus();
    screen.list.SetSelect(3);
    lxtest::Press(VK_DOWN);
    EXPECT_EQ(screen.list.GetSelect(), 4);
}

// ---- Golden screenshots -----------------------------------------------------------------------------------

::testing::AssertionResult Shot(const std::string& name, RECT screenRect) {
    std::string error;
    const std::filesystem::path path = golden::OutputDir() / (name + ".shot.png");
    if (!cehost::sim::SaveScreenshotRect(path.string(), screenRect, &error))
        return ::testing::AssertionFailure() << "screenshot failed: " << error;
    int w = 0, h = 0;
    std::vector<uint32_t> pixels;
    if (!golden::ReadPng(path.string(), w, h, pixels)) return ::testing::AssertionFailure() << "cannot read " << path;
    return golden::Matches(name, w, h, pixels);
}

RECT ScreenRectOf(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return r;
}

TEST(Golden, List) {
    AllControls screen;
    HWND hwnd = GetFocus();
    const RECT area = ScreenRectOf(hwnd);
    screen.list.SetSelect(0);
    cehost::sim::RunFor(20);
    EXPECT_TRUE(Shot("list_focused", area));
    lxtest::Press(VK_F3);
    EXPECT_TRUE(Shot("list_checked_moved", area));
    screen.spin.SetFocus();
    Settle();
    EXPECT_TRUE(Shot("list_normal", area));
}

TEST(Golden, Spin) {
    AllControls screen;
    screen.spin.SetFocus();
    Settle();
    RECT area;
    GetWindowRect(GetFocus(), &area);
    EXPECT_TRUE(Shot("spin_focused", area));
    lxtest::KeyDown(VK_RIGHT);
    Settle();
    EXPECT_TRUE(Shot("spin_pressed", area));
    lxtest::KeyUp(VK_RIGHT);
    Settle();
    screen.list.SetFocus();
    Settle();
    EXPECT_TRUE(Shot("spin_normal", area));
}

TEST(Golden, TextAndButton) {
    AllControls screen;
    screen.button.SetPushColor(0x000000, 0xAAAAAA);
    const RECT area = {0, 21 + 140, 240, 21 + 166};
    EXPECT_TRUE(Shot("text_button_normal", area));
    screen.button.SetFocus();
    Settle();
    EXPECT_TRUE(Shot("text_button_focused", area));
    lxtest::KeyDown(VK_F3);
    Settle();
    EXPECT_TRUE(Shot("text_button_pressed", area));
    lxtest::KeyUp(VK_F3);
    Settle();
}

TEST(Golden, Edit) {
    AllControls screen;
    const RECT area = {0, 21 + 170, 240, 21 + 298};
    EXPECT_TRUE(Shot("edit_normal", area));
    screen.edit.SetFocus();
    Settle();
    EXPECT_TRUE(Shot("edit_focused_description", area));
    lxtest::Press('A', 0);
    lxtest::Press('B', 0);
    screen.lines.SetFocus();
    Settle();
    EXPECT_TRUE(Shot("edit_typed_and_multiline_focused", area));
}

} // namespace
