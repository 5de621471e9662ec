// The frame profile: a stack of the parts being timed; the clock is read at every change of part and the
// time since the last reading goes to the part on top.
#include "internal/profile.h"

#include <chrono>
#include <vector>

namespace cehost::internal {

bool g_frameProfileOn = false;

namespace {

struct Profiler {
    sim::FrameProfile totals;
    std::vector<sim::FramePart> stack;
    std::chrono::steady_clock::time_point mark;

    void Charge() {
        auto now = std::chrono::steady_clock::now();
        if (!stack.empty()) totals.seconds[int(stack.back())] += std::chrono::duration<double>(now - mark).count();
        mark = now;
    }
};

Profiler& P() {
    static Profiler profiler;
    return profiler;
}

} // namespace

void ProfileEnter(sim::FramePart part) {
    Profiler& p = P();
    p.Charge();
    // Erasing counts whole: the fills and messages it makes are the erase's.
    if (!p.stack.empty() && p.stack.back() == sim::FramePart::Erase) part = sim::FramePart::Erase;
    p.stack.push_back(part);
}

void ProfileLeave() {
    Profiler& p = P();
    p.Charge();
    if (!p.stack.empty()) p.stack.pop_back();
}

} // namespace cehost::internal

namespace cehost::sim {

void SetFrameProfile(bool on) {
    auto& p = internal::P();
    if (on) {
        p.totals = FrameProfile{};
        p.stack.clear();
        p.mark = std::chrono::steady_clock::now();
    }
    internal::g_frameProfileOn = on;
}

FrameProfile GetFrameProfile() { return internal::P().totals; }

const char* FramePartName(FramePart part) {
    static const char* const kNames[] = {"dispatch", "erase", "bitmaps", "blits", "text", "list_view"};
    return int(part) >= 0 && part < FramePart::Count ? kNames[int(part)] : "";
}

} // namespace cehost::sim
