// What keeping the record of visible text costs a repaint: a list screen's worth of rows drawn over their
// background, as the list view repaints, with the record on (it always is).
#include <windows.h>
#include <cehost/sim.h>

#include <benchmark/benchmark.h>

namespace {

void BM_RepaintTwelveRowsOfText(benchmark::State& state) {
    cehost::sim::SetScreenSize(240, 320);
    HDC screen = GetDC(nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(0x27, 0x27, 0x27));
    SetBkMode(screen, TRANSPARENT);
    const WCHAR* rows[] = {u"장보기 목록", u"Call the plumber", u"회의 준비", u"Book club"};
    for (auto _ : state) {
        for (int i = 0; i < 12; ++i) {
            RECT row{0, 21 + i * 24, 240, 45 + i * 24};
            FillRect(screen, &row, brush);
            row.left = 30;
            DrawTextW(screen, rows[i % 4], -1, &row, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        }
    }
    state.counters["runs"] = double(cehost::sim::VisibleText().size());
    DeleteObject(brush);
    ReleaseDC(nullptr, screen);
}
BENCHMARK(BM_RepaintTwelveRowsOfText);

} // namespace
