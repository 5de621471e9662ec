// Every control of the library on one main window: golden screenshots of each in its normal, focused and
// pressed or checked looks, and the rules every kind shares: the keys reported to the main window and the
// arrows that move the focus along the tab order. (The notebook's soak drives every kind of control with
// random keys and watches the object counts.)
#include <filesystem>
#include <functional>

#include "ControlsTestSupport.h"
#include "GoldenImage.h"
#include "LxEditCtrl.h"
#include "LxListCtrl.h"
#include "LxSpinCtrl.h"
#include "LxText.h"

using namespace lxtest;

namespace {

// Every control of the library on one 240 x 299 main window.
struct AllControls {
    Host host;
    LxListCtrl list;
    LxSpinCtrl spin;
    LxText text, button;
    LxEditCtrl edit, lines;
    HWND textWindow = nullptr, buttonWindow = nullptr;
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
        textWindow = text.CreateText(host.m_hWnd, nullptr, 3, &r, 5, 1, 1);
        text.SetText(u"Label");
        r = {124, 140, 240, 166};
        buttonWindow = button.CreateButton(host.m_hWnd, nullptr, 4, &r);
        button.SetText(u"OK");
        r = {0, 170, 240, 196};
        edit.CreateEdit(host.m_hWnd, nullptr, 5, &r, WS_BORDER | ES_AUTOHSCROLL);
        edit.SetLimitText(10);
        edit.SetDescText(u"Name", 0x808080);
        r = {0, 200, 240, 298};
        lines.CreateEdit(host.m_hWnd, nullptr, 6, &r, WS_BORDER | ES_MULTILINE);
        lines.SetText(u"first\r\nsecond");
        Focus(list);
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

// One step, then one shot of an area, row by row on the same screen.
TEST(Golden, EveryControlInItsLooks) {
    AllControls screen;
    screen.button.SetPushColor(0x000000, 0xAAAAAA);
    const RECT list = ScreenRect(GetFocus()), spin = {0, 21 + 110, 240, 21 + 136};
    const RECT texts = {0, 21 + 140, 240, 21 + 166}, edits = {0, 21 + 170, 240, 21 + 298};
    const struct {
        std::function<void()> step;
        const char* shot;
        RECT area;
    } rows[] = {
        {[&] { screen.list.SetSelect(0), cehost::sim::RunFor(20); }, "list_focused", list},
        {[] { Press(VK_F3); }, "list_checked_moved", list},
        {[&] { Focus(screen.spin); }, "list_normal", list},
        {[] {}, "spin_focused", spin},
        {[] { Hold(VK_RIGHT); }, "spin_pressed", spin},
        {[&] { Release(VK_RIGHT), Focus(screen.list); }, "spin_normal", spin},
        {[] {}, "text_button_normal", texts},
        {[&] { Focus(screen.button); }, "text_button_focused", texts},
        {[] { Hold(VK_F3); }, "text_button_pressed", texts},
        {[] { Release(VK_F3); }, "edit_normal", edits},
        {[&] { Focus(screen.edit); }, "edit_focused_description", edits},
        {[&] { Press('A', 0), Press('B', 0), Focus(screen.lines); },
         "edit_typed_and_multiline_focused", edits},
    };
    for (const auto& row : rows) {
        row.step();
        EXPECT_TRUE(Shot(row.shot, row.area));
    }
}

// Every kind reports each key to the main window as a press and a release, Back and Escape then as Back and
// the Home key as Home.
TEST(ControlKeys, EveryKindReportsItsKeysToTheMainWindow) {
    AllControls screen;
    const std::function<void()> focus[] = {[&] { Focus(screen.list); }, [&] { Focus(screen.spin); },
                                           [&] { Focus(screen.textWindow); }, [&] { Focus(screen.button); },
                                           [&] { Focus(screen.edit); }};
    for (size_t kind = 0; kind < std::size(focus); ++kind) {
        focus[kind]();
        HWND control = GetFocus();
        screen.host.seen.clear();
        for (BYTE key : {BYTE(VK_ESCAPE), BYTE(VK_BACK), BYTE(VK_F4), BYTE('A')}) Press(key, 0);
        Settle();
        EXPECT_EQ(screen.host.seen,
                  Reported(control, {{VK_ESCAPE, LXM_BACKKEY}, {VK_BACK, LXM_BACKKEY}, {VK_F4, LXM_HOMEKEY}, {'A', 0}}))
            << "kind " << kind;
    }
}

// Up and Down on a spin control, any arrow on a text or a button, and Down at once on a single-line edit move
// the focus along the tab order (whose wrap-around is the platform's).
TEST(ControlKeys, ArrowsMoveTheFocusAlongTheTabOrder) {
    AllControls screen;
    HWND list = GetFocus();
    Focus(screen.lines);
    HWND lines = GetFocus();
    Focus(screen.spin);
    HWND spin = GetFocus();
    const struct {
        BYTE key;
        HWND to;
    } rows[] = {{VK_DOWN, screen.textWindow}, {VK_RIGHT, screen.buttonWindow}, {VK_LEFT, screen.textWindow},
                {VK_DOWN, screen.buttonWindow}, {VK_UP, screen.textWindow}, {VK_UP, spin}, {VK_UP, list}};
    for (const auto& row : rows) {
        Press(row.key);
        EXPECT_EQ(GetFocus(), row.to) << int(row.key);
    }
    Focus(screen.edit);
    Press(VK_DOWN);
    EXPECT_EQ(GetFocus(), lines);
    EXPECT_EQ(screen.spin.GetSelect(), 0) << "focus moves do not step";
}

} // namespace
