// The simulator's run statistics (--stats FILE): what a run did and what it cost, as JSON for scripts and CI.
#include <cehost/sim.h>
#include <cehost/sim/stats.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sys/resource.h>

namespace cehost::sim {

namespace {

double WallSeconds() {
    using namespace std::chrono;
    return duration<double>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

bool ExtractStatsOption(int argc, const char* const* argv, std::string& file, std::vector<std::string>& rest,
                        std::string* error) {
    rest.clear();
    bool passThrough = false;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i] ? argv[i] : "";
        if (i == 0 || passThrough || (arg != "--stats" && arg.rfind("--stats=", 0) != 0)) {
            passThrough = passThrough || (i > 0 && arg == "--");
            rest.push_back(arg);
            continue;
        }
        if (arg == "--stats") {
            if (i + 1 >= argc || !argv[i + 1]) file.clear();
            else file = argv[++i];
        } else {
            file = arg.substr(8);
        }
        if (file.empty()) {
            if (error) *error = "--stats needs a file";
            return false;
        }
    }
    return true;
}

RunStatistics::RunStatistics() : m_startTick(GetTickCount()), m_startWall(WallSeconds()) {
    ResetObjectPeaks();
    m_observer = AddMessageObserver([this](const ObservedMessage& m) {
        if (m.delivery != Delivery::Posted) return;
        if (m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) ++m_keys;
        else if (m.message == WM_PAINT) ++m_frames;
    });
}

RunStatistics::~RunStatistics() { RemoveMessageObserver(m_observer); }

std::string RunStatistics::Json(int exitCode) const {
    const ObjectCountPeaks peaks = ObjectPeaks();
    struct rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    char text[512];
    std::snprintf(text, sizeof text,
                  "{\n  \"exit_code\": %d,\n  \"keys_handled\": %ld,\n  \"frames_painted\": %ld,\n"
                  "  \"gdi_objects_peak\": %ld,\n  \"gdi_objects_final\": %lu,\n"
                  "  \"user_objects_peak\": %ld,\n  \"user_objects_final\": %lu,\n"
                  "  \"peak_resident_kib\": %ld,\n  \"virtual_ms\": %lu,\n  \"wall_ms\": %.0f\n}\n",
                  exitCode, m_keys, m_frames, peaks.gdi,
                  static_cast<unsigned long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)), peaks.user,
                  static_cast<unsigned long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)),
                  static_cast<long>(usage.ru_maxrss), static_cast<unsigned long>(GetTickCount() - m_startTick),
                  (WallSeconds() - m_startWall) * 1000.0);
    return text;
}

bool RunStatistics::Write(const std::string& file, int exitCode, std::string* error) const {
    std::ofstream out(file, std::ios::trunc);
    out << Json(exitCode);
    out.close();
    if (!out) {
        if (error) *error = "cannot write the run statistics to " + file;
        return false;
    }
    return true;
}

} // namespace cehost::sim
