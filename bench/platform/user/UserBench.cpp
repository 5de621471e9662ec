// Costs of the window manager's hot paths: a sent message, a posted message through the queue, and a window
// with 20 children created and destroyed (what a screen of controls costs to build and tear down).
#include <benchmark/benchmark.h>
#include <cehost/sim.h>

namespace {

LRESULT CALLBACK CountingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    static uintptr_t sink;
    if (msg == WM_USER) {
        sink += wp;
        return LRESULT(sink);
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

HWND Setup() {
    static HWND window = [] {
        cehost::sim::SetVirtualTime(true);
        WNDCLASSW wc{};
        wc.lpfnWndProc = CountingProc;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(uintptr_t(COLOR_WINDOW + 1));
        wc.lpszClassName = u"BenchWindow";
        RegisterClassW(&wc);
        HWND w = CreateWindowExW(0, u"BenchWindow", u"bench", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr,
                                 nullptr);
        cehost::sim::RunUntilIdle();
        return w;
    }();
    return window;
}

void BM_SendMessage(benchmark::State& state) {
    HWND w = Setup();
    WPARAM i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(SendMessageW(w, WM_USER, ++i, 0));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SendMessage);

void BM_PostMessageAndDispatch(benchmark::State& state) {
    HWND w = Setup();
    WPARAM i = 0;
    MSG m;
    for (auto _ : state) {
        PostMessageW(w, WM_USER, ++i, 0);
        PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE);
        benchmark::DoNotOptimize(DispatchMessageW(&m));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PostMessageAndDispatch);

// A queue that holds many messages at once: posting a batch, then draining it.
void BM_PostBatchThenDrain(benchmark::State& state) {
    HWND w = Setup();
    const int batch = int(state.range(0));
    MSG m;
    for (auto _ : state) {
        for (int i = 0; i < batch; ++i) PostMessageW(w, WM_USER, WPARAM(i), 0);
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    }
    state.SetItemsProcessed(state.iterations() * batch);
}
BENCHMARK(BM_PostBatchThenDrain)->Arg(100);

void BM_CreateDestroyWindowWith20Children(benchmark::State& state) {
    Setup();
    for (auto _ : state) {
        HWND top = CreateWindowExW(0, u"BenchWindow", u"screen", WS_VISIBLE, 0, 21, 240, 299, nullptr, nullptr, nullptr,
                                   nullptr);
        for (int i = 0; i < 20; ++i)
            CreateWindowExW(0, u"BenchWindow", u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, i * 14, 240, 14, top,
                            reinterpret_cast<HMENU>(intptr_t(100 + i)), nullptr, nullptr);
        DestroyWindow(top);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CreateDestroyWindowWith20Children);

} // namespace
