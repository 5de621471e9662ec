// The soft-key menu bar on its own: reading the menu resource, item edits by position, the keypad-driven
// pop-up (moving with wrap-around, choosing, closing), its place between the indicator strip and the bar with
// scrolling, what ends it early, and the keys forwarded to the owner.
#include <gtest/gtest.h>

#include <cehost/sim.h>

#include <functional>
#include <tuple>
#include <vector>

#include "QueueInput.h"
#include "LxMenuBar.h"

namespace {

// The owner's key protocol.
constexpr UINT kBackKey = 10127, kHomeKey = 10128, kKeyUp = 10130, kKeyDown = 10132;

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const Seen&) const = default;
};
std::vector<Seen> g_seen;

LRESULT CALLBACK OwnerProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m >= 10000) g_seen.push_back({m, w, l});
    return DefWindowProcW(h, m, w, l);
}

// An owner below the 21-pixel indicator strip with the bar along its bottom (screen rows 294 to 319).
struct Screen {
    HWND owner = nullptr, bar = nullptr, popup = nullptr;
    Screen() {
        cehost::sim::SetVirtualTime(true);
        WNDCLASSW wc = {};
        wc.lpfnWndProc = OwnerProc;
        wc.lpszClassName = u"MenuBarOwner";
        RegisterClassW(&wc);
        owner = CreateWindowExW(0, u"MenuBarOwner", u"", WS_VISIBLE, 0, 21, 240, 299, nullptr, nullptr, nullptr,
                                nullptr);
        LXMENUBARINFO info = Record(100);
        EXPECT_EQ(LxCreateMenuBar(&info), 1);
        bar = LxMenuBarRecordToHandle<HWND>(info.hwndMB);
        popup = LxMenuBarRecordToHandle<HWND>(info.hwndPopup);
        MoveWindow(bar, 0, 273, 240, 26, TRUE);
        LxMoveBtn(bar, 0, 240);
        SetFocus(bar);
        cehost::sim::RunUntilIdle();
        g_seen.clear();
    }
    LXMENUBARINFO Record(DWORD menu) const {
        LXMENUBARINFO info = {};
        info.cbSize = sizeof info;
        info.hwndOwner = LxMenuBarHandleToRecord(owner);
        info.nMenuId = menu;
        info.hInstRes = LxMenuBarHandleToRecord(GetModuleHandleW(nullptr));
        info.nVersion = info.bShowCaptions = info.bForwardKeys = 1;
        info.nButtons = 2;
        return info;
    }
    // Opens a pop-up, types the keys once it shows, and answers its result.
    int Choose(int menu, std::vector<BYTE> keys) {
        lxtest::IdleScript steps({[&] { for (BYTE key : keys) lxtest::Stroke(key); }});
        return LxOpenPopupMenu(bar, menu);
    }
};

std::u16string Caption(HWND bar, int button) {
    WCHAR text[1024] = {};
    LxGetBtnCaption(bar, button, text);
    return text;
}

} // namespace

// Menu 100: 하나 (11), a separator, 회색 (12, greyed), a nested pop-up, 다섯째 (15); menu 1 holds 오른 (21).
// Only choosable items are ever selected, Up and Down wrap, digits choose by position.
TEST(MenuBarPopup, ReadsTheResourceAndChoosesWithTheKeypad) {
    Screen screen;
    EXPECT_EQ(Caption(screen.bar, 0), u"왼쪽");
    EXPECT_EQ(Caption(screen.bar, 1), u"오른쪽") << "the nested pop-up's end flag does not end the bar";
    const struct {
        int menu;
        std::vector<BYTE> keys;
        int result;
    } rows[] = {
        {0, {VK_F3}, 11},
        {0, {VK_DOWN, VK_F3}, 15},  // past the separator, the greyed item and the nested pop-up
        {0, {VK_UP, VK_RETURN}, 15}, // wraps backwards
        {0, {VK_DOWN, VK_DOWN, VK_F1}, 11},
        {0, {'5'}, 15},
        {0, {'2', '3', '4', VK_F2}, 0}, // separator, greyed and pop-up items are not chosen
        {0, {VK_ESCAPE}, 0},
        {0, {VK_BACK}, 0},
        {0, {VK_F4}, 0}, // Home
        {1, {VK_F3}, 21},
    };
    for (const auto& row : rows) EXPECT_EQ(screen.Choose(row.menu, row.keys), row.result) << int(row.keys[0]);
    EXPECT_FALSE(IsWindowVisible(screen.popup));
    EXPECT_EQ(GetFocus(), screen.bar);
}

TEST(MenuBarPopup, ItemsAreEditedByPositionAndCreationRefusesBadRecords) {
    Screen screen;
    EXPECT_EQ(LxInsertManuCaption(screen.bar, 0, 0, 0, 77, u"새"), 1);
    EXPECT_EQ(screen.Choose(0, {VK_F3}), 77);
    EXPECT_EQ(LxInsertManuCaption(screen.bar, 0, 0xFFFFFFFF, 0, 78, u"끝"), 1);
    EXPECT_EQ(screen.Choose(0, {VK_UP, VK_F3}), 78) << "appended";
    EXPECT_EQ(LxDeleteMenuItem(screen.bar, 0, 0), 1);
    EXPECT_EQ(screen.Choose(0, {VK_F3}), 11);
    EXPECT_EQ(LxDeleteMenuItem(screen.bar, 0, 6), 0) << "past the end";
    EXPECT_EQ(LxChangeCaption(screen.bar, 0, 6, u"x"), 0);
    EXPECT_EQ(LxChangeCaption(screen.bar, 1, 0, u"바뀜"), 1);
    EXPECT_EQ(LxChangeBtnCaption(screen.bar, 2, u"x"), 0);
    for (int i = 0; i < 4; ++i) LxDeleteMenuItem(screen.bar, 0, 0);
    EXPECT_EQ(screen.Choose(0, {VK_F3}), 15);
    LxDeleteMenuItem(screen.bar, 0, 1);
    LxDeleteMenuItem(screen.bar, 0, 0);
    EXPECT_EQ(LxOpenPopupMenu(screen.bar, 0), 0) << "an empty menu does not open";
    // Creation refuses bad records and missing menus.
    for (int fault = 0; fault < 3; ++fault) {
        LXMENUBARINFO info = screen.Record(fault == 1 ? 999 : 100);
        if (fault == 0) info.cbSize = 148;
        if (fault == 2) info.hwndOwner = 0;
        EXPECT_EQ(LxCreateMenuBar(&info), 0) << fault;
    }
    EXPECT_EQ(LxCreateMenuBar(nullptr), 0);
    EXPECT_EQ(LxOpenPopupMenu(screen.owner, 0), 0) << "not a bar";
}

// Sixteen items do not fit between the indicator strip and the bar: ten show between two arrow strips, the
// selected one is always among them, and wrapping around shows the other end.
TEST(MenuBarPopup, ALongPopupStaysAboveTheBarAndScrolls) {
    Screen screen;
    while (LxDeleteMenuItem(screen.bar, 0, 0)) {}
    for (UINT i = 1; i <= 16; ++i) LxInsertManuCaption(screen.bar, 0, i, 0, i, u"item");
    const long objects = cehost::sim::GdiObjectCount();
    RECT rect = {};
    // Rows are 24 pixels under a 12-pixel arrow strip; x = 3 is in a row but left of its text.
    auto rowSelected = [&](int shown) {
        return lxtest::ScreenPixel(rect.left + 3, rect.top + 13 + 24 * shown + 12) == RGB(0, 0, 0);
    };
    auto arrow = [&](bool up) {
        const int y = up ? rect.top + 1 + 5 : rect.bottom - 1 - 12 + 5;
        return lxtest::ScreenPixel((rect.left + rect.right) / 2, y) == RGB(0x96, 0x96, 0x96);
    };
    std::vector<bool> states;
    auto record = [&] {
        GetWindowRect(screen.popup, &rect);
        states.insert(states.end(), {rowSelected(0), rowSelected(9), arrow(true), arrow(false)});
    };
    // Each step looks at the pop-up, then types its keys.
    auto step = [&](BYTE key, int times) -> std::function<void()> {
        return [&record, key, times] {
            record();
            for (int i = 0; i < times; ++i) lxtest::Stroke(key);
        };
    };
    lxtest::IdleScript steps({step(VK_DOWN, 15), step(VK_DOWN, 1), step(VK_F3, 1)});
    EXPECT_EQ(LxOpenPopupMenu(screen.bar, 0), 1);
    // Ten rows, two arrow strips and the frame, standing on the bar and below the 21-pixel strip.
    EXPECT_EQ(std::tuple(rect.top, rect.bottom), std::tuple(294 - (10 * 24 + 2 + 2 * 12), 294));
    const std::vector<bool> expected = {
        true, false, false, true,  // first item at the top, more below
        false, true, true, false,  // the last item at the bottom, more above
        true, false, false, true}; // wrapped to the first
    EXPECT_EQ(states, expected);
    EXPECT_EQ(cehost::sim::GdiObjectCount(), objects);
}

TEST(MenuBarPopup, EndsWhenTheBarGoesOrTheApplicationQuits) {
    Screen screen;
    lxtest::IdleScript destroy({[&] { LxDestroyMenuBar(screen.bar); }});
    EXPECT_EQ(LxOpenPopupMenu(screen.bar, 0), 0);
    EXPECT_FALSE(IsWindow(screen.bar) || IsWindow(screen.popup));
    Screen again;
    lxtest::IdleScript quit({[] { PostQuitMessage(3); }});
    EXPECT_EQ(LxOpenPopupMenu(again.bar, 0), 0);
    MSG msg = {};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) << "the quit is left for the application's loop";
    EXPECT_EQ(std::tuple(msg.message, msg.wParam), std::tuple(UINT(WM_QUIT), WPARAM(3)));
    EXPECT_FALSE(IsWindowVisible(again.popup));
}

// Keys on the focused bar reach the owner as a focused control reports them: every release as a key-up,
// then Back and Home as their commands.
TEST(MenuBarKeys, AreForwardedInTheOwnersProtocol) {
    Screen screen;
    const LPARAM bar = reinterpret_cast<LPARAM>(screen.bar);
    const struct {
        BYTE vk;
        UINT command;
    } rows[] = {{VK_ESCAPE, kBackKey}, {VK_BACK, kBackKey}, {VK_F4, kHomeKey}, {VK_F1, 0}, {VK_RETURN, 0}};
    for (const auto& row : rows) {
        g_seen.clear();
        lxtest::Stroke(row.vk);
        cehost::sim::RunUntilIdle();
        std::vector<Seen> expected = {{kKeyDown, row.vk, bar}, {kKeyUp, row.vk, bar}};
        if (row.command) expected.push_back({row.command, 0, bar});
        EXPECT_EQ(g_seen, expected) << int(row.vk);
    }
    LxGiveHomeKey(VK_HOME);
    g_seen.clear();
    lxtest::Stroke(VK_HOME);
    cehost::sim::RunUntilIdle();
    EXPECT_EQ(g_seen.back(), (Seen{kHomeKey, 0, bar}));
}
