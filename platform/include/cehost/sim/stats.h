// Host extension: figures of a simulated run. The simulator writes them as JSON with --stats FILE; tests and
// soaks read the highest object counts directly.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace cehost::sim {

// The highest numbers of live GDI objects and of windows since start or the last ResetObjectPeaks. Kept at
// every creation, so an object made and freed within one message counts too.
struct ObjectCountPeaks {
    long gdi = 0;
    long user = 0;
};
ObjectCountPeaks ObjectPeaks();
// Starts the peaks again from the live counts.
void ResetObjectPeaks();

// Takes --stats FILE (or --stats=FILE) out of the arguments before the other options are parsed; `rest`
// receives the others in order, from argv[0] on. Arguments after "--" are the application's and stay.
// False, with a message in *error, when the option has no file.
bool ExtractStatsOption(int argc, const char* const* argv, std::string& file, std::vector<std::string>& rest,
                        std::string* error);

// Counts what a run does from construction on: keys handled (key-down messages taken from the queue), frames
// painted (WM_PAINT messages taken from the queue), the object counts' peaks, the process's peak resident
// memory and the elapsed clock (virtual in headless runs) and wall time.
class RunStatistics {
public:
    RunStatistics();
    ~RunStatistics();
    RunStatistics(const RunStatistics&) = delete;
    RunStatistics& operator=(const RunStatistics&) = delete;

    // The figures so far as one JSON object, with the run's exit code.
    std::string Json(int exitCode) const;
    // Writes Json() to `file`; false with a reason in *error when it cannot be written.
    bool Write(const std::string& file, int exitCode, std::string* error) const;

    long KeysHandled() const { return m_keys; }
    long FramesPainted() const { return m_frames; }

private:
    int m_observer = 0;
    long m_keys = 0;
    long m_frames = 0;
    DWORD m_startTick = 0;
    double m_startWall = 0;
};

} // namespace cehost::sim
