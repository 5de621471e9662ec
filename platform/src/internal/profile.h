// The frame profile's counting points (see cehost/sim/profile.h): a ProfileScope around a piece of work
// charges its time to one part, and pauses the part it interrupts.
#pragma once

#include <cehost/sim/profile.h>

namespace cehost::internal {

extern bool g_frameProfileOn;
void ProfileEnter(sim::FramePart part);
void ProfileLeave();

class ProfileScope {
public:
    explicit ProfileScope(sim::FramePart part) : m_on(g_frameProfileOn) {
        if (m_on) ProfileEnter(part);
    }
    ~ProfileScope() {
        if (m_on) ProfileLeave();
    }
    ProfileScope(const ProfileScope&) = delete;
    ProfileScope& operator=(const ProfileScope&) = delete;

private:
    bool m_on;
};

} // namespace cehost::internal
