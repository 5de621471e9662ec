// What the shell's indicator strip costs the application: the check it makes each time the queue looks for
// painting (a posted message round trip with and without the strip, an edit focused so the input mode is
// looked up), and one repaint of the strip (what a new minute or input mode costs).
#include <benchmark/benchmark.h>
#include <cehost/sim.h>

namespace {

HWND Setup() {
    static HWND edit = [] {
        cehost::sim::SetVirtualTime(true);
        HWND top = CreateWindowExW(0, u"STATIC", u"", WS_POPUP | WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr,
                                   nullptr);
        HWND e = CreateWindowExW(0, u"EDIT", u"", WS_CHILD | WS_VISIBLE, 10, 40, 200, 24, top, nullptr, nullptr, nullptr);
        SetFocus(e);
        cehost::sim::RunUntilIdle();
        return e;
    }();
    return edit;
}

void BM_PostedMessageRoundTrip(benchmark::State& state) {
    HWND edit = Setup();
    cehost::sim::ShowIndicatorStrip(state.range(0) != 0);
    cehost::sim::RunUntilIdle();
    MSG msg;
    for (auto _ : state) {
        PostMessageW(edit, WM_NULL, 0, 0);
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    state.SetLabel(state.range(0) ? "with the strip" : "without the strip");
    cehost::sim::ShowIndicatorStrip(false);
}
BENCHMARK(BM_PostedMessageRoundTrip)->Arg(0)->Arg(1);

void BM_StripRepaint(benchmark::State& state) {
    Setup();
    cehost::sim::ShowIndicatorStrip(true);
    cehost::sim::RunUntilIdle();
    HWND strip = cehost::sim::IndicatorStripWindow();
    for (auto _ : state) {
        InvalidateRect(strip, nullptr, FALSE);
        cehost::sim::RunUntilIdle();
    }
    cehost::sim::ShowIndicatorStrip(false);
}
BENCHMARK(BM_StripRepaint);

} // namespace
