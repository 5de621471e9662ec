// Key press to painted frame in an owner-data list view: the cost must not grow with the row count, so the
// 100,000-row case should run as fast as the 10-row one.
#include <cehost/sim.h>
#include <commctrl.h>
#include <windows.h>

#include <benchmark/benchmark.h>

namespace {

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MEASUREITEM) {
        reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 26;
        return TRUE;
    }
    if (message == WM_DRAWITEM) {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
        FillRect(dis->hDC, &dis->rcItem, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(((dis->itemState & ODS_SELECTED) ? COLOR_HIGHLIGHT : COLOR_WINDOW) + 1)));
        return TRUE;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void KeyToFrame(benchmark::State& state)
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = OwnerProc;
        wc.lpszClassName = u"BenchListOwner";
        RegisterClassW(&wc);
        registered = true;
    }
    HWND parent = CreateWindowExW(0, u"BenchListOwner", u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                                  nullptr, nullptr);
    HWND list = CreateWindowExW(0, WC_LISTVIEWW, u"",
                                WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA | LVS_OWNERDRAWFIXED | LVS_SINGLESEL |
                                    LVS_NOCOLUMNHEADER,
                                0, 0, 240, 300, parent, nullptr, nullptr, nullptr);
    int rows = static_cast<int>(state.range(0));
    SendMessageW(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(rows), 0);
    SetFocus(list);
    // Start in the middle so that both directions move.
    LVITEMW item{};
    item.state = item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(rows / 2), reinterpret_cast<LPARAM>(&item));
    SendMessageW(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(rows / 2), FALSE);
    cehost::sim::RunUntilIdle();
    bool down = true;
    for (auto _ : state) {
        BYTE key = down ? VK_DOWN : VK_UP;
        keybd_event(key, 0, 0, 0);
        keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
        cehost::sim::RunUntilIdle();
        down = !down;
    }
    DestroyWindow(parent);
}

} // namespace

BENCHMARK(KeyToFrame)->Arg(10)->Arg(100000);
