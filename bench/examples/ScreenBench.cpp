// Whole screens of the keypad notebook, each time reported as a multiple of a plain memset of one 240 x 320
// frame ("x_memset") measured in the same run:
// - a key press on the list screen (title bar, rows with key cap, check box, picture and row background, menu
//   bar) with everything it causes painted, on 10 rows and on 100,000 rows, 9 of them showing;
// - a full repaint of that screen;
// - the notebook switching from its list to its editor;
// - the notebook's process start to its first painted frame (a headless run whose script quits at once).
// Times are CPU times (of this thread, or of the child process), so that other programs sharing the machine
// do not inflate them; the memset is timed the same way. Under callgrind (--collect-atstart=no) only the timed
// parts of the last run of each benchmark are counted, so that instructions per key press can be read off.
#include <benchmark/benchmark.h>
#include <cehost/sim.h>

#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <ctime>
#include <unistd.h>
#include <valgrind/callgrind.h>
#include <vector>

#include "LxBaseWindow.h"
#include "NoteList.h"
#include "Notebook.h"
#include "resource.h"

namespace {

double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// One memset of a frame, averaged over `rounds`. The machine's speed drifts from minute to minute, so every
// benchmark times its own memset just before and just after its run and divides by their mean.
double MemsetSeconds(int rounds) {
    static std::vector<uint32_t> fb(size_t(240) * 320);
    double start = ThreadSeconds();
    for (int i = 0; i < rounds; ++i) {
        std::memset(fb.data(), i & 0xFF, fb.size() * 4);
        benchmark::DoNotOptimize(fb.data());
        benchmark::ClobberMemory();
    }
    return (ThreadSeconds() - start) / rounds;
}

// Times `body` only (setup between iterations is left out) and reports the mean as a multiple of the memset.
// `body` answers the CPU seconds it took.
template <typename Body, typename Between>
void MeasureEach(benchmark::State& state, Body body, Between between) {
    const int kMemsetRounds = 1000;
    double before = MemsetSeconds(kMemsetRounds), total = 0;
    // Under callgrind only the last run of a benchmark is kept, the one whose iteration count is reported.
    CALLGRIND_ZERO_STATS;
    for (auto _ : state) {
        double seconds = body();
        state.SetIterationTime(seconds);
        total += seconds;
        between();
    }
    const double base = (before + MemsetSeconds(kMemsetRounds)) / 2;
    state.counters["x_memset"] = total / double(std::max<benchmark::IterationCount>(state.iterations(), 1)) / base;
}

template <typename F> double Timed(F f) {
    double start = ThreadSeconds();
    CALLGRIND_TOGGLE_COLLECT;
    f();
    CALLGRIND_TOGGLE_COLLECT;
    return ThreadSeconds() - start;
}

// Every registry and record file of a run goes to one temporary folder.
const std::string& StateFolder() {
    static std::string folder = [] {
        std::string f = (std::filesystem::temp_directory_path() / ("screen-bench-" + std::to_string(getpid()))).string();
        std::filesystem::create_directories(f);
        setenv("LXEDB_DIR", f.c_str(), 1);
        setenv("CEHOST_REGISTRY", (f + "/registry.db").c_str(), 1);
        std::atexit([] { std::filesystem::remove_all(StateFolder()); });
        return f;
    }();
    return folder;
}

void Stroke(BYTE vk) {
    keybd_event(vk, 0, 0, 0);
    keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
    cehost::sim::RunUntilIdle();
}

// The notebook's list screen over a list of any length: title, 9 rows showing, the list's soft-key menu.
class ListHost : public LxBaseWindow {
public:
    explicit ListHost(int rows) {
        static int hosts = 0;
        CopyText(m_szWindowClass, u"ScreenBenchHost");
        wsprintfW(m_szTitle, u"bench %d", ++hosts);
        cehost::sim::SetVirtualTime(true);
        InitInstance(m_szWindowClass, m_szTitle, GetModuleHandleW(nullptr), SW_SHOW, nullptr);
        TitleCreate(nullptr);
        MenuCreate(IDM_LIST_MENU, 0);
        RECT area;
        GetUserArea(&area);
        area.bottom = area.top + 9 * LONG(NoteList::kRowHeight);
        list.CreateList(m_hWnd, GetModuleHandleW(nullptr), IDC_NOTE_LIST, &area, NoteList::kRowHeight);
        list.SetDirectMode();
        list.SetRotate(1);
        for (int i = 0; i < rows; ++i) list.AddNote(Note{u"메모 " + std::u16string(1, char16_t(u'A' + i % 26)), i % 3 ? u"body" : u"", i % 4 == 1});
        list.SetFocus();
        list.SetSelect(0);
        cehost::sim::RunFor(20);
    }
    ~ListHost() { DestroyWindow(m_hWnd); }
    LRESULT OnWndProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, int* pHandled) override {
        if (uMsg == WM_MEASUREITEM) return *pHandled = 1, list.OnMeasureitem(UINT(wParam), lParam);
        if (uMsg == WM_DRAWITEM) return *pHandled = 1, list.OnDrawitem(UINT(wParam), lParam);
        return LxBaseWindow::OnWndProc(hWnd, uMsg, wParam, lParam, pHandled);
    }
    void Repaint() {
        for (HWND w : {m_hWnd, m_hTitle, m_hMenuBar, GetDlgItem(m_hWnd, IDC_NOTE_LIST)}) InvalidateRect(w, nullptr, TRUE);
        cehost::sim::RunUntilIdle();
    }
    NoteList list;

private:
    static void CopyText(WCHAR* to, const WCHAR* from) {
        for (int i = 0; (to[i] = from[i]) != 0; ++i) {}
    }
};

void BM_ListScreenKey(benchmark::State& state) {
    StateFolder();
    ListHost host(int(state.range(0)));
    MeasureEach(state, [] { return Timed([] { Stroke(VK_DOWN); }); }, [] {});
    state.SetLabel(std::to_string(state.range(0)) + " rows");
}
BENCHMARK(BM_ListScreenKey)->Arg(10)->Arg(100000)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_ListScreenRepaint(benchmark::State& state) {
    StateFolder();
    ListHost host(10);
    MeasureEach(state, [&] { return Timed([&] { host.Repaint(); }); }, [] {});
}
BENCHMARK(BM_ListScreenRepaint)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Where the time of a frame goes: the key press on the 10-row list (arg 0) and the full repaint (arg 1), each
// part reported as a share of the profiled time ("pct_<part>") and the whole as a multiple of the memset.
void BM_FrameProfile(benchmark::State& state) {
    StateFolder();
    ListHost host(10);
    const bool repaint = state.range(0) == 1;
    cehost::sim::SetFrameProfile(true);
    MeasureEach(state, [&] { return Timed([&] { repaint ? host.Repaint() : Stroke(VK_DOWN); }); }, [] {});
    cehost::sim::FrameProfile profile = cehost::sim::GetFrameProfile();
    cehost::sim::SetFrameProfile(false);
    double total = profile.Total();
    for (int part = 0; part < int(cehost::sim::FramePart::Count); ++part)
        state.counters[std::string("pct_") + cehost::sim::FramePartName(cehost::sim::FramePart(part))] =
            total > 0 ? 100 * profile.seconds[part] / total : 0;
    state.SetLabel(repaint ? "full repaint" : "list key press");
}
BENCHMARK(BM_FrameProfile)->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Select on the list opens the chosen note in the editor; going back is left out of the time.
void BM_NotebookListToEditor(benchmark::State& state) {
    StateFolder();
    cehost::sim::SetVirtualTime(true);
    auto window = std::make_unique<NotebookWindow>();
    window->InitInstance(window->m_szWindowClass, window->m_szTitle, GetModuleHandleW(nullptr), SW_SHOW, nullptr);
    cehost::sim::RunFor(20);
    MeasureEach(state, [] { return Timed([] { Stroke(VK_F3); }); }, [] {
        Stroke(VK_F2);
        cehost::sim::RunFor(20);
    });
    DestroyWindow(window->m_hWnd);
    cehost::sim::RunUntilIdle();
}
BENCHMARK(BM_NotebookListToEditor)->UseManualTime()->Unit(benchmark::kMicrosecond);

// A headless run of the notebook whose script quits as soon as the first frame is painted.
void BM_NotebookStartToFirstFrame(benchmark::State& state) {
    const std::string& folder = StateFolder();
    std::string script = folder + "/quit.keys";
    std::ofstream(script) << "quit\n";
    // The child's own CPU time, from the kernel's account of it. Spawned without copying this process's
    // address space (which holds the long lists of the benchmarks before), so that the time is the notebook's.
    auto run = [&]() -> double {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        const char* argv[] = {NOTEBOOK_APP, "--headless", "--script", script.c_str(), "--shots", folder.c_str(), nullptr};
        pid_t pid = 0;
        if (posix_spawn(&pid, NOTEBOOK_APP, &actions, nullptr, const_cast<char* const*>(argv), environ) != 0) pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        if (pid < 0) {
            state.SkipWithError("the notebook could not be started");
            return 0.0;
        }
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("the notebook did not run");
        auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) * 1e-6; };
        return seconds(usage.ru_utime) + seconds(usage.ru_stime);
    };
    run(); // the first run seeds the notes
    MeasureEach(state, run, [] {});
}
BENCHMARK(BM_NotebookStartToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace
