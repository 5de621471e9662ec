// A scroll of a row or two moves the rows already drawn instead of drawing them again: after every key the
// list must look exactly as it does when drawn afresh.
#include "ControlTest.h"

#include <cehost/sim/gdi.h>
#include <commctrl.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kRowHeight = 20;
constexpr int kListHeight = 5 * kRowHeight + 7; // five whole rows and part of a sixth

// Each row in its own colour, a selected row darker, with a mark at a place that depends on the row, so that
// a row copied to the wrong place or left stale shows.
LRESULT CALLBACK PainterProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MEASUREITEM) {
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kRowHeight;
        return TRUE;
    }
    if (message != WM_DRAWITEM) return DefWindowProcW(hwnd, message, wParam, lParam);
    auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
    const int row = int(dis->itemID);
    const int shade = (dis->itemState & ODS_SELECTED) ? 0x40 : 0xC0;
    HBRUSH fill = CreateSolidBrush(RGB(shade, (row * 37) & 0xFF, (row * 91) & 0xFF));
    FillRect(dis->hDC, &dis->rcItem, fill);
    DeleteObject(fill);
    RECT mark = {LONG(row % 10) * 20, dis->rcItem.top + 5, LONG(row % 10) * 20 + 8, dis->rcItem.top + 13};
    FillRect(dis->hDC, &mark, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return TRUE;
}

std::vector<uint32_t> ListPixels() {
    const uint32_t* screen = cehost::sim::ScreenPixels();
    return std::vector<uint32_t>(screen, screen + 240 * kListHeight);
}

using ListScroll = ControlTest;

} // namespace

TEST_F(ListScroll, MovedRowsMatchAFreshDrawing) {
    MakeParent(u"ListScrollOwner", PainterProc);
    HWND list = Child(WC_LISTVIEWW, u"",
                      LVS_REPORT | LVS_OWNERDATA | LVS_OWNERDRAWFIXED | LVS_SINGLESEL | LVS_SHOWSELALWAYS |
                          LVS_NOCOLUMNHEADER,
                      {0, 0, 240, kListHeight});
    ASSERT_NE(list, nullptr);
    SendMessageW(list, LVM_SETITEMCOUNT, 100, 0);
    SetFocus(list);
    cehost::sim::RunUntilIdle();
    // Down past the last whole row scrolls a row at a time, up past the top row likewise; End and Home jump.
    const BYTE keys[] = {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_UP, VK_UP,
                         VK_UP,   VK_UP,   VK_UP,   VK_UP,   VK_UP,   VK_END,  VK_UP,   VK_HOME, VK_DOWN};
    for (size_t i = 0; i < std::size(keys); ++i) {
        Key(keys[i]);
        const std::vector<uint32_t> moved = ListPixels();
        InvalidateRect(list, nullptr, TRUE);
        cehost::sim::RunUntilIdle();
        EXPECT_EQ(moved, ListPixels()) << "after key " << i;
    }
}
