// Static text and push buttons: colours from the parent, alignment, the press protocol, no leaked objects.
#include "ControlTest.h"

namespace {

HBRUSH g_brush = nullptr;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CTLCOLORSTATIC && g_brush != nullptr) {
        SetTextColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(g_brush);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

class Controls : public ControlTest {
protected:
    void SetUp() override {
        MakeParent(u"ControlParent", ParentProc, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1)));
    }

    // Columns (screen x) where the text colour appears inside `rc`.
    std::vector<int> TextColumns(const RECT& rc, COLORREF colour) {
        std::vector<int> columns;
        for (int x = rc.left; x < rc.right; ++x)
            for (int y = rc.top; y < rc.bottom; ++y)
                if (lxtest::ScreenPixel(x, y) == colour) {
                    columns.push_back(x);
                    break;
                }
        return columns;
    }
};

} // namespace

TEST_F(Controls, StaticFillsWithTheParentBrushAndAligns) {
    g_brush = CreateSolidBrush(RGB(200, 0, 0));
    long before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    HWND left = Child(u"static", u"ab", SS_LEFT, {0, 0, 200, 30});
    HWND right = Child(u"static", u"ab", SS_RIGHT, {0, 40, 200, 30});
    UpdateWindow(parent);
    cehost::sim::RunUntilIdle();
    EXPECT_EQ(lxtest::ScreenPixel(150, 25), RGB(200, 0, 0));
    auto leftText = TextColumns({0, 0, 200, 30}, RGB(255, 255, 255));
    auto rightText = TextColumns({0, 40, 200, 70}, RGB(255, 255, 255));
    ASSERT_FALSE(leftText.empty());
    ASSERT_FALSE(rightText.empty());
    EXPECT_LT(leftText.back(), 50);
    EXPECT_GT(rightText.front(), 150);
    DestroyWindow(left);
    DestroyWindow(right);
    EXPECT_EQ(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), before);
    DeleteObject(g_brush);
}

TEST_F(Controls, ButtonClicksOnReleaseOfReturnSpaceAndStylus) {
    HWND button = Child(u"button", u"OK", BS_PUSHBUTTON, {10, 10, 60, 24}, 5);
    SetFocus(button);
    lxtest::KeyDown(VK_RETURN);
    cehost::sim::RunUntilIdle();
    EXPECT_TRUE(Notifications(5).empty()) << "nothing until the key comes up";
    EXPECT_TRUE(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
    lxtest::KeyUp(VK_RETURN);
    Key(VK_SPACE);
    cehost::sim::Tap(20, 20);
    cehost::sim::RunUntilIdle();
    const std::vector<WORD> clicks(3, BN_CLICKED);
    EXPECT_EQ(Notifications(5), clicks);
    // Losing the focus while pushed does not click.
    lxtest::KeyDown(VK_SPACE);
    cehost::sim::RunUntilIdle();
    SetFocus(parent);
    lxtest::KeyUp(VK_SPACE);
    cehost::sim::RunUntilIdle();
    EXPECT_EQ(Notifications(5), clicks);
}

// Automatic kinds change their check before the parent hears of the click: a check box toggles, a three-state
// box cycles through its three states, a radio button checks itself.
TEST_F(Controls, AutomaticButtonsChangeTheirCheckBeforeNotifying) {
    const struct {
        DWORD style;
        std::vector<LRESULT> checks; // after each click
    } cases[] = {{BS_AUTOCHECKBOX, {BST_CHECKED, BST_UNCHECKED}},
                 {BS_AUTO3STATE, {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}},
                 {BS_AUTORADIOBUTTON, {BST_CHECKED, BST_CHECKED}}};
    for (const auto& c : cases) {
        HWND box = Child(u"button", u"Check", c.style, {10, 50, 100, 20}, 6);
        EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
        for (LRESULT check : c.checks) {
            SendMessageW(box, BM_CLICK, 0, 0);
            EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), check) << "style " << c.style;
        }
        SendMessageW(box, BM_SETCHECK, BST_UNCHECKED, 0);
        EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
        DestroyWindow(box);
    }
    EXPECT_EQ(Notifications(6), std::vector<WORD>(7, BN_CLICKED));
}
