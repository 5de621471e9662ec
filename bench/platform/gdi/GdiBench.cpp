// GDI speed: full-screen fill, a 240 x 26 transparent image, 20 Korean characters of text (cold and cached),
// a full-screen PNG save. Each also reports its time as a multiple of a plain memset of the framebuffer
// ("x_memset"), which makes the numbers comparable between machines.
#include <windows.h>
#include <cehost/sim.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {

constexpr int kWidth = 240, kHeight = 320;
const char16_t kKorean20[] = u"가나다라마바사아자차카타파하거너더러머버";

double MemsetSeconds() {
    static double seconds = [] {
        std::vector<uint32_t> fb(size_t(kWidth) * kHeight);
        const int rounds = 20000;
        auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < rounds; ++i) {
            std::memset(fb.data(), i & 0xFF, fb.size() * 4);
            benchmark::DoNotOptimize(fb.data());
            benchmark::ClobberMemory();
        }
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds;
    }();
    return seconds;
}

// Runs `body` per iteration and reports the time per iteration relative to the memset.
template <typename F> void Measure(benchmark::State& state, F body) {
    double base = MemsetSeconds();
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) body();
    double per = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
                 double(std::max<benchmark::IterationCount>(state.iterations(), 1));
    state.counters["x_memset"] = per / base;
}

LOGFONTW LxLogFont(LONG height) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = HANGEUL_CHARSET;
    lf.lfPitchAndFamily = FF_SWISS;
    const char16_t face[] = u"LxFont";
    std::copy(std::begin(face), std::end(face), lf.lfFaceName);
    return lf;
}

// The library's way: a font per call, transparent background, everything restored.
void LibraryText(HDC dc, RECT* r) {
    LOGFONTW lf = LxLogFont(18);
    HFONT font = CreateFontIndirectW(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    int mode = SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, kKorean20, -1, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SetBkMode(dc, mode);
    SelectObject(dc, old);
    DeleteObject(font);
}

void BM_MemsetFramebuffer(benchmark::State& state) {
    std::vector<uint32_t> fb(size_t(kWidth) * kHeight);
    int i = 0;
    Measure(state, [&] {
        std::memset(fb.data(), ++i & 0xFF, fb.size() * 4);
        benchmark::DoNotOptimize(fb.data());
        benchmark::ClobberMemory();
    });
}
BENCHMARK(BM_MemsetFramebuffer);

void BM_FullScreenFill(benchmark::State& state) {
    cehost::sim::SetScreenSize(kWidth, kHeight);
    HDC screen = GetDC(nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(0x27, 0x27, 0x27));
    RECT all{0, 0, kWidth, kHeight};
    Measure(state, [&] { FillRect(screen, &all, brush); });
    DeleteObject(brush);
    ReleaseDC(nullptr, screen);
}
BENCHMARK(BM_FullScreenFill);

void BM_TransparentImage240x26(benchmark::State& state) {
    cehost::sim::SetScreenSize(kWidth, kHeight);
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 1130, 26);
    HGDIOBJ old = SelectObject(mem, bmp);
    RECT all{0, 0, 1130, 26};
    HBRUSH grey = CreateSolidBrush(RGB(0x40, 0x40, 0x40));
    FillRect(mem, &all, grey);
    DeleteObject(grey);
    RECT corner{0, 20, 30, 26};
    HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
    FillRect(mem, &corner, magenta);
    DeleteObject(magenta);
    Measure(state, [&] { TransparentImage(screen, 0, 100, 240, 26, mem, 0, 0, 240, 26, RGB(255, 0, 255)); });
    SelectObject(mem, old);
    DeleteObject(bmp);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
}
BENCHMARK(BM_TransparentImage240x26);

void BM_DrawText20KoreanCold(benchmark::State& state) {
    cehost::sim::SetScreenSize(kWidth, kHeight);
    HDC screen = GetDC(nullptr);
    RECT r{0, 100, kWidth, 126};
    Measure(state, [&] {
        cehost::sim::ClearFontCache();
        LibraryText(screen, &r);
    });
    ReleaseDC(nullptr, screen);
}
BENCHMARK(BM_DrawText20KoreanCold);

void BM_DrawText20KoreanCached(benchmark::State& state) {
    cehost::sim::SetScreenSize(kWidth, kHeight);
    HDC screen = GetDC(nullptr);
    RECT r{0, 100, kWidth, 126};
    LibraryText(screen, &r);
    Measure(state, [&] { LibraryText(screen, &r); });
    ReleaseDC(nullptr, screen);
}
BENCHMARK(BM_DrawText20KoreanCached);

void BM_SavePngFullScreen(benchmark::State& state) {
    cehost::sim::SetScreenSize(kWidth, kHeight);
    HDC screen = GetDC(nullptr);
    RECT r{0, 0, kWidth, kHeight};
    LibraryText(screen, &r);
    ReleaseDC(nullptr, screen);
    std::string path = (std::filesystem::temp_directory_path() / "cehost-bench-screen.png").string();
    Measure(state, [&] { cehost::sim::SaveScreenshot(path); });
    std::remove(path.c_str());
}
BENCHMARK(BM_SavePngFullScreen);

} // namespace
