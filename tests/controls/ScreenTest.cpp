// Golden screenshots of each control in its normal, focused and pressed or checked looks. (The notebook's
// soak drives every kind of control with random keys and watches the object counts.)
#include <filesystem>

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
    LxText text, button;
    LxEditCtrl edit, lines;
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
        for (auto [item, check] : {std::pair{u"Small", 1}, {u"Medium", 0}, {u"Large", 1}})
            spin.AddItem(item, check);
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
        lxtest::Focus(list);
    }
};

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

TEST(Golden, List) {
    AllControls screen;
    const RECT area = lxtest::ScreenRect(GetFocus());
    screen.list.SetSelect(0);
    cehost::sim::RunFor(20);
    EXPECT_TRUE(Shot("list_focused", area));
    lxtest::Press(VK_F3);
    EXPECT_TRUE(Shot("list_checked_moved", area));
    lxtest::Focus(screen.spin);
    EXPECT_TRUE(Shot("list_normal", area));
}

TEST(Golden, Spin) {
    AllControls screen;
    lxtest::Focus(screen.spin);
    const RECT area = lxtest::ScreenRect(GetFocus());
    EXPECT_TRUE(Shot("spin_focused", area));
    lxtest::Hold(VK_RIGHT);
    EXPECT_TRUE(Shot("spin_pressed", area));
    lxtest::Release(VK_RIGHT);
    lxtest::Focus(screen.list);
    EXPECT_TRUE(Shot("spin_normal", area));
}

TEST(Golden, TextAndButton) {
    AllControls screen;
    screen.button.SetPushColor(0x000000, 0xAAAAAA);
    const RECT area = {0, 21 + 140, 240, 21 + 166};
    EXPECT_TRUE(Shot("text_button_normal", area));
    lxtest::Focus(screen.button);
    EXPECT_TRUE(Shot("text_button_focused", area));
    lxtest::Hold(VK_F3);
    EXPECT_TRUE(Shot("text_button_pressed", area));
    lxtest::Release(VK_F3);
}

TEST(Golden, Edit) {
    AllControls screen;
    const RECT area = {0, 21 + 170, 240, 21 + 298};
    EXPECT_TRUE(Shot("edit_normal", area));
    lxtest::Focus(screen.edit);
    EXPECT_TRUE(Shot("edit_focused_description", area));
    lxtest::Press('A', 0);
    lxtest::Press('B', 0);
    lxtest::Focus(screen.lines);
    EXPECT_TRUE(Shot("edit_typed_and_multiline_focused", area));
}

} // namespace
