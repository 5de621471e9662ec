// Key press to painted frame for each control: one key stroke goes through the queue and every message it
// causes, painting included, is handled before the iteration ends. The list runs with 10 and with 100,000
// rows, which should cost the same, since only the visible rows are drawn.
#include <benchmark/benchmark.h>
#include <cehost/sim.h>

#include <memory>

#include "LxBaseWindow.h"
#include "LxEditCtrl.h"
#include "LxListCtrl.h"
#include "LxSpinCtrl.h"
#include "LxText.h"

namespace {

class Host : public LxBaseWindow {
public:
    Host() {
        static int hosts = 0;
        for (int i = 0; u"ControlBenchHost"[i]; ++i) m_szWindowClass[i] = u"ControlBenchHost"[i];
        wsprintfW(m_szTitle, u"bench %d", ++hosts);
        cehost::sim::SetVirtualTime(true);
        InitInstance(m_szWindowClass, m_szTitle, GetModuleHandleW(nullptr), SW_SHOW, nullptr);
        cehost::sim::RunUntilIdle();
    }
    LRESULT OnWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, int* pHandled) override {
        if (list && uMsg == WM_MEASUREITEM) return *pHandled = 1, list->OnMeasureitem(UINT(wParam), lParam);
        if (list && uMsg == WM_DRAWITEM) return *pHandled = 1, list->OnDrawitem(UINT(wParam), lParam);
        return LxBaseWindow::OnWndProc(hWnd, uMsg, wParam, lParam, pHandled);
    }
    LxListBase* list = nullptr;
};

void Stroke(BYTE vk) {
    keybd_event(vk, 0, 0, 0);
    keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
    cehost::sim::RunUntilIdle();
}

void BM_ListKeyToFrame(benchmark::State& state) {
    Host host;
    LxListCtrl list;
    host.list = &list;
    RECT rect = {0, 37, 240, 273};
    list.CreateList(host.m_hWnd, nullptr, 1, &rect, 26);
    for (int64_t i = 0; i < state.range(0); ++i) list.AddItemForCheck(u"A row of the list", int(i & 1), 0);
    list.SetRotate(1);
    list.SetFocus();
    list.SetSelect(0);
    cehost::sim::RunFor(20);
    for (auto _ : state) Stroke(VK_DOWN);
    state.SetLabel(std::to_string(state.range(0)) + " rows");
}
BENCHMARK(BM_ListKeyToFrame)->Arg(10)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Filling the list: the cost of AddItem per row, for 10 and 100,000 rows.
void BM_ListFill(benchmark::State& state) {
    Host host;
    for (auto _ : state) {
        auto list = std::make_unique<LxListCtrl>();
        host.list = list.get();
        RECT rect = {0, 37, 240, 273};
        list->CreateList(host.m_hWnd, nullptr, 1, &rect, 26);
        for (int64_t i = 0; i < state.range(0); ++i) list->AddItem(u"row");
        cehost::sim::RunUntilIdle();
        host.list = nullptr;
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ListFill)->Arg(10)->Arg(100000)->Unit(benchmark::kMillisecond);

// A jump from code to a far row: selection, scrolling, repaint and the click 10 ms later.
void BM_ListSetSelectFar(benchmark::State& state) {
    Host host;
    LxListCtrl list;
    host.list = &list;
    RECT rect = {0, 37, 240, 273};
    list.CreateList(host.m_hWnd, nullptr, 1, &rect, 26);
    for (int64_t i = 0; i < state.range(0); ++i) list.AddItem(u"row");
    list.SetFocus();
    int target = 0;
    for (auto _ : state) {
        target = target == 0 ? int(state.range(0)) - 1 : 0;
        list.SetSelect(target);
        cehost::sim::RunFor(10);
    }
}
BENCHMARK(BM_ListSetSelectFar)->Arg(10)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_SpinKeyToFrame(benchmark::State& state) {
    Host host;
    LxSpinCtrl spin;
    RECT rect = {0, 60, 240, 86};
    spin.CreateSpin(host.m_hWnd, nullptr, 1, &rect, WS_BORDER);
    for (const char16_t* text : {u"Small", u"Medium", u"Large"}) spin.AddItem(text, 1);
    spin.SetRotate(1);
    spin.SetFocus();
    cehost::sim::RunUntilIdle();
    for (auto _ : state) Stroke(VK_RIGHT);
}
BENCHMARK(BM_SpinKeyToFrame)->Unit(benchmark::kMicrosecond);

void BM_ButtonKeyToFrame(benchmark::State& state) {
    Host host;
    LxText button;
    RECT rect = {60, 60, 180, 90};
    button.CreateButton(host.m_hWnd, nullptr, 1, &rect);
    button.SetText(u"OK");
    button.SetFocus();
    cehost::sim::RunUntilIdle();
    for (auto _ : state) Stroke(VK_F3);
}
BENCHMARK(BM_ButtonKeyToFrame)->Unit(benchmark::kMicrosecond);

void BM_EditKeyToFrame(benchmark::State& state) {
    Host host;
    LxEditCtrl edit;
    RECT rect = {0, 60, 240, 90};
    edit.CreateEdit(host.m_hWnd, nullptr, 1, &rect, WS_BORDER | ES_AUTOHSCROLL);
    edit.SetLimitText(20);
    edit.SetFocus();
    cehost::sim::RunUntilIdle();
    bool type = true;
    for (auto _ : state) {
        Stroke(type ? BYTE('A') : BYTE(VK_BACK));
        type = !type;
    }
}
BENCHMARK(BM_EditKeyToFrame)->Unit(benchmark::kMicrosecond);

} // namespace
