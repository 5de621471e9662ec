// Host extension: the frame profile. While it runs, the platform adds up where the time of painting goes:
// message dispatch (the window procedures' own code), background erasing, bitmap objects (loading, memory
// DCs, selection and deletion), blits and fills, text, and the list view's own work. Each part counts only
// its own time, not the parts nested in it. Off, it costs one test of a flag per measured call.
#pragma once

#include <windows.h>

namespace cehost::sim {

enum class FramePart { Dispatch, Erase, Bitmaps, Blits, Text, ListView, Count };

struct FrameProfile {
    double seconds[int(FramePart::Count)] = {};
    double Total() const {
        double t = 0;
        for (double s : seconds) t += s;
        return t;
    }
};

// Starts a new profile (everything counted before is dropped) or stops counting.
void SetFrameProfile(bool on);
// What was counted since the profile started.
FrameProfile GetFrameProfile();
const char* FramePartName(FramePart part);

} // namespace cehost::sim
